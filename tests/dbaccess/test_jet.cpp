// The Jet-dialect rewriter: each row a statement the program runs, what SQLite must get,
// and why it matters.
#include "jet.h"
#include "vasqdb.h"

#include <gtest/gtest.h>

namespace {

struct Translation {
    const char *jet;
    const char *sqlite;
    const char *why;
};

const Translation kTranslations[] = {
    {"SELECT * FROM [_Usuarios()] WHERE Activo=true ORDER BY Cod_usuario ;",
     "SELECT * FROM [_Usuarios()] WHERE Activo=1 ORDER BY Cod_usuario ;",
     "lower-case true is the login's active-user filter"},
    {"UPDATE [Documentos()] SET Situacion=1,Activo=false WHERE Id_documento=7",
     "UPDATE [Documentos()] SET Situacion=1,Activo=0 WHERE Id_documento=7",
     "false in a SET list marks a bill erroneous"},
    {"SELECT * FROM [_TiposMoneda()] WHERE Moneda_valida = True;",
     "SELECT * FROM [_TiposMoneda()] WHERE Moneda_valida = 1;",
     "mixed case True"},
    {"UPDATE [_Usuarios()] SET [Activo]=TRUE WHERE [Id_Usuario]=3;",
     "UPDATE [_Usuarios()] SET [Activo]=1 WHERE [Id_Usuario]=3;",
     "upper case TRUE after a bracketed target"},
    {"INSERT INTO t (a,b) VALUES ('true','FALSE')",
     "INSERT INTO t (a,b) VALUES ('true','FALSE')",
     "texts inside quotes are data and stay"},
    {"SELECT [True], [x].[FALSE] FROM [True()]",
     "SELECT [True], [x].[FALSE] FROM [True()]",
     "bracketed names stay even when they spell a boolean"},
    {"SELECT Truest, IsTrue, True_1 FROM t",
     "SELECT Truest, IsTrue, True_1 FROM t",
     "only whole words are booleans"},
    {"DELETE * FROM [Aplicaciones()] WHERE Num_Aplicacion=4;",
     "DELETE FROM [Aplicaciones()] WHERE Num_Aplicacion=4;",
     "the dead-copy sweep deletes with DELETE *"},
    {"delete  *  from [Historicos( Remesas )] WHERE Id_historico =9;",
     "delete  from [Historicos( Remesas )] WHERE Id_historico =9;",
     "any case and spacing of DELETE * FROM"},
    {"DELETE FROM [Actualizaciones()]",
     "DELETE FROM [Actualizaciones()]",
     "the plain form is already SQLite's"},
    {"SELECT COUNT(*) AS Total FROM [Aplicaciones()];",
     "SELECT COUNT(*) AS Total FROM [Aplicaciones()];",
     "a * that follows no DELETE stays"},
    {"UPDATE [Remesas()] SET [Remesas()].Importe_total=12.5, [Remesas()].Contravalor_total=2080 WHERE Id_remesa=3;",
     "UPDATE [Remesas()] SET Importe_total=12.5, Contravalor_total=2080 WHERE Id_remesa=3;",
     "every qualified target of the batch totals statement"},
    {"UPDATE [Documentos()] SET [Documentos()].[Importe] = '1,5' WHERE [Documentos()].Id_documento = 8 AND Block=0",
     "UPDATE [Documentos()] SET [Importe] = '1,5' WHERE [Documentos()].Id_documento = 8 AND Block=0",
     "a comma inside a quoted value starts no target; WHERE keeps its qualifier"},
    {"UPDATE [Documentos()] SET [Situacion]=0,Activo=true,[Documentos()].Importe = '10', "
     "[Documentos()].Id_concepto = 3 WHERE [Documentos()].Id_documento = 2 AND Block<1;",
     "UPDATE [Documentos()] SET [Situacion]=0,Activo=1,Importe = '10', "
     "Id_concepto = 3 WHERE [Documentos()].Id_documento = 2 AND Block<1;",
     "the bill save mixes bare and qualified targets"},
    {"UPDATE t SET a=(SELECT MAX(x.b) FROM x WHERE x.c IN (1,2)), t.d=1",
     "UPDATE t SET a=(SELECT MAX(x.b) FROM x WHERE x.c IN (1,2)), d=1",
     "commas and WHERE inside a subquery are not the SET list's"},
    {"UPDATE [Remesas()] SET Block=Block+1 WHERE Id_remesa=5",
     "UPDATE [Remesas()] SET Block=Block+1 WHERE Id_remesa=5",
     "the lock statement has nothing to rewrite"},
    {"SELECT * FROM [Historicos( Remesas )] WHERE Id_remesa=2 "
     "AND F_generacion BETWEEN #2002/01/31# AND #2002/12/01# ORDER BY F_generacion;",
     "SELECT * FROM [Historicos( Remesas )] WHERE Id_remesa=2 "
     "AND F_generacion BETWEEN '2002/01/31' AND '2002/12/01' ORDER BY F_generacion;",
     "the history filter's date range becomes the stored text"},
    {"SELECT * FROM t WHERE d=#1/5/2004# OR d=# 2004-02-29 #",
     "SELECT * FROM t WHERE d='2004/01/05' OR d='2004/02/29'",
     "US month/day order and ISO dashes, blanks inside the hashes"},
    {"INSERT INTO t (a) VALUES ('#1/1/2000#')",
     "INSERT INTO t (a) VALUES ('#1/1/2000#')",
     "hashes inside quotes are data"},
    {"CREATE TABLE [Aplicaciones()] (Num_Aplicacion AUTOINCREMENT,Hora TEXT(6),Reg_Usuario INTEGER);",
     "CREATE TABLE [Aplicaciones()] (Num_Aplicacion INTEGER PRIMARY KEY AUTOINCREMENT,"
     "Hora TEXT(6),Reg_Usuario INTEGER);",
     "the copies table's key"},
    {"CREATE TABLE [Actualizaciones()] (Id_Actualizacion AUTOINCREMENT,Num_Aplicacion INTEGER,Nivel INTEGER);",
     "CREATE TABLE [Actualizaciones()] (Id_Actualizacion INTEGER PRIMARY KEY AUTOINCREMENT,"
     "Num_Aplicacion INTEGER,Nivel INTEGER);",
     "the change-notice table's key"},
    {"CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, a TEXT)",
     "CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, a TEXT)",
     "a key already in SQLite's form stays"},
    {"SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] WHERE Cuenta_abono='it''s true'",
     "SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] WHERE Cuenta_abono='it''s true'",
     "a doubled quote does not end the text"},
    {"SELECT [Razon_social] FROM [Librados( Datos )] WHERE Razon_social='Nu\xF1" "ez'",
     "SELECT [Razon_social] FROM [Librados( Datos )] WHERE Razon_social='Nu\xF1" "ez'",
     "Windows-1252 letters pass byte for byte"},
};

class JetTranslation : public ::testing::TestWithParam<Translation> {};

TEST_P(JetTranslation, RewritesOnlyWhatSqliteDoesNotRead)
{
    const Translation &row = GetParam();
    std::string out;
    vasq::Status status = vasq::translateJet(row.jet, out);
    ASSERT_TRUE(status.ok()) << status.text;
    EXPECT_EQ(out, row.sqlite) << row.why;
}

INSTANTIATE_TEST_SUITE_P(Statements, JetTranslation, ::testing::ValuesIn(kTranslations));

struct BadDate {
    const char *jet;
    const char *why;
};

const BadDate kBadDates[] = {
    {"SELECT * FROM t WHERE d=#2003/02/29#", "not a leap year"},
    {"SELECT * FROM t WHERE d=#2002/13/01#", "no month 13"},
    {"SELECT * FROM t WHERE d=#31/01/2002#", "day first is not Jet's order"},
    {"SELECT * FROM t WHERE d=#2002/01/31 10:00#", "a time cannot be stored in a date column"},
    {"SELECT * FROM t WHERE d=##", "empty literal"},
    {"SELECT * FROM t WHERE d=#2002/01-31#", "mixed separators"},
};

class JetBadDate : public ::testing::TestWithParam<BadDate> {};

TEST_P(JetBadDate, IsRefusedBeforeTheEngine)
{
    std::string out;
    vasq::Status status = vasq::translateJet(GetParam().jet, out);
    EXPECT_EQ(status.code, VASQ_ERR_STATEMENT) << GetParam().why;
    EXPECT_NE(status.text.find("#"), std::string::npos) << "the text names the literal";
}

INSTANTIATE_TEST_SUITE_P(Literals, JetBadDate, ::testing::ValuesIn(kBadDates));

} // namespace
