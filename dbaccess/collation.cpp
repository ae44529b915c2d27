// The text collation registered on every connection: no regard to case, accented letters
// with their base letter, N-tilde as its own letter after N.
#include "collation.h"

#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <array>

namespace vasq {
namespace {

// Base letter of a Windows-1252 byte ('a' to 'z'), 0xF1 for N-tilde, or 0.
unsigned char baseLetter(unsigned char byte)
{
    unsigned char c = cp1252::lower(byte);
    if (c >= 'a' && c <= 'z')
        return c;
    switch (c) {
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE4: case 0xE5: case 0xE6: case 0xAA:
        return 'a';
    case 0xE7: return 'c';
    case 0xF0: return 'd';
    case 0xE8: case 0xE9: case 0xEA: case 0xEB: return 'e';
    case 0xEC: case 0xED: case 0xEE: case 0xEF: return 'i';
    case 0xF1: return 0xF1;
    case 0xF2: case 0xF3: case 0xF4: case 0xF5: case 0xF6: case 0xF8: case 0x9C: case 0xBA:
        return 'o';
    case 0x9A: case 0xDF: return 's';
    case 0xF9: case 0xFA: case 0xFB: case 0xFC: return 'u';
    case 0xFD: case 0xFF: return 'y';
    case 0x9E: return 'z';
    default: return 0;
    }
}

struct Weights {
    std::array<unsigned short, 256> primary{};
    std::array<unsigned char, 256> accent{};
};

// Letters come after every other byte, in alphabet order with N-tilde between N and O;
// the accent weight is 0 for a plain letter, else the lower-case byte.
Weights makeWeights()
{
    Weights w;
    for (unsigned b = 0; b < 256; ++b) {
        unsigned char byte = static_cast<unsigned char>(b);
        unsigned char base = baseLetter(byte);
        if (base == 0) {
            w.primary[b] = static_cast<unsigned short>(b);
            continue;
        }
        unsigned rank = base == 0xF1 ? 2 * ('n' - 'a') + 1 : 2 * (base - 'a');
        w.primary[b] = static_cast<unsigned short>(256 + rank);
        unsigned char lowered = cp1252::lower(byte);
        w.accent[b] = lowered == base ? 0 : lowered;
    }
    return w;
}

const Weights &weights()
{
    static const Weights w = makeWeights();
    return w;
}

// Readers of the two texts' bytes: Windows-1252 as it is, and the engine's UTF-8 decoded one
// character at a time, so that a comparison reads no further than the first difference.
struct Bytes1252 {
    std::string_view text;
    size_t i = 0;
    bool done() const { return i >= text.size(); }
    unsigned char next() { return static_cast<unsigned char>(text[i++]); }
};

struct BytesUtf8 {
    std::string_view text;
    size_t i = 0;
    bool done() const { return i >= text.size(); }
    unsigned char next()
    {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            return byte;
        }
        return cp1252::nextFromUtf8(text, i);
    }
};

// By letters first (a shorter text that is a prefix of the other comes first), then by the
// first accent that differs; in one pass.
template <typename Reader>
int compare(Reader a, Reader b)
{
    const Weights &w = weights();
    int byAccent = 0;
    for (;;) {
        if (a.done() || b.done())
            return a.done() && b.done() ? byAccent : a.done() ? -1 : 1;
        const unsigned char ca = a.next(), cb = b.next();
        if (w.primary[ca] != w.primary[cb])
            return w.primary[ca] < w.primary[cb] ? -1 : 1;
        if (byAccent == 0 && w.accent[ca] != w.accent[cb])
            byAccent = w.accent[ca] < w.accent[cb] ? -1 : 1;
    }
}

int collate(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    auto text = [](const void *utf8, int length) {
        return std::string_view(static_cast<const char *>(utf8), size_t(length > 0 ? length : 0));
    };
    return compareUtf8(text(a, lengthA), text(b, lengthB));
}

} // namespace

int compareText(std::string_view a, std::string_view b)
{
    return compare(Bytes1252{a}, Bytes1252{b});
}

int compareUtf8(std::string_view a, std::string_view b)
{
    return compare(BytesUtf8{a}, BytesUtf8{b});
}

int registerCollation(sqlite3 *db)
{
    return sqlite3_create_collation(db, VASQ_COLLATION, SQLITE_UTF8, nullptr, collate);
}

} // namespace vasq
