// The main window's shortcuts, the inactivity time-out, the captions that follow the
// language and the underlined letters of every window, driven through the real windows.
#include "arranque.h"
#include "rejillas.h"

#include "Acerca.h"
#include "Aplicacion.h"
#include "Editdocumentos.h"
#include "Frmcfg.h"
#include "Frmlibrados.h"
#include "Frmplantillas.h"
#include "Frmrptemi.h"
#include "Frmseldir.h"
#include "General.h"
#include "Guardarcomo.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Propiedades.h"
#include "Recordeuro.h"
#include "Seleccemisor.h"
#include "Unialtacampo.h"
#include "Unialtalinea.h"
#include "Unidefinirimport.h"
#include "Uniempresa.h"
#include "Uniemisor.h"
#include "Uninuevouser.h"
#include "Uniopcsimport.h"
#include "Unipresentador.h"
#include "Unithistoricos.h"
#include "Unitimeout.h"
#include "Uniusuarios.h"
#include "profile.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <map>
#include <span>

namespace {

using arranque::Carpeta;
using arranque::Ventanas;

// The main window shown without its login, active, the tree with the focus.
void MuestraSinLogin(TFormMain *m)
{
    m->SaltarLogin = true;
    ASSERT_TRUE(Activa(m));
    m->treeInfoGlobal->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), m->treeInfoGlobal);
}

// The item's command replaced by a count of its runs; connected or not, enabled or not.
void Cuenta(TFormMain *m, QAction *item, int &veces, bool conectado, bool habilitado)
{
    QObject::disconnect(item, &QAction::triggered, m, nullptr);
    QObject::connect(item, &QAction::triggered, m, [&veces] { ++veces; });
    item->setProperty("disponible", conectado);
    item->setEnabled(conectado && habilitado);
}

struct Atajo {
    Qt::Key tecla;
    bool control;
    const char *item;
    bool siempre; // runs while connected, enabled or not
};

constexpr Atajo kAtajos[] = {
    {Qt::Key_A, true, "cbtAlta", false},
    {Qt::Key_B, true, "cbtBaja", false},
    {Qt::Key_C, true, "cbtSeleccionar", false},
    {Qt::Key_D, true, "cbtDeseleccionar", false},
    {Qt::Key_E, true, "EuroCalculadora1", true},
    {Qt::Key_F, true, "mainMenuBuscar", false},
    {Qt::Key_G, true, "mainmenuConfiguracion", false},
    {Qt::Key_H, true, "mainMenuMantenimientoLibrados", false},
    {Qt::Key_I, true, "cbtImportar", false},
    {Qt::Key_L, true, "Importarlibrados1", false},
    {Qt::Key_M, true, "cbtModificacion", false},
    {Qt::Key_N, true, "cbtFinalizarSesion", true},
    {Qt::Key_O, true, "cbtInformeLibrados", false},
    {Qt::Key_P, true, "mainMenuGestionPlantillas", false},
    {Qt::Key_Q, true, "mainMenuFichero", false},
    {Qt::Key_R, true, "cbtInformeRecibos", false},
    {Qt::Key_S, true, "MNUGuardardatos", true},
    {Qt::Key_T, true, "MNUAltarpidaremesas1", false},
    {Qt::Key_U, true, "MNUDefinirplantillaimportacinsecuencial", false},
    {Qt::Key_V, true, "Importacin1", false},
    {Qt::Key_Z, true, "MNUCompactar", true},
    {Qt::Key_F1, false, "cbtAyuda", true},
    {Qt::Key_F3, false, "mainBuscarsiguiente", false},
};

TEST(Teclas, EachKeyRunsItsCommandOnceWhenItMayAndNeverOtherwise)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraSinLogin(m);
    const struct {
        bool conectado, habilitado;
    } estados[] = {{true, true}, {true, false}, {false, false}};
    for (const Atajo &a : kAtajos)
        for (const auto &e : estados) {
            QAction *item = m->findChild<QAction *>(QLatin1String(a.item));
            ASSERT_TRUE(item) << a.item;
            int veces = 0;
            Cuenta(m, item, veces, e.conectado, e.habilitado);
            const int esperadas = e.conectado && (e.habilitado || a.siempre) ? 1 : 0;
            QTest::keyClick(m->treeInfoGlobal, a.tecla, a.control ? Qt::ControlModifier : Qt::NoModifier);
            EXPECT_EQ(veces, esperadas) << a.item << " conectado " << e.conectado << " habilitado " << e.habilitado;
            if (!a.control) {
                veces = 0;
                item->setEnabled(e.conectado);
                QTest::keyClick(m->treeInfoGlobal, a.tecla, Qt::ControlModifier);
                EXPECT_EQ(veces, 0) << "Ctrl+" << a.item;
            }
        }
}

TEST(Teclas, CtrlCountsWhateverOtherModifierIsDownAndAloneTheLetterDoesNothing)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraSinLogin(m);
    int veces = 0;
    Cuenta(m, m->MNUGuardardatos, veces, true, true);
    const struct {
        Qt::KeyboardModifiers teclas;
        int veces;
    } casos[] = {
        {Qt::ControlModifier | Qt::ShiftModifier, 1},
        {Qt::ControlModifier | Qt::AltModifier, 1},
        {Qt::NoModifier, 0},
        {Qt::ShiftModifier, 0},
    };
    for (const auto &c : casos) {
        veces = 0;
        QTest::keyClick(m->treeInfoGlobal, Qt::Key_S, c.teclas);
        EXPECT_EQ(veces, c.veces) << c.teclas.toInt();
    }
}

TEST(Teclas, AnyKeyRestartsTheInactivityCount)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraSinLogin(m);
    const struct {
        Qt::Key tecla;
        Qt::KeyboardModifiers teclas;
    } casos[] = {
        {Qt::Key_J, Qt::ControlModifier},
        {Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_J, Qt::NoModifier},
        {Qt::Key_F5, Qt::NoModifier},
    };
    for (const auto &c : casos) {
        Inactividad.Ticks = 100;
        QTest::keyClick(m->treeInfoGlobal, c.tecla, c.teclas);
        EXPECT_EQ(Inactividad.Ticks, 0) << QKeySequence(c.tecla | c.teclas).toString().toStdString();
    }
    Inactividad.Ticks = 100;
    QTest::mouseClick(m, Qt::LeftButton, Qt::NoModifier, QPoint(2, m->height() - 2));
    EXPECT_EQ(Inactividad.Ticks, 0) << "a click on the window";
}

TEST(Teclas, ATextBoxKeepsItsEditingKeys)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraSinLogin(m);
    int activar = 0, alta = 0;
    Cuenta(m, m->cbtSeleccionar, activar, true, true);
    Cuenta(m, m->cbtAlta, alta, true, true);
    auto *caja = new QLineEdit(QStringLiteral("copiado"), m->statusMainWindow);
    m->statusMainWindow->addWidget(caja);
    caja->show();
    caja->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), caja);
    QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(caja, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("copiado"));
    EXPECT_EQ(activar + alta, 0);
    int guardar = 0;
    Cuenta(m, m->MNUGuardardatos, guardar, true, true);
    QTest::keyClick(caja, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(guardar, 1) << "other keys still run their commands";
}

// ---- Underlined letters ----

// Each visible entry's text into the last group, then each submenu's as a group of its own.
void Entradas(const QList<QAction *> &entradas, std::vector<std::vector<QString>> &grupos)
{
    for (const QAction *entrada : entradas)
        if (entrada->isVisible())
            grupos.back().push_back(entrada->text());
    for (const QAction *entrada : entradas)
        if (entrada->isVisible() && entrada->menu()) {
            grupos.emplace_back();
            Entradas(entrada->menu()->actions(), grupos);
        }
}

// The texts a user sees at once in a window, each group apart: its buttons and its menu
// bar, then each menu. A button counts with its text shown (not a bar's icon); a check box
// or a radio button only with a letter.
std::vector<std::vector<QString>> Rotulos(QWidget *ventana)
{
    std::vector<std::vector<QString>> grupos(1);
    for (const QAbstractButton *boton : ventana->findChildren<QAbstractButton *>()) {
        const auto *herramienta = qobject_cast<const QToolButton *>(boton);
        const bool cuenta = herramienta ? herramienta->toolButtonStyle() != Qt::ToolButtonIconOnly
                                        : qobject_cast<const QPushButton *>(boton) ||
                                              !QKeySequence::mnemonic(boton->text()).isEmpty();
        if (cuenta && boton->isVisible() && boton->window() == ventana)
            grupos[0].push_back(boton->text());
    }
    if (auto *principal = qobject_cast<QMainWindow *>(ventana))
        Entradas(principal->menuBar()->actions(), grupos);
    return grupos;
}

QSet<QWidget *> Visibles()
{
    QSet<QWidget *> visibles;
    for (QWidget *ventana : QApplication::topLevelWidgets())
        if (ventana->isVisible() && !qobject_cast<QMenu *>(ventana))
            visibles.insert(ventana);
    return visibles;
}

QWidget *Nueva(const QSet<QWidget *> &antes)
{
    for (QWidget *ventana : Visibles())
        if (!antes.contains(ventana))
            return ventana;
    return nullptr;
}

// A step on the window in front: it shows a window (a modal one runs the next steps inside
// it) or changes what the window shows.
using Paso = std::function<void(QWidget *)>;

// Runs the steps from the window in front; revisa gets the last window in front, then each
// window the steps showed closes.
void Recorre(QWidget *frente, std::span<const Paso> pasos, const std::function<void(QWidget *)> &revisa)
{
    if (pasos.empty()) {
        revisa(frente);
        return;
    }
    const QSet<QWidget *> antes = Visibles();
    bool seguido = false;
    auto sigue = [&](QWidget *ventana) {
        seguido = true;
        Recorre(ventana, pasos.subspan(1), revisa);
        if (ventana == frente)
            return;
        if (auto *dialogo = qobject_cast<QDialog *>(ventana))
            dialogo->done(QDialog::Rejected); // without the questions of a Cancelar
        else
            ventana->close();
    };
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (QWidget *ventana = Nueva(antes)) {
            vigia.stop();
            sigue(ventana);
        }
    });
    vigia.start(5);
    pasos[0](frente);
    vigia.stop();
    if (!seguido) {
        QWidget *ventana = Nueva(antes);
        sigue(ventana ? ventana : frente);
    }
}

Paso Lanza(QAction *comando)
{
    return [comando](QWidget *) { comando->trigger(); };
}

Paso Abre(QDialog *ventana)
{
    return [ventana](QWidget *) { ventana->exec(); };
}

// The button of the window in front.
template<class V, class B>
Paso Pulsa(B *V::*boton)
{
    return [boton](QWidget *ventana) { (qobject_cast<V *>(ventana)->*boton)->click(); };
}

class Letras : public rejillas::Rejillas {};

// Qt runs an underlined letter at once when it names one control only: in each window as it
// usually shows, every button and menu entry a user sees has a letter, none shared with
// another in sight.
TEST_F(Letras, EachButtonAndMenuEntryInSightHasALetterOfItsOwn)
{
    for (const char *aviso : {"PresentarAyuda", "PresentarRecordatorioEuro"}) // unticked: the login alone
        profile::writeString(carpeta.Ini(), "General", aviso, "No");
    for (const char *sql : {"INSERT INTO [Plantillas( Datos )] (Id_plantilla,Nombre) VALUES (7,'Cuotas')",
                            "UPDATE [Remesas()] SET Id_plantilla=7 WHERE Id_remesa=1"})
        ASSERT_TRUE(arranque::Ejecuta(sql));
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 2)));
    ::Idioma.SetIdiomaPorNombre("Castellano"); // the captions as the first show gives them
    const Aplicacion &app = App();
    app.FRMGestionusers->Mantenimiento = true; // as the maintenance code opens it
    const Paso marca = [this](QWidget *) { ClicRecibo(1); };
    const Paso febrero = [this](QWidget *) { // the batch sent
        m->lstGridRemesas->setCurrentItem(m->lstGridRemesas->findItems(QStringLiteral("Febrero"), {}).value(0));
    };
    const Paso plantilla = [](QWidget *v) {
        auto *editor = qobject_cast<TFormEditDocumentos *>(v);
        editor->tabGeneral->setCurrentWidget(editor->tabPlantilla);
    };
    const Paso empresa = [](QWidget *v) {
        QTreeWidget *arbol = qobject_cast<TFRMNuevoUsuario *>(v)->TREEEmpresas;
        arbol->setCurrentItem(arbol->topLevelItem(0)->child(0));
    };
    const Paso informe = [](QWidget *) {
        App().FormRptEmi->SetEmisores({1});
        App().FormRptEmi->Previsualiza();
    };
    const struct {
        const char *ventana; // the class of the window in front after the steps
        int nivel, id;       // the tree node selected first
        std::vector<Paso> pasos;
    } ventanas[] = {
        {"TFormMain", -1, 0, {}},
        {"TFormLogin", -1, 0, {Abre(app.FormLogin)}},
        {"TFRMGestionusers", -1, 0, {Abre(app.FRMGestionusers)}},
        {"TFRMNuevoUsuario", -1, 0, {Abre(app.FRMGestionusers), Pulsa(&TFRMGestionusers::BTNModificacion)}},
        {"TFRMNuevoUsuario", -1, 0,
         {Abre(app.FRMGestionusers), Pulsa(&TFRMGestionusers::BTNModificacion), empresa}},
        {"TFRMEmpresa", -1, 0, {Abre(app.FRMEmpresa)}},
        {"TFRMPresentador", -1, 0, {Abre(app.FRMPresentador)}},
        {"TFRMEmisores", -1, 0, {Abre(app.FRMEmisores)}},
        {"TFormEditRemesas", ArbolEmisor, 1, {Lanza(m->cbtAlta)}},
        {"TFRMAltaRapida", ArbolEmisor, 1, {Lanza(m->MNUAltarpidaremesas1)}},
        {"TFormEditDocumentos", ArbolRemesa, 1, {Lanza(m->cbtAlta)}},
        {"TFormEditDocumentos", ArbolRemesa, 3, {Lanza(m->cbtAlta)}},
        {"TFormEditDocumentos", ArbolRemesa, 1, {Lanza(m->cbtAlta), Pulsa(&TFormEditDocumentos::cbtLibrado)}},
        {"TFormEditDocumentos", ArbolRemesa, 1, {Lanza(m->cbtAlta), plantilla}},
        {"TfrmLibrados", ArbolEmisor, 1, {Lanza(m->mainMenuMantenimientoLibrados)}},
        {"TFRMModMasivas", ArbolRemesa, 1, {marca, Lanza(m->cbtModMasivas)}},
        {"TFormMMDato", ArbolRemesa, 1, {marca, Lanza(m->mainMenuModificacionImportes)}},
        {"TFormMMConceptos", ArbolRemesa, 1, {marca, Lanza(m->mainMenuModificacionConceptos)}},
        {"TFormBuscador", ArbolEmisor, 1, {Lanza(m->mainMenuBuscar)}},
        {"TFormPlantillas", ArbolEmisor, 1, {Lanza(m->mainMenuGestionPlantillas)}},
        {"TFRMGuardarComo", -1, 0, {Abre(app.FRMGuardarComo)}},
        {"TFormExportar", ArbolPresentador, 1, {Lanza(m->mainMenuFichero)}},
        {"TFRMRelacion", ArbolEmisor, 1, {febrero, Lanza(m->MNUHistoricos)}},
        {"TFRMHistoricos", -1, 0, {Abre(app.FRMHistoricos)}},
        {"TfrmProceso", ArbolRemesa, 1, {Lanza(m->mainMenuImportar)}},
        {"TFRMImportLibrados", ArbolEmisor, 1, {Lanza(m->Importarlibrados1)}},
        {"TFRMSelectEmisor", -1, 0, {Abre(app.FRMSelectEmisor)}},
        {"TFormChooseInforme", ArbolRemesa, 1, {Lanza(m->cbtMasterInforme)}},
        {"TFormListDocs", ArbolRemesa, 1, {Lanza(m->mainMenuInformeRecibos)}},
        {"TFormListEmi", ArbolRemesa, 1, {Lanza(m->mainMenuInformeLibrados)}},
        {"TPreviewForm", ArbolRemesa, 1, {informe}},
        {"TFRMImportuser", ArbolRemesa, 1, {Lanza(m->Importacin1)}},
        {"TFRMDefinirimport", -1, 0, {Lanza(m->MNUDefinirplantillaimportacinsecuencial)}},
        {"TFRMAltaLinea", -1, 0, {Abre(app.FRMAltaLinea)}},
        {"TFRMAltaCampo", -1, 0, {Abre(app.FRMAltaCampo)}},
        {"TFRMOpcionImport", -1, 0, {Abre(app.FRMOpcionImport)}},
        {"TFormProps", -1, 0, {Abre(app.FormProps)}},
        {"TFormCfg", -1, 0, {Lanza(m->mainmenuConfiguracion)}},
        {"TFormSelDir", -1, 0, {Abre(app.FormSelDir)}},
        {"TFRMEuroCalc", -1, 0, {Lanza(m->EuroCalculadora1)}},
        {"TFRMIntroduccion", -1, 0, {Lanza(m->menuAyudaAproximacion)}},
        {"TFRMRecordeuro", -1, 0, {Abre(app.FRMRecordeuro)}},
        {"TAcercaDe", -1, 0, {Lanza(m->mainMenuAcercaDe)}},
        {"QMessageBox", ArbolEmisor, 1, {Lanza(m->cbtBaja)}},
    };
    for (const auto &v : ventanas) {
        if (v.nivel >= 0)
            Selecciona(v.nivel, v.id);
        Recorre(m, v.pasos, [&](QWidget *ventana) {
            const std::string fila = std::to_string(&v - ventanas) + " " + v.ventana;
            ASSERT_STREQ(ventana->metaObject()->className(), v.ventana) << fila;
            for (const std::vector<QString> &grupo : Rotulos(ventana)) {
                std::map<QKeySequence, QString> letras;
                for (const QString &texto : grupo) {
                    if (std::none_of(texto.begin(), texto.end(), [](QChar c) { return c.isLetter(); }))
                        continue; // "...", ">:<"
                    const QKeySequence letra = QKeySequence::mnemonic(texto);
                    if (letra.isEmpty()) {
                        ADD_FAILURE() << fila << ": " << texto.toStdString();
                        continue;
                    }
                    const auto [vista, nueva] = letras.emplace(letra, texto);
                    EXPECT_TRUE(nueva) << fila << ": " << texto.toStdString() << " and " << vista->second.toStdString();
                }
            }
        });
    }
}

// ---- The grids' keys ----

class TeclasGrid : public rejillas::Rejillas {};

// No key moves the current bill away from the marked one: typing edits its amount, and after a
// delete the keys stay in the grid on the row that took the deleted one's place.
TEST_F(TeclasGrid, TypingEditsTheMarkedBillAndNoKeyOrDeleteTakesTheKeysAwayFromIt)
{
    const auto pulsa = [](Qt::Key tecla) { QTest::keyClick(QApplication::focusWidget(), tecla); };
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 40)));
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(Activa(m));
    ClicRecibo(2);
    // The row current and marked after the key (0: any past row 2); "T" searches no "TRUE".
    const std::pair<Qt::Key, int> pasos[] = {{Qt::Key_T, 2}, {Qt::Key_Tab, 2}, {Qt::Key_PageDown, 0},
                                             {Qt::Key_End, 40}, {Qt::Key_Home, 1}};
    for (const auto &[tecla, fila] : pasos) {
        for (int i = 0; i < (tecla == Qt::Key_Tab ? 9 : 1); ++i)
            pulsa(tecla);
        const int actual = m->FilaActualRecibos();
        EXPECT_EQ(Marcadas(), std::vector<int>{actual}) << tecla;
        EXPECT_TRUE(fila ? actual == fila : actual > 2) << tecla;
    }
    for (const QChar c : QStringLiteral("12.43"))
        Teclea(QApplication::focusWidget(), c);
    pulsa(Qt::Key_Return);
    const std::string id = std::to_string(m->ModeloRecibos->IdFila(0));
    EXPECT_EQ(arranque::Valor("SELECT Importe FROM [Documentos()] WHERE Id_documento=" + id, "Importe"), "12.43");
    EXPECT_EQ(QApplication::focusWidget(), m->lstGridDocumentos);
    pulsa(Qt::Key_F2);
    EXPECT_EQ(QApplication::focusWidget(), m->EditorCelda(m->lstGridDocumentos)) << "F2 edits the amount";
    pulsa(Qt::Key_Escape);

    RespondeCajas si({QMessageBox::Ok, QMessageBox::Yes});
    const int siguiente = m->ModeloRecibos->IdFila(1);
    QTest::keyClick(m->lstGridDocumentos, Qt::Key_Delete);
    ASSERT_TRUE(Activa(m));
    EXPECT_EQ(QApplication::focusWidget(), m->lstGridDocumentos);
    EXPECT_EQ(m->ModeloRecibos->IdFila(m->FilaActualRecibos() - 1), siguiente);
    EXPECT_EQ(Marcadas(), std::vector<int>{m->FilaActualRecibos()});
    Selecciona(ArbolEmisor, 1);
    m->lstGridRemesas->selectRow(0);
    QTest::keyClick(m->lstGridRemesas, Qt::Key_Delete);
    ASSERT_TRUE(Activa(m));
    EXPECT_EQ(QApplication::focusWidget(), m->lstGridRemesas);
    EXPECT_EQ(rejillas::Texto(m->lstGridRemesas, m->FilaSeleccion(m->lstGridRemesas), 0), "2");
}

// ---- Time-out ----

TEST(TimeOut, AtTheMinutesTheCountdownShowsAndItsButtonKeepsTheProgram)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraSinLogin(m);
    m->TiempoInactividad = 3;
    QString primero, segundo;
    int vistos = 0;
    AlMostrarse<TFRMTimeOut>([&](TFRMTimeOut *aviso) {
        ++vistos;
        primero = aviso->StaticText1->text();
        aviso->Timer1Timer();
        segundo = aviso->StaticText1->text();
        aviso->BitBtn1->click();
    });
    Inactividad.Ticks = 3 * 30 - 2;
    App().Multiuser->Execute();
    EXPECT_EQ(vistos, 0) << "one tick short";
    App().Multiuser->Execute();
    EXPECT_EQ(vistos, 1);
    EXPECT_EQ(primero, QStringLiteral("Quedan 20 segundos"));
    EXPECT_EQ(segundo, QStringLiteral("Quedan 19 segundos."));
    EXPECT_EQ(Inactividad.Ticks, 0);
    EXPECT_TRUE(m->isVisible());
}

TEST(TimeOut, UnansweredItEndsTheProgramWithoutWritingTheSettings)
{
    Carpeta carpeta;
    {
        Ventanas ventanas;
        TFormMain *m = ventanas.Main();
        MuestraSinLogin(m);
        int segundos = 0;
        AlMostrarse<TFRMTimeOut>([&](TFRMTimeOut *aviso) {
            for (; segundos < 20 && aviso->isVisible(); ++segundos)
                aviso->Timer1Timer();
        });
        EXPECT_TRUE(arranque::HastaTerminar([m] {
            Inactividad.Ticks = m->TiempoInactividad * 30;
            App().Multiuser->Execute();
        }));
        EXPECT_EQ(segundos, 20);
    }
    EXPECT_TRUE(profile::readKeys(carpeta.Ini(), "WINDOW").empty());
    EXPECT_TRUE(testutil::fileExists(carpeta.Ruta("BD/Orvanta.mcr")));
    EXPECT_FALSE(testutil::fileExists(carpeta.BD())) << "the exit sequence ran";
}

TEST(TimeOut, AtTheLoginOrWithTheWindowHiddenItOnlyRestartsTheCount)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    int vistos = 0;
    Respondedor<TFRMTimeOut> respondedor([&](TFRMTimeOut *aviso) {
        ++vistos;
        aviso->BitBtn1->click();
    });
    Inactividad.Ticks = 1000;
    App().Multiuser->Execute();
    EXPECT_EQ(Inactividad.Ticks, 0) << "hidden";
    MuestraSinLogin(m);
    App().FormLogin->show();
    Inactividad.Ticks = 1000;
    App().Multiuser->Execute();
    EXPECT_EQ(Inactividad.Ticks, 0) << "login showing";
    App().FormLogin->hide();
    EXPECT_EQ(vistos, 0);
}

TEST(TimeOut, ItAlsoComesOverAModalWindow)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraSinLogin(m);
    bool sobreConfiguracion = false;
    AlMostrarse<TFormCfg>([&](TFormCfg *) {
        Inactividad.Ticks = m->TiempoInactividad * 30;
        AlMostrarse<TFRMTimeOut>([&](TFRMTimeOut *aviso) {
            sobreConfiguracion = App().FormCfg->isVisible();
            while (aviso->isVisible())
                aviso->Timer1Timer();
        });
    });
    EXPECT_TRUE(arranque::HastaTerminar([m] { m->mainmenuConfiguracion->trigger(); }));
    EXPECT_TRUE(sobreConfiguracion);
}

// ---- Captions ----

TEST(Idiomas, TheMenusTakeTheTextsOfTheLanguage)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    m->MNUCastellano->trigger();
    auto texto = [](int n) { return cp1252::toQString(Idioma.GetTexto(n)); };
    EXPECT_EQ(m->mainMenuArchivo->title(), texto(231));
    EXPECT_EQ(m->MNUHerramientasBD->title(), texto(264));
    EXPECT_EQ(m->mainMenuAcercaDe->text(), texto(263));
    EXPECT_EQ(m->MNUDefinirplantillaimportacinsecuencial->text(), texto(269));
    EXPECT_EQ(m->MNUGuardardatos->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S)) << "the menu still shows it";
    EXPECT_TRUE(m->MNUCastellano->isChecked());
}

} // namespace
