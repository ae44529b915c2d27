// Plain string utilities and the code page 850 case-folding table.
#include "b_str.h"

#include "b_mem.h"

#include <array>
#include <cstring>

namespace {

constexpr const char *kFamily = "b_str";

// The accented characters of the table, their folded capitals and their small letters.
constexpr unsigned char kAccented[] = {
    0xA0, 0x82, 0xA1, 0xA2, 0xA3, 0x85, 0x8A, 0x8D, 0x95, 0x97, 0x83, 0x88, 0x8C,
    0x93, 0x96, 0x84, 0x89, 0x8B, 0x94, 0x81, 0xA4, 0x8E, 0x99, 0x9A, 0x90, 0x87,
};
constexpr char kFolded[] = "AEIOUAEIOUAEIOUAEIOU\xA5" "AOUE\x80";
constexpr char kLowered[] = "aeiouaeiouaeiouaeiou\xA4" "aoue\x87";
static_assert(sizeof kAccented == sizeof kFolded - 1 && sizeof kFolded == sizeof kLowered);

constexpr std::array<unsigned char, 256> makeTable(char aToZ, const char *accented)
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (unsigned char)c;
    for (int c = 0; c < 26; ++c)
        table[(aToZ == 'A' ? 'a' : 'A') + c] = (unsigned char)(aToZ + c);
    for (size_t i = 0; i < sizeof kAccented; ++i)
        table[kAccented[i]] = (unsigned char)accented[i];
    return table;
}

constexpr std::array<unsigned char, 256> kUpper = makeTable('A', kFolded);
constexpr std::array<unsigned char, 256> kLower = makeTable('a', kLowered);

int folded(char c)
{
    return (signed char)kUpper[(unsigned char)c];
}

char *mapped(char *text, const std::array<unsigned char, 256> &table)
{
    if (text)
        for (char *p = text; *p; ++p)
            *p = char(table[(unsigned char)*p]);
    return text;
}

bool inSet(char c, const char *set)
{
    return c != '\0' && std::strchr(set, c) != nullptr;
}

struct Word {
    const char *start;
    size_t length;
    const char *next; // where B_strskipword ends
};

Word scanWord(const char *text, const char *delimiters)
{
    const char *p = B_strskipspaces(text);
    if (*p == '"') {
        const char *close = std::strchr(p + 1, '"');
        if (!close) {
            size_t length = std::strlen(p + 1);
            return {p + 1, length, p + 1 + length};
        }
        return {p + 1, size_t(close - (p + 1)), close + 1};
    }
    size_t length = std::strcspn(p, delimiters ? delimiters : "");
    const char *next = p + length;
    if (length == 0 && *p)
        ++next;
    return {p, length, next};
}

char *copyWord(char *dest, const Word &word, size_t max)
{
    size_t length = word.length < max ? word.length : max;
    std::memcpy(dest, word.start, length);
    dest[length] = '\0';
    return dest;
}

} // namespace

char *B_to_upper(char *text)
{
    return mapped(text, kUpper);
}

char *B_to_lower(char *text)
{
    return mapped(text, kLower);
}

int B_stricmp(const char *a, const char *b)
{
    return B_strnicmp(a, b, size_t(-1));
}

int B_strnicmp(const char *a, const char *b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        int ca = folded(a[i]);
        int cb = folded(b[i]);
        if (ca != cb || ca == 0)
            return ca - cb;
    }
    return 0;
}

char *B_strindent(const char *text, size_t n, int flag)
{
    size_t length = std::strlen(text);
    size_t lines = 1;
    for (const char *p = text; *p; ++p)
        lines += *p == '\n';
    char *block = static_cast<char *>(B_malloc_tagged(n * lines + length + 1, __LINE__, kFamily));
    char *out = block;
    if (flag == 0)
        out = static_cast<char *>(std::memset(out, ' ', n)) + n;
    for (const char *p = text; *p; ++p) {
        *out++ = *p;
        if (*p == '\n')
            out = static_cast<char *>(std::memset(out, ' ', n)) + n;
    }
    *out = '\0';
    return block;
}

char *B_strstuff(char *dest, int character, int n)
{
    if (n < 1)
        return dest;
    std::memset(dest, character, size_t(n));
    return dest + n;
}

char *strchr_lst(const char *text, const char *set)
{
    if (!*set)
        return nullptr;
    const char *p = text + std::strcspn(text, set);
    return *p ? const_cast<char *>(p) : nullptr;
}

char *B_strnchr(const char *text, int character, size_t n)
{
    for (size_t i = 0; i < n && text[i]; ++i)
        if (text[i] == char(character))
            return const_cast<char *>(text + i);
    return nullptr;
}

char *B_strnchrstr(const char *text, const char *set, size_t n)
{
    size_t setLength = strnlen(set, n);
    for (size_t i = 0; i < n && text[i]; ++i)
        if (std::memchr(set, text[i], setLength))
            return const_cast<char *>(text + i);
    return nullptr;
}

char *B_strskipspaces(const char *text)
{
    while (*text == ' ')
        ++text;
    return const_cast<char *>(text);
}

char *B_strskipword(const char *text, const char *delimiters)
{
    return const_cast<char *>(scanWord(text, delimiters).next);
}

size_t B_strwordlen(const char *text, const char *delimiters)
{
    return scanWord(text, delimiters).length;
}

char *B_strwordcpy(char *dest, const char *text, const char *delimiters)
{
    return copyWord(dest, scanWord(text, delimiters), size_t(-1));
}

char *B_strwordncpy(char *dest, const char *text, const char *delimiters, size_t max)
{
    return copyWord(dest, scanWord(text, delimiters), max);
}

char *B_strltrim(char *text, int character)
{
    const char set[2] = {char(character), '\0'};
    return B_strltrimstr(text, set);
}

char *B_strrtrim(char *text, int character)
{
    const char set[2] = {char(character), '\0'};
    return B_strrtrimstr(text, set);
}

char *B_strtrim(char *text, int character)
{
    return B_strltrim(B_strrtrim(text, character), character);
}

char *B_strltrimstr(char *text, const char *set)
{
    if (!text)
        return nullptr;
    while (inSet(*text, set))
        ++text;
    return text;
}

char *B_strrtrimstr(char *text, const char *set)
{
    if (!text)
        return nullptr;
    char *end = text + std::strlen(text);
    while (end > text && inSet(end[-1], set))
        --end;
    *end = '\0';
    return text;
}

char *B_strtrimstr(char *text, const char *set)
{
    return B_strltrimstr(B_strrtrimstr(text, set), set);
}

void quita1310(char *text)
{
    text[std::strcspn(text, "\r\n")] = '\0';
}

char *B_DupString(const char *text)
{
    return text ? B_null_strdup_tagged(text, __LINE__, kFamily) : nullptr;
}

void B_FreeString(char *text)
{
    if (text)
        B_free(text);
}

void B_SetString(char **address, const char *text)
{
    if (!address)
        return;
    char *copy = B_DupString(text);
    B_FreeString(*address);
    *address = copy;
}

size_t B_LenString(const char *text)
{
    return text ? std::strlen(text) : 0;
}

char *B_CatStrings(const char *a, const char *b)
{
    size_t la = B_LenString(a);
    size_t lb = B_LenString(b);
    if (la + lb == 0)
        return nullptr;
    char *block = static_cast<char *>(B_null_malloc_tagged(la + lb + 1, __LINE__, kFamily));
    if (!block)
        return nullptr;
    if (la)
        std::memcpy(block, a, la);
    if (lb)
        std::memcpy(block + la, b, lb);
    block[la + lb] = '\0';
    return block;
}
