// Stored passwords and the maintenance code.
#include "Trunpass.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(Password, StoredFormIsTwoLettersAToPPerByteAndReadsBack)
{
    const std::string claves[] = {"a", "cambiame", "1234567890123", "Contrase\xF1" "a", std::string("a\0b", 3)};
    for (const std::string &clave : claves) {
        const std::string guardada = CodificaPassword(clave);
        ASSERT_EQ(guardada.size(), 2 * clave.size()) << clave;
        EXPECT_EQ(guardada.find_first_not_of("ABCDEFGHIJKLMNOP"), std::string::npos) << guardada;
        EXPECT_EQ(DecodificaPassword(guardada), clave);
    }
}

TEST(Password, EmptyAndMalformedForms)
{
    EXPECT_EQ(CodificaPassword(""), "") << "the empty password is stored empty, not scrambled";
    EXPECT_EQ(DecodificaPassword(""), "");
    EXPECT_EQ(DecodificaPassword("ABC"), "") << "no password gives an odd length";
}

TEST(Password, StoredPasswordsNeverChangeForm)
{
    // Databases in use hold this form; a change would lock every user out.
    EXPECT_EQ(CodificaPassword("cambiame"), "IAKBGCJDCEKFGGOH");
}

TEST(CodigoMantenimiento, SixUpperCaseHexDigitsOfTheDay)
{
    // Support staff give this code for this day: the derivation must never change.
    EXPECT_EQ(CodigoMantenimiento(QDate(2002, 1, 1)), "E67864");
    EXPECT_EQ(CodigoMantenimiento(), CodigoMantenimiento(QDate::currentDate()));
    std::set<std::string> distintos;
    std::string anterior;
    for (QDate d(2000, 1, 1); d.year() < 2040; d = d.addDays(1)) {
        const std::string codigo = CodigoMantenimiento(d);
        ASSERT_EQ(codigo.size(), 6u) << d.toString().toStdString();
        ASSERT_EQ(codigo.find_first_not_of("0123456789ABCDEF"), std::string::npos) << codigo;
        ASSERT_NE(codigo, anterior) << "yesterday's code does not open today " << d.toString().toStdString();
        anterior = codigo;
        distintos.insert(codigo);
    }
    EXPECT_GT(distintos.size(), 14500u) << "codes of forty years hardly repeat";
}

} // namespace
