// The scrambled copy of the database: block scrambling, round trips and safe failures.
#include "General.h"

#include "b_encrip.h"
#include "entorno.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Filas()
{
    std::string r;
    DBGetData("SELECT Id, Nombre FROM [T( Datos )] ORDER BY Id", [&](char *fila, char *, int) { r += fila; r += ";"; });
    return r;
}

// Creates a keyed database with rows, left open.
void Llena(entorno::BaseDatos &bd, int filas)
{
    ASSERT_TRUE(bd.Abierta());
    int n;
    ASSERT_EQ(DBExecSQL("CREATE TABLE [T( Datos )] (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nombre TEXT)", n), "");
    for (int k = 0; k < filas; ++k)
        ASSERT_EQ(DBExecSQL("INSERT INTO [T( Datos )] (Nombre) VALUES ('Compa\xF1\xED" "a " + std::to_string(k) + "')", n), "");
}

TEST(CopiaBD, CopyPathChangesTheExtension)
{
    EXPECT_EQ(RutaCopiaBD("/p/BD/Orvanta.mdb"), "/p/BD/Orvanta.mcr");
    EXPECT_EQ(RutaCopiaBD("/p/B.D/Orvanta"), "/p/B.D/Orvanta.mcr");
}

TEST(CopiaBD, EachBlockOf8192IsScrambledOnItsOwn)
{
    entorno::Programa programa;
    std::string datos(8193, '\0');
    for (size_t k = 0; k < datos.size(); ++k)
        datos[k] = char(k * 7 + k / 300);
    const std::string bd = programa.dir().file("Orvanta.mdb");
    testutil::writeFile(bd, datos);
    ASSERT_TRUE(GuardaBDCifrada(bd, true, ""));
    std::string esperado = datos;
    BlockQuickEncript(esperado.data(), 8192);
    BlockQuickEncript(esperado.data() + 8192, 1);
    EXPECT_EQ(testutil::readFile(programa.dir().file("Orvanta.mcr")), esperado);
    EXPECT_TRUE(testutil::fileExists(bd)) << "kept";
    std::filesystem::remove(bd);
    ASSERT_TRUE(RecuperaBDCifrada(bd));
    EXPECT_EQ(testutil::readFile(bd), datos);
    EXPECT_EQ(std::filesystem::directory_iterator(programa.dir().path()) != std::filesystem::directory_iterator(), true);
    for (const auto &f : std::filesystem::directory_iterator(programa.dir().path()))
        EXPECT_EQ(f.path().extension() == VASQ_TEMP_MARK, false) << f.path();
}

TEST(CopiaBD, RoundTripWithoutPasswordAndBack)
{
    entorno::Programa programa;
    std::string ruta, antes;
    {
        entorno::BaseDatos bd(kPasswordBD);
        Llena(bd, 200);
        antes = Filas();
        VASQ_CloseDB();
        ruta = bd.Ruta();
        std::filesystem::copy_file(ruta, programa.dir().file("Orvanta.mdb"));
    }
    ruta = programa.dir().file("Orvanta.mdb");
    ASSERT_TRUE(GuardaBDCifrada(ruta, false, kPasswordBD));
    EXPECT_FALSE(testutil::fileExists(ruta)) << "deleted once the copy is safe";
    std::string copia = testutil::readFile(programa.dir().file("Orvanta.mcr"));
    ASSERT_GT(copia.size(), 16u);
    EXPECT_NE(copia.substr(0, 16), std::string("SQLite format 3\0", 16)) << "scrambled";
    BlockQuickDecript(copia.data(), long(std::min<size_t>(copia.size(), 8192)));
    EXPECT_EQ(copia.substr(0, 16), std::string("SQLite format 3\0", 16)) << "without the password";

    ASSERT_TRUE(RecuperaBDCifrada(ruta, kPasswordBD));
    for (const char *resto : {".tmp", ".tmp.lck"})
        EXPECT_FALSE(testutil::fileExists(ruta + resto)) << resto;
    SetBdPassword("");
    EXPECT_NE(VASQ_OpenDB(ruta.c_str(), 0, 0), 0) << "the rebuilt database needs the password";
    VASQ_GetLastErrorCodeID();
    SetBdPassword(kPasswordBD);
    ASSERT_EQ(VASQ_OpenDB(ruta.c_str(), 0, 0), 0);
    EXPECT_EQ(Filas(), antes);
    VASQ_CloseDB();
    SetBdPassword("");
}

TEST(CopiaBD, RowsStillInTheWriteAheadLogReachTheCopy)
{
    entorno::Programa programa;
    entorno::BaseDatos bd(kPasswordBD);
    Llena(bd, 50);
    const std::string antes = Filas();
    ASSERT_TRUE(testutil::fileExists(bd.Ruta() + "-wal"));
    ASSERT_TRUE(GuardaBDCifrada(bd.Ruta(), true, kPasswordBD)) << "with the database open in this copy";
    VASQ_CloseDB();
    std::filesystem::remove(bd.Ruta());
    ASSERT_TRUE(RecuperaBDCifrada(bd.Ruta()));
    SetBdPassword("");
    ASSERT_EQ(VASQ_OpenDB(bd.Ruta().c_str(), 0, 0), 0);
    EXPECT_EQ(Filas(), antes);
}

TEST(CopiaBD, FailuresKeepTheDatabaseAndTheOldCopy)
{
    entorno::Programa programa;
    const std::string ruta = programa.dir().file("Orvanta.mdb");
    const std::string copia = programa.dir().file("Orvanta.mcr");
    testutil::writeFile(ruta, std::string(100, 'x'));
    testutil::writeFile(copia, "copia anterior");

    EXPECT_FALSE(GuardaBDCifrada(ruta, false, kPasswordBD)) << "not a database under that password";
    EXPECT_TRUE(testutil::fileExists(ruta));
    EXPECT_EQ(testutil::readFile(copia), "copia anterior");

    std::filesystem::create_directory(programa.dir().file(".Orvanta.mcr" VASQ_TEMP_MARK));
    EXPECT_FALSE(GuardaBDCifrada(ruta, false, "")) << "the temporary file cannot be written";
    EXPECT_TRUE(testutil::fileExists(ruta));
    EXPECT_EQ(testutil::readFile(copia), "copia anterior");

    EXPECT_FALSE(GuardaBDCifrada(programa.dir().file("Otra.mdb"), false, ""));
    EXPECT_NE(programa.Log().find("[ General::GuardaBDCifrada ] "), std::string::npos);
}

TEST(CopiaBD, RebuildWithoutCopyOrFromNoDatabaseCreatesNothing)
{
    entorno::Programa programa;
    const std::string ruta = programa.dir().file("Orvanta.mdb");
    EXPECT_FALSE(RecuperaBDCifrada(ruta));
    std::string basura(5000, 'x');
    BlockQuickEncript(basura.data(), long(basura.size()));
    testutil::writeFile(programa.dir().file("Orvanta.mcr"), basura);
    EXPECT_FALSE(RecuperaBDCifrada(ruta, kPasswordBD)) << "a copy that is no database is refused before the rename";
    for (const char *resto : {"", ".tmp", ".tmp.lck"})
        EXPECT_FALSE(testutil::fileExists(ruta + resto)) << resto;
    EXPECT_NE(programa.Log().find("[ General::RecuperaBDCifrada ] "), std::string::npos);
}

} // namespace
