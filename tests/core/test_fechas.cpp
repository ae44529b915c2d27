// Dates in their storage, bank and screen forms.
#include "General.h"

#include "entorno.h"

#include <gtest/gtest.h>

namespace {

TEST(Fechas, RowTextDatesToScreen)
{
    entorno::Programa programa;
    entorno::Regional regional(true);
    struct Caso { const char *texto, *pantalla, *porque; };
    const Caso casos[] = {
        {"020131", "31/01/2002", "two-digit year 02 is 2002"},
        {"700131", "31/01/1970", "70 is the first year of the 1900s"},
        {"691231", "31/12/2069", "69 is the last of the 2000s"},
        {"000229", "29/02/2000", "2000 was a leap year"},
        {"xx0101", "01/01/2000", "a year that is no number reads 0"},
        {"021301", "", "month 13 from a file"},
        {"020230", "", "30 February"},
        {"12345", "", "five characters"},
        {"0201311", "", "seven characters"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(FechaDDMMAAToStr(c.texto), c.pantalla) << c.porque;
    EXPECT_NE(programa.Log().find("[ General::FechaDDMMAAToStr ] '021301' no es una fecha v\xE1lida"), std::string::npos);
}

TEST(Fechas, ScreenDatesToStorageAndBank)
{
    entorno::Programa programa;
    struct Caso { bool coma; const char *pantalla, *sql, *banco; };
    const Caso casos[] = {
        {true, "31/01/2002", "2002/01/31", "310102"},
        {true, "1/2/03", "2003/02/01", "010203"},
        {true, "31 01 2002", "", "310102"},
        {false, "1/31/2002", "2002/01/31", "310102"},
        {true, "31/02/2002", "", ""},
        {true, "31/01", "", ""},
        {true, "31/01/2002x", "", ""},
        {true, "", "", ""},
    };
    for (const Caso &c : casos) {
        entorno::Regional regional(c.coma);
        EXPECT_EQ(GetDateYYYYMMDD(c.pantalla), c.sql) << c.pantalla;
        EXPECT_EQ(GetSafeDate(c.pantalla), c.banco) << c.pantalla << ": blanks count as '/' here";
        EXPECT_EQ(EsFechaValida(c.pantalla), *c.sql != 0) << c.pantalla;
    }
    const std::string log = programa.Log();
    EXPECT_NE(log.find("[ General::GetDateYYYYMMDD ] '31/02/2002'"), std::string::npos);
    EXPECT_NE(log.find("[ General::GetSafeDate ] '31/01'"), std::string::npos);
}

TEST(Fechas, TypedDatesReadDayFirstWithOrWithoutSeparators)
{
    entorno::Regional regional(true);
    struct Caso { const char *tecleado, *sql; };
    const Caso casos[] = {
        {"20/01/2027", "2027/01/20"},
        {"20012027", "2027/01/20"}, // digits alone
        {"200127", "2027/01/20"},
        {"20-1-27", "2027/01/20"},
        {" 20 01 2027 ", "2027/01/20"}, // blanks part the groups
        {"20.01.2027", "2027/01/20"},
        {"09/20/01/20270/2026", ""}, // typed into the middle of a date
        {"2001202", ""},             // seven digits
        {"20/01/202", ""},           // a year of three digits
        {"31/02/2027", ""},
        {"20/ene/2027", ""},
        {"", ""},
    };
    for (const Caso &c : casos) {
        const QDate fecha = LeeFechaTecleada(c.tecleado);
        EXPECT_EQ(fecha.isValid() ? FechaSQL(fecha) : std::string(), c.sql) << c.tecleado;
    }
    entorno::Regional eeuu(false);
    EXPECT_EQ(FechaSQL(LeeFechaTecleada("01202027")), "2027/01/20") << "in the order the screen shows";
}

TEST(Fechas, StoredDatesToScreen)
{
    entorno::Programa programa;
    entorno::Regional regional(true);
    EXPECT_EQ(GetCustomFormatDate("2002/01/31"), "31/01/2002");
    EXPECT_EQ(GetCustomFormatDate("2002/13/31"), "");
    EXPECT_EQ(GetCustomFormatDate("NULL"), "");
    EXPECT_NE(programa.Log().find("[ General::GetCustomFormatDate ] 'NULL'"), std::string::npos);
    EXPECT_EQ(FechaSQL(QDate(2002, 1, 31)), "2002/01/31") << "whatever the locale";
    EXPECT_EQ(FechaBanco(QDate(1999, 12, 5)), "051299");
}

} // namespace
