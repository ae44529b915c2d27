// Plain string utilities on NUL-terminated 8-bit text: case folding and comparison,
// searching, words, trimming, and heap copies.
//
// Case folding follows the library's table of code page 850 bytes: "a".."z" fold to
// "A".."Z"; the accented small vowels a e i o u with acute, grave, circumflex and
// diaeresis (0xA0 0x82 0xA1 0xA2 0xA3, 0x85 0x8A 0x8D 0x95 0x97, 0x83 0x88 0x8C 0x93 0x96,
// 0x84 0x89 0x8B 0x94 0x81) fold to the plain capitals A E I O U; small n with tilde 0xA4
// folds to 0xA5; the capitals with diaeresis A O U (0x8E 0x99 0x9A) and capital E with
// acute 0x90 fold to A O U E; small c with cedilla 0x87 folds to 0x80. Every other byte
// (other capitals and all Windows-1252 letters above 0x9F among them) stays as it is.
//
// Functions work in place on the caller's text unless they return a block; blocks are of
// b_mem.h and are freed with B_free. Texts given to comparisons must not be null.
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// Folds every character by the table, in place. Returns text (null stays null).
QUENTARO_API char *B_to_upper(char *text);
// "A".."Z" to "a".."z", and the accented vowels of the table (small ones and the capitals
// with diaeresis or acute) to the plain small vowel; small n with tilde and small c with
// cedilla stay. In place; returns text (null stays null).
QUENTARO_API char *B_to_lower(char *text);
// Compares folded characters as signed bytes (so every byte from 0x80 up orders before
// ASCII) until they differ or both texts end: the difference of the first differing pair,
// 0 when equal.
QUENTARO_API int B_stricmp(const char *a, const char *b);
// The same over at most n characters.
QUENTARO_API int B_strnicmp(const char *a, const char *b, size_t n);

// A new block holding the text with n blanks inserted after every line feed, and, when
// flag is 0, before the first line too. No memory: fatal.
QUENTARO_API char *B_strindent(const char *text, size_t n, int flag);
// Writes the character n times at dest (no terminator) and returns the address after
// them; n < 1 writes nothing and returns dest.
QUENTARO_API char *B_strstuff(char *dest, int character, int n);

// The first character of text that is in set; null for an empty set or no match.
QUENTARO_API char *strchr_lst(const char *text, const char *set);
// The character within the first n characters of text (the terminator ends the search and
// never matches), or null.
QUENTARO_API char *B_strnchr(const char *text, int character, size_t n);
// The earliest character within the first n of text that is one of the first n characters
// of set, or null.
QUENTARO_API char *B_strnchrstr(const char *text, const char *set, size_t n);

// The first character that is not a blank.
QUENTARO_API char *B_strskipspaces(const char *text);
// Words: after leading blanks, a word opening with a double quote runs to the closing
// quote (to the end of the text when unclosed); any other word runs to the first
// character that is in delimiters (a null delimiters counts as empty).
// B_strskipword: the address just past a quoted word's closing quote; for any other word
// the delimiter that ends it (one past it when the delimiter is the word's first
// character), or the end of the text.
QUENTARO_API char *B_strskipword(const char *text, const char *delimiters);
// The word's length, quotes excluded.
QUENTARO_API size_t B_strwordlen(const char *text, const char *delimiters);
// Copies the word (quotes excluded) to dest and terminates it; dest must hold
// B_strwordlen(text, delimiters) + 1 bytes. Returns dest.
QUENTARO_API char *B_strwordcpy(char *dest, const char *text, const char *delimiters);
// The same, copying at most max characters; dest must hold max + 1 bytes.
QUENTARO_API char *B_strwordncpy(char *dest, const char *text, const char *delimiters,
                                 size_t max);

// Trimming one character: ltrim returns the first character that is not it (inside the
// text); rtrim cuts its trailing occurrences and returns text; trim does both and returns
// the start of the trimmed text inside the given one. A null text gives null.
QUENTARO_API char *B_strltrim(char *text, int character);
QUENTARO_API char *B_strrtrim(char *text, int character);
QUENTARO_API char *B_strtrim(char *text, int character);
// The same with any character of set.
QUENTARO_API char *B_strltrimstr(char *text, const char *set);
QUENTARO_API char *B_strrtrimstr(char *text, const char *set);
QUENTARO_API char *B_strtrimstr(char *text, const char *set);
// Cuts the text at its first carriage return or line feed.
QUENTARO_API void quita1310(char *text);

// Heap copies: B_DupString returns a block holding a copy of text, null for a null text or
// when memory is short.
QUENTARO_API char *B_DupString(const char *text);
// Frees a copy (B_free); null is allowed.
QUENTARO_API void B_FreeString(char *text);
// Replaces *address with a copy of text (null stays null) and frees the old copy; text may
// be the old copy itself. When memory is short *address becomes null. A null address does
// nothing.
QUENTARO_API void B_SetString(char **address, const char *text);
// strlen, 0 for null.
QUENTARO_API size_t B_LenString(const char *text);
// A new block holding a followed by b (either may be null); null when both are empty or
// memory is short.
QUENTARO_API char *B_CatStrings(const char *a, const char *b);

QUENTARO_END
