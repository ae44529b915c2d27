// The program folder and the variable that points to another one.
#include "progdir.h"
#include "testutil.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(ProgDir, EnvironmentVariableOverridesTheExecutablesFolder)
{
    testutil::TempDir dir;
    std::string folder = dir.path().substr(0, dir.path().size() - 1); // without the slash
    setenv(progdir::kEnvironmentVariable, folder.c_str(), 1);
    EXPECT_EQ(progdir::path(), dir.path());
    EXPECT_EQ(progdir::file("BD/Orvanta.mdb"), dir.path() + "BD/Orvanta.mdb");
    EXPECT_EQ(progdir::file("/abs/x.log"), "/abs/x.log");
    EXPECT_EQ(progdir::relative(dir.path() + "BD/Orvanta.mdb"), "BD/Orvanta.mdb");
    EXPECT_EQ(progdir::relative(folder + "2/BD"), folder + "2/BD") << "a folder beside it, named as it and more";

    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_TRUE(progdir::enter());
    char now[4096];
    ASSERT_NE(getcwd(now, sizeof now), nullptr);
    EXPECT_EQ(std::string(now) + "/", dir.path());
    ASSERT_EQ(chdir(old), 0);

    unsetenv(progdir::kEnvironmentVariable);
    std::string self = progdir::path();
    EXPECT_EQ(self.back(), '/');
    EXPECT_TRUE(testutil::fileExists(self + "test_platform"));
}

} // namespace
