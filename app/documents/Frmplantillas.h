// The concept-template designer (TFormPlantillas): the modal window in which the user
// creates, edits, renames, saves and deletes concept templates on a page of 80 x 8
// character cells. Items of the plug-in's types are placed by clicking, edited in the
// property sheet (App().FormProps), moved with the arrow keys and removed. A stored
// template is locked (App().Multiuser) while it is open here; it is written unlocked and
// locked again after. Main thread only.
#pragma once

#include "plantillas.h"

#include <QDialog>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class TRejilla;

class TFormPlantillas : public QDialog {
    Q_OBJECT
public:
    // One button per registered item type; the names of the stored templates in CBNombre;
    // an empty new template.
    explicit TFormPlantillas(QWidget *parent = nullptr);
    ~TFormPlantillas() override;

    QFrame *PanelToolbar;
    QLabel *LblNombre;
    QComboBox *CBNombre; // editable, at most 50 characters
    QToolButton *BtnNueva, *BtnBorrar, *BtnGrabar, *BtnGuardarComo;
    QLabel *Label1, *Label2, *Label3, *Label4;
    TRejilla *Rejilla;
    QFrame *PanelItems;
    QToolButton *BtnNoItem, *BtnItemBorrar;
    std::vector<QToolButton *> BotonesTipo; // tag i: the engine's type i
    QPushButton *BottomCerrar;
    QFrame *PanelCoord;
    QLabel *LblCoord;

    void BtnNuevaClick();
    void BtnGrabarClick();
    void BtnBorrarClick();
    void BtnGuardarComoClick();
    // Any button of PanelItems: tag -1 selection, -2 delete the selected item, i a new item
    // of type i (its sheet first, then its cell).
    void BtnItemClick(QAbstractButton *boton);
    void CBNombreChange(int indice);
    void CBNombreEdit(const QString &texto);

    // The window's state, for the tests.
    const Plantilla &Actual() const { return m_plantilla; }
    bool Modificada() const { return m_modificada; }
    bool Colocando() const { return m_colocando; }
    B_AStr_t *Seleccionado() const { return m_seleccion; }
    int Bloqueada() const { return m_bloqueada; }

protected:
    void showEvent(QShowEvent *evento) override;
    // Arrows move the selected item, Enter edits it, except while the name box has the focus.
    void keyPressEvent(QKeyEvent *evento) override;
    // The close box, Esc and BottomCerrar: the window closes only when the leaving rule lets it.
    void reject() override;

private:
    void CreaBotonesTipo();
    void CargaNombres();
    void Vacia();
    void Abre(int id);
    // The leaving rule (preguntar: question 206 first): 0 to go on, -1 refused.
    int Abandona(bool preguntar);
    // Writes the template unlocked and locks it again: false (with its message) when refused.
    bool Guarda();
    bool NombreRepetido(const std::string &nombre) const;
    void Libera();
    void Marca(bool modificada);

    void RejillaMouseDown(Qt::MouseButton boton, int x, int y);
    void RejillaMouseMove(int x, int y);
    void RejillaDblClick();
    void RejillaPaint(TRejilla *rejilla);
    void Mueve(int dx, int dy);
    void EditaSeleccionado();
    // Selects item (null: none); leaving a placement asks first. False when refused.
    bool Selecciona(B_AStr_t *item, bool preguntar);
    void BorraSeleccionado();
    B_AStr_t *ItemEn(int columna, int fila) const;
    int Valida(B_AStr_t *item, const std::string &nombre, const std::string &valor);

    Plantilla m_plantilla;
    int m_bloqueada = 0;          // the stored template whose lock this window holds
    std::vector<int> m_ids;       // ids in CBNombre's order
    int m_indice = -1;            // the open template's entry of CBNombre
    B_AStr_t *m_seleccion = nullptr;
    bool m_colocando = false;     // m_seleccion is a new item waiting for its cell (and ours)
    QAbstractButton *m_boton = nullptr;
    QButtonGroup *m_grupo;
    bool m_modificada = false;
    bool m_cargando = false;      // the window itself is changing CBNombre
};
