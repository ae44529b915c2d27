// The template designer's save-as dialog.
#include "Guardarcomo.h"

#include "Controles.h"
#include "Frmmsg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kLargoNombre = 50;

} // namespace

TFRMGuardarComo::TFRMGuardarComo(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      GBoxPlantilla(new QGroupBox(this)),
      LBNombrePlantilla(new QLabel(GBoxPlantilla)),
      TxtPlantilla(new QLineEdit(GBoxPlantilla)),
      BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    setObjectName(QStringLiteral("FRMGuardarComo"));
    TxtPlantilla->setObjectName(QStringLiteral("TxtPlantilla"));
    TxtPlantilla->setMaxLength(kLargoNombre);
    AnchoParaCaracteres(TxtPlantilla, kLargoNombre);
    BTNAceptar->setDefault(true);

    auto *grupo = new QVBoxLayout(GBoxPlantilla);
    grupo->addWidget(LBNombrePlantilla);
    grupo->addWidget(TxtPlantilla);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    auto *todo = new QVBoxLayout(this);
    todo->addWidget(GBoxPlantilla);
    todo->addLayout(botones);

    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMGuardarComo::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &TFRMGuardarComo::BTNCancelarClick);
}

void TFRMGuardarComo::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    setWindowTitle(Rotulo(115));
    LBNombrePlantilla->setText(Rotulo(354) + QLatin1Char(':'));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
    TxtPlantilla->clear();
    TxtPlantilla->setFocus();
}

void TFRMGuardarComo::BTNAceptarClick()
{
    if (TxtPlantilla->text().isEmpty()) {
        CajaMensaje("La plantilla debe tener un nombre", "Atenci\xF3n", IconoMensaje::Ninguno);
        return;
    }
    done(ResultadoAceptar);
}

void TFRMGuardarComo::BTNCancelarClick()
{
    done(ResultadoCancelar);
}

void TFRMGuardarComo::reject()
{
    BTNCancelarClick();
}
