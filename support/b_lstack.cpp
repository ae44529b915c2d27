// The growable array: growth by a fixed step, insertion and removal by one block move.
#include "b_lstack.h"

#include "b_mem.h"
#include "b_private.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char *kFamily = "b_lstack";

char *slot(const Stack *stack, size_t index)
{
    return static_cast<char *>(stack->data) + index * stack->size;
}

bool below(int index, size_t bound)
{
    return index >= 0 && size_t(index) < bound;
}

// Bytes for count slots: 0 for no slots, SIZE_MAX (a request that fails) on overflow.
size_t slotBytes(long long count, size_t size)
{
    if (count <= 0)
        return 0;
    if (size != 0 && size_t(count) > SIZE_MAX / size)
        return SIZE_MAX;
    return size_t(count) * size;
}

// Adds n slots (removes them when negative); see GrowBy.
void growBy(Stack *stack, long long n)
{
    long long count = (long long)stack->allocated + n;
    if (stack->data) {
        if (n == 0)
            B_FATAL(kFamily, "Trying to grow the ungrowable", B_ERR_NO_MEMORY);
        stack->data = B_realloc(stack->data, slotBytes(count, stack->size));
    } else if (n != 0) {
        stack->data = B_malloc_tagged(slotBytes(count, stack->size), __LINE__, kFamily);
        stack->used = 0;
    } else {
        return;
    }
    stack->allocated = size_t(count);
    if (stack->used > stack->allocated)
        stack->used = stack->allocated;
}

// Moves the elements to a new block of allocated + n slots; see GrowBy_null.
bool growBy_null(Stack *stack, long long n)
{
    long long count = (long long)stack->allocated + n;
    size_t bytes = slotBytes(count, stack->size);
    if (n == 0 || bytes == 0)
        return false;
    void *block = B_null_malloc_tagged(bytes, __LINE__, kFamily);
    if (!block)
        return false;
    size_t keep = stack->used < size_t(count) ? stack->used : size_t(count);
    if (stack->data) {
        std::memcpy(block, stack->data, keep * stack->size);
        B_free(stack->data);
    }
    stack->data = block;
    stack->allocated = size_t(count);
    stack->used = keep;
    return true;
}

void store(Stack *stack, size_t index, const void *element)
{
    if (element)
        std::memcpy(slot(stack, index), element, stack->size);
}

// Moves the elements from index on by one slot (up when opening a gap, down when closing).
void shift(Stack *stack, size_t index, bool up)
{
    size_t count = stack->used - index - (up ? 0 : 1);
    if (up)
        B_memcpy(slot(stack, index + 1), slot(stack, index), count * stack->size);
    else
        B_memcpy(slot(stack, index), slot(stack, index + 1), count * stack->size);
}

// Room for one more element: grows a full stack by its step.
void makeRoom(Stack *stack)
{
    if (stack->used < stack->allocated)
        return;
    if (stack->step == 0)
        B_FATAL(kFamily, "Trying to grow the ungrowable", B_ERR_NO_MEMORY);
    growBy(stack, (long long)stack->step);
}

bool makeRoom_null(Stack *stack)
{
    return stack->used < stack->allocated || growBy_null(stack, (long long)stack->step);
}

void checkCount(const Stack *stack, const char *message)
{
    if (stack->used >= size_t(INT_MAX))
        B_FATAL(kFamily, message, B_ERR_STACK_UPPER);
}

void checkInsertIndex(const Stack *stack, int index)
{
    if (index < 0 || size_t(index) > stack->used)
        B_FATAL(kFamily, "Te pasaste, Vindelma No tan arriba (insertstack)", B_ERR_STACK_UPPER);
}

void insertAt(Stack *stack, int index, const void *element)
{
    checkCount(stack, "Te pasaste, Vindelmarosken (insertstack)");
    shift(stack, size_t(index), true);
    store(stack, size_t(index), element);
    ++stack->used;
}

} // namespace

Stack *NewStackOfInternal(Stack *out, size_t size, size_t initial, size_t step)
{
    MakeThisAStack(out, 0, 0, size, step, nullptr);
    growBy(out, (long long)initial);
    return out;
}

Stack *New_null_StackOfInternal(Stack *out, size_t size, size_t initial, size_t step)
{
    MakeThisAStack(out, 0, 0, size, step, nullptr);
    growBy_null(out, (long long)initial);
    return out;
}

void InitializeStackStruct(Stack *stack)
{
    if (!stack)
        B_FATAL(kFamily, "Passed (Stack*)NULL", B_ERR_BAD_DATA);
    *stack = Stack{};
}

Stack *MakeThisAStack(Stack *out, size_t allocated, size_t used, size_t size, size_t step,
                      void *data)
{
    InitializeStackStruct(out);
    *out = Stack{data, allocated, used, size, step};
    return out;
}

void GrowBy(Stack *stack, int n)
{
    growBy(stack, n);
}

int GrowBy_null(Stack *stack, int n)
{
    return growBy_null(stack, n);
}

void PushStack(Stack *stack, const void *element)
{
    checkCount(stack, "Te pasaste, Vindelmarosken (pushstack)");
    makeRoom(stack);
    store(stack, stack->used++, element);
}

int PushStack_null(Stack *stack, const void *element)
{
    if (!stack->data || !makeRoom_null(stack))
        return 0;
    checkCount(stack, "Te pasaste, Vindelmarosken (pushstack_null)");
    store(stack, stack->used++, element);
    return 1;
}

void InsertStack(Stack *stack, int index, const void *element)
{
    checkInsertIndex(stack, index);
    makeRoom(stack);
    insertAt(stack, index, element);
}

int InsertStack_null(Stack *stack, int index, const void *element)
{
    if (!stack->data)
        return 0;
    checkInsertIndex(stack, index);
    if (!makeRoom_null(stack))
        return 0;
    insertAt(stack, index, element);
    return 1;
}

void PushStackFifo(Stack *stack, const void *element)
{
    InsertStack(stack, 0, element);
}

int PushStackFifo_null(Stack *stack, const void *element)
{
    return InsertStack_null(stack, 0, element);
}

void PopStack(Stack *stack, void *out)
{
    if (stack->used < 1)
        B_FATAL(kFamily, "El Stack ha petado en PopStack.", B_ERR_STACK_LOWER);
    --stack->used;
    if (out)
        std::memcpy(out, slot(stack, stack->used), stack->size);
}

void PopStackFifo(Stack *stack, void *out)
{
    if (stack->used < 1)
        B_FATAL(kFamily, "El Stack ha petado en PopStackFifo.", B_ERR_STACK_LOWER);
    if (out)
        std::memcpy(out, slot(stack, 0), stack->size);
    RemoveElement(stack, 0);
}

void StackAt(const Stack *stack, int index, void *out)
{
    if (!below(index, stack->allocated))
        B_FATAL(kFamily, "bad pos stackat", B_ERR_POSITION);
    std::memcpy(out, slot(stack, size_t(index)), stack->size);
}

void StoreAt(Stack *stack, int index, const void *element)
{
    if (!below(index, stack->allocated))
        B_FATAL(kFamily, "bad pos storeat", B_ERR_POSITION);
    store(stack, size_t(index), element);
}

void *GiveMeThePointerToElement(const Stack *stack, int index)
{
    if (!below(index, stack->used))
        B_FATAL(kFamily, " No existe elemento GiveMeThePointerTo...", B_ERR_POSITION);
    return slot(stack, size_t(index));
}

void RemoveElement(Stack *stack, int index)
{
    if (!below(index, stack->used))
        B_FATAL(kFamily, "Non existabuit element in removeElement", B_ERR_UNKNOWN);
    shift(stack, size_t(index), false);
    --stack->used;
}

void RemoveStack(Stack *stack, const void *element)
{
    int index = AlreadyInStack(stack, element);
    if (index >= 0)
        RemoveElement(stack, index);
}

int AlreadyInStack(const Stack *stack, const void *element)
{
    for (size_t i = 0; i < stack->used; ++i)
        if (std::memcmp(slot(stack, i), element, stack->size) == 0)
            return int(i);
    return -1;
}

int StackTop(const Stack *stack)
{
    return int(stack->used);
}

void StackFlush(Stack *stack)
{
    stack->used = 0;
}

Stack *StackTopReset(Stack *stack)
{
    stack->used = 0;
    return stack;
}

int StackTopDecrement(Stack *stack)
{
    if (stack->used < 1)
        return 0;
    --stack->used;
    return 1;
}

void SendArrayToOuterSpace(Stack *stack)
{
    if (stack->data)
        B_free(stack->data);
    stack->data = nullptr;
    stack->allocated = 0;
    stack->used = 0;
}

void *WrapUpTheArrayInBeautifulPaper(Stack *stack)
{
    if (stack->used == 0)
        SendArrayToOuterSpace(stack);
    else if (stack->allocated != stack->used)
        growBy(stack, (long long)stack->used - (long long)stack->allocated);
    return stack->data;
}

int StackMinimize(Stack *stack)
{
    size_t target = stack->used ? stack->used : 1;
    if (target >= stack->allocated)
        return 1;
    return growBy_null(stack, (long long)target - (long long)stack->allocated);
}

void StackSort(Stack *stack, StackCompareFn compare)
{
    if (stack->data && stack->used > 0)
        std::qsort(stack->data, stack->used, stack->size, compare);
}
