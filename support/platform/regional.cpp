// Regional settings taken from Qt's default locale.
#include "regional.h"

#include <QLocale>
#include <QRegularExpression>

namespace regional {

void spanishWithoutSettings()
{
    QByteArray name = qgetenv("LC_ALL");
    if (name.isEmpty())
        name = qgetenv("LC_MESSAGES");
    if (name.isEmpty())
        name = qgetenv("LANG");
    if (QLocale(QString::fromLatin1(name)).language() != QLocale::C)
        return;
    const bool wasSet = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray previous = qgetenv("LC_ALL");
    qputenv("LC_ALL", "es_ES.UTF-8");
    QLocale::system(); // Qt reads the environment once, here
    if (wasSet)
        qputenv("LC_ALL", previous);
    else
        qunsetenv("LC_ALL");
}

char decimalSeparator()
{
    // Asking the locale for it is slow, and amounts ask often: kept per thread until the
    // default locale changes.
    thread_local QLocale leido(QLocale::c());
    thread_local char separador = '.';
    if (const QLocale actual; actual != leido) {
        separador = actual.decimalPoint() == QStringLiteral(",") ? ',' : '.';
        leido = actual;
    }
    return separador;
}

char thousandsSeparator()
{
    return thousandsSeparatorFor(decimalSeparator());
}

char thousandsSeparatorFor(char decimal)
{
    return decimal == ',' ? '.' : ',';
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
