// Windows-1252 text: the one-byte form in which the program holds and stores all text,
// and its conversions to Unicode (UTF-8 for the database and for file names).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace cp1252 {

// Unicode code point of a byte. The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, so every
// byte survives a round trip.
char32_t toUnicode(unsigned char byte);

// Byte for a code point; '?' when Windows-1252 has no such character.
unsigned char fromUnicode(char32_t code);

// Whole texts. fromUtf8 turns every malformed sequence and every character outside
// Windows-1252 into '?'.
std::string toUtf8(std::string_view text);
std::string fromUtf8(std::string_view utf8);
// Appends to out what fromUtf8 returns, without a text of its own.
void appendFromUtf8(std::string &out, std::string_view utf8);
// The byte of the UTF-8 character at utf8[i] (i below utf8.size()), as fromUtf8 gives it;
// moves i past the character.
unsigned char nextFromUtf8(std::string_view utf8, size_t &i);

// What a text is as UTF-8: only bytes below 0x80, well-formed with at least one character
// of more than one byte, or not well-formed.
enum class Utf8Form { Ascii, Multibyte, Malformed };
Utf8Form utf8Form(std::string_view text);

// Lower case of a letter (ASCII and the accented letters of Windows-1252); any other byte
// is returned unchanged. For matching names without regard to case.
unsigned char lower(unsigned char byte);
bool equalNoCase(std::string_view a, std::string_view b);

// A Windows-1252 path as the operating system spells it, and fopen on such a path.
std::string fileName(std::string_view path);
std::FILE* openFile(std::string_view path, const char* mode);

} // namespace cp1252
