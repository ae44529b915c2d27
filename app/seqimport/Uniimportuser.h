// The sequential import window: the user picks or types the data file, then picks the
// template, and the window runs the import (_ImportacionUsuario), showing its progress,
// counts and messages.
// During a run only BTNCerrar acts: it asks the run to stop, as closing the window does.
#pragma once

#include "Importacionusuario.h"

#include <QDialog>
#include <string>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class TFRMImportuser : public QDialog {
    Q_OBJECT
public:
    explicit TFRMImportuser(QWidget *parent = nullptr);

    void FormActivate();
    void cbtCommonDialogClick();
    void txtFicheroChange();
    void BTNImportarClick();
    void BTNCerrarClick();
    void FormClose();
    // A line of the memo (the run writes it to the log too).
    void Mensaje(const std::string &texto);

    QLabel *Label1;
    QLineEdit *txtFichero;
    QPushButton *cbtCommonDialog, *BTNImportar, *BTNCerrar;
    QProgressBar *CGauge1;
    QLabel *Label10, *Label6, *Label12, *Label2, *Label3, *Label4, *Label5;
    QLabel *lblNEmisores, *lblNRemesas, *lblNRecibos, *lblNLibrados;
    QLabel *lblEmisoresRepetidos, *lblRemesasRepetidas, *lblRecibosRepetidos, *lblLibradosRepetidos;
    QLabel *lblEmisoresErroneos, *lblRemesasErroneas, *lblRecibosErroneos, *lblLibradosErroneos;
    QPlainTextEdit *MEMMensajes;
    QFileDialog *OpenDiag1;

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;

private:
    void ReiniciaPantalla();
    void MuestraContadores();
    void Progreso(long long hecho, long long total);
    // Runs OpenDiag1 with the filter text, file name and title text; the chosen file or "".
    std::string EligeFichero(int filtro, const char *nombre, int titulo);
    void Termina(_ImportacionUsuario::Resultado resultado);

    _ImportacionUsuario m_importacion;
    bool m_cerrar = false; // closed during a run: close when it ends
};
