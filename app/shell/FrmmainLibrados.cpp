// The main window's drawee commands: the drawee window and the drawee import.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Frmlibrados.h"
#include "General.h"
#include "Importlibrados.h"
#include "Modmas.h"
#include "Multiuser.h"

#include <QTreeWidget>
#include <exception>

void TFormMain::ConectaLibrados()
{
    Conecta(cbtMantenimientoLibrados, &TFormMain::cbtMantenimientoLibradosClick);
    Conecta(mainMenuMantenimientoLibrados, &TFormMain::cbtMantenimientoLibradosClick);
    Conecta(Importarlibrados1, &TFormMain::Importarlibrados1Click);
}

void TFormMain::cbtMantenimientoLibradosClick()
{
    QTreeWidgetItem *seleccionado = NodoSeleccionado();
    if (!seleccionado)
        return;
    try {
        App().frmLibrados->exec();
        for (QTreeWidgetItemIterator i(treeInfoGlobal); *i; ++i)
            if (GetNivelNodo(*i) == ArbolRemesa)
                ActualizaTotalesRemesa(Numero(IdNodo(*i)));
        if (!panelGrdDocumentos->isHidden() || !panelGrdRemesas->isHidden())
            MuestraNivel(NodoSeleccionado());
        if (App().Multiuser)
            App().Multiuser->NotificaActualizacion(NIVEL_TODO, 0);
    } catch (const std::exception &e) {
        WriteLog(std::string("[ TFormMain::cbtMantenimientoLibradosClick ] ") + e.what());
    }
}

void TFormMain::Importarlibrados1Click()
{
    App().FRMImportLibrados->exec();
}
