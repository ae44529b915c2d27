// The drawee import window: the user picks a CSB19 or CSB58 file and the issuer its drawees
// go to, and imports them, watching the messages, the progress and the counts of the run.
#pragma once

#include "ImportacionLibrados.h"

#include <QDialog>
#include <array>

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

class TFRMImportLibrados : public QDialog {
    Q_OBJECT
public:
    explicit TFRMImportLibrados(QWidget *owner = nullptr);

    QLabel *Label1;
    QLineEdit *txtFichero;
    QPushButton *cbtCommonDialog;
    QFileDialog *OpenDialog1;
    QPushButton *cbtOK, *cbtCancel;
    QListWidget *lstProceso;
    QProgressBar *gaugeProgreso;
    QRadioButton *rbtCSB19, *rbtCSB58; // the format of the selection and of the last file; decide nothing
    QLabel *Label10, *Label6, *Label12, *Label5;
    QLabel *lblNLibrados, *lblLibradosRepetidos, *lblLibradosErroneos;

    // True while an import runs.
    bool Importando() const { return m_importacion.Importando(); }
    // The issuer chosen for the file named (0 while none).
    int IdEmisorElegido() const { return m_idEmisor; }

    void cbtCommonDialogClick();
    void cbtOKClick();
    void cbtCancelClick();

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;

private:
    void FormShow();
    void txtFicheroChange();
    bool EmisorDelFichero() const;
    void EligeEmisor(const std::string &fichero);
    void LimpiaProceso();
    void Importa(const std::string &fichero, int tipo);
    void Progreso(int minimo, int maximo, int posicion);
    void Contadores(const std::array<int, 12> &contadores);

    ImportacionLibrados m_importacion;
    int m_idEmisor = 0;
    std::string m_ficheroEmisor; // the file the issuer was chosen for
    int m_tipoEmisor = 0;        // and its format
};
