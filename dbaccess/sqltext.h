// The tokens of a statement in SQLite's dialect (Windows-1252), split as the engine
// splits them, for the passes that read a translated statement.
#pragma once

#include <string_view>

namespace vasq {

struct SqlToken {
    enum class Kind {
        Space,
        Comment,   // "-- ..." or "/* ... */"
        Word,      // a keyword or a bare name
        Number,    // digits, with a point, an exponent or in hex
        Text,      // '...'
        Name,      // "...", [...] or `...`
        Blob,      // x'...'
        Parameter, // ?, ?1, :a, @a, $a, #a
        Punct,     // one character of an operator or a separator
        Bad,       // a quote or comment left open, a number run into a name
    };

    Kind kind;
    size_t start;
    size_t end;

    std::string_view text(std::string_view sql) const { return sql.substr(start, end - start); }
    // True for a word that is keyword, without regard to case.
    bool is(std::string_view sql, std::string_view keyword) const;
    bool isPunct(std::string_view sql, char c) const { return kind == Kind::Punct && sql[start] == c; }
};

// The token that starts at i, which is below sql.size().
SqlToken nextToken(std::string_view sql, size_t i);

} // namespace vasq
