// The options of the template being edited: the currency of the imported amounts, the
// decimal separator of the data file, whether the bills are issued as invoices and the
// order type. Created at start-up with a new template's options (euros); its options are
// the template editor's current ones.
#pragma once

#include "Unitfichero.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TFRMOpcionImport : public QDialog {
    Q_OBJECT
public:
    explicit TFRMOpcionImport(QWidget *parent = nullptr);

    // What the user confirmed last, or what the last template opened held.
    OpcionesImportacion Opciones;

    void FormCreate();
    void FormActivate();
    void RBAnticiposClick();
    void RBDomiciliadosClick();
    void BTNAceptarClick();

    QLabel *Label1, *lblSeparador;
    QComboBox *CBMoneda, *CBSeparador;
    QGroupBox *GroupBox2, *GroupBox1;
    QRadioButton *RBDomiciliados, *RBAnticipos, *CHKSi, *CHKNo;
    QPushButton *BTNAceptar, *BTNCancelar;

protected:
    void showEvent(QShowEvent *evento) override;
};
