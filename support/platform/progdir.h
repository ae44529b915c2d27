// The program folder: where the executable, its libraries, ini files and database live.
#pragma once

#include <string>
#include <string_view>

namespace progdir {

// Names a program folder other than the executable's (tests run in temporary copies).
inline constexpr const char *kEnvironmentVariable = "TESORIO_PROGRAM_DIR";

// The program folder in Windows-1252, ending with "/": the folder named by the
// environment variable when it is set and not empty, else the running executable's.
std::string path();

// The program folder followed by name; a name that is already absolute is returned as is.
std::string file(std::string_view name);

// path as the program folder's files are named where they are kept (the settings): without
// the program folder in front when it lies inside it, so that the folder can be copied or
// moved with its files; any other path as it is. file() makes it whole again.
std::string relative(std::string_view path);

// Makes the program folder the working directory; false when that fails.
bool enter();

} // namespace progdir
