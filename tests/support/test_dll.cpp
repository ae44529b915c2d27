// The library cache: which file a name loads, one entry per name without case, the slots.
#include "dll.h"
#include "sandbox.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>

using quentaro_test::ProgramDir;
using quentaro_test::Sandbox;

namespace {

class Cache : public ::testing::Test {
protected:
    void SetUp() override { DLLInit(); }
    void TearDown() override { DLLClose(); }
    ProgramDir program;
};

TEST_F(Cache, ANameLoadsItsSharedObjectByTheNamingRule)
{
    struct Row {
        const char *why;
        std::string name;
        std::string file; // relative to the program folder unless absolute
    };
    const Row rows[] = {
        {"Windows name: lower case, lib, .so", "Items.dll", "libitems.so"},
        {"bare name", "Otra", "libotra.so"},
        {".DLL in capitals", "TRES.DLL", "libtres.so"},
        {"a shared object name is taken as it is", "libCuatro.so", "libCuatro.so"},
        {"accented capitals are lowered too", "\xC1rbol.dll", "lib\xE1rbol.so"},
        {"a folder is kept and backslashes become slashes", "/nada\\sub\\Cinco.dll", "/nada/sub/libcinco.so"},
    };
    for (const Row &row : rows) {
        std::string file = row.file[0] == '/' ? row.file : program.dir.file(row.file);
        EXPECT_EQ(DLLInstance(row.name.c_str()), nullptr) << row.why;
        EXPECT_EQ(std::string(DLLError()).substr(0, file.size() + 1), file + ":") << row.why;
        if (row.file[0] != '/') {
            program.install(row.file);
            EXPECT_NE(DLLInstance(row.name.c_str()), nullptr) << row.why << ": a failed load is not cached";
            EXPECT_STREQ(DLLError(), "") << row.why;
        }
    }
}

TEST_F(Cache, TheSameNameInAnotherCaseReturnsTheCachedHandle)
{
    program.install("libitems.so");
    DLLHandle_t first = DLLInstance("Items.dll");
    ASSERT_NE(first, nullptr) << DLLError();
    ProgramDir empty; // a new load would now fail
    EXPECT_EQ(DLLInstance("ITEMS.DLL"), first);
    EXPECT_EQ(DLLInstance("items.dll"), first);
    EXPECT_EQ(DLLInstance((empty.dir.path() + "Items.dll").c_str()), nullptr) << "a path is another entry";
    EXPECT_EQ(DLLInstance((program.dir.path() + "Items.dll").c_str()), first)
        << "another entry, the same loaded copy";
}

TEST_F(Cache, ClosingUnloadsAndTheCacheMustBeStartedAgain)
{
    std::string file = program.install("libitems.so");
    ASSERT_NE(DLLInstance("Items.dll"), nullptr);
    ASSERT_NE(DLLInstance((program.dir.path() + "./libitems.so").c_str()), nullptr);
    DLLClose();
    EXPECT_EQ(dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "every entry was unloaded";
    EXPECT_EQ(DLLInstance("Items.dll"), nullptr) << "not started";
    DLLInit();
    EXPECT_NE(DLLInstance("Items.dll"), nullptr);
}

TEST_F(Cache, AFullCacheLoadsNothingMore)
{
    program.install("libitems.so");
    ASSERT_NE(DLLInstance("Items.dll"), nullptr);
    std::string prefix = program.dir.path();
    for (int i = 1; i < DLL_CACHE_SLOTS; ++i) {
        ASSERT_NE(DLLInstance((prefix + "libitems.so").c_str()), nullptr);
        prefix += "./";
    }
    EXPECT_EQ(DLLInstance((prefix + "libitems.so").c_str()), nullptr);
    EXPECT_NE(DLLInstance("ITEMS.DLL"), nullptr) << "a cached name is still found";
}

TEST_F(Cache, MisuseReturnsNull)
{
    Sandbox sandbox;
    EXPECT_EQ(DLLInstance(nullptr), nullptr);
    EXPECT_EQ(DLLInstance(""), nullptr);
    EXPECT_EQ(sandbox.messages(), std::vector<std::string>{"NULL"});
}

} // namespace
