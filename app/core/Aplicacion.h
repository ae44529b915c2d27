// The program's long-lived objects: created once at start-up, reached through App().
#pragma once

class _multiuser;
class TFormMain;
class TFormLogin;
class TFormEditRemesas;
class TFormProps;
class TFormBuscador;
class TFRMGestionusers;
class TFRMNuevoUsuario;
class TFRMEmpresa;
class TFRMPresentador;
class TFRMEmisores;
class TFormExportar;
class TFRMSelectEmisor;
class TfrmLibrados;
class TFRMImportLibrados;
class TFRMRecordeuro;
class TFormChooseInforme;
class TFormRptEmi;
class TFormListEmi;
class TFormRptDocs;
class TFormListDocs;
class TFormSelDir;
class TFormCfg;
class TFRMOpcionImport;
class TFRMHistoricos;
class TFRMRelacion;
class TFRMOpcion;
class TFormEditDocumentos;
class TFRMEuroCalc;
class TFormMMDato;
class TFormMMConceptos;
class TFRMModMasivas;
class TFRMAltaRapida;
class TFRMAltaCampo;
class TFRMAltaLinea;
class TFRMGuardarComo;

struct Aplicacion {
    TFormMain *FormMain = nullptr;                // the main window
    _multiuser *Multiuser = nullptr;
    TFormLogin *FormLogin = nullptr;              // the login and the current user
    TFormEditRemesas *FormEditRemesas = nullptr;  // the batch editor
    TfrmLibrados *frmLibrados = nullptr;          // the drawee window
    TFormProps *FormProps = nullptr;              // the item property sheet
    TFormBuscador *FormBuscador = nullptr;        // the search window
    TFRMGestionusers *FRMGestionusers = nullptr;  // user administration
    TFRMNuevoUsuario *FRMNuevoUsuario = nullptr;  // the user editor
    TFRMEmpresa *FRMEmpresa = nullptr;            // the company dialog
    TFRMPresentador *FRMPresentador = nullptr;    // the presenter dialog
    TFRMEmisores *FRMEmisores = nullptr;          // the issuer dialog
    TFRMHistoricos *FRMHistoricos = nullptr;      // the send-file viewer
    TFRMRelacion *FRMRelacion = nullptr;          // the history list of a batch
    TFRMOpcion *FRMOpcion = nullptr;              // the viewer's bill detail
    TFormChooseInforme *FormChooseInforme = nullptr; // the report chooser
    TFormRptEmi *FormRptEmi = nullptr;            // the drawees report
    TFormListEmi *FormListEmi = nullptr;          // its issuer selection
    TFormRptDocs *FormRptDocs = nullptr;          // the bills report
    TFormListDocs *FormListDocs = nullptr;        // its batch and state selection
    TFormSelDir *FormSelDir = nullptr;            // the folder picker
    TFRMOpcionImport *FRMOpcionImport = nullptr;  // the options of the template being edited
    TFormCfg *FormCfg = nullptr;                  // the configuration dialog
    TFormEditDocumentos *FormEditDocumentos = nullptr; // the bill editor
    TFormExportar *FormExportar = nullptr;        // the send-file window
    TFRMAltaCampo *FRMAltaCampo = nullptr;        // the template editor's field dialog
    TFRMAltaLinea *FRMAltaLinea = nullptr;        // the template editor's record-kind dialog
    TFRMEuroCalc *FRMEuroCalc = nullptr;          // the euro calculator
    TFRMImportLibrados *FRMImportLibrados = nullptr; // the drawee import
    TFRMGuardarComo *FRMGuardarComo = nullptr;    // the template designer's save-as dialog
    TFRMSelectEmisor *FRMSelectEmisor = nullptr;  // the issuer choice of the drawee import
    TFRMRecordeuro *FRMRecordeuro = nullptr;      // the euro reminder
    TFormMMConceptos *FormMMConceptos = nullptr;  // the concept parts of a mass modification
    TFormMMDato *FormMMDato = nullptr;            // the value of a mass modification
    TFRMModMasivas *FRMModMasivas = nullptr;      // the chooser of the mass modifications
    TFRMAltaRapida *FRMAltaRapida = nullptr;      // the quick batch entry
    // Each window that lives for the whole run is added here by the task that builds it
    // (TFormMain *FormMain, TFormLogin *FormLogin, TFRMGestionusers *FRMGestionusers, ...),
    // named as the system names its global object.
};

// The one application object; its members are null until start-up creates them.
Aplicacion &App();
