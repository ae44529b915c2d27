// The CSB import: a CSB19 or CSB58 file made by another program becomes data of one
// company: its presenter (found or inserted), each issuer (found or inserted), one new batch
// per issuer header, and every bill with its concept and drawee.
//
// A file goes in whole or not at all. The file is read twice: first its structure is
// checked (EstructuraCSB) and every line must be one the layout file describes, with the
// fields the import needs; then, inside one write transaction, each line is cut by the
// layout and its fields handled in the layout's order. A refused file, a stop, a failed
// statement or a presenter that is not the company's rolls everything back and zeroes the
// counters. The record kinds are told by the line ids of the layout ("180"/"170" presenter,
// "380"/"370" issuer, "680"/"670" bill, "681"-"686"/"671"-"676" its optional and address
// records, "880"/"870" issuer totals, "980"/"970" grand totals), the fields by the column
// name their user data holds.
//
// A bill with a problem (account, dates, postcode, address, amount) is stored all the same,
// marked erroneous (Situacion 1, not active), and counted imported and erroneous; each
// problem is reported with its line.
//
// Every message goes to the message callback and to the report, a file beside the input
// named as it with its extension replaced by ".log", appended at every run. The
// multi-user coordination is paused for the run; the caller posts the change notice after
// it. Texts are Windows-1252. Main thread only; one run at a time per object.
#pragma once

#include "Lineas.h"

#include <QDate>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

class ImportacionCSB {
public:
    // (minimum, maximum, position): minimum is 0, maximum the run's steps (the file's lines
    // and their fields), position the steps done.
    using Progreso = std::function<void(int minimo, int maximo, int posicion)>;
    // One line of the run's messages.
    using Mensaje = std::function<void(const std::string &texto)>;
    // Issuers, batches, bills, drawees imported; the same repeated; the same erroneous.
    using Contadores = std::function<void(const std::array<int, 12> &contadores)>;
    // The province name of a two-digit code (empty when unknown).
    using Provincias = std::function<std::string(std::string_view codigo)>;

    // Progress and counters are handed over at most every IntervaloMs, and at the end.
    int IntervaloMs = 100;

    explicit ImportacionCSB(Provincias provincias);
    ~ImportacionCSB();
    ImportacionCSB(const ImportacionCSB &) = delete;
    ImportacionCSB &operator=(const ImportacionCSB &) = delete;

    // Imports the file at ruta with the layout file rutaLayout (relative to the program
    // folder unless absolute) into the company idEmpresa, as the order type tipo ("CSB19"
    // or "CSB58"). -1 when the data file cannot be read; else 0, whatever was imported.
    int ImportaFicheroCSB(std::string_view ruta, std::string_view rutaLayout, std::string_view idEmpresa,
                          std::string_view tipo, Progreso progreso, Mensaje mensaje, Contadores contadores);

    // Asks the run to stop after the field being handled; it then rolls back.
    void CancelaImportacion() { m_seguir = false; }

    // True while ImportaFicheroCSB runs.
    bool Importando() const { return m_importando; }
    // True when the last run committed what it imported.
    bool Confirmada() const { return m_confirmada; }

    // The counters of the last run (all 0 after a run that rolled back).
    struct Cuenta {
        int Importados = 0, Repetidos = 0, Erroneos = 0;
    };
    Cuenta Presentadores, Emisores, Remesas, Recibos, Librados;

    // The report of the last run.
    const std::string &RutaInforme() const { return m_rutaInforme; }

    // The report's path for an input path: its extension replaced by ".log", or ".log"
    // added when its name has none.
    static std::string RutaInformeDe(std::string_view ruta);

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
    struct Librado {
        bool Error = false;
        std::string Id_emisor, Codigo_referencia, Razon_social, Direccion, Localidad, Provincia, CP, Cuenta,
            Titular_cuenta, Loc_ordenante, Cod_provincia_ordenante;
    };

    // The run.
    void IniciaImportacion(Progreso progreso, Mensaje mensaje, Contadores contadores);
    bool CompruebaFichero(std::string_view ruta, const LineDefList &layout);
    bool CompruebaLayout(const LineDefList &layout);
    bool Importa(std::string_view ruta, const LineDefList &layout);
    void P_IMPORTACION_ImportaOLine(const LineDef &linea);
    void Refusa(int motivo, int linea);
    void Paso(bool forzado = false);
    void EnviaContadores(bool forzado = false);
    void CeroContadores();
    void EscribeResumenImportacion();

    // Messages, report and SQL.
    void AvisoImportacion(const std::string &texto);
    void EscribeInformeCSB(const std::string &texto);
    void AvisoLinea(int texto, int linea);
    void Duplicado(int texto);
    bool ConsultaImportacion(const std::string &sql, const std::function<void(char *fila, char *seguir)> &fila);
    bool EjecutaImportacion(const std::string &sql, int &filas);
    void Falla();

    // Presenter, issuer, batch (Importacion.cpp).
    void LeePresentador(const FieldDef &campo, const std::string &texto);
    void GuardaPresentador();
    void LeeCabeceraOrdenante(const FieldDef &campo, const std::string &texto);
    void GuardaOrdenante();
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

    Provincias m_provincias;
    Progreso m_progreso;
    Mensaje m_mensaje;
    Contadores m_contadores;
    bool m_seguir = true;
    bool m_importando = false;
    bool m_confirmada = false;
    bool m_fallo = false;        // a statement failed: the run rolls back
    bool m_ajeno = false;        // the presenter is not the company's (text 295)
    int m_tipoOrden = 0;
    std::string m_tipo, m_idEmpresa;
    int m_linea = 1, m_lineaRecibo = 1;
    std::string m_idPresentador, m_idEmisor, m_idRemesa;
    Presentador m_presentador;
    Emisor m_emisor;
    Remesa m_remesa;
    Recibo m_recibo;
    Librado m_librado;
    std::string m_pagina;
    std::string m_rutaInforme;
    std::FILE *m_informe = nullptr;
    int m_pasos = 0, m_hechos = 0;
    long long m_ultimoPaso = 0, m_ultimosContadores = 0;
};
