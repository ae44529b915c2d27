// Row text: one result row as name=value pairs joined by "&", with the value of each
// column written by its declared type.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace vasq {

// "&" becomes 0x01 and "=" 0x02, and back; in place, the length never changes.
void escape(char *text);
void unescape(char *text);

// A real number as plain decimal text: "." as separator, at most 15 significant digits,
// no exponent, no trailing zeros ("0.3", "1234.5", "1234", "-0.01").
std::string realText(double value);

// A stored date 'yyyy/mm/dd' (or with "-", a time after a blank ignored) as "yy mm dd";
// false when text holds no such date.
bool dateText(std::string_view text, std::string &out);

// Builds the row texts of one prepared statement: names and value kinds are worked out
// once, from the statement's columns, before the first row.
class RowTextBuilder {
public:
    explicit RowTextBuilder(sqlite3_stmt *statement);

    // The row text of the statement's current row, or that text appended to row.
    std::string row(sqlite3_stmt *statement) const;
    void appendRow(std::string &row, sqlite3_stmt *statement) const;

private:
    enum class Kind { Plain, YesNo, Date };

    void appendValue(std::string &row, sqlite3_stmt *statement, int column) const;

    std::vector<std::string> m_prefixes; // per column: "&" but for the first, the name, "="
    std::vector<Kind> m_kinds;
    mutable size_t m_lastLength = 0; // of the row before, to size the next
};

} // namespace vasq
