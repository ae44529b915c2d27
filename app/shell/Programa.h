// The program's application object: no exception crosses its event loop, and the support
// library's message boxes and trace lines are shown in windows of the program.
#pragma once

#include <QApplication>
#include <QTranslator>
#include <functional>
#include <string_view>

// Runs accion; an exception it raises is written to the product log after the tag
// ("TFormMain::cbtSalirClick" gives "[ TFormMain::cbtSalirClick ] <message>") and shown in
// an error box, and goes no further.
void Protege(std::string_view etiqueta, const std::function<void()> &accion);

// The application object of the program: any event whose handler raises an exception is
// handled as Protege does, and every window is fitted to its screen when it is shown
// (AjustaAPantalla).
class TAplicacion : public QApplication {
public:
    TAplicacion(int &argc, char **argv);
    bool notify(QObject *receptor, QEvent *evento) override;
};

// Creates the windows that live for the whole run, in their order, the main window first
// (its construction opens the database), through App(), and connects the login to the
// main window.
void CreaVentanas();

// Runs the main window's exit sequence and frees the windows of CreaVentanas.
void DestruyeVentanas();

// Installs the support library's display hook: boxes become modal message boxes with OK
// and Cancel, trace lines go to the list window titled B_DEBUG_LIST_TITLE.
void InstalaPantallaDebug();

// Qt's own texts in Spanish (file and print dialogs): qtbase_es of Qt's translations. The
// file dialogs' type column asks for its texts ("Folder", "Drive") under the icon
// provider's name, which that file lacks: they are answered with the file dialog's own.
class TraduccionQt : public QTranslator {
public:
    // Loads the translation file; false when it is missing.
    bool Carga();
    QString translate(const char *contexto, const char *texto, const char *desambiguacion = nullptr,
                      int n = -1) const override;
};
