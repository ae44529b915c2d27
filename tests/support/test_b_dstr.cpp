// Dynamic strings: capacity, self-referencing texts, the formatting limit and misuse.
#include "b_dstr.h"
#include "b_mem.h"
#include "sandbox.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

using quentaro_test::Sandbox;

namespace {

TEST(DynamicString, SetAndAddAlsoFromItself)
{
    B_Str_t *string = B_StrCons(nullptr);
    EXPECT_EQ(string->uSize, 10u);
    B_StrSet(string, "abcdef", 3);
    B_StrAdd(string, "xyz", 0);
    B_StrAdd(string, "123", 99);
    EXPECT_STREQ(B_StrBuffer(string), "abcxyz123");
    B_StrAdd(string, "0123456789", 0);
    EXPECT_EQ(string->uSize, 29u) << "grows to the needed size + 10";
    B_StrSet(string, "abc", 0);
    B_StrAdd(string, B_StrBuffer(string), 0);
    B_StrAdd(string, B_StrBuffer(string), 0);
    B_StrAdd(string, B_StrBuffer(string), 0);
    EXPECT_EQ(std::string(B_StrBuffer(string)), std::string("abcabcabcabcabcabcabcabc"))
        << "the buffer moved while appending from it";
    B_StrSet(string, B_StrBuffer(string) + 21, 0);
    B_StrPrintf(string, 0, "<%s>", B_StrBuffer(string));
    EXPECT_STREQ(B_StrBuffer(string), "<abc>");
    B_StrDest(string);
}

TEST(DynamicString, FormattingIsLimitedToTheScratchSize)
{
    Sandbox sandbox;
    B_Str_t *string = B_StrCons("old");
    const std::string fits(2047, 'a'), tooLong(2048, 'b');
    EXPECT_EQ(B_StrPrintf(string, 0, "%s", tooLong.c_str()), nullptr);
    EXPECT_STREQ(B_StrBuffer(string), "old") << "a refused text leaves the string unchanged";
    ASSERT_EQ(sandbox.boxes.size(), 1u);
    EXPECT_EQ(sandbox.boxes[0].title, "WARNING");
    EXPECT_EQ(sandbox.messages()[0], "SYSTEM PANIC! vsprintf() overrun.");

    EXPECT_EQ(B_StrAddf(string, 0, "%s", fits.c_str()), string);
    EXPECT_EQ(B_StrLen(string), 2050u);
    B_StrPrintf(string, 4, "%d-%d", 12, 345);
    EXPECT_STREQ(B_StrBuffer(string), "12-3") << "at most max characters";

    DebugDoSetDefault(B_DEBUG_ALL | B_DEBUG_WARN);
    EXPECT_EQ(B_StrPrintf(string, 0, "%s", tooLong.c_str()), nullptr);
    DebugDoSetDefault(B_DEBUG_ALL);
    EXPECT_EQ(sandbox.boxes.size(), 1u) << "warnings suppressed by the global word";
    B_StrDest(string);
}

TEST(DynamicString, DirectWritesAndBufferOwnership)
{
    B_Str_t *string = B_StrCons("x");
    B_StrGrowTo(string, 100);
    EXPECT_GE(string->uSize, 101u);
    std::strcpy(B_StrBuffer(string), "written directly");
    EXPECT_EQ(B_StrLen(string), 16u) << "a dirty string recounts";
    B_StrAdjustToLen(string);
    EXPECT_EQ(string->uSize, 17u);
    char copy[8];
    EXPECT_STREQ(B_StrDuplicate(string, copy, 7), "written");
    B_StrSetFreeBufferFlag(string, 0);
    char *kept = B_StrBuffer(string);
    B_StrDest(string);
    EXPECT_STREQ(kept, "written directly") << "the buffer outlives a string that does not own it";
    B_free(kept);
}

TEST(DynamicString, MisuseRaisesAnAssertionAndDoesNothing)
{
    Sandbox sandbox;
    EXPECT_EQ(B_StrSet(nullptr, "a", 0), nullptr);
    B_Str_t *string = B_StrCons("keep");
    EXPECT_EQ(B_StrAdd(string, nullptr, 0), nullptr);
    EXPECT_EQ(B_StrGrowTo(string, 0), string);
    EXPECT_STREQ(B_StrBuffer(string), "keep");
    EXPECT_EQ(sandbox.messages(), (std::vector<std::string>{"Null!", "Null!", "Out of order!"}));
    EXPECT_NE(sandbox.log().find("CONDITION : uSize > 0\nFILE      : b_dstr\n"), std::string::npos);
    B_StrDest(string);
}

} // namespace
