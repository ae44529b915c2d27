// The save-as dialog of the concept-template designer (TFRMGuardarComo): asks for the name
// under which the template is stored. Created once at start-up and reused.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFRMGuardarComo : public QDialog {
    Q_OBJECT
public:
    // The modal results: a name was given (TxtPlantilla holds it, not empty), or not.
    enum { ResultadoAceptar = 1, ResultadoCancelar = 2 };

    explicit TFRMGuardarComo(QWidget *parent = nullptr);

    QGroupBox *GBoxPlantilla;
    QLabel *LBNombrePlantilla;
    QLineEdit *TxtPlantilla; // at most 50 characters
    QPushButton *BTNAceptar, *BTNCancelar;

    // An empty name is refused with a message and the dialog stays; blanks are a name.
    void BTNAceptarClick();
    void BTNCancelarClick();

protected:
    // Captions by language; the name box emptied and focused.
    void showEvent(QShowEvent *evento) override;
    // Esc and the close box cancel as BTNCancelar does.
    void reject() override;
};
