// One SQLite connection to the database file: opened keyed, probed and configured alike
// for every use (main, second, maintenance), closed with its object; with the program's
// nested transactions.
#include "connection.h"

#include "cipherkey.h"
#include "collation.h"
#include "statement.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <thread>

namespace vasq {
namespace {

// How long a statement waits for another running copy's write to end.
constexpr int kBusyTimeoutMs = 5000;

// The step of that wait. A copy that writes one short transaction after another frees
// the lock only for a moment between two of them: the engine's own waits, growing to
// 100 ms, would almost never meet that moment and the waiting copy would wait for the
// writer to stop; a step this short meets it within a few of its transactions.
constexpr auto kBusyStep = std::chrono::microseconds(100);

// The engine's busy handler: another try after a short step, until the busy timeout.
int waitBusy(void *start, int tries)
{
    using Clock = std::chrono::steady_clock;
    auto &since = *static_cast<Clock::time_point *>(start);
    if (tries == 0)
        since = Clock::now();
    if (Clock::now() - since >= std::chrono::milliseconds(kBusyTimeoutMs))
        return 0;
    std::this_thread::sleep_for(kBusyStep);
    return 1;
}

// The page size of the encrypted files of earlier builds.
constexpr int kEarlierPageSize = 1024;

// Savepoint of every nested transaction.
constexpr const char *kSavepoint = "SAVEPOINT vasq_trans";

} // namespace

Status Connection::open(const std::string &path, bool readOnly, const std::string &password, const char *vfs,
                        int cacheKiB)
{
    Status status = openPaged(path, readOnly, password, vfs, VASQ_PAGE_SIZE);
    // A file of an earlier build is kept in pages of the engine's former default size.
    if (status.code == VASQ_ENGINE_ERROR_BASE + SQLITE_NOTADB && !password.empty())
        status = openPaged(path, readOnly, password, vfs, kEarlierPageSize);
    if (status.ok())
        status = run(("PRAGMA cache_size=-" + std::to_string(cacheKiB)).c_str());
    if (!status.ok())
        close();
    return status;
}

Status Connection::openPaged(const std::string &path, bool readOnly, const std::string &password, const char *vfs,
                             int pageSize)
{
    close();
    // No thread ever uses a connection while another does: the engine need not lock it
    // for each call.
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX |
                (vfs ? SQLITE_OPEN_URI : 0);
    int rc = sqlite3_open_v2(cp1252::fileName(path).c_str(), &m_db, flags, vfs);
    if (rc != SQLITE_OK)
        return failure(rc);
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, waitBusy, &m_busySince);
    const std::string key = engineKey(m_db, password);
    if (!key.empty()) {
        if ((rc = sqlite3_key(m_db, key.data(), int(key.size()))) != SQLITE_OK)
            return failure(rc);
        Status status = run(("PRAGMA cipher_page_size=" + std::to_string(pageSize)).c_str());
        if (!status.ok())
            return status;
    }
    if ((rc = registerCollation(m_db)) != SQLITE_OK)
        return failure(rc);
    return run(readOnly ? "SELECT count(*) FROM sqlite_master"
                        : "SELECT count(*) FROM sqlite_master; PRAGMA journal_mode=WAL");
}

void Connection::close()
{
    m_statements.clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_levels = 0;
    m_started = false;
}

Status Connection::execute(std::string_view sql, int *changes)
{
    Statement statement(*this);
    Status status = statement.prepare(sql);
    if (!status.ok())
        return status;
    status = beforeStep(statement.handle());
    if (!status.ok())
        return status;
    int before = sqlite3_total_changes(m_db);
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        return failure(rc);
    if (!statement.changesRowsOnly())
        m_statements.clear(); // the schema may have changed
    if (changes)
        *changes = sqlite3_total_changes(m_db) - before;
    return {};
}

Status Connection::beforeStep(sqlite3_stmt *statement)
{
    return m_levels > 0 && !m_started && !sqlite3_stmt_readonly(statement) ? startWriting() : Status();
}

Status Connection::run(const char *sql)
{
    int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? Status() : failure(rc);
}

Status Connection::begin()
{
    if (m_started) {
        Status status = run(kSavepoint);
        if (!status.ok())
            return status;
    }
    ++m_levels;
    return {};
}

Status Connection::finish(bool keep)
{
    if (transactionLost())
        return keep ? ownFailure(VASQ_ERR_STATEMENT, "La transacci\xF3n se deshizo tras un error anterior.")
                    : Status();
    if (m_levels == 0)
        return ownFailure(VASQ_ERR_STATEMENT, "No hay ninguna transacci\xF3n abierta.");
    if (m_started) {
        const char *outermost = keep ? "COMMIT" : "ROLLBACK";
        const char *nested = keep ? "RELEASE vasq_trans" : "ROLLBACK TO vasq_trans; RELEASE vasq_trans";
        Status status = run(m_levels == 1 ? outermost : nested);
        if (!status.ok())
            return status;
    }
    --m_levels;
    m_started = m_started && m_levels > 0;
    return {};
}

Status Connection::startWriting()
{
    Status status = run("BEGIN IMMEDIATE");
    for (int level = 1; status.ok() && level < m_levels; ++level)
        status = run(kSavepoint);
    if (!status.ok()) {
        if (!sqlite3_get_autocommit(m_db))
            run("ROLLBACK");
        return status;
    }
    m_started = true;
    return {};
}

bool Connection::transactionLost()
{
    if (!m_started || !sqlite3_get_autocommit(m_db))
        return false;
    m_started = false;
    m_levels = 0;
    return true;
}

} // namespace vasq
