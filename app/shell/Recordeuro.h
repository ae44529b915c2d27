// The euro reminder: from the euro date on, sends of collection orders go in euros. The
// login shows it at most once per run; the send file shows it when it refuses pesetas.
#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

class TFRMRecordeuro : public QDialog {
    Q_OBJECT
public:
    explicit TFRMRecordeuro(QWidget *parent = nullptr);

    // The check box from [General] PresentarRecordatorioEuro of Orvanta.INI (unchecked only
    // for exactly "Si"), the text with the main window's euro date.
    void FormShow();
    // Writes the check box's choice ("No" checked, "Si" not) and closes.
    void BTNCerrarClick();

    QLabel *Image1;
    QLabel *LBLTexto;
    QFrame *Bevel1;
    QCheckBox *CHKNoMostrar;
    QPushButton *BTNCerrar;

protected:
    void showEvent(QShowEvent *evento) override;
    void reject() override;
};
