// The options of the bills report.
#include "Frmlistdocs.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "Frminforme.h"
#include "Frmmain.h"
#include "Lstdocs.h"
#include "Modmas.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstring>

TFormListDocs::TFormListDocs(QWidget *parent)
    : QDialog(parent),
      LBTitulo(new QLabel(this)),
      LBAyuda(new QLabel(this)),
      GBParams(new QGroupBox(this)),
      CBTodas(new QCheckBox(GBParams)),
      CBActivos(new QCheckBox(GBParams)),
      CBoxDesactivados(new QCheckBox(QStringLiteral("Documentos desactivados"), GBParams)),
      CBoxErroneos(new QCheckBox(GBParams)),
      CBProcesados(new QCheckBox(GBParams)),
      CBNoProcesados(new QCheckBox(GBParams)),
      LVRemesas(new QTreeWidget(this)),
      BtnAceptar(new QPushButton(this)),
      BtnCancelar(new QPushButton(this))
{
    QFont negrita = LBTitulo->font();
    negrita.setBold(true);
    negrita.setPointSizeF(negrita.pointSizeF() * 1.3);
    LBTitulo->setFont(negrita);
    LBAyuda->setWordWrap(true);
    CBProcesados->hide();
    CBNoProcesados->hide();
    LVRemesas->setColumnCount(3);
    LVRemesas->setRootIsDecorated(false);
    LVRemesas->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVRemesas->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVRemesas->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    LVRemesas->header()->resizeSection(0, 30);
    LVRemesas->header()->resizeSection(1, 260);
    LVRemesas->setMinimumSize(420, 180);
    BtnAceptar->setDefault(true);

    auto *parametros = new QVBoxLayout(GBParams);
    for (QCheckBox *c : {CBTodas, CBActivos, CBoxDesactivados, CBoxErroneos})
        parametros->addWidget(c);
    auto *botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(BtnAceptar);
    botones->addWidget(BtnCancelar);
    auto *todo = new QVBoxLayout(this);
    todo->addWidget(LBTitulo);
    todo->addWidget(LBAyuda);
    todo->addWidget(GBParams);
    todo->addWidget(LVRemesas, 1);
    todo->addLayout(botones);

    connect(CBTodas, &QCheckBox::clicked, this, &TFormListDocs::CBTodasClick);
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormListDocs::BtnAceptarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &TFormListDocs::BtnCancelarClick);
}

void TFormListDocs::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
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
    m_remesas.clear();
    LVRemesas->clear();
    for (QCheckBox *c : {CBTodas, CBActivos, CBoxDesactivados, CBoxErroneos, CBProcesados, CBNoProcesados})
        c->setChecked(true);
    LVRemesas->setEnabled(false);
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
        m_remesas.push_back(Numero(siguiente()));
        const bool euros = cp1252::equalNoCase(siguiente(), "EUR");
        auto *fila = new QTreeWidgetItem(LVRemesas);
        fila->setIcon(0, TFormMain::ImagenLista(euros ? kImagenEuros : kImagenPesetas));
        fila->setText(1, cp1252::toQString(ValorCelda(siguiente())));
        fila->setText(2, cp1252::toQString(ValorCelda(siguiente())));
        fila->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        fila->setSelected(CBTodas->isChecked());
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
    std::vector<int> remesas = m_remesas;
    for (int k = 0; k < LVRemesas->topLevelItemCount() && size_t(k) < remesas.size(); ++k)
        remesas[size_t(k)] = LVRemesas->topLevelItem(k)->isSelected() ? std::abs(remesas[size_t(k)])
                                                                       : -std::abs(remesas[size_t(k)]);
    return remesas;
}

void TFormListDocs::CBTodasClick()
{
    if (CBTodas->isChecked())
        LVRemesas->selectAll();
    LVRemesas->setEnabled(!CBTodas->isChecked());
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

void TFormListDocs::BtnCancelarClick()
{
    done(-1);
}
