// The outcome of an internal step and the last-error register that the exports keep.
#include "lasterror.h"

#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

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

} // namespace

Status ownFailure(int code, std::string_view text)
{
    const char *fixed = fixedText(code);
    return {code, std::string(text.empty() && fixed ? std::string_view(fixed) : text)};
}

Status engineFailure(sqlite3 *db, int rc)
{
    const char *message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int code = VASQ_ENGINE_ERROR_BASE + rc;
    std::string text = "(ERROR " + std::to_string(code) + ") " + cp1252::fromUtf8(message);
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
