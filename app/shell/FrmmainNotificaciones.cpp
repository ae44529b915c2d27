// The change notices of the other running copies: what each level refreshes, and the wait of
// the main window's refresh while a command, a grid load or an in-place edit runs.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Editdocumentos.h"
#include "Exportar.h"
#include "Frmlibrados.h"
#include "General.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiuser.h"
#include "Uniusuarios.h"

#include <QTableView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// How often waiting notices look whether the commands ended.
constexpr int kEsperaAvisos = 50;

// The order type of a drawees notice: 0 the drawees of CSB19 presenters, 1 of CSB58.
std::string TipoOrdenAviso(int id)
{
    return id == 0 ? "CSB19" : id == 1 ? "CSB58" : std::string();
}

} // namespace

bool TFormMain::Ocupada() const
{
    return m_comandos > 0 || m_ocupado || EdicionCelda.Pendiente();
}

void TFormMain::RecibeActualizacion(int idUsuario, int nivel, int idActualizar)
{
    if (!Ocupada() && m_avisos.empty()) {
        ProcesaActualizacion(idUsuario, nivel, idActualizar);
        return;
    }
    RefrescaVentanas(idUsuario, nivel, idActualizar);
    m_avisos.push_back({idUsuario, nivel, idActualizar});
    if (!m_esperaAvisos.isActive()) {
        m_esperaAvisos.setInterval(kEsperaAvisos);
        connect(&m_esperaAvisos, &QTimer::timeout, this, &TFormMain::AplicaAvisos, Qt::UniqueConnection);
        m_esperaAvisos.start();
    }
}

void TFormMain::AplicaAvisos()
{
    if (Ocupada())
        return;
    m_esperaAvisos.stop();
    const bool refrescando = Inactividad.Refrescando;
    Inactividad.Refrescando = true;
    while (!m_avisos.empty() && !Ocupada()) {
        const Aviso aviso = m_avisos.front();
        m_avisos.pop_front();
        RefrescaPrincipal(aviso.usuario, aviso.nivel, aviso.id);
    }
    Inactividad.Refrescando = refrescando;
    if (!m_avisos.empty())
        m_esperaAvisos.start();
}

void TFormMain::ProcesaActualizacion(int idUsuario, int nivel, int idActualizar)
{
    RefrescaVentanas(idUsuario, nivel, idActualizar);
    RefrescaPrincipal(idUsuario, nivel, idActualizar);
}

bool TFormMain::MismoUsuario(int idUsuario) const
{
    return App().FormLogin && idUsuario == Numero(App().FormLogin->LoginData.Id_usuario);
}

void TFormMain::RefrescaVentanas(int idUsuario, int nivel, int idActualizar)
{
    // The windows of other units add their refresh here as they come.
    Aplicacion &app = App();
    const bool aplicable = AvisoAplicable(idUsuario, nivel, idActualizar);
    if (aplicable && nivel <= NIVEL_DOCUMENTOS && app.FormExportar && app.FormExportar->isVisible())
        app.FormExportar->CargaRemesasPresentador();
    const bool libradosPropios = aplicable && nivel == NIVEL_LIBRADOS;
    if (libradosPropios && app.FormEditDocumentos && app.FormEditDocumentos->isVisible())
        app.FormEditDocumentos->RefreshLibrados(TipoOrdenAviso(idActualizar));
    if (libradosPropios && app.frmLibrados && app.frmLibrados->isVisible())
        app.frmLibrados->LoadLibradosList(idActualizar, TipoOrdenAviso(idActualizar));
    if (nivel != NIVEL_USUARIOS)
        return;
    if (app.FRMGestionusers && app.FRMGestionusers->isVisible())
        app.FRMGestionusers->RefreshUsersGrid();
    if (app.FormLogin && app.FormLogin->isVisible())
        app.FormLogin->RefreshUserCombo();
}

bool TFormMain::AvisoAplicable(int idUsuario, int nivel, int idActualizar) const
{
    if (nivel < NIVEL_TODO || nivel > NIVEL_LIBRADOS || !NodoSeleccionado())
        return false;
    bool encontrado = nivel == NIVEL_LIBRADOS;
    for (QTreeWidgetItemIterator i(treeInfoGlobal); *i && !encontrado; ++i)
        encontrado = GetNivelNodo(*i) == nivel && Numero(IdNodo(*i)) == idActualizar;
    if (!encontrado && nivel != NIVEL_TODO && idActualizar != 0)
        return false;
    const bool deCualquiera = nivel != NIVEL_DOCUMENTOS && nivel != NIVEL_LIBRADOS;
    return isVisible() && (deCualquiera || MismoUsuario(idUsuario));
}

void TFormMain::RefrescaPrincipal(int idUsuario, int nivel, int idActualizar)
{
    if (!AvisoAplicable(idUsuario, nivel, idActualizar))
        return;
    QTreeWidgetItem *seleccionado = NodoSeleccionado();
    const int nivelSel = GetNivelNodo(seleccionado);
    const int idSel = Numero(IdNodo(seleccionado));

    switch (nivel) {
    case NIVEL_TODO:
    case 1:
    case NIVEL_REMESAS: {
        GridsActivos = false;
        CargaArbol(IdEmpresa);
        QTreeWidgetItem *nodo = SeleccionaNodo(nivelSel, idSel);
        if (!nodo) {
            MuestraSinNodo();
            break;
        }
        if ((GetNivelNodo(nodo) == nivel && idActualizar == idSel) || nivel == NIVEL_TODO)
            MuestraNivel(nodo);
        if (nivel == NIVEL_REMESAS && GetNivelNodo(nodo) == ArbolRemesa)
            MuestraTotales(IdNodo(nodo));
        break;
    }
    case NIVEL_DOCUMENTOS:
        if (nivelSel == ArbolRemesa && idSel == idActualizar) {
            RefrescaRecibos();
        } else if (nivelSel == ArbolEmisor) {
            for (int i = 0; i < seleccionado->childCount(); ++i)
                if (Numero(IdNodo(seleccionado->child(i))) == idActualizar) {
                    MuestraNivel(seleccionado);
                    break;
                }
        }
        break;
    case NIVEL_LIBRADOS:
        if (TipoOrdenAviso(idActualizar) != GetTipoOrden())
            break;
        if (nivelSel == ArbolRemesa)
            RefrescaRecibos();
        else if (nivelSel == ArbolEmisor)
            MuestraNivel(seleccionado);
        break;
    default:
        break;
    }
}

QTreeWidgetItem *TFormMain::SeleccionaNodo(int nivel, int id)
{
    QTreeWidgetItem *nodo = nullptr;
    for (QTreeWidgetItemIterator i(treeInfoGlobal); *i && !nodo; ++i)
        if (GetNivelNodo(*i) == nivel && Numero(IdNodo(*i)) == id)
            nodo = *i;
    if (!nodo)
        nodo = treeInfoGlobal->topLevelItem(0);
    if (nodo)
        treeInfoGlobal->setCurrentItem(nodo);
    return nodo;
}

void TFormMain::MuestraSinNodo()
{
    for (QWidget *panel : {panelGrdEmpresas, panelGrdEmisores, panelGrdRemesas, panelGrdDocumentos, panelBottom})
        panel->hide();
    ComandosSinNodo();
    statusMainWindowDrawPanel();
}
