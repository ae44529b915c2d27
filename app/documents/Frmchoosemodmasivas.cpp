// The chooser of the mass modifications.
#include "Frmchoosemodmasivas.h"

#include "Controles.h"

#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFRMModMasivas::TFRMModMasivas(QWidget *parent)
    : QDialog(parent),
      BTNImportes(new QPushButton(this)),
      BTNConceptos(new QPushButton(this)),
      BTNCodDevol(new QPushButton(this)),
      BTNRefInterna(new QPushButton(this)),
      BTNFechaVenc(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    setObjectName(QStringLiteral("FRMModMasivas"));
    auto *capas = new QVBoxLayout(this);
    int resultado = Importes;
    for (QPushButton *boton : Botones()) {
        boton->setFlat(true);
        boton->setMinimumWidth(220);
        capas->addWidget(boton);
        connect(boton, &QPushButton::clicked, this, [this, resultado] { done(resultado); });
        ++resultado;
    }
    capas->addWidget(BTNCancelar);
    capas->setSizeConstraint(QLayout::SetFixedSize);
    connect(BTNCancelar, &QPushButton::clicked, this, [this] { done(Cancelar); });
}

std::array<QPushButton *, 5> TFRMModMasivas::Botones() const
{
    return {BTNImportes, BTNConceptos, BTNCodDevol, BTNRefInterna, BTNFechaVenc};
}

void TFRMModMasivas::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    QDialog::showEvent(evento);
}

void TFRMModMasivas::FormShow()
{
    setWindowTitle(Rotulo(416));
    const std::array<QPushButton *, 5> botones = Botones();
    for (size_t i = 0; i < botones.size(); ++i) {
        botones[i]->setText(Rotulo(242 + int(i)));
        botones[i]->setEnabled(Habilitados[i]);
    }
    BTNFechaVenc->setEnabled(BTNFechaVenc->isEnabled() && TipoOrden == "CSB58");
    BTNCancelar->setText(Rotulo(3, u'n')); // Conceptos has the C
}
