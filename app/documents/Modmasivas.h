// Mass modification: one field of many bills at once (amounts with their counter-values,
// concepts, return codes, internal references, due dates), and the five operations that
// ask for the new value and apply it to the bills marked in the main window.
//
// The engine reads every listed bill's value, lock counter and batch currency (one query
// per batch), works out every new value, and only when none is refused writes them in one
// transaction of the main connection, with the revalidation of flagged bills and the batch
// totals: all or nothing. Bills another running copy holds are left alone by guarded
// statements. The engine shows nothing, takes no lock and posts no notice. Texts are
// Windows-1252; amounts and dates are written in storage form. Main thread only.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ---- The new amount ----

// What the user typed for the amounts: "100" sets, "+100" adds, "-100" subtracts; with "%"
// the number is a percentage of each bill's amount ("10%" sets ten per cent of it, "+10%"
// raises it by ten per cent).
struct OperacionImporte {
    int Modo = 0;             // 0 set, +1 increase, -1 decrease
    std::string Numero;       // the number in storage form ("100.4")
    bool Porcentaje = false;
};

// Reads the typed text for the bills of the currency moneda: optional blanks, an optional
// "+" or "-" with blanks after it, the number, optional blanks, then the end or "%"
// followed only by blanks. The number is read as an amount box of the currency reads it
// (LeeImporteTecleado: "1.234,56"), a percentage with up to two decimals. 0 with op set,
// or the text that says why it is refused: 313 the form, or the number's reason.
int LeeOperacionImporte(std::string_view texto, std::string_view moneda, OperacionImporte &op);

// Whether the typed text is a date as a date box reads it (LeeFechaTecleada).
bool FormatoFechaValido(std::string_view texto);

// The new amount of a bill: its amount in storage form, or the number of the text that
// refuses it (424 not above zero, 425 more than 10 digits in pesetas, 426 more than 8
// integer digits in euros).
struct ImporteNuevo {
    std::string Importe;
    int Rechazo = 0;
};

// The bill's new amount from its stored amount actual in the currency moneda ("ESP" whole
// pesetas, "EUR" cents), computed exactly and rounded half away from zero (10% of 1.25
// euros is 0.13). A stored amount that reads as none counts as 0.
ImporteNuevo CalculaNuevoImporte(const OperacionImporte &operacion, std::string_view actual,
                                 std::string_view moneda);

// ---- The new concept ----

// The sixteen 40-character parts of a 640-character concept; an empty part leaves that
// part of the concept as it is.
inline constexpr int kSegmentosConcepto = 16;
inline constexpr int kLargoSegmento = 40;
inline constexpr int kLargoConcepto = kSegmentosConcepto * kLargoSegmento;
using SegmentosConcepto = std::array<std::string, kSegmentosConcepto>;

// The stored concept (empty or "NULL" for none) laid into 640 characters (cut or
// blank-padded), each non-empty part written over its 40 characters (cut or blank-padded).
std::string AplicaSegmentos(std::string_view concepto, const SegmentosConcepto &segmentos);

// ---- The engine ----

enum class TipoMasiva { Importes, Conceptos, CodDevolucion, RefInterna, FechaVencimiento };

// One mass modification: the kind and its new value.
struct Modificacion {
    TipoMasiva Tipo = TipoMasiva::RefInterna;
    OperacionImporte Importe;     // Importes
    SegmentosConcepto Segmentos;  // Conceptos
    std::string Valor;            // CodDevolucion, RefInterna (LimpiaTexto), FechaVencimiento ("yyyy/mm/dd")
};

// What a run did. Nothing was written when Rechazo, Error or Detenida is set, or when the
// user declined to go on without the held bills.
struct ResultadoMasiva {
    int Cambiados = 0;      // bills written
    int Retenidos = 0;      // bills skipped: another running copy holds them
    int Rechazo = 0;        // the text refusing the first refused bill (424, 425, 426)
    std::string Titular, Referencia; // that bill's drawee: its name and reference code
    bool Declinada = false; // the user would not go on without the held bills
    bool Detenida = false;  // the progress asked to stop
    std::string Error;      // the failed statement's error text (already in the product log)
    // Amounts and due dates: the new value of every bill handled (written, or equal
    // already), in list order; those bills were revalidated.
    std::vector<std::string> Valores;
    bool Escrita() const { return Rechazo == 0 && !Declinada && !Detenida && Error.empty(); }
};

// Called with the bills done and the total, now and then while writing; false stops the
// run (everything is rolled back).
using ProgresoMasiva = std::function<bool(size_t hechos, size_t total)>;

// Called once, before anything is written, with the number of listed bills that another
// copy holds: true goes on without them, false changes nothing.
using ConfirmaRetenidos = std::function<bool(int retenidos)>;

// One run of a modification on the bills ids (Id_documento texts; unknown ones and repeats
// are skipped): built, it has read the bills and worked out their new values without
// writing anything; Escribe then writes them. A bill whose value already equals the new one
// is not written (amounts and due dates still revalidate and list it). Amounts also write
// the counter-value; a bill without concept gets a new concept row; the flagged bills of an
// amount or due-date change are revalidated and the totals of their batches written anew.
class ModificacionMasiva {
public:
    ModificacionMasiva(const std::vector<std::string> &ids, Modificacion modificacion);
    ~ModificacionMasiva();
    ModificacionMasiva(const ModificacionMasiva &) = delete;
    ModificacionMasiva &operator=(const ModificacionMasiva &) = delete;

    // Before writing: the read's error text, the text refusing the first refused bill (0
    // none; held bills are not checked), and the listed bills another copy holds.
    const std::string &ErrorLectura() const { return m_error; }
    int Rechazo() const { return m_rechazo; }
    int Retenidos() const { return m_retenidos; }

    // Writes the new values in one transaction, leaving the held bills alone; nothing when
    // the read failed or a bill was refused.
    ResultadoMasiva Escribe(const ProgresoMasiva &progreso = {});

    // A listed bill as read, with its new value.
    struct Recibo;

private:
    Modificacion m_modificacion;
    std::vector<Recibo> m_recibos;
    std::string m_error;
    int m_rechazo = 0;
    std::string m_titular, m_referencia; // the refused bill's drawee
    int m_retenidos = 0;
};

// The engine in one call: reads and works out, asks confirma when some bills are held
// (false: nothing written, Declinada), writes.
ResultadoMasiva ModificaDocumentos(const std::vector<std::string> &ids, const Modificacion &modificacion,
                                   const ConfirmaRetenidos &confirma, const ProgresoMasiva &progreso = {});

// ---- The five operations (ModmasivasOperaciones.cpp) ----
//
// Each asks for the new value in its dialog (App().FormMMDato or App().FormMMConceptos),
// then runs the engine on the list: text 637 asked when some bills are held, the write
// with the coordination paused, the wait cursor and progreso. A refused amount shows its
// text once, naming the drawee and reference of the first refused bill, and the dialog
// comes back; a failure shows its error. The caller refreshes its grids and posts the
// notice.

// The new amounts of the bills handled, or none when cancelled or failed.
std::optional<std::vector<std::string>> ModificaImportes(const std::vector<std::string> &ids,
                                                         const ProgresoMasiva &progreso = {});
// The bills written, 0 when the user would not go on without the held bills, -1 when
// cancelled or failed.
int ModificaConceptos(const std::vector<std::string> &ids, const ProgresoMasiva &progreso = {});
int ModificaCodDevolucion(const std::vector<std::string> &ids, const ProgresoMasiva &progreso = {});
int ModificaRefInterna(const std::vector<std::string> &ids, const ProgresoMasiva &progreso = {});
// The new due dates ("yyyy/mm/dd") of the bills handled, or none when cancelled or failed.
std::optional<std::vector<std::string>> ModificaFechaVencimiento(const std::vector<std::string> &ids,
                                                                 const ProgresoMasiva &progreso = {});
