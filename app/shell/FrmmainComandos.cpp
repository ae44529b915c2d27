// The main window's record commands: add, modify and delete batches through the batch
// editor, delete, activate and deactivate the marked bills (adding and modifying a bill:
// FrmmainDocumentos.cpp), the batch currency switch, the template designer, the CSB import
// and the send file.
#include "Frmmain.h"

#include "Altarapida.h"
#include "Aplicacion.h"
#include "Aplicaplantillas.h"
#include "Cambiomoneda.h"
#include "Controles.h"
#include "Editremesas.h"
#include "Exportar.h"
#include "General.h"
#include "FrmmainProgreso.h"
#include "ModeloRecibos.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Proceso.h"
#include "Remesas.h"
#include "Unidefinirimport.h"
#include "Uniimportuser.h"
#include "qcp1252.h"

#include <functional>
#include <memory>
#include <QProgressBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

void Notifica(int nivel, const QTreeWidgetItem *nodo)
{
    if (_multiuser *m = App().Multiuser; m && nodo)
        m->NotificaActualizacion(nivel, Numero(TFormMain::IdNodo(nodo)));
}

bool RemesaRetenida(const std::string &id)
{
    _multiuser *m = App().Multiuser;
    return m && m->GetBloqueoRemesa(Numero(id)) > 0;
}

// The number of bills of the batch.
size_t NumeroRecibos(int idRemesa)
{
    size_t n = 0;
    DBGetData("SELECT COUNT(*) AS N FROM [Documentos()] WHERE Id_remesa=" + std::to_string(idRemesa) + ";",
              [&n](char *fila, char *, int) { n = size_t(Numero(GetCampo("N", fila))); });
    return n;
}

// Runs a command on n marked bills as a long run: the coordination paused, the wait cursor
// and, for many bills, the progress on the bar.
ResultadoRecibos EnRecibos(QProgressBar *barra, size_t n,
                           const std::function<ResultadoRecibos(const ProgresoRecibos &)> &orden)
{
    PausaMultiusuario pausa(App().Multiuser);
    CursorEspera espera;
    Progreso progreso(barra, n);
    return orden(progreso.Funcion());
}

// What a command on bills tells: a failure, and with textoRetenidos the bills another copy
// kept, once.
void Informa(const ResultadoRecibos &hecho, int textoRetenidos)
{
    if (!hecho.Error.empty())
        CajaMensaje(hecho.Error, ::Idioma.GetTexto(1), IconoMensaje::Error);
    if (hecho.Retenidos > 0)
        AvisoTexto(textoRetenidos, 6, IconoMensaje::Informacion);
}

} // namespace

void TFormMain::ConectaComandos()
{
    Conecta(cbtAlta, &TFormMain::cbtAltaClick);
    Conecta(mainMenuAlta, &TFormMain::cbtAltaClick);
    Conecta(cbtModificacion, &TFormMain::cbtModificacionClick);
    Conecta(mainMenuModificacion, &TFormMain::cbtModificacionClick);
    Conecta(cbtBaja, &TFormMain::cbtBajaClick);
    Conecta(mainMenuBaja, &TFormMain::cbtBajaClick);
    Conecta(cbtSeleccionar, [this] { cbtSeleccionarClick(cbtSeleccionar); });
    Conecta(cbtDeseleccionar, [this] { cbtSeleccionarClick(cbtDeseleccionar); });
    Conecta(mainMenuSeleccionar, [this] { mainMenuSeleccionarClick(mainMenuSeleccionar); });
    Conecta(mainMenuDeseleccionar, [this] { mainMenuSeleccionarClick(mainMenuDeseleccionar); });
    Conecta(cbtImportar, &TFormMain::cbtImportarClick);
    Conecta(mainMenuImportar, &TFormMain::cbtImportarClick);
    Conecta(cbtExportar, &TFormMain::mainMenuFicheroClick);
    Conecta(mainMenuFichero, &TFormMain::mainMenuFicheroClick);
    Conecta(Importacin1, &TFormMain::MNUImportarficherodelusuario1Click);
    Conecta(cbtAltaRapida, &TFormMain::cbtAltaRapidaClick);
    Conecta(MNUAltarpidaremesas1, &TFormMain::cbtAltaRapidaClick);
    Conecta(MNUDefinirplantillaimportacinsecuencial, &TFormMain::MNUDefinirplantillaimportacinsecuencialClick);
    Conecta(BTNCambiaMoneda, &TFormMain::BTNCambiaMonedaClick);
    Conecta(MNUCambiarMonedaRemesa, &TFormMain::BTNCambiaMonedaClick);
    Conecta(cbtGestionPlantillas, &TFormMain::mainMenuGestionPlantillasClick);
    Conecta(mainMenuGestionPlantillas, &TFormMain::mainMenuGestionPlantillasClick);
}

void TFormMain::mainMenuGestionPlantillasClick()
{
    Inactividad.Reinicia();
    MuestraPlantillas();
}

void TFormMain::MNUImportarficherodelusuario1Click()
{
    TFRMImportuser importacion(this);
    importacion.exec();
}

void TFormMain::MNUDefinirplantillaimportacinsecuencialClick()
{
    TFRMDefinirimport editor(this);
    editor.exec();
}

// ---- Send file ----

void TFormMain::mainMenuFicheroClick()
{
    App().FormExportar->exec();
    Notifica(NIVEL_REMESAS, NodoSeleccionado());
}

// ---- Add and modify ----

void TFormMain::cbtAltaClick()
{
    Inactividad.Reinicia();
    if (!panelGrdDocumentos->isHidden()) {
        AltaDocumento();
        return;
    }
    if (panelGrdRemesas->isHidden())
        return;
    DatosRemesa.Modo = RegistroNuevo;
    TFormEditRemesas *editor = App().FormEditRemesas;
    editor->SetRemesaData(RegistroNuevo, DatosRemesa.Id_remesa, DatosRemesa.Id_moneda, DatosRemesa.Id_plantilla,
                          DatosRemesa.Con_emision, DatosRemesa.Descripcion);
    editor->setWindowTitle(Rotulo(449));
    const int filas = lstGridRemesas->rowCount();
    editor->Muestra();
    if (lstGridRemesas->rowCount() > filas)
        QuedaEnGrid(lstGridRemesas, lstGridRemesas->rowCount()); // the new batch
    if (QTreeWidgetItem *nodo = NodoSeleccionado())
        ActualizaMenus(nodo);
}

void TFormMain::cbtModificacionClick()
{
    Inactividad.Reinicia();
    if (!panelGrdDocumentos->isHidden()) {
        ModificaDocumento();
        return;
    }
    const int fila = FilaSeleccion(lstGridRemesas);
    if (panelGrdRemesas->isHidden() || fila == 0)
        return;
    const QTableWidgetItem *celda = lstGridRemesas->item(fila - 1, 0);
    const std::string id = celda ? cp1252::fromQString(celda->text()) : std::string();
    if (RemesaRetenida(id)) {
        AvisoTexto(641, 6, IconoMensaje::Informacion);
        return;
    }
    DatosRemesa = STRRemesa();
    CargaRemesa(id);
    DatosRemesa.Modo = RegistroModificar;
    TFormEditRemesas *editor = App().FormEditRemesas;
    editor->SetRemesaData(RegistroModificar, DatosRemesa.Id_remesa, DatosRemesa.Id_moneda, DatosRemesa.Id_plantilla,
                          DatosRemesa.Con_emision, DatosRemesa.Descripcion);
    // Another copy may have taken the batch since the look: then nothing opens.
    _multiuser *m = App().Multiuser;
    if (!m || !m->BloqueaRemesa(Numero(id), false))
        return;
    editor->setWindowTitle(Rotulo(448));
    editor->Muestra();
}

void TFormMain::cbtAltaRapidaClick()
{
    if (App().FRMAltaRapida->exec() != QDialog::Accepted)
        return;
    const int id = GetUltimaRemesa();
    CargaArbol(IdEmpresa);
    if (QTreeWidgetItem *primero = treeInfoGlobal->topLevelItem(0)) {
        treeInfoGlobal->setCurrentItem(primero);
        ActualizaMenus(primero);
    }
    for (QTreeWidgetItemIterator i(treeInfoGlobal); *i; ++i)
        if (GetNivelNodo(*i) == ArbolRemesa && Numero(IdNodo(*i)) == id && (*i)->parent()) {
            treeInfoGlobal->setCurrentItem((*i)->parent());
            break;
        }
    Notifica(NIVEL_REMESAS, NodoSeleccionado());
}

// ---- Delete ----

void TFormMain::cbtBajaClick()
{
    Inactividad.Reinicia();
    if (!panelGrdRemesas->isHidden())
        BajaRemesas();
    else if (!panelGrdDocumentos->isHidden())
        BajaRecibos();
}

void TFormMain::BajaRemesas()
{
    const int primera = FilaSeleccion(lstGridRemesas);
    if (primera == 0)
        return;
    int ultima = primera - 1;
    for (const QTableWidgetSelectionRange &rango : lstGridRemesas->selectedRanges())
        ultima = std::max(ultima, rango.bottomRow());
    // The batches are those selected now, whatever the grid shows later.
    std::vector<std::string> ids;
    for (int fila = primera - 1; fila <= ultima; ++fila)
        if (const QTableWidgetItem *celda = lstGridRemesas->item(fila, 0); celda && !celda->text().isEmpty())
            ids.push_back(cp1252::fromQString(celda->text()));
    if (AvisoTexto(191, 192, IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi)
        return;
    QTreeWidgetItem *nodo = NodoSeleccionado();
    bool borrada = false;
    for (const std::string &id : ids) {
        bool hecha = false;
        if (!RemesaRetenida(id)) {
            PausaMultiusuario pausa(App().Multiuser);
            CursorEspera espera;
            hecha = BorraRemesa(Numero(id));
        }
        if (!hecha) {
            AvisoTexto(638, 6, IconoMensaje::Informacion);
            continue;
        }
        borrada = true;
        BorraNodoRemesa(id);
        if (const int fila = FilaDeRemesa(id); fila >= 0)
            LimpiaFilaGrid(lstGridRemesas, fila);
    }
    if (borrada)
        Notifica(NIVEL_REMESAS, nodo);
    treeInfoGlobalChange();
    QuedaEnGrid(lstGridRemesas, primera);
}

void TFormMain::BajaRecibos()
{
    const std::optional<std::vector<std::string>> ids = GetRecibosSeleccionados();
    if (!ids || AvisoTexto(193, 194, IconoMensaje::Pregunta, BotonesMensaje::OkCancelar) != RespuestaOk)
        return;
    QTreeWidgetItem *nodo = NodoSeleccionado();
    const int primera = ids->empty() ? FilaActualRecibos() : ModeloRecibos->FilaDeId(Numero(ids->front())) + 1;
    const ResultadoRecibos hecho = EnRecibos(barraProgreso, ids->size(), [&ids](const ProgresoRecibos &progreso) {
        return BorraRecibos(*ids, progreso);
    });
    Informa(hecho, 639);
    if (hecho.Cambiados > 0)
        Notifica(NIVEL_DOCUMENTOS, nodo);
    InicIndiceRecibos();
    if (nodo)
        ActualizaTotalesRemesa(Numero(IdNodo(nodo)));
    treeInfoGlobalChange();
    QuedaEnGrid(lstGridDocumentos, primera);
}

void TFormMain::QuedaEnGrid(QTableView *grid, int fila)
{
    if (const int filas = FilasDatos(grid); filas > 0) {
        fila = std::clamp(fila, 1, filas);
        if (grid == lstGridDocumentos)
            MueveARecibo(fila);
        else
            grid->setCurrentIndex(grid->model()->index(fila - 1, 1));
    }
    SafeSetFocus(grid);
}

// ---- Activate and deactivate ----

void TFormMain::cbtSeleccionarClick(QAction *sender)
{
    const std::optional<std::vector<std::string>> ids = GetRecibosSeleccionados();
    if (!ids)
        return;
    QTreeWidgetItem *nodo = NodoSeleccionado();
    const bool activo = sender == cbtSeleccionar;
    const ResultadoRecibos hecho = EnRecibos(barraProgreso, ids->size(), [&](const ProgresoRecibos &progreso) {
        return ActivaRecibos(Numero(IdNodo(nodo)), *ids, activo, progreso);
    });
    InicIndiceRecibos();
    lstGridDocumentosTopLeftChanged(true);
    Informa(hecho, 640);
    ActualizaPanelInfo();
    Notifica(NIVEL_DOCUMENTOS, nodo);
}

void TFormMain::mainMenuSeleccionarClick(QAction *sender)
{
    cbtSeleccionarClick(sender == mainMenuSeleccionar ? cbtSeleccionar : cbtDeseleccionar);
}

// ---- Currency switch ----

void TFormMain::BTNCambiaMonedaClick()
{
    Inactividad.Reinicia();
    const int fila = FilaSeleccion(lstGridRemesas) - 1;
    if (panelGrdRemesas->isHidden() || fila < 0)
        return;
    auto celda = [this, fila](int columna) {
        const QTableWidgetItem *item = lstGridRemesas->item(fila, columna);
        return item ? cp1252::fromQString(item->text()) : std::string();
    };
    const std::string id = celda(0);
    const int idRemesa = Numero(id);
    if (idRemesa <= 0)
        return;
    if (RemesaRetenida(id)) {
        AvisoTexto(643, 6, IconoMensaje::Ninguno);
        return;
    }
    const std::string moneda = celda(1);
    if (SuperaLimiteCambio(celda(7), moneda)) {
        AvisoTexto(668, 1, IconoMensaje::Error);
        return;
    }
    const std::string nueva = moneda == kMonedaEuros ? kMonedaPesetas : kMonedaEuros;
    CambioMoneda hecho;
    {
        PausaMultiusuario pausa(App().Multiuser);
        CursorEspera espera;
        Progreso progreso(barraProgreso, NumeroRecibos(idRemesa));
        hecho = CambiaMonedaRemesa(idRemesa, nueva, progreso.Funcion());
    }
    if (hecho == CambioMoneda::Retenida) {
        AvisoTexto(643, 6, IconoMensaje::Ninguno);
        return;
    }
    if (hecho == CambioMoneda::Fallida) {
        AvisoTexto(986, 1, IconoMensaje::Error);
        return;
    }
    if (_multiuser *m = App().Multiuser)
        m->NotificaActualizacion(NIVEL_DOCUMENTOS, idRemesa);
    RecargaFilaRemesa(fila, id);
    MonedaRemesa = nueva;
    ActualizaPanelInfo();
}

// ---- Grid and tree ----

int TFormMain::FilaDeRemesa(const std::string &id) const
{
    for (int fila = 0; fila < lstGridRemesas->rowCount(); ++fila) {
        const QTableWidgetItem *celda = lstGridRemesas->item(fila, 0);
        if (celda && cp1252::fromQString(celda->text()) == id)
            return fila;
    }
    return -1;
}

void TFormMain::LimpiaFilaGrid(QTableWidget *grid, int fila)
{
    for (int columna = 0; columna < grid->columnCount(); ++columna)
        if (QTableWidgetItem *celda = grid->item(fila, columna))
            celda->setText(QString());
}

// ---- CSB import ----

void TFormMain::cbtImportarClick()
{
    Inactividad.Reinicia();
    const std::unique_ptr<TfrmProceso> ventana = std::make_unique<TfrmProceso>(this);
    ventana->exec();
}
