// The shipped database as the program finds it on a fresh machine: the staged scrambled
// copy, rebuilt and keyed as start-up does, with every table, the reference rows and the
// first administrator; and the copy written back at exit giving the same rows again.
#include "basedatos.h"
#include "shippeddb.h"

#include "General.h"
#include "Trunpass.h"
#include "vasqdb.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using basedatos::field;
using basedatos::query;

namespace {

class ShippedDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        mdb = basedatos::restoreShipped(dir);
        ASSERT_FALSE(mdb.empty()) << "no se pudo reconstruir la copia " << SHIPPED_MCR;
    }
    void TearDown() override { VASQ_CloseDB(); }

    testutil::TempDir dir;
    std::string mdb;
};

TEST_F(ShippedDatabase, OpensOnlyWithTheDatabasePassword)
{
    // A plain file here would let anyone read the data; the header must be encrypted.
    std::string head = testutil::readFile(mdb).substr(0, 16);
    EXPECT_NE(head, std::string("SQLite format 3\0", 16));
    EXPECT_NE(basedatos::open(mdb, ""), 0);
    VASQ_CloseDB();
    EXPECT_NE(basedatos::open(mdb, "otra"), 0);
    VASQ_CloseDB();
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);
}

TEST_F(ShippedDatabase, HoldsEveryTableAndTheReferenceRows)
{
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);
    for (const std::string &table : basedatos::kTables) {
        auto r = query("SELECT COUNT(*) AS Total FROM " + table + ";");
        ASSERT_TRUE(r.ok) << table << ": " << r.error;
    }
    struct Count {
        const char *table;
        const char *total;
        const char *why;
    };
    const Count counts[] = {
        {"[_TiposMoneda()]", "2", "the batch editor offers pesetas and euros"},
        {"[_Provincias()]", "52", "every postcode prefix 01 to 52 names its province"},
        {"[_Usuarios()]", "1", "only the first administrator; users come from the bank or the admin"},
        {"[_Empresas( Datos )]", "0", "no organisation is shipped"},
        {"[Remesas()]", "0", "no batch is shipped"},
        {"[Aplicaciones()]", "0", "no running copy is registered in the shipped file"},
        {"[Actualizaciones()]", "0", "no change notice is pending"},
    };
    for (const Count &c : counts) {
        auto r = query(std::string("SELECT COUNT(*) AS Total FROM ") + c.table + ";");
        ASSERT_EQ(r.rows.size(), 1u) << c.table;
        EXPECT_EQ(field(r.rows[0], "Total"), c.total) << c.table << ": " << c.why;
    }
    // The currencies in the order the batch editor lists them.
    auto monedas = query("SELECT * FROM [_TiposMoneda()] WHERE Moneda_valida = True;");
    ASSERT_EQ(monedas.rows.size(), 2u);
    EXPECT_EQ(field(monedas.rows[0], "Id_moneda"), "ESP");
    EXPECT_EQ(field(monedas.rows[1], "Id_moneda"), "EUR");
    // Every province code is two digits and found again by its name in capitals.
    auto provincias = query("SELECT * FROM [_Provincias()];");
    for (const std::string &row : provincias.rows) {
        std::string cp = field(row, "CP");
        EXPECT_EQ(cp.size(), 2u) << row;
        auto back = query("SELECT CP FROM [_Provincias()] WHERE Provincia = '" + field(row, "Provincia") + "';");
        ASSERT_EQ(back.rows.size(), 1u) << row;
        EXPECT_EQ(field(back.rows[0], "CP"), cp);
    }
    // Bank codes are the four digits that begin an account.
    auto bancos = query("SELECT * FROM [Bancos()] ORDER BY [Nombre_banco] ASC;");
    EXPECT_GE(bancos.rows.size(), 20u);
    for (const std::string &row : bancos.rows) {
        std::string code = field(row, "N_Banco");
        EXPECT_EQ(code.size(), 4u) << row;
        EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << row;
    }
}

TEST_F(ShippedDatabase, TheFirstAdministratorLogsIn)
{
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);
    // The login's own query, with the password stored as the login encodes it.
    std::string sql = std::string("SELECT * FROM [_Usuarios()] WHERE ([_Usuarios()].Cod_usuario='") +
                      shippeddb::kAdminCode + "' AND [_Usuarios()].Password='" +
                      CodificaPassword(shippeddb::kAdminPassword) +
                      "' AND [_Usuarios()].Activo=true);";
    auto r = query(sql);
    ASSERT_EQ(r.rows.size(), 1u) << r.error;
    EXPECT_EQ(field(r.rows[0], "Activo"), "TRUE");
    std::string permisos = field(r.rows[0], "Permisos");
    ASSERT_GE(permisos.size(), 4u);
    EXPECT_EQ(permisos.substr(0, 4), "1111") << "add, delete, modify users and the administrator flag";

    // User administration decodes the stored password for editing: it must give the
    // password the README states.
    std::string stored = field(r.rows[0], "Password");
    EXPECT_EQ(DecodificaPassword(stored), shippeddb::kAdminPassword);
}

TEST_F(ShippedDatabase, SavingKeepingTheFileAndRebuildingGivesTheSameRows)
{
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);
    std::string error;
    ASSERT_EQ(basedatos::exec("INSERT INTO [_Usuarios()] ([Cod_usuario],[Password],[Nombre_usuario],[Permisos],"
                              "[Activo],Block) VALUES ('\xD1U\xD1O','','Usuario \xF1','11100000000000000000',true,0);",
                              error),
              1)
        << error;
    ASSERT_EQ(basedatos::exec("INSERT INTO [Conceptos()] (Concepto) VALUES ('a&b=c');", error), 1) << error;
    std::vector<std::string> before = basedatos::dump();
    VASQ_CloseDB();

    // The save-data command: the copy is written and the database stays.
    std::string mcr = dir.file("Orvanta.mcr");
    std::filesystem::remove(mcr);
    ASSERT_TRUE(GuardaBDCifrada(mdb, true, kPasswordBD));
    ASSERT_TRUE(testutil::fileExists(mdb));
    ASSERT_TRUE(testutil::fileExists(mcr));

    // The next start without the database file.
    std::filesystem::remove(mdb);
    ASSERT_TRUE(RecuperaBDCifrada(mdb));
    ASSERT_EQ(C_ChangePassword(mdb.c_str(), "", kPasswordBD), 0);
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);
    EXPECT_EQ(basedatos::dump(), before);
}

} // namespace
