// Checks shared by the library's families; not part of the exported interface.
#pragma once

#include "b_debug.h"
#include "b_error.h"

// Fatal report of one of the library's own checks (module "Sistema basico").
#define B_FATAL(family, message, error) \
    issue_extended_error((message), __LINE__, (family), B_MOD_BASICO, (error))

namespace quentaro {

// When ok is false and the level word lets assertions through, raises an assertion
// (record in the log, then the box) for the family's source line. Returns ok.
bool check(int word, bool ok, const char *family, int line, const char *message,
           const char *condition);

// Counts the library cache's starts and closes: a handle or export found under one count
// is not trusted under another.
unsigned dllGeneration();

// Counts the changes to every string array of the process (made, destroyed, added to,
// deleted from or set, which is how variable sets change): what was read from arrays
// under one count still holds under the same count.
unsigned long astrChanges();

} // namespace quentaro

// The level word is read only when the check fails.
#define B_CHECK(word, family, ok, message, condition) \
    ((ok) ? true : quentaro::check((word), false, (family), __LINE__, (message), (condition)))
