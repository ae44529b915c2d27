// Debug trace and assertion log: assertions and warnings that append a record to debug.log
// and show a box in which the user may stop the program, traces that go to the log and to
// a list window, and the level words that decide which of these are raised.
//
// Texts are Windows-1252. The log file is "debug.log" in the current folder, or
// "debug.<process id>.log" with multiple log files switched on; it is opened for appending
// for each record and closed after it, and a record that cannot be written is dropped.
//
// How boxes and list lines are shown is up to the program: it installs a display hook
// (DebugSetDisplay). Without one, boxes are printed to stderr (in UTF-8) and the call goes
// on as if OK had been chosen, and list lines go nowhere, so tests and tools never block.
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// Level word: a level in the low bits and flags above it, each of which suppresses one
// kind of record.
#define B_DEBUG_NONE 0
#define B_DEBUG_ALL 10
#define B_DEBUG_ASSERT 0x10 // assertions
#define B_DEBUG_WARN 0x20   // warnings
#define B_DEBUG_TRACE 0x40  // traces
#define B_DEBUG_PARAMS 0x80 // parameter records
#define B_DEBUG_TOFILE 0x100 // file-only traces

// Whether a level word lets each kind through. Callers test before they raise a record;
// the Do operations below do not.
static inline int DebugAssertOn(int word) { return word > 1 && !(word & B_DEBUG_ASSERT); }
static inline int DebugWarnOn(int word) { return word > 5 && !(word & B_DEBUG_WARN); }
static inline int DebugTraceOn(int word) { return word > 9 && !(word & B_DEBUG_TRACE); }
static inline int DebugParamsOn(int word) { return word > 9 && !(word & B_DEBUG_PARAMS); }
static inline int DebugToFileOn(int word) { return word > 2 && !(word & B_DEBUG_TOFILE); }

// Icons and answers of a box.
#define B_DEBUG_ICON_STOP 0        // assertion
#define B_DEBUG_ICON_INFORMATION 1 // warning
#define B_DEBUG_OK 1
#define B_DEBUG_CANCEL 2

// Title of the list window that shows traces and parameter records.
#define B_DEBUG_LIST_TITLE "B_Debug log window"

// The display hook.
// box: shows a modal box with OK and Cancel, owned by the program's active window, with
//   the title ("ASSERTION FAILED" or "WARNING"), the text (lines separated by "\n", label
//   and value by "\t") and the icon; returns B_DEBUG_OK or B_DEBUG_CANCEL. Null: stderr.
// listLine: adds the line to the list window titled B_DEBUG_LIST_TITLE (created at the
//   first line when the program has an active window; without one the line goes nowhere)
//   and selects it. Null: the line goes nowhere.
// context is handed back to both. Texts are Windows-1252 and valid during the call only.
typedef struct B_DebugDisplay_t {
    int (*box)(void *context, const char *title, const char *text, int icon);
    void (*listLine)(void *context, const char *line);
    void *context;
} B_DebugDisplay_t;

// Installs a copy of the hook; null removes it.
QUENTARO_API void DebugSetDisplay(const B_DebugDisplay_t *display);

// The global level word (initially B_DEBUG_ALL), which governs the variable sets, the
// library cache, the template engine, the dynamic strings and the items plug-in.
QUENTARO_API int DebugDoGetDefault(void);
// Sets the global level word; returns the previous one.
QUENTARO_API int DebugDoSetDefault(int word);
// Non-zero: each process writes its own "debug.<pid>.log".
QUENTARO_API void DebugDoSetMultipleLogFiles(int flag);
// Applies the level words written in text to word and returns the result (the global word
// is not changed). Words are separated by blanks; "!" negates the word after it. A word
// that begins with NONE or ALL sets the whole word to that level (negated: its bitwise
// complement); one that begins with ASSERT, WARN, TRACE, PARAMS or TOFILE clears that flag
// (negated: sets it). Other words are skipped; names compare with case. A null text
// returns word.
QUENTARO_API int DebugDoLevelStr(int word, const char *text);
// Stores a default value for kind 0 or 1 (other kinds are ignored).
QUENTARO_API void DebugDoDefaultFor(int kind, int value);

// An assertion (stop icon) or a warning (information icon): appends its record to the log
// (pid, title, message, condition, file, five-digit line; null parts as "?"), then shows
// the box. Cancel ends the process with status 1; OK returns. A box text over 1024
// characters is fatal ("DebugDisplayMessage OVERRUN!", see b_error.h).
QUENTARO_API void DebugDoAssert(const char *file, int line, const char *message,
                                const char *condition);
QUENTARO_API void DebugDoWarn(const char *file, int line, const char *message,
                              const char *condition);
// A trace or parameter record: appends "pid - file(line) - message" to the log, then adds
// the message to the list window.
QUENTARO_API void DebugDoTrace(const char *file, int line, const char *message);
QUENTARO_API void DebugDoParams(const char *file, int line, const char *message);
// A trace to the log only.
QUENTARO_API void DebugDoTraceToFile(const char *file, int line, const char *message);

// printf into buffer (size bytes, never more; the text is cut to fit) and returns buffer.
// A null buffer formats into the library's shared debug buffer (size ignored), valid until
// the next such call; a result over 1024 characters there is fatal ("DebugPrintf
// OVERRUN!").
QUENTARO_API char *DebugPrintf(char *buffer, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

QUENTARO_END
