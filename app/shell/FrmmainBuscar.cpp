// The main window's search commands: a new search in the visible grid and find-next.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Buscador.h"
#include "General.h"

#include <QEvent>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>

void TFormMain::ConectaBusqueda()
{
    Conecta(cbtBuscar, &TFormMain::cbtBuscarClick);
    Conecta(mainMenuBuscar, &TFormMain::mainMenuBuscarClick);
    Conecta(mainBuscarsiguiente, &TFormMain::mainBuscarsiguienteClick);
    for (QLabel *titulo : {panelTitleEmpresas, panelTitleEmisores, panelTitleRemesas, panelTitleRecibos}) {
        titulo->setMouseTracking(true);
        titulo->installEventFilter(this);
    }
}

QTableView *TFormMain::GridVisible() const
{
    const std::pair<QWidget *, QTableView *> grids[] = {
        {panelGrdEmpresas, lstGridPresentadores},
        {panelGrdEmisores, lstGridEmisores},
        {panelGrdRemesas, lstGridRemesas},
        {panelGrdDocumentos, lstGridDocumentos},
    };
    for (const auto &[panel, grid] : grids)
        if (!panel->isHidden())
            return grid;
    return nullptr;
}

void TFormMain::cbtBuscarClick()
{
    TFormBuscador *buscador = App().FormBuscador;
    if (!buscador)
        return;
    if (QTableView *grid = GridVisible())
        SetupSearch(buscador, grid, 0);
    buscador->exec();
}

void TFormMain::mainMenuBuscarClick()
{
    Inactividad.Reinicia();
    if (cbtBuscar->isEnabled())
        cbtBuscarClick();
}

void TFormMain::mainBuscarsiguienteClick()
{
    Inactividad.Reinicia();
    if (App().FormBuscador)
        SetupSearch(App().FormBuscador, GridVisible(), 1);
}

void TFormMain::panelTitleEmpresasMouseMove()
{
    for (QLabel *titulo : {panelTitleEmpresas, panelTitleEmisores, panelTitleRemesas, panelTitleRecibos})
        titulo->setCursor(Qt::ArrowCursor);
}
