// The shipped database as the program finds it on a fresh machine: the staged scrambled
// copy, rebuilt and keyed as start-up does, with every table, the reference rows and the
// first administrator; and the copy written back at exit giving the same rows again.
#include "basedatos.h"
#include "collation.h"
#include "shippeddb.h"

#include "General.h"
#include "Multiuser.h"
#include "Trunpass.h"
#include "vasqdb.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sqlite3.h>

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

// Amounts are stored as numbers or refused, by the schema itself, whoever writes them.
TEST_F(ShippedDatabase, AnAmountThatIsNoNumberIsRefusedAndItsTransactionRollsBackWhole)
{
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0);
    struct Valor {
        const char *sql;
        bool numero;
    };
    const Valor valores[] = {{"'1.01'", true},  {"'205419'", true}, {"1.5", true},     {"NULL", true},
                             {"' 12'", true},   {"'1.0e3'", true},  {"'-0.5'", true},  {"'+3'", true},
                             {"'abc'", false},  {"'1,01'", false},  {"''", false},     {"'1.234,56'", false},
                             {"X'00'", false},  {"'12 '", true},    {"'1.2.3'", false}, {"' '", false}};
    std::string error;
    for (const Valor &v : valores) {
        SCOPED_TRACE(v.sql);
        ASSERT_EQ(VASQ_BeginTrans(), 0);
        ASSERT_EQ(basedatos::exec("INSERT INTO [Remesas()] (Id_emisor, Id_moneda) VALUES (1, 'EUR');", error), 1) << error;
        const std::string remesa = std::to_string(VASQ_GetLastInsertID());
        const std::string altas[] = {
            "INSERT INTO [Documentos()] (Id_remesa, Importe, Contravalor) VALUES (" + remesa + ", " + v.sql + ", 1);",
            "INSERT INTO [Documentos()] (Id_remesa, Importe, Contravalor) VALUES (" + remesa + ", 1, " + v.sql + ");"};
        const std::string cambios[] = {
            "UPDATE OR FAIL [Documentos()] SET Importe=" + std::string(v.sql) + " WHERE Id_remesa=" + remesa + ";",
            "UPDATE [Documentos()] SET Contravalor=" + std::string(v.sql) + " WHERE Id_remesa=" + remesa + ";",
            "UPDATE OR FAIL [Remesas()] SET Importe_total=" + std::string(v.sql) + " WHERE Id_remesa=" + remesa + ";",
            "UPDATE [Remesas()] SET Contravalor_total=" + std::string(v.sql) + " WHERE Id_remesa=" + remesa + ";"};
        for (const std::string &sql : altas)
            EXPECT_EQ(basedatos::exec(sql, error), v.numero ? 1 : -1) << sql;
        ASSERT_EQ(basedatos::exec("INSERT INTO [Documentos()] (Id_remesa, Importe) VALUES (" + remesa + ", 2);", error), 1);
        const int recibos = v.numero ? 3 : 1;
        for (const std::string &sql : cambios)
            EXPECT_EQ(basedatos::exec(sql, error), !v.numero ? -1 : sql.find("Documentos") != std::string::npos ? recibos : 1)
                << sql;
        ASSERT_EQ(VASQ_Rollback(), 0);
        EXPECT_TRUE(basedatos::query("SELECT * FROM [Documentos()]").rows.empty());
        EXPECT_TRUE(basedatos::query("SELECT * FROM [Remesas()]").rows.empty());
    }
}

// The file written again as earlier builds kept it, in encrypted pages of 1,024 bytes.
void EnPaginasAnteriores(const std::string &mdb)
{
    const std::string anterior = mdb + ".anterior";
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(mdb.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    sqlite3_key(db, kPasswordBD, int(std::strlen(kPasswordBD)));
    vasq::registerCollation(db);
    const std::string sql = "PRAGMA cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE) + "; ATTACH '" + anterior +
                            "' AS anterior KEY '" + kPasswordBD +
                            "'; PRAGMA anterior.cipher_page_size=1024; SELECT sqlcipher_export('anterior'); "
                            "DETACH anterior;";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    std::filesystem::rename(anterior, mdb);
}

// A database made by an earlier build: encrypted pages of 1,024 bytes, amounts guarded by
// triggers, which made every write of a bill keep a statement journal.
TEST_F(ShippedDatabase, ADatabaseOfAnEarlierBuildIsBroughtToTheShippedTablesKeepingItsRows)
{
    VASQ_CloseDB();
    std::string error;
    ASSERT_TRUE(shippeddb::writeScrambledCopy(
        dir.file("Orvanta.mcr"),
        testutil::readFile(ESQUEMA_SQL) + "\n" + testutil::readFile(DATOS_DATA "tablas-anteriores.sql"),
        testutil::readFile(REFERENCIA_SQL), error))
        << error;
    std::filesystem::remove(mdb);
    ASSERT_TRUE(RecuperaBDCifrada(mdb, kPasswordBD));
    EnPaginasAnteriores(mdb);
    ASSERT_EQ(basedatos::open(mdb, kPasswordBD), 0) << "a file of the earlier page size opens";
    for (const char *sql : {"INSERT INTO [Remesas()] (Id_emisor, Id_moneda, Importe_total) VALUES (1, 'EUR', 3);",
                            "INSERT INTO [Documentos()] (Id_remesa, Importe, Contravalor) VALUES (1, '1.50', 250);",
                            "INSERT INTO [Documentos()] (Id_remesa, Importe, Contravalor) VALUES (1, '1.50', 250);",
                            "INSERT INTO [Documentos()] (Id_remesa, Importe, Contravalor) VALUES (1, 9, 1497);",
                            "DELETE FROM [Documentos()] WHERE Id_documento=3;"})
        ASSERT_EQ(basedatos::exec(sql, error), 1) << error;
    const std::vector<std::string> antes = basedatos::dump();
    auto esquema = [] { return basedatos::query("SELECT type, name, tbl_name FROM sqlite_master ORDER BY name").rows; };
    const std::vector<std::string> objetos = esquema();

    ASSERT_TRUE(_multiuser::ActualizaEsquema());
    EXPECT_EQ(basedatos::dump(), antes) << "every row stays";
    std::vector<std::string> esperados;
    for (const std::string &objeto : objetos)
        if (field(objeto, "type") != "trigger" || field(objeto, "tbl_name") == "Plantillas( Datos )")
            esperados.push_back(objeto);
    EXPECT_EQ(esquema(), esperados) << "the tables and indexes stay, the amount triggers go";
    EXPECT_EQ(basedatos::exec("INSERT INTO [Documentos()] (Id_remesa, Importe) VALUES (1, '1,50');", error), -1);
    ASSERT_EQ(basedatos::exec("INSERT INTO [Documentos()] (Id_remesa, Importe) VALUES (1, '1.50');", error), 1);
    EXPECT_EQ(VASQ_GetLastInsertID(), 4) << "a deleted key is not handed out again";
    EXPECT_TRUE(_multiuser::ActualizaEsquema()) << "a second start finds nothing to do";
}

} // namespace
