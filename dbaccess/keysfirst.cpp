// Reading a query keys first: the query cut into a query of its rows' keys and a
// statement that reads one row by its key.
#include "keysfirst.h"

#include "connection.h"
#include "sqltext.h"
#include "statement.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <vector>

namespace vasq {
namespace {

using Kind = SqlToken::Kind;

// A solid token with the parenthesis depth it stands at.
struct Piece {
    SqlToken token;
    int depth;
};

// A run of pieces, [first, last).
struct Span {
    size_t first;
    size_t last;
};

bool split(std::string_view sql, std::vector<Piece> &pieces)
{
    int depth = 0;
    for (size_t i = 0; i < sql.size();) {
        SqlToken token = nextToken(sql, i);
        i = token.end;
        if (token.kind == Kind::Space)
            continue;
        if (token.kind == Kind::Comment || token.kind == Kind::Parameter || token.kind == Kind::Bad)
            return false;
        if (token.isPunct(sql, ')'))
            --depth;
        pieces.push_back({token, depth});
        if (token.isPunct(sql, '('))
            ++depth;
    }
    return depth == 0;
}

// The spans between the commas at depth 0 of span.
std::vector<Span> listItems(std::string_view sql, const std::vector<Piece> &pieces, Span span)
{
    std::vector<Span> items;
    size_t start = span.first;
    for (size_t i = span.first; i < span.last; ++i) {
        if (pieces[i].depth == 0 && pieces[i].token.isPunct(sql, ',')) {
            items.push_back({start, i});
            start = i + 1;
        }
    }
    items.push_back({start, span.last});
    return items;
}

bool isName(const SqlToken &token)
{
    return token.kind == Kind::Word || token.kind == Kind::Name;
}

// A name without its quotes or brackets.
std::string bareName(std::string_view sql, const SqlToken &token)
{
    std::string_view text = token.text(sql);
    if (token.kind == Kind::Name || token.kind == Kind::Text)
        text = text.substr(1, text.size() - 2);
    return std::string(text);
}

// The alias a result column ends with: after AS, or a name right after an operand.
bool aliasOf(std::string_view sql, const std::vector<Piece> &pieces, Span item, std::string &alias)
{
    if (item.last - item.first < 2)
        return false;
    const SqlToken &last = pieces[item.last - 1].token;
    const SqlToken &before = pieces[item.last - 2].token;
    if (!isName(last) && last.kind != Kind::Text)
        return false;
    bool afterOperand = isName(before) || before.kind == Kind::Number || before.kind == Kind::Text ||
                        before.isPunct(sql, ')');
    if (!before.is(sql, "AS") && !afterOperand)
        return false;
    alias = bareName(sql, last);
    return true;
}

// The length of the column reference an item starts with ("a" or "t.a") when nothing but
// an alias follows it; 0 otherwise.
size_t columnReference(std::string_view sql, const std::vector<Piece> &pieces, Span item)
{
    size_t n = item.last - item.first;
    auto at = [&](size_t k) -> const SqlToken & { return pieces[item.first + k].token; };
    size_t length = n >= 3 && isName(at(0)) && at(1).isPunct(sql, '.') && isName(at(2)) ? 3
                    : n >= 1 && isName(at(0))                                          ? 1
                                                                                        : 0;
    std::string alias;
    if (length == 0 || length == n)
        return length;
    return aliasOf(sql, pieces, item, alias) && (n == length + 1 || (n == length + 2 && at(length).is(sql, "AS")))
               ? length
               : 0;
}

// True when an ordering term could mean a result column by position or by alias, which a
// query with other columns would read otherwise.
bool ordersByResultColumn(std::string_view sql, const std::vector<Piece> &pieces, Span term,
                          const std::vector<std::string> &aliases)
{
    if (term.first == term.last || pieces[term.first].token.kind == Kind::Number)
        return true;
    size_t last = term.last;
    if (last - term.first >= 2 && (pieces[last - 1].token.is(sql, "ASC") || pieces[last - 1].token.is(sql, "DESC")))
        --last;
    if (last - term.first >= 3 && pieces[last - 2].token.is(sql, "COLLATE"))
        last -= 2;
    if (last - term.first != 1 || !isName(pieces[term.first].token))
        return false;
    std::string name = bareName(sql, pieces[term.first].token);
    for (const std::string &alias : aliases)
        if (cp1252::equalNoCase(alias, name))
            return true;
    return false;
}

// The INTEGER PRIMARY KEY column among the items that are column references, as written
// in sql, and its number; empty when there is none.
std::string keyColumn(const Connection &connection, std::string_view sql, const std::vector<Piece> &pieces,
                      const std::vector<Span> &items, int &column)
{
    sqlite3_stmt *statement = nullptr;
    if (!prepareOne(connection, sql, statement).ok())
        return {};
    std::string key;
    if (sqlite3_column_count(statement) == int(items.size())) {
        for (size_t i = 0; i < items.size() && key.empty(); ++i) {
            size_t length = columnReference(sql, pieces, items[i]);
            const char *database = sqlite3_column_database_name(statement, int(i));
            const char *table = sqlite3_column_table_name(statement, int(i));
            const char *origin = sqlite3_column_origin_name(statement, int(i));
            const char *type = nullptr;
            int primaryKey = 0;
            if (length == 0 || !database || !table || !origin ||
                sqlite3_table_column_metadata(connection.handle(), database, table, origin, &type, nullptr, nullptr,
                                              &primaryKey, nullptr) != SQLITE_OK)
                continue;
            if (primaryKey && type && cp1252::equalNoCase(type, "INTEGER")) {
                size_t start = pieces[items[i].first].token.start;
                key = sql.substr(start, pieces[items[i].first + length - 1].token.end - start);
                column = int(i);
            }
        }
    }
    sqlite3_finalize(statement);
    return key;
}

// The engine's plan for a query: the loops and the indexes they use, in order. Whether an
// index covers the columns read changes no order.
bool queryPlan(const Connection &connection, std::string_view sql, std::vector<std::string> &plan)
{
    sqlite3_stmt *statement = nullptr;
    if (!prepareOne(connection, "EXPLAIN QUERY PLAN " + std::string(sql), statement).ok())
        return false;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::string step;
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            const unsigned char *text = sqlite3_column_text(statement, column);
            step += text ? reinterpret_cast<const char *>(text) : "";
            step += '|';
        }
        for (size_t at; (at = step.find("COVERING ")) != std::string::npos;)
            step.erase(at, 9);
        plan.push_back(step);
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

// A query cut at its clauses, when its form can be read keys first.
struct Query {
    std::vector<Piece> pieces;
    std::vector<Span> items; // the result columns
    size_t from = 0, where = 0, order = 0, end = 0;
};

bool cut(std::string_view sql, Query &query)
{
    std::vector<Piece> &pieces = query.pieces;
    if (!split(sql, pieces) || pieces.empty() || !pieces[0].token.is(sql, "SELECT"))
        return false;
    size_t columns = 1;
    if (columns < pieces.size() && pieces[columns].token.is(sql, "DISTINCT"))
        return false;
    if (columns < pieces.size() && pieces[columns].token.is(sql, "ALL"))
        ++columns;

    size_t &from = query.from, &where = query.where, &order = query.order, &end = query.end;
    end = pieces.size();
    for (size_t i = columns; i < pieces.size(); ++i) {
        const SqlToken &token = pieces[i].token;
        if (pieces[i].depth != 0)
            continue;
        if (token.isPunct(sql, ';')) {
            for (size_t k = i; k < pieces.size(); ++k)
                if (!pieces[k].token.isPunct(sql, ';'))
                    return false;
            end = i;
            break;
        }
        if (token.kind != Kind::Word)
            continue;
        if (!from && token.is(sql, "FROM"))
            from = i;
        else if (from && !where && !order && token.is(sql, "WHERE"))
            where = i;
        else if (from && !order && token.is(sql, "ORDER"))
            order = i;
        else
            for (std::string_view refused : {"GROUP", "HAVING", "LIMIT", "UNION", "INTERSECT", "EXCEPT", "WINDOW",
                                              "VALUES", "WHERE", "ORDER", "FROM"})
                if (token.is(sql, refused))
                    return false;
    }
    if (!from || from == columns || (order && (order + 2 > end || !pieces[order + 1].token.is(sql, "BY"))))
        return false;

    query.items = listItems(sql, pieces, {columns, from});
    if (query.items.size() < 2)
        return false; // a query of its keys alone is its own keys query
    std::vector<std::string> aliases;
    for (const Span &item : query.items) {
        if (item.first == item.last || pieces[item.last - 1].token.isPunct(sql, '*'))
            return false;
        std::string alias;
        if (aliasOf(sql, pieces, item, alias))
            aliases.push_back(alias);
    }
    if (order)
        for (const Span &term : listItems(sql, pieces, {order + 2, end}))
            if (ordersByResultColumn(sql, pieces, term, aliases))
                return false;
    return true;
}

} // namespace

bool mayReadKeysFirst(std::string_view sql)
{
    Query query;
    return cut(sql, query);
}

bool planKeysFirst(const Connection &connection, std::string_view sql, KeysFirst &plan)
{
    Query query;
    if (!cut(sql, query))
        return false;
    const std::vector<Piece> &pieces = query.pieces;
    std::string key = keyColumn(connection, sql, pieces, query.items, plan.keyColumn);
    if (key.empty())
        return false;
    auto at = [&](size_t piece) { return piece < pieces.size() ? pieces[piece].token.start : sql.size(); };
    size_t bodyStart = at(query.from);
    size_t bodyEnd = at(query.end);
    plan.keys = "SELECT " + key + " " + std::string(sql.substr(bodyStart, bodyEnd - bodyStart));
    plan.rows = std::string(sql.substr(0, query.order ? at(query.order) : bodyEnd));
    size_t headEnd = query.where ? at(query.where) : query.order ? at(query.order) : bodyEnd;
    plan.fetch = std::string(sql.substr(0, headEnd));
    if (query.where) {
        size_t conditionEnd = query.order ? at(query.order) : bodyEnd;
        size_t conditionStart = pieces[query.where].token.end;
        plan.fetch += "WHERE (" + std::string(sql.substr(conditionStart, conditionEnd - conditionStart)) + ") AND ";
    } else {
        plan.fetch += " WHERE ";
    }
    plan.fetch += key + "=?";

    std::vector<std::string> queried, keyed;
    return queryPlan(connection, sql, queried) && queryPlan(connection, plan.keys, keyed) && queried == keyed;
}

} // namespace vasq
