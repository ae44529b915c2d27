// What the two CSB-file import windows share.
#include "Ventanaimportacion.h"

#include "Aplicacion.h"
#include "Frmmain.h"
#include "ImportacionMarco.h"
#include "Modmas.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QTreeWidget>

TVentanaImportacion::TVentanaImportacion(QWidget *owner, MarcoImportacion &importacion)
    : QDialog(owner), gaugeProgreso(new QProgressBar(this)), m_marco(importacion)
{
    gaugeProgreso->setTextVisible(true);
}

bool TVentanaImportacion::Importando() const
{
    return m_marco.Importando();
}

void TVentanaImportacion::cbtCancelClick()
{
    if (Importando())
        m_marco.CancelaImportacion();
    else
        QDialog::reject();
}

void TVentanaImportacion::reject()
{
    cbtCancelClick();
}

void TVentanaImportacion::closeEvent(QCloseEvent *evento)
{
    if (Importando()) {
        m_marco.CancelaImportacion();
        evento->ignore();
        return;
    }
    QDialog::closeEvent(evento);
}

void TVentanaImportacion::Progreso(int minimo, int maximo, int posicion)
{
    // An empty range would show the bar's busy animation: a run without steps (a refused
    // file) shows it empty.
    if (maximo <= minimo) {
        maximo = minimo + 1;
        posicion = minimo;
    }
    if (gaugeProgreso->minimum() != minimo || gaugeProgreso->maximum() != maximo)
        gaugeProgreso->setRange(minimo, maximo);
    gaugeProgreso->setValue(posicion);
}

void TVentanaImportacion::RecargaArbol(bool mismaSeleccion)
{
    TFormMain *m = App().FormMain;
    if (!m)
        return;
    const QTreeWidgetItem *antes = m->NodoSeleccionado();
    const int nivel = TFormMain::GetNivelNodo(antes), id = Numero(TFormMain::IdNodo(antes));
    m->CargaArbol(m->IdEmpresa);
    if (mismaSeleccion) {
        if (nivel >= 0)
            m->SeleccionaNodo(nivel, id);
        return;
    }
    if (QTreeWidgetItem *primero = m->treeInfoGlobal->topLevelItem(0))
        if (QTreeWidgetItem *segundo = m->treeInfoGlobal->itemBelow(primero))
            m->treeInfoGlobal->setCurrentItem(segundo);
}
