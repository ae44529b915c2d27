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

// The five readers of one amount in one currency.
struct Formas {
    std::string pantalla, contravalor, sql, guardado, sinFormato;
    bool operator==(const Formas &) const = default;
};

Formas Lee(const std::string &importe, const char *moneda)
{
    return {FormatImporte(importe, moneda), FormatContravalor(importe, moneda), FormatImporteSQL(importe, moneda),
            GetContravalor(importe, moneda), GetContravalorSinFormato(importe, moneda)};
}

std::ostream &operator<<(std::ostream &os, const Formas &f)
{
    return os << f.pantalla << " | " << f.contravalor << " | " << f.sql << " | " << f.guardado << " | "
              << f.sinFormato;
}

// Long decimal parts are read exactly: the digits past what the rounding needs only decide
// it, and no power of ten is ever taken of their count.
TEST(Importes, AnyNumberOfDecimalsIsReadExactly)
{
    const struct {
        const char *entera, *final;
        const char *moneda;
        Formas formas;
        long long unidades; // LeeImporteSQL in the currency's decimals
    } familias[] = {
        {"0.", "", "EUR", {"0.00", "0", "0.00", "0", "0"}, 0},
        {"0.", "1", "EUR", {"0.00", "0", "0.00", "0", "0"}, 0},
        {"2.", "", "EUR", {"2.00", "333", "2.00", "333", "333"}, 200},
        {"2.", "1", "EUR", {"2.00", "333", "2.00", "333", "333"}, 200},
        {"0.", "", "ESP", {"0", "0.00", "0", "0.00", "0.00"}, 0},
        {"0.", "1", "ESP", {"0", "0.00", "0", "0.00", "0.00"}, 0},
        {"2.", "", "ESP", {"2", "0.01", "2", "0.01", "0.01"}, 2},
        {"2.", "1", "ESP", {"2", "0.01", "2", "0.01", "0.01"}, 2},
    };
    entorno::Regional regional(false);
    for (const auto &f : familias) {
        for (int ceros = 2; ceros <= 1000; ++ceros) {
            const std::string texto = f.entera + std::string(size_t(ceros), '0') + f.final;
            ASSERT_EQ(Lee(texto, f.moneda), f.formas) << f.moneda << " " << texto;
            long long unidades = -1;
            ASSERT_EQ(LeeImporteSQL(texto, DecimalesMoneda(f.moneda), unidades), LecturaImporte::Correcta) << texto;
            ASSERT_EQ(unidades, f.unidades) << texto;
        }
    }
    entorno::Regional coma(true);
    EXPECT_EQ(Lee("2," + std::string(500, '0') + "1", "EUR"), (Formas{"2,00", "333", "2.00", "333", "333"}))
        << "the same in a ',' locale";
}

// Half a unit, and a hair either side of it written with many decimals.
TEST(Importes, RoundingHalfAwayFromZeroSeesEveryDecimal)
{
    const std::string casi(40, '9'), pelo = std::string(40, '0') + "1";
    const struct {
        std::string importe;
        const char *moneda;
        const char *sql;         // FormatImporteSQL
        const char *guardado;    // GetContravalor
        const char *porque;
    } casos[] = {
        {"0.005", "EUR", "0.01", "1", "half a cent rounds up"},
        {"0.004" + casi, "EUR", "0.00", "1", "just under half a cent rounds down"},
        {"-0.005", "EUR", "-0.01", "-1", "and away from zero when negative"},
        {"249.999" + casi, "EUR", "250.00", "41596", "41596.4999... pesetas round down"},
        {"250.000" + pelo, "EUR", "250.00", "41597", "41596.5000...1 pesetas round up"},
        {"0.83193", "ESP", "1", "0.01", "0.83193 pesetas are exactly half a cent"},
        {"0.83192" + casi, "ESP", "1", "0.00", "and a hair less is not"},
        {"-0.83193", "ESP", "-1", "-0.01", "negative half a cent"},
        {"2.5", "ESP", "3", "0.02", "half a peseta"},
        {"2.4" + casi, "ESP", "2", "0.02", "just under half a peseta"},
    };
    entorno::Regional regional(false);
    for (const auto &c : casos) {
        EXPECT_EQ(FormatImporteSQL(c.importe, c.moneda), c.sql) << c.porque;
        EXPECT_EQ(GetContravalor(c.importe, c.moneda), c.guardado) << c.porque;
    }
}

TEST(Importes, IntegerPartsTooLongAreRefusedNeverWrapped)
{
    entorno::Programa programa;
    entorno::Regional regional(false);
    const std::string largos[] = {"1234567890123456789", "18446744073709551617", "-" + std::string(40, '9'),
                                  std::string(1000, '1') + ".5"};
    for (const std::string &l : largos)
        EXPECT_EQ(Lee(l, "EUR"), Formas{}) << l;
    EXPECT_EQ(FormatImporteSQL("000000000000000000000123456789012345678.5", "EUR"), "123456789012345678.50")
        << "leading zeros do not count";
}

TEST(Importes, LeeImporteSQLReadsStoredAmounts)
{
    const struct {
        std::string texto;
        int decimales;
        bool exacto;
        LecturaImporte lectura;
        long long unidades;
        const char *porque;
    } casos[] = {
        {"1234.50", 2, false, LecturaImporte::Correcta, 123450, "euros into cents"},
        {"1234", 0, false, LecturaImporte::Correcta, 1234, "pesetas"},
        {"1234.5", 2, false, LecturaImporte::Correcta, 123450, "a NUMERIC column drops trailing zeros"},
        {"1234", 2, true, LecturaImporte::Correcta, 123400, "a whole euro amount"},
        {"-12.345", 2, false, LecturaImporte::Correcta, -1235, "rounded half away from zero"},
        {"0.00" + std::string(300, '4') + "5", 2, false, LecturaImporte::Correcta, 0, "only the value decides"},
        {"12.5", 0, false, LecturaImporte::Correcta, 13, "pesetas rounded"},
        {"12.5", 0, true, LecturaImporte::SobranDecimales, 0, "or refused when exact"},
        {"0." + std::string(999, '0') + "1", 2, true, LecturaImporte::SobranDecimales, 0, "however far the digit"},
        {"12.000", 2, true, LecturaImporte::Correcta, 1200, "trailing zeros are no decimals"},
        {"9999999999", 0, false, LecturaImporte::Correcta, 9999999999, "ten integer digits"},
        {"9999999999.995", 2, false, LecturaImporte::Correcta, 1000000000000, "rounding may carry past them"},
        {"00000000000001234", 0, false, LecturaImporte::Correcta, 1234, "leading zeros do not count"},
        {" +7 ", 2, false, LecturaImporte::Correcta, 700, "blanks around and a sign"},
        {"5.", 2, false, LecturaImporte::Correcta, 500, "a point after the digits"},
        {".5", 2, false, LecturaImporte::Correcta, 50, "a point before them"},
        {"-0.001", 2, false, LecturaImporte::Correcta, 0, "no negative zero"},
        {"12345678901", 0, false, LecturaImporte::DemasiadoGrande, 0, "eleven integer digits"},
        {std::string(1000, '9'), 2, false, LecturaImporte::DemasiadoGrande, 0, "a thousand"},
        {"", 2, false, LecturaImporte::NoEsImporte, 0, "empty"},
        {"NULL", 2, false, LecturaImporte::NoEsImporte, 0, "a null column (a SUM over no rows)"},
        {"1,234.50", 2, false, LecturaImporte::NoEsImporte, 0, "grouping is screen form"},
        {"1234,50", 2, false, LecturaImporte::NoEsImporte, 0, "so is a decimal comma"},
        {"1.2.3", 2, false, LecturaImporte::NoEsImporte, 0, "two points"},
        {"1e5", 2, false, LecturaImporte::NoEsImporte, 0, "no exponent"},
        {"1 2", 2, false, LecturaImporte::NoEsImporte, 0, "a blank inside"},
        {"-", 2, false, LecturaImporte::NoEsImporte, 0, "a sign alone"},
        {".", 2, false, LecturaImporte::NoEsImporte, 0, "a point alone"},
        {"+-1", 2, false, LecturaImporte::NoEsImporte, 0, "two signs"},
        {"12", 9, false, LecturaImporte::NoEsImporte, 0, "decimals outside 0 to 8"},
    };
    entorno::Regional coma(true);
    for (const auto &c : casos) {
        long long unidades = 0;
        EXPECT_EQ(LeeImporteSQL(c.texto, c.decimales, unidades, c.exacto), c.lectura) << c.porque;
        EXPECT_EQ(unidades, c.unidades) << c.porque;
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
