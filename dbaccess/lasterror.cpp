// The outcome of an internal step and the last-error register that the exports keep.
#include "lasterror.h"

#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>

namespace vasq {
namespace {

constexpr size_t kMaxText = 1023;

const char *fixedText(int code)
{
    switch (code) {
    case VASQ_ERR_NOTOPEN: return "No se ha abierto la base de datos.";
    case VASQ_ERR_ALREADYOPEN: return "Ya hay una base de datos abierta.";
    default: return nullptr;
    }
}

// The code of a failure that a function of the engine (the export) passed on as
// SQLITE_ERROR with the message of the failure it met: the code whose text that is.
int passedOn(const char *message, int rc)
{
    for (int code : {SQLITE_CORRUPT, SQLITE_NOTADB, SQLITE_FULL, SQLITE_IOERR})
        if (std::strcmp(message, sqlite3_errstr(code)) == 0)
            return code;
    return rc;
}

} // namespace

Status ownFailure(int code, std::string_view text)
{
    const char *fixed = fixedText(code);
    return {code, std::string(text.empty() && fixed ? std::string_view(fixed) : text)};
}

bool diskFull(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

Status engineFailure(sqlite3 *db, int rc)
{
    if (db && rc == SQLITE_ERROR)
        rc = passedOn(sqlite3_errmsg(db), rc);
    // A write refused for room is a full disk, whatever the engine made of it.
    if (db && (rc & 0xFF) == SQLITE_IOERR && diskFull(sqlite3_system_errno(db)))
        rc = SQLITE_FULL;
    const char *message = db && rc != SQLITE_FULL ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return engineFinding(rc, cp1252::fromUtf8(message));
}

Status engineFinding(int rc, std::string_view finding)
{
    int code = VASQ_ENGINE_ERROR_BASE + rc;
    std::string text = "(ERROR " + std::to_string(code) + ") " + std::string(finding);
    if (text.size() > kMaxText)
        text.resize(kMaxText);
    return {code, std::move(text)};
}

void LastError::record(const Status &status)
{
    m_code = status.code;
    m_text = status.text.substr(0, kMaxText);
}

void LastError::clear()
{
    m_code = 0;
    m_text.clear();
}

int LastError::takeCode()
{
    int code = m_code;
    m_code = 0;
    return code;
}

int LastError::takeText(char *buffer, int size)
{
    int code = m_code;
    if (buffer && size >= 1) {
        const char *fixed = fixedText(code);
        std::string_view text = code == 0 ? std::string_view() : fixed ? std::string_view(fixed) : m_text;
        size_t n = std::min(text.size(), size_t(size - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    clear();
    return code;
}

} // namespace vasq
