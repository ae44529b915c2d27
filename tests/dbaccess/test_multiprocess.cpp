// Two running copies writing one database at once, through both connections.
#include "dbtest.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using dbtest::exec;
using dbtest::rows;

constexpr int kRowsPerConnection = 150;

// Inserts kRowsPerConnection rows through each connection, alternating, each with its
// own key read back; returns the number of failed calls.
int writeRows(int copy)
{
    int failures = 0;
    for (int i = 0; i < kRowsPerConnection; ++i) {
        std::string values = std::to_string(copy) + ", " + std::to_string(i);
        if (VASQ_ExecSQL(("INSERT INTO [Actualizaciones()] (Num_Aplicacion, Contador, Via) VALUES (" + values +
                          ", 'main')").c_str(),
                         nullptr) != 0 ||
            VASQ_GetLastInsertID() <= 0)
            ++failures;
        int affected = 0;
        if (C_Exec(("INSERT INTO [Actualizaciones()] (Num_Aplicacion, Contador, Via) VALUES (" + values +
                    ", 'second')").c_str(),
                   &affected) != 0 ||
            affected != 1)
            ++failures;
    }
    return failures;
}

class TwoCopies : public dbtest::DbTest {};

TEST_F(TwoCopies, WritingAtOnceThroughBothConnectionsLosesNoRow)
{
    exec("CREATE TABLE [Actualizaciones()] (Id_Actualizacion AUTOINCREMENT, Num_Aplicacion INTEGER, "
         "Contador INTEGER, Via TEXT)");
    VASQ_CloseDB();

    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(start[1]);
        int failures = VASQ_OpenDB(db.c_str(), 0, 0) == 0 ? 0 : 1000;
        char go;
        (void)!::read(start[0], &go, 1);
        if (failures == 0)
            failures = writeRows(2);
        VASQ_CloseDB();
        ::_exit(failures > 100 ? 100 : failures);
    }
    ::close(start[0]);
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    // Both copies start writing when the pipe closes.
    ::close(start[1]);
    int failures = writeRows(1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed calls in the other copy";
    EXPECT_EQ(failures, 0);

    std::string total = "Total=" + std::to_string(4 * kRowsPerConnection);
    EXPECT_EQ(rows("SELECT COUNT(*) AS Total FROM [Actualizaciones()]"), std::vector<std::string>{total});
    EXPECT_EQ(rows("SELECT COUNT(*) AS Total FROM (SELECT DISTINCT Num_Aplicacion, Contador, Via "
                   "FROM [Actualizaciones()])"),
              std::vector<std::string>{total})
        << "every row written once";
}

} // namespace
