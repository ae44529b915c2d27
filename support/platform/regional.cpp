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
    format.replace(years, QStringLiteral("yyyy"));
    return format;
}

} // namespace regional
