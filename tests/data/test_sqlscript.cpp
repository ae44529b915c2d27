// Splitting the schema script into statements: a wrong cut runs half a statement or
// glues two together, and the shipped database comes out incomplete.
#include "sqlscript.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *why;
    const char *script;
    std::vector<std::string> statements;
};

const Case kCases[] = {
    {"statements end at semicolons and lose them", "CREATE TABLE a (x);\nINSERT INTO a VALUES (1);",
     {"CREATE TABLE a (x)", "INSERT INTO a VALUES (1)"}},
    {"the last statement may lack its semicolon", "SELECT 1;\n SELECT 2 \n", {"SELECT 1", "SELECT 2"}},
    {"a semicolon inside quotes does not end a statement",
     "INSERT INTO a VALUES ('x;y', \"c;d\", [e;f], `g;h`);", {"INSERT INTO a VALUES ('x;y', \"c;d\", [e;f], `g;h`)"}},
    {"a doubled quote stays inside the text", "INSERT INTO a VALUES ('it''s; fine');",
     {"INSERT INTO a VALUES ('it''s; fine')"}},
    {"comments are dropped, also with semicolons in them",
     "-- a; b\nSELECT 1; /* c; d */ SELECT 2; -- e;", {"SELECT 1", "SELECT 2"}},
    {"comment marks inside quotes are text", "INSERT INTO a VALUES ('--x', '/*y*/');",
     {"INSERT INTO a VALUES ('--x', '/*y*/')"}},
    {"a trigger ends after the END of its body",
     "CREATE TRIGGER t BEFORE DELETE ON a BEGIN SELECT 1; DELETE FROM b; END;\nSELECT 3;",
     {"CREATE TRIGGER t BEFORE DELETE ON a BEGIN SELECT 1; DELETE FROM b; END", "SELECT 3"}},
    {"a CASE inside a trigger body does not end it",
     "create temp trigger t after insert on a begin select case when 1 then 2 end; end; select 4;",
     {"create temp trigger t after insert on a begin select case when 1 then 2 end; end", "select 4"}},
    {"empty statements are skipped", ";;\n;SELECT 1;;", {"SELECT 1"}},
};

TEST(SqlScript, SplitsIntoStatements)
{
    for (const Case &c : kCases) {
        std::vector<std::string> statements;
        std::string error;
        ASSERT_TRUE(sqlscript::split(c.script, statements, error)) << c.why << ": " << error;
        EXPECT_EQ(statements, c.statements) << c.why;
    }
}

TEST(SqlScript, RefusesWhatIsLeftOpen)
{
    const char *open[] = {"INSERT INTO a VALUES ('x);", "SELECT [a;", "SELECT 1; /* no end"};
    for (const char *script : open) {
        std::vector<std::string> statements;
        std::string error;
        EXPECT_FALSE(sqlscript::split(script, statements, error)) << script;
        EXPECT_FALSE(error.empty()) << script;
    }
}

} // namespace
