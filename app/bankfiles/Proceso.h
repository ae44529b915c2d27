// The CSB import window: the user picks a CSB19 or CSB58 file and imports it into the main
// window's company, watching the messages, the progress and the counts of the run.
#pragma once

#include "Importacion.h"

#include "Ventanaimportacion.h"
#include <array>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

class TfrmProceso : public TVentanaImportacion {
    Q_OBJECT
public:
    explicit TfrmProceso(QWidget *owner = nullptr);

    QLabel *Label1;
    QLineEdit *txtFichero;
    QPushButton *cbtCommonDialog;
    QFileDialog *OpenDialog1;
    QPushButton *cbtOK, *BTNPrevisualizacion, *cbtCancel;
    QTextEdit *lstProceso;
    QRadioButton *rbtCSB19, *rbtCSB58; // the format of the selection and of the last file; decide nothing
    QLabel *Label2, *Label3, *Label4, *Label5, *Label10, *Label6, *Label12;
    QLabel *lblNEmisores, *lblNRemesas, *lblNRecibos, *lblNLibrados;
    QLabel *lblEmisoresRepetidos, *lblRemesasRepetidas, *lblRecibosRepetidos, *lblLibradosRepetidos;
    QLabel *lblEmisoresErroneos, *lblRemesasErroneas, *lblRecibosErroneos, *lblLibradosErroneos;


    void cbtCommonDialogClick();
    void cbtOKClick();
    // Shows the chosen file in the send-file viewer when it exists.
    void BTNPrevisualizacionClick();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    void FormActivate();
    void txtFicheroChange();
    void LimpiaProceso();
    void Importa(const std::string &fichero, int tipo);
    void Contadores(const std::array<int, 12> &contadores);

    ImportacionCSB m_importacion;
};
