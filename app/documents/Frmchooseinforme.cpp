// The report chooser.
#include "Frmchooseinforme.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"

#include <QAction>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *Boton(QWidget *padre, const char *nombre, QStyle::StandardPixmap icono)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoRaise(true);
    b->setIcon(padre->style()->standardIcon(icono));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

} // namespace

TFormChooseInforme::TFormChooseInforme(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      cbtInfLibrados(Boton(this, "cbtInfLibrados", QStyle::SP_DirLinkIcon)),
      cbtInfRecibos(Boton(this, "cbtInfRecibos", QStyle::SP_FileLinkIcon)),
      BitBtn1(new QPushButton(this))
{
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    auto *todo = new QVBoxLayout(this);
    todo->addWidget(cbtInfLibrados);
    todo->addWidget(cbtInfRecibos);
    todo->addWidget(BitBtn1, 0, Qt::AlignRight);
    connect(cbtInfLibrados, &QToolButton::clicked, this, &TFormChooseInforme::cbtInfLibradosClick);
    connect(cbtInfRecibos, &QToolButton::clicked, this, &TFormChooseInforme::cbtInfRecibosClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormChooseInforme::BitBtn1Click);
}

void TFormChooseInforme::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFormChooseInforme::FormShow()
{
    setWindowTitle(Rotulo(338));
    BitBtn1->setText(Rotulo(3));
    cbtInfLibrados->setText(Rotulo(411));
    cbtInfRecibos->setText(Rotulo(412));
    const TFormMain *main = App().FormMain;
    cbtInfLibrados->setEnabled(main->cbtInformeLibrados->isEnabled());
    cbtInfRecibos->setEnabled(main->cbtInformeRecibos->isEnabled());
}

void TFormChooseInforme::cbtInfLibradosClick()
{
    hide();
    TFormMain *main = App().FormMain;
    if (main->cbtInformeLibrados->isEnabled())
        main->cbtInformeLibrados->trigger();
}

void TFormChooseInforme::cbtInfRecibosClick()
{
    hide();
    TFormMain *main = App().FormMain;
    if (main->cbtInformeRecibos->isEnabled())
        main->cbtInformeRecibos->trigger();
}

void TFormChooseInforme::BitBtn1Click()
{
    hide();
}
