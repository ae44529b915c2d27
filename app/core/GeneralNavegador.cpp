// Web addresses opened with the configured browser.
#include "General.h"

#include "cp1252.h"
#include "qcp1252.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool AbreNavegador(std::string_view programa, std::string_view direccion)
{
    const QString url = cp1252::toQString(direccion);
    const QString ejecutable = programa.empty() || cp1252::equalNoCase(programa, "iexplore")
                                   ? QString()
                                   : QStandardPaths::findExecutable(cp1252::toQString(programa));
    if (!ejecutable.isEmpty() && QProcess::startDetached(ejecutable, {url}))
        return true;
    return QDesktopServices::openUrl(QUrl(url));
}
