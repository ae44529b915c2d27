// The index cache of the lazily painted grids: one query's rows as row texts, by number.
#include "indexcache.h"

#include "jet.h"
#include "keysfirst.h"
#include "query.h"
#include "statement.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <algorithm>

namespace vasq {
namespace {

constexpr size_t kFirstRows = 64;    // read before the fill returns: a grid's first screen
constexpr size_t kBlock = 64;        // read together when a row not yet read is asked for
constexpr size_t kReaderRows = 256;  // read by the reader per hold of the lock

Status notKeyed()
{
    return ownFailure(VASQ_ERR_STATEMENT, "Las claves de la consulta no identifican sus filas.");
}

// True when the database keeps a write-ahead log: only then does a snapshot held while
// rows are read keep no writer waiting.
bool writeAheadLog(const Connection &connection)
{
    sqlite3_stmt *statement = nullptr;
    const unsigned char *mode = nullptr;
    if (prepareOne(connection, "PRAGMA journal_mode", statement).ok() && sqlite3_step(statement) == SQLITE_ROW)
        mode = sqlite3_column_text(statement, 0);
    bool wal = mode && cp1252::equalNoCase(reinterpret_cast<const char *>(mode), "wal");
    sqlite3_finalize(statement);
    return wal;
}

} // namespace

Status IndexCache::fill(Connection &main, const IndexSource &source, std::string_view sql)
{
    clear();
    std::string translated;
    // While main's transaction has written, only main sees those rows.
    if (sqlite3_get_autocommit(main.handle()) && translateJet(sql, translated).ok()) {
        if (fillKeysFirst(source, translated))
            return {};
        clear();
    }
    Status status = vasq::readRows(main, sql, m_rows);
    if (!status.ok()) {
        clear();
        return status;
    }
    m_count = m_rows.size();
    m_read.assign(m_count, 1);
    return {};
}

bool IndexCache::fillKeysFirst(const IndexSource &source, std::string_view sql)
{
    if (!mayReadKeysFirst(sql))
        return false;
    if (!m_connection.isOpen()) {
        if (!m_connection.open(source.path, source.readOnly, source.password, nullptr,
                               Connection::kLargeCacheKiB).ok())
            return false;
        m_writeAheadLog = writeAheadLog(m_connection);
    }
    // The snapshot starts before the plan, so that the schema cannot change in between.
    if (!m_writeAheadLog || !m_connection.run("BEGIN").ok())
        return false;
    m_snapshot = true;
    KeysFirst plan;
    if (!m_connection.run("SELECT count(*) FROM sqlite_master").ok() || !planKeysFirst(m_connection, sql, plan))
        return false;
    m_keyColumn = plan.keyColumn;
    if (!readKeys(plan.keys).ok() || !prepareOne(m_connection, plan.fetch, m_fetch).ok() ||
        !prepareOne(m_connection, plan.rows, m_all).ok())
        return false;
    m_count = m_keys.size();
    m_rows.resize(m_count);
    m_read.assign(m_count, 0);
    m_unread = m_count;
    if (!readRange(0, std::min(m_count, kFirstRows)).ok())
        return false;
    finishIfComplete();
    if (m_unread > 0 && sqlite3_threadsafe())
        m_reader = std::thread(&IndexCache::readRest, this);
    else if (m_unread > 0)
        readRest();
    return true;
}

Status IndexCache::readKeys(const std::string &keysSql)
{
    sqlite3_stmt *statement = nullptr;
    Status status = prepareOne(m_connection, keysSql, statement);
    int rc = SQLITE_DONE;
    while (status.ok() && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (sqlite3_column_type(statement, 0) != SQLITE_INTEGER)
            status = notKeyed();
        else
            m_keys.push_back(sqlite3_column_int64(statement, 0));
    }
    if (status.ok() && rc != SQLITE_DONE)
        status = m_connection.failure(rc);
    sqlite3_finalize(statement);
    if (status.ok()) {
        m_byKey.reserve(m_keys.size());
        for (size_t n = 0; n < m_keys.size(); ++n)
            m_byKey.emplace_back(m_keys[n], n);
        std::sort(m_byKey.begin(), m_byKey.end());
        auto sameKey = [](const auto &a, const auto &b) { return a.first == b.first; };
        if (std::adjacent_find(m_byKey.begin(), m_byKey.end(), sameKey) != m_byKey.end())
            status = notKeyed();
    }
    return status;
}

Status IndexCache::readRange(size_t first, size_t last)
{
    Status status;
    for (size_t n = first; n < last && status.ok(); ++n)
        if (!m_read[n])
            status = readRow(n);
    return status;
}

Status IndexCache::readRow(size_t n)
{
    sqlite3_bind_int64(m_fetch, 1, m_keys[n]);
    Status status;
    bool found = false;
    int rc = sqlite3_step(m_fetch);
    if (rc == SQLITE_ROW) {
        keep(n, m_fetch);
        found = true;
        rc = sqlite3_step(m_fetch);
    }
    if (rc != SQLITE_DONE)
        status = rc == SQLITE_ROW ? notKeyed() : m_connection.failure(rc);
    else if (!found)
        status = ownFailure(VASQ_ERR_STATEMENT, "La fila ya no est\xE1 en la consulta.");
    sqlite3_reset(m_fetch);
    return status;
}

Status IndexCache::readUnordered(size_t count)
{
    for (size_t k = 0; k < count; ++k) {
        int rc = sqlite3_step(m_all);
        if (rc != SQLITE_ROW) {
            Status status = rc == SQLITE_DONE ? Status() : m_connection.failure(rc);
            sqlite3_finalize(m_all);
            m_all = nullptr;
            return status;
        }
        long long key = sqlite3_column_int64(m_all, m_keyColumn);
        auto found = std::lower_bound(m_byKey.begin(), m_byKey.end(), std::make_pair(key, size_t(0)));
        if (found != m_byKey.end() && found->first == key && !m_read[found->second])
            keep(found->second, m_all);
    }
    return {};
}

void IndexCache::keep(size_t n, sqlite3_stmt *statement)
{
    if (!m_builder)
        m_builder.emplace(statement);
    m_rows[n] = m_builder->row(statement);
    m_read[n] = 1;
    --m_unread;
}

void IndexCache::readRest()
{
    for (size_t next = 0; !m_stop;) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_unread == 0 || !m_readerFailure.ok())
            return;
        try {
            if (m_all) {
                m_readerFailure = readUnordered(kReaderRows);
            } else { // whatever the walk did not give
                size_t last = std::min(next + kReaderRows, m_count);
                m_readerFailure = readRange(next, last);
                next = last;
            }
            finishIfComplete();
        } catch (...) { // out of memory: the rows not read yet are read when asked for
            m_readerFailure = Status{VASQ_ENGINE_ERROR_BASE + SQLITE_NOMEM, {}};
        }
    }
}

void IndexCache::finishIfComplete()
{
    if (!m_snapshot || m_unread != 0)
        return;
    sqlite3_finalize(m_fetch);
    sqlite3_finalize(m_all);
    m_fetch = nullptr;
    m_all = nullptr;
    m_connection.run("COMMIT");
    m_snapshot = false;
}

const std::string *IndexCache::row(size_t n, Status &failure)
{
    if (n >= m_count)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_read[n]) {
        failure = readRow(n);
        if (!failure.ok())
            return nullptr;
        size_t first = n - n % kBlock;
        readRange(first, std::min(first + kBlock, m_count));
        finishIfComplete();
    }
    return &m_rows[n];
}

bool IndexCache::holdsSnapshot()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_snapshot;
}

void IndexCache::stopReader()
{
    m_stop = true;
    if (m_reader.joinable())
        m_reader.join();
    m_stop = false;
}

void IndexCache::clear()
{
    stopReader();
    sqlite3_finalize(m_fetch);
    sqlite3_finalize(m_all);
    m_fetch = nullptr;
    m_all = nullptr;
    if (m_snapshot)
        m_connection.run("ROLLBACK");
    m_snapshot = false;
    m_builder.reset();
    std::vector<long long>().swap(m_keys);
    std::vector<std::pair<long long, size_t>>().swap(m_byKey);
    std::vector<std::string>().swap(m_rows);
    std::vector<char>().swap(m_read);
    m_count = 0;
    m_unread = 0;
    m_readerFailure = {};
}

void IndexCache::close()
{
    clear();
    m_connection.close();
}

} // namespace vasq
