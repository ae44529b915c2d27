// Statements the program prepares once and runs many times with other values: the bulk
// writers' road, kept by handle until finalized or until the database closes.
#pragma once

#include "lasterror.h"

#include <map>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace vasq {

class Connection;
struct RowTexts;

class PreparedStatements {
public:
    PreparedStatements() = default;
    ~PreparedStatements() { clear(); }
    PreparedStatements(const PreparedStatements &) = delete;
    PreparedStatements &operator=(const PreparedStatements &) = delete;

    // Translates sql (Jet dialect, Windows-1252, "?" for each value) and prepares it on
    // connection; handle receives its number, never handed out before in this process.
    Status prepare(Connection &connection, std::string_view sql, int &handle);

    // Binds value number index (from 1) of the statement: a null text binds NULL.
    Status bindText(int handle, int index, const char *text);
    Status bindInteger(int handle, int index, long long value);

    // Runs the statement to its end with the values bound and makes it ready to run again
    // with them; *changes as for Connection::execute.
    Status step(int handle, int *changes);
    // Runs the statement as a query: its row texts into rows.
    Status query(int handle, RowTexts &rows);

    Status finalize(int handle);
    // Finalizes every statement; their handles are known no more.
    void clear();

private:
    struct Entry {
        Connection *connection;
        sqlite3_stmt *statement;
    };

    Entry *find(int handle);
    Status bound(const Entry &entry, int rc) const;

    std::map<int, Entry> m_entries;
    int m_last = 0;
};

} // namespace vasq
