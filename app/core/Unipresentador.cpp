// The presenter dialog.
#include "Unipresentador.h"

#include "Controles.h"
#include "General.h"
#include "cp1252.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

TFRMPresentador::TFRMPresentador(QWidget *parent)
    : QDialog(parent),
      Label4(new QLabel(this)),
      Label2(new QLabel(this)),
      Label3(new QLabel(this)),
      TXTRazon(new QLineEdit(this)),
      TXTNif(new QLineEdit(this)),
      TXTSufijo(new QLineEdit(this)),
      RadioGroup1(new QGroupBox(this)),
      RBcsb19(new QRadioButton(RadioGroup1)),
      RBcsb58(new QRadioButton(RadioGroup1)),
      BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    TXTRazon->setMaxLength(40);
    TXTNif->setMaxLength(9);
    TXTSufijo->setMaxLength(3);
    RBcsb19->setChecked(true);
    BTNAceptar->setDefault(true);

    AnchoParaCaracteres(TXTRazon, 40);
    AnchoParaCaracteres(TXTNif, 9, true);
    AnchoParaCaracteres(TXTSufijo, 3, true);

    auto *ordenes = new QVBoxLayout(RadioGroup1);
    ordenes->addWidget(RBcsb19);
    ordenes->addWidget(RBcsb58);
    auto *nif = new QHBoxLayout;
    nif->addWidget(TXTNif);
    nif->addWidget(Label3);
    nif->addWidget(TXTSufijo);
    nif->addStretch(1);
    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(Label4, 0, 0);
    rejilla->addWidget(TXTRazon, 0, 1);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addLayout(nif, 1, 1);
    rejilla->addWidget(RadioGroup1, 2, 0, 1, 2);
    rejilla->setColumnStretch(1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    rejilla->addLayout(botones, 3, 0, 1, 2);
    OrdenTabulacion({TXTRazon, TXTNif, TXTSufijo, RBcsb19, RBcsb58, BTNAceptar, BTNCancelar});
    DescartaTeclasAlt(this);

    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMPresentador::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &TFRMPresentador::BTNCancelarClick);
}

void TFRMPresentador::HabilitaOrden(bool habilitado)
{
    RBcsb19->setEnabled(habilitado);
    RBcsb58->setEnabled(habilitado);
}

void TFRMPresentador::PreparaAlta(const _Organizacion &organizacion, int empresa, int tipo)
{
    m_organizacion = &organizacion;
    m_modificacion = false;
    m_empresa = empresa;
    m_clave = 0;
    setWindowTitle(Rotulo(93));
    TXTRazon->clear();
    TXTNif->clear();
    TXTSufijo->clear();
    HabilitaOrden(true);
    (tipo == 1 ? RBcsb58 : RBcsb19)->setChecked(true);
}

void TFRMPresentador::PreparaModificacion(const _Organizacion &organizacion, int empresa, int clave,
                                          const STRPresentador &datos, bool ordenBloqueado)
{
    m_organizacion = &organizacion;
    m_modificacion = true;
    m_empresa = empresa;
    m_clave = clave;
    setWindowTitle(Rotulo(96));
    PonTextoCaja(TXTRazon, datos.Razon_social);
    PonTextoCaja(TXTNif, datos.Id_nif);
    PonTextoCaja(TXTSufijo, datos.Sufijo);
    (cp1252::equalNoCase(datos.Id_orden, "CSB19") ? RBcsb19 : RBcsb58)->setChecked(true);
    HabilitaOrden(!ordenBloqueado);
}

STRPresentador TFRMPresentador::Lee() const
{
    const std::string nif = TextoCaja(TXTNif).substr(0, 9);
    const std::string sufijo = TextoCaja(TXTSufijo).substr(0, 3);
    char clave[13];
    std::snprintf(clave, sizeof clave, "%9.9s%3.3s", nif.c_str(), sufijo.c_str());
    return {RBcsb19->isChecked() ? "CSB19" : "CSB58", clave, nif, sufijo, TextoCaja(TXTRazon).substr(0, 40)};
}

void TFRMPresentador::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMPresentador::FormShow()
{
    Label4->setText(Etiqueta(5));
    Label2->setText(Etiqueta(469));
    Label3->setText(Etiqueta(9));
    RadioGroup1->setTitle(Rotulo(397));
    RBcsb19->setText(Rotulo(398));
    RBcsb58->setText(Rotulo(399));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
    SafeSetFocus(TXTRazon);
}

void TFRMPresentador::BTNAceptarClick()
{
    if (!m_organizacion)
        return; // never prepared
    const std::string razon = LimpiaCaja(TXTRazon);
    const std::string nif = LimpiaCajaNif(TXTNif);
    const std::string sufijo = LimpiaCaja(TXTSufijo);
    if (razon.empty() || nif.empty() || sufijo.empty()) {
        AvisoTexto(4, 1, IconoMensaje::Error);
        return;
    }
    if (!CompruebaNif(TXTNif) || !CompruebaSufijo(TXTSufijo))
        return;
    const ElementoOrganizacion candidato{m_modificacion ? m_clave : 0, m_empresa, Lee()};
    if (m_organizacion->CuentaIguales(candidato) > 0) {
        AvisoTexto(576, 1, IconoMensaje::Error);
        return;
    }
    accept();
}

void TFRMPresentador::BTNCancelarClick()
{
    reject();
}
