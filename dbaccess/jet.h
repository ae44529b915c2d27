// Translation of the program's Jet-dialect SQL into the SQL that SQLite runs.
#pragma once

#include "lasterror.h"

#include <string>
#include <string_view>

namespace vasq {

// Rewrites sql (Windows-1252) outside quotes and square brackets: TRUE/FALSE as 1/0,
// "DELETE * FROM" as "DELETE FROM", qualified targets of an UPDATE's SET list as bare
// column names, #date# literals as 'yyyy/mm/dd', and AUTOINCREMENT columns of CREATE
// TABLE as INTEGER PRIMARY KEY AUTOINCREMENT. Everything else is kept byte for byte.
// Fails with VASQ_ERR_STATEMENT on a date literal that is no valid date.
Status translateJet(std::string_view sql, std::string &out);

} // namespace vasq
