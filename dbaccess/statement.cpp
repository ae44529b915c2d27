// A prepared statement of the program's SQL, kept by its connection between uses.
#include "statement.h"

#include "connection.h"
#include "jet.h"
#include "shape.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <string>

namespace vasq {
namespace {

// The statement that reads a number's digits as the engine reads a literal.
constexpr std::string_view kNumberReader = "SELECT ?";

// True when tail holds nothing but blanks and semicolons.
bool emptyTail(const char *tail)
{
    for (; tail && *tail; ++tail)
        if (*tail != ';' && *tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n')
            return false;
    return true;
}

} // namespace

Status prepareOne(const Connection &connection, std::string_view text, sqlite3_stmt *&statement)
{
    statement = nullptr;
    std::string utf8 = cp1252::toUtf8(text);
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(connection.handle(), utf8.c_str(), int(utf8.size()) + 1, &statement, &tail);
    if (rc != SQLITE_OK)
        return connection.failure(rc);
    if (!statement)
        return ownFailure(VASQ_ERR_STATEMENT, "La sentencia SQL est\xE1 vac\xED" "a.");
    if (!emptyTail(tail)) {
        sqlite3_finalize(statement);
        statement = nullptr;
        return ownFailure(VASQ_ERR_STATEMENT, "Hay m\xE1s de una sentencia SQL en el texto.");
    }
    return {};
}

namespace {

// The real number in digits, converted by the engine exactly as it converts a literal of
// the same digits.
Status engineReal(Connection &connection, std::string_view digits, double &value)
{
    StatementCache &cache = connection.statements();
    StatementCache::Entry *entry = cache.take(kNumberReader);
    if (!entry) {
        sqlite3_stmt *reader = nullptr;
        Status status = prepareOne(connection, kNumberReader, reader);
        if (!status.ok())
            return status;
        entry = cache.add(kNumberReader, reader);
    }
    sqlite3_bind_text(entry->statement, 1, digits.data(), int(digits.size()), SQLITE_STATIC);
    int rc = sqlite3_step(entry->statement);
    if (rc == SQLITE_ROW)
        value = sqlite3_column_double(entry->statement, 0);
    Status status = rc == SQLITE_ROW ? Status() : connection.failure(rc);
    cache.giveBack(entry, rc == SQLITE_ROW);
    return status;
}

} // namespace

Statement::~Statement()
{
    release();
}

void Statement::release()
{
    if (m_entry)
        m_connection.statements().giveBack(m_entry, !m_failed);
    else
        sqlite3_finalize(m_statement);
    m_entry = nullptr;
    m_statement = nullptr;
    m_failed = false;
}

Status Statement::prepare(std::string_view sql)
{
    release();
    std::string translated;
    Status status = translateJet(sql, translated);
    if (!status.ok())
        return status;
    Shape &shape = m_connection.shape();
    buildShape(translated, shape);
    m_reusable = shape.reusable;
    if (!m_reusable)
        return prepareOne(m_connection, translated, m_statement);
    StatementCache &cache = m_connection.statements();
    m_entry = cache.take(shape.text);
    if (m_entry && !m_entry->statement) {
        cache.giveBack(m_entry, true);
        m_entry = nullptr;
        return prepareOne(m_connection, translated, m_statement);
    }
    if (!m_entry) {
        sqlite3_stmt *prepared = nullptr;
        status = prepareOne(m_connection, shape.text, prepared);
        if (!status.ok()) {
            // A text where the engine takes a name cannot be bound: the shape keeps its
            // literals from now on. Any other failure is the statement's own.
            if (shape.literals.empty())
                return status;
            status = prepareOne(m_connection, translated, m_statement);
            if (status.ok())
                cache.giveBack(cache.add(shape.text, nullptr), true);
            return status;
        }
        m_entry = cache.add(shape.text, prepared);
    }
    m_statement = m_entry->statement;
    return bindValues();
}

Status Statement::bindValues()
{
    const Shape &shape = m_connection.shape();
    int index = 0;
    for (const Shape::Literal &literal : shape.literals) {
        ++index;
        int rc = SQLITE_OK;
        if (literal.kind == Shape::Kind::Integer) {
            rc = sqlite3_bind_int64(m_statement, index, literal.integer);
        } else if (literal.kind == Shape::Kind::Text) {
            std::string utf8 = cp1252::toUtf8(shape.value(literal));
            rc = sqlite3_bind_text(m_statement, index, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
        } else {
            double value = 0;
            Status status = engineReal(m_connection, shape.value(literal), value);
            if (!status.ok()) {
                m_failed = true;
                return status;
            }
            rc = sqlite3_bind_double(m_statement, index, value);
        }
        if (rc != SQLITE_OK) {
            m_failed = true;
            return m_connection.failure(rc);
        }
    }
    return {};
}

int Statement::step()
{
    int rc = sqlite3_step(m_statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        m_failed = true;
    return rc;
}

} // namespace vasq
