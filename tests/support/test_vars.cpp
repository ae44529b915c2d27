// Variable sets: lookup without case, replacement in place, loading and the text form.
#include "sandbox.h"
#include "vars.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using quentaro_test::Sandbox;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const B_AStr_t *set)
{
    Pairs pairs;
    const char *p = set->pcData;
    for (long i = 0; i + 1 < set->nStrs; i += 2) {
        std::string name = p;
        p += name.size() + 1;
        std::string value = p;
        p += value.size() + 1;
        pairs.emplace_back(name, value);
    }
    return pairs;
}

// A text form from its entries: each with its terminator, and one more at the end.
std::string textForm(const std::vector<std::string> &entries)
{
    std::string text;
    for (const std::string &entry : entries)
        text += entry + '\0';
    return text + '\0';
}

struct Set {
    explicit Set(const std::string &text = std::string(1, '\0')) { VarCons(&set, text.c_str()); }
    ~Set() { B_AStrDest(&set); }
    B_AStr_t set;
};

TEST(Vars, NamesMatchWithoutCaseAndTheCursorReachesTheValue)
{
    Set s(textForm({"Tipo=Importe", "X=3"}));
    char *name = VarFind(&s.set, "tipo");
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Tipo");
    EXPECT_EQ(s.set.pcCur, name);
    EXPECT_STREQ(VarGet(&s.set, "X", nullptr), "3");
    EXPECT_STREQ(s.set.pcCur, "3") << "VarGet leaves the cursor on the value";
    EXPECT_STREQ(VarGet(&s.set, "\xD1" "and\xFA", "def"), "def");
    const char *def = "por defecto";
    EXPECT_EQ(VarGet(&s.set, "Y", def), def) << "the default comes back unchanged";
    EXPECT_EQ(VarFind(&s.set, "Tip"), nullptr) << "a prefix is not the name";
}

TEST(Vars, SettingAPresentNameKeepsTheOthersAndTheirOrder)
{
    Set s(textForm({"a=1", "b=2", "c=3"}));
    const char *value = "un valor mucho mas largo que el anterior";
    EXPECT_EQ(VarSet(&s.set, "B", value), value) << "the caller's pointer comes back";
    VarSet(&s.set, "d", "4");
    EXPECT_EQ(pairsOf(&s.set), (Pairs{{"a", "1"}, {"b", value}, {"c", "3"}, {"d", "4"}}));
}

TEST(Vars, AValueTakenFromTheSetItselfSurvivesTheBlockMoving)
{
    Set s;
    std::string big(500, 'v');
    VarSet(&s.set, "a", big.c_str());
    VarSet(&s.set, "b", VarGet(&s.set, "a", ""));
    VarSet(&s.set, "a", VarGet(&s.set, "b", ""));
    EXPECT_EQ(pairsOf(&s.set), (Pairs{{"a", big}, {"b", big}}));
}

TEST(Vars, LoadingFollowsTheOverwriteFlagAndStopsAtAMalformedEntry)
{
    struct Row {
        const char *why;
        std::vector<std::string> second;
        int overwrite;
        Pairs expected;
    };
    const Row rows[] = {
        {"flag 0 keeps old values", {"a=9", "b=8"}, 0, {{"a", "1"}, {"b", "2"}}},
        {"flag 1 replaces them", {"a=9", "b=8"}, 1, {{"a", "9"}, {"b", "8"}}},
        {"a second = stays in the value", {"c=x=y"}, 0, {{"a", "1"}, {"b", "2"}, {"c", "x=y"}}},
        {"an entry without = ends the loading", {"c=3", "sin igual", "d=4"}, 0,
         {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
        {"blanks belong to names and values", {" e = 5 "}, 0, {{"a", "1"}, {"b", "2"}, {" e ", " 5 "}}},
        {"an empty value", {"A="}, 1, {{"a", ""}, {"b", "2"}}},
    };
    for (const Row &row : rows) {
        Set s(textForm({"a=1", "b=2"}));
        std::string second = textForm(row.second);
        VarLoad(&s.set, second.c_str(), row.overwrite);
        EXPECT_EQ(pairsOf(&s.set), row.expected) << row.why;
        EXPECT_EQ(second, textForm(row.second)) << row.why << ": the text is not modified";
    }
}

TEST(Vars, TheTextFormRoundTrips)
{
    const std::vector<std::vector<std::string>> forms = {
        {},
        {"Tipo=Etiqueta"},
        {"Texto=a=b", "X=0", "Y=7"},
        {"Campos= Base + IVA ", "Nombre=\xC1rbol \xF1" "and\xFA \xB7"},
    };
    for (const auto &entries : forms) {
        std::string text = textForm(entries);
        Set s(text);
        std::string buffer(text.size(), '#');
        ASSERT_EQ(VarStr(&s.set, buffer.data(), buffer.size()), buffer.data());
        EXPECT_EQ(buffer, text) << "fits exactly in uUsed + 1 bytes";
        Set again(buffer);
        EXPECT_EQ(pairsOf(&again.set), pairsOf(&s.set));
    }
}

TEST(Vars, AShortBufferGetsAnEmptyTextFormInsteadOfAnOverrun)
{
    Set s(textForm({"a=1", "b=2"}));
    char buffer[10];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(VarStr(&s.set, buffer, 8), nullptr) << "needs 9 bytes";
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(std::string(buffer + 1, 9), std::string(9, '#'));
}

TEST(Vars, NullArgumentsRaiseAnAssertionAndDoNothing)
{
    Sandbox sandbox;
    Set s(textForm({"a=1"}));
    char buffer[8];
    EXPECT_EQ(VarFind(nullptr, "a"), nullptr);
    EXPECT_EQ(VarFind(&s.set, nullptr), nullptr);
    EXPECT_EQ(VarSet(&s.set, "a", nullptr), nullptr);
    VarLoad(&s.set, nullptr, 1);
    EXPECT_EQ(VarStr(&s.set, nullptr, 8), nullptr);
    EXPECT_STREQ(VarGet(nullptr, "a", "def"), "def");
    EXPECT_EQ(VarStr(&s.set, buffer, sizeof buffer), buffer);
    EXPECT_EQ(sandbox.messages(), std::vector<std::string>(6, "NULL"));
    EXPECT_NE(sandbox.log().find("CONDITION : pcVars != NULL\nFILE      : vars\n"), std::string::npos);
}

} // namespace
