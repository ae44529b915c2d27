// The items' entry controls and their owner.
#include "Frmitems.h"

#include "main.h"
#include "plantillas.h"
#include "qcp1252.h"
#include "vars.h"

#include <QLabel>
#include <QLineEdit>
#include <QHash>

namespace {

constexpr const char *kNombreForm = "FormItems";

// The controls made here and not yet destroyed, with what each was made for: an item's
// _UI_Ctrl is trusted only when it names one of them, so an item that outlives its control
// never reaches freed memory.
QHash<const QObject *, ControlItem> &Vivos()
{
    static QHash<const QObject *, ControlItem> vivos;
    return vivos;
}

QObject *Control(B_AStr_t *item)
{
    auto *control = static_cast<QObject *>(PlItemCtrl(item));
    return Vivos().contains(control) ? control : nullptr;
}

QLineEdit *Caja(B_AStr_t *item)
{
    return qobject_cast<QLineEdit *>(Control(item));
}

// An amount box keeps whatever is typed or pasted, with no limit that could cut it: its
// value reads it (message 4) and the program refuses what does not read.
QLineEdit *CreaCaja(TFormItems *form, QWidget *padre, ControlItem tipo)
{
    auto *caja = new QLineEdit(padre);
    if (tipo == ControlItem::Importe)
        QObject::connect(caja, &QLineEdit::textChanged, form, &TFormItems::EditChange);
    else
        caja->setEnabled(false);
    return caja;
}

} // namespace

TFormItems::TFormItems(QWidget *parent, Plantilla *plantilla)
    : QObject(parent), m_plantilla(plantilla)
{
    setObjectName(QLatin1String(kNombreForm));
}

TFormItems *TFormItems::De(QWidget *parent)
{
    return qobject_cast<TFormItems *>(
        parent->findChild<QObject *>(QLatin1String(kNombreForm), Qt::FindDirectChildrenOnly));
}

void TFormItems::EditChange()
{
    if (!m_plantilla)
        return;
    for (int i = 0; i < StackTop(&m_plantilla->stkItems); ++i) {
        auto *item = *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&m_plantilla->stkItems, i));
        PlItemCallFn(item, ITEM_MSG_RECALC, m_plantilla, nullptr);
    }
}

void CreaControl(B_AStr_t *item, Plantilla *plantilla, ItemCreate_t *creacion, ControlItem tipo)
{
    auto *padre = static_cast<QWidget *>(creacion->pParent);
    TFormItems *form = TFormItems::De(padre);
    if (!form)
        form = new TFormItems(padre, plantilla);
    QWidget *control;
    if (tipo == ControlItem::Etiqueta)
        control = new QLabel(cp1252::toQString(VarGet(item, ITEM_VAR_TEXTO, "")), padre);
    else
        control = CreaCaja(form, padre, tipo);
    control->setObjectName(cp1252::toQString(VarGet(item, ITEM_VAR_IDENTIFICADOR, "")));
    Vivos().insert(control, tipo);
    QObject::connect(control, &QObject::destroyed, [](QObject *muerto) { Vivos().remove(muerto); });
    creacion->pCtrl = control;
    PlItemSetCtrl(item, control);
}

bool TieneCaja(B_AStr_t *item)
{
    return Caja(item) != nullptr;
}

bool TieneEntrada(B_AStr_t *item)
{
    return Vivos().value(Control(item), ControlItem::Etiqueta) == ControlItem::Importe;
}

std::string TextoCaja(B_AStr_t *item)
{
    QLineEdit *caja = Caja(item);
    return caja ? cp1252::fromQString(caja->text()) : std::string();
}

void PonTextoCaja(B_AStr_t *item, std::string_view texto)
{
    QLineEdit *caja = Caja(item);
    if (!caja)
        return;
    // Laying out the same text again is slow and changes nothing.
    if (const QString nuevo = cp1252::toQString(texto); caja->text() != nuevo)
        caja->setText(nuevo);
}
