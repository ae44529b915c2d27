// The library cache: every plug-in library loaded once, under the name its callers give.
//
// Callers name a library the way the system's files do ("Items.dll"). The cache keeps that
// name, as given, as the key of the loaded library and compares it without regard to case
// (B_stricmp, b_str.h): "Items.dll" and "ITEMS.DLL" reach the same loaded copy, while
// "./Items.dll" is a different entry (which the system loader may still resolve to the same
// copy). The file loaded for a name is:
//   - the name is cut into a folder (up to its last "/" or "\", each "\" read as "/") and a
//     base name; a name without a folder is looked for in the program folder
//     (progdir::path(), the TESORIO_PROGRAM_DIR variable or the executable's folder), a
//     name with one keeps it (a relative folder is relative to the current folder);
//   - a base name that ends in ".so" (in any case) is used as it is; any other loses a
//     final ".dll" (in any case), is put in lower case and gets "lib" in front and ".so"
//     behind: "Items.dll" and "items" both load "<program folder>/libitems.so".
// Names and paths are Windows-1252. The cache holds DLL_CACHE_SLOTS libraries; they stay
// loaded until DLLClose.
//
// A null name raises the assertion "NULL" (b_debug.h, under the global level word). Not
// reentrant: main thread only.
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// Libraries the cache can hold.
#define DLL_CACHE_SLOTS 512

// Module handle of a loaded library, as the system loader gives it (dlopen); look its
// exports up with dlsym.
typedef void *DLLHandle_t;

// Starts the cache, empty. Called once before DLLInstance; a second call while the cache
// is started does nothing.
QUENTARO_API void DLLInit(void);

// The handle of the library called name: the cached one when an entry has that name, else
// the library is loaded (rule above) and cached. Null when the cache is not started, the
// name is null or empty, the library does not load (DLLError tells why) or all slots are
// taken; nothing is cached then.
QUENTARO_API DLLHandle_t DLLInstance(const char *name);

// Unloads every cached library and stops the cache; DLLInit must be called again before it
// is used. Handles given before are no longer valid.
QUENTARO_API void DLLClose(void);

// Why the last library that DLLInstance tried to load did not load, naming the file; ""
// when that load succeeded or none was tried. Windows-1252, valid until the next load.
QUENTARO_API const char *DLLError(void);

QUENTARO_END
