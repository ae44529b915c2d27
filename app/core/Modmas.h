// Row-text fields and small in-place text helpers.
//
// A row text is one database row as name=value pairs joined by "&" (an "&" or "=" inside a
// name or value travels as the byte 0x01 or 0x02; a null value reads "NULL"). Texts are
// Windows-1252.
#pragma once

#include <string>
#include <string_view>

// The value of the first "<nombre>=" in the row, up to the next separator or the end: the
// match need not begin a pair, so a table-qualified column ("Documentos().Id_librado") is
// also found by its bare name, and the first of two equal names wins. Empty when absent;
// "NULL" and escapes are kept. The whole row is read: nothing is cut.
std::string GetCampo(std::string_view nombre, std::string_view fila, char separador = '&');

// GetCampo with the escapes undone: 0x01 reads "&" and 0x02 reads "=" again. For values
// shown or compared as the user typed them.
std::string GetCampoTexto(std::string_view nombre, std::string_view fila, char separador = '&');

// Replaces the value of the first "<nombre>=" in the row (up to the next separator or the
// end), or appends "<separador><nombre>=<valor>" when the name is absent.
// The leading decimal number of a text (a key or a count read from a row text); 0 when it
// starts with none.
int Numero(std::string_view texto);

void SetCampo(std::string &fila, std::string_view nombre, std::string_view valor, char separador = '&');

// Every "de" becomes "a": in a C text up to its end (a null pointer is left alone), and in
// a string over its whole length, embedded NULs included.
void CambiaCaracter(char *texto, char de, char a);
void CambiaCaracterLen(std::string &texto, char de, char a);

// Removes every occurrence of the character; of every blank.
std::string &QuitaCaracter(std::string &texto, char c);
std::string &QuitaBlancos(std::string &texto);

// The vowels with an acute accent become plain ones (a e i o u, A E I O U); every other
// byte, the tilde-n and the diaeresis included, stays.
std::string &QuitaAcentos(std::string &texto);
