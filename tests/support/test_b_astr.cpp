// String arrays: growth, in-place replacement, the cursor, and misuse.
#include "b_astr.h"
#include "b_mem.h"
#include "sandbox.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using quentaro_test::Sandbox;

namespace {

std::vector<std::string> strings(B_AStr_t *array)
{
    std::vector<std::string> all;
    const char *p = array->pcData;
    for (long i = 0; i < array->nStrs; ++i, p += std::string(p).size() + 1)
        all.push_back(p);
    return all;
}

TEST(StringArray, GrowsOnlyWhenTheNextStringDoesNotFit)
{
    B_AStr_t array;
    B_AStrCons(&array, 10, 10);
    B_AStrAdd(&array, "a");
    B_AStrAdd(&array, "bb");
    EXPECT_EQ(array.uUsed, 5u);
    B_AStrAdd(&array, "ccc");
    EXPECT_EQ(array.uSize, 10u) << "needed 9 < 10";
    B_AStrAdd(&array, "dd");
    EXPECT_EQ(array.uSize, 22u) << "needed 12 >= 10: needed + step";
    EXPECT_EQ(strings(&array), (std::vector<std::string>{"a", "bb", "ccc", "dd"}));
    EXPECT_EQ(array.bAlloc, 0);
    B_AStrDest(&array);
}

TEST(StringArray, ReplacingKeepsTheOthersInOrder)
{
    B_AStr_t *array = B_AStrCons(nullptr, 8, 4);
    for (const char *text : {"uno", "dos", "tres"})
        B_AStrAdd(array, text);
    EXPECT_STREQ(B_AStrSet(array, 1, "veintidos"), "veintidos");
    EXPECT_EQ(strings(array), (std::vector<std::string>{"uno", "veintidos", "tres"}));
    B_AStrSet(array, -1, "2");
    EXPECT_EQ(strings(array), (std::vector<std::string>{"uno", "2", "tres"})) << "-1 is the cursor's";
    EXPECT_EQ(array->uUsed, 11u);
    B_AStrSet(array, 2, B_AStrGet(array, 0));
    EXPECT_EQ(strings(array), (std::vector<std::string>{"uno", "2", "uno"})) << "text from the array itself";
    B_AStrAdd(array, B_AStrGet(array, 0));
    EXPECT_EQ(strings(array).back(), "uno");
    B_AStrDest(array);
}

TEST(StringArray, TheCursorFollowsItsStringWhenTheBlockMoves)
{
    B_AStr_t array;
    B_AStrCons(&array, 4, 0);
    B_AStrAdd(&array, "x");
    B_AStrAdd(&array, "y");
    B_AStrGet(&array, 1);
    const char *before = array.pcData;
    std::vector<void *> blockers; // allocations behind the block keep it from growing in place
    for (int i = 0; i < 50; ++i) {
        blockers.push_back(B_malloc(8));
        B_AStrAdd(&array, "padding");
    }
    ASSERT_NE(array.pcData, before);
    EXPECT_STREQ(B_AStrGet(&array, -1), "y");
    EXPECT_EQ(array.pcCur, array.pcData + 2);
    for (void *blocker : blockers)
        B_free(blocker);
    B_AStrDest(&array);
}

TEST(StringArray, DeletingMovesTheCursorToTheFollowingString)
{
    B_AStr_t array;
    B_AStrCons(&array, 32, 8);
    for (const char *text : {"a", "b", "c"})
        B_AStrAdd(&array, text);
    B_AStrGet(&array, 1);
    B_AStrDel(&array, -1);
    EXPECT_STREQ(B_AStrGet(&array, -1), "c");
    B_AStrDel(&array, 0);
    EXPECT_EQ(strings(&array), (std::vector<std::string>{"c"}));
    EXPECT_EQ(array.uUsed, 2u);
    B_AStrDest(&array);
}

TEST(StringArray, MisuseRaisesAnAssertionAndDoesNothing)
{
    Sandbox sandbox;
    B_AStr_t array;
    B_AStrCons(&array, 0, 8);
    EXPECT_EQ(B_AStrGet(&array, 0), nullptr);
    B_AStrAdd(&array, "a");
    B_AStrAdd(&array, "b");
    EXPECT_EQ(B_AStrGet(&array, 5), nullptr);
    EXPECT_EQ(B_AStrSet(&array, 0, nullptr), nullptr);
    B_AStrDel(&array, -7);
    B_AStrDel(&array, 1);
    EXPECT_EQ(B_AStrGet(&array, -1), nullptr) << "the cursor is past the last string";
    EXPECT_EQ(B_AStrAdd(nullptr, "x"), nullptr);
    EXPECT_EQ(strings(&array), (std::vector<std::string>{"a"}));
    EXPECT_EQ(sandbox.messages(),
              (std::vector<std::string>{"El tamano inicial debe ser > 0", "No hay cadenas en el buffer.",
                                        "No hay tantos strings en el buffer. Pedido [5] de [2]", "NULL!",
                                        "No hay tantos strings en el buffer. Pedido [-7] de [2]",
                                        "No hay tantos strings en el buffer. Pedido [-1] de [1]", "NULL"}));
    EXPECT_NE(sandbox.log().find("CONDITION : nCual == -1 || nCual < pastr->nStrs\nFILE      : b_astr\n"),
              std::string::npos);
    B_AStrDest(&array);
}

} // namespace
