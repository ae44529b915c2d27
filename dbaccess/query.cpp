// Queries: the whole result of a read-only statement as row texts, for streaming to a
// callback and for the index cache.
#include "query.h"

#include "database.h"
#include "rowtext.h"
#include "statement.h"
#include "vasqdb.h"

#include <sqlite3.h>

#include <cstring>
#include <optional>

namespace vasq {

Status readRows(Connection &connection, std::string_view sql, std::vector<std::string> &rows)
{
    Statement statement(connection);
    Status status = statement.prepare(sql);
    if (!status.ok())
        return status;
    if (!statement.readOnly() || sqlite3_column_count(statement.handle()) == 0)
        return ownFailure(VASQ_ERR_STATEMENT, "La sentencia no es una consulta.");
    // Columns are read after the first step: a kept statement is prepared again there
    // when the schema changed since its last use.
    std::optional<RowTextBuilder> builder;
    int rc;
    while ((rc = statement.step()) == SQLITE_ROW) {
        if (!builder)
            builder.emplace(statement.handle());
        rows.push_back(builder->row(statement.handle()));
    }
    return rc == SQLITE_DONE ? Status() : connection.failure(rc);
}

} // namespace vasq

using namespace vasq;

namespace {

Status queryArgument(const char *sql)
{
    return sql ? Status() : ownFailure(VASQ_ERR_ARGUMENT, "Falta la consulta SQL.");
}

// Row row of the index cache, or null when there is none.
const std::string *indexRow(int row)
{
    State &s = state();
    if (!s.opened() || row < 0 || size_t(row) >= s.index.size())
        return nullptr;
    return &s.index[size_t(row)];
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
        std::vector<std::string> rows;
        status = readRows(s.main, sql, rows);
        if (!status.ok())
            return fail("[vasqdb::VASQ_GetData: ] ", 1, status);
        int count = int(rows.size());
        char keepGoing = 1;
        for (size_t i = 0; i < rows.size() && keepGoing; ++i)
            callback(rows[i].data(), &keepGoing, count);
        return 0;
    });
}

int C_InicIndexData(const char *sql, int *count)
{
    const char *label = "[vasqdb::C_InicIndexData() ]";
    State &s = state();
    std::vector<std::string>().swap(s.index);
    if (count)
        *count = 0;
    int result = guarded(label, [&] {
        Status status = queryArgument(sql);
        if (!status.ok())
            return fail(label, 1, status);
        if (!s.opened())
            return refuse(label);
        status = readRows(s.main, sql, s.index);
        return status.ok() ? 0 : fail("[vasqdb::VASQ_GetData: ] ", 1, status);
    });
    if (result != 0)
        std::vector<std::string>().swap(s.index);
    else if (count)
        *count = int(s.index.size());
    return result;
}

int C_IndexData(int row, char *buffer)
{
    const std::string *text = indexRow(row);
    if (!text || !buffer)
        return 1;
    std::memcpy(buffer, text->c_str(), text->size() + 1);
    return 0;
}

int C_IndexDataSize(int row, char *buffer, int size)
{
    const char *label = "[vasqdb::C_IndexData: ]";
    return guarded(label, [&] {
        if (!buffer || size < 1)
            return fail(label, 1,
                        ownFailure(VASQ_ERR_ARGUMENT, "El b\xFA" "fer de la fila no tiene tama\xF1o."));
        const std::string *text = indexRow(row);
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
    std::vector<std::string>().swap(state().index);
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
