// The run frame of the imports of a CSB19 or CSB58 file: the bill import (ImportacionCSB)
// and the drawee import (ImportacionLibrados) read their files the same way and differ
// only in what they do with the fields of each record.
//
// A file goes in whole or not at all. The file is read twice: first its structure is
// checked (EstructuraCSB) and every line must be one the layout file describes; then,
// inside one write transaction, each line is cut by the layout and its fields handed, in
// the layout's order, to the kind of import. A refused file, a stop, a failed statement
// rolls everything back and zeroes the counters. The record kinds are told by the line ids
// of the layout ("180"/"170" presenter, "380"/"370" issuer, "680"/"670" bill, "681"-"686"/
// "671"-"676" its optional and address records, "880"/"870" issuer totals, "980"/"970"
// grand totals), the fields by the column name their user data holds.
//
// Every message goes to the message callback and to the report, a file beside the input
// named as it with its extension replaced by ".log", appended at every run. The
// multi-user coordination is paused for the run; the caller posts the change notice after
// it. Texts are Windows-1252; a file's bytes 0xA5 and 0xA4, the norms' capital and small n
// with tilde, are read as theirs. Main thread only; one run at a time per object.
#pragma once

#include "Guardadocumento.h"
#include "Librados.h"
#include "Lineas.h"

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class MarcoImportacion {
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

    virtual ~MarcoImportacion();
    MarcoImportacion(const MarcoImportacion &) = delete;
    MarcoImportacion &operator=(const MarcoImportacion &) = delete;

    // Asks the run to stop after the field being handled; it then rolls back.
    void CancelaImportacion() { m_seguir = false; }

    // True while a run goes on.
    bool Importando() const { return m_importando; }
    // True when the last run committed what it imported.
    bool Confirmada() const { return m_confirmada; }

    // The counters of a row of the window (all 0 after a run that rolled back).
    struct Cuenta {
        int Importados = 0, Repetidos = 0, Erroneos = 0;
    };

    // The report of the last run.
    const std::string &RutaInforme() const { return m_rutaInforme; }

    // The report's path for an input path: its extension replaced by ".log", or ".log"
    // added when its name has none.
    static std::string RutaInformeDe(std::string_view ruta);

protected:
    explicit MarcoImportacion(Provincias provincias);

    // One run of the file at ruta with the layout file rutaLayout (relative to the program
    // folder unless absolute) as the order type tipo ("CSB19" or "CSB58"). -1 when the
    // data file cannot be read; else 0, whatever was imported.
    int Ejecuta(std::string_view ruta, std::string_view rutaLayout, std::string_view tipo, Progreso progreso,
                Mensaje mensaje, Contadores contadores);

    // What each kind of import does.
    // The language text that opens the report's header line.
    virtual int TextoCabecera() const = 0;
    // Resets the pending records; the counters are zeroed apart.
    virtual void Inicia() = 0;
    // The keys the fields of a record kind must hold in their user data.
    virtual std::vector<const char *> Necesarias(char clase) const = 0;
    // One field of a record of the kind clase ('1' presenter, '3' issuer, '6' bill, 'o'
    // optional or address record, '8' issuer totals, '9' grand totals).
    virtual void Campo(char clase, const FieldDef &campo) = 0;
    virtual void CeroContadores() = 0;
    virtual std::array<int, 12> Cuentas() const = 0;
    virtual void EscribeResumenImportacion() = 0;
    // An issuer header as the first pass reads it, cut by the layout, before anything is
    // imported.
    virtual void OrdenantePrevio(const LineDef &) {}

    // A drawee as its records fill it (texts as read).
    struct Librado {
        bool Error = false;
        std::string Id_emisor, Codigo_referencia, Razon_social, Direccion, Localidad, Provincia, CP, Cuenta,
            Titular_cuenta, Loc_ordenante, Cod_provincia_ordenante;
    };

    // The field's user data holds the key.
    static bool Contiene(const FieldDef &campo, const char *clave)
    {
        return campo.user_data.find(clave) != std::string::npos;
    }
    // Nothing but blanks.
    static bool Vacio(std::string_view texto);

    void EnviaContadores(bool forzado = false);
    void AvisoImportacion(const std::string &texto);
    void EscribeInformeCSB(const std::string &texto);
    void AvisoLinea(int texto, int linea);
    // A query or statement of the run; an error is reported (with the line when
    // m_conLinea), and it stops the run, which rolls back. EjecutaImportacion fails too
    // when no row was written.
    bool ConsultaImportacion(const std::string &sql, const std::function<void(char *fila, char *seguir)> &fila);
    bool EjecutaImportacion(const std::string &sql, int &filas);
    // The same end for what a statement of the run gave: its error (reported) or, with
    // filas, no row written.
    bool ResultadoImportacion(const std::string &error, int filas = 1);
    void Falla();
    // The province name of a code, through the callback given.
    std::string Provincia(std::string_view codigo) const;

    // The statements each bill or drawee repeats, prepared once for the run. Its own
    // constructor, not member initialisers, so that it is default-constructible inside
    // std::optional before this class is complete (clang).
    struct Sentencias {
        Sentencias() : Concepto("INSERT INTO [Conceptos()] (Concepto) VALUES (?);") {}
        LibradosEmisor Librados;
        AltaDocumentos Documentos;
        SentenciaSQL Concepto;
    };
    std::optional<Sentencias> m_sentencias; // during the run's transaction

    bool m_seguir = true;
    bool m_fallo = false;   // a statement failed: the run rolls back
    bool m_conLinea = true; // the run's messages name their line
    int m_tipoOrden = 0;
    std::string m_tipo;
    int m_linea = 1;

private:
    void IniciaImportacion(Progreso progreso, Mensaje mensaje, Contadores contadores);
    bool CompruebaLayout(const LineDefList &layout) const;
    bool CompruebaFichero(std::string_view ruta, const LineDefList &layout);
    bool Importa(std::string_view ruta, const LineDefList &layout);
    void P_IMPORTACION_ImportaOLine(const LineDef &linea);
    void Refusa(int motivo, int linea);
    void Paso(bool forzado = false);
    bool Toca(long long &ultimo, bool forzado);

    Provincias m_provincias;
    Progreso m_progreso;
    Mensaje m_mensaje;
    Contadores m_contadores;
    bool m_importando = false;
    bool m_confirmada = false;
    std::string m_rutaInforme;
    std::FILE *m_informe = nullptr;
    int m_pasos = 0, m_hechos = 0;
    long long m_ultimoPaso = 0, m_ultimosContadores = 0;
    long long m_llamadas = 0;
};
