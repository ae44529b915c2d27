// A prepared statement of the program's SQL, finalized with its object.
#include "statement.h"

#include "connection.h"
#include "jet.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <string>

namespace vasq {
namespace {

// True when tail holds nothing but blanks and semicolons.
bool emptyTail(const char *tail)
{
    for (; tail && *tail; ++tail)
        if (*tail != ';' && *tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n')
            return false;
    return true;
}

} // namespace

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

Status Statement::prepare(const Connection &connection, std::string_view sql)
{
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    std::string translated;
    Status status = translateJet(sql, translated);
    if (!status.ok())
        return status;
    std::string utf8 = cp1252::toUtf8(translated);
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(connection.handle(), utf8.c_str(), int(utf8.size()) + 1, &m_statement, &tail);
    if (rc != SQLITE_OK)
        return connection.failure(rc);
    if (!m_statement)
        return ownFailure(VASQ_ERR_STATEMENT, "La sentencia SQL est\xE1 vac\xED" "a.");
    if (!emptyTail(tail)) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        return ownFailure(VASQ_ERR_STATEMENT, "Hay m\xE1s de una sentencia SQL en el texto.");
    }
    return {};
}

int Statement::step()
{
    return sqlite3_step(m_statement);
}

bool Statement::readOnly() const
{
    return sqlite3_stmt_readonly(m_statement) != 0;
}

} // namespace vasq
