// The euro calculator.
#include "Unieuro.h"

#include "Controles.h"
#include "General.h"
#include "regional.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>

TFRMEuroCalc::TFRMEuroCalc(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(QStringLiteral("Pesetas"), this)),
      Label2(new QLabel(QStringLiteral("Euros"), this)),
      TXTPtas(new QLineEdit(this)),
      TXTEuro(new QLineEdit(this)),
      BTNBorrar(new QPushButton(this)),
      BTNSalir(new QPushButton(this))
{
    setObjectName(QStringLiteral("FRMEuroCalc"));
    setWindowTitle(QStringLiteral("EuroCalculadora"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    TXTPtas->setObjectName(QStringLiteral("TXTPtas"));
    TXTEuro->setObjectName(QStringLiteral("TXTEuro"));
    for (QLineEdit *caja : {TXTPtas, TXTEuro}) {
        caja->setAlignment(Qt::AlignRight);
        AnchoParaCaracteres(caja, 14, true);
    }
    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(TXTPtas, 0, 1);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addWidget(TXTEuro, 1, 1);
    auto *botones = new QHBoxLayout;
    botones->addWidget(BTNBorrar);
    botones->addWidget(BTNSalir);
    rejilla->addLayout(botones, 2, 0, 1, 2);
    // Room for the title in a window manager's bar: the text in bold and, on either side,
    // the bar's picture and buttons, about a line high each.
    QFont negrita = font();
    negrita.setBold(true);
    const QFontMetrics titulo(negrita);
    const int barra = titulo.horizontalAdvance(windowTitle()) + 4 * (titulo.height() + 8);
    rejilla->addItem(new QSpacerItem(barra, 0), 3, 0, 1, 2);
    rejilla->setSizeConstraint(QLayout::SetFixedSize);
    OrdenTabulacion({TXTPtas, TXTEuro, BTNBorrar, BTNSalir});

    connect(BTNBorrar, &QPushButton::clicked, this, &TFRMEuroCalc::BTNBorrarClick);
    connect(BTNSalir, &QPushButton::clicked, this, &TFRMEuroCalc::BTNSalirClick);
    connect(TXTPtas, &QLineEdit::textEdited, this, &TFRMEuroCalc::TXTPtasChange);
    connect(TXTEuro, &QLineEdit::textEdited, this, &TFRMEuroCalc::TXTEuroChange);
}

void TFRMEuroCalc::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMEuroCalc::FormShow()
{
    BTNBorrarClick();
    BTNBorrar->setText(QStringLiteral("&") + Rotulo(37));
    BTNSalir->setText(Rotulo(8));
}

void TFRMEuroCalc::BTNBorrarClick()
{
    for (QLineEdit *caja : {TXTPtas, TXTEuro})
        SenalaRechazo(caja, {});
    TXTPtas->setText(QStringLiteral("0"));
    TXTEuro->setText(QStringLiteral("0") + QLatin1Char(regional::decimalSeparator()) + QStringLiteral("00"));
}

void TFRMEuroCalc::BTNSalirClick()
{
    close();
}

void TFRMEuroCalc::TXTPtasChange()
{
    Convierte(TXTPtas, kMonedaPesetas, TXTEuro);
}

void TFRMEuroCalc::TXTEuroChange()
{
    Convierte(TXTEuro, kMonedaEuros, TXTPtas);
}

void TFRMEuroCalc::Convierte(QLineEdit *tecleado, const char *moneda, QLineEdit *otro)
{
    const ImporteTecleado importe = SenalaImporte(tecleado, moneda);
    const std::string valor = tecleado->text().trimmed().isEmpty() ? "0" : importe.SQL;
    SenalaRechazo(otro, {});
    PonTextoCaja(otro, valor.empty() ? std::string() : FormatContravalor(valor, moneda));
}
