// The euro calculator: two linked fields that convert pesetas and euros at 166.386
// pesetas to the euro as the user types.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// Euros (a text with any number of decimals after the regional decimal separator) as
// whole pesetas, and whole pesetas as euros with two decimals and that separator; half
// away from zero. Empty reads as 0; no number gives nothing.
std::optional<std::string> EurosAPesetas(const std::string &euros);
std::optional<std::string> PesetasAEuros(const std::string &pesetas);

class TFRMEuroCalc : public QDialog {
    Q_OBJECT
public:
    explicit TFRMEuroCalc(QWidget *parent = nullptr);

    void BTNBorrarClick();
    void BTNSalirClick();
    void TXTPtasChange();
    void TXTEuroChange();

    QLabel *Label1, *Label2;
    QLineEdit *TXTPtas; // at most 10 characters
    QLineEdit *TXTEuro; // at most 11 characters
    QPushButton *BTNBorrar, *BTNSalir;
    // True when the last key went to the euro field: the field the program writes does not
    // convert back.
    bool EditandoEuros = false;

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormShow();
    // The key filters; true when the key is dropped.
    bool TXTPtasKeyPress(QChar tecla);
    bool TXTEuroKeyPress(QChar tecla);
};
