// The frame the report option dialogs share: a title, a help line, a group of check boxes
// led by "all", the list of rows to choose and Aceptar/Cancelar. "All" selects every row and
// locks the list; each row keeps the id it was added with.
#pragma once

#include <QDialog>
#include <initializer_list>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFormSeleccion : public QDialog {
    Q_OBJECT
public:
    QLabel *LBTitulo, *LBAyuda;
    QGroupBox *GBParams;
    QCheckBox *CBTodas;
    QTreeWidget *Lista;
    QPushButton *BtnAceptar, *BtnCancelar;

    virtual void FormShow() = 0;
    void CBTodasClick();
    void BtnCancelarClick();

protected:
    // anchoClave: the width of the list's first text column.
    TFormSeleccion(QWidget *parent, int anchoClave);
    // Puts the check boxes under "all" in the parameters group.
    void ColocaParametros(std::initializer_list<QCheckBox *> casillas);
    // Empties the list and the ids, checks "all" and locks the list.
    void Vacia();
    // A new row for the id, selected while "all" is checked.
    QTreeWidgetItem *AnadeFila(int id);
    // Each row's id, positive when the row is selected, negative when not.
    std::vector<int> Seleccionados() const;

    void showEvent(QShowEvent *evento) override;

private:
    std::vector<int> m_ids; // one per list row
};
