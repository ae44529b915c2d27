// The application object, the exception guard and the support library's display hook.
#include "Programa.h"

#include "Aplicacion.h"
#include "Buscador.h"
#include "Editremesas.h"
#include "Frmcfg.h"
#include "Frmmain.h"
#include "Frmseldir.h"
#include "Frmmsg.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Propiedades.h"
#include "b_debug.h"
#include "Uniemisor.h"
#include "Uniempresa.h"
#include "Uninuevouser.h"
#include "Unipresentador.h"
#include "Uniusuarios.h"
#include "qcp1252.h"

#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
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
    bool resultado = false;
    Protege("TAplicacion::notify", [&] { resultado = QApplication::notify(receptor, evento); });
    return resultado;
}

void CreaVentanas()
{
    Aplicacion &app = App();
    app.FormMain = new TFormMain;
    app.FormLogin = new TFormLogin(app.FormMain);
    app.FormEditRemesas = new TFormEditRemesas(app.FormMain);
    app.FormProps = new TFormProps(app.FormMain);
    app.FormBuscador = new TFormBuscador(app.FormMain);
    app.FormSelDir = new TFormSelDir(app.FormMain);
    app.FRMGestionusers = new TFRMGestionusers(app.FormMain);
    app.FRMNuevoUsuario = new TFRMNuevoUsuario(app.FormMain);
    app.FRMEmpresa = new TFRMEmpresa(app.FormMain);
    app.FRMPresentador = new TFRMPresentador(app.FormMain);
    app.FRMEmisores = new TFRMEmisores(app.FormMain);
    app.FormCfg = new TFormCfg(app.FormMain);

    app.FormLogin->MuestraEmpresa = [](int idEmpresa) { App().FormMain->MuestraEmpresa(idEmpresa); };
    app.FormLogin->TituloPrincipal = [](const std::string &titulo) {
        App().FormMain->setWindowTitle(cp1252::toQString(titulo));
    };
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
