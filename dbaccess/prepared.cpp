// Statements prepared once by handle, and the exports that reach them.
#include "prepared.h"

#include "connection.h"
#include "database.h"
#include "jet.h"
#include "query.h"
#include "statement.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

namespace vasq {

Status PreparedStatements::prepare(Connection &connection, std::string_view sql, int &handle)
{
    handle = 0;
    std::string translated;
    Status status = translateJet(sql, translated);
    sqlite3_stmt *statement = nullptr;
    if (status.ok())
        status = prepareOne(connection, translated, statement);
    if (!status.ok())
        return status;
    handle = ++m_last;
    m_entries.emplace(handle, Entry{&connection, statement});
    return {};
}

PreparedStatements::Entry *PreparedStatements::find(int handle)
{
    auto it = m_entries.find(handle);
    return it == m_entries.end() ? nullptr : &it->second;
}

Status PreparedStatements::bound(const Entry &entry, int rc) const
{
    if (rc == SQLITE_RANGE)
        return ownFailure(VASQ_ERR_ARGUMENT, "La sentencia no tiene ese valor.");
    return rc == SQLITE_OK ? Status() : entry.connection->failure(rc);
}

namespace {

Status unknown()
{
    return ownFailure(VASQ_ERR_ARGUMENT, "No existe esa sentencia preparada.");
}

} // namespace

Status PreparedStatements::bindText(int handle, int index, const char *text)
{
    Entry *entry = find(handle);
    if (!entry)
        return unknown();
    if (!text)
        return bound(*entry, sqlite3_bind_null(entry->statement, index));
    // Plain ASCII is its own UTF-8.
    const char *p = text;
    while (*p > 0)
        ++p;
    if (!*p)
        return bound(*entry, sqlite3_bind_text(entry->statement, index, text, int(p - text), SQLITE_TRANSIENT));
    std::string utf8 = cp1252::toUtf8(text);
    return bound(*entry, sqlite3_bind_text(entry->statement, index, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT));
}

Status PreparedStatements::bindInteger(int handle, int index, long long value)
{
    Entry *entry = find(handle);
    return entry ? bound(*entry, sqlite3_bind_int64(entry->statement, index, value)) : unknown();
}

Status PreparedStatements::step(int handle, int *changes)
{
    Entry *entry = find(handle);
    if (!entry)
        return unknown();
    Connection &connection = *entry->connection;
    Status status = connection.beforeStep(entry->statement);
    if (!status.ok())
        return status;
    sqlite3 *db = connection.handle();
    int before = sqlite3_total_changes(db);
    int rc;
    while ((rc = sqlite3_step(entry->statement)) == SQLITE_ROW) {
    }
    if (rc == SQLITE_DONE && changes)
        *changes = sqlite3_total_changes(db) - before;
    status = rc == SQLITE_DONE ? Status() : connection.failure(rc);
    sqlite3_reset(entry->statement);
    return status;
}

Status PreparedStatements::query(int handle, RowTexts &rows)
{
    Entry *entry = find(handle);
    if (!entry)
        return unknown();
    Status status = readRows(*entry->connection, entry->statement, rows);
    sqlite3_reset(entry->statement);
    return status;
}

Status PreparedStatements::finalize(int handle)
{
    auto it = m_entries.find(handle);
    if (it == m_entries.end())
        return unknown();
    sqlite3_finalize(it->second.statement);
    m_entries.erase(it);
    return {};
}

void PreparedStatements::clear()
{
    for (auto &[handle, entry] : m_entries)
        sqlite3_finalize(entry.statement);
    m_entries.clear();
}

} // namespace vasq

using namespace vasq;

namespace {

// Runs an export on the prepared statements of the open database; its failure is
// recorded and traced after label.
template <typename Body>
int onPrepared(const char *label, Body body)
{
    return guarded(label, [&] {
        State &s = state();
        if (!s.opened())
            return refuse(label);
        Status status = body(s);
        return status.ok() ? 0 : fail(label, 1, status);
    });
}

} // namespace

extern "C" {

int VASQ_Prepare(const char *sql, int *statement)
{
    if (statement)
        *statement = 0;
    const char *label = "[vasqdb::VASQ_Prepare() ]";
    return onPrepared(label, [&](State &s) {
        if (!sql || !statement)
            return ownFailure(VASQ_ERR_ARGUMENT, "Falta la sentencia SQL o d\xF3nde dejarla.");
        return s.prepared.prepare(s.main, sql, *statement);
    });
}

int VASQ_BindText(int statement, int index, const char *text)
{
    return onPrepared("[vasqdb::VASQ_BindText() ]",
                      [&](State &s) { return s.prepared.bindText(statement, index, text); });
}

int VASQ_BindInteger(int statement, int index, long long value)
{
    return onPrepared("[vasqdb::VASQ_BindInteger() ]",
                      [&](State &s) { return s.prepared.bindInteger(statement, index, value); });
}

int VASQ_Step(int statement, int *rows)
{
    if (rows)
        *rows = 0;
    return onPrepared("[vasqdb::VASQ_Step() ]", [&](State &s) { return s.prepared.step(statement, rows); });
}

int VASQ_StepQuery(int statement, GetDataCallback callback)
{
    return onPrepared("[vasqdb::VASQ_StepQuery() ]", [&](State &s) {
        if (!callback)
            return ownFailure(VASQ_ERR_ARGUMENT, "Falta la funci\xF3n que recibe las filas.");
        RowTexts rows;
        Status status = s.prepared.query(statement, rows);
        if (status.ok())
            deliver(rows, callback);
        return status;
    });
}

int VASQ_Finalize(int statement)
{
    return onPrepared("[vasqdb::VASQ_Finalize() ]", [&](State &s) { return s.prepared.finalize(statement); });
}

} // extern "C"
