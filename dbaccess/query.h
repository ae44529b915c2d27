// Queries: the whole result of a read-only statement as row texts, for streaming to a
// callback and for the index cache.
#pragma once

#include "connection.h"
#include "lasterror.h"
#include "vasqdb.h"

#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace vasq {

// The row texts of a whole result in one text, each ended by a NUL.
struct RowTexts {
    std::string text;
    std::vector<size_t> starts; // of each row in text
};

// Appends the row texts of query sql (Jet dialect, Windows-1252) to rows. Refuses with
// VASQ_ERR_STATEMENT a statement that could write or gives no columns.
Status readRows(Connection &connection, std::string_view sql, std::vector<std::string> &rows);
Status readRows(Connection &connection, std::string_view sql, RowTexts &rows);
// The same for a statement prepared on connection, stepped from where it stands.
Status readRows(Connection &connection, sqlite3_stmt *statement, RowTexts &rows);

// Calls callback once per row, in order, until it asks to stop (see VASQ_GetData).
void deliver(RowTexts &rows, GetDataCallback callback);

} // namespace vasq
