// QString <-> Windows-1252 through the program's own table.
#include "qcp1252.h"

#include "cp1252.h"

#include <QList>
#include <utility>

namespace cp1252 {
namespace {

// The byte order mark, also the zero-width no-break space: it takes no place in a line.
constexpr char32_t kByteOrderMark = 0xFEFF;

// The byte of a character Windows-1252 lacks: its plain letter, or a blank.
unsigned char plainLetter(char32_t code)
{
    // Letters with a stroke have no decomposition.
    static constexpr std::pair<char32_t, char> kStroke[] = {
        {0x0110, 'D'}, {0x0111, 'd'}, {0x0126, 'H'}, {0x0127, 'h'}, {0x0131, 'i'},
        {0x0141, 'L'}, {0x0142, 'l'}, {0x0166, 'T'}, {0x0167, 't'},
    };
    for (const auto &[letter, plain] : kStroke)
        if (letter == code)
            return plain;
    const QList<uint> parts = QString::fromUcs4(&code, 1).normalized(QString::NormalizationForm_KD).toUcs4();
    if (!parts.isEmpty() && parts[0] != code && (fromUnicode(parts[0]) != '?' || parts[0] == '?'))
        return fromUnicode(parts[0]);
    return ' ';
}

} // namespace

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

std::string fromUtf8Nearest(std::string_view utf8)
{
    const QList<uint> codes = QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toUcs4();
    std::string out;
    out.reserve(size_t(codes.size()));
    for (const char32_t code : codes) {
        if (code == kByteOrderMark)
            continue;
        const unsigned char byte = fromUnicode(code);
        out += char(byte != '?' || code == '?' ? byte : plainLetter(code));
    }
    return out;
}

} // namespace cp1252
