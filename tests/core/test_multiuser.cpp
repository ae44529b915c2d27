// The coordination of running copies: registry, heartbeat, sweep of dead copies, exit,
// inactivity count and the conversion of an older database. Copies run in other processes
// where the behaviour crosses processes; passes and sweeps are run directly.
#include "General.h"
#include "Multiuser.h"
#include "copias.h"
#include "profile.h"
#include "ventanas.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace {

using copias::Contadores;
using copias::Copia;
using copias::Filas;
using copias::kLibre;
using copias::kRemesa1;
using copias::Valor;

class Coordinacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        Inactividad = {};
    }

    // A copy registered in this process, with its own advancing clock.
    std::unique_ptr<_multiuser> Registra()
    {
        auto m = std::make_unique<_multiuser>();
        MultiuserPrueba::RelojQueAvanza(*m);
        EXPECT_TRUE(m->IniciaMultiusuario());
        EXPECT_TRUE(MultiuserPrueba::Temporizador(*m).isActive());
        EXPECT_EQ(MultiuserPrueba::Temporizador(*m).interval(), 2000);
        return m;
    }

    std::string Hora(int numero)
    {
        return Valor("SELECT Hora FROM [Aplicaciones()] WHERE Num_Aplicacion=" + std::to_string(numero), "Hora");
    }

    copias::Base base;
};

TEST_F(Coordinacion, CopiesInThreeProcessesGetTheirOwnNumbersAndBeat)
{
    Copia a(base.Ruta()), b(base.Ruta()), c(base.Ruta());
    EXPECT_EQ(a.Pide("registra"), "1 1");
    EXPECT_EQ(b.Pide("registra"), "1 2") << "the number is this connection's new key";
    EXPECT_EQ(c.Pide("registra"), "1 3");
    EXPECT_EQ(Hora(2), "080000") << "registration writes the first heartbeat";

    EXPECT_EQ(b.Pide("pasada"), "-");
    EXPECT_EQ(Hora(2), "080003") << "a pass beats three times";
    EXPECT_EQ(Hora(1), "080000") << "a copy beats only its own row";
    EXPECT_EQ(profile::readString(base.Programa().dir().file("Orvanta.INI"), "GENERAL", "Num_Aplic", ""), "0800032")
        << "the time and the copy's number run together";
}

TEST_F(Coordinacion, AKilledCopyHoldingABatchIsReleasedByTheNextSweep)
{
    Copia muerta(base.Ruta()), viva(base.Ruta());
    ASSERT_EQ(muerta.Pide("registra"), "1 1");
    ASSERT_EQ(viva.Pide("registra"), "1 2");
    auto barrendera = Registra();
    ASSERT_EQ(muerta.Pide("bloquea remesa 1 0"), "1");
    barrendera->SeleccionaRemesa(1);
    const std::vector<int> ambas = {2, 2, 2, 2, 2, 0, 0, 0, 0, 0};
    ASSERT_EQ(Contadores(), ambas);

    barrendera->Execute(); // the first pass sweeps: it only records
    muerta.Mata();
    for (int pasada = 2; pasada <= 20; ++pasada)
        barrendera->Execute();
    EXPECT_EQ(Filas("SELECT * FROM [Aplicaciones()]").size(), 3u) << "no sweep between the 1st and the 21st pass";
    EXPECT_EQ(Contadores(), ambas);

    viva.Pide("pasada");
    barrendera->Execute();
    EXPECT_EQ(Filas("SELECT Num_Aplicacion FROM [Aplicaciones()] ORDER BY Num_Aplicacion"),
              (std::vector<std::string>{"Num_Aplicacion=2", "Num_Aplicacion=3"}))
        << "only the copy whose heartbeat stopped is removed";
    EXPECT_EQ(Contadores(), kRemesa1) << "its batch chain is released";
    EXPECT_EQ(barrendera->Reg_Remesa, 1) << "the sweeper keeps its own record of the same batch";
    EXPECT_EQ(barrendera->Sel_Remesa, 1);
    EXPECT_EQ(Valor("SELECT Reg_Remesa FROM [Aplicaciones()] WHERE Num_Aplicacion=3", "Reg_Remesa"), "1");
    EXPECT_EQ(barrendera->NumAplicaciones, 2);
}

// A copy killed inside a bill's lock (its chain raised up to the batch's user, nothing
// committed), or inside a send, holding both batches shared.
TEST_F(Coordinacion, ACopyKilledInsideALockOrASendLeavesNothingItsRowDoesNotName)
{
    for (const auto &[detiene, orden] :
         {std::pair{"detiene", "bloquea documento 1 0"}, std::pair{"detiene envio", "envia 1 2"}}) {
        Copia muerta(base.Ruta());
        ASSERT_EQ(muerta.Pide("registra").substr(0, 2), "1 ");
        auto barrendera = Registra();
        barrendera->Execute(); // the first pass sweeps: it only records
        ASSERT_EQ(muerta.Pide(detiene), "ok");
        ASSERT_EQ(muerta.Pide(orden), "detenida") << orden;
        muerta.Mata();
        for (int pasada = 2; pasada <= 21; ++pasada)
            barrendera->Execute();
        EXPECT_EQ(Filas("SELECT * FROM [Aplicaciones()]").size(), 1u) << orden << ": swept";
        EXPECT_EQ(Contadores(), kLibre) << orden;
        barrendera->FinMultiusuario();
    }
}

// The time-out's countdown (any window a host call of a pass shows) waits for the user while
// the timer goes on, here from one sweep of another copy to its next.
TEST_F(Coordinacion, ACopyWaitingInAWindowOfItsOwnPassStillBeats)
{
    Copia barrendera(base.Ruta());
    ASSERT_EQ(barrendera.Pide("registra"), "1 1");
    auto viva = Registra();
    ASSERT_TRUE(viva->BloqueaRemesa(1, false));
    viva->Host.TiempoInactividad = [] { return 0; };
    viva->Host.TimeOutInactividad = [&] {
        viva->Host.TiempoInactividad = [] { return 15; };
        for (int pasada = 1; pasada <= 21; ++pasada, viva->Execute())
            barrendera.Pide("pasada");
    };
    viva->Execute();
    EXPECT_EQ(viva->Num_Aplicacion, 2) << "not taken for dead, so never registered anew";
    EXPECT_EQ(Contadores(), kRemesa1);
}

TEST_F(Coordinacion, ACopyTakenForDeadWhilePausedRegistersAgainWithItsLocks)
{
    auto pausada = Registra();
    auto otra = Registra();
    pausada->RegistraUsuarioLogin(1);
    pausada->SeleccionaRemesa(2);
    const std::vector<int> suyos = {2, 1, 1, 1, 0, 1, 0, 0, 0, 0};
    ASSERT_EQ(Contadores(), suyos);

    pausada->Pausado = true;
    otra->BarridoAplicaciones();
    pausada->Execute();
    EXPECT_EQ(Hora(1), "080000") << "a paused copy does not beat";
    otra->BarridoAplicaciones();
    EXPECT_EQ(Contadores(), kLibre) << "its locks were released by the other copy";

    pausada->Pausado = false;
    pausada->Execute();
    EXPECT_EQ(pausada->Num_Aplicacion, 3) << "registered again under a new number";
    EXPECT_EQ(Contadores(), suyos) << "the counters match its records again";
    EXPECT_EQ(Valor("SELECT * FROM [Aplicaciones()] WHERE Num_Aplicacion=3", "Reg_Remesa"), "2");
    EXPECT_EQ(Valor("SELECT * FROM [Aplicaciones()] WHERE Num_Aplicacion=3", "Id_UsuarioLogineado"), "1");
}

TEST_F(Coordinacion, TwoProcessesShareLocksAndNoticesAndOnlyTheLastOutResets)
{
    Copia primera(base.Ruta()), segunda(base.Ruta());
    ASSERT_EQ(primera.Pide("registra"), "1 1");
    ASSERT_EQ(segunda.Pide("registra"), "1 2");
    EXPECT_EQ(primera.Pide("bloquea remesa 1 0"), "1");
    EXPECT_EQ(segunda.Pide("bloquea remesa 1 0"), "0") << "exclusive lock refused to the second copy";
    EXPECT_EQ(segunda.Pide("bloquea remesa 1 1"), "1") << "shared lock granted";
    EXPECT_EQ(Contadores(), (std::vector<int>{2, 2, 2, 2, 2, 0, 0, 0, 0, 0})) << "and counted";
    EXPECT_EQ(primera.Pide("estado remesa 1") + segunda.Pide("estado remesa 1"), "21");
    segunda.Pide("desbloquea remesa 1");
    EXPECT_EQ(segunda.Pide("bloquea documento 1 0"), "1");

    primera.Pide("notifica 2 1");
    EXPECT_EQ(primera.Pide("pasada"), "-") << "never applied by its poster";
    EXPECT_EQ(segunda.Pide("pasada"), "0:2:1;");
    EXPECT_TRUE(Filas("SELECT * FROM [Actualizaciones()]").empty()) << "deleted by the one other copy";
    primera.Pide("notifica 3 1");
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Remesas()] SET Block=3 WHERE Id_remesa=2")) << "left by a crash";

    EXPECT_EQ(segunda.Pide("fin"), "0") << "another copy remains";
    EXPECT_EQ(Contadores(), (std::vector<int>{1, 1, 1, 1, 1, 3, 0, 0, 0, 0})) << "only its own locks go";
    EXPECT_EQ(Filas("SELECT * FROM [Actualizaciones()]").size(), 1u);

    EXPECT_EQ(primera.Pide("fin"), "1") << "the last copy out";
    EXPECT_EQ(Contadores(), kLibre);
    EXPECT_TRUE(Filas("SELECT * FROM [Actualizaciones()]").empty());
    EXPECT_TRUE(Filas("SELECT * FROM [Aplicaciones()]").empty());
}

TEST_F(Coordinacion, AFailedCountAtExitIsNotLast)
{
    auto m = Registra();
    m->BloqueaRemesa(1, false);
    m->NotificaActualizacion(NIVEL_REMESAS, 1);
    ASSERT_TRUE(copias::Ejecuta("ALTER TABLE [Aplicaciones()] RENAME TO [Otra]"));
    EXPECT_FALSE(m->FinMultiusuario());
    EXPECT_EQ(Contadores(), kRemesa1) << "no lock was reset";
    EXPECT_EQ(Filas("SELECT * FROM [Actualizaciones()]").size(), 1u) << "no notice was deleted";
    EXPECT_FALSE(MultiuserPrueba::Temporizador(*m).isActive());
    EXPECT_TRUE(m->FinMultiusuario()) << "a second exit finds the copy unregistered";
}

TEST_F(Coordinacion, InactivityTicksOncePerPassAndCallsTheTimeOut)
{
    struct Caso {
        int minutos;
        bool pausado;
        int pasadas;
        int llamadas;
        const char *porque;
    };
    const Caso casos[] = {
        {0, false, 3, 3, "0 minutes calls at every pass"},
        {1, false, 29, 0, "30 ticks are one minute"},
        {1, false, 30, 1, "the call comes at the 30th tick"},
        {1, true, 30, 0, "a paused copy counts but does not call"},
    };
    auto m = Registra();
    for (const Caso &c : casos) {
        Inactividad = {};
        int llamadas = 0;
        m->Pausado = c.pausado;
        m->Host.TiempoInactividad = [&c] { return c.minutos; };
        m->Host.TimeOutInactividad = [&] {
            ++llamadas;
            m->Execute(); // a pass started inside another is skipped
        };
        for (int i = 0; i < c.pasadas; ++i)
            m->Execute();
        EXPECT_EQ(llamadas, c.llamadas) << c.porque;
        EXPECT_EQ(Inactividad.Ticks, c.pasadas) << c.porque;
    }
}

TEST_F(Coordinacion, ApplyingANoticeIsNoUserActivity)
{
    auto poster = Registra();
    auto lectora = Registra();
    int ticksDurante = -1;
    lectora->Host.ProcesaActualizacion = [&](int, int, int) {
        DBGetData("SELECT * FROM [Remesas()]", [](char *, char *, int) {});
        ticksDurante = Inactividad.Ticks;
    };
    poster->NotificaActualizacion(NIVEL_DOCUMENTOS, 1);
    Inactividad.Ticks = 5;
    lectora->LeeActualizaciones();
    EXPECT_EQ(ticksDurante, 5) << "queries while refreshing keep the count";
    EXPECT_FALSE(Inactividad.Refrescando);
    DBGetData("SELECT * FROM [Remesas()]", [](char *, char *, int) {});
    EXPECT_EQ(Inactividad.Ticks, 0) << "other queries reset it";
}

// A database made before multi-user support (the nine shared tables without Block), with
// its scrambled copy beside it.
void BaseAntigua(const entorno::BaseDatos &bd, bool completa)
{
    for (const char *tabla : {"[_Usuarios()]", "[_Empresas( Datos )]", "[_Presentadores( Datos )]",
                              "[_Emisores( Datos )]", "[Remesas()]", "[Librados( Datos )]", "[Documentos()]",
                              "[Plantillas( Datos )]", "[Plantillas( Elementos )]"})
        if (completa || std::string(tabla) != "[Plantillas( Elementos )]") {
            ASSERT_TRUE(copias::Ejecuta(std::string("CREATE TABLE ") + tabla + " (Id INTEGER, Nombre TEXT)"));
            ASSERT_TRUE(copias::Ejecuta(std::string("INSERT INTO ") + tabla + " VALUES (1, 'x')"));
        }
    testutil::writeFile(bd.Dir().file("Orvanta.mcr"), "copia antigua");
}

// Registers with the question answered by boton; the times it was asked.
int Registra(_multiuser &m, QMessageBox::StandardButton boton, bool &registrado)
{
    Respondedor<QMessageBox> respuesta([boton](QMessageBox *caja) {
        EXPECT_EQ(caja->text().toStdString().substr(0, 36), "La base de datos va a ser transforma");
        caja->button(boton)->click();
    });
    registrado = m.IniciaMultiusuario();
    return respuesta.Veces();
}

TEST(Conversion, AnOlderDatabaseIsConvertedInOneTransactionWhateverTheAnswer)
{
    struct Caso {
        QMessageBox::StandardButton boton;
        bool completa;
        bool convertida;
        const char *porque;
    };
    const Caso casos[] = {
        {QMessageBox::Yes, true, true, "Yes keeps the old scrambled copy as .bak"},
        {QMessageBox::No, true, true, "No converts all the same, keeping the copy"},
        {QMessageBox::No, false, false, "a failed statement rolls the whole conversion back"},
    };
    for (const Caso &c : casos) {
        entorno::Programa programa;
        entorno::BaseDatos bd;
        ASSERT_TRUE(bd.Abierta());
        BaseAntigua(bd, c.completa);
        _multiuser m;
        m.Host.GetPathBD = [&bd] { return bd.Ruta(); };
        bool registrado = false;
        EXPECT_EQ(Registra(m, c.boton, registrado), 1) << c.porque;
        EXPECT_EQ(registrado, c.convertida) << c.porque;
        const bool bak = c.boton == QMessageBox::Yes;
        EXPECT_EQ(testutil::fileExists(bd.Dir().file("Orvanta.bak")), bak) << c.porque;
        EXPECT_EQ(testutil::fileExists(bd.Dir().file("Orvanta.mcr")), !bak) << c.porque;
        for (const char *tabla : {"[_Usuarios()]", "[Remesas()]", "[Plantillas( Datos )]"})
            EXPECT_EQ(Valor(std::string("SELECT Block FROM ") + tabla, "Block"), c.convertida ? "0" : "")
                << tabla << ": " << c.porque;
        if (!c.convertida) {
            EXPECT_TRUE(Filas("SELECT * FROM [Aplicaciones()]").empty()) << c.porque;
            EXPECT_NE(programa.Log().find("[ Multiuser::ConvierteBaseDatos ] "), std::string::npos);
            continue;
        }
        EXPECT_EQ(m.Num_Aplicacion, 1);
        ASSERT_TRUE(m.FinMultiusuario());
        EXPECT_EQ(Registra(m, c.boton, registrado), 0) << "a converted database is not touched";
        EXPECT_EQ(m.Num_Aplicacion, 2);
    }
}

} // namespace
