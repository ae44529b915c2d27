// The options of the bills report.
#include "Frmlistdocs.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "Frminforme.h"
#include "Frmmain.h"
#include "General.h"
#include "Lstdocs.h"
#include "Modmas.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <cstring>

TFormListDocs::TFormListDocs(QWidget *parent)
    : TFormSeleccion(parent, 260),
      CBActivos(new QCheckBox(GBParams)),
      CBoxDesactivados(new QCheckBox(QStringLiteral("Documentos desactivados"), GBParams)),
      CBoxErroneos(new QCheckBox(GBParams)),
      CBProcesados(new QCheckBox(GBParams)),
      CBNoProcesados(new QCheckBox(GBParams))
{
    CBProcesados->hide();
    CBNoProcesados->hide();
    ColocaParametros({CBActivos, CBoxDesactivados, CBoxErroneos});
    LVRemesas->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormListDocs::BtnAceptarClick);
}

void TFormListDocs::FormShow()
{
    setWindowTitle(Rotulo(388));
    LBTitulo->setText(Rotulo(378));
    LBAyuda->setText(Rotulo(379));
    GBParams->setTitle(Rotulo(376));
    BtnAceptar->setText(Rotulo(2));
    BtnCancelar->setText(Rotulo(3));
    CBTodas->setText(Rotulo(380));
    CBActivos->setText(Rotulo(381));
    CBoxErroneos->setText(Rotulo(311));
    CBProcesados->setText(Rotulo(382));
    CBNoProcesados->setText(Rotulo(383));
    LVRemesas->setHeaderLabels({QString(), Rotulo(322), Rotulo(344)});
}

void TFormListDocs::CargaRemesasEmisor(long idEmisor)
{
    IdEmisor = idEmisor;
    Vacia();
    for (QCheckBox *c : {CBActivos, CBoxDesactivados, CBoxErroneos, CBProcesados, CBNoProcesados})
        c->setChecked(true);
    B_AStr_t *valores = ConsultaCampos(true, {"Id_remesa", "Id_moneda", "Descripcion", "Importe_total"},
                                       "SELECT [Remesas()].Id_remesa,        [Remesas()].Id_moneda,        "
                                       "[Remesas()].Descripcion,        [Remesas()].Importe_total   FROM "
                                       "[Remesas()] WHERE [Remesas()].Id_emisor = %ld",
                                       idEmisor);
    if (!valores) {
        ShowMsg(Idioma.GetTexto(177), Idioma.GetTexto(178), MsgAceptar);
        return;
    }
    const char *v = valores->pcData;
    auto siguiente = [&v] {
        const std::string valor = v;
        v += std::strlen(v) + 1;
        return valor;
    };
    for (long k = 0; k + 3 < valores->nStrs; k += 4) {
        QTreeWidgetItem *fila = AnadeFila(Numero(siguiente()));
        const bool euros = cp1252::equalNoCase(siguiente(), "EUR");
        fila->setIcon(0, TFormMain::ImagenLista(euros ? kImagenEuros : kImagenPesetas));
        fila->setText(1, cp1252::toQString(ValorCelda(siguiente())));
        fila->setText(2, cp1252::toQString(FormatImporte(siguiente(), euros ? kMonedaEuros : kMonedaPesetas)));
        fila->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
}

bool TFormListDocs::GetChkActivos() const
{
    return CBActivos->isChecked();
}

bool TFormListDocs::GetChkDesactivados() const
{
    return CBoxDesactivados->isChecked();
}

bool TFormListDocs::GetChkErroneos() const
{
    return CBoxErroneos->isChecked();
}

bool TFormListDocs::GetChkProcesados() const
{
    return CBProcesados->isChecked();
}

bool TFormListDocs::GetChkNoProcesados() const
{
    return CBNoProcesados->isChecked();
}

std::vector<int> TFormListDocs::GetRemesasSeleccionadas() const
{
    return Seleccionados();
}

void TFormListDocs::BtnAceptarClick()
{
    const int elegidas = CBTodas->isChecked() ? LVRemesas->topLevelItemCount()
                                              : int(LVRemesas->selectedItems().size());
    if (elegidas == 0 && !CBTodas->isChecked())
        ShowMsg(Idioma.GetTexto(14), Idioma.GetTexto(175), MsgAceptar);
    else if (!CBActivos->isChecked() && !CBoxDesactivados->isChecked() && !CBoxErroneos->isChecked())
        ShowMsg(Idioma.GetTexto(14), Idioma.GetTexto(176), MsgAceptar);
    else if (!CBProcesados->isChecked() && !CBNoProcesados->isChecked())
        ShowMsg(Idioma.GetTexto(14), Idioma.GetTexto(176), MsgAceptar);
    else
        accept();
    App().FormRptDocs->QRLbTitulo2->Caption = Idioma.GetTexto(590) + Idioma.GetTexto(elegidas < 2 ? 322 : 388);
}
