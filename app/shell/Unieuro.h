// The euro calculator: two linked fields that convert pesetas and euros at 166.386
// pesetas to the euro as the user types.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFRMEuroCalc : public QDialog {
    Q_OBJECT
public:
    explicit TFRMEuroCalc(QWidget *parent = nullptr);

    void BTNBorrarClick();
    void BTNSalirClick();
    void TXTPtasChange();
    void TXTEuroChange();

    QLabel *Label1, *Label2;
    // Amount boxes (SenalaImporte): whole pesetas of up to 10 digits, euros with two
    // decimals and 8 integer digits.
    QLineEdit *TXTPtas;
    QLineEdit *TXTEuro;
    QPushButton *BTNBorrar, *BTNSalir;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    // What the user types into one field gives the other its counter-value (half away from
    // zero): 0 for an empty field, nothing while the text does not read (it is marked).
    void Convierte(QLineEdit *tecleado, const char *moneda, QLineEdit *otro);
};
