// The SQL layer: normalisation, logged queries and statements, the row buffer, the helpers.
#include "Cfgfile.h"
#include "General.h"
#include "Modmas.h"

#include "entorno.h"
#include "vasqdb.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(NormalizaSQL, EmptyValuesBecomeNullOutsideQuotedTexts)
{
    struct Caso { const char *sql, *normal, *porque; };
    const Caso casos[] = {
        {"UPDATE t SET a='',b=' ' WHERE c=1", "UPDATE t SET a=NULL,b= NULL WHERE c=1", "empty and one-blank values"},
        {"UPDATE t SET a = '' WHERE b = ' '", "UPDATE t SET a = NULL WHERE b = NULL", "with a blank after ="},
        {"INSERT INTO t (a,b,c) VALUES ('',,'x')", "INSERT INTO t (a,b,c) VALUES (NULL,NULL,'x')", "empty slot and text"},
        {"VALUES (,1,,,2,)", "VALUES (NULL,1,NULL,NULL,2,NULL)", "every empty slot of a list"},
        {"VALUES ('','')", "VALUES (NULL,NULL)", "a list of empty texts"},
        {"UPDATE t SET a='x,,y',b='(,)',c='=''' WHERE d=1", "UPDATE t SET a='x,,y',b='(,)',c='=''' WHERE d=1",
         "patterns inside quoted texts stay"},
        {"UPDATE t SET a='',b='it''s'", "UPDATE t SET a=NULL,b='it''s'", "a doubled quote stays inside its text"},
        {"SELECT [Raro(,)].a FROM [Raro(,)]", "SELECT [Raro(,)].a FROM [Raro(,)]", "bracketed names stay"},
        {"UPDATE t SET a='x' WHERE b=''", "UPDATE t SET a='x' WHERE b=NULL", "the Part's rule also applies after WHERE"},
    };
    for (const Caso &c : casos) {
        std::string sql = c.sql;
        NormalizaSQL(sql);
        EXPECT_EQ(sql, c.normal) << c.porque;
    }
}

class SQL : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bd.Abierta());
        int filas = 0;
        ASSERT_EQ(DBExecSQL("CREATE TABLE [T( Datos )] (Id INTEGER PRIMARY KEY AUTOINCREMENT, Nombre TEXT, "
                            "Cif TEXT, Block INTEGER NOT NULL DEFAULT 0)", filas), "");
    }
    void TearDown() override { FinCfgfile(); }

    entorno::Programa programa;
    entorno::BaseDatos bd;
};

TEST_F(SQL, StatementsAndQueriesWithNullNormalisation)
{
    int filas = -1;
    EXPECT_EQ(DBExecSQL("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES ('Uno','')", filas), "");
    EXPECT_EQ(filas, 1);
    EXPECT_EQ(DBExecSQL("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES ('Dos','B2')", filas), "");
    std::string filasLeidas;
    EXPECT_EQ(DBGetData("SELECT Nombre, Cif FROM [T( Datos )] ORDER BY Id",
                        [&](char *fila, char *, int total) {
                            filasLeidas += std::string(fila) + "|" + std::to_string(total) + ";";
                        }),
              "");
    EXPECT_EQ(filasLeidas, "Nombre=Uno&Cif=NULL|2;Nombre=Dos&Cif=B2|2;") << "'' was stored as NULL";
    EXPECT_EQ(DBExecSQL("UPDATE [T( Datos )] SET Cif='X' WHERE Block=0", filas), "");
    EXPECT_EQ(filas, 2);
    EXPECT_EQ(programa.Log(), "") << "nothing failed";
}

TEST_F(SQL, FailuresWriteTheirTwoLogLines)
{
    int filas = 7;
    const std::string error = DBExecSQL("INSERT INTO [No existe] (a) VALUES (1)", filas);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(filas, 0);
    const std::string errorConsulta = DBGetData("SELECT x FROM [Tampoco]", [](char *, char *, int) {});
    EXPECT_FALSE(errorConsulta.empty());
    const std::string log = programa.Log();
    EXPECT_NE(log.find(" - [ vasqdb::VASQ_ExecSQL ] " + error + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" -   Detalle SQL: INSERT INTO [No existe] (a) VALUES (1)\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" - [ vasqdb::VASQ_GetData ] " + errorConsulta + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" -   DETALLE SQL: SELECT x FROM [Tampoco]\n"), std::string::npos) << log;
}

TEST_F(SQL, CallbacksMayStopNestOrRaise)
{
    int filas;
    for (int k = 0; k < 3; ++k)
        DBExecSQL("INSERT INTO [T( Datos )] (Nombre) VALUES ('n')", filas);
    int llamadas = 0, interiores = 0;
    EXPECT_EQ(DBGetData("SELECT Id FROM [T( Datos )]",
                        [&](char *, char *seguir, int) {
                            ++llamadas;
                            DBGetData("SELECT Id FROM [T( Datos )]", [&](char *, char *, int) { ++interiores; });
                            if (llamadas == 2)
                                *seguir = 0;
                        }),
              "");
    EXPECT_EQ(llamadas, 2);
    EXPECT_EQ(interiores, 6) << "a query inside a callback runs whole";

    const std::string error = DBGetData("SELECT Id FROM [T( Datos )]", [&](char *, char *, int) {
        throw std::runtime_error("fallo en la fila");
    });
    EXPECT_EQ(error, "fallo en la fila") << "an exception stops the query and comes back as its error";
    EXPECT_NE(programa.Log().find("[ vasqdb::VASQ_GetData ] fallo en la fila"), std::string::npos);
}

TEST_F(SQL, EveryCallResetsTheInactivityCountUnlessRefreshing)
{
    Inactividad.Ticks = 40;
    DBGetData("SELECT Id FROM [T( Datos )]", [](char *, char *, int) {});
    EXPECT_EQ(Inactividad.Ticks, 0);
    Inactividad.Ticks = 40;
    Inactividad.Refrescando = true;
    int filas;
    DBExecSQL("UPDATE [T( Datos )] SET Block=0", filas);
    EXPECT_EQ(Inactividad.Ticks, 40);
    Inactividad.Refrescando = false;
    DBExecSQL("UPDATE [T( Datos )] SET Block=0", filas);
    EXPECT_EQ(Inactividad.Ticks, 0);
}

TEST_F(SQL, RowBufferKeepsTheFirstRowWhole)
{
    const std::string largo(3000, 'L');
    EXPECT_EQ(EjecutaSQLf("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES ('%s','')", largo.c_str()), 1);
    EXPECT_EQ(EjecutaSQLf("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES ('%s','C')", "Segundo"), 1);
    EXPECT_EQ(DBGetData("SELECT Id, Nombre, Cif FROM [T( Datos )] ORDER BY Id", StoreRow), "");
    EXPECT_EQ(GetField("Id"), "1");
    EXPECT_EQ(GetField("Cif"), "") << "NULL reads empty";
    EXPECT_EQ(GetField("Nombre").size(), 1023u) << "the library cuts a value at 1,023; the buffer cuts nothing";
}

TEST_F(SQL, ConsultaCamposCollectsValuesInOrder)
{
    EjecutaSQLf("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES ('%s','%s')", "Ana", "A1");
    EjecutaSQLf("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES ('%s','')", "Luis");
    auto valores = [](B_AStr_t *lista) {
        std::string r;
        for (long k = 0; lista && k < lista->nStrs; ++k)
            r += std::string(B_AStrGet(lista, k)) + ";";
        return r;
    };
    B_AStr_t *lista = ConsultaCampos(true, {"Cif", "Nombre"}, "SELECT * FROM [T( Datos )] ORDER BY Id");
    EXPECT_EQ(valores(lista), "A1;Ana;NULL;Luis;");
    lista = ConsultaCampos(false, {"Id"}, "SELECT Id FROM [T( Datos )] WHERE Nombre='%s'", "Ana");
    EXPECT_EQ(valores(lista), "A1;Ana;NULL;Luis;1;") << "without reset the values add up";
    lista = ConsultaCampos(true, {"Id"}, "SELECT Id FROM [T( Datos )] WHERE Id > %d", 5);
    EXPECT_EQ(valores(lista), "");
    EXPECT_EQ(ConsultaCampos(true, {"Id"}, "SELECT Id FROM [Ninguna]"), nullptr);
}

TEST_F(SQL, ConsultaMaximoAndEjecutaSQLf)
{
    EXPECT_EQ(ConsultaMaximo("T( Datos )", "Id"), 0) << "an empty table";
    EXPECT_EQ(EjecutaSQLf("INSERT INTO [T( Datos )] (Nombre) VALUES ('%s')", "a"), 1);
    EXPECT_EQ(EjecutaSQLf("INSERT INTO [T( Datos )] (Nombre) VALUES ('%s')", "b"), 1);
    EXPECT_EQ(ConsultaMaximo("T( Datos )", "Id"), 2);
    EXPECT_EQ(ConsultaMaximo("Ninguna", "Id"), -1);
    EXPECT_EQ(EjecutaSQLf("UPDATE [T( Datos )] SET Block=Block+1 WHERE Block=%d", 0), 2);
    EXPECT_EQ(EjecutaSQLf("UPDATE [Ninguna] SET x=%d", 1), -1);
}

// What a row holds in Nombre: NULL, or the text between brackets.
std::string Guardado(const std::string &id)
{
    std::string valor;
    DBGetData("SELECT (Nombre IS NULL) AS Nulo, '[' || Nombre || ']' AS Texto FROM [T( Datos )] WHERE Id=" + id,
              [&valor](char *fila, char *, int) {
                  valor = GetCampo("Nulo", fila) == "1" ? "NULL" : GetCampo("Texto", fila);
              });
    return valor;
}

TEST_F(SQL, BoundValuesAreStoredAsTheTextPathStoresThem)
{
    // Each shape written out ("%s": the quoted value) and bound ("?" in its place); the
    // text path makes NULL of '' and ' ' after "=", of '' in a list, of nothing else.
    const char *formas[] = {
        "UPDATE [T( Datos )] SET Nombre=%s WHERE Id=1",
        "UPDATE [T( Datos )] SET Cif='c', Nombre = %s WHERE Id = 1",
        "INSERT INTO [T( Datos )] (Nombre,Cif) VALUES (%s,'c')",
        "INSERT INTO [T( Datos )] (Cif,Nombre,Block) VALUES ('c',%s,0)",
        "INSERT INTO [T( Datos )] (Cif,Nombre) VALUES ('c',%s)",
        "INSERT INTO [T( Datos )] (Nombre) VALUES (%s)",
        "INSERT INTO [T( Datos )] (Nombre, Cif) VALUES ( %s, 'c')",
    };
    const char *valores[] = {"", " ", "  ", "x", " x ", "NULL"};
    int filas = 0;
    ASSERT_EQ(DBExecSQL("INSERT INTO [T( Datos )] (Nombre) VALUES ('x')", filas), "");
    for (const std::string forma : formas) {
        const bool alta = forma.compare(0, 6, "INSERT") == 0;
        const size_t sitio = forma.find("%s");
        for (const std::string valor : valores) {
            std::string texto = forma, ligada = forma;
            texto.replace(sitio, 2, "'" + valor + "'");
            ligada.replace(sitio, 2, "?");
            ASSERT_EQ(DBExecSQL(texto, filas), "") << texto;
            const std::string porTexto = Guardado(alta ? std::to_string(VASQ_GetLastInsertID()) : "1");
            SentenciaSQL sentencia(ligada);
            ASSERT_EQ(sentencia.Texto(valor).Ejecuta(filas), "") << ligada;
            const std::string ligado = Guardado(alta ? std::to_string(VASQ_GetLastInsertID()) : "1");
            EXPECT_EQ(ligado, porTexto) << texto;
        }
    }
    EXPECT_EQ(programa.Log(), "");
}

TEST_F(SQL, AStatementRunWithAValueUnboundIsRefusedAndLogged)
{
    using namespace std::string_literals;
    SentenciaSQL alta("INSERT INTO [T( Datos )] (Nombre,Cif) VALUES (?,?)");
    int filas = 0;
    ASSERT_EQ(alta.Texto("Uno"s).Texto("B1"s).Ejecuta(filas), "");
    const std::string error = alta.Texto("Dos"s).Ejecuta(filas);
    EXPECT_EQ(error, "Sentencia con 1 de sus 2 valores: no se ejecuta");
    EXPECT_EQ(filas, 0);
    const std::string log = programa.Log();
    EXPECT_NE(log.find(" - [ vasqdb::VASQ_ExecSQL ] " + error + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" -   Detalle SQL: INSERT INTO [T( Datos )] (Nombre,Cif) VALUES (?,?) <- 'Dos'\n"),
              std::string::npos) << log;
    SentenciaSQL consulta("SELECT Id FROM [T( Datos )] WHERE Nombre=? AND Cif=?");
    int leidas = 0;
    EXPECT_EQ(consulta.Texto("Uno"s).Consulta([&leidas](char *, char *, int) { ++leidas; }),
              "Sentencia con 1 de sus 2 valores: no se ejecuta");
    EXPECT_EQ(leidas, 0);
    ASSERT_EQ(alta.Texto("Tres"s).Texto("B3"s).Ejecuta(filas), "") << "the next whole run runs";
    std::string guardadas;
    DBGetData("SELECT Nombre, Cif FROM [T( Datos )] ORDER BY Id",
              [&guardadas](char *fila, char *, int) { guardadas += std::string(fila) + ";"; });
    EXPECT_EQ(guardadas, "Nombre=Uno&Cif=B1;Nombre=Tres&Cif=B3;") << "no row took the run before's value";
}

TEST(Cfgfile, ValueListsJoinAndSplit)
{
    char lista[] = "Tipo=Label\0X=3\0\0";
    EXPECT_STREQ(UneValores(lista), "Tipo=Label\xB7X=3\xB7");
    SeparaValores(lista);
    EXPECT_STREQ(lista, "Tipo=Label");
    EXPECT_STREQ(lista + 11, "X=3");
    EXPECT_EQ(lista[15], '\0') << "the list ends with an empty entry again";
    EXPECT_EQ(SoloAlfanumericos("B-12.345.678 / \xD1"), "B12345678");
}

} // namespace
