// Windows-1252 <-> Unicode with the program's own table.
#include "cp1252.h"

#include <array>

namespace cp1252 {
namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b);
    return table;
}

constexpr std::array<char16_t, 256> kTable = makeTable();

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// What decodeUtf8 gives for a malformed sequence: no code point (fromUnicode makes '?' of it).
constexpr char32_t kMalformed = 0x110000;

// Decodes one UTF-8 sequence at s[i]; advances i; returns kMalformed for a malformed one.
char32_t decodeUtf8(std::string_view s, size_t &i)
{
    unsigned char b = s[i++];
    if (b < 0x80)
        return b;
    int extra;
    char32_t c;
    if ((b & 0xE0) == 0xC0) { extra = 1; c = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { extra = 2; c = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { extra = 3; c = b & 0x07; }
    else return kMalformed;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return kMalformed;
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kMalformed;
    return c;
}

} // namespace

char32_t toUnicode(unsigned char byte)
{
    return kTable[byte];
}

unsigned char fromUnicode(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<unsigned char>(code);
    for (int b = 0x80; b < 0xA0; ++b)
        if (kTable[b] == code)
            return static_cast<unsigned char>(b);
    return '?';
}

std::string toUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (unsigned char b : text)
        appendUtf8(out, kTable[b]);
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    std::string out;
    appendFromUtf8(out, utf8);
    return out;
}

void appendFromUtf8(std::string &out, std::string_view utf8)
{
    size_t start = out.size();
    out.resize(start + utf8.size()); // never more bytes than the UTF-8 form
    char *end = out.data() + start;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80)
            ++i;
        else
            byte = nextFromUtf8(utf8, i);
        *end++ = char(byte);
    }
    out.resize(size_t(end - out.data()));
}

unsigned char nextFromUtf8(std::string_view utf8, size_t &i)
{
    return fromUnicode(decodeUtf8(utf8, i));
}

Utf8Form utf8Form(std::string_view text)
{
    Utf8Form form = Utf8Form::Ascii;
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        if (decodeUtf8(text, i) == kMalformed)
            return Utf8Form::Malformed;
        form = Utf8Form::Multibyte;
    }
    return form;
}

unsigned char lower(unsigned char byte)
{
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return byte + 0x20;
    switch (byte) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return byte;
    }
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string fileName(std::string_view path)
{
    return toUtf8(path);
}

std::FILE *openFile(std::string_view path, const char *mode)
{
    return std::fopen(fileName(path).c_str(), mode);
}

} // namespace cp1252
