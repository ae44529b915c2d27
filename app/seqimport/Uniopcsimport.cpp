// The import options dialog.
#include "Uniopcsimport.h"

#include "Controles.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFRMOpcionImport::TFRMOpcionImport(QWidget *parent)
    : QDialog(parent), Label1(new QLabel(this)), lblSeparador(new QLabel(this)), CBMoneda(new QComboBox(this)),
      CBSeparador(new QComboBox(this)), GroupBox2(new QGroupBox(this)), GroupBox1(new QGroupBox(this)),
      RBDomiciliados(new QRadioButton(GroupBox2)), RBAnticipos(new QRadioButton(GroupBox2)),
      CHKSi(new QRadioButton(GroupBox1)), CHKNo(new QRadioButton(GroupBox1)), BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    setObjectName("FRMOpcionImport");
    CBMoneda->addItems({"Euros", "Peseta"});
    CBSeparador->addItems({",", ".", ""});
    BTNAceptar->setDefault(true);

    auto *orden = new QVBoxLayout(GroupBox2);
    orden->addWidget(RBDomiciliados);
    orden->addWidget(RBAnticipos);
    auto *factura = new QHBoxLayout(GroupBox1);
    factura->addWidget(CHKSi);
    factura->addWidget(CHKNo);
    auto *campos = new QGridLayout;
    campos->addWidget(Label1, 0, 0);
    campos->addWidget(CBMoneda, 0, 1);
    campos->addWidget(lblSeparador, 1, 0);
    campos->addWidget(CBSeparador, 1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    auto *vertical = new QVBoxLayout(this);
    vertical->addLayout(campos);
    vertical->addWidget(GroupBox2);
    vertical->addWidget(GroupBox1);
    vertical->addLayout(botones);

    connect(RBAnticipos, &QRadioButton::clicked, this, &TFRMOpcionImport::RBAnticiposClick);
    connect(RBDomiciliados, &QRadioButton::clicked, this, &TFRMOpcionImport::RBDomiciliadosClick);
    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMOpcionImport::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TFRMOpcionImport::FormCreate()
{
    Opciones = OpcionesImportacion();
    Opciones.Moneda = "Euros"; // a new template's amounts are euros
    CBMoneda->setCurrentIndex(0);
    CBSeparador->setCurrentIndex(0);
}

void TFRMOpcionImport::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormActivate();
}

void TFRMOpcionImport::FormActivate()
{
    setWindowTitle(Rotulo(530));
    Label1->setText(Rotulo(531));
    lblSeparador->setText(Rotulo(533));
    GroupBox2->setTitle(Rotulo(397));
    GroupBox1->setTitle(Rotulo(534));
    RBDomiciliados->setText(Rotulo(398));
    RBAnticipos->setText(Rotulo(399));
    CHKSi->setText(Rotulo(12));
    CHKNo->setText(Rotulo(13));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));

    CBMoneda->setCurrentIndex(std::max(0, CBMoneda->findText(cp1252::toQString(Opciones.Moneda))));
    CBSeparador->setCurrentIndex(std::max(0, CBSeparador->findText(cp1252::toQString(Opciones.Separador_decimal))));
    const bool factura = cp1252::equalNoCase(Opciones.Emision_factura, "Si");
    CHKSi->setChecked(factura);
    CHKNo->setChecked(!factura);
    CHKSi->setEnabled(true);
    CHKNo->setEnabled(true);
    if (!cp1252::equalNoCase(Opciones.Tipos_orden, "CSB19")) {
        RBAnticipos->setChecked(true);
        RBAnticiposClick();
    } else {
        RBDomiciliados->setChecked(true);
    }
}

void TFRMOpcionImport::RBAnticiposClick()
{
    if (!RBAnticipos->isChecked())
        return;
    CHKSi->setChecked(true);
    CHKSi->setEnabled(false);
    CHKNo->setEnabled(false);
}

void TFRMOpcionImport::RBDomiciliadosClick()
{
    if (!RBDomiciliados->isChecked())
        return;
    CHKSi->setEnabled(true);
    CHKNo->setEnabled(true);
}

void TFRMOpcionImport::BTNAceptarClick()
{
    Opciones.Separador_decimal = cp1252::fromQString(CBSeparador->currentText());
    Opciones.Moneda = cp1252::fromQString(CBMoneda->currentText());
    Opciones.Emision_factura = CHKSi->isChecked() ? "Si" : "No";
    Opciones.Tipos_orden = RBDomiciliados->isChecked() ? "CSB19" : "CSB58";
    accept();
}
