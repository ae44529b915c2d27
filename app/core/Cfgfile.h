// SQL helper queries over the logged SQL layer, with one shared value list.
//
// The helpers share their SQL text and lists: read a result before calling any of them
// again, and do not call one from inside another's query. Main thread only. Formats come
// from the program; free text goes in as an argument, cleaned with LimpiaTextoSQL first.
// Texts are Windows-1252.
#pragma once

#include "b_astr.h"

#include <cstdarg>
#include <initializer_list>
#include <string>
#include <string_view>

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
