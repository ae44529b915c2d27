// The concept dialog of a mass modification.
#include "Frmmmconceptos.h"

#include "Controles.h"
#include "General.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFormMMConceptos::TFormMMConceptos(QWidget *parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      LblExplicacion(new QLabel(this)),
      LblAtencion(new QLabel(this)),
      LblAviso(new QLabel(this)),
      BtnAceptar(new QPushButton(this)),
      BtnCancelar(new QPushButton(this))
{
    setObjectName(QStringLiteral("FormMMConceptos"));
    QFont negrita = Label1->font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    LblAtencion->setFont(negrita);
    LblExplicacion->setWordWrap(true);
    LblAviso->setWordWrap(true);
    auto *rejilla = new QGridLayout;
    for (int k = 0; k < kSegmentosConcepto; ++k) {
        Edit[k] = new QLineEdit(this);
        Edit[k]->setObjectName(QStringLiteral("Edit%1").arg(k + 1));
        Edit[k]->setMaxLength(kLargoSegmento);
        AnchoParaCaracteres(Edit[k], kLargoSegmento / 2);
        rejilla->addWidget(Edit[k], k / 2, k % 2);
    }
    BtnAceptar->setDefault(true);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BtnAceptar);
    botones->addWidget(BtnCancelar);
    auto *capas = new QVBoxLayout(this);
    capas->addWidget(Label1);
    capas->addWidget(LblExplicacion);
    capas->addLayout(rejilla);
    capas->addWidget(LblAtencion);
    capas->addWidget(LblAviso);
    capas->addLayout(botones);
    capas->setSizeConstraint(QLayout::SetFixedSize);
    connect(BtnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormMMConceptos::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    QDialog::showEvent(evento);
}

void TFormMMConceptos::FormShow()
{
    setWindowTitle(Rotulo(416));
    Label1->setText(Rotulo(417));
    LblExplicacion->setText(Rotulo(419));
    LblAtencion->setText(Rotulo(14));
    LblAviso->setText(Rotulo(418));
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
    for (QLineEdit *edit : Edit)
        edit->clear();
    Edit[0]->setFocus();
}

SegmentosConcepto TFormMMConceptos::GetConceptSegments()
{
    SegmentosConcepto segmentos;
    for (int k = 0; k < kSegmentosConcepto; ++k)
        segmentos[size_t(k)] = LimpiaCaja(Edit[k]);
    return segmentos;
}
