// Regional settings taken from Qt's default locale.
#include "regional.h"

#include <QLocale>
#include <QRegularExpression>

namespace regional {

char decimalSeparator()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

char thousandsSeparator()
{
    return decimalSeparator() == ',' ? '.' : ',';
}

QString dateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    static const QRegularExpression years(QStringLiteral("y+"));
    static const QRegularExpression day(QStringLiteral("(?<!d)d(?!d)"));
    static const QRegularExpression month(QStringLiteral("(?<!M)M(?!M)"));
    format.replace(years, QStringLiteral("yyyy"));
    format.replace(day, QStringLiteral("dd"));
    format.replace(month, QStringLiteral("MM"));
    return format;
}

} // namespace regional
