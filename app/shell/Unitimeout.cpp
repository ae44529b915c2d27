// The inactivity time-out's countdown.
#include "Unitimeout.h"

#include "Multiidioma.h"
#include "qcp1252.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFRMTimeOut::TFRMTimeOut(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      Timer1(new QTimer(this)),
      Label1(new QLabel(cp1252::toQString("Se va a cerrar Orvanta por superar el tiempo m\xE1ximo permitido de "
                                          "inactividad."),
                        this)),
      BitBtn1(new QPushButton(cp1252::toQString("&Cancelar cierre de la aplicaci\xF3n"), this)),
      StaticText1(new QLabel(QStringLiteral("Quedan 20 segundos"), this))
{
    setObjectName(QStringLiteral("FRMTimeOut"));
    setWindowTitle(QStringLiteral("Orvanta: Tiempo de inactividad superado"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    StaticText1->setAlignment(Qt::AlignCenter);
    QFont negrita = StaticText1->font();
    negrita.setBold(true);
    StaticText1->setFont(negrita);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn1->setDefault(true);
    auto *capas = new QVBoxLayout(this);
    capas->addWidget(Label1);
    capas->addWidget(StaticText1);
    capas->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    setMinimumWidth(360);

    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFRMTimeOut::Timer1Timer);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMTimeOut::Button1Click);
}

void TFRMTimeOut::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMTimeOut::FormShow()
{
    SegundosRestantes = 20;
    Timer1->start();
}

void TFRMTimeOut::Timer1Timer()
{
    --SegundosRestantes;
    StaticText1->setText(cp1252::toQString(FormateaTexto("Quedan %d segundos.", SegundosRestantes)));
    if (SegundosRestantes != 0) {
        Timer1->start(1000);
        return;
    }
    Timer1->stop();
    done(kTiempoAgotado);
}

void TFRMTimeOut::Button1Click()
{
    done(kQuedarse);
}

void TFRMTimeOut::reject()
{
    Button1Click();
}
