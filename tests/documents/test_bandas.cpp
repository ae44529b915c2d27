// The band reports: pages laid out and written as PDF, read back with poppler's tools.
#include "Bandas.h"

#include "entorno.h"
#include "pdf.h"
#include "regional.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A report of filas rows: a page header with the page number and the start date, column
// titles, a detail band whose height is alturas[row % size], a summary.
struct Listado {
    explicit Listado(int filas, std::vector<int> alturas = {20}, bool apaisado = false)
        : informe(apaisado), m_filas(filas), m_alturas(std::move(alturas))
    {
        TQRBand *cabecera = informe.Banda(TipoBanda::CabeceraPagina, 60);
        cabecera->Etiqueta(0, 0, "CABECERA DEL LISTADO", Fuente("Arial", 12, true));
        cabecera->Etiqueta(500, 0, "Fecha : ", Fuente("Arial", 9))->Expr = Expresion::FechaInicio;
        cabecera->Etiqueta(500, 20, "P\xE1gina: ", Fuente("Arial", 9))->Expr = Expresion::NumeroPagina;
        informe.Banda(TipoBanda::CabeceraGrupo, 25)->Etiqueta(0, 4, "COLUMNA", Fuente("Arial", 9, true));
        detalle = informe.Banda(TipoBanda::Detalle, 20);
        fila = detalle->Etiqueta(0, 2, "", Fuente("Courier New", 9));
        informe.Banda(TipoBanda::Resumen, 40)->Etiqueta(0, 10, "RESUMEN FINAL", Fuente("Arial", 9, true));
        informe.OnNeedData = [this] {
            if (m_hechas == m_filas)
                return false;
            detalle->Height = m_alturas[size_t(m_hechas) % m_alturas.size()];
            fila->Caption = "fila" + std::to_string(++m_hechas) + "x";
            return true;
        };
    }
    std::string Escribe()
    {
        m_hechas = 0;
        EXPECT_TRUE(informe.Prepara());
        EXPECT_TRUE(informe.GuardaPDF(ruta));
        return ruta;
    }

    TQuickRep informe;
    TQRBand *detalle;
    TQRLabel *fila;
    testutil::TempDir dir;
    std::string ruta = dir.file("listado.pdf");

private:
    int m_filas, m_hechas = 0;
    std::vector<int> m_alturas;
};

TEST(Bandas, PagesAreA4InTheReportsOrientation)
{
    for (bool apaisado : {false, true}) {
        Listado l(3, {20}, apaisado);
        const std::string ruta = l.Escribe();
        EXPECT_EQ(pdf::Info(ruta, "Page size"), apaisado ? "842 x 595 pts (A4)" : "595 x 842 pts (A4)")
            << apaisado;
        EXPECT_EQ(pdf::Info(ruta, "Pages"), "1");
    }
}

TEST(Bandas, EveryPageHasItsHeaderColumnTitlesNumberAndStartDate)
{
    const entorno::Regional coma(true);
    Listado l(150);
    const std::vector<std::string> paginas = pdf::Paginas(l.Escribe());
    ASSERT_GE(paginas.size(), 3u);
    EXPECT_EQ(l.informe.PageCount(), int(paginas.size()));
    const std::string fecha = FechaArranque().toString(regional::dateFormat()).toStdString();
    for (size_t n = 0; n < paginas.size(); ++n) {
        const std::string &p = paginas[n];
        EXPECT_EQ(pdf::Veces(p, "CABECERA DEL LISTADO"), 1) << n;
        EXPECT_EQ(pdf::Veces(p, "COLUMNA"), 1) << n;
        EXPECT_EQ(pdf::Veces(p, "P\xC3\xA1gina: " + std::to_string(n + 1)), 1) << n;
        EXPECT_EQ(pdf::Veces(p, "Fecha : " + fecha), 1) << n;
        // The summary once, after the last row.
        EXPECT_EQ(pdf::Veces(p, "RESUMEN FINAL"), n + 1 == paginas.size() ? 1 : 0) << n;
    }
    const std::string todo = pdf::Texto(l.ruta);
    for (int f : {1, 75, 150})
        EXPECT_EQ(pdf::Veces(todo, "fila" + std::to_string(f) + "x"), 1) << f;
    EXPECT_LT(todo.find("fila150x"), todo.find("RESUMEN FINAL"));
}

TEST(Bandas, DetailRowsTakeTheHeightGivenPerRow)
{
    // The page leaves 1123 - 2 * 38 - 60 - 25 = 962 pixels to the rows.
    const struct {
        const char *porque;
        int filas;
        std::vector<int> alturas;
        int paginas;
    } casos[] = {
        {"48 rows of 20 fill one page, the summary goes to the next", 48, {20}, 2},
        {"46 rows of 20 leave room for the summary", 46, {20}, 1},
        {"rows of 300 and 20: three pairs on a page", 8, {300, 20}, 2},
        {"three pairs, then a row of 300 that no longer fits", 7, {300, 20}, 2},
        {"a row taller than a page still gets printed, one per page", 2, {2000}, 3},
    };
    for (const auto &c : casos) {
        Listado l(c.filas, c.alturas);
        const std::string ruta = l.Escribe();
        EXPECT_EQ(pdf::Info(ruta, "Pages"), std::to_string(c.paginas)) << c.porque;
        EXPECT_EQ(pdf::Veces(pdf::Texto(ruta), "RESUMEN FINAL"), 1) << c.porque;
    }
}

TEST(Bandas, AMemoWrapsWithinItsWidthAndIsCutAtItsHeight)
{
    TQuickRep informe;
    TQRBand *titulo = informe.Banda(TipoBanda::Titulo, 400);
    TQRMemo *memo = titulo->Memo(0, 0, 200, 60, Fuente("Courier New", 9));
    memo->Caption = "alfa beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho "
                    "sigma tau upsilon phi chi psi omega final";
    titulo->Etiqueta(300, 0, "DERECHA", Fuente("Arial", 9));
    testutil::TempDir dir;
    ASSERT_TRUE(informe.Prepara());
    ASSERT_TRUE(informe.GuardaPDF(dir.file("memo.pdf")));
    const std::string texto = pdf::Texto(dir.file("memo.pdf"));
    EXPECT_NE(texto.find("alfa beta gamma"), std::string::npos);
    // Each line stays left of the label beside the memo, and later words go below.
    EXPECT_EQ(texto.find("alfa beta gamma delta epsilon zeta eta theta iota kappa"), std::string::npos);
    EXPECT_LT(texto.find("alfa"), texto.find("DERECHA"));
    EXPECT_LT(texto.find("DERECHA"), texto.find("lambda"));
    // 60 pixels hold four lines of 9 points: the last words are cut.
    EXPECT_EQ(texto.find("final"), std::string::npos);
}

TEST(Bandas, ALayoutAbandonedByItsProgressLeavesNoPagesAndRunsAgainWhole)
{
    Listado l(100);
    int vistas = 0;
    EXPECT_FALSE(l.informe.Prepara([&](int filas) {
        vistas = filas;
        return filas < 10;
    }));
    EXPECT_EQ(vistas, 10);
    EXPECT_EQ(l.informe.PageCount(), 0);
    const std::string texto = pdf::Texto(l.Escribe());
    EXPECT_EQ(pdf::Veces(texto, "fila1x"), 1);
    EXPECT_EQ(pdf::Veces(texto, "fila100x"), 1);
}

TEST(Bandas, APdfThatCannotBeWrittenGivesFalse)
{
    Listado l(1);
    ASSERT_TRUE(l.informe.Prepara());
    EXPECT_FALSE(l.informe.GuardaPDF(l.dir.file("no/existe/listado.pdf")));
}

} // namespace
