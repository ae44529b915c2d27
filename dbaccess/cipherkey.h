// The key a keyed file is opened or written with: the engine's own key derivation from the
// password, done once per password and salt in a run and handed to the engine in its raw
// form, so that the main and the second connection, and the copies taken of the database,
// do not each spend the derivation's time again.
#pragma once

#include <string>

struct sqlite3;

namespace vasq {

// What the engine is keyed with for the main file of db under password (Windows-1252; an
// empty one keys nothing): the raw key ("x'...'", the key and the salt in hexadecimal),
// the salt being the file's first 16 bytes, or a new random one when the file is shorter
// (a new or empty file) or db is null (a file about to be written). The password itself,
// in UTF-8, when it already has the raw form or the derivation failed: the engine then
// derives the key.
std::string engineKey(sqlite3 *db, const std::string &password);

} // namespace vasq
