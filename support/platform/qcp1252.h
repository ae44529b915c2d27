// The boundary between Qt widgets and the program's Windows-1252 text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace cp1252 {

QString toQString(std::string_view text);

// Characters outside Windows-1252 become '?'.
std::string fromQString(const QString &text);

} // namespace cp1252
