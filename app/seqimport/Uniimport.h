// The table objects of a sequential import: each collects the converted values of one
// record of the data file for its table (company, presenter, issuer, batch, bill, drawee)
// and, when the record ends, finds the matching row or stores a new one; the value
// conversions and the account normalisation they share.
//
// Texts are Windows-1252; values reach the database in storage form (dates "yyyy/mm/dd",
// amounts with "."). The objects run inside the caller's transaction and show no window:
// messages go through the environment's callbacks. A statement the database refuses marks
// the environment failed (Fallo) and the caller rolls back.
#pragma once

#include "Guardadocumento.h"
#include "Unitfichero.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Imported, repeated and erroneous rows of one table.
struct Contador {
    int Importados = 0, Repetidos = 0, Erroneos = 0;
};

// What every table object of one run shares.
struct EntornoImportacion {
    int IdUsuario = 0;
    int IdEmpresa = 0;          // the main window's current company
    std::string Tipos_orden;    // "CSB19" or "CSB58"
    bool Euros = false;         // the amounts are euros
    bool EmisionFactura = true; // the bills are issued as invoices
    std::string Catalogo;       // path of tablas.dat
    std::function<void(const std::string &)> Mensaje; // to the memo and the log
    std::function<void(const std::string &)> Log;     // to the log only
    bool Fallo = false;         // a statement was refused: the run must roll back

    void Avisa(const std::string &texto) const;
    void Registra(const std::string &texto) const;
};

// One entry of a data line: a linked field's value. Mark: 0 the line goes on, 1 the line
// continues the record, 2 the line starts a record, 3 the closing entry.
struct EntradaImportacion {
    const std::string *Enlace = nullptr; // "[table].column"; null on the closing entry
    std::string Valor;
    std::string Tipo;
    int Linea = 0;
    short Marca = 0;
    short Rechazo = 0; // a number that does not read: the text saying why; Valor is the file's, trimmed
};

// ---- Conversions ----

// A date of the data file in the layout given by its letters (A year, M month, D day, as
// "DDMMAA"): "/", "-" and "," removed; "yyyy/mm/dd", or "" when fewer than 6 characters are
// left or the date does not exist. Two-digit years below 71 are 20yy, others 19yy.
std::string ConvertirFecha(std::string_view texto, std::string_view formato);

// A value of a "NUMERICO..." type in storage form: blanks removed; nothing at all is 0; a
// text of digits alone is scaled by the decimals the type names ("NUMERICO_(2_DECIMALES)":
// "1234" is 12.34) rounding half away from zero to the currency's decimals (2 in euros, none
// in pesetas), nothing when that is more than the currency takes (10 digits of pesetas, 8
// integer digits of euros, as the amount boxes). A text with "," or "." is not scaled: with
// the options' separator "," or "." it reads, after an optional sign, as an amount box of
// the currency reads it with that decimal separator (LeeImporteTecleado: "1.234,56",
// "1.234", at most the currency's decimals), nothing when it does not; with no separator it
// stays as it is. A "-" after the number is its sign ("12345-"). Nothing for any other text
// ("12a", "-", "12345+", "-12345-": text 798) and for an amount below zero, which no bill
// holds (text 799). For nothing, motivo (when given) receives the language text that says
// why, as the amount boxes say it.
std::optional<std::string> ConvierteNumerico(std::string_view valor, std::string_view tipo, bool euros,
                                             std::string_view separador, int *motivo = nullptr);

// The value of an entry converted by its type (blanks already removed from the type):
// "FECHA_..." dates, "NUMERICO..." numbers; any other type unchanged. Nothing for a number
// that does not read, with motivo as ConvierteNumerico's.
std::optional<std::string> ConvierteValor(std::string_view valor, std::string_view tipo, bool euros,
                                          std::string_view separador, int *motivo = nullptr);

// An account read from a data file, on its first 20 characters: empty or "-----" gives 20
// zeros; a blank becomes "0" (corrected); any other non-digit, unless the control digits
// (9 and 10) are "**", gives 20 nines (corrected); "**" control digits of an uncorrected
// account are computed, and when the other characters cannot give them the result is 20
// nines (corrected). corregida is set for this account alone.
std::string NormalizarCuenta(std::string_view cuenta, bool &corregida);

// ---- Table objects ----

class _Tabla {
public:
    _Tabla(EntornoImportacion &entorno, std::string tabla);
    virtual ~_Tabla() = default;
    _Tabla(const _Tabla &) = delete;
    _Tabla &operator=(const _Tabla &) = delete;

    // Reads the table's fields from the catalogue; required are "SI" and the marker of the
    // run's order type ("19" or "58").
    void CargarCampos();
    // Takes the entry when its link names one of the fields; a field given twice in a
    // record is reported and the later value kept; "'" becomes "`".
    bool TomarDato(const EntradaImportacion &entrada);
    void AsignarValor(std::string_view campo, std::string_view valor);
    void Limpiar();
    std::string Valor(std::string_view campo) const;
    int LineaCampo(std::string_view campo) const;
    // The data line of the first field taken since the last clear; 0 when none.
    int Linea() const;
    bool IdActual(int &id) const;
    bool TieneId() const { return m_tieneId; }
    int Id() const { return m_id; }
    const Contador &Cuenta() const { return m_cuenta; }
    const std::string &Tabla() const { return m_tabla; }

    // Finds or stores the record; the base stores nothing.
    virtual bool Guardar() { return true; }

protected:
    struct Campo {
        std::string Nombre, Enlace, Tipo;
        bool Requerido = false, Presente = false;
        int Rechazo = 0;
        int Linea = 0;
        std::string Valor;
    };
    // Logs every required field that is missing; true when none is and there are fields.
    bool ComprobarRequeridos() const;
    // As ComprobarRequeridos, also counting blank values as missing; a missing text field
    // gets "-----" and each is reported to the memo and the log.
    bool ComprobacionEstricta();
    // The trimmed value.
    std::string Recortado(std::string_view campo) const;
    // The language text saying why the field's value, a number as the file gave it, did not
    // read; 0 when it read.
    int Rechazo(std::string_view campo) const;
    // Normalises the account field in place; true when it was corrected.
    bool Normaliza(std::string_view campo);
    // A presenter's or issuer's Id_nif that cannot be stored (MotivoNif): its reason and
    // line to the memo, the record counted erroneous and cleared without an id; false then.
    bool NifAdmitido();
    void PonId(int id)
    {
        m_id = id;
        m_tieneId = true;
    }
    void QuitaId() { m_tieneId = false; }
    // A refused statement: the run rolls back.
    bool Falla();
    const Campo *Busca(std::string_view campo) const;

    EntornoImportacion &m_entorno;
    std::string m_tabla;
    std::vector<Campo> m_campos;
    Contador m_cuenta;
    int m_id = 0;
    bool m_tieneId = false;
};

class _Empresa : public _Tabla {
public:
    explicit _Empresa(EntornoImportacion &entorno);
    bool Guardar() override;
    bool Csb58() const { return m_csb58; }
    // The company last found or stored is not the current one.
    bool EmpresaActual() const { return m_actual; }
    const std::string &NombreEmpresa() const { return m_nombre; }

private:
    bool m_csb58 = false;
    bool m_actual = true;
    std::string m_nombre;
};

class _Presentador : public _Tabla {
public:
    _Presentador(EntornoImportacion &entorno, const _Empresa &empresa);
    bool Guardar() override;

private:
    const _Empresa &m_empresa;
};

class _Emisor : public _Tabla {
public:
    _Emisor(EntornoImportacion &entorno, const _Presentador &presentador);
    bool Guardar() override;

private:
    const _Presentador &m_presentador;
    std::string m_cargo, m_descripcion, m_alias; // the last given in this run
};

class _Remesa : public _Tabla {
public:
    _Remesa(EntornoImportacion &entorno, const _Empresa &empresa, const _Emisor &emisor);
    // Closes the previous batch and opens one under the issuer saved last.
    bool Guardar() override;
    // Closes the current batch: its totals, or its deletion when it received no bill.
    void Finalizar();
    void SumaRecibo() { ++m_recibos; }
    std::string Moneda() const;

private:
    const _Empresa &m_empresa;
    const _Emisor &m_emisor;
    int m_recibos = 0;
};

class _Librado : public _Tabla {
public:
    _Librado(EntornoImportacion &entorno, const _Emisor &emisor);
    bool Guardar() override;
    // The drawee saved last had missing data or an account that was mended or cannot be
    // sent, or was found with a stored account its bills cannot go out on.
    bool Erroneo() const { return m_erroneo; }

private:
    const _Emisor &m_emisor;
    bool m_erroneo = false;
    LibradosEmisor m_sentencias; // of the run
};

class _Recibo : public _Tabla {
public:
    _Recibo(EntornoImportacion &entorno, _Remesa &remesa, const _Librado &librado);
    bool Guardar() override;

private:
    std::string Concepto() const;
    _Remesa &m_remesa;
    const _Librado &m_librado;
    std::vector<const Campo *> m_conceptos; // Concepto1 to Concepto16, those the table has
    // The statements of the run.
    AltaDocumentos m_alta;
    SentenciaSQL m_altaConcepto{"INSERT INTO [Conceptos()] (Concepto) VALUES (?);"};
};
