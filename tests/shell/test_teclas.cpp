// The main window's shortcuts, the inactivity time-out and the captions that follow the
// language, driven through the real main window.
#include "arranque.h"

#include "Aplicacion.h"
#include "Frmcfg.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Unitimeout.h"
#include "profile.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

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
