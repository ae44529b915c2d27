// Scramblers: round trips, the fixed masks, the index per call, and the letter encoding.
#include "b_encrip.h"
#include "b_mem.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// FNV-1a of allBytes(length) scrambled, by length: the stored form of every written copy.
const std::map<size_t, unsigned long long> kScrambledSums = {
    {7, 13750301717391536478ull},   {8, 15080573271202803508ull},   {9, 16872785578683329611ull},
    {255, 14619295106243415175ull}, {256, 18238490645842177443ull}, {257, 14698575638614998911ull},
    {4109, 8891571545660865164ull},
};

std::vector<unsigned char> allBytes(size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = (unsigned char)(i * 7 + i / 256);
    return bytes;
}

std::string letters(const void *bytes, long length)
{
    char *text = BinToAscii(bytes, length);
    std::string result = text ? text : "(null)";
    if (text)
        B_free(text);
    return result;
}

TEST(BlockScrambler, RoundTripsEveryByteValueAtEveryIndex)
{
    const std::vector<unsigned char> original = allBytes(256 * 256 + 300);
    std::vector<unsigned char> bytes = original;
    BlockQuickEncript(bytes.data(), long(bytes.size()));
    EXPECT_NE(bytes, original);
    BlockQuickDecript(bytes.data(), long(bytes.size()));
    EXPECT_EQ(bytes, original) << "NUL bytes included";
    encblock(bytes.data(), 5);
    decblock(bytes.data(), 5);
    EXPECT_EQ(bytes, original);
    BlockQuickEncript(bytes.data(), 0);
    BlockQuickEncript(bytes.data(), -3);
    EXPECT_EQ(bytes, original) << "a length below 1 does nothing";
}

TEST(BlockScrambler, MasksNeverChange)
{
    unsigned char bytes[] = {0x00, 0xFF, 0x41, 0x12};
    BlockQuickEncript(bytes, 4);
    EXPECT_EQ(letters(bytes, 4), "LGEIKAJE") << "stored passwords depend on these values";
    const char password[] = "Clave";
    unsigned char stored[5];
    std::memcpy(stored, password, 5);
    BlockQuickEncript(stored, 5);
    EXPECT_EQ(letters(stored, 5), "ICHBKCNCOE");

    // Scrambled database copies depend on them at every length and index.
    for (size_t length : {7u, 8u, 9u, 255u, 256u, 257u, 4096u + 13u}) {
        std::vector<unsigned char> block = allBytes(length);
        BlockQuickEncript(block.data(), long(block.size()));
        unsigned long long sum = 1469598103934665603ull;
        for (unsigned char c : block)
            sum = (sum ^ c) * 1099511628211ull;
        EXPECT_EQ(sum, kScrambledSums.at(length)) << length << " bytes";
    }
}

TEST(BlockScrambler, TheIndexRestartsForEveryCall)
{
    unsigned char whole[3] = {'a', 'b', 'c'};
    unsigned char parts[3] = {'a', 'b', 'c'};
    BlockQuickEncript(whole, 3);
    BlockQuickEncript(parts, 1);
    BlockQuickEncript(parts + 1, 2);
    EXPECT_EQ(whole[0], parts[0]);
    EXPECT_NE(whole[1], parts[1]) << "byte 1 of the second call was scrambled as index 0";

    std::vector<unsigned char> same(257, 0x5A);
    BlockQuickEncript(same.data(), 257);
    EXPECT_EQ(same[0], same[256]) << "index 256 counts as 0";
    EXPECT_EQ(same[0] ^ same[1], 1) << "neighbours differ in their lowest bit";
    EXPECT_EQ(same[44] ^ same[0], 44);
}

TEST(LetterEncoding, TwoCapitalsPerByte)
{
    const unsigned char edge[] = {0x00, 0xFF};
    EXPECT_EQ(letters(edge, 2), "AAPP");
    unsigned char *back = static_cast<unsigned char *>(AsciiToBin("AAPP"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back[0], 0x00);
    EXPECT_EQ(back[1], 0xFF);
    B_free(back);

    const std::vector<unsigned char> all = allBytes(256);
    char *text = BinToAscii(all.data(), 256);
    EXPECT_EQ(std::strlen(text), 512u);
    unsigned char *decoded = static_cast<unsigned char *>(AsciiToBin(text));
    EXPECT_EQ(std::vector<unsigned char>(decoded, decoded + 256), all);
    B_free(decoded);
    B_free(text);
}

TEST(LetterEncoding, Refusals)
{
    const unsigned char byte = 1;
    EXPECT_EQ(BinToAscii(&byte, 0), nullptr);
    EXPECT_EQ(BinToAscii(&byte, -1), nullptr);
    EXPECT_EQ(AsciiToBin("AAP"), nullptr) << "odd length";
    EXPECT_EQ(AsciiToBin(""), nullptr);
    EXPECT_EQ(AsciiToBin(nullptr), nullptr);
    unsigned char *lenient = static_cast<unsigned char *>(AsciiToBin("BQ"));
    EXPECT_EQ(lenient[0], 0x20) << "letters beyond P decode by the same arithmetic";
    B_free(lenient);
}

// The scramblers exported for older callers: each must at least give back what it was given.
TEST(OlderScramblers, RoundTrips)
{
    InitLocEncr();
    unsigned char stream[] = {'a', 0, 'b'};
    LocEncBlock(stream, 1);
    LocEncBlock(stream + 1, 2);
    LocDecBlock(stream, 3);
    EXPECT_EQ(std::memcmp(stream, "a b", 3), 0) << "one counter across calls; NUL comes back a blank";
    DisableLocEncr();
    LocEncBlock(stream, 3);
    EXPECT_EQ(std::memcmp(stream, "a b", 3), 0) << "disabled";

    char *key = ASCIIZKey("abcdefgh");
    ASCIIZKeyCleanUp(key);
    EXPECT_EQ(std::strlen(key), 20u) << "8 characters and 2 random pairs";
    EXPECT_EQ(std::string(key, 2) + std::string(key + 10, 2), "    ");
    B_free(key);

    const std::string original = "Hola, mundo ~ 123\n\xF1";
    std::string text = original;
    encripta(text.data(), 2, "ABCDEFGH", "1234");
    EXPECT_EQ(text.substr(0, 2) + text.substr(text.size() - 2), "Ho\n\xF1")
        << "nothing moves before the offset; bytes outside the printable range stay";
    descripta(text.data(), 2, "ABCDEFGH", "1234");
    AscSeedEncript(text.data(), -123456);
    AscSeedDecript(text.data(), -123456);
    EXPECT_EQ(text, original);

    char line[] = "Zz az{\ncd";
    encript(line);
    EXPECT_STREQ(line + 5, "{\ncd") << "codes above 122 stay; a line feed ends the text";
    decript(line);
    EXPECT_STREQ(line, "Zz az{\ncd");

    const std::vector<unsigned char> data = allBytes(64);
    unsigned char *spread = B_encrip(data.data(), 63);
    long count = -1;
    unsigned char *back = static_cast<unsigned char *>(B_desencrip(spread, &count));
    ASSERT_EQ(count, 63);
    EXPECT_EQ(std::memcmp(back, data.data(), 63), 0);
    B_free(back);
    spread[3] ^= 0x80;
    EXPECT_EQ(B_desencrip(spread, &count), nullptr) << "a damaged block is refused";
    B_free(spread);
    EXPECT_EQ(B_encrip(data.data(), 64), nullptr) << "4 x length must fit its first byte";
}

} // namespace
