// The company dialog.
#include "Uniempresa.h"

#include "Controles.h"
#include "General.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFRMEmpresa::TFRMEmpresa(QWidget *parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      Label2(new QLabel(this)),
      TXTNombre(new QLineEdit(this)),
      TXTCif(new QLineEdit(this)),
      BTNAceptar(new QPushButton(this)),
      BTNCancelar(new QPushButton(this))
{
    TXTNombre->setMaxLength(30);
    TXTCif->setMaxLength(10);
    BTNAceptar->setDefault(true);

    AnchoParaCaracteres(TXTNombre, 30);
    AnchoParaCaracteres(TXTCif, 10, true);

    auto *rejilla = new QGridLayout(this);
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(TXTNombre, 0, 1, 1, 2);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addWidget(TXTCif, 1, 1);
    rejilla->setColumnStretch(2, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BTNAceptar);
    botones->addWidget(BTNCancelar);
    rejilla->addLayout(botones, 2, 0, 1, 3);
    OrdenTabulacion({TXTNombre, TXTCif, BTNAceptar, BTNCancelar});
    DescartaTeclasAlt(this);

    connect(BTNAceptar, &QPushButton::clicked, this, &TFRMEmpresa::BTNAceptarClick);
    connect(BTNCancelar, &QPushButton::clicked, this, &TFRMEmpresa::BTNCancelarClick);
}

void TFRMEmpresa::PreparaAlta(const _Organizacion &organizacion)
{
    m_organizacion = &organizacion;
    m_modificacion = false;
    m_clave = 0;
    TXTNombre->clear();
    TXTCif->clear();
}

void TFRMEmpresa::PreparaModificacion(const _Organizacion &organizacion, int clave, const STREmpresa &datos)
{
    m_organizacion = &organizacion;
    m_modificacion = true;
    m_clave = clave;
    PonTextoCaja(TXTNombre, datos.Nombre);
    PonTextoCaja(TXTCif, datos.Cif);
}

STREmpresa TFRMEmpresa::Lee() const
{
    return {TextoCaja(TXTCif).substr(0, 10), TextoCaja(TXTNombre).substr(0, 30)};
}

void TFRMEmpresa::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFRMEmpresa::FormShow()
{
    Label1->setText(Etiqueta(5));
    Label2->setText(Etiqueta(468));
    BTNAceptar->setText(Rotulo(2));
    BTNCancelar->setText(Rotulo(3));
    SafeSetFocus(TXTNombre);
}

void TFRMEmpresa::BTNAceptarClick()
{
    if (!m_organizacion)
        return; // never prepared
    const std::string nombre = LimpiaCaja(TXTNombre);
    const std::string cif = LimpiaCaja(TXTCif);
    if (nombre.empty() || cif.empty()) {
        AvisoTexto(4, 1, IconoMensaje::Error);
        return;
    }
    const ElementoOrganizacion candidato{m_modificacion ? m_clave : 0, m_organizacion->IdUsuario(), Lee()};
    if (m_organizacion->CuentaIguales(candidato) > 0) {
        AvisoTexto(103, 6, IconoMensaje::Error);
        return;
    }
    accept();
}

void TFRMEmpresa::BTNCancelarClick()
{
    reject();
}
