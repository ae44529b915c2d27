// SQL helper queries over the logged SQL layer, with one shared value list.
//
// The helpers share their SQL text and lists: read a result before calling any of them
// again, and do not call one from inside another's query. Main thread only. Formats come
// from the program; free text goes in as an argument, cleaned with LimpiaTextoSQL first.
// Texts are Windows-1252.
#pragma once

#include "b_astr.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class Plantilla;

// The text formatted from formato and its arguments, whole (nothing is cut): the SQL of
// every helper, and of callers that run it themselves.
std::string FormatoSQL(const char *formato, ...) __attribute__((format(printf, 1, 2)));
std::string FormatoSQL(const char *formato, va_list args);

// Create and free the shared lists (start and end of the program; the first helper call
// also creates them).
void IniciaCfgfile();
void FinCfgfile();

// Runs the query formatted from formato and its arguments and, for each row, adds the
// values of the named fields in the order named to the value list (values keep their
// escapes and "NULL"; nothing is cut). With reinicia the list is emptied first, else the
// values are added after those it holds. Returns the list (its nStrs values one after the
// other in pcData, walked with B_AStrGet), or null when the query failed.
B_AStr_t *ConsultaCampos(bool reinicia, std::initializer_list<const char *> campos, const char *formato, ...)
    __attribute__((format(printf, 3, 4)));

// The largest value of a column ("SELECT MAX( [tabla].columna ) FROM [tabla]") as an
// integer: 0 for an empty table, -1 when the query failed.
int ConsultaMaximo(std::string_view tabla, std::string_view columna);

// Runs the statement formatted from formato and its arguments; the rows it changed, or -1
// when it failed.
int EjecutaSQLf(const char *formato, ...) __attribute__((format(printf, 1, 2)));

// A list of NUL-terminated texts ended by an empty one becomes one text: the NUL after
// each text becomes the byte 0xB7 ("a\0b\0\0" gives "a\xB7b\xB7"). Returns lista.
char *UneValores(char *lista);

// Every byte 0xB7 becomes NUL again, in place. Returns texto.
char *SeparaValores(char *texto);

// The ASCII letters and digits of the text.
std::string SoloAlfanumericos(std::string_view texto);

// The condition that a text column equals a text already cleaned for SQL: "columna = 'valor'",
// or, for an empty text, that the column holds none (NULL or ''), which "= ''" cannot say
// once empty values are normalised to NULL.
std::string IgualTexto(std::string_view columna, std::string_view valor);

// The condition that a suffix column holds the suffix as the bank reads it: any stored form
// of its three digits, blanks around them left out ("1", " 1", "01", "001"); a suffix
// without a bank form, trimmed, as IgualTexto. The suffix goes in as given.
std::string IgualSufijo(std::string_view columna, std::string_view sufijo);

// A code (a drawee's reference, a user's code) as builds before the apostrophe was kept
// stored it: every "'" as "`".
std::string CodigoAnterior(std::string_view codigo);

// The condition that a code column holds the code, as given or as CodigoAnterior; the code
// goes in as given (cleaned here). An empty code matches no row.
std::string IgualCodigo(std::string_view columna, std::string_view codigo);

// ---- Concept templates: [Plantillas( Datos )] (Id_plantilla, Nombre) and their items in
// [Plantillas( Elementos )] (Id_plantilla, Datos), read back in the order stored. An item's
// Datos is its variable set's text form with the byte 0xB7 after every entry (UneValores).

// The ids of every stored template.
std::vector<int> CargaIdsPlantillas();

// The template's stored name; nothing when there is no such template or the query failed.
std::optional<std::string> GetNombrePlantilla(int id);

// Loads the template id into plantilla (flushed first): its id, name and items; an item
// the template refuses (type not registered, bad position, repeated identifier) is
// dropped. 0, also without items; -1 when the id is not stored (plantilla untouched).
int CargaPlantilla(Plantilla &plantilla, int id);

// Stores the template in one transaction: a new one (id -1) gets its header and its new id,
// a stored one its name; then its items replace the stored ones, in order. Name and values
// go in cleaned (LimpiaTextoSQL). Returns the id; negative, with nothing written and the id
// as it was, when a statement fails or the stored header is locked (Block) or gone.
int GuardaPlantilla(Plantilla &plantilla);

// Deletes the template and its items in one transaction: the rows of the header deleted (1);
// 0 or negative, nothing deleted, when it is not stored, locked, named by a batch or a
// statement failed.
int BorraPlantilla(int id);

// ---- Find-or-insert of users, companies, presenters and issuers. A find gives the first
// matching key, or -1 (none, or the query failed); an insert gives the new key, or a
// negative value when it failed. Texts go in cleaned (LimpiaTextoSQL); an empty text finds
// the rows that hold none, as the inserts store it. Tax ids of presenters and issuers are
// stored and found with their letters (as capitals) and digits only; suffixes are found as
// the bank reads them (IgualSufijo) and stored without the blanks around them.

int BuscaUsuarioCodigo(std::string_view codigo);
// 0 (not negative) when the INSERT fails. A null password stores the empty one.
int AltaUsuario(std::string_view codigo, const char *password, std::string_view nombre);
int BuscaEmpresaCif(int idUsuario, std::string_view cif);
int AltaEmpresa(int idUsuario, std::string_view cif, std::string_view nombre, std::string_view cuenta = {});
int BuscaPresentadorNif(int idEmpresa, std::string_view nif, std::string_view sufijo, std::string_view orden);
// Clave_presentador is the cleaned tax id followed by the suffix.
int AltaPresentador(int idEmpresa, std::string_view nif, std::string_view orden, std::string_view sufijo,
                    std::string_view nombre);
// An issuer is the same when its presenter and both accounts are.
int BuscaEmisorCuentas(int idPresentador, std::string_view abono, std::string_view cargo);
// An issuer is the same when its presenter, tax id and suffix are (the sequential import).
int BuscaEmisorNif(int idPresentador, std::string_view nif, std::string_view sufijo);
int AltaEmisor(int idPresentador, std::string_view nif, std::string_view sufijo, std::string_view nombre,
               std::string_view abono, std::string_view cargo, std::string_view descripcion, std::string_view alias,
               std::string_view nie = {});

// ---- The bank's users file: one record a line, 272 characters at fixed positions ----

// A line as read, every field cut at its width and stripped of trailing blanks; the two
// accounts built as 20 characters (bank, branch, control digits, "0" and the nine of the
// file).
struct STRRegistroUsuario {
    std::string Cod_usuario, Cod_segundo, Nombre_usuario, Cif, Nombre_empresa, Cuenta_cargo, Desc_cuenta, Alias,
        Cuenta_abono, Nif_emisor, Sufijo_emisor, Nombre_emisor, Nif_presentador, Sufijo_presentador,
        Nombre_presentador;
};

// Copies the next ancho characters (fewer at the end of the text) into destino without
// their trailing blanks; the cursor after them, or null when the text is exhausted or the
// cursor is null.
const char *CortaCampo(const char *cursor, std::string &destino, size_t ancho);

// Reads the next line (up to 2,047 characters) into registro and the order code (the two
// characters at position 97). The line's length; 1 for an empty line; 0 at the end of the
// file; -1 for a read error or a line that ends before position 97 (logged with the line).
int LeeLineaUsuario(std::FILE *fichero, STRRegistroUsuario &registro, std::string &orden);

// What an import of the users file did, by kind (0 users, 1 companies, 2 presenters, 3
// issuers), each row counted once however many lines name it: rows added, rows found as the
// file has them, and rows found with other data in the file, which stay as stored;
// Diferencias names each value of these that differs (a language text's line).
struct ResumenUsuarios {
    std::array<int, 4> Nuevos{}, Iguales{}, Distintos{};
    std::vector<std::string> Diferencias;
    std::set<std::pair<int, int>> Vistos; // (kind, key) of the rows counted
};

// Finds or stores the line's user (code without blanks around it, empty password), its
// company (by user and tax id), its presenter ("68" CSB19, "62" CSB58; none when its tax id
// or suffix is blank) and its issuer (by presenter and both accounts; none when its tax id
// or suffix is blank), counting each in resumen. The id of the last one found or stored; 0
// for another order code (nothing stored); negative when one could not be found or stored.
int ImportaRegistroUsuario(const STRRegistroUsuario &registro, const std::string &orden, ResumenUsuarios &resumen);

// Imports the file in one transaction, showing its progress: 0 when every line was
// imported; negative, with nothing stored, when the file could not be read, a line was
// too short or a record failed. resumen, when given, receives what it did.
int ImportaUsuarios(const std::string &ruta, ResumenUsuarios *resumen = nullptr);

// ImportaUsuarios with the wait cursor; a failure is shown (text 912), a success says what
// the import did (texts 964 to 971) and posts a users change notice. True on success.
bool ImportaFicheroUsuarios(const std::string &ruta);

// The file's checksum (see Crc.h), each block of 2,048 bytes counted up to its first zero
// byte; -1 when it cannot be opened.
int CRCFichero(const std::string &ruta);
