// The small window that tells the user the program is busy writing the scrambled copy of
// the database: closing, when the last running copy writes it on exit, or saving the data.
#pragma once

#include <QFrame>
#include <memory>
#include <string>

class QLabel;

class TFormCerrando : public QFrame {
    Q_OBJECT
public:
    // A window of its own showing the language text texto ("Cerrando...", "Guardando
    // datos..."), centred over parent when one is given.
    TFormCerrando(QWidget *parent, int texto);

    // Shows the window and paints it now: the work that follows keeps the program from
    // handling events until it ends.
    void Muestra();

    // The window shown (Muestra) when the database at rutaBD, its journal included, is
    // large enough for its copy to take more than a moment; null for a smaller one.
    static std::unique_ptr<TFormCerrando> MuestraSiTarda(QWidget *parent, const std::string &rutaBD, int texto);

    QLabel *lblCerrando;
};
