// The check of a copy just written, before it may replace an older one.
#pragma once

#include "connection.h"
#include "lasterror.h"

namespace vasq {

// Checks the database schema of connection as the engine's integrity check does, at a
// fraction of its cost: the engine's quick check of every page and tree, then, table by
// table in one scan each, that no NOT NULL column holds a null and that every index holds
// exactly the entries of its table's rows (the sum of a 64-bit hash of each entry, taken
// over the table and over the index), each entry after the one before it in the index's
// order (one comparison per entry, as the index is read), and that no unique index repeats
// a key. A table or index whose shape this cannot follow (an index on expressions, of part
// of its table or under a collation other than BINARY, NOCASE, RTRIM and VASQ_COLLATION, a
// table without rowid) has the whole schema checked by the engine's integrity check.
// A finding fails with SQLITE_CORRUPT's engine code and says what it is, in Spanish.
Status checkCopy(Connection &connection, const char *schema);

} // namespace vasq
