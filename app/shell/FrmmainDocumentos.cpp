// The main window's bill commands: adding and modifying a bill of the batch in view through
// the bill editor.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Editdocumentos.h"
#include "General.h"
#include "ModeloRecibos.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"

#include <QTableView>
#include <QTreeWidget>

void TFormMain::IniciaDocumentoNuevo(const std::string &idRemesa)
{
    DatosDocumento = STRDocumento();
    DBGetData(FormateaTexto("SELECT [Remesas()].Id_moneda, [Remesas()].Id_plantilla, [Remesas()].Con_emision FROM "
                            "[Remesas()] WHERE [Remesas()].Id_remesa = %d;",
                            Numero(idRemesa)),
              [this](char *fila, char *, int) {
                  DatosDocumento = STRDocumento();
                  DatosDocumento.Id_moneda = GetCampoTexto("Id_moneda", fila);
                  DatosDocumento.Id_plantilla = GetCampoTexto("Id_plantilla", fila);
                  DatosDocumento.Con_emision = GetCampoTexto("Con_emision", fila);
              });
}

void TFormMain::AltaDocumento()
{
    QTreeWidgetItem *nodo = NodoSeleccionado();
    if (nodo)
        IniciaDocumentoNuevo(IdNodo(nodo));
    DatosDocumento.Modo = RegistroNuevo;
    TFormEditDocumentos *editor = App().FormEditDocumentos;
    editor->SetDocumento(DatosDocumento);
    if (!editor->isVisible())
        editor->exec();
    RefrescaRecibos();
    if ((nodo = NodoSeleccionado()))
        ActualizaMenus(nodo);
}

void TFormMain::ModificaDocumento()
{
    const int fila = FilaSeleccion(lstGridDocumentos);
    if (fila == 0)
        return;
    const int id = ModeloRecibos->IdFila(fila - 1);
    _multiuser *multiuser = App().Multiuser;
    if (id <= 0 || !multiuser)
        return;
    if (multiuser->GetBloqueoDocumento(id) > 0) {
        AvisoTexto(642, 6, IconoMensaje::Informacion);
        return;
    }
    CargaDocumento(std::to_string(id));
    DatosDocumento.Modo = RegistroModificar;
    TFormEditDocumentos *editor = App().FormEditDocumentos;
    editor->SetDocumento(DatosDocumento);
    // Another copy may have taken the bill since the look: then nothing opens.
    if (!multiuser->BloqueaDocumento(id, false))
        return;
    editor->exec();
    RefrescaRecibos();
}
