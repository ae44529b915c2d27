// The byte queue (bytes added at the back, taken from the front) and the library's shared
// scratch buffer.
//
// Queue operations return 0 for success and -1 when memory is short (the queue is then
// left as it was). Misuse raises an assertion (b_debug.h, under the family's own level
// word, which lets assertions through): "Null!" for a null record, "Internal
// inconsistency!" before and after an operation when the record's counts do not fit its
// block; the operation then does nothing and returns -1 (or 0 bytes).
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// Size of the scratch buffer.
#define B_BUFFER_LEN 2048

typedef struct B_Buf_t {
    unsigned char *pData; // the block (b_mem.h), or null
    size_t uSize;         // bytes in the block
    size_t uLen;          // bytes held
    size_t uStart;        // offset of the first held byte; uLen + uStart <= uSize
    int bAlloc;           // the record itself was allocated by B_BufCons
} B_Buf_t;

// Sets up queue (or a new record when null; B_BufDest frees it) with a block of capacity
// bytes (0 means 100), holding nothing. Null when memory is short (nothing left
// allocated).
QUENTARO_API B_Buf_t *B_BufCons(B_Buf_t *queue, size_t capacity);
// Frees the block, and the record when B_BufCons allocated it.
QUENTARO_API void B_BufDest(B_Buf_t *queue);
// Appends n bytes (n = 0 does nothing). 0 or -1.
QUENTARO_API int B_BufAdd(B_Buf_t *queue, const void *bytes, size_t n);
// Appends one byte. 0 or -1.
QUENTARO_API int B_BufAddByte(B_Buf_t *queue, int byte);
// The held byte at offset from the front; 0, after the assertion "Incorrect byte
// requested!", when offset is not below the held length.
QUENTARO_API unsigned char B_BufAt(B_Buf_t *queue, size_t offset);
// Takes min(n, held) bytes from the front, copying them to dest when not null, and returns
// their count; asking for more than is held raises "Not enough bytes in the buffer!".
QUENTARO_API size_t B_BufRemove(B_Buf_t *queue, void *dest, size_t n);
// Drops every held byte.
QUENTARO_API void B_BufFlush(B_Buf_t *queue);
// Makes room for size held bytes: moves the held bytes to the front when more room lies
// before them than they take, then grows the block to size + start + 20 bytes when it is
// too small. 0 or -1.
QUENTARO_API int B_BufGrowTo(B_Buf_t *queue, size_t size);

// The library's scratch buffer of B_BUFFER_LEN bytes, shared with the program. Not
// reentrant: its contents last until the next call that uses it.
QUENTARO_API char *B_Buffer(void);

QUENTARO_END
