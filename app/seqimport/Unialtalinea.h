// The record-kind dialog of the template editor: the caption of a new or changed kind of
// line and the value that identifies it. Created at start-up; while the editor shows it, it
// is the editor's tool window, and what is typed in it goes at once into the editor's
// edits (the zone moves the grid's selection).
#pragma once

#include "Dialogoeditor.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TFRMAltaLinea : public TDialogoEditor {
    Q_OBJECT
public:
    explicit TFRMAltaLinea(QWidget *parent = nullptr);

    // Fills the dialog for the editor: modo 0 a new kind, 1 a change of nodo.
    void PrepararLinea(TFRMDefinirimport *editor, int modo, QTreeWidgetItem *nodo);
    void FormShow() override;
    void BTNAceptarClick();
    void TXTDescripcionChange();
    void TXTValorChange();
    void TXTDesdeChange(QLineEdit *caja);

    QLabel *Label1, *Label2, *Label3, *Label5, *Label6, *Label7, *Label8;
    QLineEdit *TXTDescripcion, *TXTValor, *TXTDesde, *TXTTam;
    QPushButton *BTNAceptar, *BTNCancelar;
};
