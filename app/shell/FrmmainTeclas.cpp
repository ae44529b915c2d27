// What the main window does with the user rather than the data: the form-wide shortcuts,
// the inactivity time-out, a key or a click in any window as activity, the animation's and
// the bank image's double clicks, and the menu entries whose captions follow the language.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Unitimeout.h"
#include "qcp1252.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMovie>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextEdit>
#include <QTreeWidget>
#include <memory>
#include <span>

namespace {

// A key of the table: the item whose command it runs, and whether it runs it always or
// only while the item is enabled.
struct Atajo {
    int tecla;
    QAction *TFormMain::*item;
    bool siempre;
};

constexpr Atajo kAtajosControl[] = {
    {Qt::Key_A, &TFormMain::cbtAlta, false},
    {Qt::Key_B, &TFormMain::cbtBaja, false},
    {Qt::Key_C, &TFormMain::cbtSeleccionar, false},
    {Qt::Key_D, &TFormMain::cbtDeseleccionar, false},
    {Qt::Key_E, &TFormMain::EuroCalculadora1, true},
    {Qt::Key_F, &TFormMain::mainMenuBuscar, false},
    {Qt::Key_G, &TFormMain::mainmenuConfiguracion, false},
    {Qt::Key_H, &TFormMain::mainMenuMantenimientoLibrados, false},
    {Qt::Key_I, &TFormMain::cbtImportar, false},
    {Qt::Key_L, &TFormMain::Importarlibrados1, false},
    {Qt::Key_M, &TFormMain::cbtModificacion, false},
    {Qt::Key_N, &TFormMain::cbtFinalizarSesion, true},
    {Qt::Key_O, &TFormMain::cbtInformeLibrados, false},
    {Qt::Key_P, &TFormMain::mainMenuGestionPlantillas, false},
    {Qt::Key_Q, &TFormMain::mainMenuFichero, false},
    {Qt::Key_R, &TFormMain::cbtInformeRecibos, false},
    {Qt::Key_S, &TFormMain::MNUGuardardatos, true},
    {Qt::Key_T, &TFormMain::MNUAltarpidaremesas1, false},
    {Qt::Key_U, &TFormMain::MNUDefinirplantillaimportacinsecuencial, false},
    {Qt::Key_V, &TFormMain::Importacin1, false},
    {Qt::Key_Z, &TFormMain::MNUCompactar, true},
};

constexpr Atajo kAtajosSinControl[] = {
    {Qt::Key_F1, &TFormMain::cbtAyuda, true},
    {Qt::Key_F3, &TFormMain::mainBuscarsiguiente, false},
};

// Ctrl+A, C, V, X and Z keep their editing meaning in a text box.
bool EsTeclaDeEdicion(const QObject *receptor, int tecla, Qt::KeyboardModifiers teclas)
{
    const bool caja = qobject_cast<const QLineEdit *>(receptor) || qobject_cast<const QTextEdit *>(receptor) ||
                      qobject_cast<const QPlainTextEdit *>(receptor) ||
                      qobject_cast<const QAbstractSpinBox *>(receptor);
    return caja && (teclas & Qt::ControlModifier) &&
           (tecla == Qt::Key_A || tecla == Qt::Key_C || tecla == Qt::Key_V || tecla == Qt::Key_X ||
            tecla == Qt::Key_Z);
}

// Watches the keys and clicks of every window of the program before its controls see them:
// each one counts as activity. The main window's shortcuts look at a key once, when it
// reaches the control that has the focus (not again while it goes up to the parents), and a
// key that ran a command goes no further.
class VigilaTeclas : public QObject {
public:
    explicit VigilaTeclas(TFormMain *main) : QObject(main), m_main(main) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        switch (evento->type()) {
        case QEvent::ShortcutOverride: // a key that runs a shortcut never arrives as a press
            Inactividad.Reinicia();
            return false;
        case QEvent::KeyPress: {
            Inactividad.Reinicia();
            const auto *control = qobject_cast<QWidget *>(objeto);
            QWidget *foco = QApplication::focusWidget();
            if (!control || control->window() != m_main || objeto != (foco ? foco : m_main))
                return false;
            const auto *tecla = static_cast<QKeyEvent *>(evento);
            if (m_main->CambiaPanel(tecla->key(), tecla->modifiers()))
                return true;
            if (EsTeclaDeEdicion(objeto, tecla->key(), tecla->modifiers()))
                return false;
            return m_main->TeclasRapidas(tecla->key(), tecla->modifiers());
        }
        case QEvent::MouseButtonPress:
            m_main->FormClick();
            return false;
        case QEvent::MouseButtonDblClick:
            if (objeto == m_main->aviAlicated)
                m_main->panelIconoDblClick();
            else if (objeto == m_main->imgETelvirana)
                m_main->imgETelviranaDblClick();
            return false;
        case QEvent::MouseMove:
            if (objeto == m_main->imgETelvirana)
                m_main->imgETelviranaMouseMove();
            return false;
        default:
            return false;
        }
    }

private:
    TFormMain *m_main;
};

} // namespace

bool TFormMain::TeclasRapidas(int tecla, Qt::KeyboardModifiers teclas)
{
    const bool control = teclas & Qt::ControlModifier;
    for (const Atajo &atajo : control ? std::span<const Atajo>(kAtajosControl) : std::span<const Atajo>(kAtajosSinControl)) {
        if (atajo.tecla != tecla)
            continue;
        QAction *item = this->*atajo.item;
        if (atajo.siempre ? !Disponible(item) : !item->isEnabled())
            return false;
        if (item->isEnabled())
            item->trigger();
        else
            emit item->triggered(false);
        return true;
    }
    return false;
}

bool TFormMain::CambiaPanel(int tecla, Qt::KeyboardModifiers teclas)
{
    const bool control = teclas & Qt::ControlModifier;
    if (!(tecla == Qt::Key_F6 && !control) && !(control && (tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab)))
        return false;
    QWidget *foco = QApplication::focusWidget();
    QTableView *grid = GridVisible();
    if (grid && (foco == grid || grid->isAncestorOf(foco)))
        treeInfoGlobal->setFocus(Qt::BacktabFocusReason);
    else if (grid)
        grid->setFocus(Qt::TabFocusReason);
    return true;
}

void TFormMain::TimeOutInactividad()
{
    const bool enLogin = App().FormLogin && App().FormLogin->isVisible();
    if (!isVisible() || enLogin) {
        Inactividad.Reinicia();
        return;
    }
    auto aviso = std::make_unique<TFRMTimeOut>(this);
    if (aviso->exec() != TFRMTimeOut::kQuedarse) {
        aviso.reset();
        TerminaAplicacion();
        return;
    }
    Inactividad.Reinicia();
}

void TFormMain::FormClick()
{
    Inactividad.Reinicia();
}

void TFormMain::panelIconoDblClick()
{
    if (QMovie *pelicula = aviAlicated->movie())
        pelicula->setPaused(pelicula->state() == QMovie::Running);
}

void TFormMain::imgETelviranaDblClick()
{
    CursorEspera espera;
    AbreNavegador(WWWBrowserEXEName, URLTelvirana);
}

void TFormMain::imgETelviranaMouseMove()
{
    imgETelvirana->setToolTip(cp1252::toQString(URLTelvirana));
}

void TFormMain::VigilaUsuario()
{
    App().Multiuser->Host.TimeOutInactividad = [this] { TimeOutInactividad(); };
    new VigilaTeclas(this);
    // The menus show their keys, but only TeclasRapidas runs them: an item's own shortcut
    // acts only inside its open menu.
    for (QAction *item : findChildren<QAction *>())
        if (!item->shortcut().isEmpty())
            item->setShortcutContext(Qt::WidgetShortcut);

    const std::pair<int, QAction *> textos[] = {
        {230, MNUAltarpidaremesas1},
        {231, mainMenuArchivo->menuAction()},
        {232, mainMenuFichero},
        {233, mainMenuImportar},
        {234, MNUImportacionSecuencial->menuAction()},
        {235, mainMenuFinalizarSesion},
        {236, mainMenuSalir},
        {237, mainMenuEdicion->menuAction()},
        {238, mainMenuAlta},
        {239, mainMenuBaja},
        {240, mainMenuModificacion},
        {241, mainMenuModificacionesMasivas->menuAction()},
        {242, mainMenuModificacionImportes},
        {243, mainMenuModificacionConceptos},
        {244, mainMenuModificacionCDevolucion},
        {245, mainMenuModificacionRefInterna},
        {246, mainMenuModificacionFVencimiento},
        {247, mainMenuSeleccionar},
        {248, mainMenuDeseleccionar},
        {249, mainMenuBuscar},
        {250, mainMenuHerramientas->menuAction()},
        {251, mainMenuInformes->menuAction()},
        {252, mainMenuInformeRecibos},
        {253, mainMenuInformeLibrados},
        {254, mainMenuMantenimientoLibrados},
        {255, mainMenuGestionPlantillas},
        {256, mainmenuConfiguracion},
        {257, mainMenuIdioma->menuAction()},
        {258, MNUCastellano},
        {259, MNUIngles},
        {260, MNUCatalan},
        {262, mainMenuAyuda->menuAction()},
        {263, mainMenuAcercaDe},
        {264, MNUHerramientasBD->menuAction()},
        {265, MNUReparar},
        {266, MNUCompactar},
        {269, MNUDefinirplantillaimportacinsecuencial},
    };
    for (const auto &[texto, item] : textos)
        ::Idioma.RegistraEntrada(texto, item);
}
