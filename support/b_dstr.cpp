// Dynamic strings over a b_mem.h buffer that keeps 10 bytes to spare when it grows.
#include "b_dstr.h"

#include "b_buffer.h"
#include "b_mem.h"
#include "b_private.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

namespace {

constexpr const char *kFamily = "b_dstr";
constexpr size_t kSpare = 10;

bool present(const void *p, int line, const char *condition)
{
    return p != nullptr || quentaro::check(DebugDoGetDefault(), false, kFamily, line, "Null!", condition);
}

#define PRESENT(p, condition) present((p), __LINE__, (condition))

// Room for size characters; text, when it points into the buffer, follows it if it moves.
bool reserve(B_Str_t *string, size_t size, const char *&text)
{
    if (size < string->uSize)
        return true;
    if (size > SIZE_MAX - kSpare)
        return false;
    char *old = string->pcBuffer;
    char *buffer = static_cast<char *>(B_null_realloc(old, size + kSpare));
    if (!buffer)
        return false;
    if (text >= old && text < old + string->uSize)
        text = buffer + (text - old);
    string->pcBuffer = buffer;
    string->uSize = size + kSpare;
    return true;
}

size_t capped(const char *text, size_t n)
{
    size_t length = std::strlen(text);
    return n != 0 && n < length ? n : length;
}

// Puts n characters of text at offset `at` (the length so far) and terminates the string.
B_Str_t *place(B_Str_t *string, size_t at, const char *text, size_t n)
{
    size_t count = capped(text, n);
    if (!reserve(string, at + count, text))
        return nullptr;
    std::memmove(string->pcBuffer + at, text, count);
    string->pcBuffer[at + count] = '\0';
    string->uLen = at + count;
    string->bDirty = 0;
    return string;
}

// Formats into a buffer of the scratch buffer's size and hands the text to store.
B_Str_t *format(B_Str_t *string, size_t max, const char *pattern, va_list args, bool append)
{
    if (!PRESENT(string, "pstr != NULL") || !PRESENT(pattern, "pcFormat != NULL"))
        return nullptr;
    char text[B_BUFFER_LEN];
    int n = std::vsnprintf(text, sizeof text, pattern, args);
    if (n < 0 || size_t(n) >= sizeof text) {
        if (DebugWarnOn(DebugDoGetDefault()))
            DebugDoWarn(kFamily, __LINE__, "SYSTEM PANIC! vsprintf() overrun.",
                        "uLen != (StrSize)EOF && uLen < BUFFER_LEN");
        return nullptr;
    }
    return append ? B_StrAdd(string, text, max) : B_StrSet(string, text, max);
}

} // namespace

B_Str_t *B_StrCons(const char *text)
{
    size_t length = text ? std::strlen(text) : 0;
    B_Str_t *string = static_cast<B_Str_t *>(B_null_malloc_tagged(sizeof(B_Str_t), __LINE__, kFamily));
    if (!string)
        return nullptr;
    char *buffer = length > SIZE_MAX - kSpare
                       ? nullptr
                       : static_cast<char *>(B_null_malloc_tagged(length + kSpare, __LINE__, kFamily));
    if (!buffer) {
        B_free(string);
        return nullptr;
    }
    if (length)
        std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    *string = B_Str_t{length, length + kSpare, 0, 1, buffer};
    return string;
}

int B_StrDest(B_Str_t *string)
{
    if (!PRESENT(string, "pstr != NULL"))
        return 0;
    if (string->bFreeBuffer)
        B_free(string->pcBuffer);
    B_free(string);
    return 0;
}

size_t B_StrLen(B_Str_t *string)
{
    if (!PRESENT(string, "pstr != NULL"))
        return 0;
    if (string->bDirty) {
        string->uLen = strnlen(string->pcBuffer, string->uSize - 1);
        string->pcBuffer[string->uLen] = '\0';
        string->bDirty = 0;
    }
    return string->uLen;
}

char *B_StrBuffer(B_Str_t *string)
{
    return PRESENT(string, "pstr != NULL") ? string->pcBuffer : nullptr;
}

B_Str_t *B_StrGrowTo(B_Str_t *string, size_t size)
{
    if (!PRESENT(string, "pstr != NULL"))
        return nullptr;
    B_CHECK(DebugDoGetDefault(), kFamily, size > 0, "Out of order!", "uSize > 0");
    const char *none = nullptr;
    if (!reserve(string, size, none))
        return nullptr;
    string->bDirty = 1;
    return string;
}

B_Str_t *B_StrAdjustToLen(B_Str_t *string)
{
    if (!PRESENT(string, "pstr != NULL"))
        return nullptr;
    size_t length = B_StrLen(string);
    if (length + kSpare < string->uSize) {
        char *buffer = static_cast<char *>(B_null_realloc(string->pcBuffer, length + 1));
        if (!buffer)
            return nullptr;
        string->pcBuffer = buffer;
        string->uSize = length + 1;
    }
    return string;
}

int B_StrGetFreeBufferFlag(B_Str_t *string)
{
    return PRESENT(string, "pstr != NULL") ? string->bFreeBuffer : 0;
}

void B_StrSetFreeBufferFlag(B_Str_t *string, int flag)
{
    if (PRESENT(string, "pstr != NULL"))
        string->bFreeBuffer = flag;
}

char *B_StrDuplicate(B_Str_t *string, char *dest, size_t n)
{
    if (!PRESENT(string, "pstr != NULL") || !PRESENT(dest, "pcDest != NULL"))
        return nullptr;
    size_t length = B_StrLen(string);
    size_t count = n != 0 && n < length ? n : length;
    std::memcpy(dest, string->pcBuffer, count);
    dest[count] = '\0';
    return dest;
}

B_Str_t *B_StrSet(B_Str_t *string, const char *text, size_t n)
{
    if (!PRESENT(string, "pstr != NULL") || !PRESENT(text, "pcStr != NULL"))
        return nullptr;
    return place(string, 0, text, n);
}

B_Str_t *B_StrAdd(B_Str_t *string, const char *text, size_t n)
{
    if (!PRESENT(string, "pstr != NULL") || !PRESENT(text, "pcStr != NULL"))
        return nullptr;
    return place(string, B_StrLen(string), text, n);
}

B_Str_t *B_StrPrintf(B_Str_t *string, size_t max, const char *pattern, ...)
{
    va_list args;
    va_start(args, pattern);
    B_Str_t *result = format(string, max, pattern, args, false);
    va_end(args);
    return result;
}

B_Str_t *B_StrVPrintf(B_Str_t *string, size_t max, const char *pattern, va_list args)
{
    return format(string, max, pattern, args, false);
}

B_Str_t *B_StrAddf(B_Str_t *string, size_t max, const char *pattern, ...)
{
    va_list args;
    va_start(args, pattern);
    B_Str_t *result = format(string, max, pattern, args, true);
    va_end(args);
    return result;
}

B_Str_t *B_StrVAddf(B_Str_t *string, size_t max, const char *pattern, va_list args)
{
    return format(string, max, pattern, args, true);
}
