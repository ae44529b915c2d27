// The bill editor's accept without its window: cleaning of the typed texts, validation of
// the bill by its format, and the storage of its drawee, its concept, the bill itself and
// its batch's totals, with the release and notices of the multi-user coordination.
//
// Texts are Windows-1252. The amount is typed in screen form (digits and the user's
// decimal separator) and stored with "."; dates are carried as QDate and stored as
// "yyyy/mm/dd" (CSB19 bills store none). Messages go through the message box with the
// language texts, never while a transaction is open.
#pragma once

#include "General.h"
#include "Librados.h"
#include "Multiidioma.h"
#include "Registros.h"

#include <QDate>
#include <string>
#include <string_view>
#include <vector>

// The box whose value a validation refused, for the editor to put the cursor on.
enum class CampoRechazado { Ninguno, Importe, DigitosControl, Vencimiento };

// What the editor's boxes hold: the drawee of the format's panel (CSB58: the credit holder
// as Razon_social, the debtor's domicile, postcode and town as Direccion, CP and Localidad,
// the drawer's town and province code as Loc_ordenante and Cod_provincia_ordenante), and
// the bill's own boxes.
struct STRRecibo {
    STRLibrado Librado;
    std::string Importe; // as typed
    std::string CodDevolucion, RefInterna;
    std::string Concepto;          // the first concept (txtConcepto)
    std::vector<std::string> Memo; // the concept memo's lines
    QDate Vencimiento, Formalizacion; // CSB58's due date and date of the credit; invalid when blank
    CampoRechazado Rechazo = CampoRechazado::Ninguno; // set by ValidateData
};

// Where the bill goes: the format, the mode, the logged-in user, the batch with its issuer,
// the bill being modified, and what the editor was handed of the batch and the bill.
struct DestinoRecibo {
    int TipoOrden = 0; // 1 CSB19, 2 CSB58
    int Modo = RegistroNuevo;
    int IdUsuario = 0;
    int IdRemesa = 0, IdEmisor = 0;
    int IdDocumento = 0; // the bill being modified
    std::string Id_moneda, Con_emision, Id_concepto;
    std::string F_proceso = "NULL"; // the modified bill's processing date as the editor read it
};

// Every free text of the bill and its drawee, and the first eight memo lines, cleaned
// (LimpiaTexto); digits are left alone.
void LimpiaCampos(STRRecibo &r);

// The typed amount in storage form in the currency: true with sql set ("12.50" euros,
// "1234" pesetas); otherwise mensaje is the language text that refuses it: 203 for an
// amount not above 0, else the reason LeeImporteTecleado gives ("1.234,56" reads, "1,234"
// in euros is refused with 820).
bool ImporteParaGuardar(std::string_view tecleado, std::string_view moneda, std::string &sql, int &mensaje);

// Whether the bill may be stored: the amount (refused at once by its message), the own
// entity's account, then every missing field of the format gathered into text 139; fills a
// CSB58 bill without account with zeros and its blank date of the credit with today,
// computes blank control digits, refuses typed ones that do not match
// (CompruebaDigitosControl) and, for CSB58, a due date the user does not confirm
// (VencimientoAceptado). Rechazo names the box of the amount's and those two refusals.
bool ValidateData(STRRecibo &r, const DestinoRecibo &d);

// False, after RechazaDigitos' message, when the control digits do not match the account
// (a CSB58 bill without account has none to check).
bool CompruebaDigitosControl(const STRRecibo &r, int tipoOrden);

// A due date after today passes; today or earlier is asked (text 829 with the date, title
// 6), No being the default answer, and passes only on Yes.
bool VencimientoAceptado(const QDate &vencimiento);

// The concept of the memo: lines 0 to 7 each cut or blank-padded to 80 characters, line
// feeds removed; "." when all of it is blank.
std::string ConceptoMemo(const std::vector<std::string> &memo);

// A new bill's row as its INSERT writes it: texts already cleaned (LimpiaTexto), amount and
// counter-value in storage form, IdConcepto 0 for none, dates invalid for none. Larga: the
// statement with concept and dates (CSB58, or a CSB19 batch with issue); else the one of a
// CSB19 batch without issue, which writes neither.
struct FilaDocumento {
    int IdRemesa = 0, IdLibrado = 0, IdConcepto = 0;
    std::string Importe, Contravalor, CodDevolucion, RefInterna, PrimerConcepto;
    QDate Formalizacion, Vencimiento;
    bool Larga = true;
    bool Activo = true;
    int Situacion = 0; // 1 erroneous
};

// The INSERT of new bills, prepared once for the runs that write many (the imports).
class AltaDocumentos {
public:
    AltaDocumentos();
    // Inserts the bill (active and normal unless Activo and Situacion say otherwise); its
    // new key, or 0 when the INSERT failed (logged).
    int Inserta(const FilaDocumento &f);

private:
    SentenciaSQL m_sentencia;
};

// One bill through AltaDocumentos, for the bill editor.
int InsertaDocumento(const FilaDocumento &f);

enum class EstadoGuarda {
    Rechazado, // cleaning and validation refused it: nothing released or written
    Guardado,  // stored; idDocumento is the bill
    Fallido,   // nothing stored, after its message; a bill being modified is locked again
    Perdido,   // as Fallido, but the bill being modified could not be locked again
};

// The accept: LimpiaCampos, ValidateData, then (a modified bill's lock released first,
// outside the transaction) in one transaction the drawee (found by its reference code
// within the user's organisation and order type, rewritten when not locked, else inserted
// under the batch's issuer), the concept (with issue only), the bill (INSERT, or the
// guarded UPDATE that also makes it active and normal; refused with text 942 when the bill
// went out in a send file since the editor read it) and the batch's totals. Any failure
// rolls all of it back. After the commit: the notices of levels 4 (drawee written), 3 (the
// batch) and 2 (its issuer), and text 650 when the drawee was locked and what was typed
// differs from what it holds.
EstadoGuarda GuardaDocumento(STRRecibo &r, const DestinoRecibo &d, int &idDocumento);
