// The library's one process-wide state: the open database with its two connections, the
// stored password, the index cache, the last error and the trace.
#pragma once

#include "connection.h"
#include "indexcache.h"
#include "lasterror.h"
#include "prepared.h"
#include "sidelock.h"
#include "trace.h"

#include <string>
#include <vector>

namespace vasq {

struct State {
    Connection main;
    Connection second;
    SideLock lock;
    SideLock held;        // of VASQ_LockExclusive
    std::string heldPath; // its database, empty while none is held
    std::string path;     // of the open database, empty while none is open
    bool readOnly = false; // how it is open
    std::string password; // for every connection; empty: plain files
    IndexCache index;
    PreparedStatements prepared; // of the main connection
    LastError error;
    Trace trace;

    bool opened() const { return main.isOpen(); }
};

State &state();

// Records status, writes label and its text to the trace at level, returns its code.
int fail(const char *label, int level, const Status &status);

// A call that needs an open database: records VASQ_ERR_NOTOPEN, traces it after label.
int refuse(const char *label);

// For an exception caught in an export: records and traces after label SQLITE_NOMEM's
// failure (out of memory) or SQLITE_ABORT's (anything else, such as a row callback that
// threw) and returns its code; without a label only returns 1.
int caught(const char *label) noexcept;

// Runs an export's body so that no exception crosses the library (see caught).
template <typename Body>
int guarded(const char *label, Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return caught(label);
    }
}

// Closes the connections, drops the index cache and the lock, forgets the path.
void release();

// Takes lock for the database at path, unless VASQ_LockExclusive holds that database:
// then lock stays empty and the held lock serves.
Status lockFor(SideLock &lock, const std::string &path, bool exclusive);

// Clears the last error and sets the trace back to level 0 in the current directory.
void reset();

} // namespace vasq
