// Private-profile (ini) files: the program's settings and layout files.
//
// Texts, paths, section and key names are Windows-1252. Section and key names match
// without regard to case and may hold blanks and dots. Nothing is cached: every read
// reads the file again, every write re-reads it under an advisory lock on its folder,
// changes the one key in place keeping every other line, and atomically replaces the
// file, so that several running copies can share one ini file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace profile {

// The key's value with blanks trimmed and one pair of enclosing quotes removed, cut to
// maxLength characters; def when the file, the section or the key is missing.
std::string readString(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view def, size_t maxLength = std::string::npos);

// The key's value read as a decimal integer (leading sign and digits; 0 when it holds
// none); def when the key is missing.
int readInt(std::string_view file, std::string_view section, std::string_view key, int def);

// The names of the section's keys in file order; empty when the section is missing.
std::vector<std::string> readKeys(std::string_view file, std::string_view section);

// The names of the file's sections in file order; empty when the file is missing.
std::vector<std::string> readSections(std::string_view file);

// The section's key lines whole ("key=value", blanks around them trimmed) in file order;
// empty when the section is missing.
std::vector<std::string> readSectionLines(std::string_view file, std::string_view section);

// True when the file holds the section, also with no key in it.
bool hasSection(std::string_view file, std::string_view section);

// Sets the key to value, creating the file, the section or the key as needed.
// Returns false, leaving the file as it was, when it cannot be written.
bool writeString(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view value);

} // namespace profile
