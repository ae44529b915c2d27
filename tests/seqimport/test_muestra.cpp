// The sample grid's model: lines and positions as the import cuts them.
#include "ModeloMuestra.h"

#include "qcp1252.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace {

struct CasoMuestra {
    const char *por;
    std::string texto;
    int lineas, columnas;
};

class Muestra : public ::testing::TestWithParam<CasoMuestra> {};

TEST_P(Muestra, LinesAndColumns)
{
    const CasoMuestra &c = GetParam();
    ModeloMuestra modelo;
    QAbstractItemModelTester probador(&modelo, QAbstractItemModelTester::FailureReportingMode::Fatal);
    modelo.PonTexto(c.texto);
    EXPECT_EQ(modelo.rowCount(), c.lineas) << c.por;
    EXPECT_EQ(modelo.columnCount(), c.columnas) << c.por;
    EXPECT_FALSE(modelo.Cortado());
}

std::string Linea(int largo, char c = 'x')
{
    return std::string(size_t(largo), c);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Muestra,
    ::testing::Values(CasoMuestra{"the line end takes a last, empty column", Linea(120) + "\r\n" + Linea(50) + "\r\n", 2, 121},
                      CasoMuestra{"LF as CR LF", Linea(120) + "\n" + Linea(50) + "\n", 2, 121},
                      CasoMuestra{"a long line on one row", Linea(600) + "\r\nabc\r\n", 2, 601},
                      CasoMuestra{"a last line without line end", "ab\r\n" + Linea(30), 2, 30},
                      CasoMuestra{"what the import reads of a line", Linea(5000) + "\n", 1, 4096},
                      CasoMuestra{"an empty file shows one cell", "", 1, 1}));

TEST(Muestra, CellsHoldTheBytesAsWindows1252AndHeadersNumberFromOne)
{
    ModeloMuestra modelo;
    modelo.PonTexto("P\xD1" "A 1\r\nR" + Linea(598) + "Z\r\nfin");
    EXPECT_EQ(modelo.index(0, 1).data().toString(), QString::fromUtf8("\xC3\x91"));
    EXPECT_EQ(modelo.index(0, 3).data().toString(), " ");
    EXPECT_EQ(modelo.index(0, 5).data().toString(), "") << "past the line's end";
    EXPECT_EQ(modelo.index(1, 599).data().toString(), "Z") << "no split at 511";
    EXPECT_EQ(modelo.index(2, 2).data().toString(), "n") << "the last line whole";
    EXPECT_EQ(modelo.headerData(0, Qt::Horizontal).toInt(), 1);
    EXPECT_EQ(modelo.headerData(599, Qt::Horizontal).toInt(), 600);
    EXPECT_EQ(modelo.headerData(2, Qt::Vertical).toInt(), 3);
    EXPECT_EQ(modelo.Texto(1, 2, 3), "\xD1" "A ");
    EXPECT_EQ(modelo.Texto(3, 2, 10), "in") << "cut at the line's end";
    EXPECT_EQ(modelo.Texto(4, 1, 1), "") << "no such line";
    modelo.Vacia();
    EXPECT_EQ(modelo.rowCount(), 8);
    EXPECT_EQ(modelo.columnCount(), 79);
}

TEST(Muestra, TakesTheFirst9999LinesAndSaysSo)
{
    std::string texto;
    for (int i = 0; i < 10001; ++i)
        texto += "L" + std::to_string(i) + "\n";
    ModeloMuestra modelo;
    modelo.PonTexto(texto);
    EXPECT_TRUE(modelo.Cortado());
    EXPECT_EQ(modelo.rowCount(), 9999);
    EXPECT_EQ(modelo.Texto(9999, 1, 5), "L9998");
    EXPECT_FALSE(modelo.Carga("/no/such/sample.txt"));
    EXPECT_EQ(modelo.rowCount(), 9999) << "a file that cannot be read changes nothing";
}

} // namespace
