// The main window's report commands.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Frmchooseinforme.h"
#include "Frmlistdocs.h"
#include "Frmlistemi.h"
#include "Frmrptemi.h"
#include "Lstdocs.h"

#include <QTreeWidgetItem>
#include <cstdlib>

namespace {

// The id of the node's ancestor arriba levels up (0 the node itself); 0 when there is none.
long IdAncestro(const QTreeWidgetItem *nodo, int arriba)
{
    while (nodo && arriba-- > 0)
        nodo = nodo->parent();
    return nodo ? std::atol(TFormMain::IdNodo(nodo).c_str()) : 0;
}

} // namespace

void TFormMain::cbtInformeRecibosClick()
{
    const QTreeWidgetItem *nodo = NodoSeleccionado();
    if (!nodo)
        return;
    const int nivel = GetNivelNodo(nodo);
    const long emisor = nivel == ArbolEmisor ? IdAncestro(nodo, 0) : nivel == ArbolRemesa ? IdAncestro(nodo, 1) : 0;
    TFormListDocs *lista = App().FormListDocs;
    lista->CargaRemesasEmisor(emisor);
    if (lista->exec() != QDialog::Accepted)
        return;
    TFormRptDocs *informe = App().FormRptDocs;
    informe->Activos = lista->GetChkActivos();
    informe->Desactivados = lista->GetChkDesactivados();
    informe->Erroneos = lista->GetChkErroneos();
    informe->GetNumOrden(lista->GetChkProcesados());
    informe->NoProcesados = lista->GetChkNoProcesados();
    informe->PreparaRptDocs(lista->GetRemesasSeleccionadas());
    if (informe->CuentaDocsRpt())
        informe->Previsualiza();
}

void TFormMain::cbtInformeLibradosClick()
{
    const QTreeWidgetItem *nodo = NodoSeleccionado();
    const int nivel = GetNivelNodo(nodo);
    const long presentador = nivel >= ArbolPresentador && nivel <= ArbolRemesa ? IdAncestro(nodo, nivel - 1) : 0;
    TFormListEmi *lista = App().FormListEmi;
    lista->CargaEmisores(presentador);
    if (lista->exec() != QDialog::Accepted)
        return;
    TFormRptEmi *informe = App().FormRptEmi;
    informe->SetEmisores(lista->GetEmisoresSeleccionados());
    if (informe->HayLibrados())
        informe->Previsualiza();
}

void TFormMain::cbtMasterInformeClick()
{
    TFormChooseInforme *selector = App().FormChooseInforme;
    selector->show();
    selector->raise();
    selector->activateWindow();
}
