// The application object, the exception guard and the support library's display hook.
#include "Programa.h"

#include "Altarapida.h"
#include "Aplicacion.h"
#include "Buscador.h"
#include "Cfgfile.h"
#include "Editdocumentos.h"
#include "Editremesas.h"
#include "Exportar.h"
#include "Frmcfg.h"
#include "Frmchooseinforme.h"
#include "Frmchoosemodmasivas.h"
#include "Frmlistdocs.h"
#include "Frmlibrados.h"
#include "Frmlistemi.h"
#include "Frmmain.h"
#include "Frmmmconceptos.h"
#include "Frmmmdato.h"
#include "Frmrptemi.h"
#include "Frmseldir.h"
#include "Lstdocs.h"
#include "Frmmsg.h"
#include "General.h"
#include "Importlibrados.h"
#include "Guardarcomo.h"
#include "Login.h"
#include "ModeloRecibos.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Pantalla.h"
#include "Propiedades.h"
#include "Recordeuro.h"
#include "Seleccemisor.h"
#include "b_debug.h"
#include "Uniemisor.h"
#include "Unieuro.h"
#include "Uniintro.h"
#include "Uniempresa.h"
#include "Unirelacion.h"
#include "Unithistoricos.h"
#include "Unitopcionales.h"
#include "Uninuevouser.h"
#include "Unialtacampo.h"
#include "Unialtalinea.h"
#include "Uniopcsimport.h"
#include "Unipresentador.h"
#include "Uniusuarios.h"
#include "qcp1252.h"

#include <QLibraryInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QTableView>
#include <QTreeWidgetItem>
#include <exception>
#include <string>

namespace {

void MuestraExcepcion(std::string_view etiqueta, const std::string &mensaje)
{
    WriteLog("[ " + std::string(etiqueta) + " ] " + mensaje);
    CajaMensaje(mensaje, Idioma.GetTexto(1), IconoMensaje::Error);
}

// The box of an assertion or a warning, over the active window.
int CajaDebug(void *, const char *titulo, const char *texto, int icono)
{
    QMessageBox caja(icono == B_DEBUG_ICON_STOP ? QMessageBox::Critical : QMessageBox::Information,
                     cp1252::toQString(titulo), cp1252::toQString(texto), QMessageBox::Ok | QMessageBox::Cancel,
                     QApplication::activeWindow());
    return caja.exec() == QMessageBox::Cancel ? B_DEBUG_CANCEL : B_DEBUG_OK;
}

// The list window of the trace lines, created at the first line shown over a window.
void LineaDebug(void *, const char *linea)
{
    static QPointer<QListWidget> lista;
    if (!lista) {
        if (!QApplication::activeWindow())
            return;
        lista = new QListWidget;
        lista->setAttribute(Qt::WA_DeleteOnClose);
        lista->setWindowTitle(QStringLiteral(B_DEBUG_LIST_TITLE));
        lista->resize(600, 300);
        lista->show();
    }
    lista->addItem(cp1252::toQString(linea));
    lista->setCurrentRow(lista->count() - 1);
}

// The bill editor reads the main window: the format of the presenter in view, the batch
// selected in the tree and its issuer, the bill of the grid's selection, the provinces.
void ConectaEditDocumentos(TFormEditDocumentos &editor)
{
    editor.Host.Destino = [] {
        const TFormMain *m = App().FormMain;
        DestinoRecibo d;
        d.TipoOrden = GetTipoOrden(m->GetTipoOrden());
        d.IdUsuario = Numero(App().FormLogin->LoginData.Id_usuario);
        if (const QTreeWidgetItem *nodo = m->NodoSeleccionado();
            nodo && TFormMain::GetNivelNodo(nodo) == ArbolRemesa) {
            d.IdRemesa = Numero(TFormMain::IdNodo(nodo));
            d.IdEmisor = Numero(TFormMain::IdNodo(nodo->parent()));
        }
        if (const int fila = m->FilaSeleccion(m->lstGridDocumentos); fila > 0)
            d.IdDocumento = m->ModeloRecibos->IdFila(fila - 1);
        return d;
    };
    editor.Host.GetProvincia = [](const std::string &codigo) { return App().FormMain->GetProvincia(codigo); };
    editor.Host.ActualizaPanelInfo = [] { App().FormMain->ActualizaPanelInfo(); };
    editor.Host.Ordenante = [] { return App().FormMain->GetNombreEmisorSeleccionado(); };
    // The bill changed stays the current one; a new bill is reached as by a plain move.
    editor.Host.RefrescaRecibos = [](int idDocumento) {
        TFormMain *m = App().FormMain;
        const int actual = m->FilaActualRecibos();
        const bool nuevo = actual == 0 || m->ModeloRecibos->IdFila(actual - 1) != idDocumento;
        m->RefrescaRecibos();
        const int fila = m->ModeloRecibos->FilaDeId(idDocumento);
        if (fila >= 0 && nuevo)
            m->MueveARecibo(fila + 1);
        else if (fila >= 0)
            m->SetFilaActualRecibos(fila + 1);
    };
}

} // namespace

void Protege(std::string_view etiqueta, const std::function<void()> &accion)
{
    try {
        accion();
    } catch (const std::exception &e) {
        MuestraExcepcion(etiqueta, e.what());
    } catch (...) {
        MuestraExcepcion(etiqueta, "Excepci\xF3n desconocida");
    }
}

TAplicacion::TAplicacion(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TAplicacion::notify(QObject *receptor, QEvent *evento)
{
    // A window is fitted to its screen after its own show handling, before it appears.
    const bool muestra = evento->type() == QEvent::Show && !evento->spontaneous() && receptor->isWidgetType();
    const QPointer<QObject> mostrado(muestra ? receptor : nullptr);
    bool resultado = false;
    Protege("TAplicacion::notify", [&] { resultado = QApplication::notify(receptor, evento); });
    if (muestra && mostrado)
        AjustaAPantalla(static_cast<QWidget *>(receptor));
    return resultado;
}

void CreaVentanas()
{
    Aplicacion &app = App();
    app.FormMain = new TFormMain;
    app.FormLogin = new TFormLogin(app.FormMain);
    app.FormEditRemesas = new TFormEditRemesas(app.FormMain);
    app.frmLibrados = new TfrmLibrados(app.FormMain);
    app.FormProps = new TFormProps(app.FormMain);
    app.FormBuscador = new TFormBuscador(app.FormMain);
    app.FRMHistoricos = new TFRMHistoricos(app.FormMain);
    app.FRMRelacion = new TFRMRelacion(app.FormMain);
    app.FRMOpcion = new TFRMOpcion(app.FRMHistoricos);
    app.FormMMConceptos = new TFormMMConceptos(app.FormMain);
    app.FormChooseInforme = new TFormChooseInforme(app.FormMain);
    app.FormSelDir = new TFormSelDir(app.FormMain);
    app.FRMGestionusers = new TFRMGestionusers(app.FormMain);
    app.FRMNuevoUsuario = new TFRMNuevoUsuario(app.FormMain);
    app.FRMEmpresa = new TFRMEmpresa(app.FormMain);
    app.FRMPresentador = new TFRMPresentador(app.FormMain);
    app.FRMEmisores = new TFRMEmisores(app.FormMain);
    app.FormRptEmi = new TFormRptEmi(app.FormMain);
    app.FRMOpcionImport = new TFRMOpcionImport(app.FormMain);
    app.FormCfg = new TFormCfg(app.FormMain);
    app.FormEditDocumentos = new TFormEditDocumentos(app.FormMain);
    app.FormListEmi = new TFormListEmi(app.FormMain);
    app.FormExportar = new TFormExportar(app.FormMain);
    app.FormRptDocs = new TFormRptDocs(app.FormMain);
    app.FormListDocs = new TFormListDocs(app.FormMain);
    app.FormMMDato = new TFormMMDato(app.FormMain);
    app.FRMAltaCampo = new TFRMAltaCampo(app.FormMain);
    app.FRMAltaLinea = new TFRMAltaLinea(app.FormMain);
    app.FRMAltaRapida = new TFRMAltaRapida(app.FormMain);
    app.FRMEuroCalc = new TFRMEuroCalc(app.FormMain);
    app.FRMModMasivas = new TFRMModMasivas(app.FormMain);
    app.FRMImportLibrados = new TFRMImportLibrados(app.FormMain);
    app.FRMGuardarComo = new TFRMGuardarComo(app.FormMain);
    app.FRMSelectEmisor = new TFRMSelectEmisor(app.FormMain);
    app.FRMRecordeuro = new TFRMRecordeuro(app.FormMain);

    app.FormLogin->MuestraEmpresa = [](int idEmpresa) { App().FormMain->MuestraEmpresa(idEmpresa); };
    app.FormLogin->ImportaUsuarios = [](const std::string &ruta) { ImportaFicheroUsuarios(ruta); };
    app.FormLogin->AyudaInicial = [](QWidget *dueno) -> QDialog * { return new TFRMIntroduccion(dueno); };
    app.FormLogin->RecordatorioEuro = [](QWidget *dueno) -> QDialog * {
        if (QDate::currentDate() < App().FormMain->FechaEuro)
            return nullptr;
        // Owned by the login, so that the login's modality leaves it usable.
        TFRMRecordeuro *recordatorio = App().FRMRecordeuro;
        recordatorio->setParent(dueno, recordatorio->windowFlags());
        return recordatorio;
    };
    app.FormLogin->TituloPrincipal = [](const std::string &titulo) {
        App().FormMain->setWindowTitle(cp1252::toQString(titulo));
    };
    ConectaEditDocumentos(*app.FormEditDocumentos);
    app.FormMMDato->MonedaRemesa = [] { return App().FormMain->MonedaRemesa; };
    app.FRMAltaRapida->IdEmpresa = [] { return App().FormMain->IdEmpresa; };
}

void DestruyeVentanas()
{
    Aplicacion &app = App();
    if (!app.FormMain)
        return;
    app.FormMain->FormDestroy();
    delete app.FormMain; // the others are its children
    app = Aplicacion();
}

void InstalaPantallaDebug()
{
    const B_DebugDisplay_t pantalla{CajaDebug, LineaDebug, nullptr};
    DebugSetDisplay(&pantalla);
}

bool TraduccionQt::Carga()
{
    return load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QString TraduccionQt::translate(const char *contexto, const char *texto, const char *desambiguacion, int n) const
{
    const QString traducido = QTranslator::translate(contexto, texto, desambiguacion, n);
    if (traducido.isEmpty() && qstrcmp(contexto, "QAbstractFileIconProvider") == 0)
        return QTranslator::translate("QFileDialog", texto, desambiguacion, n);
    return traducido;
}
