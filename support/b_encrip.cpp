// The nibble scramblers, the letter encoding and the older shift scramblers.
#include "b_encrip.h"

#include "b_mem.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr const char *kFamily = "b_encrip";

// The two nibble masks of the block scrambler: M1 masks the low nibble as it becomes the
// high one, M2 the high nibble as it becomes the low one. Stored passwords and scrambled
// database copies depend on them: never change them.
constexpr struct {
    unsigned char m1;
    unsigned char m2;
} kNibbleMasks = {0x0B, 0x06};

unsigned char scramble(unsigned char b, unsigned long index)
{
    unsigned char swapped = (unsigned char)((((b & 0x0F) ^ kNibbleMasks.m1) << 4) |
                                            ((b >> 4) ^ kNibbleMasks.m2));
    return (unsigned char)(swapped ^ (index & 0xFF));
}

unsigned char unscramble(unsigned char e, unsigned long index)
{
    e = (unsigned char)(e ^ (index & 0xFF));
    return (unsigned char)((((e & 0x0F) ^ kNibbleMasks.m2) << 4) | ((e >> 4) ^ kNibbleMasks.m1));
}

// The block scramblers eight bytes at a time: the nibbles of every byte swapped, masked and
// combined with the low byte of the byte's index, as scramble and unscramble do one byte.
uint64_t swapNibbles(uint64_t word)
{
    return ((word << 4) & 0xF0F0F0F0F0F0F0F0ull) | ((word >> 4) & 0x0F0F0F0F0F0F0F0Full);
}

constexpr uint64_t everyByte(unsigned char byte)
{
    return byte * 0x0101010101010101ull;
}

// Byte k is k: eight of them read from a multiple of eight below 256 are the low bytes of
// eight indexes.
constexpr auto kIndexBytes = [] {
    std::array<unsigned char, 256> bytes{};
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = (unsigned char)k;
    return bytes;
}();

template <bool forward>
void quickBlock(unsigned char *bytes, long length)
{
    constexpr uint64_t encoding = everyByte((unsigned char)(kNibbleMasks.m1 << 4 | kNibbleMasks.m2));
    constexpr uint64_t decoding = everyByte((unsigned char)(kNibbleMasks.m2 << 4 | kNibbleMasks.m1));
    long i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word, index;
        std::memcpy(&word, bytes + i, 8);
        std::memcpy(&index, kIndexBytes.data() + (i & 0xFF), 8);
        word = forward ? swapNibbles(word) ^ encoding ^ index : swapNibbles(word ^ index) ^ decoding;
        std::memcpy(bytes + i, &word, 8);
    }
    for (; i < length; ++i)
        bytes[i] = forward ? scramble(bytes[i], (unsigned long)i) : unscramble(bytes[i], (unsigned long)i);
}

struct StreamState {
    bool enabled = false;
    unsigned char encoding = 0;
    unsigned char decoding = 0;
    unsigned char savedEncoding = 0;
    unsigned char savedDecoding = 0;
};

StreamState g_stream;
unsigned g_encriptCounter = 0;
unsigned g_decriptCounter = 0;

constexpr int kPrintable = 95;
constexpr int kKeyLetters = 5; // every fifth pair of an ASCIIZKey text is random

bool printable(unsigned char c)
{
    return c >= 32 && c < 32 + kPrintable;
}

// Moves each printable character from offset on by (key + index + previous) modulo 95.
void shiftText(char *text, long offset, long key, bool forward)
{
    if (!text || offset < 0 || size_t(offset) > std::strlen(text))
        return;
    long previous = 32;
    for (long i = offset; text[i]; ++i) {
        unsigned char c = (unsigned char)text[i];
        if (!printable(c))
            continue;
        long amount = (key % kPrintable + i % kPrintable + previous) % kPrintable;
        long moved = forward ? (c - 32 + amount) % kPrintable
                             : (c - 32 - amount + kPrintable) % kPrintable;
        text[i] = char(moved + 32);
        previous = forward ? moved + 32 : c;
    }
}

long textKey(const char *first, const char *second)
{
    unsigned long sum = 0;
    for (int i = 0; first && i < 6 && first[i]; ++i)
        sum += (unsigned char)first[i];
    for (int i = 0; second && i < 4 && second[i]; ++i)
        sum += (unsigned char)second[i];
    return long(sum % 256);
}

long seedKey(long seed)
{
    return (seed % kPrintable + kPrintable) % kPrintable;
}

// (122 - code + counter) modulo 91 + 32 on codes 32..122, up to a line feed: its own
// inverse for the same counter.
void mirrorText(char *text, unsigned &counter)
{
    if (!text)
        return;
    for (char *p = text; *p && *p != '\n'; ++p) {
        unsigned char c = (unsigned char)*p;
        if (c >= 32 && c <= 122)
            *p = char((122 - c + counter % 91) % 91 + 32);
        ++counter;
    }
}

// Upper six bits of a spread byte of B_encrip, from its position.
unsigned char spreadMark(long position)
{
    return (unsigned char)((position * 0x4D + 0x2B) & 0xFC);
}

constexpr long kMaxSpread = 63; // 4 x length must fit the first byte

} // namespace

void BlockQuickEncript(void *buffer, long length)
{
    quickBlock<true>(static_cast<unsigned char *>(buffer), length);
}

void BlockQuickDecript(void *buffer, long length)
{
    quickBlock<false>(static_cast<unsigned char *>(buffer), length);
}

void encblock(void *buffer, long length)
{
    BlockQuickEncript(buffer, length);
}

void decblock(void *buffer, long length)
{
    BlockQuickDecript(buffer, length);
}

char *BinToAscii(const void *bytes, long length)
{
    if (length < 1 || (unsigned long)length > (SIZE_MAX - 1) / 2)
        return nullptr;
    char *text = static_cast<char *>(B_null_malloc_tagged(size_t(length) * 2 + 1, __LINE__, kFamily));
    if (!text)
        return nullptr;
    const unsigned char *in = static_cast<const unsigned char *>(bytes);
    for (long i = 0; i < length; ++i) {
        text[2 * i] = char('A' + (in[i] >> 4));
        text[2 * i + 1] = char('A' + (in[i] & 0x0F));
    }
    text[2 * length] = '\0';
    return text;
}

void *AsciiToBin(const char *text)
{
    size_t length = text ? std::strlen(text) : 0;
    if (length == 0 || length % 2 != 0)
        return nullptr;
    unsigned char *bytes =
        static_cast<unsigned char *>(B_null_malloc_tagged(length / 2, __LINE__, kFamily));
    if (!bytes)
        return nullptr;
    for (size_t i = 0; i < length / 2; ++i)
        bytes[i] = (unsigned char)((text[2 * i] - 'A') * 16 + (text[2 * i + 1] - 'A'));
    return bytes;
}

void InitLocEncr(void)
{
    g_stream.encoding = 0;
    g_stream.decoding = 0;
    g_stream.enabled = true;
}

void DisableLocEncr(void)
{
    g_stream.enabled = false;
}

void SaveEncrPtr(void)
{
    g_stream.savedEncoding = g_stream.encoding;
    g_stream.savedDecoding = g_stream.decoding;
}

void RestoreEncrPtr(void)
{
    g_stream.encoding = g_stream.savedEncoding;
    g_stream.decoding = g_stream.savedDecoding;
}

void LocEncBlock(void *buffer, long length)
{
    if (!g_stream.enabled)
        return;
    unsigned char *bytes = static_cast<unsigned char *>(buffer);
    for (long i = 0; i < length; ++i)
        bytes[i] = scramble(bytes[i] ? bytes[i] : ' ', g_stream.encoding++);
}

void LocDecBlock(void *buffer, long length)
{
    if (!g_stream.enabled)
        return;
    unsigned char *bytes = static_cast<unsigned char *>(buffer);
    for (long i = 0; i < length; ++i) {
        unsigned char b = unscramble(bytes[i], g_stream.decoding++);
        bytes[i] = b ? b : ' ';
    }
}

char *ASCIIZKey(const char *text)
{
    if (!text)
        return nullptr;
    size_t length = std::strlen(text);
    size_t size = (length / 4 + length) * 2 + 3;
    char *key = static_cast<char *>(B_malloc_tagged(size, __LINE__, kFamily));
    char *out = key;
    *out = '\0';
    size_t consumed = 0;
    for (unsigned long pair = 0; consumed < length; ++pair, out += 2) {
        unsigned value = pair % kKeyLetters == 0
                             ? unsigned(std::rand() & 0xFF)
                             : scramble((unsigned char)text[consumed++], pair);
        std::snprintf(out, 3, "%02X", value);
    }
    return key;
}

void ASCIIZKeyCleanUp(char *key)
{
    size_t length = std::strlen(key);
    for (size_t pair = 0; 2 * pair + 1 < length; pair += kKeyLetters) {
        key[2 * pair] = ' ';
        key[2 * pair + 1] = ' ';
    }
}

void encripta(char *text, long offset, const char *first, const char *second)
{
    shiftText(text, offset, textKey(first, second), true);
}

void descripta(char *text, long offset, const char *first, const char *second)
{
    shiftText(text, offset, textKey(first, second), false);
}

void AscSeedEncript(char *text, long seed)
{
    shiftText(text, 0, seedKey(seed), true);
}

void AscSeedDecript(char *text, long seed)
{
    shiftText(text, 0, seedKey(seed), false);
}

long AscSeedGenSeed(void)
{
    std::srand(unsigned(std::time(nullptr)));
    return std::rand();
}

void encript(char *text)
{
    mirrorText(text, g_encriptCounter);
}

void decript(char *text)
{
    mirrorText(text, g_decriptCounter);
}

unsigned char *B_encrip(const void *bytes, long length)
{
    if (length < 1 || length > kMaxSpread)
        return nullptr;
    long spread = 4 * length;
    unsigned char *out =
        static_cast<unsigned char *>(B_null_malloc_tagged(size_t(spread) + 1, __LINE__, kFamily));
    if (!out)
        return nullptr;
    out[0] = (unsigned char)spread;
    const unsigned char *in = static_cast<const unsigned char *>(bytes);
    for (long p = 0; p < spread; ++p) {
        unsigned bits = (in[p / 4] >> (2 * (p % 4))) & 3;
        out[1 + (spread - 1 - p)] = (unsigned char)(spreadMark(p) | (bits ^ (p & 3)));
    }
    return out;
}

void *B_desencrip(const unsigned char *data, long *length)
{
    *length = 0;
    if (!data)
        return nullptr;
    long spread = data[0];
    if (spread == 0 || spread % 4 != 0)
        return nullptr;
    for (long p = 0; p < spread; ++p)
        if ((data[1 + (spread - 1 - p)] & 0xFC) != spreadMark(p))
            return nullptr;
    unsigned char *out =
        static_cast<unsigned char *>(B_null_calloc_tagged(size_t(spread / 4), __LINE__, kFamily));
    if (!out)
        return nullptr;
    for (long p = 0; p < spread; ++p) {
        unsigned bits = (data[1 + (spread - 1 - p)] & 3) ^ (p & 3);
        out[p / 4] = (unsigned char)(out[p / 4] | (bits << (2 * (p % 4))));
    }
    *length = spread / 4;
    return out;
}
