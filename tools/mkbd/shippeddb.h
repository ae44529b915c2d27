// Builds the database that ships with the program and its scrambled copy Orvanta.mcr.
#pragma once

#include <string>

namespace shippeddb {

// The first administrator: all four permission flags set, active. The README names the
// code and the password and asks to change the password at once.
inline constexpr const char *kAdminCode = "ADMIN";
inline constexpr const char *kAdminPassword = "cambiame";
inline constexpr const char *kAdminName = "Administrador";
inline constexpr const char *kAdminPermissions = "11110000000000000000";

// Creates the database in a new folder beside mcrPath, gives it the database password
// and writes its scrambled copy as the program does at exit, then puts that copy at
// mcrPath (replacing an old one only when everything succeeded) and removes the folder.
// Returns false with the reason in error; mcrPath is then left as it was.
bool writeScrambledCopy(const std::string &mcrPath, const std::string &schemaScript,
                        const std::string &dataScript, std::string &error);

} // namespace shippeddb
