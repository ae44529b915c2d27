// The tokens of a statement in SQLite's dialect, split as the engine splits them.
#include "sqltext.h"

#include <cp1252.h>

namespace vasq {
namespace {

bool isSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(unsigned char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A character that may continue a name, as the engine reads names.
bool isNameChar(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' || c == '$' || c >= 0x80;
}

// End of the quoted text or name that starts at i, the quote doubled inside; npos when
// it is left open.
size_t closingQuote(std::string_view sql, size_t i, char quote)
{
    for (++i; i < sql.size(); ++i) {
        if (sql[i] != quote)
            continue;
        if (i + 1 < sql.size() && sql[i + 1] == quote)
            ++i;
        else
            return i + 1;
    }
    return std::string_view::npos;
}

size_t numberEnd(std::string_view sql, size_t i)
{
    auto at = [&](size_t k) { return k < sql.size() ? static_cast<unsigned char>(sql[k]) : 0; };
    if (at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X') && isHexDigit(at(i + 2))) {
        for (i += 2; isHexDigit(at(i));)
            ++i;
        return i;
    }
    while (isDigit(at(i)))
        ++i;
    if (at(i) == '.')
        for (++i; isDigit(at(i));)
            ++i;
    if ((at(i) == 'e' || at(i) == 'E') &&
        (isDigit(at(i + 1)) || ((at(i + 1) == '+' || at(i + 1) == '-') && isDigit(at(i + 2)))))
        for (i += 2; isDigit(at(i));)
            ++i;
    return i;
}

} // namespace

bool SqlToken::is(std::string_view sql, std::string_view keyword) const
{
    return kind == Kind::Word && cp1252::equalNoCase(text(sql), keyword);
}

SqlToken nextToken(std::string_view sql, size_t i)
{
    using Kind = SqlToken::Kind;
    auto at = [&](size_t k) { return k < sql.size() ? static_cast<unsigned char>(sql[k]) : 0; };
    auto quoted = [&](Kind kind, size_t end) {
        return end == std::string_view::npos ? SqlToken{Kind::Bad, i, sql.size()} : SqlToken{kind, i, end};
    };
    unsigned char c = at(i);
    if (isSpace(c)) {
        size_t end = i;
        while (isSpace(at(end)))
            ++end;
        return {Kind::Space, i, end};
    }
    if (c == '-' && at(i + 1) == '-') {
        size_t end = sql.find('\n', i);
        return {Kind::Comment, i, end == std::string_view::npos ? sql.size() : end + 1};
    }
    if (c == '/' && at(i + 1) == '*') {
        size_t end = sql.find("*/", i + 2);
        return quoted(Kind::Comment, end == std::string_view::npos ? end : end + 2);
    }
    if (c == '\'')
        return quoted(Kind::Text, closingQuote(sql, i, '\''));
    if (c == '"' || c == '`')
        return quoted(Kind::Name, closingQuote(sql, i, char(c)));
    if (c == '[') {
        size_t end = sql.find(']', i + 1);
        return quoted(Kind::Name, end == std::string_view::npos ? end : end + 1);
    }
    if ((c == 'x' || c == 'X') && at(i + 1) == '\'')
        return quoted(Kind::Blob, closingQuote(sql, i + 1, '\''));
    if (isDigit(c) || (c == '.' && isDigit(at(i + 1)))) {
        size_t end = numberEnd(sql, i);
        return {isNameChar(at(end)) ? Kind::Bad : Kind::Number, i, end};
    }
    if (c == '?' || c == ':' || c == '@' || c == '$' || c == '#') {
        size_t end = i + 1;
        while (isNameChar(at(end)))
            ++end;
        return {Kind::Parameter, i, end};
    }
    if (isNameChar(c)) {
        size_t end = i;
        while (isNameChar(at(end)))
            ++end;
        return {Kind::Word, i, end};
    }
    return {Kind::Punct, i, i + 1};
}

} // namespace vasq
