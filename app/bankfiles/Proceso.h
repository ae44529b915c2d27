// The CSB import window: the user picks a CSB19 or CSB58 file and imports it into the main
// window's company, watching the messages, the progress and the counts of the run.
#pragma once

#include "Importacion.h"

#include <QDialog>
#include <array>

class QFileDialog;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTextEdit;

class TfrmProceso : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProceso(QWidget *owner = nullptr);

    QLabel *Label1;
    QLineEdit *txtFichero;
    QPushButton *cbtCommonDialog;
    QFileDialog *OpenDialog1;
    QPushButton *cbtOK, *BTNPrevisualizacion, *cbtCancel;
    QTextEdit *lstProceso;
    QProgressBar *gaugeProgreso;
    QRadioButton *rbtCSB19, *rbtCSB58; // the format of the selection and of the last file; decide nothing
    QLabel *Label2, *Label3, *Label4, *Label5, *Label10, *Label6, *Label12;
    QLabel *lblNEmisores, *lblNRemesas, *lblNRecibos, *lblNLibrados;
    QLabel *lblEmisoresRepetidos, *lblRemesasRepetidas, *lblRecibosRepetidos, *lblLibradosRepetidos;
    QLabel *lblEmisoresErroneos, *lblRemesasErroneas, *lblRecibosErroneos, *lblLibradosErroneos;

    // True while an import runs.
    bool Importando() const { return m_importacion.Importando(); }

    void cbtCommonDialogClick();
    void cbtOKClick();
    void cbtCancelClick();
    // Shows the chosen file in the send-file viewer when it exists.
    void BTNPrevisualizacionClick();

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;

private:
    void FormShow();
    void FormActivate();
    void txtFicheroChange();
    void LimpiaProceso();
    void Importa(const std::string &fichero, int tipo);
    void Progreso(int minimo, int maximo, int posicion);
    void Contadores(const std::array<int, 12> &contadores);

    ImportacionCSB m_importacion;
};
