// The items' entry controls and their owner.
#include "Frmitems.h"

#include "main.h"
#include "plantillas.h"
#include "qcp1252.h"
#include "regional.h"
#include "vars.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QValidator>

namespace {

constexpr const char *kNombreForm = "FormItems";

// The controls made here and not yet destroyed: an item's _UI_Ctrl is trusted only when it
// names one of them, so an item that outlives its control never reaches freed memory.
QSet<const QObject *> &Vivos()
{
    static QSet<const QObject *> vivos;
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

// Whether an amount box holding texto takes the character c after it.
bool AdmiteCaracter(const QString &texto, QChar c)
{
    const QChar separador = QLatin1Char(regional::decimalSeparator());
    if (c == separador)
        return !texto.contains(separador);
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The amount boxes' filter for what reaches them without a key press (paste, drop, text
// put by the program): each character is taken as a typed one would be, the rest dropped.
class FiltroImporte : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &texto, int &posicion) const override
    {
        QString filtrado;
        int nuevaPosicion = posicion;
        for (int i = 0; i < texto.size(); ++i) {
            if (AdmiteCaracter(filtrado, texto[i]))
                filtrado += texto[i];
            else if (i < posicion)
                --nuevaPosicion;
        }
        texto = filtrado;
        posicion = nuevaPosicion;
        return Acceptable;
    }
};

QLineEdit *CreaCaja(TFormItems *form, QWidget *padre, ControlItem tipo)
{
    auto *caja = new QLineEdit(padre);
    if (tipo == ControlItem::Importe) {
        caja->setMaxLength(LongitudEntrada());
        caja->setValidator(new FiltroImporte(caja));
        caja->installEventFilter(form);
        QObject::connect(caja, &QLineEdit::textChanged, form, &TFormItems::EditChange);
    } else {
        // No length limit: it would cut the results the box shows.
        caja->setEnabled(false);
    }
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

bool TFormItems::FormKeyPress(QLineEdit *caja, const QKeyEvent *tecla)
{
    const QString texto = tecla->text();
    if (texto.size() != 1 || !texto[0].isPrint() ||
        tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return !AdmiteCaracter(caja->text(), texto[0]);
}

bool TFormItems::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::KeyPress)
        if (auto *caja = qobject_cast<QLineEdit *>(objeto))
            return FormKeyPress(caja, static_cast<QKeyEvent *>(evento));
    return QObject::eventFilter(objeto, evento);
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
    Vivos().insert(control);
    QObject::connect(control, &QObject::destroyed, [](QObject *muerto) { Vivos().remove(muerto); });
    creacion->pCtrl = control;
    PlItemSetCtrl(item, control);
}

bool TieneCaja(B_AStr_t *item)
{
    return Caja(item) != nullptr;
}

std::string TextoCaja(B_AStr_t *item)
{
    QLineEdit *caja = Caja(item);
    return caja ? cp1252::fromQString(caja->text()) : std::string();
}

void PonTextoCaja(B_AStr_t *item, std::string_view texto)
{
    if (QLineEdit *caja = Caja(item))
        caja->setText(cp1252::toQString(texto));
}
