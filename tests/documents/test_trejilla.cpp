// The character-cell grid: its geometry, its properties and what it paints.
#include "Trejilla.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(Rejilla, CellsAreWholeDivisionsOfTheControl)
{
    const struct {
        const char *porque;
        int ancho, alto, columnas, filas;
        int celdaAncho, celdaAlto, rejillaAncho, rejillaAlto;
    } casos[] = {
        {"the concept page", 643, 129, 80, 8, 8, 16, 640, 128},
        {"a new control", 100, 100, 2, 2, 50, 50, 100, 100},
        {"narrower than its columns", 79, 129, 80, 8, 0, 16, 0, 128},
        {"lower than its rows", 643, 7, 80, 8, 8, 0, 640, 0},
    };
    for (const auto &c : casos) {
        const GeometriaRejilla g(c.ancho, c.alto, c.columnas, c.filas);
        EXPECT_EQ(g.GetCellWidth(), c.celdaAncho) << c.porque;
        EXPECT_EQ(g.GetCellHeight(), c.celdaAlto) << c.porque;
        EXPECT_EQ(g.GridWidth(), c.rejillaAncho) << c.porque;
        EXPECT_EQ(g.GridHeight(), c.rejillaAlto) << c.porque;
    }
}

TEST(Rejilla, PointsConvertToCellsInsideTheGridOnly)
{
    const GeometriaRejilla pagina(643, 129, 80, 8);
    const struct {
        const char *porque;
        int x, y, resultado, fila, columna;
    } casos[] = {
        {"the first pixel", 0, 0, 0, 0, 0},
        {"the last pixel of the grid", 639, 127, 0, 7, 79},
        {"a cell's last pixel", 7, 15, 0, 0, 0},
        {"the next cell's first", 8, 16, 0, 1, 1},
        {"the remainder on the right", 641, 5, -1, 99, 99},
        {"at the grid's width", 640, 5, -1, 99, 99},
        {"at the grid's height", 5, 128, -1, 99, 99},
        {"left of the control", -1, 5, -1, 99, 99},
        {"above the control", 5, -1, -1, 99, 99},
    };
    for (const auto &c : casos) {
        int fila = 99, columna = 99;
        EXPECT_EQ(pagina.PointToCell(c.x, c.y, &fila, &columna), c.resultado) << c.porque;
        EXPECT_EQ(fila, c.fila) << c.porque;
        EXPECT_EQ(columna, c.columna) << c.porque;
    }
    EXPECT_EQ(pagina.PointToCell(20, 20, nullptr, nullptr), 0) << "the outs may be absent";
    int fila = 99;
    EXPECT_EQ(GeometriaRejilla(79, 129, 80, 8).PointToCell(0, 0, &fila, nullptr), -1) << "no cells";
    EXPECT_EQ(fila, 99);

    int x = -1, y = -1;
    pagina.CellToPoint(79, 7, &y, &x);
    EXPECT_EQ(x, 632);
    EXPECT_EQ(y, 112);
}

TEST(Rejilla, ColumnsAndRowsBelowOneAreIgnored)
{
    TRejilla rejilla;
    EXPECT_EQ(rejilla.size(), QSize(100, 100));
    EXPECT_EQ(rejilla.Columns(), 2);
    EXPECT_EQ(rejilla.Rows(), 2);
    rejilla.SetColumns(80);
    rejilla.SetRows(8);
    for (const int malo : {0, -5}) {
        rejilla.SetColumns(malo);
        rejilla.SetRows(malo);
    }
    EXPECT_EQ(rejilla.Columns(), 80);
    EXPECT_EQ(rejilla.Rows(), 8);
    EXPECT_EQ(rejilla.LineColor(), QColor(Qt::black));
}

// The grid painted in white with black lines.
QImage Pintada(TRejilla &rejilla)
{
    rejilla.SetBackColor(Qt::white);
    rejilla.SetLineColor(Qt::black);
    return rejilla.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool Negro(const QImage &imagen, int x, int y)
{
    return imagen.pixel(x, y) == qRgb(0, 0, 0);
}

TEST(Rejilla, LinesArePaintedOnCellBordersOnly)
{
    TRejilla rejilla;
    rejilla.resize(643, 129);
    rejilla.SetColumns(80);
    rejilla.SetRows(8);
    const QImage imagen = Pintada(rejilla);
    ASSERT_EQ(imagen.size(), QSize(643, 129));
    int malos = 0, faltan = 0;
    for (int y = 0; y < imagen.height(); ++y) {
        for (int x = 0; x < imagen.width(); ++x) {
            const bool dentro = x <= 640 && y <= 128;
            const bool borde = dentro && (x % 8 == 0 || y % 16 == 0);
            if (Negro(imagen, x, y) && !borde)
                ++malos;
            if (borde && !Negro(imagen, x, y))
                ++faltan;
        }
    }
    EXPECT_EQ(malos, 0) << "line pixels off the cell borders";
    EXPECT_EQ(faltan, 0) << "cell borders without their line";

    TRejilla estrecha;
    estrecha.resize(70, 40);
    estrecha.SetColumns(80);
    estrecha.SetRows(2);
    const QImage sinLineas = Pintada(estrecha);
    for (int y = 0; y < sinLineas.height(); ++y)
        for (int x = 0; x < sinLineas.width(); ++x)
            ASSERT_FALSE(Negro(sinLineas, x, y)) << "a grid without cell width draws nothing at " << x << "," << y;
}

TEST(Rejilla, TheOwnerPrintsOneCharacterPerCellWhileItPaints)
{
    TRejilla rejilla;
    rejilla.resize(1283, 129); // cells of 16 x 16 pixels, wider than any letter
    rejilla.SetColumns(80);
    rejilla.SetRows(8);
    rejilla.setFont(QFont(QStringLiteral("Monospace"), 8));
    int pintadas = 0;
    QObject::connect(&rejilla, &TRejilla::OnPaint, [&](TRejilla *r) {
        ++pintadas;
        ASSERT_NE(r->Canvas(), nullptr);
        r->Canvas()->setPen(Qt::red);
        r->Print(2, 1, "Wm\xD1");
    });
    const QImage imagen = Pintada(rejilla);
    EXPECT_GE(pintadas, 1);
    auto rojos = [&](int columna) {
        int n = 0;
        for (int y = 16; y < 32; ++y)
            for (int x = columna * 16; x < columna * 16 + 16; ++x)
                n += imagen.pixel(x, y) != qRgb(255, 255, 255) && !Negro(imagen, x, y);
        return n;
    };
    EXPECT_EQ(rojos(1), 0);
    EXPECT_GT(rojos(2), 0);
    EXPECT_GT(rojos(3), 0);
    EXPECT_GT(rojos(4), 0) << "a Windows-1252 letter";
    EXPECT_EQ(rojos(5), 0);
    EXPECT_EQ(rejilla.Canvas(), nullptr);
    rejilla.Print(0, 0, "x"); // outside a paint: nothing
}

} // namespace
