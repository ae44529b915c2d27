// Size-headed memory blocks: every block the library hands out, and the memory helpers.
//
// A block carries a hidden header in front of the caller's bytes (the total size and a
// mark that tells a block of this family from any other address). Blocks are freed,
// resized and duplicated only through this family, also across files: whatever the
// library returns as a block (duplicated strings, letter texts, string arrays, dynamic
// strings) is released with B_free. "Fatal" below means the report of b_error.h, after
// which the process ends; the _null variants return null instead when memory is short
// but keep the fatal checks on sizes and blocks.
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// The _tagged operations take the caller's source line and file; they are not used.

// A new block of size bytes (uninitialised). size 0: fatal "B_malloc 0 bytes pedidos. De
// que vais?"; no memory: fatal "B_malloc overflow: me han pedido %lu bytes.".
QUENTARO_API void *B_malloc_tagged(size_t size, int tagLine, const char *tagFile);
// As B_malloc_tagged, zero-filled.
QUENTARO_API void *B_calloc_tagged(size_t size, int tagLine, const char *tagFile);
// Resizes a block, keeping its contents up to the smaller size; the block may move.
// A null or foreign block: fatal "B_realloc necesita un masaje."; size 0: fatal; no
// memory: fatal "Que podemos agregar...".
QUENTARO_API void *B_realloc(void *block, size_t size);

// As above, but null when memory is short (B_null_realloc then leaves the old block valid).
QUENTARO_API void *B_null_malloc_tagged(size_t size, int tagLine, const char *tagFile);
QUENTARO_API void *B_null_calloc_tagged(size_t size, int tagLine, const char *tagFile);
QUENTARO_API void *B_null_realloc(void *block, size_t size);

// A block holding a copy of the text with its terminator. A null text is fatal; no
// memory: fatal (B_strdup_tagged) or null (B_null_strdup_tagged).
QUENTARO_API char *B_strdup_tagged(const char *text, int tagLine, const char *tagFile);
QUENTARO_API char *B_null_strdup_tagged(const char *text, int tagLine, const char *tagFile);

// A block of max(strlen(text) + 1, n) bytes: the text with its terminator, followed by
// blanks up to the last byte, which is a terminator.
QUENTARO_API char *B_strndup(const char *text, size_t n);
QUENTARO_API char *B_null_strndup(const char *text, size_t n);

// Frees a block. A null or foreign block: fatal "B_free no tira.".
QUENTARO_API void B_free(void *block);

// Leak-checker entry points: blocks are not tracked, so they do nothing.
QUENTARO_API void B_free_all(void);
QUENTARO_API void B_init_test(void);
QUENTARO_API void B_do_test(void);
// Always 0 (no block is ever reported bad).
QUENTARO_API int B_test_all_pointers(void);

// Copies n bytes; the areas may overlap in either direction. Returns dest.
QUENTARO_API void *B_memcpy(void *dest, const void *src, size_t n);
// Fills n bytes with the byte. Returns dest.
QUENTARO_API void *B_memset(void *dest, int byte, size_t n);
// Compares n bytes as unsigned bytes: negative, 0 or positive, as memcmp.
QUENTARO_API int B_memcmp(const void *a, const void *b, size_t n);
// The first occurrence of the byte within n bytes, or null.
QUENTARO_API void *B_memchr(const void *area, int byte, size_t n);
// The earliest position within the n bytes of the area that holds any of the setLength
// bytes of the set, or null.
QUENTARO_API void *B_memchrstr(const void *area, size_t n, const void *set, size_t setLength);

QUENTARO_END

// Shorthands that pass the caller's line and file as tags.
#define B_malloc(size) B_malloc_tagged((size), __LINE__, __FILE__)
#define B_calloc(size) B_calloc_tagged((size), __LINE__, __FILE__)
#define B_null_malloc(size) B_null_malloc_tagged((size), __LINE__, __FILE__)
#define B_null_calloc(size) B_null_calloc_tagged((size), __LINE__, __FILE__)
#define B_strdup(text) B_strdup_tagged((text), __LINE__, __FILE__)
#define B_null_strdup(text) B_null_strdup_tagged((text), __LINE__, __FILE__)
