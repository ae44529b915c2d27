// The boundary between Qt widgets and the program's Windows-1252 text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace cp1252 {

QString toQString(std::string_view text);

// Characters outside Windows-1252 become '?'.
std::string fromQString(const QString &text);

// Well-formed UTF-8 (a file written as UTF-8) as Windows-1252, one byte per character: a
// character Windows-1252 lacks becomes the plain letter it is written with ("\u0142" 'l',
// "\u0151" 'o': the first character of its compatibility decomposition) or else a blank; the
// byte order mark (U+FEFF), which takes no place, is dropped.
std::string fromUtf8Nearest(std::string_view utf8);

} // namespace cp1252
