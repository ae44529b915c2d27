// The value dialog of a mass modification.
#include "Frmmmdato.h"

#include "Controles.h"
#include "General.h"
#include "qcp1252.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr char kRetroceso = 8;
// What the box of an amount or a date takes: no limit, so that nothing typed or pasted is
// ever cut.
constexpr int kSinLimite = 32767;

} // namespace

TFormMMDato::TFormMMDato(QWidget *parent)
    : QDialog(parent),
      LbTitulo(new QLabel(this)),
      LblExplicacion(new QLabel(this)),
      LbDato(new QLabel(this)),
      EdDato(new QLineEdit(this)),
      BtnAceptar(new QPushButton(this)),
      BtnCancelar(new QPushButton(this))
{
    setObjectName(QStringLiteral("FormMMDato"));
    QFont negrita = LbTitulo->font();
    negrita.setBold(true);
    LbTitulo->setFont(negrita);
    LblExplicacion->setWordWrap(true);
    LblExplicacion->setMinimumWidth(360);
    EdDato->setObjectName(QStringLiteral("EdDato"));
    EdDato->installEventFilter(this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setDefault(true);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));

    auto *dato = new QHBoxLayout;
    dato->setSpacing(5);
    dato->addWidget(LbDato);
    dato->addWidget(EdDato, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BtnAceptar);
    botones->addWidget(BtnCancelar);
    auto *capas = new QVBoxLayout(this);
    capas->addWidget(LbTitulo);
    capas->addWidget(LblExplicacion);
    capas->addLayout(dato);
    capas->addLayout(botones);
    capas->setSizeConstraint(QLayout::SetFixedSize);

    connect(EdDato, &QLineEdit::textChanged, this, &TFormMMDato::EdDatoChange);
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormMMDato::BtnAceptarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    OrdenTabulacion({EdDato, BtnAceptar, BtnCancelar});
    PreparaDato(Rotulo(620), RefInterna, {});
}

void TFormMMDato::PreparaDato(const QString &etiqueta, int tipo, Validacion validacion)
{
    EdDato->clear();
    TipoDato = tipo;
    Valida = std::move(validacion);
    EdDato->setMaxLength(tipo == Importe || tipo == Fecha ? kSinLimite : 10);
    LbDato->setText(etiqueta);
    switch (tipo) {
    case Importe:
        LblExplicacion->setText(Rotulo(385));
        LbTitulo->setText(Rotulo(384));
        break;
    case CodDevolucion:
        LblExplicacion->setText(Rotulo(414));
        LbTitulo->setText(Rotulo(416));
        LbDato->setText(Rotulo(466));
        break;
    case Fecha:
        LblExplicacion->setText(Rotulo(396));
        LbTitulo->setText(Rotulo(60));
        LbDato->setText(Rotulo(474));
        break;
    default:
        LblExplicacion->setText(Rotulo(386));
        LbTitulo->setText(Rotulo(416));
        break;
    }
    EdDatoChange();
}

std::string TFormMMDato::Dato() const
{
    return TextoCaja(EdDato);
}

void TFormMMDato::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    QDialog::showEvent(evento);
}

void TFormMMDato::FormShow()
{
    Moneda = MonedaRemesa ? MonedaRemesa() : std::string();
    setWindowTitle(Rotulo(416));
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
    EdDato->setFocus();
}

void TFormMMDato::EdDatoChange()
{
    BtnAceptar->setEnabled(!Recorta(Dato()).empty());
}

void TFormMMDato::BtnAceptarClick()
{
    if (Valida && Valida(Dato()) < 0)
        return;
    accept();
}

bool TFormMMDato::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto != EdDato || evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objeto, evento);
    auto *tecla = static_cast<QKeyEvent *>(evento);
    if (tecla->text().isEmpty() || (tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const bool retroceso = tecla->key() == Qt::Key_Backspace;
    if (!retroceso && !tecla->text().at(0).isPrint())
        return false;
    char c = retroceso ? kRetroceso : cp1252::fromQString(tecla->text().left(1)).front();
    EdDatoKeyPress(c);
    if (c == kRetroceso)
        return false;
    if (c != 0)
        EdDato->insert(cp1252::toQString(std::string(1, c)));
    return true;
}

void TFormMMDato::EdDatoKeyPress(char &tecla)
{
    if (!EdDato->text().isEmpty() && EdDato->selectedText() == EdDato->text())
        EdDato->clear();
    const size_t largo = Dato().size();
    switch (TipoDato) {
    case RefInterna:
        if (tecla != kRetroceso && largo >= 10)
            tecla = 0;
        break;
    case CodDevolucion:
        if (tecla != kRetroceso && largo >= 6)
            tecla = 0;
        break;
    default: // amounts and dates keep what is typed: OK reads it and says why it refuses it
        break;
    }
}
