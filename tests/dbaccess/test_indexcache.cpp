// The index cache read keys first: which queries qualify, that every query gives the
// rows a plain read gives, in the same order, and that the rows stay the snapshot of the
// moment of the fill while they are read in the background.
#include "database.h"
#include "dbtest.h"
#include "jet.h"
#include "keysfirst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using dbtest::exec;
using dbtest::lastErrorText;
using dbtest::rows;

constexpr int kBills = 3000;

const char *const kBillColumns =
    "SELECT [Documentos()].Situacion, [Librados( Datos )].Razon_social, [Documentos()].Importe, "
    "[Documentos()].Id_documento, [Documentos()].Activo, [Documentos()].F_vencimiento, [Remesas()].Id_moneda ";
const char *const kBillJoin =
    "FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] ON [Librados( Datos )].Id_librado = "
    "[Documentos()].Id_librado) ON [Remesas()].Id_remesa = [Documentos()].Id_remesa WHERE "
    "((([Documentos()].Id_remesa)=1)) ";

std::string bills(const std::string &orderBy)
{
    return std::string(kBillColumns) + kBillJoin + orderBy;
}

class IndexCache : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        exec("CREATE TABLE [Remesas()] (Id_remesa AUTOINCREMENT, Id_moneda TEXT(3) COLLATE ESNOCASE)");
        exec("CREATE TABLE [Librados( Datos )] (Id_librado AUTOINCREMENT, Razon_social TEXT(50) COLLATE ESNOCASE)");
        exec("CREATE TABLE [Documentos()] (Id_documento AUTOINCREMENT, Id_remesa INTEGER, Id_librado INTEGER, "
             "Importe NUMERIC, Activo BOOLEAN, F_vencimiento DATE, Situacion INTEGER NOT NULL DEFAULT 0)");
        // The engine walks a batch's bills by amount: rows that tie on the order come in
        // that walk's order, which is not the keys' order.
        exec("CREATE INDEX [Documentos_Remesa] ON [Documentos()] (Id_remesa, Importe)");
        exec("INSERT INTO [Remesas()] (Id_moneda) VALUES ('EUR')");
        exec("INSERT INTO [Remesas()] (Id_moneda) VALUES ('ESP')");
        // Few drawees for many bills: names tie, and case and accents tie on letters.
        const char *const names[] = {"\xC1lvarez",    "alvarez", "Nu\xF1" "ez", "NUNEZ",
                                     "Ortiz & Hijos", "b=c",     "",             nullptr};
        for (const char *name : names)
            exec(name ? std::string("INSERT INTO [Librados( Datos )] (Razon_social) VALUES ('") + name + "')"
                      : std::string("INSERT INTO [Librados( Datos )] (Razon_social) VALUES (NULL)"));
        ASSERT_EQ(VASQ_BeginTrans(), 0);
        for (int i = 0; i < kBills; ++i)
            exec("INSERT INTO [Documentos()] (Id_remesa, Id_librado, Importe, Activo, F_vencimiento) VALUES (" +
                 std::to_string(i % 7 == 0 ? 2 : 1) + ", " + std::to_string(1 + (i * 5) % 8) + ", " +
                 std::to_string(i % 50) + ".25, " + (i % 3 ? "TRUE" : "FALSE") + ", '2024/0" +
                 std::to_string(1 + i % 9) + "/15')");
        ASSERT_EQ(VASQ_CommitTrans(), 0);
    }

    // Every row of the index cache, read in the order given (all rows by default).
    std::vector<std::string> indexRows(const std::string &sql, bool backwards = false)
    {
        int count = -1;
        EXPECT_EQ(C_InicIndexData(sql.c_str(), &count), 0) << lastErrorText();
        std::vector<std::string> got(size_t(std::max(count, 0)));
        char buffer[2048];
        for (int k = 0; k < count; ++k) {
            int n = backwards ? count - 1 - k : k;
            EXPECT_EQ(C_IndexDataSize(n, buffer, sizeof buffer), 0) << "row " << n;
            got[size_t(n)] = buffer;
        }
        return got;
    }

    bool holdsSnapshot() { return vasq::state().index.holdsSnapshot(); }
};

struct Plan {
    const char *sql;
    bool keysFirst;
    const char *why;
};

const Plan kPlans[] = {
    {"ORDER BY [Librados( Datos )].Razon_social", true, "the bills grid's first order"},
    {"ORDER BY [Documentos()].Importe DESC, [Librados( Datos )].Razon_social", true, "several terms, a direction"},
    {"", true, "no order at all"},
    {"ORDER BY Razon_social", true, "a bare name that is no alias reads a table's column either way"},
    {"ORDER BY 2", false, "a position means a column of the query's own"},
    {"ORDER BY Situacion COLLATE NOCASE", true, "a collation of the term"},
};

class KeysFirstPlan : public IndexCache, public ::testing::WithParamInterface<Plan> {};

TEST_P(KeysFirstPlan, QualifiesOnlyWhenTheKeysGiveTheQuerysRows)
{
    std::string sql;
    ASSERT_TRUE(vasq::translateJet(bills(GetParam().sql), sql).ok());
    vasq::KeysFirst plan;
    EXPECT_EQ(vasq::planKeysFirst(vasq::state().main, sql, plan), GetParam().keysFirst) << GetParam().why;
    if (GetParam().keysFirst) {
        EXPECT_EQ(plan.keys.rfind("SELECT [Documentos()].Id_documento FROM ", 0), 0u) << plan.keys;
        EXPECT_EQ(plan.keyColumn, 3);
        EXPECT_NE(plan.fetch.find("WHERE ( ((([Documentos()].Id_remesa)=1)) ) AND [Documentos()].Id_documento=?"),
                  std::string::npos)
            << plan.fetch;
    }
}

INSTANTIATE_TEST_SUITE_P(Bills, KeysFirstPlan, ::testing::ValuesIn(kPlans));

struct Refusal {
    const char *sql;
    const char *why;
};

const Refusal kRefusals[] = {
    {"SELECT DISTINCT Id_documento, Importe FROM [Documentos()]", "DISTINCT merges rows"},
    {"SELECT * FROM [Documentos()] ORDER BY Importe", "a star hides which column is the key"},
    {"SELECT Id_remesa, COUNT(*) AS n FROM [Documentos()] GROUP BY Id_remesa", "grouped rows have no key"},
    {"SELECT Id_documento, Importe AS Id_remesa FROM [Documentos()] ORDER BY Id_remesa",
     "the order names an alias of the query"},
    {"SELECT Importe, Situacion FROM [Documentos()] ORDER BY Importe", "no key among the columns"},
    {"SELECT Id_documento FROM [Documentos()] LIMIT 5", "a limit"},
    {"SELECT Id_documento FROM [Documentos()] UNION SELECT Id_remesa FROM [Remesas()]", "a compound query"},
    {"SELECT Id_documento FROM [Documentos()] WHERE Id_documento = ?", "a parameter of its own"},
    {"SELECT Id_documento FROM [Documentos()] ORDER BY Importe", "a query of keys alone gains nothing"},
};

class KeysFirstRefusal : public IndexCache, public ::testing::WithParamInterface<Refusal> {};

TEST_P(KeysFirstRefusal, IsReadWholeInstead)
{
    vasq::KeysFirst plan;
    EXPECT_FALSE(vasq::planKeysFirst(vasq::state().main, GetParam().sql, plan)) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(Queries, KeysFirstRefusal, ::testing::ValuesIn(kRefusals));

TEST_F(IndexCache, EveryQueryGivesThePlainReadsRowsInItsOrder)
{
    const std::string queries[] = {
        bills("ORDER BY [Librados( Datos )].Razon_social"),
        bills("ORDER BY [Librados( Datos )].Razon_social DESC"),
        bills("ORDER BY [Documentos()].Importe DESC, [Librados( Datos )].Razon_social"),
        bills("ORDER BY [Documentos()].F_vencimiento"),
        bills(""),
        // Read whole: one drawee's key comes once per bill, a left join gives no key.
        "SELECT [Librados( Datos )].Id_librado, [Documentos()].Importe FROM [Librados( Datos )] INNER JOIN "
        "[Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado ORDER BY [Documentos()].Importe",
        "SELECT [Documentos()].Id_documento, [Librados( Datos )].Razon_social FROM [Librados( Datos )] LEFT JOIN "
        "[Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado AND [Documentos()].Importe > 48 "
        "ORDER BY [Librados( Datos )].Razon_social",
        "SELECT Importe, COUNT(*) AS n FROM [Documentos()] GROUP BY Importe ORDER BY n DESC, Importe",
    };
    for (const std::string &sql : queries) {
        std::vector<std::string> plain = rows(sql);
        EXPECT_EQ(indexRows(sql), plain) << sql;
        EXPECT_EQ(indexRows(sql, true), plain) << "read backwards, while the reader runs: " << sql;
    }
}

TEST_F(IndexCache, RowsStayTheSnapshotOfTheFillWhileTheyAreRead)
{
    const std::string sql = bills("ORDER BY [Librados( Datos )].Razon_social");
    std::vector<std::string> before = rows(sql);
    int count = -1;
    ASSERT_EQ(C_InicIndexData(sql.c_str(), &count), 0);
    ASSERT_EQ(count, int(before.size()));
    // Changes right after the fill, through both connections, before most rows are read.
    exec("DELETE FROM [Documentos()] WHERE Id_documento % 2 = 0");
    ASSERT_EQ(C_Exec("UPDATE [Documentos()] SET Importe = 0", nullptr), 0);
    exec("INSERT INTO [Documentos()] (Id_remesa, Id_librado, Importe) VALUES (1, 1, 99)");
    char buffer[2048];
    for (int n = count - 1; n >= 0; --n) {
        ASSERT_EQ(C_IndexDataSize(n, buffer, sizeof buffer), 0);
        ASSERT_EQ(before[size_t(n)], buffer) << "row " << n;
    }
    EXPECT_EQ(C_IndexDataSize(count, buffer, sizeof buffer), 1) << "the new bill is not in the snapshot";
    EXPECT_FALSE(holdsSnapshot()) << "once every row is read the snapshot is let go";
    EXPECT_NE(rows(sql), before) << "a new fill sees the changes";
}

TEST_F(IndexCache, ATransactionThatWroteSeesItsOwnRows)
{
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    exec("DELETE FROM [Documentos()] WHERE Id_documento > 10");
    std::vector<std::string> got = indexRows(bills("ORDER BY [Documentos()].Id_documento"));
    EXPECT_EQ(got.size(), 8u) << "ten bills less the two of the second batch";
    ASSERT_EQ(VASQ_Rollback(), 0);
    EXPECT_EQ(indexRows(bills("ORDER BY [Documentos()].Id_documento")).size(), size_t(kBills - kBills / 7 - 1));
}

TEST_F(IndexCache, AnotherFillOrTheCloseStopsTheReading)
{
    const std::string sql = bills("ORDER BY [Librados( Datos )].Razon_social");
    int count = -1;
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(C_InicIndexData(sql.c_str(), &count), 0) << "each replaces the one still being read";
    ASSERT_EQ(C_InicIndexData(sql.c_str(), &count), 0);
    VASQ_CloseDB();
    char buffer[64];
    EXPECT_EQ(C_IndexDataSize(0, buffer, sizeof buffer), 1);
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    EXPECT_EQ(indexRows(sql), rows(sql));
}

TEST_F(IndexCache, ATableOnlyTheMainConnectionSeesIsReadWhole)
{
    exec("CREATE TEMP TABLE [Marcas()] (Id_marca INTEGER PRIMARY KEY, Nota TEXT)");
    exec("INSERT INTO [Marcas()] (Nota) VALUES ('una')");
    exec("INSERT INTO [Marcas()] (Nota) VALUES ('dos')");
    EXPECT_EQ(indexRows("SELECT Id_marca, Nota FROM [Marcas()] ORDER BY Nota"),
              (std::vector<std::string>{"Id_marca=2&Nota=dos", "Id_marca=1&Nota=una"}));
}

} // namespace
