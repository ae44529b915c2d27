// The text collation registered on every connection: no regard to case, accented letters
// with their base letter, N-tilde as its own letter after N.
#pragma once

#include <string_view>

struct sqlite3;

namespace vasq {

// Compares two Windows-1252 texts: first by letters without accents or case (N-tilde
// after N, every other character before the letters), then by accents; case never
// counts. Negative, 0 or positive.
int compareText(std::string_view a, std::string_view b);

// compareText of two UTF-8 texts' Windows-1252 forms: the collation the engine calls, which
// decodes no further than the first difference.
int compareUtf8(std::string_view a, std::string_view b);

// Registers the collation under VASQ_COLLATION on db; returns SQLite's result code.
int registerCollation(sqlite3 *db);

} // namespace vasq
