// Row text: one result row as name=value pairs joined by "&", with the value of each
// column written by its declared type.
#include "rowtext.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vasq {
namespace {

constexpr size_t kMaxPart = 1023;

// The declared type's first word, upper case ("TEXT(6)" gives "TEXT").
std::string typeWord(const char *declared)
{
    std::string word;
    for (const char *p = declared; p && (std::isalnum(static_cast<unsigned char>(*p)) || *p == '_'); ++p)
        word += char(std::toupper(static_cast<unsigned char>(*p)));
    return word;
}

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && cp1252::equalNoCase(text.substr(text.size() - tail.size()), tail);
}

// True when SQLite named a column after its table ("Remesas()"), qualified it
// ("T.col") or numbered it ("col:1") instead of giving the column's own name.
bool nameHidesOrigin(std::string_view name, std::string_view table, std::string_view origin)
{
    if (cp1252::equalNoCase(name, table) || endsWith(name, std::string(".") + std::string(origin)))
        return true;
    if (name.size() <= origin.size() + 1 || !cp1252::equalNoCase(name.substr(0, origin.size()), origin) ||
        name[origin.size()] != ':')
        return false;
    for (char c : name.substr(origin.size() + 1))
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The text of a column, as Windows-1252, appended to row.
void appendColumnText(std::string &row, sqlite3_stmt *statement, int column)
{
    const unsigned char *text = sqlite3_column_text(statement, column);
    int bytes = sqlite3_column_bytes(statement, column);
    cp1252::appendFromUtf8(row, std::string_view(reinterpret_cast<const char *>(text), size_t(bytes)));
}

// Cuts the part of row from start on to its longest length and escapes it.
void finishPart(std::string &row, size_t start)
{
    if (row.size() - start > kMaxPart)
        row.resize(start + kMaxPart);
    escape(row.data() + start);
}

} // namespace

void escape(char *text)
{
    for (; text && *text; ++text) {
        if (*text == '&')
            *text = '\x01';
        else if (*text == '=')
            *text = '\x02';
    }
}

void unescape(char *text)
{
    for (; text && *text; ++text) {
        if (*text == '\x01')
            *text = '&';
        else if (*text == '\x02')
            *text = '=';
    }
}

std::string realText(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    char text[400];
    double magnitude = std::fabs(value);
    if (magnitude >= 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    int integerDigits = magnitude < 1 ? 1 : int(std::floor(std::log10(magnitude))) + 1;
    // what "%.*f" writes, without printf's cost
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                       std::max(0, 15 - integerDigits));
    std::string out(text, written.ptr);
    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.')
            out.pop_back();
    }
    if (out == "-0")
        out = "0";
    return out;
}

bool dateText(std::string_view text, std::string &out)
{
    // yyyy s m[m] s d[d], then the end or a blank
    auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    for (size_t i = 0; i < 4; ++i)
        if (!digit(i))
            return false;
    if (text.size() < 5 || (text[4] != '/' && text[4] != '-'))
        return false;
    char separator = text[4];
    size_t i = 5;
    int fields[2];
    for (int k = 0; k < 2; ++k) {
        if (!digit(i))
            return false;
        int value = text[i++] - '0';
        if (digit(i))
            value = value * 10 + (text[i++] - '0');
        fields[k] = value;
        if (k == 0 && (i >= text.size() || text[i++] != separator))
            return false;
    }
    if (i < text.size() && text[i] != ' ')
        return false;
    if (fields[0] < 1 || fields[0] > 12 || fields[1] < 1 || fields[1] > 31)
        return false;
    const char yymmdd[] = {text[2], text[3], ' ', char('0' + fields[0] / 10), char('0' + fields[0] % 10), ' ',
                           char('0' + fields[1] / 10), char('0' + fields[1] % 10)};
    out.assign(yymmdd, sizeof yymmdd);
    return true;
}

RowTextBuilder::RowTextBuilder(sqlite3_stmt *statement)
{
    int count = sqlite3_column_count(statement);
    std::vector<std::string> names;
    std::vector<std::string> tables(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char *name = sqlite3_column_name(statement, i);
        const char *table = sqlite3_column_table_name(statement, i);
        const char *origin = sqlite3_column_origin_name(statement, i);
        std::string own = cp1252::fromUtf8(name ? name : "");
        if (table && origin) {
            tables[size_t(i)] = cp1252::fromUtf8(table);
            std::string originName = cp1252::fromUtf8(origin);
            if (nameHidesOrigin(own, tables[size_t(i)], originName))
                own = originName;
        }
        names.push_back(own);
        std::string type = typeWord(sqlite3_column_decltype(statement, i));
        if (type == "BOOLEAN" || type == "BOOL" || type == "YESNO" || type == "BIT" || type == "LOGICAL")
            m_kinds.push_back(Kind::YesNo);
        else if (type == "DATE" || type == "DATETIME")
            m_kinds.push_back(Kind::Date);
        else
            m_kinds.push_back(Kind::Plain);
    }
    // A name that occurs twice is qualified with its table wherever it has one.
    for (size_t i = 0; i < names.size(); ++i) {
        std::string prefix = i > 0 ? "&" : "";
        size_t start = prefix.size();
        prefix += names[i];
        for (size_t j = 0; j < names.size(); ++j) {
            if (i != j && !tables[i].empty() && cp1252::equalNoCase(names[i], names[j])) {
                prefix.insert(start, tables[i] + ".");
                break;
            }
        }
        finishPart(prefix, start);
        m_prefixes.push_back(prefix + "=");
    }
}

std::string RowTextBuilder::row(sqlite3_stmt *statement) const
{
    std::string row;
    row.reserve(m_lastLength + 16);
    appendRow(row, statement);
    return row;
}

void RowTextBuilder::appendRow(std::string &row, sqlite3_stmt *statement) const
{
    size_t begin = row.size();
    for (size_t i = 0; i < m_prefixes.size(); ++i) {
        row += m_prefixes[i];
        size_t start = row.size();
        appendValue(row, statement, int(i));
        finishPart(row, start);
    }
    m_lastLength = row.size() - begin;
}

void RowTextBuilder::appendValue(std::string &row, sqlite3_stmt *statement, int column) const
{
    int type = sqlite3_column_type(statement, column);
    if (type == SQLITE_NULL) {
        row += "NULL";
        return;
    }
    Kind kind = m_kinds[size_t(column)];
    if (kind == Kind::YesNo) {
        bool yes = false;
        if (type == SQLITE_TEXT) {
            std::string text;
            appendColumnText(text, statement, column);
            yes = cp1252::equalNoCase(text, "TRUE");
        }
        yes = yes || sqlite3_column_double(statement, column) != 0;
        row += yes ? "TRUE" : "FALSE";
        return;
    }
    switch (type) {
    case SQLITE_INTEGER: {
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, sqlite3_column_int64(statement, column)).ptr;
        row.append(digits, end);
        return;
    }
    case SQLITE_FLOAT:
        row += realText(sqlite3_column_double(statement, column));
        return;
    case SQLITE_BLOB:
        row += "Array of VT_UI1";
        return;
    default:
        break;
    }
    size_t start = row.size();
    appendColumnText(row, statement, column);
    if (kind == Kind::Date) {
        std::string date;
        if (row.size() == start)
            row += "NULL";
        else if (dateText(std::string_view(row).substr(start), date))
            row.replace(start, std::string::npos, date);
    }
}

} // namespace vasq
