// The program's run from the login to the exit: the close confirmation, the settings
// written back, the exit of the last copy and of a copy that is not the last.
#include "arranque.h"

#include "Aplicacion.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "basedatos.h"
#include "copias.h"
#include "profile.h"
#include "qcp1252.h"
#include "vasqdb.h"
#include "ventanas.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using arranque::Carpeta;
using arranque::Ventanas;

const char *const kOrganizacion[] = {
    "INSERT INTO [_Empresas( Datos )] (Id_usuario,Cif,Nombre) VALUES (1,'B00000001','Riegos & Norte')",
    "INSERT INTO [_Presentadores( Datos )] (Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
    "VALUES (1,'CSB19','B00000001','000','Presentador')",
};

// The administrator's organisation stored, and the window shown: the login follows.
void MuestraConOrganizacion(TFormMain *m)
{
    for (const char *sql : kOrganizacion)
        ASSERT_TRUE(arranque::Ejecuta(sql));
    arranque::Login();
    m->show();
}

TEST(Salida, LoginCloseAndNextStartFindTheSameData)
{
    Carpeta carpeta;
    const std::string copiaAntes = testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr"));
    {
        Ventanas ventanas;
        TFormMain *m = ventanas.Main();
        MuestraConOrganizacion(m);
        const bool terminado = arranque::HastaTerminar([&] {
            ASSERT_TRUE(arranque::Espera([&] { return !m->IdEmpresa.empty(); })) << "logged in";
            ASSERT_EQ(m->treeInfoGlobal->topLevelItemCount(), 1) << "the login made the company current";
            EXPECT_EQ(m->treeInfoGlobal->topLevelItem(0)->text(0), QStringLiteral("Riegos & Norte"));
            EXPECT_EQ(m->IdEmpresa, "1");
            EXPECT_EQ(m->treeInfoGlobal->currentItem(), m->treeInfoGlobal->topLevelItem(0)) << "the keys work at once";
            EXPECT_EQ(m->focusWidget(), m->treeInfoGlobal) << "the window's focus, once it is active again";

            // Another copy moved the send-file counter on meanwhile.
            profile::writeString(carpeta.Ini(), "FICHEROCSB", "UltimoFichero", "9");
            arranque::Responde(QMessageBox::No);
            m->cbtSalir->trigger();
            EXPECT_TRUE(m->isVisible()) << "No keeps the window";
            EXPECT_TRUE(profile::readKeys(carpeta.Ini(), "WINDOW").empty());
            arranque::Responde(QMessageBox::Yes);
            m->mainMenuSalir->trigger();
        });
        ASSERT_TRUE(terminado);
        EXPECT_FALSE(profile::readKeys(carpeta.Ini(), "WINDOW").empty()) << "the next start is no first run";
        EXPECT_EQ(profile::readString(carpeta.Ini(), "FICHEROCSB", "UltimoFichero", "?"), "9");
        EXPECT_EQ(profile::readString(carpeta.Ini(), "GENERAL", "Idioma", "?"), "Castellano");
    }
    EXPECT_FALSE(testutil::fileExists(carpeta.BD()));
    EXPECT_NE(testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr")), copiaAntes);
    for (const char *resto : {"Orvanta.LOG", "vasqdb.log", "tmp.mdb"})
        EXPECT_FALSE(testutil::fileExists(carpeta.Ruta(resto))) << resto;

    Ventanas otraVez;
    EXPECT_EQ(arranque::Valor("SELECT Nombre FROM [_Empresas( Datos )] WHERE Id_empresa=1", "Nombre"),
              "Riegos & Norte");
}

TEST(Salida, AChangeOfUserRunsTheLoginOnceAndShowsTheWindowAgain)
{
    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    MuestraConOrganizacion(m);
    ASSERT_TRUE(arranque::HastaTerminar([&] {
        ASSERT_TRUE(arranque::Espera([&] { return !m->IdEmpresa.empty(); }));
        m->treeInfoGlobal->clear();
        int logins = 0;
        AlMostrarse<TFormLogin>([&](TFormLogin *login) {
            ++logins;
            EXPECT_FALSE(m->isVisible()) << "the window hides while the login shows";
            login->txtPassword->setText(QStringLiteral("cambiame"));
            login->cbtOK->click();
            login->cbtOK->click();
        });
        arranque::Responde(QMessageBox::Yes);
        m->cbtFinalizarSesion->trigger();
        EXPECT_TRUE(m->isVisible());
        EXPECT_EQ(m->treeInfoGlobal->topLevelItemCount(), 1) << "the login rebuilt the tree";
        // The show that follows runs no login of its own.
        arranque::Espera([] { return false; }, 300);
        EXPECT_EQ(logins, 1);
        m->TerminaAplicacion();
    }));
}

TEST(Salida, CancellingTheLoginEndsWithoutWritingSettings)
{
    Carpeta carpeta;
    Ventanas ventanas;
    arranque::Login(true);
    ventanas.Main()->show();
    ASSERT_TRUE(arranque::HastaTerminar([] {}));
    EXPECT_TRUE(profile::readKeys(carpeta.Ini(), "WINDOW").empty());
    EXPECT_EQ(arranque::Valor("SELECT Block FROM [_Usuarios()] WHERE Id_usuario=1", "Block"), "0");
}

TEST(Salida, ACopyThatIsNotTheLastLeavesTheDatabaseAndTheOtherCopysData)
{
    Carpeta carpeta;
    ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
    const std::string copiaAntes = testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr"));
    copias::Copia primera(carpeta.BD());
    ASSERT_EQ(primera.Pide("registra").substr(0, 1), "1");
    ASSERT_EQ(primera.Pide("notifica 2 11"), "ok");
    {
        Ventanas segunda;
        ASSERT_FALSE(segunda.Main()->ArranqueFallido);
    }
    EXPECT_TRUE(testutil::fileExists(carpeta.BD()));
    EXPECT_EQ(testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr")), copiaAntes);
    EXPECT_NE(carpeta.Log().find("[ FIN DE SESION ]"), std::string::npos) << "the running copy's log stays";

    // The first copy goes on writing to the file that is still the database.
    ASSERT_EQ(primera.Pide("notifica 2 12"), "ok");
    SetBdPassword(kPasswordBD);
    ASSERT_EQ(VASQ_OpenDB(carpeta.BD().c_str(), 0, 0), 0);
    EXPECT_EQ(arranque::Valor("SELECT COUNT(*) AS Total FROM [Actualizaciones()] WHERE Id_Actualizar IN (11,12)",
                              "Total"),
              "2");
    EXPECT_EQ(arranque::Valor("SELECT COUNT(*) AS Total FROM [Aplicaciones()]", "Total"), "1");
    VASQ_CloseDB();
}

// The last copy out, holding the database alone, finds another copy's row with a batch lock
// and a notice: a copy silent for a minute is swept with them before the database goes into
// its copy; one that beat lately (closed its database for a moment) keeps the database, and
// the exit says so.
TEST(Salida, TheLastExitSweepsTheDeadButKeepsTheDatabaseOfACopyThatBeatLately)
{
    for (const bool muerta : {true, false}) {
        Carpeta carpeta;
        ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
        RespondeCajas cajas;
        {
            Ventanas ventanas;
            MultiuserPrueba::RelojQueAvanza(*App().Multiuser); // 08:00:00 on, as the other copy's
            for (const char *sql :
                 {kOrganizacion[0], kOrganizacion[1], "INSERT INTO [_Emisores( Datos )] (Id_presentador) VALUES (1)",
                  "INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Descripcion) VALUES (1,'EUR','Uno')"})
                ASSERT_TRUE(arranque::Ejecuta(sql));
            copias::Copia otra(carpeta.BD());
            ASSERT_EQ(otra.Pide("registra"), "1 2");
            ASSERT_EQ(otra.Pide("bloquea remesa 1 0") + otra.Pide("notifica 2 1"), "1ok");
            if (muerta) {
                otra.Mata();
                ASSERT_TRUE(arranque::Ejecuta("UPDATE [Aplicaciones()] SET Hora='075900' WHERE Num_Aplicacion=2"));
            } else {
                ASSERT_EQ(otra.Pide("cierra"), "ok");
            }
        }
        EXPECT_EQ(testutil::fileExists(carpeta.BD()), !muerta);
        ASSERT_EQ(cajas.Vistas.size(), muerta ? 0u : 1u);
        if (muerta)
            ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD)) << "from the copy the exit wrote";
        else
            EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(FormateaTexto(Idioma.GetTexto(782), carpeta.BD(),
                                                                               carpeta.Ruta("BD/Orvanta.mcr"),
                                                                               carpeta.BD())));
        ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
        EXPECT_EQ(arranque::Valor("SELECT (SELECT SUM(Block) FROM [Remesas()]) || (SELECT COUNT(*) FROM "
                                  "[Actualizaciones()]) || COUNT(*) AS R FROM [Aplicaciones()]",
                                  "R"),
                  muerta ? "000" : "111")
            << "its lock, its notice and its row";
        VASQ_CloseDB();
    }
}

} // namespace
