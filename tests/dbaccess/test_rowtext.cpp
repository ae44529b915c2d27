// Row text: value forms by declared type, escaping, cutting and the names of joined
// columns, as the program's field readers find them.
#include "dbtest.h"
#include "rowtext.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using dbtest::exec;
using dbtest::rows;

struct Real {
    double value;
    const char *text;
    const char *why;
};

const Real kReals[] = {
    {0.1 + 0.2, "0.3", "a sum of cents reads back as the amount, not 0.30000000000000004"},
    {1234.5, "1234.5", "trailing zeros go"},
    {1234.0, "1234", "a sum of pesetas reads as a whole number"},
    {-0.01, "-0.01", "negative cents keep the sign"},
    {9999999999.99, "9999999999.99", "the largest amount of ten digits"},
    {123456789012.34, "123456789012.34", "a total beyond any single amount"},
    {-0.0, "0", "no negative zero"},
    {1e20, "100000000000000000000", "no exponent even for huge values"},
    {0.000001, "0.000001", "no exponent for tiny values"},
};

class RealText : public ::testing::TestWithParam<Real> {};

TEST_P(RealText, GivesTheAmountBack)
{
    EXPECT_EQ(vasq::realText(GetParam().value), GetParam().text) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(Values, RealText, ::testing::ValuesIn(kReals));

struct Date {
    const char *stored;
    const char *text; // null: not a date
    const char *why;
};

const Date kDates[] = {
    {"2002/01/31", "02 01 31", "the stored form"},
    {"1999-12-05", "99 12 05", "dashes, as SQLite's own date functions write"},
    {"2010/3/7", "10 03 07", "one-digit month and day"},
    {"2002/01/31 10:20:00", "02 01 31", "a time after a blank is ignored"},
    {"31/01/2002", nullptr, "a display date is not the stored form"},
    {"2002/13/01", nullptr, "no month 13"},
    {"2002/01/31x", nullptr, "trailing garbage"},
    {"abc", nullptr, "plain text"},
};

class DateText : public ::testing::TestWithParam<Date> {};

TEST_P(DateText, ReadsTwoDigitYearMonthDay)
{
    std::string out;
    bool ok = vasq::dateText(GetParam().stored, out);
    EXPECT_EQ(ok, GetParam().text != nullptr) << GetParam().why;
    if (GetParam().text) {
        EXPECT_EQ(out, GetParam().text) << GetParam().why;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, DateText, ::testing::ValuesIn(kDates));

TEST(Escape, SeparatorsTravelAsControlBytesAndComeBack)
{
    char text[] = "a&b=c&&==";
    EXPECT_EQ(VASQ_Escape(text), 0);
    EXPECT_STREQ(text, "a\x01" "b\x02" "c\x01\x01\x02\x02");
    EXPECT_EQ(VASQ_Unescape(text), 0);
    EXPECT_STREQ(text, "a&b=c&&==");
    EXPECT_EQ(VASQ_Escape(nullptr), 0) << "a null text is left alone";
    EXPECT_EQ(VASQ_Unescape(nullptr), 0);
}

class RowText : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        exec("CREATE TABLE [_Usuarios()] (Id_usuario AUTOINCREMENT, Cod_usuario TEXT(10) COLLATE ESNOCASE, "
             "Password TEXT, Activo YESNO, Pendiente BOOLEAN, F_alta DATE, F_baja DATETIME, Importe TEXT, "
             "Nota MEMO, Foto BLOB, Block INTEGER NOT NULL DEFAULT 0)");
    }
};

TEST_F(RowText, EachDeclaredTypeHasItsForm)
{
    exec("INSERT INTO [_Usuarios()] (Cod_usuario, Password, Activo, Pendiente, F_alta, F_baja, Importe, Nota, Foto) "
         "VALUES ('ABC', NULL, TRUE, false, #2002/01/31#, '', '1234.50', '', x'00FF')");
    exec("INSERT INTO [_Usuarios()] (Cod_usuario, Activo, Pendiente, F_alta, F_baja) "
         "VALUES ('D\xC9', -1, 'True', '1999/12/05', 'no es fecha')");
    std::vector<std::string> got = rows("SELECT * FROM [_Usuarios()] ORDER BY Id_usuario");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "Id_usuario=1&Cod_usuario=ABC&Password=NULL&Activo=TRUE&Pendiente=FALSE&F_alta=02 01 31"
                      "&F_baja=NULL&Importe=1234.50&Nota=&Foto=Array of VT_UI1&Block=0")
        << "NULL, yes/no, date, empty date, amount text kept as stored, empty text, blob";
    EXPECT_EQ(got[1], "Id_usuario=2&Cod_usuario=D\xC9&Password=NULL&Activo=TRUE&Pendiente=TRUE&F_alta=99 12 05"
                      "&F_baja=no es fecha&Importe=NULL&Nota=NULL&Foto=NULL&Block=0")
        << "any non-zero and the text True are true; a date column's other text reads as stored";
}

TEST_F(RowText, SumsCountsAndMaximaReadAsNumbers)
{
    for (const char *amount : {"0.10", "0.20", "1234.50"})
        exec(std::string("INSERT INTO [_Usuarios()] (Importe) VALUES ('") + amount + "')");
    EXPECT_EQ(rows("SELECT COUNT(Id_usuario) AS NTotal, SUM(Importe) AS ImporteTotal, MAX(Id_usuario) AS UltimoId "
                   "FROM [_Usuarios()] WHERE Id_usuario<3"),
              std::vector<std::string>{"NTotal=2&ImporteTotal=0.3&UltimoId=2"});
    EXPECT_EQ(rows("SELECT SUM(Importe) AS TotalImporte FROM [_Usuarios()]"),
              std::vector<std::string>{"TotalImporte=1234.8"});
    EXPECT_EQ(rows("SELECT SUM(Importe) AS TotalImporte FROM [_Usuarios()] WHERE Id_usuario>10"),
              std::vector<std::string>{"TotalImporte=NULL"})
        << "a batch without bills sums to NULL";
}

TEST_F(RowText, SeparatorsInNamesAndValuesAreEscapedAndLongPartsCut)
{
    std::string longText(1500, 'x');
    exec("INSERT INTO [_Usuarios()] (Nota) VALUES ('a&b=c')");
    exec("INSERT INTO [_Usuarios()] (Nota) VALUES ('" + longText + "')");
    std::vector<std::string> got = rows("SELECT Nota AS [Mi&Nota=] FROM [_Usuarios()] ORDER BY Id_usuario");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "Mi\x01Nota\x02=a\x01" "b\x02" "c");
    EXPECT_EQ(got[1], "Mi\x01Nota\x02=" + std::string(1023, 'x')) << "a value keeps its first 1,023 characters";
}

TEST_F(RowText, TextsComeBackInWindows1252)
{
    exec("INSERT INTO [_Usuarios()] (Cod_usuario, Nota) VALUES ('Nu\xF1" "ez', '\x80 \xBF \xFF')");
    EXPECT_EQ(rows("SELECT Cod_usuario, Nota FROM [_Usuarios()]"),
              std::vector<std::string>{"Cod_usuario=Nu\xF1" "ez&Nota=\x80 \xBF \xFF"});
}

// The organisation and batch tables, enough for the program's joins.
class JoinedRowText : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        exec("CREATE TABLE [_Empresas( Datos )] (Id_empresa AUTOINCREMENT, Id_usuario INTEGER, Nombre TEXT, "
             "Block INTEGER NOT NULL DEFAULT 0)");
        exec("CREATE TABLE [_Presentadores( Datos )] (Id_presentador AUTOINCREMENT, Id_empresa INTEGER, "
             "Id_orden TEXT, Razon_social TEXT, Block INTEGER NOT NULL DEFAULT 0)");
        exec("CREATE TABLE [_Emisores( Datos )] (Id_emisor AUTOINCREMENT, Id_presentador INTEGER, "
             "Razon_social TEXT, Block INTEGER NOT NULL DEFAULT 0)");
        exec("CREATE TABLE [Remesas()] (Id_remesa AUTOINCREMENT, Id_emisor INTEGER, Descripcion TEXT, "
             "Block INTEGER NOT NULL DEFAULT 0)");
        exec("CREATE TABLE [Librados( Datos )] (Id_librado AUTOINCREMENT, Id_emisor INTEGER, Razon_social TEXT, "
             "Block INTEGER NOT NULL DEFAULT 0)");
        exec("CREATE TABLE [Documentos()] (Id_documento AUTOINCREMENT, Id_remesa INTEGER, Id_librado INTEGER, "
             "Importe TEXT, Activo YESNO, Block INTEGER NOT NULL DEFAULT 0)");
        exec("INSERT INTO [_Empresas( Datos )] (Id_usuario, Nombre) VALUES (1, 'Empresa')");
        exec("INSERT INTO [_Presentadores( Datos )] (Id_empresa, Id_orden, Razon_social) VALUES (1, 'CSB19', 'Presenta')");
        exec("INSERT INTO [_Emisores( Datos )] (Id_presentador, Razon_social) VALUES (1, 'Emite')");
        exec("INSERT INTO [_Emisores( Datos )] (Id_presentador, Razon_social) VALUES (1, 'Sin remesas')");
        exec("INSERT INTO [Remesas()] (Id_emisor, Descripcion) VALUES (1, 'Enero')");
        exec("INSERT INTO [Librados( Datos )] (Id_emisor, Razon_social, Block) VALUES (1, 'Debe', 2)");
        exec("INSERT INTO [Documentos()] (Id_remesa, Id_librado, Importe, Activo) VALUES (1, 1, '10.00', TRUE)");
    }
};

TEST_F(JoinedRowText, DuplicateNamesOfANestedJoinAreQualifiedWithTheirTable)
{
    // The navigation tree's query: parenthesised LEFT JOINs, two Razon_social columns.
    std::vector<std::string> got = rows(
        "SELECT [_Emisores( Datos )].Id_emisor, [_Emisores( Datos )].Razon_social, [Remesas()].Id_remesa, "
        "[Remesas()].Descripcion, [_Presentadores( Datos )].Razon_social, [_Presentadores( Datos )].Id_orden,"
        "[_Presentadores( Datos )].Id_presentador, [_Empresas( Datos )].Nombre, [_Empresas( Datos )].Id_empresa "
        "FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] LEFT JOIN ([_Emisores( Datos )] LEFT JOIN "
        "[Remesas()] ON [_Emisores( Datos )].Id_emisor = [Remesas()].Id_emisor) ON [_Presentadores( Datos )]"
        ".Id_presentador = [_Emisores( Datos )].Id_presentador) ON [_Empresas( Datos )].Id_empresa = "
        "[_Presentadores( Datos )].Id_empresa WHERE ((([_Presentadores( Datos )].Id_empresa)=1)) "
        "ORDER BY [_Emisores( Datos )].Id_emisor;");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "Id_emisor=1&_Emisores( Datos ).Razon_social=Emite&Id_remesa=1&Descripcion=Enero"
                      "&_Presentadores( Datos ).Razon_social=Presenta&Id_orden=CSB19&Id_presentador=1"
                      "&Nombre=Empresa&Id_empresa=1");
    EXPECT_EQ(got[1], "Id_emisor=2&_Emisores( Datos ).Razon_social=Sin remesas&Id_remesa=NULL&Descripcion=NULL"
                      "&_Presentadores( Datos ).Razon_social=Presenta&Id_orden=CSB19&Id_presentador=1"
                      "&Nombre=Empresa&Id_empresa=1")
        << "the outer join's missing batch reads NULL";
}

TEST_F(JoinedRowText, StarColumnsOfTwoTablesKeepTheirOrderAndQualifyTheSharedOnes)
{
    // The revalidation's query: Documentos().* and Librados( Datos ).* share Id_librado and Block.
    std::vector<std::string> got = rows(
        "SELECT [Documentos()].*,[_Presentadores( Datos )].Id_orden,[Librados( Datos )].* FROM ((([_Presentadores( "
        "Datos )] INNER JOIN [_Emisores( Datos )] ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )]"
        ".Id_presentador) INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos )]"
        ".Id_emisor) INNER JOIN [Remesas()] ON [_Emisores( Datos )].Id_emisor  = [Remesas()].Id_emisor) INNER JOIN "
        "[Documentos()] ON ([Remesas()].Id_remesa = [Documentos()].Id_remesa) AND ([Librados( Datos )].Id_librado = "
        "[Documentos()].Id_librado) WHERE [Documentos()].Id_documento=1");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "Id_documento=1&Id_remesa=1&Documentos().Id_librado=1&Importe=10.00&Activo=TRUE"
                      "&Documentos().Block=0&Id_orden=CSB19&Librados( Datos ).Id_librado=1&Id_emisor=1"
                      "&Razon_social=Debe&Librados( Datos ).Block=2");
}

TEST_F(JoinedRowText, NumberedNamesOfASubqueryReadAsTheirColumns)
{
    // SQLite names the second Id_librado of the inner select "Id_librado:1".
    EXPECT_EQ(rows("SELECT * FROM (SELECT [Documentos()].Id_librado, [Librados( Datos )].Id_librado "
                   "FROM [Documentos()] INNER JOIN [Librados( Datos )] "
                   "ON [Documentos()].Id_librado = [Librados( Datos )].Id_librado)"),
              std::vector<std::string>{"Documentos().Id_librado=1&Librados( Datos ).Id_librado=1"});
}

} // namespace
