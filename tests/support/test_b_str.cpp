// Plain strings: the code page 850 folding table, the signed order, words and trimming.
#include "b_mem.h"
#include "b_str.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string upper(std::string text)
{
    return B_to_upper(text.data());
}

std::string lower(std::string text)
{
    return B_to_lower(text.data());
}

TEST(Folding, TableIsByteExact)
{
    struct Row {
        unsigned char from, upper, lower;
    } rows[] = {
        {0xA0, 'A', 'a'}, {0x82, 'E', 'e'}, {0xA1, 'I', 'i'}, {0xA2, 'O', 'o'}, {0xA3, 'U', 'u'},
        {0x85, 'A', 'a'}, {0x8A, 'E', 'e'}, {0x8D, 'I', 'i'}, {0x95, 'O', 'o'}, {0x97, 'U', 'u'},
        {0x83, 'A', 'a'}, {0x88, 'E', 'e'}, {0x8C, 'I', 'i'}, {0x93, 'O', 'o'}, {0x96, 'U', 'u'},
        {0x84, 'A', 'a'}, {0x89, 'E', 'e'}, {0x8B, 'I', 'i'}, {0x94, 'O', 'o'}, {0x81, 'U', 'u'},
        {0xA4, 0xA5, 0xA4}, // n with tilde: folds to its capital, stays small when lowered
        {0x8E, 'A', 'a'}, {0x99, 'O', 'o'}, {0x9A, 'U', 'u'}, {0x90, 'E', 'e'},
        {0x87, 0x80, 0x87}, // c with cedilla
    };
    std::string expectedUpper, expectedLower, all;
    for (int c = 1; c < 256; ++c) {
        all += char(c);
        expectedUpper += char(c >= 'a' && c <= 'z' ? c - 32 : c);
        expectedLower += char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    for (const Row &row : rows) {
        expectedUpper[row.from - 1] = char(row.upper);
        expectedLower[row.from - 1] = char(row.lower);
    }
    EXPECT_EQ(upper(all), expectedUpper) << "every other byte, capitals like 0xB5 included, stays";
    EXPECT_EQ(lower(all), expectedLower);
    EXPECT_EQ(B_to_upper(nullptr), nullptr);
}

TEST(Folding, CaseInsensitiveComparison)
{
    struct Row {
        const char *a, *b;
        int sign;
        const char *why;
    } rows[] = {
        {"A\xA4o", "A\xA5O", 0, "n with tilde folds to its capital"},
        {"acci\xA2n", "ACCION", 0, "o with acute folds to O"},
        {"ca\xA4\xA2n", "CANON", -1, "n with tilde does not fold to N"},
        {"\x80", "A", -1, "bytes from 0x80 order before ASCII (signed)"},
        {"\xB5", "A", -1, "capital A with acute is not in the table"},
        {"abc", "ABD", -1, "plain letters"},
        {"abc", "ab", 1, "a longer text orders after its prefix"},
        {"", "", 0, "empty texts"},
    };
    for (const Row &row : rows) {
        int result = B_stricmp(row.a, row.b);
        EXPECT_EQ((result > 0) - (result < 0), row.sign) << row.why;
    }
    EXPECT_EQ(B_stricmp("\x80", "A"), -128 - 'A') << "the difference of the folded pair";
    EXPECT_EQ(B_strnicmp("ABCx", "abcy", 3), 0);
    EXPECT_NE(B_strnicmp("ABCx", "abcy", 4), 0);
}

TEST(Words, SkipMeasureAndCopy)
{
    struct Row {
        const char *text, *delimiters;
        long skipTo;
        const char *word;
        const char *why;
    } rows[] = {
        {"\"a b\" c", " ", 5, "a b", "a quoted word keeps its blank"},
        {"  abc,def", ",", 5, "abc", "leading blanks, then the word up to its delimiter"},
        {",def", ",", 1, "", "a delimiter first is stepped over"},
        {"abc", ",", 3, "abc", "no delimiter: to the end"},
        {"\"open", " ", 5, "open", "an unclosed quote runs to the end"},
        {"abc", nullptr, 3, "abc", "no delimiters at all"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(B_strskipword(row.text, row.delimiters) - row.text, row.skipTo) << row.why;
        EXPECT_EQ(B_strwordlen(row.text, row.delimiters), std::strlen(row.word)) << row.why;
        char word[16];
        EXPECT_STREQ(B_strwordcpy(word, row.text, row.delimiters), row.word) << row.why;
    }
    char cut[3];
    EXPECT_STREQ(B_strwordncpy(cut, "\"abcdef\"", " ", 2), "ab");
}

TEST(Trimming, ReturnsTheStartInsideTheGivenText)
{
    char text[] = "  ab  ";
    char *trimmed = B_strtrim(text, ' ');
    EXPECT_EQ(trimmed, text + 2);
    EXPECT_STREQ(trimmed, "ab");
    char set[] = "xyxy";
    EXPECT_EQ(B_strltrimstr(set, "xy"), set + 4) << "never past the end of the text";
    char both[] = "-=a=-";
    EXPECT_STREQ(B_strtrimstr(both, "=-"), "a");
    char right[] = "ab..";
    EXPECT_EQ(B_strrtrim(right, '.'), right);
    EXPECT_STREQ(right, "ab");
    EXPECT_EQ(B_strtrim(nullptr, ' '), nullptr);
    char lines[] = "uno\r\ndos";
    quita1310(lines);
    EXPECT_STREQ(lines, "uno");
}

TEST(Search, CharactersAndSets)
{
    const char *text = "abcabc";
    EXPECT_EQ(strchr_lst(text, "cb"), text + 1);
    EXPECT_EQ(strchr_lst(text, ""), nullptr);
    EXPECT_EQ(B_strnchr(text, 'c', 2), nullptr) << "beyond n";
    EXPECT_EQ(B_strnchr("ab", 'x', 100), nullptr) << "the terminator ends the search";
    EXPECT_EQ(B_strnchrstr(text, "xc", 5), text + 2);
    EXPECT_EQ(B_strnchrstr(text, "xxxxxc", 5), nullptr) << "only the first n characters of the set";
}

TEST(Building, IndentCopyAndConcatenate)
{
    char *indented = B_strindent("a\nb", 2, 0);
    EXPECT_STREQ(indented, "  a\n  b");
    B_free(indented);
    indented = B_strindent("a\nb\n", 1, 1);
    EXPECT_STREQ(indented, "a\n b\n ");
    B_free(indented);

    char *text = nullptr;
    B_SetString(&text, "uno");
    B_SetString(&text, text);
    EXPECT_STREQ(text, "uno") << "set from its own copy";
    B_SetString(&text, nullptr);
    EXPECT_EQ(text, nullptr);

    char *joined = B_CatStrings("ab", nullptr);
    EXPECT_STREQ(joined, "ab");
    B_FreeString(joined);
    EXPECT_EQ(B_CatStrings("", nullptr), nullptr);
}

} // namespace
