// Opening and closing, the last-error register, the trace file, statements, transactions
// and the second connection.
#include "dbtest.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>

namespace {

using dbtest::exec;
using dbtest::lastErrorText;
using dbtest::rows;

class Connection : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        exec("CREATE TABLE [Aplicaciones()] (Num_Aplicacion AUTOINCREMENT, Hora TEXT(6))");
    }

    int count()
    {
        std::vector<std::string> got = rows("SELECT COUNT(*) AS Total FROM [Aplicaciones()]");
        return got.size() == 1 ? std::atoi(got[0].c_str() + std::strlen("Total=")) : -1;
    }
};

TEST_F(Connection, KeyedFileHasNoPlainHeaderAndAWrongPasswordFailsAtOpen)
{
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('101010')");
    VASQ_CloseDB();
    EXPECT_FALSE(dbtest::hasPlainHeader(db));
    EXPECT_EQ(testutil::readFile(db).find("101010"), std::string::npos) << "rows are not stored in clear";

    SetBdPassword("otra");
    int rc = VASQ_OpenDB(db.c_str(), 0, 0);
    EXPECT_EQ(rc, VASQ_ENGINE_ERROR_BASE + 26) << "SQLITE_NOTADB";
    EXPECT_EQ(VASQ_IsDBOpened(), 0);
    EXPECT_EQ(lastErrorText(), "(ERROR 100026) file is encrypted or is not a database");

    SetBdPassword(dbtest::kPassword);
    EXPECT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << "a failed open leaves nothing behind";
    EXPECT_EQ(count(), 1);
}

// The engine alone, keyed with the password as any tool of the engine's would key it.
std::vector<std::string> engineRows(const std::string &path, const char *sql)
{
    sqlite3 *handle = nullptr;
    std::vector<std::string> got;
    if (sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
        sqlite3_key(handle, dbtest::kPassword, int(std::strlen(dbtest::kPassword))) == SQLITE_OK &&
        sqlite3_exec(handle, ("PRAGMA cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE)).c_str(), nullptr, nullptr,
                     nullptr) == SQLITE_OK)
        sqlite3_exec(
            handle, sql,
            [](void *out, int, char **values, char **) {
                static_cast<std::vector<std::string> *>(out)->push_back(values[0] ? values[0] : "NULL");
                return 0;
            },
            &got, nullptr);
    sqlite3_close(handle);
    return got;
}

TEST_F(Connection, FilesKeyedByTheLibraryAndByTheEngineAloneOpenEitherWay)
{
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('101010')");
    VASQ_CloseDB();
    EXPECT_EQ(engineRows(db, "SELECT Hora FROM [Aplicaciones()]"), std::vector<std::string>{"101010"})
        << "the library keys a new file as the engine does from the password";

    const std::string other = dir.file("Otra.mdb");
    ASSERT_TRUE(engineRows(other, "CREATE TABLE t (a TEXT); INSERT INTO t VALUES ('hola'); SELECT a FROM t") ==
                std::vector<std::string>{"hola"});
    ASSERT_EQ(VASQ_OpenDB(other.c_str(), 0, 0), 0) << lastErrorText();
    EXPECT_EQ(rows("SELECT a FROM t"), std::vector<std::string>{"a=hola"}) << "and opens a file the engine keyed";
    VASQ_CloseDB();
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << "each file with its own salt";
    EXPECT_EQ(count(), 1);
}

TEST_F(Connection, OpenNeverCreatesAFileAndRefusesBadArguments)
{
    VASQ_CloseDB();
    std::string missing = dir.file("nada.mdb");
    EXPECT_EQ(VASQ_OpenDB(missing.c_str(), 0, 0), VASQ_ENGINE_ERROR_BASE + 14) << "SQLITE_CANTOPEN";
    EXPECT_FALSE(testutil::fileExists(missing));
    EXPECT_FALSE(testutil::fileExists(missing + ".lck"));

    EXPECT_EQ(VASQ_OpenDB(nullptr, 0, 0), VASQ_ERR_ARGUMENT) << "no path is a failure, not a success";
    EXPECT_EQ(VASQ_OpenDB("", 0, 0), VASQ_ERR_ARGUMENT);
    std::string tooLong(VASQ_MAX_PATH + 1, 'a');
    EXPECT_EQ(VASQ_OpenDB(tooLong.c_str(), 0, 0), VASQ_ERR_ARGUMENT);
    EXPECT_EQ(VASQ_IsDBOpened(), 0);
}

TEST_F(Connection, OpenWhileOpenKeepsTheFirstDatabase)
{
    std::string other = dir.file("otra.mdb");
    testutil::writeFile(other, "");
    EXPECT_EQ(VASQ_OpenDB(other.c_str(), 0, 0), VASQ_ERR_ALREADYOPEN);
    EXPECT_EQ(lastErrorText(), "Ya hay una base de datos abierta.");
    EXPECT_STREQ(VASQ_GetDBNamePath(), db.c_str());
    EXPECT_EQ(count(), 0) << "the first database still answers";
}

TEST_F(Connection, PasswordLongerThanItsFieldIsRefused)
{
    std::string longest(VASQ_MAX_PASSWORD, 'k');
    EXPECT_EQ(SetBdPassword(longest.c_str()), VASQ_MAX_PASSWORD + 1);
    std::string tooLong(VASQ_MAX_PASSWORD + 1, 'k');
    EXPECT_EQ(SetBdPassword(tooLong.c_str()), VASQ_ERR_ARGUMENT);
    EXPECT_EQ(SetBdPassword(nullptr), VASQ_ERR_ARGUMENT);
    VASQ_CloseDB();
    SetBdPassword(dbtest::kPassword);
    EXPECT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
}

TEST_F(Connection, ReadOnlyOpenRefusesWritesOnBothConnections)
{
    VASQ_CloseDB();
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 1), 0) << lastErrorText();
    EXPECT_EQ(count(), 0);
    int affected = 0;
    EXPECT_EQ(VASQ_ExecSQL("INSERT INTO [Aplicaciones()] (Hora) VALUES ('1')", &affected),
              VASQ_ENGINE_ERROR_BASE + 8) << "SQLITE_READONLY";
    EXPECT_EQ(C_Exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('1')", &affected), 1);
}

TEST_F(Connection, ErrorRegisterIsClearedByReading)
{
    int rc = VASQ_ExecSQL("UPDATE [No existe()] SET a=1", nullptr);
    EXPECT_EQ(rc, VASQ_ENGINE_ERROR_BASE + 1);
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('1')");
    EXPECT_EQ(VASQ_GetLastErrorCodeID(), rc) << "a later success does not hide the failure";
    char text[64] = "sin tocar";
    EXPECT_EQ(VASQ_GetLastErrorCodeDesc(text, sizeof text), 0) << "the code was read";
    EXPECT_STREQ(text, "") << "code 0 has the empty text";

    VASQ_ExecSQL("UPDATE [No existe()] SET a=1", nullptr);
    char small[16];
    EXPECT_EQ(VASQ_GetLastErrorCodeDesc(small, sizeof small), rc);
    EXPECT_STREQ(small, "(ERROR 100001) ") << "cut to the buffer";
    EXPECT_EQ(VASQ_GetLastErrorCodeID(), 0) << "reading the text cleared the code";

    VASQ_ExecSQL("UPDATE [No existe()] SET a=1", nullptr);
    char one[2] = {'x', 'y'};
    EXPECT_EQ(VASQ_GetLastErrorCodeDesc(one, 1), rc);
    EXPECT_EQ(one[0], '\0') << "size 1 writes the terminator only";
    EXPECT_EQ(one[1], 'y');

    VASQ_ExecSQL("UPDATE [No existe()] SET a=1", nullptr);
    char none[2] = {'x', 'y'};
    EXPECT_EQ(VASQ_GetLastErrorCodeDesc(none, 0), rc);
    EXPECT_EQ(none[0], 'x') << "size 0 writes nothing";
    EXPECT_EQ(VASQ_GetLastErrorCodeID(), 0) << "and still clears";
}

TEST_F(Connection, CallsWithoutAnOpenDatabaseAreRefused)
{
    VASQ_CloseDB();
    int (*const calls[])() = {
        [] { return VASQ_ExecSQL("DELETE FROM t", nullptr); },
        [] { return VASQ_BeginTrans(); },
        [] { return VASQ_CommitTrans(); },
        [] { return VASQ_Rollback(); },
        [] { return VASQ_GetData("SELECT 1", [](char *, char *, int) {}); },
        [] {
            int count = 5;
            return C_InicIndexData("SELECT 1", &count);
        },
    };
    for (auto call : calls) {
        EXPECT_EQ(call(), VASQ_ERR_NOTOPEN);
        EXPECT_EQ(lastErrorText(), "No se ha abierto la base de datos.");
    }
    EXPECT_EQ(C_Exec("DELETE FROM t", nullptr), 1);
    EXPECT_EQ(VASQ_GetLastErrorCodeID(), 0) << "C_Exec records nothing";
    EXPECT_STREQ(VASQ_GetDBNamePath(), "");
    EXPECT_EQ(VASQ_GetLastInsertID(), 0);
}

TEST_F(Connection, TraceFileHoldsFailuresOnlyAboveLevelTwo)
{
    std::string trace = dir.file("vasqdb.log");
    VASQ_SetDebug(2);
    VASQ_ExecSQL("UPDATE [No existe()] SET a=1", nullptr);
    EXPECT_FALSE(testutil::fileExists(trace));

    VASQ_SetDebug(5);
    VASQ_ExecSQL("UPDATE [No existe()] SET a=1", nullptr);
    C_Exec("UPDATE [No existe()] SET a=1", nullptr);
    VASQ_OpenDB(db.c_str(), 0, 0);
    EXPECT_EQ(testutil::readFile(trace),
              "[DEBUG LEVEL: 5] [vasqdb::VASQ_ExecSQL: ] (ERROR 100001) no such table: No existe()\n"
              "[DEBUG LEVEL: 5] Error en C_Exec\n"
              "[DEBUG LEVEL: 5] [vasqdb::VASQ_OpenDB() ]Ya hay una base de datos abierta.\n");

    VASQ_CloseDB();
    EXPECT_EQ(VASQ_ExecSQL("DELETE FROM t", nullptr), VASQ_ERR_NOTOPEN);
    EXPECT_EQ(testutil::readFile(trace).find("No se ha abierto"), std::string::npos)
        << "closing set the level back to 0";
}

TEST_F(Connection, StatementsReportTheirRowsAndTheNewKey)
{
    EXPECT_EQ(exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('1')"), 1);
    EXPECT_EQ(VASQ_GetLastInsertID(), 1);
    EXPECT_EQ(exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('2')"), 1);
    EXPECT_EQ(C_Exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('3')", nullptr), 0);
    EXPECT_EQ(VASQ_GetLastInsertID(), 2) << "the other connection's insert is not ours";
    EXPECT_EQ(exec("UPDATE [Aplicaciones()] SET Hora='9' WHERE Num_Aplicacion>1"), 2);
    EXPECT_EQ(exec("CREATE TABLE x (a INTEGER)"), 0) << "no stale count from the UPDATE";
    EXPECT_EQ(exec("DELETE * FROM [Aplicaciones()] WHERE Hora='9';"), 2);
    EXPECT_EQ(count(), 1);
}

TEST_F(Connection, OneStatementPerCall)
{
    int rc = VASQ_ExecSQL("INSERT INTO [Aplicaciones()] (Hora) VALUES ('1'); DROP TABLE [Aplicaciones()]", nullptr);
    EXPECT_EQ(rc, VASQ_ERR_STATEMENT);
    EXPECT_EQ(count(), 0) << "nothing of the text ran";
    EXPECT_EQ(VASQ_ExecSQL(nullptr, nullptr), VASQ_ERR_ARGUMENT);
    EXPECT_EQ(VASQ_ExecSQL(" ; ", nullptr), VASQ_ERR_STATEMENT);
}

TEST_F(Connection, SecondConnectionStaysOutsideTheTransaction)
{
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    int affected = 0;
    EXPECT_EQ(C_Exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('fuera')", &affected), 0);
    EXPECT_EQ(affected, 1);
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('dentro')");
    EXPECT_EQ(C_Exec("UPDATE [Aplicaciones()] SET Hora='x'", nullptr), 1)
        << "while our transaction holds the write lock the second connection fails at once";
    ASSERT_EQ(VASQ_Rollback(), 0);
    EXPECT_EQ(rows("SELECT Hora FROM [Aplicaciones()]"), std::vector<std::string>{"Hora=fuera"});
    EXPECT_EQ(C_Exec("UPDATE [Aplicaciones()] SET Hora='x'", nullptr), 0) << "and works again after it";
}

TEST_F(Connection, TransactionsCommitRollBackAndNest)
{
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('a')");
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('b')");
    ASSERT_EQ(VASQ_Rollback(), 0) << "the inner rollback undoes only b";
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('c')");
    ASSERT_EQ(VASQ_CommitTrans(), 0);
    ASSERT_EQ(VASQ_CommitTrans(), 0);
    EXPECT_EQ(rows("SELECT Hora FROM [Aplicaciones()] ORDER BY Hora"),
              (std::vector<std::string>{"Hora=a", "Hora=c"}));

    EXPECT_EQ(VASQ_CommitTrans(), VASQ_ERR_STATEMENT) << "commit without a transaction is an error";
    EXPECT_EQ(VASQ_Rollback(), VASQ_ERR_STATEMENT);
}

TEST_F(Connection, CommitOfATransactionTheEngineEndedIsAFailure)
{
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('perdida')");
    exec("ROLLBACK"); // stands for the engine undoing the transaction after a failure
    EXPECT_EQ(VASQ_CommitTrans(), VASQ_ERR_STATEMENT) << "the caller must not believe its rows stored";
    EXPECT_EQ(count(), 0);
    ASSERT_EQ(VASQ_BeginTrans(), 0) << "the next transaction starts afresh";
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('nueva')");
    EXPECT_EQ(VASQ_CommitTrans(), 0);
    EXPECT_EQ(count(), 1);
}

TEST_F(Connection, TransactionThatReadsBeforeItWritesIsNotBrokenByOtherWrites)
{
    ASSERT_EQ(VASQ_BeginTrans(), 0);
    EXPECT_EQ(count(), 0);
    // A heartbeat of this copy, or another copy's statement, while the transaction waits.
    ASSERT_EQ(C_Exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('latido')", nullptr), 0);
    EXPECT_EQ(count(), 1) << "reads before the first write see the latest data";
    exec("INSERT INTO [Aplicaciones()] (Hora) VALUES ('propio')");
    ASSERT_EQ(VASQ_CommitTrans(), 0);
    EXPECT_EQ(count(), 2);
}

} // namespace
