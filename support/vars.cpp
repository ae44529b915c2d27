// Variable sets over string arrays: lookup by folded name, in-place replacement, text form.
#include "vars.h"

#include "b_mem.h"
#include "b_private.h"
#include "b_str.h"

#include <cstring>

namespace {

constexpr const char *kFamily = "vars";

char g_numBuffer[VAR_NUM_BUFFER_LEN];

bool present(const void *p, int line, const char *condition)
{
    return p != nullptr || quentaro::check(DebugDoGetDefault(), false, kFamily, line, "NULL", condition);
}

#define PRESENT(p, condition) present((p), __LINE__, (condition))

bool inside(const B_AStr_t *set, const char *text)
{
    return text >= set->pcData && text < set->pcData + set->uSize;
}

// The stored name equal (without case) to the first length characters of name, or null;
// the cursor is left on it.
char *findName(B_AStr_t *set, const char *name, size_t length)
{
    char *cursor = set->pcData;
    for (long pairs = set->nStrs >> 1; pairs > 0; --pairs) {
        size_t stored = std::strlen(cursor);
        if (stored == length && B_strnicmp(cursor, name, length) == 0) {
            set->pcCur = cursor;
            return cursor;
        }
        cursor += stored + 1;
        cursor += std::strlen(cursor) + 1;
    }
    return nullptr;
}

// Replaces the value that follows the name under the cursor.
void replaceValue(B_AStr_t *set, char *name, const char *value)
{
    set->pcCur = name + std::strlen(name) + 1;
    B_AStrSet(set, -1, value);
}

// Appends a variable whose name is the first length characters of name.
void append(B_AStr_t *set, const char *name, size_t length, const char *value)
{
    char *ownName = static_cast<char *>(B_malloc_tagged(length + 1, __LINE__, kFamily));
    std::memcpy(ownName, name, length);
    ownName[length] = '\0';
    char *ownValue = inside(set, value) ? B_strdup_tagged(value, __LINE__, kFamily) : nullptr;
    B_AStrAdd(set, ownName);
    B_AStrAdd(set, ownValue ? ownValue : value);
    if (ownValue)
        B_free(ownValue);
    B_free(ownName);
}

} // namespace

B_AStr_t *VarCons(B_AStr_t *set, const char *text)
{
    size_t first = text ? std::strlen(text) : 0;
    set = B_AStrCons(set, first + 200, 200);
    if (text)
        VarLoad(set, text, 0);
    return set;
}

char *VarFind(B_AStr_t *set, const char *name)
{
    if (!PRESENT(set, "pvar != NULL") || !PRESENT(name, "pcVar != NULL"))
        return nullptr;
    return findName(set, name, std::strlen(name));
}

const char *VarSet(B_AStr_t *set, const char *name, const char *value)
{
    if (!PRESENT(set, "pvar != NULL") || !PRESENT(name, "pcVar != NULL") ||
        !PRESENT(value, "pcValue != NULL"))
        return nullptr;
    size_t length = std::strlen(name);
    if (char *found = findName(set, name, length))
        replaceValue(set, found, value);
    else
        append(set, name, length, value);
    return value;
}

void VarLoad(B_AStr_t *set, const char *text, int overwrite)
{
    if (!PRESENT(set, "pvar != NULL") || !PRESENT(text, "pcVars != NULL"))
        return;
    for (const char *entry = text;;) {
        size_t length = std::strlen(entry);
        const char *equals = static_cast<const char *>(std::memchr(entry, '=', length));
        if (!equals)
            return;
        size_t nameLength = size_t(equals - entry);
        if (char *found = findName(set, entry, nameLength)) {
            if (overwrite)
                replaceValue(set, found, equals + 1);
        } else {
            append(set, entry, nameLength, equals + 1);
        }
        entry += length + 1;
    }
}

char *VarStr(const B_AStr_t *set, char *buffer, size_t size)
{
    if (!PRESENT(set, "pvar != NULL") || !PRESENT(buffer, "pcBuffer != NULL"))
        return nullptr;
    if (set->uUsed + 1 > size) {
        if (size)
            buffer[0] = '\0';
        return nullptr;
    }
    std::memcpy(buffer, set->pcData, set->uUsed);
    buffer[set->uUsed] = '\0';
    char *name = buffer;
    for (long pairs = set->nStrs >> 1; pairs > 0; --pairs) {
        char *end = name + std::strlen(name);
        *end = '=';
        name = end + 1;
        name += std::strlen(name) + 1;
    }
    return buffer;
}

char *VarNumBuffer(void)
{
    return g_numBuffer;
}
