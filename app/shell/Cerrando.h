// The small window that tells the user the program is closing while the last running copy
// writes the scrambled copy of the database on exit.
#pragma once

#include <QFrame>

class QLabel;

class TFormCerrando : public QFrame {
    Q_OBJECT
public:
    // A window of its own, centred over parent when one is given.
    explicit TFormCerrando(QWidget *parent = nullptr);

    // Shows the window and paints it now: the work that follows keeps the program from
    // handling events until it ends.
    void Muestra();

    QLabel *lblCerrando;
};
