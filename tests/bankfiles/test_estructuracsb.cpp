// The CSB structure check: each rule with the line it refuses, and the sample files.
#include "Estructuracsb.h"
#include "csb.h"
#include "testutil.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using csb::Registro;

// A well formed CSB19 file in euros: two bills, the first with an optional concept record
// and an address record.
std::vector<std::string> Correcto()
{
    return {
        Registro("5180", {{5, "B65247983000"}, {29, "PRESENTADOR"}}),
        Registro("5380", {{5, "B65247983000"}, {97, "01"}}),
        Registro("5680", {{17, "REF1"}, {89, "0000000100"}}),
        Registro("5681", {{17, "REF1"}, {29, "concepto"}}),
        Registro("5686", {{17, "REF1"}, {29, "TITULAR"}}),
        Registro("5680", {{17, "REF2"}, {89, "0000000250"}}),
        Registro("5880", {{89, "0000000350"}, {105, "0000000002"}, {115, "0000000006"}}),
        Registro("5980", {{69, "0001"}, {89, "0000000350"}, {105, "0000000002"}, {115, "0000000008"}}),
    };
}

struct Caso {
    const char *porque;
    std::function<void(std::vector<std::string> &)> cambia;
    int linea; // 0: well formed
    int motivo;
};

class Estructura : public ::testing::TestWithParam<Caso> {};

TEST_P(Estructura, RefusesTheFirstFaultWithItsLine)
{
    testutil::TempDir dir;
    std::vector<std::string> lineas = Correcto();
    GetParam().cambia(lineas);
    const std::string ruta = dir.file("f.csb");
    testutil::writeFile(ruta, csb::Fichero(lineas));
    int linea = -1, motivo = -1;
    EXPECT_EQ(CompruebaEstructuraCSB(ruta, true, linea, motivo), GetParam().linea == 0) << GetParam().porque;
    EXPECT_EQ(linea, GetParam().linea) << GetParam().porque;
    EXPECT_EQ(motivo, GetParam().motivo) << GetParam().porque;
}

void Cambia(std::vector<std::string> &l, size_t n, size_t pos, const std::string &texto)
{
    l[n - 1].replace(pos - 1, texto.size(), texto);
}

const Caso kCasos[] = {
    {"well formed", [](auto &) {}, 0, 0},
    {"empty lines are skipped but counted", [](auto &l) { l.insert(l.begin() + 2, ""); }, 0, 0},
    {"pesetas and CSB58", [](auto &l) {
         for (std::string &r : l) {
             r[0] = '0';
             r[2] = '7';
         }
     }, 0, 0},
    {"a short line", [](auto &l) { l[2].pop_back(); }, 3, 850},
    {"a long line", [](auto &l) { l[3] += "x"; }, 4, 850},
    {"a line after an empty one keeps its number", [](auto &l) {
         l.insert(l.begin() + 1, "");
         l[3].pop_back();
     }, 4, 850},
    {"another currency", [](auto &l) { Cambia(l, 5, 1, "0"); }, 5, 851},
    {"another format", [](auto &l) { Cambia(l, 6, 3, "7"); }, 6, 851},
    {"no presenter header first", [](auto &l) { l.erase(l.begin()); }, 1, 852},
    {"a bill without issuer header", [](auto &l) { l.erase(l.begin() + 1); }, 2, 853},
    {"a second presenter header", [](auto &l) { l.insert(l.begin() + 1, l[0]); }, 2, 853},
    {"grand totals inside a block", [](auto &l) { l.erase(l.begin() + 6); }, 7, 854},
    {"an issuer header inside a block", [](auto &l) { l.insert(l.begin() + 2, l[1]); }, 3, 854},
    {"an optional record of another reference", [](auto &l) { Cambia(l, 4, 17, "REF2"); }, 4, 855},
    {"optional codes falling", [](auto &l) { std::swap(l[3], l[4]); }, 5, 855},
    {"an optional record twice", [](auto &l) { l.insert(l.begin() + 3, l[3]); }, 5, 855},
    {"an optional record after the issuer header", [](auto &l) { l.insert(l.begin() + 2, l[3]); }, 3, 855},
    {"a record after the grand totals", [](auto &l) { l.push_back(l[1]); }, 9, 856},
    {"no grand totals", [](auto &l) { l.pop_back(); }, 7, 857},
    {"an amount with a blank", [](auto &l) { Cambia(l, 3, 89, " "); }, 3, 858},
    {"a count with a letter", [](auto &l) { Cambia(l, 8, 72, "O"); }, 8, 858},
    {"issuer totals: amount", [](auto &l) { Cambia(l, 7, 89, "0000000351"); }, 7, 859},
    {"issuer totals: bills", [](auto &l) { Cambia(l, 7, 105, "0000000003"); }, 7, 859},
    {"issuer totals: records", [](auto &l) { Cambia(l, 7, 115, "0000000005"); }, 7, 859},
    {"grand totals: issuers", [](auto &l) { Cambia(l, 8, 69, "0002"); }, 8, 859},
    {"grand totals: records", [](auto &l) { Cambia(l, 8, 115, "0000000007"); }, 8, 859},
    {"a procedure the import does not know", [](auto &l) { Cambia(l, 2, 97, "03"); }, 2, 860},
    {"an unknown record code", [](auto &l) { Cambia(l, 5, 1, "5787"); }, 5, 861},
    {"an unknown data code", [](auto &l) { Cambia(l, 5, 4, "7"); }, 5, 861},
};

INSTANTIATE_TEST_SUITE_P(Reglas, Estructura, ::testing::ValuesIn(kCasos));

TEST(EstructuraCSB, SampleFilesAndUnreadableFiles)
{
    int linea = -1, motivo = -1;
    EXPECT_FALSE(CompruebaEstructuraCSB(DATOS_CSB "retrofix-c19.txt", true, linea, motivo));
    EXPECT_EQ(linea, 3) << "its individual record has 177 characters";
    EXPECT_EQ(motivo, 850);

    EXPECT_TRUE(CompruebaEstructuraCSB(DATOS_CSB "retrofix-c58.txt", true, linea, motivo));
    EXPECT_EQ(linea, 0);
    EXPECT_EQ(motivo, 0);

    EXPECT_FALSE(CompruebaEstructuraCSB("/no/existe.csb", true, linea, motivo));
    EXPECT_EQ(linea, 0);
    EXPECT_EQ(motivo, 862);

    testutil::TempDir dir;
    testutil::writeFile(dir.file("vacio.csb"), "");
    EXPECT_TRUE(CompruebaEstructuraCSB(dir.file("vacio.csb"), true, linea, motivo)) << "nothing in it";
}

TEST(EstructuraCSB, FormatAndCurrencyOfTheFirstRecord)
{
    EstructuraCSB e(false);
    EXPECT_EQ(e.Formato(), 0);
    ASSERT_TRUE(e.Linea(Registro("0170", {}), 1));
    EXPECT_EQ(e.Formato(), 2);
    EXPECT_EQ(e.Moneda(), "ESP");
    EXPECT_TRUE(e.Linea(Registro("0370", {{97, "99"}}), 2)) << "any procedure without the import's demand";
    EXPECT_FALSE(e.Fin(2));
    EXPECT_EQ(e.LineaFallo(), 2);
    EXPECT_EQ(e.Motivo(), 857);
    EXPECT_FALSE(e.Linea(Registro("0370", {}), 3)) << "nothing passes after a fault";
    EXPECT_EQ(e.LineaFallo(), 2);
}

} // namespace
