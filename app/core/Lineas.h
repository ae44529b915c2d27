// Line layouts: fixed-position text files whose kinds of line are told apart by an id text
// at a fixed column, described by an ini-style layout file, and the one line cutter that
// every file import uses.
//
// Layout file: section LINEAS holds one key per line type, its value "id,column,length";
// a section named after each type holds one key per field, its value
// "column,length,type[,user data]" (without a fourth part the user data is the type).
// Values are split at commas and read up to their first empty part; what is not read keeps
// 0 or the empty text. Columns are 1-based. A section or key that is missing, or whose value
// begins with "Error!!", ends the reading there.
//
// Texts are Windows-1252. Nothing here reads outside a line: a column below 1 cuts nothing
// and a negative length counts as 0. A line is read with every byte 0x00 as a blank, so
// that no text cut from it ends early.
#pragma once

#include "cp1252.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One field of a line type; on a cut line, data holds its text.
struct FieldDef {
    std::string name;
    int pos = 0;
    int length = 0;
    std::string type;
    std::optional<std::string> data; // exactly length characters; none when the line ends
                                     // before pos, and in a layout
    std::string user_data;
    int status = 0;
};

// One line type of a layout, or one cut line of a data file (line_number from 1).
struct LineDef {
    std::string name;
    std::string id;
    int pos = 0;
    int length = 0;
    int line_number = 0;
    std::vector<FieldDef> fields;
};

using LineDefList = std::vector<LineDef>;
using LineList = std::vector<LineDef>;

// The longest id or field a layout may describe: what a line of the imports holds.
constexpr int kMaxLinea = 4095;

// Reads the layout file into lista (emptied first). -1 when the file has no section LINEAS;
// -2, lista emptied, when an id or a field is longer than kMaxLinea (largo, when given,
// gets its name: "type" or "type.field"); else 0, also when LINEAS is empty or the reading
// stopped early (see above: a missing type section ends the reading, the types after it
// keep no fields).
int LoadLineLayout(std::string_view ruta, LineDefList &lista, std::string *largo = nullptr);

// The first line type of the layout whose id is the line's text at its column: that text,
// cut to the id's length (at most kMaxLinea) and padded with blanks on the left to it, must
// equal the id. The search stops (nothing recognised) at the first type whose column lies
// beyond the line's end. Null when no type is recognised.
const LineDef *ReconoceLinea(const LineDefList &layout, std::string_view linea);

// The line cut by its type: a copy of the type with line_number and, for each field that
// starts within the line, its text at its column cut to its length (at most kMaxLinea) and
// padded with blanks on the right to it.
LineDef CortaLinea(const LineDef &tipo, std::string_view linea, int numero);
// The same into cortada, whose room serves again: for a file's lines one after another.
void CortaLinea(const LineDef &tipo, std::string_view linea, int numero, LineDef &cortada);

// Reads a text file line by line: each physical line (any length) up to its line feed, cut
// at its first carriage return or line feed, every 0x00 in it a blank; numbered from 1,
// every line counted.
class LectorLineas {
public:
    explicit LectorLineas(std::string_view ruta);
    ~LectorLineas();
    LectorLineas(const LectorLineas &) = delete;
    LectorLineas &operator=(const LectorLineas &) = delete;

    bool Abierto() const { return m_fichero != nullptr; }
    // The next line into linea; false at the end of the file or on a read error.
    bool Lee(std::string &linea);
    // The number of the last line read.
    int Numero() const { return m_numero; }
    // The bytes read so far, line ends included.
    long long Leidos() const { return m_leidos; }
    // True when the file ended because it could not be read.
    bool Error() const;

private:
    std::FILE *m_fichero = nullptr;
    char *m_buffer = nullptr; // of getdelim, kept for the next line
    size_t m_capacidad = 0;
    int m_numero = 0;
    long long m_leidos = 0;
};

// A line of a data file as the imports read it, in place: one that is well-formed UTF-8 with
// a character of more than one byte is read as UTF-8 and turned into Windows-1252
// (cp1252::fromUtf8Nearest), so that positions count characters; any other is read as
// Windows-1252 bytes. Each line on its own: a line another program wrote in Windows-1252
// inside a UTF-8 file keeps its letters. The line's form as UTF-8 before it was read.
cp1252::Utf8Form LeeLineaDatos(std::string &linea);

// A data file's text with each of its lines ('\n' ends one) read as LeeLineaDatos reads it.
std::string TextoDatos(std::string_view texto);

// Reads the data file and appends each recognised line, cut, to lineas in file order;
// unrecognised lines are skipped. -1 when the file cannot be opened, else 0.
int ParseLayoutFile(std::string_view ruta, const LineDefList &layout, LineList &lineas);

// "name=data&" for each field in order; a field without data gives "name=&".
std::string LineFieldsToText(const LineDef &linea);

// The data (or user data) of the first field named exactly nombre; null when there is no
// such field or it has no data.
const std::string *GetFieldData(const LineDef &linea, std::string_view nombre);
const std::string *GetFieldUserData(const LineDef &linea, std::string_view nombre);

// Writes the description of a line type or cut line to the standard error stream.
void DumpLineDef(const LineDef &linea);
