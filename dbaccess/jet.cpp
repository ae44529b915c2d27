// Translation of the program's Jet-dialect SQL into the SQL that SQLite runs.
#include "jet.h"

#include "sqltext.h"
#include "vasqdb.h"

#include <cp1252.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vasq {
namespace {

enum class Kind { Space, Word, Bracketed, Quoted, Date, Punct };

// A token's text is a piece of the statement, or of a text that outlives the rewrite.
struct Token {
    Kind kind;
    std::string_view text;
};

bool isSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The kind of an engine's token for the rewrites: texts, names, blobs, comments and
// parameters are never rewritten; numbers count as words.
Kind jetKind(const SqlToken &token, char first)
{
    switch (token.kind) {
    case SqlToken::Kind::Space:
        return Kind::Space;
    case SqlToken::Kind::Word:
    case SqlToken::Kind::Number:
        return Kind::Word;
    case SqlToken::Kind::Punct:
        return Kind::Punct;
    case SqlToken::Kind::Bad:
        return first == '[' ? Kind::Bracketed : first >= '0' && first <= '9' ? Kind::Word : Kind::Quoted;
    case SqlToken::Kind::Name:
        return first == '[' ? Kind::Bracketed : Kind::Quoted;
    default:
        return Kind::Quoted;
    }
}

// Splits sql into tokens whose texts, joined, give sql back: the engine's tokens, and
// date literals between two '#' (a '#' without a closing one is punctuation). A bracket
// or quote left open runs to the end.
std::vector<Token> tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    tokens.reserve(sql.size() / 3 + 4);
    for (size_t i = 0; i < sql.size();) {
        size_t start = i;
        Kind kind;
        size_t hash = sql[i] == '#' ? sql.find('#', i + 1) : std::string_view::npos;
        if (hash != std::string_view::npos) {
            kind = Kind::Date;
            i = hash + 1;
        } else if (sql[i] == '#') {
            kind = Kind::Punct;
            ++i;
        } else {
            SqlToken token = nextToken(sql, i);
            kind = jetKind(token, sql[i]);
            i = token.end;
        }
        tokens.push_back({kind, sql.substr(start, i - start)});
    }
    return tokens;
}

bool isWord(const Token &token, std::string_view word)
{
    return token.kind == Kind::Word && cp1252::equalNoCase(token.text, word);
}

bool isPunct(const Token &token, char c)
{
    return token.kind == Kind::Punct && !token.text.empty() && token.text[0] == c;
}

// Index of the next token after i that is not blank, or tokens.size().
size_t nextSolid(const std::vector<Token> &tokens, size_t i)
{
    for (++i; i < tokens.size(); ++i)
        if (tokens[i].kind != Kind::Space)
            return i;
    return tokens.size();
}

size_t firstSolid(const std::vector<Token> &tokens, size_t from)
{
    return from < tokens.size() && tokens[from].kind != Kind::Space ? from : nextSolid(tokens, from);
}

bool isName(const Token &token)
{
    return token.kind == Kind::Word || token.kind == Kind::Bracketed;
}

// Reads digits of s at i into value; at most maxDigits, at least one.
bool readNumber(std::string_view s, size_t &i, int maxDigits, int &value, int &digits)
{
    value = 0;
    digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < maxDigits) {
        value = value * 10 + (s[i++] - '0');
        ++digits;
    }
    return digits > 0 && !(i < s.size() && s[i] >= '0' && s[i] <= '9');
}

bool validDate(int year, int month, int day)
{
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return !(month == 2 && day == 29 && !leap);
}

// "#yyyy/mm/dd#", "#yyyy-mm-dd#" or "#m/d/yyyy#" as 'yyyy/mm/dd'.
bool dateLiteral(std::string_view literal, std::string &out)
{
    std::string_view s = literal.substr(1, literal.size() - 2);
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    int parts[3];
    int digits[3];
    size_t i = 0;
    char separator = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            if (i >= s.size() || (s[i] != '/' && s[i] != '-') || (separator && s[i] != separator))
                return false;
            separator = s[i++];
        }
        if (!readNumber(s, i, 4, parts[k], digits[k]))
            return false;
    }
    if (i != s.size())
        return false;
    int year, month, day;
    if (digits[0] == 4 && digits[1] <= 2 && digits[2] <= 2) {
        year = parts[0], month = parts[1], day = parts[2];
    } else if (separator == '/' && digits[0] <= 2 && digits[1] <= 2 && digits[2] == 4) {
        month = parts[0], day = parts[1], year = parts[2];
    } else {
        return false;
    }
    if (!validDate(year, month, day))
        return false;
    char text[48];
    std::snprintf(text, sizeof text, "'%04d/%02d/%02d'", year, month, day);
    out = text;
    return true;
}

// In an UPDATE's SET list, drops "qualifier." before each assignment target.
void unqualifySetTargets(std::vector<Token> &tokens, size_t set)
{
    int depth = 0;
    bool atTarget = true;
    for (size_t i = nextSolid(tokens, set); i < tokens.size(); i = nextSolid(tokens, i)) {
        Token &token = tokens[i];
        if (depth == 0 && (isWord(token, "WHERE") || isPunct(token, ';')))
            return;
        if (atTarget) {
            atTarget = false;
            size_t dot = nextSolid(tokens, i);
            size_t column = nextSolid(tokens, dot);
            if (isName(token) && dot < tokens.size() && isPunct(tokens[dot], '.') &&
                column < tokens.size() && isName(tokens[column])) {
                for (size_t k = i; k < column; ++k)
                    tokens[k].text = {};
                i = column;
                continue;
            }
        }
        if (isPunct(token, '('))
            ++depth;
        else if (isPunct(token, ')'))
            --depth;
        else if (depth == 0 && isPunct(token, ','))
            atTarget = true;
    }
}

// In CREATE TABLE, a column declared "name AUTOINCREMENT" becomes the table's key.
void expandAutoincrement(std::vector<Token> &tokens, size_t from)
{
    int depth = 0;
    size_t previous = tokens.size(); // the solid token before the current one
    size_t beforePrevious = tokens.size();
    for (size_t i = firstSolid(tokens, from); i < tokens.size(); i = nextSolid(tokens, i)) {
        Token &token = tokens[i];
        if (isPunct(token, ';'))
            return;
        if (isPunct(token, '('))
            ++depth;
        else if (isPunct(token, ')'))
            --depth;
        else if (depth == 1 && isWord(token, "AUTOINCREMENT") && previous < tokens.size() &&
                 isName(tokens[previous]) && beforePrevious < tokens.size() &&
                 (isPunct(tokens[beforePrevious], '(') || isPunct(tokens[beforePrevious], ',')))
            token.text = "INTEGER PRIMARY KEY AUTOINCREMENT";
        beforePrevious = previous;
        previous = i;
    }
}

// Applies the statement-level rewrites to the statement that starts at token from.
void rewriteStatement(std::vector<Token> &tokens, size_t from)
{
    size_t first = firstSolid(tokens, from);
    if (first >= tokens.size())
        return;
    size_t second = nextSolid(tokens, first);
    if (isWord(tokens[first], "DELETE") && second < tokens.size() && isPunct(tokens[second], '*')) {
        size_t after = nextSolid(tokens, second);
        if (after < tokens.size() && isWord(tokens[after], "FROM")) {
            for (size_t k = second; k < after; ++k)
                tokens[k].text = {};
        }
    } else if (isWord(tokens[first], "UPDATE")) {
        int depth = 0;
        for (size_t i = second; i < tokens.size(); i = nextSolid(tokens, i)) {
            if (isPunct(tokens[i], ';'))
                break;
            if (isPunct(tokens[i], '('))
                ++depth;
            else if (isPunct(tokens[i], ')'))
                --depth;
            else if (depth == 0 && isWord(tokens[i], "SET")) {
                unqualifySetTargets(tokens, i);
                break;
            }
        }
    } else if (isWord(tokens[first], "CREATE") && second < tokens.size() && isWord(tokens[second], "TABLE")) {
        expandAutoincrement(tokens, second);
    }
}

} // namespace

Status translateJet(std::string_view sql, std::string &out)
{
    std::vector<Token> tokens = tokenize(sql);
    std::vector<std::string> dates; // the stored form of each date literal
    dates.reserve(size_t(std::count_if(tokens.begin(), tokens.end(),
                                       [](const Token &token) { return token.kind == Kind::Date; })));
    rewriteStatement(tokens, 0);
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token &token = tokens[i];
        if (isPunct(token, ';'))
            rewriteStatement(tokens, i + 1);
        bool qualified = i > 0 && isPunct(tokens[i - 1], '.');
        if (!qualified && isWord(token, "TRUE"))
            token.text = "1";
        else if (!qualified && isWord(token, "FALSE"))
            token.text = "0";
        else if (token.kind == Kind::Date) {
            std::string stored;
            if (!dateLiteral(token.text, stored))
                return ownFailure(VASQ_ERR_STATEMENT,
                                  "Fecha no v\xE1lida en la sentencia SQL: " + std::string(token.text));
            token.text = dates.emplace_back(std::move(stored));
        }
    }
    out.clear();
    out.reserve(sql.size() + 16);
    for (const Token &token : tokens)
        out += token.text;
    return {};
}

} // namespace vasq
