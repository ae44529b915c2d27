// The main window's mass modifications of the marked bills: the five menu items, their
// submenu's state, and the toolbar chooser in front of them.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Frmchoosemodmasivas.h"
#include "FrmmainProgreso.h"
#include "General.h"
#include "Modmas.h"
#include "Modmasivas.h"
#include "Multiuser.h"
#include "Programa.h"

#include <QMenu>
#include <QTreeWidgetItem>
#include <optional>

namespace {

// The progress of a run on the main window's bar, shown from its first report on (the
// value dialog is closed by then) and hidden when the object goes.
class ProgresoMasivo {
public:
    explicit ProgresoMasivo(QProgressBar *barra) : m_barra(barra) {}

    ProgresoMasiva Funcion()
    {
        return [this](size_t hechos, size_t total) {
            if (!m_progreso)
                m_progreso.emplace(m_barra, total);
            m_progreso->Avanza(hechos);
            return true;
        };
    }

private:
    QProgressBar *m_barra;
    std::optional<Progreso> m_progreso;
};

} // namespace

void TFormMain::ConectaModMasivas()
{
    Conecta(mainMenuModificacionImportes, &TFormMain::mainMenuModificacionImportesClick);
    Conecta(mainMenuModificacionConceptos, &TFormMain::mainMenuModificacionConceptosClick);
    Conecta(mainMenuModificacionCDevolucion, &TFormMain::mainMenuModificacionCDevolucionClick);
    Conecta(mainMenuModificacionRefInterna, &TFormMain::mainMenuModificacionRefInternaClick);
    Conecta(mainMenuModificacionFVencimiento, &TFormMain::mainMenuModificacionFVencimientoClick);
    Conecta(cbtModMasivas, &TFormMain::cbtModMasivasClick);
    connect(mainMenuModificacionesMasivas, &QMenu::aboutToShow, this, [this] {
        ComandoEnCurso comando(this);
        Protege("TFormMain::mainMenuModificacionesMasivasClick", [this] { mainMenuModificacionesMasivasClick(); });
    });
}

bool TFormMain::RemesaConEmision(const std::string &idRemesa)
{
    m_conEmision = false;
    DBGetData("SELECT [Remesas()].Id_remesa FROM [Remesas()] WHERE ([Remesas()].Con_emision = TRUE AND "
              "[Remesas()].Id_remesa = " + std::to_string(Numero(idRemesa)) + ");",
              [this](char *, char *, int) { m_conEmision = true; });
    return m_conEmision;
}

void TFormMain::mainMenuModificacionesMasivasClick()
{
    Habilita({mainMenuModificacionFVencimiento}, GetTipoOrden() == "CSB58");
    const QTreeWidgetItem *nodo = NodoSeleccionado();
    Habilita({mainMenuModificacionConceptos}, nodo && RemesaConEmision(IdNodo(nodo)));
}

void TFormMain::TrasModMasiva(QTreeWidgetItem *nodo)
{
    if (_multiuser *m = App().Multiuser; m && nodo)
        m->NotificaActualizacion(NIVEL_DOCUMENTOS, Numero(IdNodo(nodo)));
    InicIndiceRecibos();
    lstGridDocumentosTopLeftChanged(true);
    ActualizaPanelInfo();
}

void TFormMain::mainMenuModificacionImportesClick()
{
    const std::optional<std::vector<std::string>> ids = GetRecibosSeleccionados();
    if (!ids)
        return;
    QTreeWidgetItem *nodo = NodoSeleccionado();
    ProgresoMasivo progreso(barraProgreso);
    // The batch totals were written with the amounts.
    if (ModificaImportes(*ids, progreso.Funcion()) && !panelGrdDocumentos->isHidden())
        TrasModMasiva(nodo);
}

void TFormMain::mainMenuModificacionConceptosClick()
{
    ModMasiva(ModificaConceptos);
}

void TFormMain::mainMenuModificacionCDevolucionClick()
{
    ModMasiva(ModificaCodDevolucion);
}

void TFormMain::mainMenuModificacionRefInternaClick()
{
    ModMasiva(ModificaRefInterna);
}

void TFormMain::mainMenuModificacionFVencimientoClick()
{
    ModMasiva([](const std::vector<std::string> &ids, const ProgresoMasiva &progreso) {
        ModificaFechaVencimiento(ids, progreso);
        return 0;
    });
}

void TFormMain::ModMasiva(const std::function<int(const std::vector<std::string> &, const ProgresoMasiva &)> &operacion)
{
    QTreeWidgetItem *nodo = NodoSeleccionado();
    if (const std::optional<std::vector<std::string>> ids = GetRecibosSeleccionados()) {
        ProgresoMasivo progreso(barraProgreso);
        operacion(*ids, progreso.Funcion());
    }
    TrasModMasiva(nodo);
}

void TFormMain::cbtModMasivasClick()
{
    mainMenuModificacionesMasivasClick();
    TFRMModMasivas *selector = App().FRMModMasivas;
    const std::pair<QAction *, void (TFormMain::*)()> tipos[] = {
        {mainMenuModificacionImportes, &TFormMain::mainMenuModificacionImportesClick},
        {mainMenuModificacionConceptos, &TFormMain::mainMenuModificacionConceptosClick},
        {mainMenuModificacionCDevolucion, &TFormMain::mainMenuModificacionCDevolucionClick},
        {mainMenuModificacionRefInterna, &TFormMain::mainMenuModificacionRefInternaClick},
        {mainMenuModificacionFVencimiento, &TFormMain::mainMenuModificacionFVencimientoClick},
    };
    for (size_t i = 0; i < std::size(tipos); ++i)
        selector->Habilitados[i] = tipos[i].first->isEnabled();
    selector->TipoOrden = GetTipoOrden();
    const int tipo = selector->exec() - TFRMModMasivas::Importes;
    if (tipo >= 0 && size_t(tipo) < std::size(tipos) && tipos[tipo].first->isEnabled())
        (this->*tipos[tipo].second)();
}
