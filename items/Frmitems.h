// The entry controls of the items: message 6 makes them, and their owner "FormItems"
// recalculates the template's totals whenever an amount changes.
#pragma once

#include "itemproto.h"

#include <QObject>
#include <string>
#include <string_view>

class QWidget;

// The owner of the controls of one parent widget: a hidden QObject child of that parent
// named "FormItems", made with the first control and holding the template whose items it
// serves. Destroying the parent's children destroys it and every control.
class TFormItems : public QObject {
    Q_OBJECT
public:
    TFormItems(QWidget *parent, Plantilla *plantilla);

    // The owner among the direct children of parent, or null.
    static TFormItems *De(QWidget *parent);

    // An amount box changed: every item of the template is asked to recalculate
    // (message 7, in index order), so totals and percentages show their values.
    void EditChange();

private:
    Plantilla *m_plantilla;
};

// What message 6 makes for each type.
enum class ControlItem {
    Etiqueta, // a label with the item's Texto
    Importe,  // an entry box
    Calculado // a disabled box that totals and percentages fill
};

// Message 6: makes the item's control on the parent of creacion, named after its
// Identificador, returns it in creacion and records it in the item's _UI_Ctrl.
void CreaControl(B_AStr_t *item, Plantilla *plantilla, ItemCreate_t *creacion, ControlItem tipo);

// Whether the item has an entry box (a control of message 6 not yet destroyed; a label is
// none); the box's text ("" without one); putting text into it (nothing without one).
// Windows-1252.
bool TieneCaja(B_AStr_t *item);
// Whether the item has a box the user types in (an amount's entry box).
bool TieneEntrada(B_AStr_t *item);
std::string TextoCaja(B_AStr_t *item);
void PonTextoCaja(B_AStr_t *item, std::string_view texto);
