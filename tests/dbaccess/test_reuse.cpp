// Reuse of prepared statements: which literals a statement's shape lifts, and that every
// statement run through a kept, rebound statement gives what the engine gives for its
// text prepared afresh.
#include "collation.h"
#include "connection.h"
#include "database.h"
#include "dbtest.h"
#include "jet.h"
#include "rowtext.h"
#include "shape.h"

#include <cp1252.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <optional>

namespace {

using dbtest::exec;
using dbtest::lastErrorText;
using dbtest::rows;

struct Lifting {
    const char *sql;
    const char *shape;
    std::vector<std::string> values;
    const char *why;
};

const Lifting kLiftings[] = {
    {"INSERT INTO t (a, b, c) VALUES ('O''Brien', 12.50, 7)", "INSERT INTO t (a, b, c) VALUES (?, ?, ?)",
     {"O'Brien", "12.50", "7"}, "a doubled quote is one quote of the value"},
    {"UPDATE t SET a='x' WHERE id=5 AND b=-3", "UPDATE t SET a=? WHERE id=? AND b=-?", {"x", "5", "3"},
     "a sign stays an operator of the statement"},
    {"SELECT 'lit', 1+1, a FROM t WHERE b='[x] #1 & y=z'", "SELECT 'lit', 1+1, a FROM t WHERE b=?",
     {"[x] #1 & y=z"}, "result columns are named by their text"},
    {"SELECT a FROM t WHERE b IN (SELECT 3 FROM u WHERE c=4) ORDER BY 1 LIMIT 10",
     "SELECT a FROM t WHERE b IN (SELECT 3 FROM u WHERE c=?) ORDER BY 1 LIMIT ?", {"4", "10"},
     "a subquery's own result column and the ordering by position stay"},
    {"SELECT (SELECT MAX(x) FROM u WHERE c=4) AS m FROM t GROUP BY 2",
     "SELECT (SELECT MAX(x) FROM u WHERE c=4) AS m FROM t GROUP BY 2", {},
     "inside a result column everything is its name"},
    {"SELECT a FROM t WHERE b=-0.0 OR c=0.0 OR d=1e3 OR e=0x1F OR f=.5 OR g=9223372036854775808",
     "SELECT a FROM t WHERE b=-0.0 OR c=? OR d=1e3 OR e=0x1F OR f=.5 OR g=9223372036854775808", {"0.0"},
     "only plain decimals and integers that fit are bound; a negative zero keeps its sign"},
    {"SELECT a FROM t WHERE b=\"x\" AND c=[y] AND d=x'00'", "SELECT a FROM t WHERE b=\"x\" AND c=[y] AND d=x'00'", {},
     "names and blobs are no texts"},
    {"SELECT a FROM t WHERE b=? AND c='x'", "SELECT a FROM t WHERE b=? AND c='x'", {},
     "a statement with a parameter of its own keeps its literals"},
    {"SELECT a FROM t -- 'x'\nWHERE c='x'", "SELECT a FROM t -- 'x'\nWHERE c='x'", {}, "and one with a comment"},
    {"CREATE TABLE t (a TEXT DEFAULT 'x')", "CREATE TABLE t (a TEXT DEFAULT 'x')", {},
     "a change of the schema takes no parameter"},
};

class StatementShape : public ::testing::TestWithParam<Lifting> {};

TEST_P(StatementShape, LiftsOnlyWhatMeansTheSameBound)
{
    const Lifting &row = GetParam();
    vasq::Shape shape;
    vasq::buildShape(row.sql, shape);
    EXPECT_EQ(shape.text, row.shape) << row.why;
    std::vector<std::string> values;
    for (const vasq::Shape::Literal &literal : shape.literals)
        values.emplace_back(shape.value(literal));
    EXPECT_EQ(values, row.values) << row.why;
}

INSTANTIATE_TEST_SUITE_P(Statements, StatementShape, ::testing::ValuesIn(kLiftings));

// What one statement gave: its code, error text, changed rows and row texts.
struct Outcome {
    int code = 0;
    std::string text;
    int changes = 0;
    std::vector<std::string> rows;

    bool operator==(const Outcome &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Outcome &o)
{
    out << o.code << " [" << o.text << "] changes " << o.changes;
    for (const std::string &row : o.rows)
        out << "\n  " << row;
    return out;
}

// The engine on its own: each statement translated and prepared afresh, nothing bound.
class FreshEngine {
public:
    explicit FreshEngine(const std::string &path)
    {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_key(m_db, dbtest::kPassword, int(std::strlen(dbtest::kPassword)));
        sqlite3_exec(m_db, ("PRAGMA cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE)).c_str(), nullptr, nullptr,
                     nullptr);
        vasq::registerCollation(m_db);
    }
    ~FreshEngine() { sqlite3_close_v2(m_db); }

    Outcome run(const std::string &sql, bool query)
    {
        Outcome outcome;
        std::string translated;
        vasq::Status status = vasq::translateJet(sql, translated);
        sqlite3_stmt *statement = nullptr;
        if (status.ok()) {
            std::string utf8 = cp1252::toUtf8(translated);
            int rc = sqlite3_prepare_v2(m_db, utf8.c_str(), -1, &statement, nullptr);
            if (rc != SQLITE_OK)
                status = vasq::engineFailure(m_db, rc);
        }
        if (status.ok()) {
            int before = sqlite3_total_changes(m_db);
            std::optional<vasq::RowTextBuilder> builder;
            int rc;
            while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
                if (!builder)
                    builder.emplace(statement);
                outcome.rows.push_back(builder->row(statement));
            }
            if (rc != SQLITE_DONE)
                status = vasq::engineFailure(m_db, rc);
            else if (!query)
                outcome.changes = sqlite3_total_changes(m_db) - before;
        }
        sqlite3_finalize(statement);
        outcome.code = status.code;
        outcome.text = status.text;
        if (!status.ok())
            outcome.rows.clear();
        return outcome;
    }

private:
    sqlite3 *m_db = nullptr;
};

Outcome throughLibrary(const std::string &sql, bool query)
{
    Outcome outcome;
    if (query) {
        std::vector<std::string> *collected = &outcome.rows;
        static std::vector<std::string> *target;
        target = collected;
        outcome.code = VASQ_GetData(sql.c_str(), [](char *row, char *, int) { target->push_back(row); });
    } else {
        outcome.code = VASQ_ExecSQL(sql.c_str(), &outcome.changes);
    }
    outcome.text = outcome.code ? lastErrorText() : "";
    if (outcome.code)
        outcome.rows.clear();
    return outcome;
}

const char *const kSchema[] = {
    "CREATE TABLE [Cuentas()] (Id AUTOINCREMENT, Nombre TEXT COLLATE ESNOCASE, Importe NUMERIC, Entero INTEGER, "
    "Real_ REAL, Fecha DATE, Activo BOOLEAN, Libre, Codigo TEXT UNIQUE, Block INTEGER NOT NULL DEFAULT 0, "
    "CHECK (Entero IS NULL OR Entero < 1000000))",
    "CREATE TRIGGER [Cuentas_Importe] AFTER UPDATE OF Importe ON [Cuentas()] "
    "WHEN typeof(NEW.Importe) NOT IN ('integer', 'real', 'null') BEGIN SELECT RAISE(ABORT, 'Importe no numerico'); END",
};

struct Step {
    const char *sql;
    bool query;
};

// Run twice in a row: the second pass finds every shape kept by the first.
const Step kSteps[] = {
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Fecha, Activo, Libre, Codigo) VALUES "
     "('O''Brien [x] #1 & a=b', 12.50, 7, 1.5, #2024/01/31#, TRUE, 'libre', 'A')", false},
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Fecha, Activo, Libre, Codigo) VALUES "
     "('Nu\xF1" "ez \x01\x02\x7f\x80\xFF', -12.50, -7, -0.0, '2024/02/29', FALSE, 5, 'B')", false},
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Fecha, Activo, Libre, Codigo) VALUES "
     "('', 0.0, 007, .5, '', true, 1e3, 'C')", false},
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Fecha, Activo, Libre, Codigo) VALUES "
     "('max', 9223372036854775807, 9223372036854775807, 9223372036854775808, NULL, 1, 0x1F, 'D')", false},
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Fecha, Activo, Libre, Codigo) VALUES "
     "('min', -9223372036854775808, -9223372036854775807, 5., NULL, 0, x'00ff', 'E')", false},
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Fecha, Activo, Libre, Codigo) VALUES "
     "('texto', '1234.50', '42', '3.25', '2024/12/01', 'TRUE', '0012', 'F')", false},
    {"INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Real_, Libre, Codigo) VALUES "
     "('decimales', 0.1, 3, 123456789012345.678, 0.30000000000000004, 'G')", false},
    {"SELECT Id, Nombre FROM [Cuentas()] WHERE Importe = '12.5'", true},
    {"SELECT Id FROM [Cuentas()] WHERE Importe = '12.50' OR Entero = '7' OR Entero = '042'", true},
    {"SELECT Id FROM [Cuentas()] WHERE Nombre = 'NU\xD1" "EZ \x01\x02\x7f\x80\xFF'", true},
    {"SELECT Id FROM [Cuentas()] WHERE Libre = 5 OR Libre = '0012' OR Libre = 12", true},
    {"SELECT Id, 1+1, 'lit', Importe * 2, -0.0 FROM [Cuentas()] WHERE Id > 1 ORDER BY 2, 1", true},
    {"SELECT Activo, COUNT(*) FROM [Cuentas()] GROUP BY 1 HAVING COUNT(*) > 0 ORDER BY 1", true},
    {"SELECT Nombre FROM [Cuentas()] WHERE Nombre LIKE 'n%' OR Nombre > 'M' ORDER BY Nombre LIMIT 2 OFFSET 1", true},
    {"SELECT Id FROM [Cuentas()] WHERE Fecha BETWEEN #2024/01/01# AND #2024/12/31# ORDER BY Id", true},
    {"SELECT Id FROM [Cuentas()] WHERE Id IN (1, 3, 5) AND Real_ <> -0.0", true},
    {"SELECT Id, Real_ FROM [Cuentas()] WHERE Real_ = -0.0 OR Real_ = 123456789012345.678", true},
    {"SELECT Nombre AS 'Alias' FROM [Cuentas()] AS 'c' WHERE Id = 1", true},
    {"SELECT Id FROM [Cuentas()] WHERE likelihood(Id = 1, 0.5)", true},
    {"SELECT Id FROM [Cuentas()] WHERE Nombre = 'a' 'b'", true},
    {"SELECT CASE WHEN Importe > 100 THEN 'alto' ELSE 'bajo' END AS Nivel FROM [Cuentas()] WHERE Importe > -1", true},
    {"UPDATE [Cuentas()] SET [Cuentas()].Importe = 99.99, Libre = 'x' WHERE Id = 1", false},
    {"UPDATE [Cuentas()] SET Importe = '1,5' WHERE Id = 2", false},
    {"UPDATE [Cuentas()] SET Importe = '1.5' WHERE Id = 2", false},
    {"INSERT INTO [Cuentas()] (Codigo) VALUES ('A')", false},
    {"INSERT INTO [Cuentas()] (Codigo) VALUES ('Z')", false},
    {"UPDATE [Cuentas()] SET Entero = 2000000 WHERE Id = 3", false},
    {"DELETE * FROM [Cuentas()] WHERE Codigo = 'Z'", false},
    {"SELECT typeof(Importe) AS a, typeof(Entero) AS b, typeof(Real_) AS c, typeof(Libre) AS d, quote(Importe) AS e, "
     "quote(Real_) AS f, quote(Libre) AS g, * FROM [Cuentas()] ORDER BY Id",
     true},
};

class Reuse : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        for (const char *sql : kSchema)
            exec(sql);
    }

    size_t kept() { return vasq::state().main.statements().size(); }
};

TEST_F(Reuse, EveryStatementGivesWhatTheEngineGivesForItsOwnText)
{
    std::string plain = dir.file("fresca.mdb");
    createDatabase(plain);
    {
        ASSERT_EQ(VASQ_OpenDB(plain.c_str(), 0, 0), 0);
        for (const char *sql : kSchema)
            exec(sql);
        VASQ_CloseDB();
    }
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    FreshEngine engine(plain);
    for (int pass = 1; pass <= 2; ++pass) {
        for (const Step &step : kSteps) {
            Outcome expected = engine.run(step.sql, step.query);
            EXPECT_EQ(throughLibrary(step.sql, step.query), expected) << "pass " << pass << ": " << step.sql;
        }
    }
}

TEST_F(Reuse, AShapeRunsWithEachCallsOwnValues)
{
    exec("INSERT INTO [Cuentas()] (Nombre, Importe) VALUES ('uno', 1.25)");
    size_t before = kept();
    exec("INSERT INTO [Cuentas()] (Nombre, Importe) VALUES ('dos', 2.5)");
    EXPECT_EQ(kept(), before) << "the second insert reused the first one's statement";
    EXPECT_EQ(rows("SELECT Nombre, Importe FROM [Cuentas()] WHERE Id = 2"),
              std::vector<std::string>{"Nombre=dos&Importe=2.5"});
    EXPECT_EQ(rows("SELECT Nombre, Importe FROM [Cuentas()] WHERE Id = 1"),
              std::vector<std::string>{"Nombre=uno&Importe=1.25"});
    EXPECT_EQ(rows("SELECT Nombre FROM [Cuentas()] WHERE Id = 3"), std::vector<std::string>{})
        << "no value is left over from an earlier call";
}

TEST_F(Reuse, SchemaChangesBetweenUsesGiveNoStaleRowsOnEitherConnection)
{
    exec("CREATE INDEX [Cuentas_Nombre] ON [Cuentas()] (Nombre)");
    exec("INSERT INTO [Cuentas()] (Nombre) VALUES ('uno')");
    const std::string query = "SELECT * FROM [Cuentas()] WHERE Nombre = 'uno'";
    ASSERT_EQ(rows(query).size(), 1u);

    exec("ALTER TABLE [Cuentas()] ADD COLUMN Nueva TEXT DEFAULT 'n'");
    std::vector<std::string> got = rows(query);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("&Nueva=n"), std::string::npos) << "a new column shows: " << got[0];

    ASSERT_EQ(C_Exec("DROP INDEX [Cuentas_Nombre]", nullptr), 0) << "another connection drops the index";
    ASSERT_EQ(C_Exec("ALTER TABLE [Cuentas()] ADD COLUMN Otra INTEGER DEFAULT 4", nullptr), 0);
    got = rows(query);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("&Otra=4"), std::string::npos) << got[0];

    ASSERT_EQ(C_Exec("DROP TABLE [Cuentas()]", nullptr), 0);
    EXPECT_EQ(VASQ_GetData(query.c_str(), [](char *, char *, int) { FAIL() << "a dropped table has no rows"; }),
              VASQ_ENGINE_ERROR_BASE + 1);
    EXPECT_EQ(lastErrorText(), "(ERROR 100001) no such table: Cuentas()");
    ASSERT_EQ(C_Exec("CREATE TABLE [Cuentas()] (Nombre TEXT, Id INTEGER)", nullptr), 0);
    ASSERT_EQ(C_Exec("INSERT INTO [Cuentas()] VALUES ('uno', 9)", nullptr), 0);
    EXPECT_EQ(rows(query), std::vector<std::string>{"Nombre=uno&Id=9"}) << "the new table's columns";
}

TEST_F(Reuse, AFailingStatementDoesNotPoisonItsShape)
{
    exec("INSERT INTO [Cuentas()] (Codigo, Importe) VALUES ('A', 1)");
    const char *const failing[] = {
        "INSERT INTO [Cuentas()] (Codigo, Importe) VALUES ('A', 2)",     // unique code
        "UPDATE [Cuentas()] SET Importe = '1,5' WHERE Codigo = 'A'",     // the trigger refuses it
        "UPDATE [Cuentas()] SET Entero = 1000001 WHERE Codigo = 'A'",    // the check refuses it
    };
    const char *const passing[] = {
        "INSERT INTO [Cuentas()] (Codigo, Importe) VALUES ('B', 2)",
        "UPDATE [Cuentas()] SET Importe = '1.5' WHERE Codigo = 'A'",
        "UPDATE [Cuentas()] SET Entero = 999999 WHERE Codigo = 'A'",
    };
    for (size_t i = 0; i < std::size(failing); ++i) {
        EXPECT_GT(VASQ_ExecSQL(failing[i], nullptr), VASQ_ENGINE_ERROR_BASE) << failing[i];
        EXPECT_EQ(exec(passing[i]), 1) << passing[i];
    }
    EXPECT_EQ(rows("SELECT Codigo, Importe, Entero FROM [Cuentas()] ORDER BY Codigo"),
              (std::vector<std::string>{"Codigo=A&Importe=1.5&Entero=999999", "Codigo=B&Importe=2&Entero=NULL"}));
}

TEST_F(Reuse, KeptStatementsStayBoundedOverManyShapes)
{
    exec("INSERT INTO [Cuentas()] (Nombre) VALUES ('uno')");
    for (int i = 0; i < 10000; ++i) {
        // A number among the result columns names the column: each is a shape of its own.
        std::string sql = "SELECT " + std::to_string(i) + " AS N, Nombre FROM [Cuentas()] WHERE Id = 1";
        std::vector<std::string> got = rows(sql);
        ASSERT_EQ(got, std::vector<std::string>{"N=" + std::to_string(i) + "&Nombre=uno"});
        ASSERT_LE(kept(), vasq::Connection::kKeptStatements);
    }
    VASQ_CloseDB();
    EXPECT_EQ(kept(), 0u) << "closing finalizes them";
}

// Statements prepared once by the program and run with its own values.
TEST_F(Reuse, APreparedStatementRunsManyTimesWithTheValuesBoundAndInTheTransaction)
{
    int insert = 0;
    ASSERT_EQ(VASQ_Prepare("INSERT INTO [Cuentas()] (Nombre, Importe, Entero, Activo) VALUES (?, ?, ?, TRUE)", &insert), 0)
        << lastErrorText();
    ASSERT_GT(insert, 0);
    struct Fila {
        const char *nombre;
        const char *importe;
        long long entero;
    };
    const Fila filas[] = {{"Nu\xF1" "ez & O'Brien", "1234.50", 7}, {nullptr, "12", -3}, {"", nullptr, 0}};
    std::vector<long long> keys;
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    for (const Fila &f : filas) {
        ASSERT_EQ(VASQ_BindText(insert, 1, f.nombre), 0);
        ASSERT_EQ(VASQ_BindText(insert, 2, f.importe), 0);
        ASSERT_EQ(VASQ_BindInteger(insert, 3, f.entero), 0);
        int changed = 0;
        ASSERT_EQ(VASQ_Step(insert, &changed), 0) << lastErrorText();
        EXPECT_EQ(changed, 1);
        keys.push_back(VASQ_GetLastInsertID());
    }
    EXPECT_EQ(keys, (std::vector<long long>{1, 2, 3}));
    EXPECT_EQ(C_Exec("INSERT INTO [Cuentas()] (Nombre) VALUES ('otra copia')", nullptr), 1)
        << "the first write took this copy's write lock";
    ASSERT_EQ(VASQ_CommitTrans(), 0);
    EXPECT_EQ(rows("SELECT Nombre, Importe, Entero FROM [Cuentas()] ORDER BY Id"),
              (std::vector<std::string>{"Nombre=Nu\xF1" "ez \x01 O'Brien&Importe=1234.5&Entero=7",
                                        "Nombre=NULL&Importe=12&Entero=-3", "Nombre=&Importe=NULL&Entero=0"}))
        << "a null text is NULL, an empty one stays, an amount's text is stored as its number";

    ASSERT_EQ(VASQ_BeginTrans(), 0);
    EXPECT_EQ(VASQ_Step(insert, nullptr), 0) << "the last values stay bound";
    ASSERT_EQ(VASQ_Rollback(), 0);
    EXPECT_EQ(rows("SELECT Id FROM [Cuentas()]").size(), 3u) << "a rollback undoes it";
    EXPECT_EQ(VASQ_Finalize(insert), 0);
}

TEST_F(Reuse, APreparedStatementThatFailsReportsItAndRunsAgain)
{
    int update = 0, query = 0;
    exec("INSERT INTO [Cuentas()] (Codigo, Importe) VALUES ('A', 1)");
    ASSERT_EQ(VASQ_Prepare("UPDATE [Cuentas()] SET Importe = ? WHERE Codigo = ?", &update), 0);
    ASSERT_EQ(VASQ_Prepare("SELECT Codigo, Importe FROM [Cuentas()] WHERE Codigo = ?", &query), 0);
    EXPECT_EQ(VASQ_BindText(update, 3, "x"), VASQ_ERR_ARGUMENT) << "a value the statement lacks";
    ASSERT_EQ(VASQ_BindText(update, 1, "1,5"), 0);
    ASSERT_EQ(VASQ_BindText(update, 2, "A"), 0);
    EXPECT_EQ(VASQ_Step(update, nullptr), VASQ_ENGINE_ERROR_BASE + SQLITE_CONSTRAINT_TRIGGER);
    EXPECT_NE(lastErrorText().find("Importe no numerico"), std::string::npos);
    ASSERT_EQ(VASQ_BindText(update, 1, "2.25"), 0);
    int changed = 0;
    ASSERT_EQ(VASQ_Step(update, &changed), 0);
    EXPECT_EQ(changed, 1);

    static std::vector<std::string> got;
    got.clear();
    ASSERT_EQ(VASQ_BindText(query, 1, "A"), 0);
    ASSERT_EQ(VASQ_StepQuery(query, [](char *row, char *, int count) {
                  got.push_back(row + std::string(" de ") + std::to_string(count));
              }),
              0);
    EXPECT_EQ(got, std::vector<std::string>{"Codigo=A&Importe=2.25 de 1"});
    EXPECT_EQ(VASQ_StepQuery(update, [](char *, char *, int) {}), VASQ_ERR_STATEMENT);

    VASQ_CloseDB();
    EXPECT_EQ(VASQ_Step(update, nullptr), VASQ_ERR_NOTOPEN);
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    EXPECT_EQ(VASQ_Step(update, nullptr), VASQ_ERR_ARGUMENT) << "closing finalized it";
    EXPECT_EQ(VASQ_Finalize(query), VASQ_ERR_ARGUMENT);
    int again = 0;
    ASSERT_EQ(VASQ_Prepare("SELECT 1", &again), 0);
    EXPECT_GT(again, query) << "a handle is never handed out twice";
    EXPECT_EQ(VASQ_Prepare("SELECT 1; SELECT 2", &again), VASQ_ERR_STATEMENT);
    EXPECT_EQ(again, 0);
}

} // namespace
