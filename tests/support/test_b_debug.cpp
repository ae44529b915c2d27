// The debug log: records, boxes through the display hook, level words and the debug printf.
#include "b_debug.h"
#include "b_error.h"
#include "sandbox.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using quentaro_test::literal;
using quentaro_test::Sandbox;

namespace {

std::string pid()
{
    return std::to_string(long(getpid()));
}

TEST(DebugLog, AssertionAppendsItsRecordAndShowsAStopBox)
{
    Sandbox sandbox;
    DebugDoAssert("b_astr", 42, "No hay cadenas", "pastr->nStrs > 0");
    DebugDoAssert(nullptr, 7, nullptr, nullptr);
    EXPECT_EQ(sandbox.log(), pid() + " - ASSERTION FAILED\nMESSAGE   : No hay cadenas\n"
                                     "CONDITION : pastr->nStrs > 0\nFILE      : b_astr\nLINE      : 00042\n\n" +
                                 pid() + " - ASSERTION FAILED\nMESSAGE   : ?\nCONDITION : ?\n"
                                         "FILE      : ?\nLINE      : 00007\n\n");
    ASSERT_EQ(sandbox.boxes.size(), 2u);
    EXPECT_EQ(sandbox.boxes[0].title, "ASSERTION FAILED");
    EXPECT_EQ(sandbox.boxes[0].icon, B_DEBUG_ICON_STOP);
    EXPECT_EQ(sandbox.boxes[0].text, "TRACE MESSAGE\tNo hay cadenas\nCONDITION : \tpastr->nStrs > 0\n"
                                     "FILE      : \tb_astr\nLINE      : \t00042\n\n");
    DebugDoWarn("b_dstr", 3, "cuidado", "x");
    EXPECT_EQ(sandbox.boxes.back().title, "WARNING");
    EXPECT_EQ(sandbox.boxes.back().icon, B_DEBUG_ICON_INFORMATION);
}

TEST(DebugLog, CancelEndsTheProcessWithStatusOne)
{
    Sandbox sandbox;
    sandbox.answer = B_DEBUG_CANCEL;
    EXPECT_EXIT(DebugDoAssert("f", 1, "m", "c"), testing::ExitedWithCode(1), "");
}

TEST(DebugLog, WithoutAHookTheBoxGoesToStderrInUtf8AndTheCallGoesOn)
{
    Sandbox sandbox;
    DebugSetDisplay(nullptr);
    testing::internal::CaptureStderr();
    DebugDoAssert("f", 1, "a\xF1o", "c");
    std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown, "ASSERTION FAILED\nTRACE MESSAGE\ta\xC3\xB1o\nCONDITION : \tc\nFILE      : \tf\n"
                     "LINE      : \t00001\n\n");
    EXPECT_NE(sandbox.log().find("MESSAGE   : a\xF1o\n"), std::string::npos) << "the log keeps the bytes";
}

TEST(DebugLog, TracesGoToTheLogAndTheListWindow)
{
    Sandbox sandbox;
    DebugDoTrace("plantillas", 12, "uno");
    DebugDoParams("vars", 3, "dos");
    DebugDoTraceToFile("main", 4, "tres");
    EXPECT_EQ(sandbox.log(), pid() + " - plantillas(12) - uno\n" + pid() + " - vars(3) - dos\n" + pid() +
                                 " - main(4) - tres\n");
    EXPECT_EQ(sandbox.lines, (std::vector<std::string>{"uno", "dos"})) << "file-only traces stay out of the list";
    EXPECT_TRUE(sandbox.boxes.empty());
}

TEST(DebugLog, ARecordThatCannotBeWrittenIsDroppedAndTheBoxStillShown)
{
    Sandbox sandbox;
    ASSERT_EQ(mkdir(sandbox.dir.file("debug.log").c_str(), 0700), 0);
    DebugDoAssert("f", 1, "m", "c");
    EXPECT_EQ(sandbox.boxes.size(), 1u);
}

TEST(DebugLog, OneFilePerProcessWhenAsked)
{
    Sandbox sandbox;
    DebugDoSetMultipleLogFiles(1);
    pid_t child = fork();
    if (child == 0) {
        DebugDoTraceToFile("hijo", 1, "child");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    DebugDoTraceToFile("padre", 1, "parent");
    DebugDoSetMultipleLogFiles(0);
    std::string childPid = std::to_string(long(child));
    EXPECT_EQ(testutil::readFile(sandbox.dir.file("debug." + childPid + ".log")), childPid + " - hijo(1) - child\n");
    EXPECT_EQ(testutil::readFile(sandbox.dir.file("debug." + pid() + ".log")), pid() + " - padre(1) - parent\n");
    EXPECT_FALSE(testutil::fileExists(sandbox.dir.file("debug.log")));
}

TEST(DebugLog, TooLongABoxTextIsFatal)
{
    Sandbox sandbox;
    const std::string message(959, 'm');
    DebugDoAssert("f", 1, message.c_str(), "c");
    ASSERT_EQ(sandbox.boxes.size(), 1u);
    EXPECT_EQ(sandbox.boxes[0].text.size(), 1024u) << "the longest text that fits";
    const std::string longer(960, 'm');
    EXPECT_EXIT(DebugDoAssert("f", 1, longer.c_str(), "c"), testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                literal("Debug msg      : DebugDisplayMessage OVERRUN!\n     Fichero        : b_debug"));
}

TEST(LevelWords, TextAppliedToAWord)
{
    struct Row {
        int word;
        const char *text;
        int expected;
        const char *why;
    } rows[] = {
        {10, "!ASSERT", 0x1A, "negated flag suppresses assertions"},
        {0x4A, "TRACE", 0x0A, "a flag name enables its kind"},
        {10, "NONE", 0, "a level sets the whole word"},
        {0x1A, "ALL", 10, "a level clears the flags too"},
        {10, "!NONE", ~0, "negated level is its complement"},
        {10, "ALL !WARN !PARAMS", 0xAA, "several words"},
        {10, "! ! ASSERT", 10, "two negations cancel"},
        {10, "!bogus ASSERT", 0x1A, "negation survives an unrecognised word"},
        {10, "!ASSERT WARN", 0x1A, "negation ends with the word it applies to"},
        {0x1A, "ASSERTION", 0x0A, "a word that begins with a name counts"},
        {10, "assert", 10, "names compare with case"},
        {0x1A, nullptr, 0x1A, "no text"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(DebugDoLevelStr(row.word, row.text), row.expected) << row.why;
    EXPECT_EQ(DebugDoGetDefault(), B_DEBUG_ALL) << "the global word is not touched";
    EXPECT_FALSE(DebugAssertOn(0x1A));
    EXPECT_TRUE(DebugAssertOn(0x10A)) << "the string arrays' word raises assertions";
    EXPECT_FALSE(DebugToFileOn(0x10A));
}

TEST(DebugPrintf, SharedBufferIsBoundedCallerBufferIsNot)
{
    const std::string fits(1024, 'x');
    EXPECT_EQ(std::string(DebugPrintf(nullptr, 0, "%s", fits.c_str())), fits);
    char own[1600];
    const std::string longer(1500, 'y');
    EXPECT_EQ(std::string(DebugPrintf(own, sizeof own, "%s", longer.c_str())), longer);
    char small[4];
    EXPECT_STREQ(DebugPrintf(small, sizeof small, "%d", 123456), "123") << "cut to the caller's size";
    EXPECT_EXIT(DebugPrintf(nullptr, 0, "%s!", fits.c_str()), testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                literal("Debug msg      : DebugPrintf OVERRUN!"));
}

} // namespace
