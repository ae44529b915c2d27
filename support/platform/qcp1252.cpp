// QString <-> Windows-1252 through the program's own table.
#include "qcp1252.h"

#include "cp1252.h"

namespace cp1252 {

QString toQString(std::string_view text)
{
    QString out;
    out.reserve(qsizetype(text.size()));
    for (unsigned char b : text)
        out += QChar(char16_t(toUnicode(b)));
    return out;
}

std::string fromQString(const QString &text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out += char(c.isSurrogate() ? '?' : fromUnicode(c.unicode()));
    }
    return out;
}

} // namespace cp1252
