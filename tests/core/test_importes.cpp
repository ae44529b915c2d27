// Amounts: reading both forms, exact conversion at 166.386 and the five formats.
#include "General.h"

#include "entorno.h"

#include <gtest/gtest.h>

namespace {

struct CasoImporte {
    bool coma;          // regional decimal separator "," (Spanish) or "." (US English)
    const char *importe;
    const char *moneda;
    const char *pantalla;     // FormatImporte
    const char *contravalor;  // FormatContravalor
    const char *sql;          // FormatImporteSQL
    const char *guardado;     // GetContravalor
    const char *sinFormato;   // GetContravalorSinFormato
    const char *porque;
};

const CasoImporte kCasos[] = {
    {true, "1000", "EUR", "1.000,00", "166.386", "1000.00", "166386", "166386", "1000 euros are 166386 pesetas"},
    {true, "166386", "ESP", "166.386", "1.000,00", "166386", "1000.00", "1000.00", "and back; storage always uses '.'"},
    {true, "250", "EUR", "250,00", "41.597", "250.00", "41597", "41597", "41596.5 rounds half away from zero"},
    {true, "-250", "EUR", "-250,00", "-41.597", "-250.00", "-41597", "-41597", "and so does its negative"},
    {true, "1.234,56", "EUR", "1.234,56", "205.414", "1234.56", "205414", "205414", "screen form in a ',' locale"},
    {true, "1234.56", "EUR", "1.234,56", "205.414", "1234.56", "205414", "205414", "storage form read in a ',' locale"},
    {true, "1.234", "ESP", "1.234", "7,42", "1234", "7.42", "7.42", "a '.' before three digits is grouping"},
    {true, "12.5", "EUR", "12,50", "2.080", "12.50", "2080", "2080", "a '.' before one digit is a decimal point"},
    {true, " 9999999999 ", "ESP", "9.999.999.999", "60.101.210,43", "9999999999", "60101210.43", "60101210.43",
     "ten digits with blanks around"},
    {false, "1,234,567.89", "EUR", "1,234,567.89", "205,414,813", "1234567.89", "205414813", "205414813",
     "screen form in a '.' locale"},
    {false, "1.005", "EUR", "1.01", "167", "1.01", "167", "167", "an exact half the binary 1.005 would round down"},
    {false, "-0.001", "EUR", "0.00", "0", "0.00", "0", "0", "no negative zero"},
    {false, "0.01", "EUR", "0.01", "2", "0.01", "2", "2", "one cent is 1.66386 pesetas"},
    {false, "1", "ESP", "1", "0.01", "1", "0.01", "0.01", "one peseta is 0.006 euros"},
    {false, "2.5", "ESP", "3", "0.02", "3", "0.02", "0.02", "pesetas round to whole units half away"},
    {false, "NULL", "EUR", "", "", "", "", "", "a null column gives empty texts"},
    {false, "", "ESP", "", "", "", "", "", "and so does an empty one"},
};

TEST(Importes, FormatsInBothCurrenciesAndLocales)
{
    for (const CasoImporte &c : kCasos) {
        entorno::Regional regional(c.coma);
        EXPECT_EQ(FormatImporte(c.importe, c.moneda), c.pantalla) << c.porque;
        EXPECT_EQ(FormatContravalor(c.importe, c.moneda), c.contravalor) << c.porque;
        EXPECT_EQ(FormatImporteSQL(c.importe, c.moneda), c.sql) << c.porque;
        EXPECT_EQ(GetContravalor(c.importe, c.moneda), c.guardado) << c.porque;
        EXPECT_EQ(GetContravalorSinFormato(c.importe, c.moneda), c.sinFormato) << c.porque;
    }
}

TEST(Importes, GetContravalorKnowsOnlyTheTwoCurrencies)
{
    EXPECT_EQ(GetContravalor("100", "USD"), "");
    EXPECT_EQ(GetContravalor("100", ""), "");
    EXPECT_EQ(FormatContravalor("166386", "USD"), "1,000.00") << "display treats any other currency as pesetas";
}

TEST(Importes, TextThatIsNoAmountIsLoggedAndGivesEmpty)
{
    entorno::Programa programa;
    entorno::Regional regional(true);
    const char *malos[] = {"abc", "12,3,4", "1-2", "-", ".", "1234567890123456789", "1e5"};
    for (const char *m : malos) {
        EXPECT_EQ(GetContravalor(m, "EUR"), "") << m;
        EXPECT_EQ(FormatImporte(m, "EUR"), "") << m;
    }
    const std::string log = programa.Log();
    EXPECT_NE(log.find(" - [ General::GetContravalor ] 'abc' no es un importe v\xE1lido\n"), std::string::npos) << log;
    EXPECT_NE(log.find("[ General::FormatImporte ] '1e5'"), std::string::npos);
    EXPECT_EQ(GetContravalor("NULL", "EUR"), "");
    EXPECT_EQ(programa.Log(), log) << "NULL is no failure";
}

} // namespace
