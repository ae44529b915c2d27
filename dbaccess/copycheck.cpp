// The check of a copy just written: the engine's integrity check by other roads, each
// table read once and each index once, in order, rather than an index lookup per row.
#include "copycheck.h"

#include "collation.h"
#include "maintenance.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vasq {
namespace {

using Row = std::vector<std::string>;

// The code of a statement the engine cannot run on a table of another shape (SQLITE_ERROR):
// the table is left to the engine's integrity check.
constexpr int kUnfollowed = -1;

std::uint64_t mix(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

// The hash of one entry: each value's type and bytes, in order.
std::uint64_t entryHash(int count, sqlite3_value **values)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < count; ++i) {
        sqlite3_value *value = values[i];
        const int type = sqlite3_value_type(value);
        h = mix(h + std::uint64_t(type));
        if (type == SQLITE_INTEGER) {
            h = mix(h ^ std::uint64_t(sqlite3_value_int64(value)));
        } else if (type == SQLITE_FLOAT) {
            const double number = sqlite3_value_double(value);
            std::uint64_t bits;
            std::memcpy(&bits, &number, sizeof bits);
            h = mix(h ^ bits);
        } else if (type != SQLITE_NULL) {
            const auto *bytes = static_cast<const unsigned char *>(sqlite3_value_blob(value));
            const int size = sqlite3_value_bytes(value);
            for (int k = 0; k < size; ++k)
                h = (h ^ bytes[k]) * 0x100000001B3ull;
            h = mix(h + std::uint64_t(size));
        }
    }
    return h;
}

// The aggregate vasq_digest(values...): the sum of the entries' hashes, so that two sets of
// entries with one sum are, but for a chance of one in 2^64, the same whatever their order.
void digestStep(sqlite3_context *context, int count, sqlite3_value **values)
{
    if (auto *sum = static_cast<std::uint64_t *>(sqlite3_aggregate_context(context, sizeof(std::uint64_t))))
        *sum += entryHash(count, values);
    else
        sqlite3_result_error_nomem(context);
}

void digestFinal(sqlite3_context *context)
{
    const auto *sum = static_cast<const std::uint64_t *>(sqlite3_aggregate_context(context, 0));
    sqlite3_result_int64(context, sqlite3_int64(sum ? *sum : 0));
}

// One value of an index entry, kept until the next entry is compared with it.
struct Value {
    int type = SQLITE_NULL;
    sqlite3_int64 integer = 0;
    double real = 0;
    std::string bytes;

    void take(sqlite3_value *value)
    {
        type = sqlite3_value_type(value);
        if (type == SQLITE_INTEGER)
            integer = sqlite3_value_int64(value);
        else if (type == SQLITE_FLOAT)
            real = sqlite3_value_double(value);
        else if (type != SQLITE_NULL)
            bytes.assign(static_cast<const char *>(sqlite3_value_blob(value)) ?: "",
                         size_t(sqlite3_value_bytes(value)));
    }
};

// The engine's order of values: nulls, then numbers, then texts, then blobs.
int typeRank(int type)
{
    return type == SQLITE_NULL ? 0 : type == SQLITE_TEXT ? 2 : type == SQLITE_BLOB ? 3 : 1;
}

template <typename T>
int sign(T a, T b)
{
    return (a > b) - (a < b);
}

int compareBytes(std::string_view a, std::string_view b)
{
    const int r = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    return r != 0 ? r : sign(a.size(), b.size());
}

// Two texts as the collation of code compares them (see collationCode).
int compareTexts(std::string_view a, std::string_view b, char code)
{
    if (code == 'E')
        return compareUtf8(a, b);
    if (code == 'N') {
        const int r = sqlite3_strnicmp(a.data(), b.data(), int(std::min(a.size(), b.size())));
        return r != 0 ? r : sign(a.size(), b.size());
    }
    if (code == 'R') {
        a = a.substr(0, a.find_last_not_of(' ') + 1);
        b = b.substr(0, b.find_last_not_of(' ') + 1);
    }
    return compareBytes(a, b);
}

// Two values of one key as the index orders them (code's letter in lower case: descending).
int compareValues(const Value &a, const Value &b, char code)
{
    int r = sign(typeRank(a.type), typeRank(b.type));
    if (r == 0 && a.type == SQLITE_INTEGER && b.type == SQLITE_INTEGER)
        r = sign(a.integer, b.integer);
    else if (r == 0 && typeRank(a.type) == 1) // a long double holds every 64-bit integer
        r = sign(a.type == SQLITE_INTEGER ? (long double)a.integer : (long double)a.real,
                 b.type == SQLITE_INTEGER ? (long double)b.integer : (long double)b.real);
    else if (r == 0 && a.type == SQLITE_TEXT)
        r = compareTexts(a.bytes, b.bytes, char(std::toupper(static_cast<unsigned char>(code))));
    else if (r == 0 && a.type == SQLITE_BLOB)
        r = compareBytes(a.bytes, b.bytes);
    return std::islower(static_cast<unsigned char>(code)) ? -r : r;
}

// What vasq_index_digest keeps from one entry to the next.
struct IndexRead {
    std::uint64_t sum = 0;
    bool ordered = true;
    std::vector<Value> previous, current;
};

// The aggregate vasq_index_digest(codes, entry...) over an index's entries in the order read:
// vasq_digest of the entries, or null when an entry is not after the one before it in the
// index's order (codes: each key's collation, then the rowid's). One comparison per entry.
void indexDigestStep(sqlite3_context *context, int count, sqlite3_value **values)
{
    auto **read = static_cast<IndexRead **>(sqlite3_aggregate_context(context, sizeof(IndexRead *)));
    if (!read)
        return sqlite3_result_error_nomem(context);
    if (!*read)
        *read = new IndexRead;
    IndexRead &r = **read;
    r.sum += entryHash(count - 1, values + 1);
    const auto *codes = sqlite3_value_text(values[0]);
    if (!codes)
        return sqlite3_result_error_nomem(context);
    r.current.resize(size_t(count - 1));
    for (int i = 1; i < count; ++i)
        r.current[size_t(i - 1)].take(values[i]);
    if (!r.previous.empty() && r.ordered) {
        int order = 0;
        for (size_t i = 0; order == 0 && i < r.current.size(); ++i)
            order = compareValues(r.previous[i], r.current[i], char(codes[i]));
        r.ordered = order < 0;
    }
    r.previous.swap(r.current);
}

void indexDigestFinal(sqlite3_context *context)
{
    auto **read = static_cast<IndexRead **>(sqlite3_aggregate_context(context, 0));
    const IndexRead *r = read ? *read : nullptr;
    if (r && !r->ordered)
        sqlite3_result_null(context);
    else
        sqlite3_result_int64(context, sqlite3_int64(r ? r->sum : 0));
    delete r;
}

// The rows of sql as texts; the engine's result code.
int query(sqlite3 *db, const std::string &sql, std::vector<Row> &rows)
{
    rows.clear();
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        Row &row = rows.emplace_back();
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const unsigned char *text = sqlite3_column_text(statement, i);
            row.emplace_back(text ? reinterpret_cast<const char *>(text) : "");
        }
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

std::string quoted(const std::string &name)
{
    std::string text = "\"";
    for (char c : name)
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

struct Index {
    std::string name;
    bool unique = false;
    std::vector<std::string> columns, order; // quoted; each with its collation and direction
    std::string codes = "B";                 // for vasq_index_digest; the rowid's last
};

// One letter for a collation whose order the check follows, 0 for any other: BINARY,
// NOCASE, RTRIM and the library's own.
char collationCode(const std::string &name)
{
    for (const char *known : {"BINARY", "NOCASE", "RTRIM", VASQ_COLLATION})
        if (sqlite3_stricmp(name.c_str(), known) == 0)
            return known[0];
    return 0;
}

struct Table {
    std::string name;
    std::string nulls = "0"; // how many NOT NULL columns of a row are null
    std::vector<Index> indexes;
};

// The table and its indexes in schema; nothing for a shape the check cannot follow.
std::optional<Table> shapeOf(sqlite3 *db, const std::string &schema, const std::string &name)
{
    Table table;
    table.name = name;
    std::vector<Row> rows, keys;
    if (query(db, "PRAGMA " + schema + ".table_info(" + quoted(name) + ")", rows) != SQLITE_OK)
        return std::nullopt;
    for (const Row &column : rows) // cid, name, type, notnull, default, pk
        if (column[3] != "0")
            table.nulls += " + (" + quoted(column[1]) + " IS NULL)";
    if (query(db, "PRAGMA " + schema + ".index_list(" + quoted(name) + ")", rows) != SQLITE_OK)
        return std::nullopt;
    for (const Row &listed : rows) { // seq, name, unique, origin, partial
        if (listed.size() < 5 || listed[4] != "0" ||
            query(db, "PRAGMA " + schema + ".index_xinfo(" + quoted(listed[1]) + ")", keys) != SQLITE_OK)
            return std::nullopt;
        Index index;
        index.name = listed[1];
        index.unique = listed[2] != "0";
        for (const Row &key : keys) { // seqno, cid, name, desc, coll, key
            if (key[5] == "0")
                continue;
            const char code = collationCode(key[4]);
            if (key[1].empty() || key[1][0] == '-' || code == 0)
                return std::nullopt; // an expression, or a collation of another program
            index.codes.insert(index.codes.size() - 1, 1, key[3] == "0" ? code : char(std::tolower(code)));
            index.columns.push_back(quoted(key[2]));
            index.order.push_back(quoted(key[2]) + " COLLATE " + quoted(key[4]) + (key[3] == "0" ? "" : " DESC"));
        }
        table.indexes.push_back(std::move(index));
    }
    return table;
}

// The index's columns, then rowid, joined by ", ".
std::string entry(const Index &index, const char *rowid)
{
    std::string sql;
    for (const std::string &column : index.columns)
        sql += column + ", ";
    return sql + rowid;
}

// The entries of the index, its rowid as rowid_, read from the index in its order: the
// engine reads a table through an index about as wide as the table only for an order.
std::string indexEntries(const Index &index, const std::string &from)
{
    std::string order;
    for (const std::string &key : index.order)
        order += (order.empty() ? " ORDER BY " : ", ") + key;
    return "SELECT " + entry(index, "rowid AS rowid_") + from + " INDEXED BY " + quoted(index.name) + order;
}

// The number of keys that a unique index holds more than once (nulls never repeat a key).
std::string repeatedKeys(const Index &index, const std::string &from)
{
    std::string present, keys;
    for (size_t i = 0; i < index.columns.size(); ++i) {
        present += (i ? " AND " : " WHERE ") + index.columns[i] + " IS NOT NULL";
        keys += (i ? ", " : " GROUP BY ") + index.order[i];
    }
    return "SELECT count(*) FROM (SELECT 1 FROM (" + indexEntries(index, from) + ")" + present + keys +
           " HAVING count(*) > 1)";
}

Status finding(const char *what, const std::string &name)
{
    return engineFinding(SQLITE_CORRUPT, std::string(what) + " " + cp1252::fromUtf8(name));
}

// The table checked; nothing for a table the check cannot read so (one without rowid).
std::optional<Status> checkTable(Connection &connection, const std::string &schema, const Table &table)
{
    sqlite3 *db = connection.handle();
    const std::string from = " FROM " + schema + "." + quoted(table.name);
    std::string sql = "SELECT coalesce(sum(" + table.nulls + "), 0)";
    for (const Index &index : table.indexes)
        sql += ", vasq_digest(" + entry(index, "rowid") + ")";
    std::vector<Row> scanned, read;
    auto run = [&](const std::string &text, std::vector<Row> &rows) {
        const int rc = query(db, text, rows);
        if (rc == SQLITE_OK)
            return std::optional<Status>();
        return std::optional<Status>(rc == SQLITE_ERROR ? Status{kUnfollowed, {}} : connection.failure(rc));
    };
    std::optional<Status> failed = run(sql + from + " NOT INDEXED", scanned);
    if (!failed && scanned[0][0] != "0")
        failed = finding("Hay valores nulos en columnas que no los admiten en la tabla", table.name);
    for (size_t i = 0; !failed && i < table.indexes.size(); ++i) {
        const Index &index = table.indexes[i];
        failed = run("SELECT vasq_index_digest('" + index.codes + "', " + entry(index, "rowid_") + ") FROM (" +
                         indexEntries(index, from) + ")",
                     read);
        if (!failed && read[0][0].empty())
            failed = finding("Hay entradas fuera de orden en el \xEDndice", index.name);
        if (!failed && read[0][0] != scanned[0][i + 1])
            failed = finding("Las entradas del \xEDndice no son las filas de su tabla:", index.name);
        if (!failed && index.unique)
            failed = run(repeatedKeys(index, from), read);
        if (!failed && index.unique && read[0][0] != "0")
            failed = finding("Hay claves repetidas en el \xEDndice \xFAnico", index.name);
    }
    if (failed && failed->code == kUnfollowed)
        return std::nullopt;
    return failed ? *failed : Status();
}

} // namespace

Status checkCopy(Connection &connection, const char *schema)
{
    Status status = checkIntegrity(connection, schema, true);
    sqlite3 *db = connection.handle();
    int rc = SQLITE_OK;
    if (status.ok())
        rc = sqlite3_create_function(db, "vasq_digest", -1, SQLITE_UTF8, nullptr, nullptr, digestStep, digestFinal);
    if (rc == SQLITE_OK && status.ok())
        rc = sqlite3_create_function(db, "vasq_index_digest", -1, SQLITE_UTF8, nullptr, nullptr, indexDigestStep,
                                     indexDigestFinal);
    std::vector<Row> tables;
    if (status.ok() && rc == SQLITE_OK)
        rc = query(db,
                   std::string("SELECT name FROM ") + schema +
                       ".sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
                   tables);
    if (rc != SQLITE_OK)
        return connection.failure(rc);
    for (size_t i = 0; status.ok() && i < tables.size(); ++i) {
        const std::optional<Table> table = shapeOf(db, schema, tables[i][0]);
        const std::optional<Status> checked = table ? checkTable(connection, schema, *table) : std::nullopt;
        if (!checked)
            return checkIntegrity(connection, schema);
        status = *checked;
    }
    return status;
}

} // namespace vasq
