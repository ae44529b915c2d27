// Packed string arrays: growth by a step, in-place replacement with one block move.
#include "b_astr.h"

#include "b_mem.h"
#include "b_private.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char *kFamily = "b_astr";
constexpr int kWord = B_DEBUG_ALL | B_DEBUG_TOFILE;

#define ASTR_CHECK(ok, message, condition) B_CHECK(kWord, kFamily, (ok), (message), (condition))

bool present(const B_AStr_t *array)
{
    return ASTR_CHECK(array != nullptr, "NULL", "pastr != NULL");
}

// Resizes the data block; the cursor keeps designating the same string.
void resize(B_AStr_t *array, size_t size)
{
    size_t cursor = size_t(array->pcCur - array->pcData);
    array->pcData = static_cast<char *>(B_realloc(array->pcData, size));
    array->pcCur = array->pcData + cursor;
    array->uSize = size;
}

// A copy of text when it lies in the array's block, which may move or shift under it;
// null otherwise. Freed by the caller.
char *ownCopy(const B_AStr_t *array, const char *text)
{
    bool inside = text >= array->pcData && text < array->pcData + array->uSize;
    return inside ? B_strdup_tagged(text, __LINE__, kFamily) : nullptr;
}

// The string an operation works on: the n-th, or the one under the cursor for -1.
// Null, after an assertion, when there is none.
char *target(B_AStr_t *array, long n)
{
    if (!ASTR_CHECK(array->nStrs > 0, "No hay cadenas en el buffer.", "pastr->nStrs > 0"))
        return nullptr;
    bool cursorOk = array->pcCur >= array->pcData && array->pcCur < array->pcData + array->uUsed;
    bool ok = n == -1 ? cursorOk : n >= 0 && n < array->nStrs;
    if (!ok) {
        char message[96];
        std::snprintf(message, sizeof message,
                      "No hay tantos strings en el buffer. Pedido [%ld] de [%ld]", n, array->nStrs);
        ASTR_CHECK(false, message, "nCual == -1 || nCual < pastr->nStrs");
        return nullptr;
    }
    if (n == -1)
        return array->pcCur;
    char *string = array->pcData;
    for (long i = 0; i < n; ++i)
        string += std::strlen(string) + 1;
    return string;
}

unsigned long g_changes = 0;

} // namespace

unsigned long quentaro::astrChanges()
{
    return g_changes;
}

B_AStr_t *B_AStrCons(B_AStr_t *array, size_t initialSize, size_t grow)
{
    ++g_changes;
    ASTR_CHECK(initialSize > 0, "El tamano inicial debe ser > 0", "nInitSize > 0");
    if (initialSize == 0)
        initialSize = 1;
    int allocated = array == nullptr;
    if (allocated)
        array = static_cast<B_AStr_t *>(B_malloc_tagged(sizeof(B_AStr_t), __LINE__, kFamily));
    char *data = static_cast<char *>(B_malloc_tagged(initialSize, __LINE__, kFamily));
    data[0] = '\0';
    *array = B_AStr_t{data, data, initialSize, grow, 0, 0, allocated};
    return array;
}

void B_AStrDest(B_AStr_t *array)
{
    ++g_changes;
    if (!present(array))
        return;
    B_free(array->pcData);
    if (array->bAlloc)
        B_free(array);
}

char *B_AStrAdd(B_AStr_t *array, const char *text)
{
    ++g_changes;
    if (!present(array) || !ASTR_CHECK(text != nullptr, "NULL!", "pcNew != NULL"))
        return nullptr;
    char *copy = ownCopy(array, text);
    if (copy)
        text = copy;
    size_t length = std::strlen(text);
    size_t needed = array->uUsed + length + 1;
    if (needed >= array->uSize)
        resize(array, needed + array->uGrow);
    char *stored = array->pcData + array->uUsed;
    std::memcpy(stored, text, length + 1);
    array->uUsed = needed;
    ++array->nStrs;
    if (copy)
        B_free(copy);
    return stored;
}

char *B_AStrGet(B_AStr_t *array, long n)
{
    if (!present(array))
        return nullptr;
    char *string = target(array, n);
    if (string)
        array->pcCur = string;
    return string;
}

void B_AStrDel(B_AStr_t *array, long n)
{
    ++g_changes;
    if (!present(array))
        return;
    char *string = target(array, n);
    if (!string)
        return;
    size_t length = std::strlen(string) + 1;
    size_t after = array->uUsed - size_t(string - array->pcData) - length;
    std::memmove(string, string + length, after);
    array->uUsed -= length;
    --array->nStrs;
    array->pcCur = string;
}

char *B_AStrSet(B_AStr_t *array, long n, const char *text)
{
    ++g_changes;
    if (!present(array) || !ASTR_CHECK(text != nullptr, "NULL!", "pcNew != NULL"))
        return nullptr;
    char *string = target(array, n);
    if (!string)
        return nullptr;
    char *copy = ownCopy(array, text);
    if (copy)
        text = copy;
    size_t offset = size_t(string - array->pcData);
    size_t oldSize = std::strlen(string) + 1;
    size_t newSize = std::strlen(text) + 1;
    size_t used = array->uUsed - oldSize + newSize;
    if (used > array->uSize)
        resize(array, used + array->uGrow);
    string = array->pcData + offset;
    size_t after = array->uUsed - offset - oldSize;
    std::memmove(string + newSize, string + oldSize, after);
    std::memcpy(string, text, newSize);
    array->uUsed = used;
    array->pcCur = string;
    if (copy)
        B_free(copy);
    return string;
}
