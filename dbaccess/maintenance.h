// Maintenance of a database file: integrity check and index rebuild, and copies that
// replace their target atomically: under another password (compaction, password change)
// or stored through byte transforms.
#pragma once

#include "connection.h"
#include "lasterror.h"
#include "transformvfs.h"

#include <string>

namespace vasq {

// Runs the integrity check (with quick, the engine's quick check of pages and trees alone)
// on schema of connection; a damaged file fails with SQLITE_CORRUPT's engine code and the
// engine's first finding as text.
Status checkIntegrity(Connection &connection, const char *schema = "main", bool quick = false);

// Writes the whole database of connection, user_version included, to a new file beside
// target keyed with password (plain when empty) and with the permissions of the source,
// then closes connection and renames the new file over target. On failure target is
// left as it was and the new file removed.
Status copyTo(Connection &connection, const std::string &target, const std::string &password);

// Writes the plain copy of the database of connection (opened with a VFS) to target as
// copyTo does, every byte stored through transforms, in pages of kSealedPageSize bytes,
// from one read transaction: one state of the database while other copies go on writing.
// The copy, once written, passes checkCopy and is sealed, or is not kept.
Status saveTransformed(Connection &connection, const std::string &target, const Transforms &transforms);

// Reads the plain database stored at source through transforms and writes it, keyed with
// password (plain when empty), to target as copyTo does. A sealed source must match its
// seal; a source without tables is refused.
Status loadTransformed(const std::string &source, const Transforms &transforms, const std::string &target,
                       const std::string &password);

} // namespace vasq
