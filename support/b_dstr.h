// Dynamic strings: a heap text that grows as it is set, appended to and formatted.
//
// Texts are 8-bit (Windows-1252) and NUL-terminated. Every operation given a null string or
// a null text raises the assertion "Null!" (b_debug.h, under the global level word) and
// returns null (or 0) without doing anything. Operations that need more room resize the
// buffer to the needed size + 10 bytes; when memory is short they return null and leave
// the string as it was.
#pragma once

#include "quentaro_api.h"

#include <stdarg.h>

QUENTARO_BEGIN

typedef struct B_Str_t {
    size_t uLen;     // characters (valid unless bDirty)
    size_t uSize;    // buffer bytes
    int bDirty;      // the caller may have written into the buffer: recount the length
    int bFreeBuffer; // B_StrDest frees the buffer
    char *pcBuffer;  // the characters, NUL-terminated (a b_mem.h block)
} B_Str_t;

// A new string holding a copy of text (null counts as empty), with 10 bytes to spare.
// Null when memory is short. Destroy it with B_StrDest.
QUENTARO_API B_Str_t *B_StrCons(const char *text);
// Frees the buffer (unless the owns-buffer flag was cleared) and the record. Returns 0.
QUENTARO_API int B_StrDest(B_Str_t *string);
// The length; recounts it (within the buffer) when the string is dirty.
QUENTARO_API size_t B_StrLen(B_Str_t *string);
// The characters (owned by the string; valid until it next changes).
QUENTARO_API char *B_StrBuffer(B_Str_t *string);
// Makes room for size characters and marks the string dirty, for callers that write into
// the buffer themselves. size 0 raises the assertion "Out of order!". Returns string, or
// null when memory is short.
QUENTARO_API B_Str_t *B_StrGrowTo(B_Str_t *string, size_t size);
// Shrinks the buffer to length + 1 bytes when more than 10 are spare. Null when the resize
// fails (the string unchanged).
QUENTARO_API B_Str_t *B_StrAdjustToLen(B_Str_t *string);
// The owns-buffer flag: clear it to keep the buffer (then freed with B_free) after
// B_StrDest.
QUENTARO_API int B_StrGetFreeBufferFlag(B_Str_t *string);
QUENTARO_API void B_StrSetFreeBufferFlag(B_Str_t *string, int flag);
// Copies the first n characters (0 or more than the length: all) to dest and terminates
// it; dest must hold that many characters + 1. Returns dest.
QUENTARO_API char *B_StrDuplicate(B_Str_t *string, char *dest, size_t n);
// Sets the text to the first n characters of text (0: all of it). text may point into the
// string itself. Returns string, or null.
QUENTARO_API B_Str_t *B_StrSet(B_Str_t *string, const char *text, size_t n);
// Appends the first n characters of text (0: all of it). text may point into the string
// itself. Returns string, or null.
QUENTARO_API B_Str_t *B_StrAdd(B_Str_t *string, const char *text, size_t n);
// Formats (printf) and sets the text to at most max characters of the result (0: no
// limit). A result of 2048 characters or more, or a formatting error, is refused: the
// warning "SYSTEM PANIC! vsprintf() overrun." is raised (when the global level word lets
// warnings through) and null returned, the string unchanged.
QUENTARO_API B_Str_t *B_StrPrintf(B_Str_t *string, size_t max, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
QUENTARO_API B_Str_t *B_StrVPrintf(B_Str_t *string, size_t max, const char *format,
                                   va_list args);
// The same, appending.
QUENTARO_API B_Str_t *B_StrAddf(B_Str_t *string, size_t max, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
QUENTARO_API B_Str_t *B_StrVAddf(B_Str_t *string, size_t max, const char *format,
                                 va_list args);

QUENTARO_END
