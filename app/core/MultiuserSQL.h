// The unlogged database calls of the multi-user coordination: queries through vasqdb's
// direct query call and statements on its second connection, outside any transaction,
// neither logged nor counted as user activity. Failures leave nothing in vasqdb's last
// error. Texts are Windows-1252.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace multiusersql {

// The row texts of a query; false (and no rows) when it failed.
bool Consulta(const std::string &sql, std::vector<std::string> &filas);

// The first row of a query, the empty text when it has none; false (and the empty text)
// when it failed. Nothing of an earlier query is left in it.
bool PrimeraFila(const std::string &sql, std::string &fila);

// Runs a statement on the second connection: the rows it changed, -1 when it failed.
int Ejecuta(const std::string &sql);

// The whole text as a decimal integer (an optional "-" and digits), else defecto.
int Entero(std::string_view texto, int defecto);

// The field of a row text as Entero reads it: defecto when absent, "NULL" or no number.
int Numero(std::string_view fila, std::string_view campo, int defecto);

} // namespace multiusersql
