// String arrays: many short texts packed one after the other in one block, with a cursor
// on the current one. The variable sets and the template items rest on them.
//
// Texts are 8-bit (Windows-1252) and NUL-terminated. Growth uses the fatal allocation of
// b_mem.h (the process ends when memory runs out). Misuse raises an assertion (b_debug.h,
// under the family's own level word, which lets assertions through) and the operation
// then does nothing and returns null:
//   a null record: "NULL"; no strings: "No hay cadenas en el buffer."; an index that is
//   not -1 and not below the count (or a cursor that designates no string): "No hay tantos
//   strings en el buffer. Pedido [n] de [count]"; a null text: "NULL!".
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

typedef struct B_AStr_t {
    char *pcData;  // the strings one after the other, each with its terminator (a block)
    char *pcCur;   // the current string, inside pcData; callers may step it themselves
    size_t uSize;  // bytes in pcData
    size_t uGrow;  // extra bytes added whenever the block grows
    long nStrs;    // number of strings
    size_t uUsed;  // bytes of the strings, terminators included
    int bAlloc;    // the record itself was allocated by B_AStrCons
} B_AStr_t;

// Sets up array (or a new record when null; B_AStrDest frees it) with a data block of
// initialSize bytes and no strings; the cursor is on the first string to come. An initial
// size of 0 raises "El tamano inicial debe ser > 0" and starts with 1 byte. Returns the
// record.
QUENTARO_API B_AStr_t *B_AStrCons(B_AStr_t *array, size_t initialSize, size_t grow);
// Frees the data block, and the record when B_AStrCons allocated it.
QUENTARO_API void B_AStrDest(B_AStr_t *array);
// Appends a copy of text (which may be one of the array's own strings); when the data
// block would be full it grows to the needed size + the grow step. Returns the address of
// the stored copy (valid until the block next moves). The cursor keeps its string.
QUENTARO_API char *B_AStrAdd(B_AStr_t *array, const char *text);
// n = -1: the string under the cursor (the cursor stays). Otherwise moves the cursor to
// the n-th string (from 0) and returns it.
QUENTARO_API char *B_AStrGet(B_AStr_t *array, long n);
// Removes the n-th string (-1: the one under the cursor); the following ones move down and
// the cursor designates the string that followed the removed one.
QUENTARO_API void B_AStrDel(B_AStr_t *array, long n);
// Replaces the n-th string (-1: the one under the cursor) with text (which may be one of
// the array's own strings), moving the following ones; the cursor moves to it. Returns its
// address.
QUENTARO_API char *B_AStrSet(B_AStr_t *array, long n, const char *text);

QUENTARO_END
