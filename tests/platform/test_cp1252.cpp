// Windows-1252 conversions at the three text boundaries.
#include "cp1252.h"
#include "qcp1252.h"

#include <gtest/gtest.h>

namespace {

std::string allBytes()
{
    std::string s;
    for (int b = 1; b < 256; ++b)
        s += char(b);
    return s;
}

TEST(Cp1252, EveryByteSurvivesUtf8AndQString)
{
    const std::string bytes = allBytes();
    EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(bytes)), bytes);
    EXPECT_EQ(cp1252::fromQString(cp1252::toQString(bytes)), bytes);
}

TEST(Cp1252, KnownCharacters)
{
    struct Row { unsigned char byte; char32_t code; const char *why; };
    const Row rows[] = {
        {0x80, 0x20AC, "euro sign"},
        {0xD1, 0x00D1, "capital N with tilde"},
        {0xF1, 0x00F1, "small n with tilde"},
        {0xB7, 0x00B7, "middle dot, the item separator"},
        {0x9F, 0x0178, "capital Y with diaeresis"},
        {0x41, 0x0041, "ASCII"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(cp1252::toUnicode(r.byte), r.code) << r.why;
        EXPECT_EQ(cp1252::fromUnicode(r.code), r.byte) << r.why;
    }
    EXPECT_EQ(cp1252::toUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(cp1252::fromUnicode(0x4E2D), '?');
    EXPECT_EQ(cp1252::fromUnicode(0x0080), '?') << "0x80 is the euro sign, not U+0080";
    EXPECT_EQ(cp1252::fromUtf8("a\xE4\xB8\xAD" "b"), "a?b");
    EXPECT_EQ(cp1252::fromQString(QString::fromUtf8("\xF0\x9F\x98\x80x")), "?x")
        << "a surrogate pair is one character";
}

TEST(Cp1252, MalformedUtf8DoesNotCrashOrSwallowText)
{
    EXPECT_EQ(cp1252::fromUtf8("a\xC3"), "a?");
    EXPECT_EQ(cp1252::fromUtf8("\xC0\x80z"), "?z") << "overlong form";
    EXPECT_EQ(cp1252::fromUtf8("\xFF" "z"), "?z");
}

TEST(Cp1252, CaseInsensitiveNames)
{
    EXPECT_TRUE(cp1252::equalNoCase("GENERAL", "General"));
    EXPECT_TRUE(cp1252::equalNoCase("A\xD1O", "a\xF1o"));
    EXPECT_FALSE(cp1252::equalNoCase("\xD7", "\xF7")) << "multiplication and division signs";
    EXPECT_FALSE(cp1252::equalNoCase("ab", "abc"));
}

} // namespace
