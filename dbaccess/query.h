// Queries: the whole result of a read-only statement as row texts, for streaming to a
// callback and for the index cache.
#pragma once

#include "connection.h"
#include "lasterror.h"

#include <string>
#include <string_view>
#include <vector>

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

} // namespace vasq
