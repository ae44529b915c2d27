// Shared helpers of the database tests: the shipped database restored into a folder,
// queries read whole as row texts, and fields read out of a row text.
#pragma once

#include "testutil.h"

#include <string>
#include <vector>

namespace basedatos {

// Copies the shipped Orvanta.mcr as built (never one a run wrote) into dir, rebuilds
// Orvanta.mdb from it and gives it the database password, as start-up does.
// Returns the database path ("" on failure).
std::string restoreShipped(const testutil::TempDir &dir);

// Stores the password in vasqdb and opens the database at path, shared and read-write.
// Returns vasqdb's result (0 when open).
int open(const std::string &path, const std::string &password);

// The row texts of a query; ok is false and error holds vasqdb's text on failure.
struct Result {
    bool ok = false;
    std::vector<std::string> rows;
    std::string error;
};
Result query(const std::string &sql);

// Runs an action statement; -1 with error set on failure, else the rows affected.
int exec(const std::string &sql, std::string &error);

// The unescaped value of the field called name in a row text (the program's own field
// getter); empty when the row has no such field.
std::string field(const std::string &row, const std::string &name);

// Every row of every table, one text per row, in key order: to compare two databases.
std::vector<std::string> dump();

// The sixteen tables of the schema, bracketed as the program writes them.
extern const std::vector<std::string> kTables;

} // namespace basedatos
