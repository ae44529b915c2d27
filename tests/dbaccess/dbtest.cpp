// Fixture of the database access tests: an encrypted database in a temporary folder,
// opened through the library, with the folder as current directory.
#include "dbtest.h"

#include <unistd.h>

#include <climits>

namespace dbtest {
namespace {

std::vector<std::string> *collected = nullptr;

void collect(char *row, char *, int)
{
    collected->push_back(row);
}

} // namespace

std::vector<std::string> rows(const std::string &sql)
{
    std::vector<std::string> result;
    collected = &result;
    int rc = VASQ_GetData(sql.c_str(), collect);
    collected = nullptr;
    EXPECT_EQ(rc, 0) << sql << ": " << lastErrorText();
    return result;
}

int exec(const std::string &sql)
{
    int affected = -1;
    EXPECT_EQ(VASQ_ExecSQL(sql.c_str(), &affected), 0) << sql << ": " << lastErrorText();
    return affected;
}

std::string lastErrorText()
{
    char text[1024];
    VASQ_GetLastErrorCodeDesc(text, sizeof text);
    return text;
}

bool hasPlainHeader(const std::string &path)
{
    return testutil::readFile(path).rfind("SQLite format 3", 0) == 0;
}

void DbTest::SetUp()
{
    char cwd[PATH_MAX];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    m_previousDir = cwd;
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    db = dir.file("Orvanta.mdb");
    createDatabase(db);
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << lastErrorText();
}

void DbTest::TearDown()
{
    VASQ_CloseDB();
    SetBdPassword("");
    ASSERT_EQ(::chdir(m_previousDir.c_str()), 0);
}

void DbTest::createDatabase(const std::string &path)
{
    VASQ_CloseDB();
    SetBdPassword(kPassword);
    testutil::writeFile(path, "");
}

} // namespace dbtest
