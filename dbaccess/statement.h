// A prepared statement of the program's SQL. Statements that differ only in their values
// share one prepared statement, which the connection keeps between uses: the object takes
// it with its values bound and hands it back reset at its end, or finalizes it after an
// engine failure. A statement ends before its connection closes.
#pragma once

#include "lasterror.h"
#include "statementcache.h"

#include <string_view>

struct sqlite3_stmt;

namespace vasq {

class Connection;

// Prepares text (SQLite's dialect, Windows-1252) on connection as one statement, which
// the caller finalizes.
Status prepareOne(const Connection &connection, std::string_view text, sqlite3_stmt *&statement);

class Statement {
public:
    explicit Statement(Connection &connection) : m_connection(connection) {}
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Translates sql (Jet dialect, Windows-1252) and prepares it as UTF-8, or takes the
    // prepared statement of its shape and binds its values. Refuses a text that holds
    // more than one statement.
    Status prepare(std::string_view sql);

    sqlite3_stmt *handle() const { return m_statement; }
    // SQLite's result of one step; a failure keeps the statement from being used again.
    int step();
    // True for a query or a change of rows; any other statement may change the schema.
    bool changesRowsOnly() const { return m_reusable; }

private:
    Status bindValues();
    void release();

    Connection &m_connection;
    sqlite3_stmt *m_statement = nullptr;
    StatementCache::Entry *m_entry = nullptr; // the cache's entry, null when not kept
    bool m_reusable = false;
    bool m_failed = false;
};

} // namespace vasq
