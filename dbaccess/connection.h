// One SQLite connection to the database file: opened keyed, probed and configured alike
// for every use (main, second, maintenance), closed with its object.
#pragma once

#include "lasterror.h"

#include <string>
#include <string_view>

struct sqlite3;

namespace vasq {

class Connection {
public:
    Connection() = default;
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the existing file at path (Windows-1252), keyed with password (none when it is
    // empty), reads it once so that a wrong password fails here, and sets the busy
    // timeout, the collation and, read-write, the WAL journal. On failure nothing stays
    // open.
    Status open(const std::string &path, bool readOnly, const std::string &password);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs one statement of the program (Jet dialect, Windows-1252); *changes (when not
    // null) receives the rows it inserted, changed or deleted.
    Status execute(std::string_view sql, int *changes);
    // Runs the library's own SQL (UTF-8, any number of statements), ignoring rows.
    Status run(const char *sql);

    Status failure(int rc) const { return engineFailure(m_db, rc); }
    // True while a transaction of this connection has written and not ended: the
    // connection holds the database's only write lock.
    bool holdsWriteLock() const;

private:
    void noteStatement(bool wrote);

    sqlite3 *m_db = nullptr;
    bool m_wrote = false;
};

} // namespace vasq
