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
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstring>

TFormListEmi::TFormListEmi(QWidget *parent)
    : QDialog(parent),
      LBTitulo(new QLabel(this)),
      LBAyuda(new QLabel(this)),
      GBParams(new QGroupBox(this)),
      CBTodas(new QCheckBox(GBParams)),
      LVEmisores(new QTreeWidget(this)),
      BtnAceptar(new QPushButton(this)),
      BtnCancelar(new QPushButton(this))
{
    QFont negrita = LBTitulo->font();
    negrita.setBold(true);
    negrita.setPointSizeF(negrita.pointSizeF() * 1.3);
    LBTitulo->setFont(negrita);
    LBAyuda->setWordWrap(true);
    LVEmisores->setColumnCount(3);
    LVEmisores->setRootIsDecorated(false);
    LVEmisores->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVEmisores->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVEmisores->header()->resizeSection(0, 30);
    LVEmisores->header()->resizeSection(1, 120);
    LVEmisores->setMinimumSize(420, 180);
    BtnAceptar->setDefault(true);

    (new QVBoxLayout(GBParams))->addWidget(CBTodas);
    auto *botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(BtnAceptar);
    botones->addWidget(BtnCancelar);
    auto *todo = new QVBoxLayout(this);
    todo->addWidget(LBTitulo);
    todo->addWidget(LBAyuda);
    todo->addWidget(GBParams);
    todo->addWidget(LVEmisores, 1);
    todo->addLayout(botones);

    connect(CBTodas, &QCheckBox::clicked, this, &TFormListEmi::CBTodasClick);
    connect(BtnAceptar, &QPushButton::clicked, this, &TFormListEmi::BtnAceptarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &TFormListEmi::BtnCancelarClick);
}

void TFormListEmi::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
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
    m_emisores.clear();
    LVEmisores->clear();
    CBTodas->setChecked(true);
    LVEmisores->setEnabled(false);
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
        m_emisores.push_back(Numero(siguiente()));
        const std::string nif = siguiente();
        const std::string clave = nif + "-" + siguiente();
        auto *fila = new QTreeWidgetItem(LVEmisores);
        fila->setIcon(0, TFormMain::ImagenLista(ImagenTVEmisor));
        fila->setText(1, cp1252::toQString(clave));
        fila->setText(2, cp1252::toQString(siguiente()));
        fila->setSelected(CBTodas->isChecked());
    }
}

std::vector<int> TFormListEmi::GetEmisoresSeleccionados() const
{
    std::vector<int> emisores = m_emisores;
    for (int k = 0; k < LVEmisores->topLevelItemCount() && size_t(k) < emisores.size(); ++k)
        emisores[size_t(k)] = LVEmisores->topLevelItem(k)->isSelected() ? std::abs(emisores[size_t(k)])
                                                                         : -std::abs(emisores[size_t(k)]);
    return emisores;
}

void TFormListEmi::CBTodasClick()
{
    if (CBTodas->isChecked())
        LVEmisores->selectAll();
    LVEmisores->setEnabled(!CBTodas->isChecked());
}

void TFormListEmi::BtnAceptarClick()
{
    if (LVEmisores->selectedItems().isEmpty())
        ShowMsg(Idioma.GetTexto(14), Idioma.GetTexto(181), MsgAceptar);
    else
        accept();
}

void TFormListEmi::BtnCancelarClick()
{
    done(-1);
}
