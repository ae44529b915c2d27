// The shape of a statement: its SQLite text with the literals that can be bound lifted
// out as parameters, so that statements that differ only in their values share one
// prepared statement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vasq {

struct Shape {
    enum class Kind { Text, Integer, Real };

    // One lifted literal. A text is kept as the statement spelled it, unquoted
    // (Windows-1252); a real as its digits, which the engine converts as it would
    // convert the literal.
    struct Literal {
        Kind kind;
        size_t offset; // of its text in values
        size_t length;
        long long integer;
    };

    std::string text;              // the statement with "?" for each lifted literal
    std::string values;            // the texts of the literals, one after another
    std::vector<Literal> literals; // in the order of their parameters

    // True when the statement is one that runs alike with bound values (a query or a
    // change of rows); its text may still hold no parameter.
    bool reusable = false;

    std::string_view value(const Literal &literal) const { return {values.data() + literal.offset, literal.length}; }
};

// Builds the shape of sql, a translated statement (SQLite's dialect, Windows-1252).
// Single-quoted texts, decimal integers up to the largest 64-bit one and plain decimals
// ("1234.50") are lifted where a bound value means exactly what the literal means: in
// the WHERE, ON, SET, VALUES, HAVING and LIMIT parts of a SELECT, INSERT, UPDATE or
// DELETE. Never lifted: anything in a result column list (it names the column), in
// ORDER BY or GROUP BY (a number there is a column's position), a negative zero,
// and any literal of a statement that holds a comment or a parameter of its own. A text
// in a place that takes a name fails to prepare and the caller runs sql as it stands.
void buildShape(std::string_view sql, Shape &shape);

} // namespace vasq
