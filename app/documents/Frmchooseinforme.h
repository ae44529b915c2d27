// The report chooser (TFormChooseInforme): a small tool window, above the others, that
// runs the main window's drawees or bills report.
#pragma once

#include <QDialog>

class QPushButton;
class QToolButton;

class TFormChooseInforme : public QDialog {
    Q_OBJECT
public:
    explicit TFormChooseInforme(QWidget *parent = nullptr);

    QToolButton *cbtInfLibrados, *cbtInfRecibos;
    QPushButton *BitBtn1;

    // Captions by language; each report button enabled exactly when the main window's is.
    void FormShow();
    // Each hides the chooser, then runs its report when the main window's button is
    // still enabled.
    void cbtInfLibradosClick();
    void cbtInfRecibosClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *evento) override;
};
