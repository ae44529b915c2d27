// Reading a query keys first: the query cut into a query of its rows' keys, in the query's
// order, and a statement that reads one whole row by its key.
#pragma once

#include <string>
#include <string_view>

namespace vasq {

class Connection;

struct KeysFirst {
    std::string keys;  // SELECT <key> FROM ... WHERE ... ORDER BY ...
    std::string fetch; // SELECT <the query's columns> FROM ... WHERE (...) AND <key>=?
    std::string rows;  // the query without its ORDER BY: every row, in no given order
    int keyColumn = 0; // the key's column in the query's rows
};

// Cuts sql, a translated query (SQLite's dialect, Windows-1252), for connection. It must be one
// plain SELECT (no DISTINCT, GROUP BY, HAVING, LIMIT or compound part; no * among its
// columns; no ordering by a column's position or alias) one of whose columns, not its
// only one, is an INTEGER PRIMARY KEY, and the keys query must run on the engine's plan for sql, so that
// it gives the same rows in the same order. False when it does not qualify. The keys
// are the rows' only when they come out unique, which the caller checks.
bool planKeysFirst(const Connection &connection, std::string_view sql, KeysFirst &plan);

// The part of planKeysFirst that reads only the text: false when sql cannot qualify.
bool mayReadKeysFirst(std::string_view sql);

} // namespace vasq
