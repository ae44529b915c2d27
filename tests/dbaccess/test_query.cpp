// Query streaming to a callback and the index cache of the lazily painted grids.
#include "dbtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

using dbtest::exec;
using dbtest::lastErrorText;
using dbtest::rows;

class Query : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        exec("CREATE TABLE [Documentos()] (Id_documento AUTOINCREMENT, Importe TEXT, Block INTEGER NOT NULL DEFAULT 0)");
        for (int i = 1; i <= 5; ++i)
            exec("INSERT INTO [Documentos()] (Importe) VALUES ('" + std::to_string(i) + ".00')");
    }
};

struct Walk {
    std::vector<std::string> rows;
    std::vector<int> counts;
    size_t stopAfter = 0;
};

Walk *walk = nullptr;

void record(char *row, char *keepGoing, int count)
{
    walk->rows.push_back(row);
    walk->counts.push_back(count);
    if (walk->rows.size() == walk->stopAfter)
        *keepGoing = 0;
}

TEST_F(Query, CallbackThatStopsEarlyGetsNoFurtherRow)
{
    Walk w;
    w.stopAfter = 2;
    walk = &w;
    EXPECT_EQ(VASQ_GetData("SELECT Id_documento FROM [Documentos()] ORDER BY Id_documento", record), 0);
    walk = nullptr;
    EXPECT_EQ(w.rows, (std::vector<std::string>{"Id_documento=1", "Id_documento=2"}));
    EXPECT_EQ(w.counts, (std::vector<int>{5, 5})) << "every call sees the whole result's count";
}

TEST_F(Query, QueryWithoutRowsCallsNothing)
{
    Walk w;
    walk = &w;
    EXPECT_EQ(VASQ_GetData("SELECT * FROM [Documentos()] WHERE Id_documento>99", record), 0);
    walk = nullptr;
    EXPECT_TRUE(w.rows.empty());
}

void updateWhileReading(char *row, char *, int)
{
    // Every row read makes the next rows change: the callback must see the snapshot.
    std::string id = std::to_string(std::atoi(std::strchr(row, '=') + 1));
    EXPECT_EQ(VASQ_ExecSQL((std::string("UPDATE [Documentos()] SET Block=Block+1 WHERE Id_documento>=") + id).c_str(),
                           nullptr),
              0);
    EXPECT_EQ(C_Exec((std::string("UPDATE [Documentos()] SET Importe='0' WHERE Id_documento=") + id).c_str(), nullptr),
              0)
        << "no read lock is held during the callback";
    walk->rows.push_back(row);
}

TEST_F(Query, CallbackMayUpdateTheTableItReads)
{
    Walk w;
    walk = &w;
    EXPECT_EQ(VASQ_GetData("SELECT Id_documento, Block FROM [Documentos()] ORDER BY Id_documento", updateWhileReading),
              0);
    walk = nullptr;
    ASSERT_EQ(w.rows.size(), 5u);
    EXPECT_EQ(w.rows[4], "Id_documento=5&Block=0") << "rows were read before the first update";
    EXPECT_EQ(rows("SELECT Block, Importe FROM [Documentos()] WHERE Id_documento=5"),
              std::vector<std::string>{"Block=5&Importe=0"});
}

TEST_F(Query, CallbackThatThrowsDoesNotCrossTheLibrary)
{
    int rc = VASQ_GetData("SELECT Id_documento FROM [Documentos()]",
                          [](char *, char *, int) { throw std::runtime_error("fallo del programa"); });
    EXPECT_EQ(rc, VASQ_ENGINE_ERROR_BASE + 4) << "SQLITE_ABORT";
    EXPECT_EQ(VASQ_GetLastErrorCodeID(), rc);
    EXPECT_EQ(rows("SELECT COUNT(*) AS Total FROM [Documentos()]"), std::vector<std::string>{"Total=5"})
        << "the library goes on working";
}

TEST_F(Query, StatementsThatWriteAreNoQueries)
{
    for (const char *sql : {"DELETE FROM [Documentos()]", "UPDATE [Documentos()] SET Block=1",
                            "BEGIN", "INSERT INTO [Documentos()] (Importe) VALUES ('1')"}) {
        EXPECT_EQ(VASQ_GetData(sql, [](char *, char *, int) { FAIL() << "no row expected"; }), VASQ_ERR_STATEMENT)
            << sql;
        EXPECT_EQ(C_InicIndexData(sql, nullptr), VASQ_ERR_STATEMENT) << sql;
    }
    EXPECT_EQ(rows("SELECT COUNT(*) AS Total FROM [Documentos()] WHERE Block=0"), std::vector<std::string>{"Total=5"})
        << "nothing was deleted or changed";
    EXPECT_EQ(VASQ_GetData("SELECT 1", nullptr), VASQ_ERR_ARGUMENT);
    EXPECT_EQ(VASQ_GetData("SELECT * FROM [Nada()]", record), VASQ_ENGINE_ERROR_BASE + 1);
}

TEST_F(Query, IndexCacheFetchesRowsByNumberInAnyOrder)
{
    int count = -1;
    ASSERT_EQ(C_InicIndexData("SELECT Id_documento, Importe FROM [Documentos()] ORDER BY Id_documento DESC", &count),
              0);
    EXPECT_EQ(count, 5);
    char buffer[256];
    EXPECT_EQ(C_IndexData(4, buffer), 0);
    EXPECT_STREQ(buffer, "Id_documento=1&Importe=1.00");
    EXPECT_EQ(C_IndexData(0, buffer), 0);
    EXPECT_STREQ(buffer, "Id_documento=5&Importe=5.00");

    exec("DELETE FROM [Documentos()]");
    EXPECT_EQ(C_IndexData(2, buffer), 0) << "a snapshot does not see later changes";
    EXPECT_STREQ(buffer, "Id_documento=3&Importe=3.00");

    std::strcpy(buffer, "sin tocar");
    EXPECT_EQ(C_IndexData(5, buffer), 1) << "row number equal to the count";
    EXPECT_EQ(C_IndexData(-1, buffer), 1);
    EXPECT_STREQ(buffer, "sin tocar");

    EXPECT_EQ(C_RefreshIndexData(), 0);
    EXPECT_EQ(C_EndIndexData(), 0);
    EXPECT_EQ(C_IndexData(0, buffer), 1) << "no cache after its end";
    EXPECT_STREQ(buffer, "sin tocar");
}

TEST_F(Query, IndexCacheOfAnEmptyResultHasNoRowZero)
{
    int count = -1;
    ASSERT_EQ(C_InicIndexData("SELECT * FROM [Documentos()] WHERE Id_documento=0", &count), 0);
    EXPECT_EQ(count, 0);
    char buffer[64] = "sin tocar";
    EXPECT_EQ(C_IndexData(0, buffer), 1);
    EXPECT_STREQ(buffer, "sin tocar");
}

TEST_F(Query, FailedIndexQueryLeavesNoStaleRows)
{
    int count = -1;
    ASSERT_EQ(C_InicIndexData("SELECT Id_documento FROM [Documentos()]", &count), 0);
    ASSERT_EQ(count, 5);
    EXPECT_EQ(C_InicIndexData("SELECT Id_documento FROM [Nada()]", &count), VASQ_ENGINE_ERROR_BASE + 1);
    EXPECT_EQ(count, 0);
    char buffer[64];
    EXPECT_EQ(C_IndexData(0, buffer), 1) << "the old rows went with the failed query";
}

TEST_F(Query, ClosingDropsTheIndexCache)
{
    int count = -1;
    ASSERT_EQ(C_InicIndexData("SELECT Id_documento FROM [Documentos()]", &count), 0);
    VASQ_CloseDB();
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    char buffer[64];
    EXPECT_EQ(C_IndexData(0, buffer), 1);
}

TEST_F(Query, SizedIndexFetchNeverWritesPastTheBuffer)
{
    int count = -1;
    ASSERT_EQ(C_InicIndexData("SELECT Id_documento, Importe FROM [Documentos()] ORDER BY Id_documento", &count), 0);
    char buffer[32];
    EXPECT_EQ(C_IndexDataSize(0, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "Id_documento=1&Importe=1.00");

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(C_IndexDataSize(0, buffer, 10), VASQ_ERR_ARGUMENT);
    EXPECT_STREQ(buffer, "Id_docume") << "cut and terminated within the size";
    EXPECT_EQ(buffer[10], '#');
    EXPECT_EQ(lastErrorText(), "La fila no cabe en el b\xFA" "fer: necesita 28 bytes.");

    buffer[0] = '#';
    EXPECT_EQ(C_IndexDataSize(0, buffer, 0), VASQ_ERR_ARGUMENT);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(C_IndexDataSize(7, buffer, sizeof buffer), 1);
    EXPECT_EQ(buffer[0], '#');
}

} // namespace
