// The field dialog of the template editor: caption, zone and type of a new or changed
// field. Created at start-up; while the editor shows it, it is the editor's tool window,
// and its zone goes at once into the editor's zone edits (and the grid's selection).
#pragma once

#include "Dialogoeditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFRMAltaCampo : public TDialogoEditor {
    Q_OBJECT
public:
    explicit TFRMAltaCampo(QWidget *parent = nullptr);

    // The field types, in list order, ending with a null.
    static const char *const kTipos[];

    // Fills the dialog for the editor: modo 0 a new field under nodo (a kind or a field of
    // it), 1 a change of the field nodo.
    void PrepararCampo(TFRMDefinirimport *editor, int modo, QTreeWidgetItem *nodo);
    void FormShow() override;
    void BTNAceptarClick();
    void TXTDesdeChange(QLineEdit *caja);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
    QLineEdit *TXTDescripcion, *TXTLinea, *TXTDesde, *TXTTam;
    QComboBox *TXTTipo;
    QPushButton *BTNAceptar, *BTNCancelar;
};
