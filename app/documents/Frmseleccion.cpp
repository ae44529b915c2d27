// The frame of the report option dialogs.
#include "Frmseleccion.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdlib>

TFormSeleccion::TFormSeleccion(QWidget *parent, int anchoClave)
    : QDialog(parent),
      LBTitulo(new QLabel(this)),
      LBAyuda(new QLabel(this)),
      GBParams(new QGroupBox(this)),
      CBTodas(new QCheckBox(GBParams)),
      Lista(new QTreeWidget(this)),
      BtnAceptar(new QPushButton(this)),
      BtnCancelar(new QPushButton(this))
{
    QFont negrita = LBTitulo->font();
    negrita.setBold(true);
    negrita.setPointSizeF(negrita.pointSizeF() * 1.3);
    LBTitulo->setFont(negrita);
    LBAyuda->setWordWrap(true);
    Lista->setColumnCount(3);
    Lista->setRootIsDecorated(false);
    Lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    Lista->header()->resizeSection(0, 30);
    Lista->header()->resizeSection(1, anchoClave);
    Lista->setMinimumSize(420, 180);
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
    todo->addWidget(Lista, 1);
    todo->addLayout(botones);

    connect(CBTodas, &QCheckBox::clicked, this, &TFormSeleccion::CBTodasClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &TFormSeleccion::BtnCancelarClick);
}

void TFormSeleccion::ColocaParametros(std::initializer_list<QCheckBox *> casillas)
{
    for (QCheckBox *c : casillas)
        GBParams->layout()->addWidget(c);
}

void TFormSeleccion::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TFormSeleccion::Vacia()
{
    m_ids.clear();
    Lista->clear();
    CBTodas->setChecked(true);
    Lista->setEnabled(false);
}

QTreeWidgetItem *TFormSeleccion::AnadeFila(int id)
{
    m_ids.push_back(id);
    auto *fila = new QTreeWidgetItem(Lista);
    fila->setSelected(CBTodas->isChecked());
    return fila;
}

std::vector<int> TFormSeleccion::Seleccionados() const
{
    std::vector<int> ids = m_ids;
    for (int k = 0; k < Lista->topLevelItemCount() && size_t(k) < ids.size(); ++k)
        ids[size_t(k)] = Lista->topLevelItem(k)->isSelected() ? std::abs(ids[size_t(k)]) : -std::abs(ids[size_t(k)]);
    return ids;
}

void TFormSeleccion::CBTodasClick()
{
    if (CBTodas->isChecked())
        Lista->selectAll();
    Lista->setEnabled(!CBTodas->isChecked());
}

void TFormSeleccion::BtnCancelarClick()
{
    done(-1);
}
