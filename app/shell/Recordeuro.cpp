// The euro reminder.
#include "Recordeuro.h"

#include "Aplicacion.h"
#include "Frmmain.h"
#include "Multiidioma.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

std::string RutaIni()
{
    return progdir::file("Orvanta.INI");
}

} // namespace

TFRMRecordeuro::TFRMRecordeuro(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Image1(new QLabel(this)),
      LBLTexto(new QLabel(this)),
      Bevel1(new QFrame(this)),
      CHKNoMostrar(new QCheckBox(cp1252::toQString("No mostrar al iniciar la aplicaci\xF3n."), this)),
      BTNCerrar(new QPushButton(QStringLiteral("C&errar"), this))
{
    setObjectName(QStringLiteral("FRMRecordeuro"));
    setWindowTitle(QStringLiteral("Orvanta"));
    Image1->setPixmap(TFormMain::ImagenLista(kImagenEuros).pixmap(48, 48));
    LBLTexto->setAlignment(Qt::AlignCenter);
    LBLTexto->setWordWrap(true);
    LBLTexto->setMinimumWidth(320);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    BTNCerrar->setDefault(true);

    auto *arriba = new QHBoxLayout;
    arriba->addWidget(Image1, 0, Qt::AlignTop);
    arriba->addWidget(LBLTexto, 1);
    auto *abajo = new QHBoxLayout;
    abajo->addWidget(CHKNoMostrar);
    abajo->addStretch();
    abajo->addWidget(BTNCerrar);
    auto *capas = new QVBoxLayout(this);
    capas->addLayout(arriba);
    capas->addWidget(Bevel1);
    capas->addLayout(abajo);
    capas->setSizeConstraint(QLayout::SetFixedSize);

    connect(BTNCerrar, &QPushButton::clicked, this, &TFRMRecordeuro::BTNCerrarClick);
}

void TFRMRecordeuro::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    QDialog::showEvent(evento);
}

void TFRMRecordeuro::FormShow()
{
    const std::string valor = profile::readString(RutaIni(), "General", "PresentarRecordatorioEuro", "Si", 2);
    CHKNoMostrar->setChecked(valor != "Si");
    const QDate euro = App().FormMain ? App().FormMain->FechaEuro : QDate(2002, 1, 1);
    const std::string fecha = euro.toString(QStringLiteral("dd/MM/yyyy")).toStdString();
    LBLTexto->setText(cp1252::toQString(FormateaTexto(Idioma.GetTexto(667), fecha)));
}

void TFRMRecordeuro::BTNCerrarClick()
{
    profile::writeString(RutaIni(), "General", "PresentarRecordatorioEuro", CHKNoMostrar->isChecked() ? "No" : "Si");
    accept();
}

// Escape is the close button too.
void TFRMRecordeuro::reject()
{
    BTNCerrarClick();
}
