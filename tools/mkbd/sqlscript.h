// Splits an SQL script into its statements, so that each can be run on its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sqlscript {

// The statements of a script, in order, trimmed and without their ending ";".
// A statement ends with ";" outside quotes ('...', "..."), brackets ([...], `...`) and
// comments ("--" to the end of the line, "/* */"), which are dropped. A CREATE TRIGGER
// statement ends only with the ";" after the END that closes its BEGIN. The last
// statement may lack its ";". Returns false, with the reason in error, when a quote,
// bracket or comment is left open.
bool split(std::string_view script, std::vector<std::string> &statements, std::string &error);

} // namespace sqlscript
