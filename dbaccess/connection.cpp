// One SQLite connection to the database file: opened keyed, probed and configured alike
// for every use (main, second, maintenance), closed with its object.
#include "connection.h"

#include "collation.h"
#include "statement.h"

#include <cp1252.h>
#include <sqlite3.h>

namespace vasq {
namespace {

// How long a statement waits for another running copy's write to end.
constexpr int kBusyTimeoutMs = 5000;

} // namespace

Status Connection::open(const std::string &path, bool readOnly, const std::string &password)
{
    close();
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(cp1252::fileName(path).c_str(), &m_db, flags, nullptr);
    Status status;
    if (rc != SQLITE_OK) {
        status = failure(rc);
    } else {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        std::string key = cp1252::toUtf8(password);
        if (!key.empty() && (rc = sqlite3_key(m_db, key.data(), int(key.size()))) != SQLITE_OK)
            status = failure(rc);
        else if ((rc = registerCollation(m_db)) != SQLITE_OK)
            status = failure(rc);
        else
            status = run(readOnly ? "SELECT count(*) FROM sqlite_master"
                                  : "SELECT count(*) FROM sqlite_master; PRAGMA journal_mode=WAL");
    }
    if (!status.ok())
        close();
    return status;
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_wrote = false;
}

Status Connection::execute(std::string_view sql, int *changes)
{
    Statement statement;
    Status status = statement.prepare(*this, sql);
    if (!status.ok())
        return status;
    int before = sqlite3_total_changes(m_db);
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
    }
    noteStatement(!statement.readOnly());
    if (rc != SQLITE_DONE)
        return failure(rc);
    if (changes)
        *changes = sqlite3_total_changes(m_db) - before;
    return {};
}

Status Connection::run(const char *sql)
{
    int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    noteStatement(false);
    return rc == SQLITE_OK ? Status() : failure(rc);
}

bool Connection::holdsWriteLock() const
{
    return m_db && m_wrote && !sqlite3_get_autocommit(m_db);
}

void Connection::noteStatement(bool wrote)
{
    if (sqlite3_get_autocommit(m_db))
        m_wrote = false;
    else if (wrote)
        m_wrote = true;
}

} // namespace vasq
