// Variable sets: small name=value property lists of text, kept in one string array.
//
// A variable set is a B_AStr_t (b_astr.h) whose strings alternate name, value, name,
// value...; it is destroyed with B_AStrDest. Names are unique within a set built with
// these operations and are compared without regard to case (B_stricmp, b_str.h). Names and
// values are Windows-1252; blanks are part of them. The array's cursor is the set's
// cursor: after a lookup that finds a variable it designates the variable's name, and
// stepping it over that string (its length + 1) reaches the value.
//
// Text form of a set: one entry per variable, "name=value" followed by a terminator, in
// stored order, and one more terminator after the last entry (an empty set is a single
// terminator). The name is what precedes the first "=", so a value may hold "=" and a name
// cannot.
//
// A null set, name, text or buffer raises the assertion "NULL" (b_debug.h, under the global
// level word) and the operation then does nothing and returns null. Growth uses the fatal
// allocation of b_mem.h.
#pragma once

#include "b_astr.h"
#include "quentaro_api.h"

#include <string.h>

QUENTARO_BEGIN

// Bytes of the shared number buffer.
#define VAR_NUM_BUFFER_LEN 52

// Sets up set (or a new record when null; B_AStrDest frees it) with room for the first
// entry of text + 200 bytes and a grow step of 200, then loads text (when not null) with
// VarLoad without overwriting. Returns the set.
QUENTARO_API B_AStr_t *VarCons(B_AStr_t *set, const char *text);

// The stored name of the variable called name (without regard to case), or null when the
// set has none; the cursor is left on it.
QUENTARO_API char *VarFind(B_AStr_t *set, const char *name);

// Sets the variable: a present one gets value in place (the other variables keep their
// order), an absent one is appended with it. value may be a string of the set itself.
// Returns value (the caller's pointer, not the stored copy).
QUENTARO_API const char *VarSet(B_AStr_t *set, const char *name, const char *value);

// Adds the variables of a text form: each entry's name is appended with its value, or,
// when already present, replaced only when overwrite is not 0. Loading stops at the first
// entry without "=" (the empty entry that ends the list, or a malformed one). text is not
// modified.
QUENTARO_API void VarLoad(B_AStr_t *set, const char *text, int overwrite);

// Writes the set's text form into buffer, which holds size bytes; the text form takes the
// array's uUsed + 1 bytes. Returns buffer, or null when it does not fit (buffer then holds
// an empty text form, a single terminator, when size is not 0).
QUENTARO_API char *VarStr(const B_AStr_t *set, char *buffer, size_t size);

// The library's shared buffer of VAR_NUM_BUFFER_LEN bytes, where callers format a number
// before passing it as a value. Not reentrant: valid until its next use.
QUENTARO_API char *VarNumBuffer(void);

QUENTARO_END

// The value of the variable called name, or def when the set has none; the cursor is left
// on the value. Valid until the set next changes.
static inline const char *VarGet(B_AStr_t *set, const char *name, const char *def)
{
    char *found = VarFind(set, name);
    if (!found)
        return def;
    set->pcCur = found + strlen(found) + 1;
    return set->pcCur;
}
