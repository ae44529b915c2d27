// Maintenance of a database file: integrity check and index rebuild, and copies under
// another password (compaction, password change) that replace their target atomically.
#pragma once

#include "connection.h"
#include "lasterror.h"

#include <string>

namespace vasq {

// Runs the integrity check on connection; a damaged file fails with SQLITE_CORRUPT's
// engine code and the engine's first finding as text.
Status checkIntegrity(Connection &connection);

// Writes the whole database of connection, user_version included, to a new file beside
// target keyed with password (plain when empty) and with the permissions of the source,
// then closes connection and renames the new file over target. On failure target is
// left as it was and the new file removed.
Status copyTo(Connection &connection, const std::string &target, const std::string &password);

} // namespace vasq
