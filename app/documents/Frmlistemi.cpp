// The options of the drawees report.
#include "Frmlistemi.h"

#include "Cfgfile.h"
#include "Controles.h"
#include "Frminforme.h"
#include "Frmmain.h"
#include "Modmas.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <cstring>

TFormListEmi::TFormListEmi(QWidget *parent) : TFormSeleccion(parent, 120)
{
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormListEmi::BtnAceptarClick);
}

void TFormListEmi::FormShow()
{
    setWindowTitle(Rotulo(439));
    LBTitulo->setText(Rotulo(374));
    LBAyuda->setText(Rotulo(375));
    GBParams->setTitle(Rotulo(376));
    CBTodas->setText(Rotulo(377));
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
    LVEmisores->setHeaderLabels({QString(), Rotulo(470), Rotulo(5)});
}

void TFormListEmi::CargaEmisores(long idPresentador)
{
    IdPresentador = idPresentador;
    Vacia();
    B_AStr_t *valores = ConsultaCampos(true, {"Id_emisor", "Id_nif", "Sufijo", "Razon_social"},
                                       "SELECT [_Emisores( Datos )].Id_emisor,        [_Emisores( Datos )].Id_nif,"
                                       "        [_Emisores( Datos )].Sufijo,        [_Emisores( Datos )].Razon_social"
                                       "   FROM [_Emisores( Datos )] WHERE [_Emisores( Datos )].Id_presentador = %ld",
                                       idPresentador);
    if (!valores) {
        ShowMsg(Idioma.GetTexto(180), Idioma.GetTexto(179), MsgAceptar);
        return;
    }
    const char *v = valores->pcData;
    auto siguiente = [&v] {
        const std::string valor = ValorCelda(v);
        v += std::strlen(v) + 1;
        return valor;
    };
    for (long k = 0; k + 3 < valores->nStrs; k += 4) {
        QTreeWidgetItem *fila = AnadeFila(Numero(siguiente()));
        const std::string nif = siguiente();
        const std::string clave = nif + "-" + siguiente();
        fila->setIcon(0, TFormMain::ImagenLista(ImagenTVEmisor));
        fila->setText(1, cp1252::toQString(clave));
        fila->setText(2, cp1252::toQString(siguiente()));
    }
}

std::vector<int> TFormListEmi::GetEmisoresSeleccionados() const
{
    return Seleccionados();
}

void TFormListEmi::BtnAceptarClick()
{
    if (LVEmisores->selectedItems().isEmpty())
        ShowMsg(Idioma.GetTexto(14), Idioma.GetTexto(181), MsgAceptar);
    else
        accept();
}
