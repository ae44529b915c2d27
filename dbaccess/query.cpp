// Queries: the whole result of a read-only statement as row texts, for streaming to a
// callback and for the index cache.
#include "query.h"

#include "database.h"
#include "rowtext.h"
#include "statement.h"
#include "vasqdb.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace vasq {

namespace {

// Steps a query's statement (with step, which returns SQLite's result) and hands each row
// to add, with the builder of its texts.
template <typename Step, typename Add>
Status eachRow(Connection &connection, sqlite3_stmt *statement, Step step, Add add)
{
    if (!sqlite3_stmt_readonly(statement) || sqlite3_column_count(statement) == 0)
        return ownFailure(VASQ_ERR_STATEMENT, "La sentencia no es una consulta.");
    // Columns are read after the first step: a kept statement is prepared again there
    // when the schema changed since its last use.
    std::optional<RowTextBuilder> builder;
    int rc;
    while ((rc = step()) == SQLITE_ROW) {
        if (!builder)
            builder.emplace(statement);
        add(*builder, statement);
    }
    return rc == SQLITE_DONE ? Status() : connection.failure(rc);
}

// Runs query sql and hands each row to add.
template <typename Add>
Status eachRow(Connection &connection, std::string_view sql, Add add)
{
    Statement statement(connection);
    Status status = statement.prepare(sql);
    if (!status.ok())
        return status;
    return eachRow(connection, statement.handle(), [&statement] { return statement.step(); }, add);
}

} // namespace

Status readRows(Connection &connection, std::string_view sql, std::vector<std::string> &rows)
{
    return eachRow(connection, sql, [&](const RowTextBuilder &builder, sqlite3_stmt *statement) {
        rows.push_back(builder.row(statement));
    });
}

Status readRows(Connection &connection, std::string_view sql, RowTexts &rows)
{
    return eachRow(connection, sql, [&](const RowTextBuilder &builder, sqlite3_stmt *statement) {
        rows.add(builder, statement);
    });
}

Status readRows(Connection &connection, sqlite3_stmt *statement, RowTexts &rows)
{
    return eachRow(connection, statement, [statement] { return sqlite3_step(statement); },
                   [&](const RowTextBuilder &builder, sqlite3_stmt *) { rows.add(builder, statement); });
}

void RowTexts::add(const RowTextBuilder &builder, sqlite3_stmt *statement)
{
    m_scratch.clear();
    builder.appendRow(m_scratch, statement);
    const size_t length = m_scratch.size() + 1;
    if (m_blocks.empty() || length > m_capacity - m_used) {
        m_capacity = std::max(kBlock, length);
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_capacity));
        m_used = 0;
    }
    char *text = m_blocks.back().get() + m_used;
    std::memcpy(text, m_scratch.c_str(), length);
    m_used += length;
    m_rows.push_back(text);
}

void deliver(RowTexts &rows, GetDataCallback callback)
{
    int count = int(rows.size());
    char keepGoing = 1;
    for (size_t i = 0; i < rows.size() && keepGoing; ++i)
        callback(rows.row(i), &keepGoing, count);
}

} // namespace vasq

using namespace vasq;

namespace {

Status queryArgument(const char *sql)
{
    return sql ? Status() : ownFailure(VASQ_ERR_ARGUMENT, "Falta la consulta SQL.");
}

// Row row of the index cache, or null when there is none; a row that cannot be read is
// traced after label.
const std::string *indexRow(int row, const char *label)
{
    State &s = state();
    if (!s.opened() || row < 0)
        return nullptr;
    Status failure;
    const std::string *text = s.index.row(size_t(row), failure);
    if (!failure.ok())
        s.trace.write(1, label, failure.text);
    return text;
}

} // namespace

extern "C" {

int VASQ_GetData(const char *sql, GetDataCallback callback)
{
    const char *label = "[vasqdb::VASQ_GetData() ]";
    return guarded(label, [&] {
        State &s = state();
        Status status = queryArgument(sql);
        if (status.ok() && !callback)
            status = ownFailure(VASQ_ERR_ARGUMENT, "Falta la funci\xF3n que recibe las filas.");
        if (!status.ok())
            return fail(label, 1, status);
        if (!s.opened())
            return refuse(label);
        RowTexts rows;
        status = readRows(s.main, sql, rows);
        if (!status.ok())
            return fail("[vasqdb::VASQ_GetData: ] ", 1, status);
        deliver(rows, callback);
        return 0;
    });
}

int C_InicIndexData(const char *sql, int *count)
{
    const char *label = "[vasqdb::C_InicIndexData() ]";
    State &s = state();
    s.index.clear();
    if (count)
        *count = 0;
    int result = guarded(label, [&] {
        Status status = queryArgument(sql);
        if (!status.ok())
            return fail(label, 1, status);
        if (!s.opened())
            return refuse(label);
        status = s.index.fill(s.main, {s.path, s.readOnly, s.password}, sql);
        return status.ok() ? 0 : fail("[vasqdb::VASQ_GetData: ] ", 1, status);
    });
    if (result != 0)
        s.index.clear();
    else if (count)
        *count = int(s.index.count());
    return result;
}

int C_IndexData(int row, char *buffer)
{
    return guarded(nullptr, [&] {
        const std::string *text = buffer ? indexRow(row, "[vasqdb::C_IndexData: ]") : nullptr;
        if (!text)
            return 1;
        std::memcpy(buffer, text->c_str(), text->size() + 1);
        return 0;
    });
}

int C_IndexDataSize(int row, char *buffer, int size)
{
    const char *label = "[vasqdb::C_IndexData: ]";
    return guarded(label, [&] {
        if (!buffer || size < 1)
            return fail(label, 1,
                        ownFailure(VASQ_ERR_ARGUMENT, "El b\xFA" "fer de la fila no tiene tama\xF1o."));
        const std::string *text = indexRow(row, label);
        if (!text)
            return 1;
        size_t n = std::min(text->size(), size_t(size) - 1);
        std::memcpy(buffer, text->data(), n);
        buffer[n] = '\0';
        if (n < text->size())
            return fail(label, 1,
                        ownFailure(VASQ_ERR_ARGUMENT, "La fila no cabe en el b\xFA" "fer: necesita " +
                                                          std::to_string(text->size() + 1) + " bytes."));
        return 0;
    });
}

int C_EndIndexData(void)
{
    state().index.clear();
    return 0;
}

int C_RefreshIndexData(void)
{
    return 0;
}

int VASQ_Escape(char *text)
{
    escape(text);
    return state().error.code();
}

int VASQ_Unescape(char *text)
{
    unescape(text);
    return state().error.code();
}

} // extern "C"
