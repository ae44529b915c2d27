// Fixture of the database access tests: an encrypted database in a temporary folder,
// opened through the library, with the folder as current directory (the trace file goes
// there).
#pragma once

#include "testutil.h"
#include "vasqdb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dbtest {

constexpr const char *kPassword = "mxClave7";

// Every row text of a query, in order; a failing query fails the test.
std::vector<std::string> rows(const std::string &sql);
// Runs an action statement on the main connection; a failure fails the test.
int exec(const std::string &sql);
// The last error text (and clears it).
std::string lastErrorText();
// True when the file begins with the plain SQLite header.
bool hasPlainHeader(const std::string &path);

class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Closes the library and makes a new empty file under the stored password at path.
    void createDatabase(const std::string &path);

    testutil::TempDir dir;
    std::string db;

private:
    std::string m_previousDir;
};

} // namespace dbtest
