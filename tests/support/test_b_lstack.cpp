// Stacks: growth by the step, the edges of insert, remove and search, and the fatal checks.
#include "b_error.h"
#include "b_lstack.h"
#include "sandbox.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

using quentaro_test::literal;

namespace {

std::vector<int> contents(const Stack &stack)
{
    std::vector<int> values;
    for (int i = 0; i < StackTop(&stack); ++i)
        values.push_back(*static_cast<int *>(GiveMeThePointerToElement(&stack, i)));
    return values;
}

Stack stackOf(std::initializer_list<int> values, size_t initial = 0, size_t step = 10)
{
    Stack stack;
    NewStackOf(&stack, int, initial, step);
    for (int value : values)
        PushStack(&stack, &value);
    return stack;
}

TEST(Stack, GrowsByTheStepOnlyWhenFull)
{
    Stack stack;
    NewStackOf(&stack, int, 0, 10);
    EXPECT_EQ(stack.data, nullptr) << "no block before the first push";
    for (int i = 0; i < 10; ++i)
        PushStack(&stack, &i);
    EXPECT_EQ(stack.allocated, 10u);
    int eleventh = 10;
    PushStack(&stack, &eleventh);
    EXPECT_EQ(stack.allocated, 20u);
    EXPECT_EQ(contents(stack), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    SendArrayToOuterSpace(&stack);
    EXPECT_EQ(stack.data, nullptr);
    EXPECT_EQ(stack.size, sizeof(int)) << "size and step stay for reuse";
}

TEST(Stack, InsertAndRemoveAtTheEdges)
{
    Stack stack = stackOf({1, 2, 3}, 3, 1);
    int value = 0;
    InsertStack(&stack, 0, &value);
    value = 9;
    InsertStack(&stack, StackTop(&stack), &value);
    value = 5;
    InsertStack(&stack, 2, &value);
    EXPECT_EQ(contents(stack), (std::vector<int>{0, 1, 5, 2, 3, 9}));
    RemoveElement(&stack, 0);
    RemoveElement(&stack, StackTop(&stack) - 1);
    RemoveElement(&stack, 1);
    EXPECT_EQ(contents(stack), (std::vector<int>{1, 2, 3}));
    PushStackFifo(&stack, &value);
    int out = 0;
    PopStackFifo(&stack, &out);
    EXPECT_EQ(out, 5);
    PopStack(&stack, &out);
    EXPECT_EQ(out, 3);
    StackSort(&stack, [](const void *a, const void *b) { return *(const int *)b - *(const int *)a; });
    EXPECT_EQ(contents(stack), (std::vector<int>{2, 1}));
    SendArrayToOuterSpace(&stack);
}

TEST(Stack, SearchAndRemoveByValue)
{
    Stack stack = stackOf({4, 7, 4});
    int absent = 5, four = 4;
    EXPECT_EQ(AlreadyInStack(&stack, &absent), -1);
    RemoveStack(&stack, &absent);
    EXPECT_EQ(contents(stack), (std::vector<int>{4, 7, 4}));
    EXPECT_EQ(AlreadyInStack(&stack, &four), 0);
    RemoveStack(&stack, &four);
    EXPECT_EQ(contents(stack), (std::vector<int>{7, 4})) << "only the first equal element goes";
    SendArrayToOuterSpace(&stack);
}

TEST(Stack, SlotsPastTheTopAreReachableOnlyByIndexIntoTheBlock)
{
    Stack stack = stackOf({1, 2, 3});
    StackTopDecrement(&stack);
    int stale = 0;
    StackAt(&stack, 2, &stale);
    EXPECT_EQ(stale, 3);
    EXPECT_DEATH(GiveMeThePointerToElement(&stack, 2), literal(" No existe elemento GiveMeThePointerTo..."));
    StackFlush(&stack);
    EXPECT_EQ(StackTopDecrement(&stack), 0);
    SendArrayToOuterSpace(&stack);
}

TEST(Stack, FittingAndShrinkingTheBlock)
{
    Stack stack = stackOf({1, 2, 3, 4});
    GrowBy(&stack, -8);
    EXPECT_EQ(contents(stack), (std::vector<int>{1, 2})) << "shrinking below the top drops the rest";
    EXPECT_EQ(GrowBy_null(&stack, 4), 1);
    EXPECT_EQ(StackMinimize(&stack), 1);
    EXPECT_EQ(stack.allocated, 2u);
    StackFlush(&stack);
    StackMinimize(&stack);
    EXPECT_EQ(stack.allocated, 1u) << "never below one slot";
    EXPECT_EQ(WrapUpTheArrayInBeautifulPaper(&stack), nullptr);
    EXPECT_EQ(stack.data, nullptr) << "an empty stack loses its block";

    stack = stackOf({1, 2, 3});
    void *block = WrapUpTheArrayInBeautifulPaper(&stack);
    EXPECT_EQ(block, stack.data);
    EXPECT_EQ(stack.allocated, 3u);
    SendArrayToOuterSpace(&stack);
}

TEST(Stack, NullVariantsFailWithoutABlockOrRoom)
{
    Stack stack;
    New_null_StackOfInternal(&stack, sizeof(int), 0, 0);
    int value = 1;
    EXPECT_EQ(PushStack_null(&stack, &value), 0) << "no block";
    EXPECT_EQ(InsertStack_null(&stack, 0, &value), 0);
    EXPECT_EQ(GrowBy_null(&stack, 0), 0);
    EXPECT_EQ(GrowBy_null(&stack, 2), 1);
    EXPECT_EQ(PushStack_null(&stack, &value), 1);
    EXPECT_EQ(PushStackFifo_null(&stack, nullptr), 1) << "a null element reserves the slot";
    EXPECT_EQ(PushStack_null(&stack, &value), 0) << "grow step 0 cannot grow";
    EXPECT_EQ(*static_cast<int *>(GiveMeThePointerToElement(&stack, 1)), 1);
    SendArrayToOuterSpace(&stack);
}

TEST(Stack, FatalChecks)
{
    struct Row {
        std::function<void(Stack &)> call;
        const char *message;
    };
    const Row rows[] = {
        {[](Stack &s) { int v = 0; s.step = 0; for (int i = 0; i < 4; ++i) PushStack(&s, &v); },
         "Trying to grow the ungrowable"},
        {[](Stack &s) { int v = 0; SendArrayToOuterSpace(&s); s.step = 0; PushStack(&s, &v); },
         "Trying to grow the ungrowable"},
        {[](Stack &s) { GrowBy(&s, 0); }, "Trying to grow the ungrowable"},
        {[](Stack &s) { int v = 0; InsertStack(&s, 4, &v); }, "Te pasaste, Vindelma No tan arriba (insertstack)"},
        {[](Stack &s) { int v = 0; InsertStack(&s, -1, &v); }, "Te pasaste, Vindelma No tan arriba (insertstack)"},
        {[](Stack &s) { int v = 0; InsertStack_null(&s, 9, &v); }, "Te pasaste, Vindelma No tan arriba (insertstack)"},
        {[](Stack &s) { int v; StackFlush(&s); PopStack(&s, &v); }, "El Stack ha petado en PopStack."},
        {[](Stack &s) { int v; StackFlush(&s); PopStackFifo(&s, &v); }, "El Stack ha petado en PopStackFifo."},
        {[](Stack &s) { int v; StackAt(&s, int(s.allocated), &v); }, "bad pos stackat"},
        {[](Stack &s) { int v = 0; StoreAt(&s, -1, &v); }, "bad pos storeat"},
        {[](Stack &s) { GiveMeThePointerToElement(&s, -1); }, " No existe elemento GiveMeThePointerTo..."},
        {[](Stack &s) { RemoveElement(&s, 3); }, "Non existabuit element in removeElement"},
        {[](Stack &) { InitializeStackStruct(nullptr); }, "Passed (Stack*)NULL"},
    };
    for (const Row &row : rows) {
        Stack stack = stackOf({1, 2, 3}, 4, 2);
        EXPECT_EXIT(row.call(stack), testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                    literal(std::string("Debug msg      : ") + row.message + "\n     Fichero        : b_lstack"))
            << row.message;
        SendArrayToOuterSpace(&stack);
    }
}

} // namespace
