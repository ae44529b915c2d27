// The issuer selection dialog.
#include "Seleccemisor.h"

#include "General.h"
#include "Modmas.h"
#include "qcp1252.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFRMSelectEmisor::TFRMSelectEmisor(QWidget *parent)
    : QDialog(parent),
      Label1(new QLabel(QStringLiteral("Seleccione uno de estos emisores para guardar en ellos los librados"), this)),
      CBEmisores(new QComboBox(this)),
      BitBtn1(new QPushButton(QStringLiteral("&Aceptar"), this))
{
    setObjectName(QStringLiteral("FRMSelectEmisor"));
    setWindowTitle(QStringLiteral("Seleccionar emisor"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    CBEmisores->setEditable(false);
    CBEmisores->setMinimumWidth(300);
    BitBtn1->setDefault(true);
    auto *capas = new QVBoxLayout(this);
    capas->addWidget(Label1);
    capas->addWidget(CBEmisores);
    capas->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    capas->setSizeConstraint(QLayout::SetFixedSize);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMSelectEmisor::BitBtn1Click);
}

void TFRMSelectEmisor::SetDatosSeleccion(int idUsuario, const std::string &orden)
{
    IdUsuarioSel = idUsuario;
    OrdenSel = orden;
}

void TFRMSelectEmisor::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    QDialog::showEvent(evento);
}

void TFRMSelectEmisor::FormShow()
{
    IdEmisorElegido = 0;
    CargaEmisores(IdUsuarioSel, OrdenSel);
}

void TFRMSelectEmisor::CargaEmisores(int idUsuario, const std::string &orden)
{
    IdsEmisores.clear();
    CBEmisores->clear();
    DBGetData("SELECT [_Emisores( Datos )].Id_emisor,[_Emisores( Datos )].Razon_social FROM (([_Usuarios()] INNER "
              "JOIN [_Empresas( Datos )] ON [_Usuarios()].Id_usuario = [_Empresas( Datos )].Id_usuario) INNER JOIN "
              "[_Presentadores( Datos )] ON [_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa) "
              "INNER JOIN [_Emisores( Datos )] ON [_Presentadores( Datos )].Id_presentador = "
              "[_Emisores( Datos )].Id_presentador WHERE [_Usuarios()].Id_usuario=" +
                  std::to_string(idUsuario) + " AND [_Presentadores( Datos )].Id_orden='" + LimpiaTextoSQL(orden) +
                  "';",
              [this](char *fila, char *, int) {
                  IdsEmisores.push_back(GetCampo("Id_emisor", fila));
                  CBEmisores->addItem(cp1252::toQString(NullToEmpty(GetCampoTexto("Razon_social", fila))));
              });
    if (CBEmisores->count() > 0)
        CBEmisores->setCurrentIndex(0);
}

void TFRMSelectEmisor::BitBtn1Click()
{
    const int elegido = CBEmisores->currentIndex();
    IdEmisorElegido = elegido >= 0 && size_t(elegido) < IdsEmisores.size() ? Numero(IdsEmisores[size_t(elegido)]) : 0;
    accept();
}
