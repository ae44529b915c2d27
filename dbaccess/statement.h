// A prepared statement of the program's SQL, finalized with its object.
#pragma once

#include "lasterror.h"

#include <string_view>

struct sqlite3_stmt;

namespace vasq {

class Connection;

class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Translates sql (Jet dialect, Windows-1252) and prepares it on connection as UTF-8.
    // Refuses a text that holds more than one statement.
    Status prepare(const Connection &connection, std::string_view sql);

    sqlite3_stmt *handle() const { return m_statement; }
    // SQLite's result of one step.
    int step();
    // True when the statement cannot change the database.
    bool readOnly() const;

private:
    sqlite3_stmt *m_statement = nullptr;
};

} // namespace vasq
