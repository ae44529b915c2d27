// The drawee import window: the user picks a CSB19 or CSB58 file and the issuer its drawees
// go to, and imports them, watching the messages, the progress and the counts of the run.
#pragma once

#include "ImportacionLibrados.h"

#include "Ventanaimportacion.h"
#include <array>

class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class TFRMImportLibrados : public TVentanaImportacion {
    Q_OBJECT
public:
    explicit TFRMImportLibrados(QWidget *owner = nullptr);

    QLabel *Label1;
    QLineEdit *txtFichero;
    QPushButton *cbtCommonDialog;
    QFileDialog *OpenDialog1;
    QPushButton *cbtOK, *cbtCancel;
    QListWidget *lstProceso;
    QRadioButton *rbtCSB19, *rbtCSB58; // the format of the selection and of the last file; decide nothing
    QLabel *Label10, *Label6, *Label12, *Label5;
    QLabel *lblNLibrados, *lblLibradosRepetidos, *lblLibradosErroneos;

    // The issuer chosen for the file named (0 while none).
    int IdEmisorElegido() const { return m_idEmisor; }

    void cbtCommonDialogClick();
    void cbtOKClick();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    void FormShow();
    void txtFicheroChange();
    bool EmisorDelFichero() const;
    void EligeEmisor(const std::string &fichero);
    void LimpiaProceso();
    void Importa(const std::string &fichero, int tipo);
    void Contadores(const std::array<int, 12> &contadores);

    ImportacionLibrados m_importacion;
    int m_idEmisor = 0;
    std::string m_ficheroEmisor; // the file the issuer was chosen for
    int m_tipoEmisor = 0;        // and its format
};
