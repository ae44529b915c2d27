// One SQLite connection to the database file: opened keyed, probed and configured alike
// for every use (main, second, maintenance), closed with its object; with the program's
// nested transactions.
#pragma once

#include "lasterror.h"
#include "shape.h"
#include "statementcache.h"

#include <chrono>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vasq {

class Connection {
public:
    // How many prepared statements a connection keeps.
    static constexpr size_t kKeptStatements = 64;
    // Page cache sizes, in KiB, each a fixed cap: the main connection's and the index
    // cache's hold a batch of 100,000 bills with its drawees (sorts of that size stay in
    // memory too); the others run small statements.
    static constexpr int kLargeCacheKiB = 64 * 1024;
    static constexpr int kSmallCacheKiB = 2 * 1024;

    Connection() = default;
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens the existing file at path (Windows-1252), keyed with password (none when it is
    // empty), reads it once so that a wrong password fails here, and sets the busy
    // timeout, the collation, the page cache and, read-write, the WAL journal. With vfs,
    // the file is opened through that VFS and ATTACH takes URIs (see fileUri). On failure
    // nothing stays open.
    Status open(const std::string &path, bool readOnly, const std::string &password, const char *vfs = nullptr,
                int cacheKiB = kSmallCacheKiB);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs one statement of the program (Jet dialect, Windows-1252); *changes (when not
    // null) receives the rows it inserted, changed or deleted. Inside a transaction, the
    // first statement that writes starts it in the engine (see begin).
    Status execute(std::string_view sql, int *changes);
    // Called before statement (prepared on this connection) runs: inside a transaction,
    // the first statement that writes starts it in the engine (see begin).
    Status beforeStep(sqlite3_stmt *statement);
    // Runs the library's own SQL (UTF-8, any number of statements), ignoring rows.
    Status run(const char *sql);

    // Nested transactions. Until its first write a transaction holds nothing: reads see
    // the latest data, as outside one (never a snapshot that a later write would find
    // stale). The first write takes the database's write lock, waiting for other writers
    // up to the busy timeout, and keeps it until the outermost commit or rollback. A
    // nested commit folds into the enclosing transaction; a nested rollback undoes only
    // its own part.
    Status begin();
    Status commit() { return finish(true); }
    Status rollback() { return finish(false); }

    Status failure(int rc) const { return engineFailure(m_db, rc); }

    // The prepared statements kept between uses, and the shape a statement is built in
    // while it is prepared.
    StatementCache &statements() { return m_statements; }
    Shape &shape() { return m_shape; }
    // True while a transaction has written and not ended: the connection holds the
    // database's only write lock.
    bool holdsWriteLock() const { return m_started; }

private:
    // Opens as open does, an encrypted file read in pages of pageSize bytes; on failure
    // the caller closes.
    Status openPaged(const std::string &path, bool readOnly, const std::string &password, const char *vfs,
                     int pageSize);
    // Ends the innermost transaction, keeping or undoing its writes.
    Status finish(bool keep);
    Status startWriting();
    // True, after closing the books, when the engine ended a started transaction itself.
    bool transactionLost();

    sqlite3 *m_db = nullptr;
    std::chrono::steady_clock::time_point m_busySince; // when the engine began to wait
    StatementCache m_statements{kKeptStatements};
    Shape m_shape;
    int m_levels = 0;       // open transactions, outermost included
    bool m_started = false; // the engine's transaction is running
};

} // namespace vasq
