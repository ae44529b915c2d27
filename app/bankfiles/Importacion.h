// The CSB import: a CSB19 or CSB58 file made by another program becomes data of one
// company: its presenter (found or inserted), each issuer (found or inserted), one new batch
// per issuer header, and every bill with its concept and drawee. The file is read, checked
// and imported in one transaction by the run frame (ImportacionMarco.h); a presenter that
// is not the company's rolls the run back too.
//
// A bill with a problem (account, dates, postcode, address, amount) is stored all the same,
// marked erroneous (Situacion 1, not active), and counted imported and erroneous; each
// problem is reported with its line. So is an issuer whose credit account cannot be sent.
// Presenters and issuers are found by NIF and by suffix as the bank reads it ("1" is the
// file's "001"), and stored with the NIF's letters as capitals; a NIF with anything but
// digits and letters refuses the file. Of presenters that the bank reads alike (twins an
// earlier build left) the file goes under the one that holds most of its issuers, then the
// one whose suffix is stored as the file writes it, then the first stored, and the report
// says so.
#pragma once

#include "ImportacionMarco.h"

#include <QDate>

#include <set>
#include <string>
#include <string_view>

class ImportacionCSB : public MarcoImportacion {
public:
    explicit ImportacionCSB(Provincias provincias);

    // Imports the file at ruta with the layout file rutaLayout (relative to the program
    // folder unless absolute) into the company idEmpresa, as the order type tipo ("CSB19"
    // or "CSB58"). -1 when the data file cannot be read; else 0, whatever was imported.
    int ImportaFicheroCSB(std::string_view ruta, std::string_view rutaLayout, std::string_view idEmpresa,
                          std::string_view tipo, Progreso progreso, Mensaje mensaje, Contadores contadores);

    // The counters of the last run (all 0 after a run that rolled back).
    Cuenta Presentadores, Emisores, Remesas, Recibos, Librados;

private:
    struct Presentador {
        std::string Id_empresa, Id_orden, Id_nif, Sufijo, Razon_social, Cuenta_cargo;
    };
    struct Emisor {
        std::string Id_nif, Sufijo, Razon_social, Cuenta_abono, Codigo_NIE;
    };
    struct Remesa {
        std::string Id_emisor, Id_moneda, Con_emision;
    };
    struct Recibo {
        bool Invalido = false;
        std::string Id_moneda, Id_remesa, Id_concepto, Id_librado, Concepto, Importe, Cod_devolucion,
            Ref_interna, Primer_concepto;
        QDate F_vencimiento, F_formalizacion; // invalid while unset
    };

    int TextoCabecera() const override;
    void Inicia() override;
    std::vector<const char *> Necesarias(char clase) const override;
    void Campo(char clase, const FieldDef &campo) override;
    void CeroContadores() override;
    std::array<int, 12> Cuentas() const override;
    void EscribeResumenImportacion() override;
    void OrdenantePrevio(const LineDef &linea) override;
    void Duplicado(int texto);

    // Presenter, issuer, batch (Importacion.cpp).
    void LeePresentador(const FieldDef &campo, const std::string &texto);
    void GuardaPresentador();
    std::string EligeGemelo(const std::vector<std::pair<std::string, std::string>> &gemelos);
    bool NifAdmitido(const std::string &nif);
    void LeeCabeceraOrdenante(const FieldDef &campo, const std::string &texto);
    void GuardaOrdenante();
    // The presenter's issuer with the NIF, suffix and credit account of e in idEmisor (the
    // last found; empty when none); false when the query failed.
    bool BuscaEmisor(const std::string &idPresentador, const Emisor &e, std::string &idEmisor);
    void CompruebaCuentaAbono();
    void CreaRemesa();
    void CierraRemesa();
    void ActualizaTotales();

    // Bills (ImportacionRecibos.cpp).
    void LeeRegistroIndividual(const FieldDef &campo, const std::string &texto);
    void LeeRegistroOpcional(const FieldDef &campo, const std::string &texto);
    void P_IMPORTACION_AddReciboABD();
    bool ReciboCompleto() const;
    bool ConConcepto() const;
    void AltaConceptoCSB();
    void AltaLibradoCSB();
    void CompruebaLibrado();
    void AltaDocumentoCSB();
    void LimpiaReciboPendiente();
    void ReglaCuenta(const std::string &texto);
    void ReglaVencimiento(const std::string &texto);
    void ReglaCP();
    void ReglaFormalizacion(const std::string &texto);

    bool m_ajeno = false; // the presenter is not the company's (text 295)
    std::string m_idEmpresa;
    int m_lineaRecibo = 1;
    std::string m_idPresentador, m_idEmisor, m_idRemesa;
    Presentador m_presentador;
    Emisor m_emisor;
    Remesa m_remesa;
    Recibo m_recibo;
    Librado m_librado;
    std::string m_pagina;
    std::vector<Emisor> m_emisoresFichero; // every issuer header of the file, as read
    std::set<std::string> m_cuentasErroneas; // issuers counted for their credit account
};
