// Start-up: the database rebuilt from its scrambled copy, the installer's log, every
// setting's default, a rebuild that cannot be done, and a start while the last copy leaves.
#include "arranque.h"

#include "Aplicacion.h"
#include "Frmcfg.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Propiedades.h"
#include "b_encrip.h"
#include "basedatos.h"
#include "copias.h"
#include "elementos.h"
#include "fallos.h"
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
#include <optional>
#include <random>
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
        EXPECT_EQ(profile::readString(carpeta.Ini(), "GENERAL", "BaseDatos", "?"), "BD/Orvanta.mdb")
            << "written back, inside the program folder";
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
        arranque::CierraAvisos();
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

TEST(Arranque, AMissingScrambledCopySaysSoAndLeavesNothingBehind)
{
    Carpeta carpeta;
    std::filesystem::remove(carpeta.Ruta("BD/Orvanta.mcr"));
    testutil::writeFile(carpeta.Ini(), "[GENERAL]\nTiempo_Inactividad=9\n");
    std::string texto, titulo;
    arranque::Responde(QMessageBox::Ok, &texto, &titulo);
    {
        Ventanas ventanas;
        EXPECT_TRUE(ventanas.Main()->ArranqueFallido);
        EXPECT_EQ(texto, FormateaTexto(Idioma.GetTexto(931), carpeta.Ruta("BD/Orvanta.mcr")));
        EXPECT_EQ(titulo, "Error al intentar abrir la base de datos.");
        EXPECT_FALSE(VASQ_IsDBOpened());
        EXPECT_EQ(ventanas.Main()->TiempoInactividad, 9) << "closing writes back what the file held";
    }
    for (const auto &f : std::filesystem::directory_iterator(carpeta.Ruta("BD")))
        EXPECT_EQ(f.path().filename(), "Orvanta.mdb.lck") << "nothing half-built";
    EXPECT_NE(carpeta.Log().find("[ General::RecuperaBDCifrada ] "), std::string::npos) << "the log stays";
}

QString Texto(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

// The text up to its first argument.
QString Inicio(int n)
{
    return Texto(n).left(Texto(n).indexOf(QLatin1Char('%')));
}

// The copy with bits flipped at places drawn from semilla, past the file's header.
void CambiaBits(const std::string &copia, int bits, unsigned semilla)
{
    std::string bytes = testutil::readFile(copia);
    std::mt19937 azar(semilla);
    for (int i = 0; i < bits; ++i)
        bytes[100 + azar() % (bytes.size() - 100)] ^= char(1u << (azar() % 8));
    testutil::writeFile(copia, bytes);
}

// The copy as earlier builds wrote it, without its seal (its 20 bytes at 72 zero); with
// marca, with a byte of its seal's mark changed instead.
void SinSello(const std::string &copia, bool marca = false)
{
    std::string bytes = testutil::readFile(copia);
    BlockQuickDecript(bytes.data(), 8192);
    if (marca)
        bytes[73] ^= 0x20;
    else
        std::fill(bytes.begin() + 72, bytes.begin() + 92, '\0');
    BlockQuickEncript(bytes.data(), 8192);
    testutil::writeFile(copia, bytes);
}

// The database rebuilt from the copy, with its tables dropped: a database, not the program's.
void SinTablas(const Carpeta &carpeta)
{
    ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
    ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
    for (const std::string &tabla : basedatos::kTables)
        ASSERT_TRUE(arranque::Ejecuta("DROP TABLE " + tabla));
    ASSERT_TRUE(arranque::Ejecuta("CREATE TABLE Otra (a TEXT)"));
    VASQ_CloseDB();
}

struct Encontrado {
    const char *que;
    std::function<void(const Carpeta &)> prepara;
    int texto;        // of the message the start shows, 0 for none
    int respuesta;    // to it
    bool abre;        // the program's database opens
    bool aparte;      // the file the database was is kept aside
    bool soloLectura = false; // the database folder cannot be written
};

const Encontrado kEncontrados[] = {
    {"an empty database file beside the copy is no database: it is rebuilt",
     [](const Carpeta &c) { testutil::writeFile(c.BD(), ""); }, 0, 0, true, false},
    {"a database file that is none, rebuilt when the user says so",
     [](const Carpeta &c) { testutil::writeFile(c.BD(), std::string(5000, 'x')); }, 922, QMessageBox::Yes, true,
     true},
    {"a database file that is none, kept when the user says no: the program ends",
     [](const Carpeta &c) { testutil::writeFile(c.BD(), std::string(5000, 'x')); }, 922, QMessageBox::No, false,
     false},
    {"a database without the program's tables, rebuilt", SinTablas, 922, QMessageBox::Yes, true, true},
    {"an empty copy and no database", [](const Carpeta &c) { testutil::writeFile(c.Ruta("BD/Orvanta.mcr"), ""); },
     929, QMessageBox::Ok, false, false},
    {"a copy that is no database and no database",
     [](const Carpeta &c) { testutil::writeFile(c.Ruta("BD/Orvanta.mcr"), std::string(20000, 'x')); }, 929,
     QMessageBox::Ok, false, false},
    {"a database folder that cannot be written", [](const Carpeta &) {}, 928, QMessageBox::Ok, false, false, true},
    {"the shipped copy with one bit changed", [](const Carpeta &c) { CambiaBits(c.Ruta("BD/Orvanta.mcr"), 1, 1); },
     924, QMessageBox::Ok, false, false},
    {"the shipped copy with another bit changed",
     [](const Carpeta &c) { CambiaBits(c.Ruta("BD/Orvanta.mcr"), 1, 7); }, 924, QMessageBox::Ok, false, false},
    {"four bits changed", [](const Carpeta &c) { CambiaBits(c.Ruta("BD/Orvanta.mcr"), 4, 2); }, 924,
     QMessageBox::Ok, false, false},
    {"64 bits changed", [](const Carpeta &c) { CambiaBits(c.Ruta("BD/Orvanta.mcr"), 64, 3); }, 924,
     QMessageBox::Ok, false, false},
    {"a mark byte of the seal changed", [](const Carpeta &c) { SinSello(c.Ruta("BD/Orvanta.mcr"), true); }, 924,
     QMessageBox::Ok, false, false},
    {"a copy of an earlier build, without a seal, is read as before",
     [](const Carpeta &c) { SinSello(c.Ruta("BD/Orvanta.mcr")); }, 0, 0, true, false},
};

class ArranqueConFicheros : public ::testing::TestWithParam<Encontrado> {};

TEST_P(ArranqueConFicheros, NeverRunsOnAnEmptyOrDamagedDatabaseAndKeepsTheUsersFiles)
{
    const Encontrado &caso = GetParam();
    Carpeta carpeta;
    caso.prepara(carpeta);
    const bool habiaBD = testutil::fileExists(carpeta.BD());
    const std::string bd = habiaBD ? testutil::readFile(carpeta.BD()) : "", copia = testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr"));
    RespondeCajas cajas({QMessageBox::StandardButton(caso.respuesta ? caso.respuesta : QMessageBox::Ok)});
    std::optional<fallos::CarpetaSoloLectura> soloLectura;
    if (caso.soloLectura)
        soloLectura.emplace(carpeta.Ruta("BD"));
    {
        Ventanas ventanas;
        TFormMain *m = ventanas.Main();
        ASSERT_EQ(cajas.Vistas.size(), caso.texto ? 1u : 0u) << caso.que;
        if (caso.texto) {
            EXPECT_TRUE(cajas.Vistas[0].texto.startsWith(Texto(caso.texto).left(30))) << caso.que << ": "
                                                                                   << cajas.Vistas[0].texto.toStdString();
            EXPECT_FALSE(cajas.Vistas[0].texto.contains(QStringLiteral("ERROR"))) << "the engine's text: to the log";
            EXPECT_EQ(cajas.Vistas[0].titulo, Texto(117)) << caso.que;
        }
        EXPECT_EQ(m->ArranqueFallido, !caso.abre) << caso.que;
        EXPECT_EQ(VASQ_IsDBOpened() && TieneTablasDelPrograma(), caso.abre) << caso.que;
        if (caso.abre) {
            EXPECT_EQ(arranque::Valor("SELECT Cod_usuario FROM [_Usuarios()] WHERE Id_usuario=1", "Cod_usuario"), "ADMIN")
                << caso.que;
        } else {
            EXPECT_EQ(testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr")), copia) << caso.que;
            EXPECT_EQ(testutil::fileExists(carpeta.BD()), habiaBD) << caso.que;
            if (habiaBD)
                EXPECT_TRUE(testutil::readFile(carpeta.BD()) == bd) << caso.que;
        }
        if (!caso.abre) {
            Respondedor<TFormLogin> logins([](TFormLogin *login) { login->cbtCancel->click(); });
            m->show();
            EXPECT_TRUE(arranque::HastaTerminar([] {}));
            EXPECT_EQ(logins.Veces(), 0) << caso.que << ": ends after its message, without the login";
        }
    }
    soloLectura.reset();
    std::vector<std::string> apartados;
    for (const auto &f : std::filesystem::directory_iterator(carpeta.Ruta("BD")))
        if (f.path().filename().string().find("-ilegible-") != std::string::npos)
            apartados.push_back(f.path().string());
    ASSERT_EQ(apartados.size(), caso.aparte ? 1u : 0u) << caso.que;
    if (caso.aparte)
        EXPECT_TRUE(testutil::readFile(apartados[0]) == bd) << "the unreadable file is kept whole";
}

INSTANTIATE_TEST_SUITE_P(Arranque, ArranqueConFicheros, ::testing::ValuesIn(kEncontrados));

TEST(Arranque, WhatKilledRunsLeftGoesAtTheNextStartThatHoldsTheDatabaseAlone)
{
    const char *const restos[] = {"BD/.Orvanta.mcr.Ab3xZ9.vasqtmp", "BD/.Orvanta.mdb.q1W2e3.vasqtmp",
                                  "BD/.Orvanta.mcr.vasqtmp", "BD/.Orvanta.mdb.vasqtmp", "tmp.mdb",
                                  ".tmp.mdb.K8s7D6.vasqtmp"};
    // A user's backups beside the copy, and what earlier builds left unmarked.
    const char *const ajenos[] = {"BD/Orvanta.mcr.backup", "BD/Orvanta.mcr.190126", "BD/Orvanta.mdb.copia1",
                                  "BD/Orvanta.mcr.tmp", "BD/Orvanta.mcr.bak", "BD/Orvanta-enero.mcr",
                                  "BD/Orvanta.mcr.Ab3xZ9", "BD/Orvanta.mdb.q1W2e3", "BD/.Orvanta.mcr.vasqtmp.mio",
                                  "BD/notas.txt", "tmp.mdb.K8s7D6", "Orvanta.mcr.Ab3xZ9"};
    for (const bool otraCopia : {true, false}) {
        Carpeta carpeta;
        std::unique_ptr<copias::Copia> otra;
        if (otraCopia) {
            ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
            otra = std::make_unique<copias::Copia>(carpeta.BD());
            ASSERT_EQ(otra->Pide("registra").substr(0, 1), "1");
        }
        for (const char *f : restos)
            testutil::writeFile(carpeta.Ruta(f), std::string(10000, 'r'));
        for (const char *f : ajenos)
            testutil::writeFile(carpeta.Ruta(f), "del usuario");
        Ventanas ventanas;
        ASSERT_FALSE(ventanas.Main()->ArranqueFallido);
        for (const char *f : restos)
            EXPECT_EQ(testutil::fileExists(carpeta.Ruta(f)), otraCopia) << f << (otraCopia ? ": another copy runs" : "");
        for (const char *f : ajenos)
            EXPECT_EQ(testutil::readFile(carpeta.Ruta(f)), "del usuario") << f;
        if (otra)
            EXPECT_EQ(otra->Pide("fin"), "0");
    }
}

TEST(Arranque, ACopiedOrMovedProgramFolderWorksOnItsOwnDataAndFolders)
{
    const std::string fuera = "/srv/envios19"; // a CSB19 folder chosen outside
    const struct {
        const char *que;
        bool anterior; // the ini as an earlier build wrote it, its paths whole
        bool mueve;    // the first folder is gone
        bool elegida;  // with the CSB19 folder chosen outside
        bool unaVez;   // the earlier ini run once in its own folder before
        int pregunta;  // the start asks (answered Yes), 0 when it knows
    } casos[] = {{"copied", false, false, false, false, 0},
                 {"moved", false, true, false, false, 0},
                 {"copied, earlier ini", true, false, false, false, 780},
                 {"moved, earlier ini", true, true, false, false, 781},
                 {"copied, earlier ini, CSB19 folder chosen outside", true, false, true, false, 780},
                 {"earlier ini run once, then copied", true, false, false, true, 0},
                 {"earlier ini run once, then moved", true, true, false, true, 0},
                 {"earlier ini with CSB19 outside run once, then copied", true, false, true, true, 0}};
    for (const auto &c : casos) {
        Carpeta primera;
        {
            Ventanas ventanas;
            ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Primera' WHERE Id_usuario=1"));
            arranque::Sale();
        }
        if (c.anterior)
            testutil::writeFile(primera.Ini(), "[GENERAL]\nBaseDatos=" + primera.BD() + "\nSTRImpCSB19=" +
                                                   primera.Ruta("CSB19.INI") + "\n[FICHEROCSB]\nRutaCSB19=" +
                                                   (c.elegida ? fuera : primera.Ruta("CSB19")) + "\nRutaCSB58=" +
                                                   primera.Ruta("CSB58") + "\nRutaHistorico=" +
                                                   primera.Ruta("HISTORICO") + "\n");
        if (c.unaVez) {
            Ventanas ventanas;
            arranque::Sale();
        }
        const std::string copiaPrimera = testutil::readFile(primera.Ruta("BD/Orvanta.mcr"));
        Carpeta segunda;
        using std::filesystem::copy_options;
        std::filesystem::copy(primera.dir().path(), segunda.dir().path(),
                              copy_options::recursive | copy_options::overwrite_existing);
        if (c.mueve)
            for (const auto &f : std::filesystem::directory_iterator(primera.dir().path()))
                std::filesystem::remove_all(f.path());
        RespondeCajas cajas({QMessageBox::Yes});
        {
            Ventanas ventanas;
            EXPECT_EQ(cajas.Vistas.size(), c.pregunta ? 1u : 0u) << c.que;
            if (c.pregunta && !cajas.Vistas.empty()) {
                EXPECT_TRUE(cajas.Vistas[0].texto.startsWith(Inicio(c.pregunta))) << c.que;
                EXPECT_TRUE(cajas.Vistas[0].texto.contains(cp1252::toQString(primera.dir().path()))) << "from where";
            }
            EXPECT_EQ(ventanas.Main()->PathBD, segunda.BD()) << c.que;
            EXPECT_EQ(ventanas.Main()->RutaCSB19, c.elegida ? fuera : segunda.Ruta("CSB19")) << c.que;
            EXPECT_EQ(ventanas.Main()->RutaCSB58, segunda.Ruta("CSB58")) << c.que;
            EXPECT_EQ(ventanas.Main()->RutaHistorico, segunda.Ruta("HISTORICO")) << c.que;
            EXPECT_EQ(ventanas.Main()->STRImpCSB19, segunda.Ruta("CSB19.INI")) << c.que;
            EXPECT_EQ(profile::readString(segunda.Ini(), "GENERAL", "BaseDatos", "?"), "BD/Orvanta.mdb") << c.que;
            EXPECT_EQ(arranque::Valor("SELECT * FROM [_Usuarios()] WHERE Id_usuario=1", "Nombre_usuario"), "Primera");
            ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Segunda' WHERE Id_usuario=1"));
        }
        EXPECT_NE(testutil::readFile(segunda.Ruta("BD/Orvanta.mcr")), copiaPrimera) << c.que << ": its own copy";
        if (!c.mueve)
            EXPECT_EQ(testutil::readFile(primera.Ruta("BD/Orvanta.mcr")), copiaPrimera) << c.que;
    }
}

// An administrator points several workstations at one database by naming it in each one's
// Orvanta.INI (or choosing its folder in the configuration dialog): each start opens that
// database, whatever its folder is called and whatever lies beside it. The start asks only
// where the database lies in another program folder or in a folder that is gone, and then
// every answer but Yes keeps the settings as they are.
TEST(Arranque, EveryWorkstationOpensTheSharedDatabaseItsSettingsName)
{
    const struct {
        const char *que;
        const char *carpeta;      // of the shared database
        bool csb19;               // the CSB19 folder beside it
        int pregunta;             // the start asks, 0 when it does not
        Qt::Key tecla;            // pressed on every message box
        bool montada = true;      // the shared folder is reachable at the first start
        bool configurada = false; // chosen in the dialog at the first workstation, its ini copied
    } casos[] = {
        {"BD", "BD", false, 0, Qt::Key_Return},
        {"a folder named otherwise", "Datos", false, 0, Qt::Key_Return},
        {"BD with CSB19 beside it", "BD", true, 0, Qt::Key_Return},
        {"named otherwise, with CSB19", "Datos", true, 0, Qt::Key_Return},
        {"BD of another program folder, Enter", "BD", true, 780, Qt::Key_Return},
        {"another program folder's, Escape", "Datos", false, 780, Qt::Key_Escape},
        {"BD not mounted at the first start, Enter", "BD", true, 781, Qt::Key_Return, false},
        {"BD chosen in the configuration dialog", "BD", false, 0, Qt::Key_Return, true, true},
    };
    for (const auto &c : casos) {
        testutil::TempDir comun;
        const std::string carpetaBD = comun.file(c.carpeta), base = carpetaBD + "/Orvanta.mdb";
        auto monta = [&] {
            std::filesystem::create_directory(carpetaBD);
            std::filesystem::copy_file(SHIPPED_MCR, carpetaBD + "/Orvanta.mcr");
        };
        if (c.montada)
            monta();
        if (c.pregunta == 780)
            testutil::writeFile(comun.file("Orvanta.INI"), "");
        std::string ini = "[GENERAL]\nBaseDatos=" + base + "\n" +
                          (c.csb19 ? "[FICHEROCSB]\nRutaCSB19=" + comun.file("CSB19") + "\n" : "");
        std::vector<QString> vistas;
        auto arranca = [&] { // every message box of the start answered by the key
            Respondedor<QMessageBox> teclas([&](QMessageBox *caja) {
                vistas.push_back(caja->text());
                QTest::keyClick(caja, c.tecla);
            });
            return std::make_unique<Ventanas>();
        };
        for (const std::string puesto : {"1", "2"}) {
            const std::string que = c.que + (", workstation " + puesto);
            Carpeta carpeta;
            if (c.configurada && puesto == "1") {
                Ventanas ventanas;
                arranque::Configura(ventanas.Main(),
                                    [&](TFormCfg *cfg) { cfg->EdPathBD->setText(cp1252::toQString(carpetaBD)); });
                arranque::Sale();
            } else {
                testutil::writeFile(carpeta.Ini(), ini);
            }
            if (!c.montada && puesto == "1") {
                EXPECT_TRUE(arranca()->Main()->ArranqueFallido) << que;
                ASSERT_EQ(vistas.size(), 2u) << que << ": asked, then the database cannot be opened";
                EXPECT_TRUE(vistas[0].startsWith(Inicio(781)) && vistas[0].contains(cp1252::toQString(carpetaBD)));
                EXPECT_TRUE(vistas[1].startsWith(Inicio(928))) << que;
                EXPECT_EQ(testutil::readFile(carpeta.Ini()), ini) << que << ": nothing changed";
                vistas.clear();
                monta();
            }
            const std::string propia = testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr"));
            {
                const std::unique_ptr<Ventanas> ventanas = arranca();
                ASSERT_EQ(vistas.size(), c.pregunta == 780 ? 1u : 0u) << que;
                EXPECT_TRUE(vistas.empty() || vistas[0].startsWith(Inicio(780))) << que;
                EXPECT_EQ(ventanas->Main()->PathBD, base) << que;
                EXPECT_EQ(ventanas->Main()->RutaCSB19, c.csb19 ? comun.file("CSB19") : carpeta.Ruta("CSB19")) << que;
                if (puesto == "2") {
                    EXPECT_EQ(arranque::Valor("SELECT * FROM [_Usuarios()] WHERE Id_usuario=1", "Nombre_usuario"),
                              "Puesto 1") << que;
                }
                ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Puesto " + puesto + "'"));
                arranque::Sale();
            }
            vistas.clear();
            EXPECT_EQ(profile::readString(carpeta.Ini(), "GENERAL", "BaseDatos", "?"), base) << que;
            EXPECT_EQ(testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr")), propia) << que << ": its own data untouched";
            EXPECT_FALSE(testutil::fileExists(carpeta.BD())) << que;
            if (c.configurada)
                ini = testutil::readFile(carpeta.Ini());
        }
    }
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
