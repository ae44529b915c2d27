// Stack: the growable array of fixed-size elements that the whole system uses for lists.
//
// A Stack is a plain record that callers embed and pass by address. Elements are copied in
// and out by value, `size` bytes at a time (a stack of pointers is the common case). The
// element block is a block of b_mem.h. Copying a Stack record copies only the record (the
// block is shared); exactly one copy is freed, with SendArrayToOuterSpace.
//
// Growth happens only when a push or insert finds the stack full, by exactly the grow step;
// a stack with grow step 0 cannot grow. Index arguments are ints; an index below 0 or at or
// above its bound (given per operation) is fatal, as are pops from an empty stack and
// growth that is impossible: the report of b_error.h, after which the process ends. The
// _null variants return 0 instead when memory is short or the stack has no block, and keep
// the fatal index checks.
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

typedef struct Stack {
    void *data;       // element block, or null while the stack owns none
    size_t allocated; // element slots in the block
    size_t used;      // elements 0 .. used-1 are valid
    size_t size;      // element size in bytes
    size_t step;      // slots added when a full stack grows; 0: the stack cannot grow
} Stack;

// Comparator for StackSort: negative, 0 or positive for two element addresses.
typedef int (*StackCompareFn)(const void *a, const void *b);

// Sets up out (an empty record, size and step stored) and grows it by initial slots (none:
// no block until the first push). New_null_StackOfInternal leaves it without a block when
// memory is short. Both return out; a null out is fatal.
QUENTARO_API Stack *NewStackOfInternal(Stack *out, size_t size, size_t initial, size_t step);
QUENTARO_API Stack *New_null_StackOfInternal(Stack *out, size_t size, size_t initial,
                                             size_t step);
// All fields 0. A null stack: fatal "Passed (Stack*)NULL".
QUENTARO_API void InitializeStackStruct(Stack *stack);
// Fills out around an existing element block (which the stack then owns). Returns out.
QUENTARO_API Stack *MakeThisAStack(Stack *out, size_t allocated, size_t used, size_t size,
                                   size_t step, void *data);

// Adds n slots (a negative n removes slots; elements beyond the new end are dropped).
// Without a block, allocates n slots. n = 0 with a block: fatal "Trying to grow the
// ungrowable"; without a block it does nothing. A result of no slots is fatal.
QUENTARO_API void GrowBy(Stack *stack, int n);
// As GrowBy but never fatal: 1 done; 0 for n = 0, a result of no slots, or no memory
// (the stack unchanged).
QUENTARO_API int GrowBy_null(Stack *stack, int n);

// Appends a copy of the element (a null element reserves the slot, its bytes unset).
// Full and not growable: fatal "Trying to grow the ungrowable".
QUENTARO_API void PushStack(Stack *stack, const void *element);
// 1 appended; 0 when the stack has no block or cannot grow.
QUENTARO_API int PushStack_null(Stack *stack, const void *element);
// Inserts at index (0 .. used; above: fatal "Te pasaste, Vindelma No tan arriba
// (insertstack)"), moving the elements from index up one slot.
QUENTARO_API void InsertStack(Stack *stack, int index, const void *element);
// 1 inserted; 0 when the stack has no block or cannot grow.
QUENTARO_API int InsertStack_null(Stack *stack, int index, const void *element);
// Inserts at index 0.
QUENTARO_API void PushStackFifo(Stack *stack, const void *element);
QUENTARO_API int PushStackFifo_null(Stack *stack, const void *element);

// Copies the last element to out (when out is not null) and removes it. Empty: fatal
// "El Stack ha petado en PopStack.".
QUENTARO_API void PopStack(Stack *stack, void *out);
// Copies element 0 to out (when not null) and removes it. Empty: fatal "El Stack ha
// petado en PopStackFifo.".
QUENTARO_API void PopStackFifo(Stack *stack, void *out);

// Copies slot index out of, or element into, the block. The bound is `allocated`, not
// `used`: slots past the top are reachable (fatal "bad pos stackat" / "bad pos storeat").
// StoreAt does not change `used`.
QUENTARO_API void StackAt(const Stack *stack, int index, void *out);
QUENTARO_API void StoreAt(Stack *stack, int index, const void *element);
// Address of element index (below used, else fatal " No existe elemento
// GiveMeThePointerTo..."); valid until the block next moves.
QUENTARO_API void *GiveMeThePointerToElement(const Stack *stack, int index);
// Removes element index (below used, else fatal "Non existabuit element in
// removeElement"), moving the following ones down. The block never moves.
QUENTARO_API void RemoveElement(Stack *stack, int index);
// Removes the first element equal byte for byte to element; nothing when there is none.
QUENTARO_API void RemoveStack(Stack *stack, const void *element);
// Index of the first element equal byte for byte to element, or -1.
QUENTARO_API int AlreadyInStack(const Stack *stack, const void *element);

// Number of elements.
QUENTARO_API int StackTop(const Stack *stack);
// Empties the stack, keeping the block. StackTopReset returns the stack.
QUENTARO_API void StackFlush(Stack *stack);
QUENTARO_API Stack *StackTopReset(Stack *stack);
// Drops the last element: 1, or 0 when the stack is empty.
QUENTARO_API int StackTopDecrement(Stack *stack);

// Frees the block and zeroes data, allocated and used (size and step stay, so the record
// may be used again). The stack's destructor.
QUENTARO_API void SendArrayToOuterSpace(Stack *stack);
// Fits the block to the elements and returns it; an empty stack loses its block and gives
// null.
QUENTARO_API void *WrapUpTheArrayInBeautifulPaper(Stack *stack);
// Moves the elements to a block of max(used, 1) slots when smaller than the current one.
// 1 done (or nothing to do); 0 when memory is short (the stack unchanged).
QUENTARO_API int StackMinimize(Stack *stack);
// Sorts the elements in place with qsort (equal elements in no particular order).
QUENTARO_API void StackSort(Stack *stack, StackCompareFn compare);

QUENTARO_END

// A stack of elements of the given type.
#define NewStackOf(stack, type, initial, step) \
    NewStackOfInternal((stack), sizeof(type), (initial), (step))
