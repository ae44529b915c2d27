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

// Compares by one weight per character, a and b read by next; a text that ends first is
// the smaller.
template <typename Table, typename Next>
int compareBy(const Table &table, std::string_view a, std::string_view b, Next next)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        int wa = table[next(a, i)];
        int wb = table[next(b, j)];
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    bool aLonger = i < a.size();
    bool bLonger = j < b.size();
    return aLonger == bLonger ? 0 : aLonger ? 1 : -1;
}

template <typename Next>
int compareWith(std::string_view a, std::string_view b, Next next)
{
    const Weights &w = weights();
    int byLetter = compareBy(w.primary, a, b, next);
    return byLetter != 0 ? byLetter : compareBy(w.accent, a, b, next);
}

// True when text[i] continues a UTF-8 character begun before it.
bool inCharacter(std::string_view text, size_t i)
{
    return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
}

// The engine hands UTF-8: each character is read as its Windows-1252 byte in place. The
// characters the two texts share at their start weigh alike and are skipped.
int collate(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    std::string_view textA(static_cast<const char *>(a), size_t(lengthA));
    std::string_view textB(static_cast<const char *>(b), size_t(lengthB));
    size_t same = 0;
    size_t shorter = std::min(textA.size(), textB.size());
    while (same < shorter && textA[same] == textB[same])
        ++same;
    while (same > 0 && (inCharacter(textA, same) || inCharacter(textB, same)))
        --same;
    return compareWith(textA.substr(same), textB.substr(same),
                       [](std::string_view text, size_t &i) { return cp1252::nextFromUtf8(text, i); });
}

} // namespace

int compareText(std::string_view a, std::string_view b)
{
    return compareWith(a, b, [](std::string_view text, size_t &i) { return static_cast<unsigned char>(text[i++]); });
}

int registerCollation(sqlite3 *db)
{
    return sqlite3_create_collation(db, VASQ_COLLATION, SQLITE_UTF8, nullptr, collate);
}

} // namespace vasq
