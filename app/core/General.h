// Foundation services shared by every window: the product log, paths, money and its two
// currencies, account numbers, order types, dates, the cleaning of free text for SQL and
// for bank files, and a few control helpers.
//
// Texts are Windows-1252. Amounts and dates have two forms:
// - storage (SQL, database, files): amounts with "." as decimal point and no grouping
//   ("1234.50" euros, "1234" pesetas); dates "yyyy/mm/dd";
// - screen: the user's regional settings (regional::): decimal and thousands separators,
//   short date format with a four-digit year.
// Amount readers take either form. In a "," locale a text without "," whose only "." is
// followed by exactly three digits ("1.234") reads as grouping (1234): stored amounts never
// have three decimals. Amounts are read exactly, whatever the number of decimals, and
// rounded half away from zero (250 euros are 41597 pesetas).
//
// Failures are written to the product log with the function's tag, such as
// "[ General::GetContravalor ] ", and give the empty text; nothing here throws.
#pragma once

#include <QDate>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QWidget;

// ---- SQL layer ----
//
// Every window reaches the database through DBGetData and DBExecSQL: they normalise empty
// values (NormalizaSQL), run the text through vasqdb, count as user activity, and write a
// failure to the product log with the SQL. Failures come back as the library's error text;
// nothing throws out of them.

// Inactivity of the user, counted by the multi-user coordination: one tick per pass of its
// timer; it sets Refrescando while it applies other copies' change notices. Every database
// call and user action resets the count, except while refreshing.
struct _Inactividad {
    int Ticks = 0;
    bool Refrescando = false;
    void Reinicia()
    {
        if (!Refrescando)
            Ticks = 0;
    }
};
extern _Inactividad Inactividad;

// Turns empty values into NULL, outside quoted texts and bracketed names: each rule below is
// applied to its first occurrence again and again until none is left, in this order:
// "= ''" and "=''" become "= NULL" and "=NULL"; "= ' '" and "=' '" become "= NULL";
// ",," ",''," become ",NULL,"; ",)" ",'')" become ",NULL)"; "(," "(''," become "(NULL,".
void NormalizaSQL(std::string &sql);

// The row callback: the row text (the library's, valid during the call), a keep-going flag
// (clear it to stop the walk) and the number of rows of the whole result.
using FilaCallback = std::function<void(char *fila, char *seguir, int total)>;

// Runs a query, calling callback once per row; DBGetData may be called again from inside a
// callback. Returns the empty text on success, else the library's error text (or the
// message of an exception raised by the callback), which is also logged with the
// normalised SQL after "  DETALLE SQL: ".
std::string DBGetData(std::string_view sql, const FilaCallback &callback);

// Runs a statement; filas receives the rows it changed (0 on failure). Returns the empty
// text or the error text, logged with the SQL after "  Detalle SQL: ".
std::string DBExecSQL(std::string_view sql, int &filas);

// A statement of the bulk runs: prepared once, then run row after row with its values bound
// in order, instead of an SQL text per row. A text value is stored as the same statement
// written out with the value quoted in place of its "?" would store it: NULL where
// NormalizaSQL makes NULL of it ('' and ' ' after "=", '' as a list slot), else the text as it
// is; amounts and dates go in their storage form. Every value must be bound for each run:
// a run with fewer fails, so no value of the run before is stored again. A run counts as
// user activity; its failure comes back as DBExecSQL's, logged with the statement and its
// values. A statement that could not be prepared fails at every run.
class SentenciaSQL {
public:
    explicit SentenciaSQL(std::string sql);
    ~SentenciaSQL();
    SentenciaSQL(const SentenciaSQL &) = delete;
    SentenciaSQL &operator=(const SentenciaSQL &) = delete;

    // Bind the next value; the first after a run is value 1 again.
    SentenciaSQL &Texto(const std::string &valor);
    SentenciaSQL &Texto(std::string_view valor);
    SentenciaSQL &Entero(long long valor);
    SentenciaSQL &Nulo();

    // Runs the statement; filas receives the rows it changed (0 on failure). Returns the
    // empty text or the error text.
    std::string Ejecuta(int &filas);
    // Runs it as a query, calling callback once per row, as DBGetData.
    std::string Consulta(const FilaCallback &callback);

private:
    // Keeps the text of the first failure until the next run reports it.
    void Anota(int codigo);
    void Anade(std::string_view valor);
    // A run with a value left unbound fails.
    void CompruebaValores();
    // Ends a run that failed with codigo (0: none): logs and gives the failure's text.
    std::string Termina(const char *etiqueta, int codigo);

    // Of each value, whether NormalizaSQL makes NULL of an empty and of a one-blank text in
    // its place.
    struct Vacios {
        bool vacio = false, blanco = false;
    };

    std::string m_sql;
    std::vector<Vacios> m_vacios; // one per "?"
    int m_sentencia = 0;
    bool m_preparada = false;
    int m_valor = 0;       // the last value bound
    std::string m_fallo;   // the first failure's text since the last run
    std::string m_valores; // bound since the last run, for the log
};

// A row callback that keeps the row whole in the row buffer and stops the query.
void StoreRow(char *fila, char *seguir, int total);

// The value of a field of the row buffer; "NULL" reads as the empty text.
std::string GetField(std::string_view nombre);

// The empty text for "NULL", else the text.
std::string NullToEmpty(std::string_view texto);

// ---- Scrambled copy of the database ----
//
// Beside the database file lives its scrambled copy (same name, extension ".mcr"): the
// database without its password, each block of 8,192 bytes (the last one shorter) passed
// through quentaro's BlockQuickEncript on its own. The database exists only while the
// program runs; the copy is what is kept between runs.

// The database password the program gives a rebuilt database.
inline constexpr const char *kPasswordBD = "mxTalvero";

// The copy's path: the database path with its extension changed to ".mcr".
std::string RutaCopiaBD(std::string_view rutaBD);

// Why the copy could not be written, or the database rebuilt from it.
enum class FalloCopia {
    Ninguno,
    SinEspacio, // no room on the disk (a quota or a file size limit too)
    Danada,     // the database (writing) or the copy (rebuilding) is damaged, or changed since written
    NoEsBase,   // no database, or one without tables, where one is read
    Otro,       // a file that cannot be created, renamed or removed, and the rest
};

// Writes the scrambled copy of the database at rutaBD, keyed with password. The database is
// exported once, compacted and without its password, straight into the scrambled form
// (VASQ_ExportTransformed): one state of it, taken while other running copies go on
// writing, without waiting for them; the copy is then checked whole and sealed with the sum
// of its pages' checksums. Without a password the file is copied as it is (a database in
// WAL mode is checkpointed first through vasqdb, which opens it when it has no database
// open), unsealed. The copy is built in a temporary file beside it, every write checked and
// flushed to disk, and renamed over the old copy; only then, unless conservar, is the
// database deleted. Any failure keeps the database and the old copy, is logged with
// "[ General::GuardaBDCifrada ] ", gives false and, with fallo, says why.
bool GuardaBDCifrada(std::string_view rutaBD, bool conservar, std::string_view password,
                     FalloCopia *fallo = nullptr);

// Rebuilds the database at rutaBD from its scrambled copy, through a temporary file renamed
// into place. With a password the copy is read and written keyed in one pass
// (VASQ_ImportTransformed), which also proves it a whole database: a sealed copy whose
// bytes changed since it was written, an empty one and one without tables are refused
// (copies of earlier builds have no seal and are read as they are); without a password the
// file is the copy's bytes unscrambled. A failure (a missing copy included) leaves no file
// behind and the copy as it was, is logged with "[ General::RecuperaBDCifrada ] ", gives
// false and, with fallo, says why.
bool RecuperaBDCifrada(std::string_view rutaBD, std::string_view password = {}, FalloCopia *fallo = nullptr);

// True when the open database holds the tables of the program's data (an earlier build's
// database may still lack those of the running copies, which start-up adds).
bool TieneTablasDelPrograma();

// Removes what runs killed while writing the copy, rebuilding the database or compacting it
// left behind: in the database's folder, the temporary files that vasqdb and
// GuardaBDCifrada make beside the database and beside its copy, marked as VASQ_TEMP_MARK
// says (".Orvanta.mcr.k3J9aQ.vasqtmp", ".Orvanta.mcr.vasqtmp"); in the program folder, the
// compaction's target and its marked temporaries. Only for a caller that holds the
// database alone (VASQ_LockExclusive), so that no running copy is writing one; any other
// file stays, a user's backup ("Orvanta.mcr.190126") and an earlier build's unmarked
// temporary alike.
void BorraTemporales(std::string_view rutaBD);

// True when a file can be created in the folder of ruta (a marked temporary is made there
// and removed); false for a folder that does not exist or cannot be written.
bool SePuedeEscribirJunto(std::string_view ruta);

// The compaction's target: "tmp.mdb" in the program folder.
std::string RutaCompactacion();

// The wait cursor while the object lives; nothing without a QApplication.
class CursorEspera {
public:
    CursorEspera();
    ~CursorEspera();
    CursorEspera(const CursorEspera &) = delete;
    CursorEspera &operator=(const CursorEspera &) = delete;

private:
    bool m_puesto = false;
};

// ---- Files (Windows-1252 paths) ----

// The path with the extension of its file name replaced by ext (".log"), or ext added when
// the name has none.
std::string CambiaExtension(std::string_view ruta, std::string_view ext);

// Removes the file; true when it is gone, also when it never was there.
bool BorraFichero(const std::string &ruta);

// Renames de over a and flushes the folder, so that the rename survives a crash.
bool RenombraFichero(const std::string &de, const std::string &a);

// Renames de to a only while no file a exists, never replacing one, and flushes a's
// folder. False (de stays) when a exists or the rename fails.
bool RenombraSinReemplazar(const std::string &de, const std::string &a);

// Removes the journal files SQLite keeps beside a database ("-wal", "-shm"): stale ones
// must never meet a new database file.
void BorraDiarios(const std::string &rutaBD);

// ---- Product log and paths ----

// Appends "<today in the user's short date format> - <mensaje>" and a line break to
// Orvanta.LOG in the program folder; a file that cannot be opened loses the line silently.
void WriteLog(std::string_view mensaje);

// The program folder, ending with "/".
std::string GetAppPath();

// The path with "/" appended when it is not empty and ends neither in "\" nor in "/".
std::string AddBackslash(std::string_view ruta);

// ---- Money: 166.386 pesetas to the euro; currencies "ESP" (no decimals) and "EUR" ----

inline constexpr const char *kMonedaPesetas = "ESP";
inline constexpr const char *kMonedaEuros = "EUR";

// The decimals of a currency's amounts: 2 for "EUR", 0 for any other.
int DecimalesMoneda(std::string_view moneda);

// What LeeImporteSQL made of a text.
enum class LecturaImporte {
    Correcta,        // the amount is in unidades
    NoEsImporte,     // anything not accepted below: empty, letters, ",", "NULL" (which is
                     // also what a SUM over no rows gives)
    DemasiadoGrande, // more than 10 integer digits (leading zeros do not count)
    SobranDecimales, // exacto only: a non-zero digit past the requested decimals
};

// Reads an amount in storage form (the database's, and what a NUMERIC column or a SUM
// gives back) into whole units of 10^-decimales: cents with 2 ("1234.50" gives 123450),
// pesetas with 0 ("1234" gives 1234).
// Accepted: optional blanks, an optional "+" or "-", digits with at most one "." before,
// among or after them (at least one digit; "5." is 5 and ".5" is 0.5), optional blanks;
// at most 10 integer digits. No grouping, no ",", no exponent.
// The value is read exactly, whatever the number of decimals, and rounded half away from
// zero to the requested decimals: with 2, "0.005" gives 1, "-0.005" gives -1 and "0.00499"
// followed by any number of 9s gives 0. With exacto no rounding is done: a non-zero digit
// past the requested decimals gives SobranDecimales ("12.50" as pesetas), trailing zeros
// are fine ("12.000" as cents is 1200).
// Rounding may carry into an eleventh digit ("9999999999.5" as pesetas): limits such as a
// bank file's are the caller's to check.
// decimales is 0 to 8 (anything else gives NoEsImporte); unidades is set only on Correcta.
// Nothing is logged.
LecturaImporte LeeImporteSQL(std::string_view texto, int decimales, long long &unidades, bool exacto = false);

// The amount for the screen: "EUR" with grouping and two decimals, any other currency with
// grouping and no decimals.
std::string FormatImporte(std::string_view importe, std::string_view moneda);

// The counter-value for the screen: an "EUR" amount as pesetas (grouping, no decimals), any
// other as euros (grouping, two decimals).
std::string FormatContravalor(std::string_view importe, std::string_view moneda);

// The amount in storage form: "EUR" with two decimals, any other currency none.
std::string FormatImporteSQL(std::string_view importe, std::string_view moneda);

// The counter-value in storage form: "ESP" gives euros with two decimals, "EUR" whole
// pesetas; an empty or "NULL" amount, or any other currency, gives the empty text.
std::string GetContravalor(std::string_view importe, std::string_view moneda);

// The counter-value in storage form: "EUR" gives whole pesetas, any other currency euros
// with two decimals.
std::string GetContravalorSinFormato(std::string_view importe, std::string_view moneda);

// An amount typed into a box of the currency moneda ("EUR": two decimals and 8 integer
// digits; any other: whole, 10 digits), read as every amount box reads it (amount.h:
// "1.234,56", "1234,56", "12.5"). Rechazo is 0 and SQL the storage form ("1234.56",
// "1234"); or SQL is empty and Rechazo the language text that says why it does not read:
// 203 empty, 672 no amount, 673 thousands points out of place, 820 and 821 decimals in
// euros and pesetas, 426 and 425 integer digits in euros and pesetas.
struct ImporteTecleado {
    std::string SQL;
    int Rechazo = 0;
};
ImporteTecleado LeeImporteTecleado(std::string_view texto, std::string_view moneda);
// The same with the decimal separator separador (',' or '.') in place of the regional one:
// an amount written by another program.
ImporteTecleado LeeImporteTecleado(std::string_view texto, std::string_view moneda, char separador);

// ---- Account numbers (CCC: bank 4, branch 4, control digits 2, account 10) ----

// The bank's own entity code, whose account part gets the extra rule of ValidaCuentaBanco.
inline constexpr const char *kEntidadPropia = "6094";

// The two control digits of bank + branch and of the account (each part cut or blank-padded
// to 4, 4 and 10 characters), or the empty text when a part holds a blank or other non-digit.
std::string CalcDigitosControl(std::string_view banco, std::string_view oficina, std::string_view cuenta);

// Control digits given (not empty) that are not CalcDigitosControl of the account: a
// mistyped account number, never stored with other digits.
bool DigitosErroneos(std::string_view banco, std::string_view oficina, std::string_view dc, std::string_view cuenta);

// The 20-character account number when the parts are valid, else the empty text. Valid:
// bank and branch of 4 digits, account of 10, bank and account not all zeros, and control
// digits equal to the computed ones. Without forzar, empty control digits are accepted
// without computing and written as two blanks.
std::string ValidaCCC(std::string_view banco, std::string_view oficina, std::string_view dc,
                      std::string_view cuenta, bool forzar);

// For the account part of an account of the bank's own entity: 10 characters beginning
// with "0" pass; 3 to 9 characters beginning with "0" are widened to 10 with zeros after
// the third character (written back into the box) and pass; anything else shows text 625
// under caption text 1, empties the box and fails.
bool ValidaCuentaBanco(QLineEdit *edit);
// The same rule on the text itself, widened or emptied in place.
bool ValidaCuentaBanco(std::string &cuenta);

// A number of fewer than 10 characters in a box whose maximum length is 1 to 10 is
// rewritten with leading zeros to that length; a text that is no number is logged and kept.
void Padea(QLineEdit *edit);

// Key filter for number boxes: digits, backspace (8) and line feed (10) pass, any other
// key becomes 0.
void FiltraTeclaNumerica(char &tecla);
bool EsDigito(char c);

// ---- Order types: 1 "CSB19", 2 "CSB58", 0 neither ----

int GetTipoOrden(std::string_view nombre);
std::string GetTipoOrdenStr(int tipo);

// 1 when the file begins with "018" or "518", 2 with "017" or "517", else 0 (also when it
// cannot be read).
int GetTipoOrdenFichero(std::string_view ruta);

// The suffix of a presenter's or issuer's code as the bank reads it: three digits. One or
// two digits, blanks around them left out, are zero-filled on the left ("1" gives "001");
// any other text (empty, a letter, more than three digits) gives nothing.
std::optional<std::string> SufijoBanco(std::string_view sufijo);

// True when the bank reads two suffixes as one ("1", " 1", "01" and "001" are one); texts
// without a bank form are compared trimmed, without regard to case.
bool MismoSufijo(std::string_view a, std::string_view b);

// A presenter's or issuer's tax id (NIF) as the bank matches it: its letters a to z as
// capitals ("b46103834" gives "B46103834"); every other byte stays.
std::string NifMayusculas(std::string_view nif);

// Why a NIF cannot be stored or sent: text 791 naming it and each byte that is neither a
// digit nor a letter a to z or A to Z, blanks around it left out; empty when it can (its
// small letters then go as capitals, NifMayusculas).
std::string MotivoNif(std::string_view nif);

// ---- Dates ----

// The date of a text in the user's short date format (day, month and year in the format's
// order, any non-digit between them, two-digit years 00-69 as 20yy and 70-99 as 19yy);
// an invalid QDate when it is no date.
QDate LeeFechaUsuario(std::string_view texto);

// A date typed into a date box, read as every date box reads it: as the screen shows it
// (FechaUsuario), or day, month and year in the order of the user's short date format, as
// three groups of digits parted by anything but letters ("20/01/2027", "20-1-27",
// "20 01 2027") or as digits alone, two for the day and the month and the rest for the
// year ("20012027", "200127"); the year of four digits or two (as LeeFechaUsuario); an
// invalid QDate for anything else.
QDate LeeFechaTecleada(std::string_view texto);

// The date of a stored "yyyy/mm/dd" text; an invalid QDate when it is no date.
QDate LeeFechaSQL(std::string_view texto);

// Screen form (user's short date format, four-digit year), storage form "yyyy/mm/dd" and
// bank-file form "ddmmyy" of a valid date.
std::string FechaUsuario(const QDate &fecha);
std::string FechaSQL(const QDate &fecha);
std::string FechaBanco(const QDate &fecha);

// The years that the two digits of a bank-file date carry: 70-99 read as 19yy, 00-69 as
// 20yy, here as everywhere a two-digit year is read.
inline constexpr int kPrimerAnioBanco = 1970;
inline constexpr int kUltimoAnioBanco = kPrimerAnioBanco + 99;

// True when the date's year is one of them, so that its "ddmmyy" form reads back as it.
bool FechaCabeEnBanco(const QDate &fecha);
// Why a valid date cannot go into a bank file (its year outside them); empty when it can.
std::string MotivoFechaBanco(const QDate &fecha);

// A text in the user's short date format (blanks count as "/") as "ddmmyy".
std::string GetSafeDate(std::string_view fecha);

// A six-character "yymmdd" text (a row-text date without its blanks) in the user's short
// date format; years 00-69 are 20yy, 70-99 19yy; empty when the length is not 6 or the
// date is impossible.
std::string FechaDDMMAAToStr(std::string_view fecha);

// The date of a row-text date "yy mm dd" (years 00-69 are 20yy, 70-99 19yy); an invalid
// QDate for "NULL" or anything else that is no date.
QDate LeeFechaFila(std::string_view fecha);

// A text in the user's short date format as "yyyy/mm/dd".
std::string GetDateYYYYMMDD(std::string_view fecha);

// A stored "yyyy/mm/dd" date in the user's short date format.
std::string GetCustomFormatDate(std::string_view fecha);

// True when the text is a date in the user's short date format.
bool EsFechaValida(std::string_view fecha);

// ---- Bills ----

// Checks again a bill stored as incomplete (Situacion other than 0) against the rules of
// its presenter's order type: an amount other than 0; for "CSB19" a valid account, a
// reference and a name, and the drawee's address and a valid postcode when the account
// holder is another person; for "CSB58" a reference, a name and a due date, an account
// whose control digits are right, and without an account (empty or all zeros) the
// drawee's address, a valid postcode, the payer's town and province code (1 to 52). A
// valid postcode has at least 5 characters, the first two a province number 1 to 52.
// A flagged bill found valid is put back to normal (Situacion 0, active) unless it is
// locked. True when the bill is valid or was not flagged; false otherwise (also when it
// cannot be read).
bool ValidaDocumento(int idDocumento);

// A bill's concept is a page of 640 characters (8 lines of 80). Its row keeps the page
// without its trailing blanks (a page of blanks only stays as it is), so that a short
// concept takes a short row; every reader gets the whole page back.
std::string ConceptoAlmacenado(std::string_view pagina);
// The page of a stored concept, blank-padded to 640 characters; none ("" or "NULL") stays
// as it is.
std::string ConceptoCompleto(std::string_view almacenado);

// ---- Free text ----

// Free text as it is stored and shown: of two adjacent commas the first becomes a blank
// (left to right), "|" becomes the byte 0xA6; every other byte, "'" included, stays, and
// so does the length. Cleaning again changes nothing. A value bound to a statement, put
// back in its box or compared with a stored one is cleaned so.
std::string LimpiaTexto(std::string_view texto);

// The text with every "'" doubled, as it goes between the quotes of an SQL literal.
std::string DoblaComillas(std::string_view texto);

// LimpiaTexto's text with every "'" doubled: only for the inside of a quoted SQL literal
// ("O'Neil" written 'O''Neil' is stored O'Neil). A text is cut to its column before, never
// after.
std::string LimpiaTextoSQL(std::string_view texto);

// The text without the blanks at either end.
std::string Recorta(std::string_view texto);

// The texts each between single quotes, joined by ", ": "'a', 'b'".
std::string Citados(const std::vector<std::string> &textos);

// Cleans a text in place for a bank file, byte by byte with the bank's table; the length
// never changes. Accented letters become blanks: remove accents first to keep the letter.
std::string &LimpiaTextoCSB(std::string &texto);

// ---- Controls ----

// Opens a web address with the configured browser program, started without a shell with
// the address as its one argument; an empty program, "iexplore" (the settings' default) or
// one not found on the PATH leaves it to the desktop's default browser. False when
// neither could be started.
bool AbreNavegador(std::string_view programa, std::string_view direccion);

// Gives the control the focus when it exists, is visible and enabled and takes focus.
void SafeSetFocus(QWidget *control);
