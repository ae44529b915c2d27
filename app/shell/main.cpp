// The program's entry: the application object, the long-lived windows, the event loop and
// the exit sequence.
#include "Aplicacion.h"
#include "Frmmain.h"
#include "Programa.h"
#include "progdir.h"
#include "regional.h"

#include <clocale>

int main(int argc, char **argv)
{
    regional::spanishWithoutSettings();
    TAplicacion aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("Orvanta"));
    // Qt's own dialogs (files, printing) speak the program's language.
    TraduccionQt qt;
    if (qt.Carga())
        QCoreApplication::installTranslator(&qt);
    // The program ends through TFormMain::TerminaAplicacion, also while a window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    progdir::enter();
    InstalaPantallaDebug();
    Protege("main::CreaVentanas", CreaVentanas);
    if (App().FormMain) {
        App().FormMain->show();
        aplicacion.exec();
    }
    Protege("main::DestruyeVentanas", DestruyeVentanas);
    return 0;
}
