// Queries: the whole result of a read-only statement as row texts, for streaming to a
// callback and for the index cache.
#pragma once

#include "connection.h"
#include "lasterror.h"
#include "vasqdb.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace vasq {

class RowTextBuilder;

// The row texts of a whole result, each ended by a NUL, kept in blocks that never move once
// written: a large result grows without being copied again and again.
class RowTexts {
public:
    // Adds the row text of the statement's current row.
    void add(const RowTextBuilder &builder, sqlite3_stmt *statement);
    size_t size() const { return m_rows.size(); }
    char *row(size_t i) const { return m_rows[i]; }

private:
    static constexpr size_t kBlock = 1 << 20;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_capacity = 0, m_used = 0; // of the last block
    std::vector<char *> m_rows;
    std::string m_scratch; // the row being built
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
