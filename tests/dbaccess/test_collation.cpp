// The text collation: order and equality of names as the program's users expect them,
// directly and through SQL on the connections that register it.
#include "collation.h"
#include "cp1252.h"
#include "dbtest.h"

#include <gtest/gtest.h>

namespace {

struct Order {
    const char *lower;
    const char *higher;
    const char *why;
};

const Order kOrders[] = {
    {"Alvarez", "\xC1lvarez", "the accent only breaks a tie"},
    {"\xC1lvarez", "Bravo", "\xC1lvarez is among the A's, not after Z"},
    {"\xE1lvarez", "Alvaro", "the letters decide before the accent"},
    {"Nunez", "Nu\xF1" "ez", "N-tilde is its own letter"},
    {"Nunz", "Nu\xF1" "a", "N-tilde comes after N in the same place"},
    {"Nu\xF1" "ez", "Nuoz", "and before O"},
    {"Nzz", "\xD1" "and\xFA", "capital N-tilde sorts like the small one"},
    {"1999", "Abad", "digits before letters"},
    {"Abad", "Abadia", "a prefix comes first"},
    {"_x", "a", "punctuation before letters"},
    {"Cordoba", "\xC7" "ordoba", "C-cedilla is a C with an accent"},
};

class CollationOrder : public ::testing::TestWithParam<Order> {};

TEST_P(CollationOrder, SortsAsTheUserExpects)
{
    const Order &row = GetParam();
    EXPECT_LT(vasq::compareText(row.lower, row.higher), 0) << row.why;
    EXPECT_GT(vasq::compareText(row.higher, row.lower), 0) << row.why;
    // The engine's collation reads the same texts in UTF-8.
    const std::string lower = cp1252::toUtf8(row.lower), higher = cp1252::toUtf8(row.higher);
    EXPECT_LT(vasq::compareUtf8(lower, higher), 0) << row.why;
    EXPECT_GT(vasq::compareUtf8(higher, lower), 0) << row.why;
}

INSTANTIATE_TEST_SUITE_P(Names, CollationOrder, ::testing::ValuesIn(kOrders));

struct Same {
    const char *a;
    const char *b;
    const char *why;
};

const Same kSame[] = {
    {"GARCIA", "garcia", "case never counts"},
    {"\xC1LVAREZ", "\xE1lvarez", "nor on accented capitals"},
    {"NU\xD1" "EZ", "nu\xF1" "ez", "nor on N-tilde"},
    {"", "", "empty texts"},
};

class CollationSame : public ::testing::TestWithParam<Same> {};

TEST_P(CollationSame, ComparesEqual)
{
    EXPECT_EQ(vasq::compareText(GetParam().a, GetParam().b), 0) << GetParam().why;
    EXPECT_EQ(vasq::compareUtf8(cp1252::toUtf8(GetParam().a), cp1252::toUtf8(GetParam().b)), 0) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(Names, CollationSame, ::testing::ValuesIn(kSame));

class CollationSql : public dbtest::DbTest {};

TEST_F(CollationSql, OrdersAndMatchesTextColumnsOnBothConnections)
{
    dbtest::exec("CREATE TABLE [Librados( Datos )] (Id_librado INTEGER PRIMARY KEY AUTOINCREMENT, "
                 "Razon_social TEXT COLLATE ESNOCASE)");
    for (const char *name : {"Ortiz", "\xC1lvarez", "Nu\xF1" "ez", "bravo", "Nunez", "Alvarez"})
        dbtest::exec(std::string("INSERT INTO [Librados( Datos )] (Razon_social) VALUES ('") + name + "')");
    std::vector<std::string> sorted =
        dbtest::rows("SELECT Razon_social FROM [Librados( Datos )] ORDER BY [Librados( Datos )].[Razon_social];");
    std::vector<std::string> expected = {"Razon_social=Alvarez", "Razon_social=\xC1lvarez", "Razon_social=bravo",
                                         "Razon_social=Nunez", "Razon_social=Nu\xF1" "ez", "Razon_social=Ortiz"};
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(dbtest::rows("SELECT Id_librado FROM [Librados( Datos )] WHERE Razon_social='BRAVO'").size(), 1u)
        << "a search by name ignores case";
    int affected = 0;
    EXPECT_EQ(C_Exec("UPDATE [Librados( Datos )] SET Razon_social='Ortega' WHERE Razon_social='ORTIZ'", &affected), 0);
    EXPECT_EQ(affected, 1) << "the second connection has the collation too";
}

} // namespace
