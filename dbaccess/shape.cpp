// The shape of a statement: its SQLite text with the literals that can be bound lifted
// out as parameters.
#include "shape.h"

#include "sqltext.h"

#include <limits>

namespace vasq {
namespace {

using Kind = SqlToken::Kind;

// The engine's limit on the parameters of one statement.
constexpr size_t kMaxParameters = 999;

// What a parenthesis level of the statement is in.
struct Level {
    bool selectList = false; // the result columns of a SELECT
    bool ordering = false;   // an ORDER BY or GROUP BY
    bool frozen = false;     // inside a result column or an ordering of an outer level

    bool lifts() const { return !selectList && !ordering && !frozen; }
};

// The value of a run of decimal digits; false for anything else or more than the largest
// 64-bit integer.
bool integerValue(std::string_view digits, long long &value)
{
    constexpr long long kMax = std::numeric_limits<long long>::max();
    value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        int digit = c - '0';
        if (value > (kMax - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

// Digits, a point and digits: the form of the stored amounts.
bool plainDecimal(std::string_view number)
{
    size_t point = number.find('.');
    if (point == 0 || point == std::string_view::npos || point + 1 == number.size())
        return false;
    return number.find_first_not_of("0123456789", point + 1) == std::string_view::npos &&
           number.find_first_not_of("0123456789") == point;
}

bool allZero(std::string_view number)
{
    return number.find_first_not_of("0.") == std::string_view::npos;
}

// The word in upper case when it is a keyword that starts a clause, else empty.
std::string_view clauseKeyword(std::string_view word)
{
    static constexpr std::string_view kClauses[] = {"SELECT", "ORDER",     "GROUP",  "FROM",   "WHERE",
                                                    "HAVING", "LIMIT",     "UNION",  "EXCEPT", "VALUES",
                                                    "SET",    "INTERSECT", "WINDOW"};
    char upper[9];
    if (word.size() < 3 || word.size() > sizeof upper)
        return {};
    for (size_t i = 0; i < word.size(); ++i)
        upper[i] = word[i] >= 'a' && word[i] <= 'z' ? char(word[i] - 'a' + 'A') : word[i];
    for (std::string_view clause : kClauses)
        if (clause == std::string_view(upper, word.size()))
            return clause;
    return {};
}

// Keeps a level's part of the statement up to date with the keyword that starts a clause.
void enterClause(Level &level, std::string_view word)
{
    std::string_view clause = clauseKeyword(word);
    if (clause.empty())
        return;
    level.selectList = clause == "SELECT";
    level.ordering = clause == "ORDER" || clause == "GROUP";
}

// Builds the shape; false when the statement keeps all its literals.
bool lift(std::string_view sql, Shape &shape)
{
    std::vector<Level> levels(1);
    size_t copied = 0;
    bool afterMinus = false;
    // Puts "?" for the literal token; its value is what values gained since offset.
    auto liftHere = [&](const SqlToken &token, Shape::Kind kind, size_t offset, long long integer) {
        shape.text.append(sql.substr(copied, token.start - copied));
        shape.text += '?';
        copied = token.end;
        shape.literals.push_back({kind, offset, shape.values.size() - offset, integer});
    };
    for (size_t i = 0; i < sql.size();) {
        SqlToken token = nextToken(sql, i);
        i = token.end;
        if (token.kind == Kind::Space)
            continue;
        Level &level = levels.back();
        bool minus = afterMinus;
        afterMinus = token.isPunct(sql, '-');
        switch (token.kind) {
        case Kind::Comment:
        case Kind::Parameter:
        case Kind::Bad:
            return false;
        case Kind::Text:
            if (level.lifts()) {
                size_t offset = shape.values.size();
                for (size_t k = token.start + 1; k + 1 < token.end; ++k) {
                    shape.values += sql[k];
                    if (sql[k] == '\'')
                        ++k; // the doubled quote
                }
                liftHere(token, Shape::Kind::Text, offset, 0);
            }
            break;
        case Kind::Number: {
            std::string_view number = token.text(sql);
            long long value = 0;
            bool integer = integerValue(number, value);
            // A negative zero written out stays: the engine keeps its sign, a bound one
            // would lose it.
            if (level.lifts() && (integer || (plainDecimal(number) && !(minus && allZero(number))))) {
                size_t offset = shape.values.size();
                shape.values.append(number);
                liftHere(token, integer ? Shape::Kind::Integer : Shape::Kind::Real, offset, value);
            }
            break;
        }
        case Kind::Word:
            enterClause(level, token.text(sql));
            break;
        case Kind::Punct:
            if (token.isPunct(sql, '('))
                levels.push_back({false, false, !level.lifts()});
            else if (token.isPunct(sql, ')') && levels.size() > 1)
                levels.pop_back();
            break;
        default:
            break;
        }
        if (shape.literals.size() > kMaxParameters)
            return false;
    }
    shape.text.append(sql.substr(copied));
    return true;
}

// The statements whose values can be bound: queries and changes of rows.
bool reusableStatement(std::string_view sql)
{
    for (size_t i = 0; i < sql.size();) {
        SqlToken token = nextToken(sql, i);
        i = token.end;
        if (token.kind != Kind::Space)
            return token.is(sql, "SELECT") || token.is(sql, "INSERT") || token.is(sql, "UPDATE") ||
                   token.is(sql, "DELETE") || token.is(sql, "REPLACE");
    }
    return false;
}

} // namespace

void buildShape(std::string_view sql, Shape &shape)
{
    shape.text.clear();
    shape.values.clear();
    shape.literals.clear();
    shape.reusable = reusableStatement(sql);
    if (shape.reusable && lift(sql, shape))
        return;
    shape.text.assign(sql);
    shape.values.clear();
    shape.literals.clear();
}

} // namespace vasq
