// Start-up: the database rebuilt from its scrambled copy, the installer's log, every
// setting's default, a rebuild that cannot be done, and a start while the last copy leaves.
#include "arranque.h"

#include "Aplicacion.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Propiedades.h"
#include "copias.h"
#include "elementos.h"
#include "vars.h"
#include "profile.h"
#include "qcp1252.h"
#include "vasqdb.h"
#include "ventanas.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using arranque::Carpeta;
using arranque::Ventanas;

TEST(Arranque, FirstStartRebuildsTheKeyedDatabaseAndTakesEveryDefault)
{
    Carpeta carpeta;
    testutil::writeFile(carpeta.Ruta("install.log"), "Copiado tesorio\nCopiado BD\\Orvanta.mcr\nFin\n");
    const std::string p = carpeta.dir().path();
    {
        Ventanas ventanas;
        TFormMain *m = ventanas.Main();
        ASSERT_FALSE(m->ArranqueFallido);
        EXPECT_EQ(testutil::readFile(carpeta.Ruta("install.log")), "Copiado tesorio\nFin\n");
        EXPECT_FALSE(testutil::fileExists(carpeta.Ruta("tmp.log")));

        EXPECT_EQ(m->PathBD, carpeta.BD());
        EXPECT_EQ(profile::readString(carpeta.Ini(), "GENERAL", "BaseDatos", "?"), carpeta.BD()) << "written back";
        EXPECT_TRUE(VASQ_IsDBOpened());
        VASQ_CloseDB();
        SetBdPassword("");
        EXPECT_NE(VASQ_OpenDB(carpeta.BD().c_str(), 0, 0), 0) << "keyed";
        VASQ_GetLastErrorCodeID();
        SetBdPassword(kPasswordBD);
        ASSERT_EQ(VASQ_OpenDB(carpeta.BD().c_str(), 0, 0), 0);
        EXPECT_FALSE(testutil::fileExists(carpeta.BD() + ".tmp"));
        EXPECT_NE(carpeta.Log().find("[ INICIO DE SESION ]"), std::string::npos);
        EXPECT_TRUE(App().Multiuser->Registrado);
        EXPECT_EQ(m->GetProvincia("28"), "MADRID");
        EXPECT_EQ(m->GetProvincia("8"), "") << "a code is matched whole";

        EXPECT_EQ(m->FechaEuro, QDate(2002, 1, 1));
        EXPECT_EQ(m->TiempoInactividad, 15);
        EXPECT_EQ(m->UltimoFichero, "0");
        EXPECT_EQ(m->RutaCSB19, p + "CSB19");
        EXPECT_EQ(m->RutaCSB58, p + "CSB58");
        EXPECT_EQ(m->RutaHistorico, p + "HISTORICO");
        EXPECT_EQ(m->STRImpCSB19, p + "CSB19.INI");
        EXPECT_EQ(m->STRImpCSB58, p + "CSB58.INI");
        EXPECT_FALSE(m->URLTelvirana.empty());
        EXPECT_FALSE(m->URLHelpFile.empty());
        EXPECT_EQ(m->WWWBrowserEXEName, "iexplore");
        EXPECT_EQ(m->Idioma, "Castellano");
        EXPECT_TRUE(m->windowState() & Qt::WindowMaximized);
        m->show();
        EXPECT_EQ(m->panelLeft->width(), 244);
        m->hide();
        EXPECT_TRUE(profile::readKeys(carpeta.Ini(), "WINDOW").empty()) << "still a first run until closed";
    }
    EXPECT_FALSE(testutil::fileExists(carpeta.BD())) << "the last copy out removes it";
}

TEST(Arranque, SettingsAreReadAndAnImpossibleEuroDateIsTheDefault)
{
    Carpeta carpeta;
    testutil::writeFile(carpeta.Ini(), "[General]\nfechaeuro=31/02/2003\nTIEMPO_INACTIVIDAD=7\n[ficherocsb]\n"
                                       "RutaCSB19=/datos/envios\n[WINDOW]\nWinMaximized=0\nWinWidth=700\n"
                                       "WinHeight=500\nPanel=300\n");
    testutil::writeFile(carpeta.Ruta("install.log"), "BD\\Orvanta.mcr\n");
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    EXPECT_EQ(m->FechaEuro, QDate(2002, 1, 1));
    EXPECT_EQ(m->TiempoInactividad, 7);
    EXPECT_EQ(m->RutaCSB19, "/datos/envios");
    EXPECT_FALSE(m->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(m->size(), QSize(700, 500));
    m->show();
    EXPECT_EQ(m->panelLeft->width(), 300);
    m->hide();
    EXPECT_EQ(testutil::readFile(carpeta.Ruta("install.log")), "BD\\Orvanta.mcr\n") << "not a first run";
}

TEST(Arranque, EuroDatePiecesThatAreNoNumberFallBack)
{
    const struct {
        const char *texto;
        QDate fecha;
    } casos[] = {
        {"15/06/2003", QDate(2003, 6, 15)},
        {"15/xx/2003", QDate(2003, 1, 15)}, // the month alone falls back
        {"31/02/2003", QDate(2002, 1, 1)},  // an impossible date is the default
        {"", QDate(2002, 1, 1)},
    };
    for (const auto &c : casos)
        EXPECT_EQ(LeeFechaEuro(c.texto), c.fecha) << c.texto;
}

TEST(Arranque, AnotherLanguageInTheSettingsShowsTheSpanishTextsItLacks)
{
    for (const char *idioma : {"Ingles", "Catalan"}) {
        Carpeta carpeta;
        testutil::writeFile(carpeta.Ini(), std::string("[GENERAL]\nIdioma=") + idioma + "\n");
        Ventanas ventanas;
        TFormMain *m = ventanas.Main();
        QString usuario, aceptar, archivo;
        AlMostrarse<TFormLogin>([&](TFormLogin *login) {
            usuario = login->Label1->text();
            aceptar = login->cbtOK->text();
            archivo = m->mainMenuArchivo->menuAction()->text();
            login->cbtCancel->click();
        });
        m->show();
        ASSERT_TRUE(arranque::HastaTerminar([] {}));
        EXPECT_EQ(m->Idioma, idioma);
        EXPECT_EQ(usuario, cp1252::toQString(CargaTexto(453))) << idioma;
        EXPECT_EQ(aceptar, QStringLiteral("&Aceptar")) << idioma;
        EXPECT_EQ(archivo, QStringLiteral("&Archivo")) << idioma;
    }
    ::Idioma.SetIdioma(IdiomaCastellano);
}

TEST(Arranque, AMissingScrambledCopyShows118AndLeavesNothingBehind)
{
    Carpeta carpeta;
    std::filesystem::remove(carpeta.Ruta("BD/Orvanta.mcr"));
    testutil::writeFile(carpeta.Ini(), "[GENERAL]\nTiempo_Inactividad=9\n");
    std::string texto, titulo;
    arranque::Responde(QMessageBox::Ok, &texto, &titulo);
    {
        Ventanas ventanas;
        EXPECT_TRUE(ventanas.Main()->ArranqueFallido);
        EXPECT_EQ(texto, "No se puede abrir la base de datos");
        EXPECT_EQ(titulo, "Error al intentar abrir la base de datos.");
        EXPECT_FALSE(VASQ_IsDBOpened());
        EXPECT_EQ(ventanas.Main()->TiempoInactividad, 9) << "closing writes back what the file held";
    }
    for (const auto &f : std::filesystem::directory_iterator(carpeta.Ruta("BD")))
        EXPECT_EQ(f.path().filename(), "Orvanta.mdb.lck") << "nothing half-built";
    EXPECT_NE(carpeta.Log().find("[ General::RecuperaBDCifrada ] "), std::string::npos) << "the log stays";
}

TEST(Arranque, AStartWaitsForTheLastCopyOnItsWayOutAndFindsItsData)
{
    const struct {
        int borraAntes;
        const char *porque;
    } casos[] = {
        {0, "the database still there, held while it is compacted"},
        {1, "the database removed already, held until its copy is written"},
    };
    for (const auto &c : casos) {
        Carpeta carpeta;
        ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
        SetBdPassword(kPasswordBD);
        ASSERT_EQ(VASQ_OpenDB(carpeta.BD().c_str(), 0, 0), 0);
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [_Usuarios()] (Cod_usuario,Password,Nombre_usuario,Permisos,"
                                      "Activo) VALUES ('SALIENTE','','Saliente','00000000000000000000',1)"));
        VASQ_CloseDB();

        // The last copy leaves, holding the database alone for a second and a half.
        copias::Copia saliente(carpeta.BD());
        ASSERT_EQ(saliente.Pide("registra").substr(0, 1), "1");
        ASSERT_EQ(saliente.Pide("fin"), "1");
        ASSERT_EQ(saliente.Pide("sale 1500 " + std::to_string(c.borraAntes)), "ok") << c.porque;
        RespondeCajas cajas;
        Ventanas ventanas;
        EXPECT_FALSE(ventanas.Main()->ArranqueFallido) << c.porque;
        EXPECT_TRUE(cajas.Vistas.empty()) << c.porque;
        App().FormLogin->show();
        EXPECT_NE(App().FormLogin->txtUsuario->findText(QStringLiteral("SALIENTE")), -1) << c.porque;
        EXPECT_NE(App().FormLogin->txtUsuario->findText(QStringLiteral("ADMIN")), -1) << c.porque;
        App().FormLogin->hide();
    }
}

TEST(Arranque, TheItemTypesOfTheProgramFolderAreRegisteredAndTheirSheetMade)
{
    Carpeta carpeta;
    for (const char *fichero : {"libitems.so", "items.ini"})
        std::filesystem::copy_file(elementos::kCarpeta + fichero, carpeta.Ruta(fichero));
    const std::filesystem::path antes = std::filesystem::current_path();
    std::filesystem::current_path(carpeta.dir().path()); // as the program's entry does
    {
        Ventanas ventanas;
        std::vector<std::string> tipos;
        for (int i = 0; i < StackTop(PlTiposItem()); ++i) {
            auto *tipo = *static_cast<B_AStr_t **>(GiveMeThePointerToElement(PlTiposItem(), i));
            tipos.push_back(VarGet(tipo, "Nombre", ""));
        }
        EXPECT_EQ(tipos, (std::vector<std::string>{"Etiqueta", "Importe", "Total", "Porcentaje"}));
        ASSERT_NE(App().FormProps, nullptr);
        EXPECT_EQ(App().FormProps->parent(), ventanas.Main());
    }
    std::filesystem::current_path(antes);
}

} // namespace
