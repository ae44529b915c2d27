// The item property sheet: the modal dialog in which the user edits the properties of one
// concept-template item, under a picture and a help text of the item's type. The template
// designer opens it for a new item before placing it and for the selected item.
//
// Which properties an item has is data: every key of the item type's entry (a section of
// items.ini, plantillas.h) whose name begins with "Propiedad" (any case) is one row, in the
// entry's order, described by blank-separated words name=value (names in any case; a value
// runs to the next blank, at most 512 characters):
//   Nombre  the item's variable the row edits; without it the key is skipped.
//   Nueva   "0": the row shows only when the item has the variable; otherwise always.
//   Valor   what the item gets when it lacks the variable, as the sheet opens.
//   Str     the number of the row's caption in the type's string table (else the variable's
//           name is the caption).
// A row's value reaches the item when it is committed: on leaving the row or the grid, when
// the window is deactivated, and on OK. The validation callback may refuse it; the cell then
// returns to the item's value and the cursor to the cell. Cancel (and Esc, and closing the
// window) puts back every variable the item had when the sheet opened; variables added by
// "Valor" stay.
#pragma once

#include "b_astr.h"

#include <QDialog>
#include <QPixmap>
#include <functional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// The picture of an item type: the resource icono of its plug-in dll (a name of items.ini
// such as "Items.dll"), read once the library cache has loaded the plug-in, at
// ":/" + dll in lower case without ".dll" + "/" + icono. A null pixmap when either name is
// missing, the plug-in does not load or has no such picture. Windows-1252 names.
QPixmap ImagenTipoItem(const char *dll, const char *icono);

// Asks whether item may take valor (Windows-1252) as its variable nombre. A negative answer
// refuses it; the callback tells the user why.
using ValidaPropiedad = std::function<int(B_AStr_t *item, const std::string &nombre, const std::string &valor)>;

class TFormProps : public QDialog {
    Q_OBJECT
public:
    explicit TFormProps(QWidget *parent = nullptr);

    // Shows the sheet modally for item (a template item of a registered type) and returns
    // true when it closes with OK. valida checks each value before the item takes it;
    // without one every value is taken. A null item shows nothing and returns false.
    bool Edita(B_AStr_t *item, ValidaPropiedad valida = {});

    void BtnAceptarClick();
    void BtnCancelarClick();

    QFrame *Panel;       // frames the picture; hidden when the type has none
    QLabel *Img;         // the type's picture
    QLabel *Lbl;         // the type's help text
    QTableWidget *SG;    // one row per property: caption, value
    QPushButton *BtnAceptar;
    QPushButton *BtnCancelar;

protected:
    void showEvent(QShowEvent *evento) override;
    void changeEvent(QEvent *evento) override;
    void reject() override;

private:
    void Prepara(B_AStr_t *item);
    void AgregaPropiedad(const std::string &descripcion);
    void SGItemChanged(QTableWidgetItem *celda);
    void TerminaEdicion();
    void Confirma();
    void VuelveAFila(int fila);

    B_AStr_t *m_item = nullptr;
    ValidaPropiedad m_valida;
    std::string m_copia;                 // the item's variables as it opened (text form)
    std::vector<std::string> m_variables; // the variable of each row
    int m_filaEditada = -1;               // the row whose value waits to be committed
    bool m_confirmando = false;           // a commit (and its message) is under way
    bool m_rellenando = false;            // the sheet itself is writing cells
};
