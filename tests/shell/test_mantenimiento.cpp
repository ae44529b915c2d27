// Database maintenance from the main window: save, repair and compact alone and beside
// another running copy, a reopen that fails, the configuration dialog, the folder picker
// and the help command.
#include "arranque.h"

#include "Aplicacion.h"
#include "Frmcfg.h"
#include "Frmseldir.h"
#include "General.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "basedatos.h"
#include "copias.h"
#include "fallos.h"
#include "jpeg.h"
#include "profile.h"
#include "qcp1252.h"
#include "vasqdb.h"
#include "ventanas.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

using arranque::Carpeta;
using arranque::Configura;
using arranque::Ventanas;

QString Texto(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

ino_t Inodo(const std::string &ruta)
{
    struct stat st {};
    return ::stat(ruta.c_str(), &st) == 0 ? st.st_ino : 0;
}

// The scrambled copy at rutaMcr rebuilt into a folder of its own and checked whole; the
// value of a field of the first row of consulta in it. The program's database is open
// again afterwards.
std::string LeeDeLaCopia(const std::string &rutaMcr, const std::string &consulta, const std::string &campo)
{
    testutil::TempDir otra;
    std::filesystem::copy_file(rutaMcr, otra.file("Orvanta.mcr"));
    if (!RecuperaBDCifrada(otra.file("Orvanta.mdb"), kPasswordBD))
        return "<no se reconstruye>";
    const std::string propia = VASQ_GetDBNamePath();
    VASQ_CloseDB();
    std::string valor = "<no se abre>";
    if (basedatos::open(otra.file("Orvanta.mdb"), kPasswordBD) == 0) {
        const std::string integridad = arranque::Valor("PRAGMA integrity_check", "integrity_check");
        valor = integridad == "ok" ? arranque::Valor(consulta, campo) : "<integridad: " + integridad + ">";
        VASQ_CloseDB();
    }
    basedatos::open(propia, kPasswordBD);
    return valor;
}

std::string HoraPropia()
{
    return arranque::Valor("SELECT Hora FROM [Aplicaciones()] WHERE Num_Aplicacion=" +
                               std::to_string(App().Multiuser->Num_Aplicacion),
                           "Hora");
}

TEST(Mantenimiento, CompactingAloneRewritesTheCopyAndTheHeartbeatGoesOn)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    ASSERT_FALSE(m->ArranqueFallido);
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Compactado' WHERE Id_usuario=1"));
    const ino_t antes = Inodo(carpeta.BD());
    {
        RespondeCajas cajas;
        m->MNUCompactar->trigger();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto, Texto(628));
        EXPECT_EQ(cajas.Vistas[0].titulo, Texto(6));
    }
    EXPECT_NE(Inodo(carpeta.BD()), antes) << "the compacted file took its place";
    EXPECT_FALSE(testutil::fileExists(carpeta.Ruta("tmp.mdb")));
    EXPECT_TRUE(VASQ_IsDBOpened());
    EXPECT_EQ(LeeDeLaCopia(carpeta.Ruta("BD/Orvanta.mcr"), "SELECT * FROM [_Usuarios()] WHERE Id_usuario=1",
                           "Nombre_usuario"),
              "Compactado");

    EXPECT_FALSE(App().Multiuser->Pausado);
    MultiuserPrueba::RelojQueAvanza(*App().Multiuser);
    App().Multiuser->Execute();
    const std::string hora = HoraPropia();
    App().Multiuser->Execute();
    EXPECT_NE(HoraPropia(), hora) << "the heartbeat is written again";
    EXPECT_NE(hora, "");
}

TEST(Mantenimiento, RepairingAloneReopensTheDatabase)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    RespondeCajas cajas;
    m->MNUReparar->trigger();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Texto(660));
    EXPECT_EQ(arranque::Valor("SELECT * FROM [_Usuarios()] WHERE Id_usuario=1", "Id_usuario"), "1");
    EXPECT_FALSE(App().Multiuser->Pausado);
}

struct Rechazo {
    const char *comando;
    int texto;
};

class MantenimientoConOtraCopia : public ::testing::TestWithParam<Rechazo> {};

TEST_P(MantenimientoConOtraCopia, ChangesNothingAndBothCopiesGoOn)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    copias::Copia otra(carpeta.BD());
    ASSERT_EQ(otra.Pide("registra").substr(0, 1), "1");
    const ino_t inodo = Inodo(carpeta.BD());
    const std::vector<std::string> datos = basedatos::dump();
    {
        RespondeCajas cajas;
        m->findChild<QAction *>(QLatin1String(GetParam().comando))->trigger();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto, Texto(GetParam().texto));
    }
    EXPECT_EQ(Inodo(carpeta.BD()), inodo);
    EXPECT_FALSE(testutil::fileExists(carpeta.Ruta("tmp.mdb")));
    ASSERT_TRUE(VASQ_IsDBOpened());
    EXPECT_EQ(basedatos::dump(), datos);
    EXPECT_EQ(otra.Pide("notifica 5 0"), "ok") << "the other copy still writes";
    App().Multiuser->Execute();
    EXPECT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Sigue' WHERE Id_usuario=1"));
    EXPECT_EQ(otra.Pide("fin"), "0") << "this copy is still registered";
}

INSTANTIATE_TEST_SUITE_P(Mantenimiento, MantenimientoConOtraCopia,
                         ::testing::Values(Rechazo{"MNUCompactar", 647}, Rechazo{"MNUReparar", 646}));

// The rows the other copy wrote so far, read without letting this copy's coordination run.
int Escritas()
{
    return std::stoi("0" + arranque::Valor("SELECT COUNT(*) AS N FROM Escrituras", "N"));
}

bool EsperaEscritas(int mas)
{
    for (int i = 0; i < 500; ++i) {
        if (Escritas() > mas)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(Mantenimiento, SavingWhileAnotherCopyWritesTakesOneWholeStateWithoutWaitingForIt)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    ASSERT_TRUE(arranque::LlenaRemesas(40000)) << "large enough for the save to tell the user";
    copias::Copia otra(carpeta.BD());
    ASSERT_EQ(otra.Pide("registra").substr(0, 1), "1");
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Guardado' WHERE Id_usuario=1"));
    ASSERT_EQ(otra.Pide("escribe 3000"), "ok");
    ASSERT_TRUE(EsperaEscritas(0)) << "the other copy writes";
    const ino_t inodo = Inodo(carpeta.BD());
    arranque::VigilaAvisos vigila;
    {
        // As in the window: a pass of this copy's coordination (its heartbeat writes), then
        // the command.
        App().Multiuser->Execute();
        RespondeCajas cajas;
        m->MNUGuardardatos->trigger();
        EXPECT_TRUE(cajas.Vistas.empty()) << "saving reports nothing";
    }
    EXPECT_TRUE(EsperaEscritas(Escritas())) << "beat and saved while the other copy goes on writing";
    ASSERT_EQ(vigila.Vistos.size(), 1u);
    EXPECT_EQ(vigila.Vistos[0].texto, QStringLiteral("Guardando datos..."));
    EXPECT_TRUE(vigila.Vistos[0].cursorEspera);
    EXPECT_EQ(Inodo(carpeta.BD()), inodo);
    EXPECT_TRUE(VASQ_IsDBOpened());
    EXPECT_FALSE(App().Multiuser->Pausado);
    // Two rows to each of the writer's transactions: an odd count would be half of one.
    EXPECT_EQ(LeeDeLaCopia(carpeta.Ruta("BD/Orvanta.mcr"),
                           "SELECT (SELECT Nombre_usuario FROM [_Usuarios()] WHERE Id_usuario=1) || ' ' || "
                           "(COUNT(*) % 2) || ' ' || (COUNT(*) > 0) AS R FROM Escrituras",
                           "R"),
              "Guardado 0 1");
    EXPECT_EQ(otra.Pide("fin"), "0");
}

struct Sustitucion {
    const char *comando;
    int texto; // of the message the command shows; 0: none
};

class TrasMantenimiento : public ::testing::TestWithParam<Sustitucion> {};

// A command that rewrites or replaces the database file leaves every connection of the
// program on the file in the folder: the locks it holds keep another copy that leaves from
// removing its journals, its heartbeat reaches the file, and the exit's copy is whole.
TEST_P(TrasMantenimiento, EveryCopyWritesToOneDatabaseAndTheExitsCopyHoldsEveryRow)
{
    Carpeta carpeta;
    std::string escritas;
    {
        Ventanas ventanas;
        TFormMain *m = ventanas.Main();
        {
            RespondeCajas cajas;
            m->findChild<QAction *>(QLatin1String(GetParam().comando))->trigger();
            ASSERT_EQ(cajas.Vistas.size(), GetParam().texto ? 1u : 0u);
            if (GetParam().texto) {
                EXPECT_EQ(cajas.Vistas[0].texto, Texto(GetParam().texto));
            }
        }
        {
            copias::Copia otra(carpeta.BD());
            ASSERT_EQ(otra.Pide("registra").substr(0, 1), "1");
            ASSERT_EQ(otra.Pide("escribe 200"), "ok");
            ASSERT_EQ(otra.Pide("fin"), "0") << "this copy is still registered";
        }
        MultiuserPrueba::RelojQueAvanza(*App().Multiuser);
        App().Multiuser->Execute();
        ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Sigue' WHERE Id_usuario=1"));
        copias::Copia despues(carpeta.BD());
        EXPECT_EQ(despues.Pide("hora " + std::to_string(App().Multiuser->Num_Aplicacion)), HoraPropia())
            << "another copy reads this copy's heartbeat";
        escritas = std::to_string(Escritas());
    }
    EXPECT_FALSE(testutil::fileExists(carpeta.BD()));
    EXPECT_EQ(LeeDeLaCopia(carpeta.Ruta("BD/Orvanta.mcr"),
                           "SELECT (SELECT Nombre_usuario FROM [_Usuarios()] WHERE Id_usuario=1) || ' ' || COUNT(*) "
                           "AS R FROM Escrituras",
                           "R"),
              "Sigue " + escritas);
}

INSTANTIATE_TEST_SUITE_P(Mantenimiento, TrasMantenimiento,
                         ::testing::Values(Sustitucion{"MNUCompactar", 628}, Sustitucion{"MNUReparar", 660},
                                           Sustitucion{"MNUGuardardatos", 0}));

// Another copy (one starting, or the last one leaving) tries to hold the database alone at
// the moment the compaction lets go of its exclusive hold: it never can, and this copy goes on
// with its database.
TEST(Mantenimiento, NoOtherCopyHoldsTheDatabaseAloneBetweenTheCloseAndTheReopen)
{
    Carpeta carpeta;
    Ventanas ventanas;
    copias::Copia otra(carpeta.BD());
    ASSERT_EQ(otra.Pide("cierra"), "ok");
    std::string tomada;
    {
        RespondeCajas cajas;
        fallos::AntesDeCompartir hueco([&] { tomada = otra.Pide("exclusiva"); });
        ventanas.Main()->MNUCompactar->trigger();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto, Texto(628));
    }
    EXPECT_EQ(tomada, "0");
    EXPECT_TRUE(arranque::Ejecuta("UPDATE [_Usuarios()] SET Nombre_usuario='Sigue' WHERE Id_usuario=1"));
    EXPECT_EQ(otra.Pide("exclusiva"), "0") << "shared with the copy that runs";
}

struct Estropeada {
    const char *que;
    const char *comando;
    void (*estropea)(const Carpeta &carpeta, size_t &desde, std::string &bytes); // before the start
    std::uint64_t lleno; // the disk is full past this many bytes of a file; 0: not full
    int texto;           // the message says it
};

// Runs the statements on the closed database at carpeta.
void Ejecuta(const Carpeta &carpeta, std::initializer_list<std::string> sentencias)
{
    ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
    for (const std::string &sql : sentencias)
        ASSERT_TRUE(arranque::Ejecuta(sql)) << sql;
    VASQ_CloseDB();
}

// A null where the concepts admit none, let in while their schema did not say so.
void NuloEnConceptos(const Carpeta &carpeta, size_t &, std::string &)
{
    const std::string esquema = "UPDATE sqlite_master SET sql=replace(sql,";
    Ejecuta(carpeta, {"PRAGMA writable_schema=ON", esquema + "'NOT NULL','/*NN*/') WHERE name='Conceptos()'"});
    Ejecuta(carpeta, {"UPDATE [Conceptos()] SET Block=NULL WHERE Id_concepto=7", "PRAGMA writable_schema=ON",
                      esquema + "'/*NN*/','NOT NULL') WHERE name='Conceptos()'"});
}

// Rows that take two pages of the copy and less of the database (12 MiB against 7): the disk
// can fill up between the compaction and the copy.
void CopiaMayor(const Carpeta &carpeta, size_t &, std::string &)
{
    Ejecuta(carpeta, {"CREATE TABLE Anexos (Texto TEXT)",
                      "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k+1 FROM n WHERE k+1<1500) "
                      "INSERT INTO Anexos (Texto) SELECT printf('%04d', k) || hex(zeroblob(2098)) FROM n"});
}

const Estropeada kEstropeadas[] = {
    {"saving on a full disk", "MNUGuardardatos", nullptr, 64 * 1024, 916},
    {"saving a database that lost a write", "MNUGuardardatos", arranque::PierdeEscritura, 0, 917},
    {"repairing a database that lost a write mends it", "MNUReparar", arranque::PierdeEscritura, 0, 660},
    {"repairing a damaged page of the bills", "MNUReparar",
     [](const Carpeta &c, size_t &desde, std::string &bytes) { arranque::DanaArbol(c, "Documentos()", desde, bytes); },
     0, 925},
    {"repairing a null where a column admits none, in a table without an index", "MNUReparar", NuloEnConceptos, 0,
     925},
    {"compacting, then the disk is full for the copy", "MNUCompactar", CopiaMayor, 10 << 20, 916},
    {"compacting on a full disk", "MNUCompactar", nullptr, 64 * 1024, 936},
    {"repairing on a full disk", "MNUReparar", nullptr, 64 * 1024, 937},
};

class MantenimientoEstropeado : public ::testing::TestWithParam<Estropeada> {};

TEST_P(MantenimientoEstropeado, TellsWhatWentWrongAndKeepsTheCopy)
{
    const Estropeada &caso = GetParam();
    Carpeta carpeta;
    ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
    ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
    ASSERT_TRUE(arranque::LlenaRemesas(3000));
    VASQ_CloseDB();
    size_t desde = 0;
    std::string bytes;
    if (caso.estropea)
        caso.estropea(carpeta, desde, bytes);
    const std::string copia = testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr"));
    RespondeCajas cajas;
    Ventanas ventanas;
    {
        std::optional<fallos::DiscoLleno> lleno;
        if (caso.lleno)
            lleno.emplace(caso.lleno);
        ventanas.Main()->findChild<QAction *>(QLatin1String(caso.comando))->trigger();
    }
    ASSERT_EQ(cajas.Vistas.size(), 1u) << caso.que;
    const QString esperado = Texto(caso.texto);
    EXPECT_TRUE(cajas.Vistas[0].texto.contains(esperado.left(esperado.indexOf(QLatin1Char('%')))))
        << caso.que << ": " << cajas.Vistas[0].texto.toStdString();
    EXPECT_TRUE(testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr")) == copia) << caso.que;
    EXPECT_TRUE(VASQ_IsDBOpened()) << caso.que;
    if (caso.texto == 660 || !caso.estropea) {
        EXPECT_EQ(arranque::Valor("PRAGMA integrity_check", "integrity_check"), "ok") << caso.que;
    }
}

INSTANTIATE_TEST_SUITE_P(Mantenimiento, MantenimientoEstropeado, ::testing::ValuesIn(kEstropeadas));

// A reopen that fails is logged and asked about: Yes tries again, No ends the program, which
// never runs on without its database.
TEST(Mantenimiento, AFailedReopenIsShownAndLogged)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    m->PathBD = carpeta.Ruta("no/existe/Orvanta.mdb");
    RespondeCajas cajas({QMessageBox::Yes, QMessageBox::No});
    EXPECT_TRUE(arranque::HastaTerminar([m] { m->MNUReparar->trigger(); }));
    ASSERT_EQ(cajas.Vistas.size(), 2u) << "asked again after Yes; nothing said after No";
    for (const CajaVista &vista : cajas.Vistas) {
        EXPECT_TRUE(vista.texto.startsWith(Texto(940).left(Texto(940).indexOf(QLatin1Char('%')))));
        EXPECT_EQ(vista.titulo, Texto(117));
    }
    EXPECT_FALSE(VASQ_IsDBOpened());
    EXPECT_NE(carpeta.Log().find("[ vasqdb::VASQ_GetData ] "), std::string::npos);
}

// ---- Configuration ----

TEST(Configuracion, TypedMinutesOfTwoToThirtyGoToTheIniAtOnceAndOthersAreRefused)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    const std::string ini = carpeta.Ini();
    const struct {
        const char *tecleado;
        int minutos; // 0 refused
    } casos[] = {{"2", 2}, {"1", 0}, {"17", 17}, {"31", 0}, {"05", 5}, {"0", 0}, {"-5", 0}, {"", 0}, {"30", 30}};
    int guardados = 0;
    for (const auto &c : casos) {
        const std::vector<CajaVista> vistas = Configura(m, [&](TFormCfg *cfg) {
            cfg->CSpTimeOut->clear();
            QTest::keyClicks(cfg->CSpTimeOut, QString::fromLatin1(c.tecleado));
        });
        guardados = c.minutos ? c.minutos : guardados;
        ASSERT_EQ(vistas.size(), c.minutos ? 0u : 1u) << c.tecleado;
        if (!c.minutos) {
            EXPECT_EQ(vistas[0].texto, cp1252::toQString(FormateaTexto(Idioma.GetTexto(950), 2, 30)));
        }
        EXPECT_EQ(m->TiempoInactividad, guardados) << c.tecleado;
        EXPECT_EQ(App().Multiuser->Host.TiempoInactividad(), guardados);
        EXPECT_EQ(profile::readInt(ini, "GENERAL", "Tiempo_Inactividad", 0), guardados) << c.tecleado;
    }
    EXPECT_EQ(profile::readInt(ini, "WINDOW", "WinWidth", 0), m->width()) << "the settings as the close writes them";
    Configura(m, [](TFormCfg *cfg) { cfg->CSpTimeOut->stepUp(); });
    EXPECT_EQ(m->TiempoInactividad, 30) << "no wrap";
}

TEST(Configuracion, ADatabaseFolderIsTakenOnlyWhenItHoldsTheCopy)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    const std::string ini = carpeta.Ini();
    std::filesystem::create_directories(carpeta.Ruta("Otra/Vacia"));
    std::filesystem::copy_file(carpeta.Ruta("BD/Orvanta.mcr"), carpeta.Ruta("Otra/Orvanta.mcr"));
    testutil::TempDir fuera;
    std::filesystem::copy_file(carpeta.Ruta("BD/Orvanta.mcr"), fuera.file("Orvanta.mcr"));
    const std::string base = carpeta.BD();
    const std::string carpetaBD = carpeta.Ruta("BD");
    const struct {
        std::string carpeta;
        int aviso; // 0 none
        std::string baseDatos;
    } casos[] = {
        {carpetaBD, 0, base},
        {carpeta.Ruta("Otra/Vacia"), 645, base},
        {carpeta.Ruta("Otra"), 644, "Otra/Orvanta.mdb"}, // inside the program folder: moves with it
        {fuera.path().substr(0, fuera.path().size() - 1), 644, fuera.file("Orvanta.mdb")}, // outside: as chosen
    };
    for (const auto &c : casos) {
        profile::writeString(ini, "GENERAL", "BaseDatos", base);
        std::string mostrada;
        const std::vector<CajaVista> vistas = Configura(m, [&](TFormCfg *cfg) {
            mostrada = cp1252::fromQString(cfg->EdPathBD->text());
            cfg->EdPathBD->setText(cp1252::toQString(c.carpeta));
        });
        EXPECT_EQ(mostrada, carpetaBD) << "the folder of BaseDatos, without its last slash";
        ASSERT_EQ(vistas.size(), c.aviso ? 1u : 0u) << c.carpeta;
        if (c.aviso) {
            EXPECT_EQ(vistas[0].texto, Texto(c.aviso));
        }
        EXPECT_EQ(profile::readString(ini, "GENERAL", "BaseDatos", "?"), c.baseDatos);
        EXPECT_EQ(m->PathBD, base) << "the open database stays";
    }
}

TEST(Configuracion, TheFoldersComeBackFromTheDialog)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    std::string vistas[3];
    Configura(m, [&](TFormCfg *cfg) {
        vistas[0] = cfg->GetPathCSB19();
        vistas[1] = cfg->GetPathCSB58();
        vistas[2] = cfg->GetPathHist();
        EXPECT_FALSE(cfg->EdPathCSB19->isEnabled());
        EXPECT_FALSE(cfg->BtnBd->isVisible());
        EXPECT_EQ(cfg->windowTitle(), Texto(359));
        cfg->SetPathCSB19("/datos/csb19");
    });
    EXPECT_EQ(vistas[0], carpeta.Ruta("CSB19"));
    EXPECT_EQ(vistas[1], carpeta.Ruta("CSB58"));
    EXPECT_EQ(vistas[2], carpeta.Ruta("HISTORICO"));
    EXPECT_EQ(m->RutaCSB19, "/datos/csb19");
}

TEST(Configuracion, ThePickerAsksBeforeCreatingAMissingFolder)
{
    testutil::TempDir dir;
    QWidget dueno;
    const std::string falta = dir.file("nueva");
    {
        RespondeCajas cajas({QMessageBox::No});
        EXPECT_EQ(SeleccionaDirectorio(&dueno, falta), falta);
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(FormateaTexto(Idioma.GetTexto(578), falta)));
        EXPECT_FALSE(std::filesystem::exists(falta));
    }
    RespondeCajas cajas({QMessageBox::Yes});
    std::string elegida;
    AlMostrarse<TFormSelDir>([&](TFormSelDir *selector) {
        elegida = selector->GetDirectory();
        selector->BtnAceptar->click();
    });
    EXPECT_EQ(SeleccionaDirectorio(&dueno, falta), falta);
    EXPECT_TRUE(std::filesystem::is_directory(falta));
    EXPECT_EQ(elegida, falta) << "the picker opens on it";
}

// ---- Help ----

class Abridor : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> Abiertas;
public slots:
    void Abre(const QUrl &url) { Abiertas.push_back(url); }
};

TEST(Ayuda, F1OpensTheGuideAndAMissingGuideIsShown)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    Abridor abridor;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &abridor, "Abre");
    {
        RespondeCajas cajas;
        m->cbtAyuda->trigger();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cajas.Vistas[0].texto, Texto(183));
        EXPECT_EQ(cajas.Vistas[0].titulo, Texto(1));
        EXPECT_TRUE(abridor.Abiertas.empty());
    }
    std::filesystem::create_directory(carpeta.Ruta("ayuda"));
    testutil::writeFile(carpeta.Ruta("ayuda/orvanta.html"), "<html></html>");
    RespondeCajas cajas;
    m->MNUAyuda->trigger();
    EXPECT_TRUE(cajas.Vistas.empty());
    ASSERT_EQ(abridor.Abiertas.size(), 1u);
    EXPECT_EQ(abridor.Abiertas[0].toLocalFile().toStdString(), carpeta.Ruta("ayuda/orvanta.html"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

TEST(Ayuda, TheBuildShipsThePicturesOfTheHelpAndOfTheGuide)
{
    const std::string carpeta = PROGRAM_DIR "ayuda/";
    const std::set<std::string> imagenes = {"login.jpg", "usuarios.jpg", "nuevousuario.jpg", "editor.jpg",
                                            "principal.jpg"};
    for (const std::string &nombre : imagenes) {
        const QImage imagen = jpeg::read(QString::fromStdString(carpeta + nombre));
        EXPECT_GE(imagen.width(), 300) << nombre;
        EXPECT_GE(imagen.height(), 150) << nombre;
    }
    const std::string guia = testutil::readFile(carpeta + "orvanta.html");
    const std::regex imagen("<img src=\"([^\"]*)\"");
    int nombradas = 0;
    for (auto i = std::sregex_iterator(guia.begin(), guia.end(), imagen); i != std::sregex_iterator(); ++i, ++nombradas)
        EXPECT_TRUE(imagenes.count((*i)[1].str())) << (*i)[1].str() << " is not built";
    EXPECT_EQ(nombradas, 4);
}

// ---- The bank image ----

TEST(Banco, TheImageOpensTheBanksSiteInTheConfiguredBrowserAndShowsItAsHint)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    m->SaltarLogin = true;
    ASSERT_TRUE(Activa(m));
    QLabel *imagen = m->imgETelvirana;
    ASSERT_FALSE(imagen->pixmap().isNull());
    EXPECT_TRUE(imagen->isVisible());
    m->URLTelvirana = "https://banco.example/empresas?a=1&b=\xF1";
    const QString direccion = cp1252::toQString(m->URLTelvirana);
    QMouseEvent encima(QEvent::MouseMove, QPointF(4, 4), imagen->mapToGlobal(QPointF(4, 4)), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(imagen, &encima);
    EXPECT_EQ(imagen->toolTip(), direccion);

    // The user's browser, started without a shell with the address as its one argument.
    const std::string abierta = carpeta.Ruta("abierta.txt");
    const std::string navegador = carpeta.Ruta("navegador");
    testutil::writeFile(navegador, "#!/bin/sh\nprintf '%s|' \"$@\" > '" + abierta + ".tmp'\nmv '" + abierta +
                                       ".tmp' '" + abierta + "'\n");
    ASSERT_EQ(chmod(navegador.c_str(), 0700), 0);
    m->WWWBrowserEXEName = navegador;
    QTest::mouseDClick(imagen, Qt::LeftButton);
    ASSERT_TRUE(arranque::Espera([&] { return std::filesystem::exists(abierta); }));
    EXPECT_EQ(QString::fromUtf8(testutil::readFile(abierta)), direccion + QLatin1Char('|'));

    // "iexplore", the default, and a program that is not there: the desktop's browser.
    Abridor abridor;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &abridor, "Abre");
    for (const char *programa : {"iexplore", "", "no-existe-este-navegador"}) {
        m->WWWBrowserEXEName = programa;
        QTest::mouseDClick(imagen, Qt::LeftButton);
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(abridor.Abiertas.size(), 3u);
    for (const QUrl &url : abridor.Abiertas)
        EXPECT_EQ(url, QUrl(direccion));
}

} // namespace

#include "test_mantenimiento.moc"
