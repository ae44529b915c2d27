// The last copy's exit: the scrambled copy it writes holds every row, the user sees that
// the program is closing when that takes a while, and a failure at any step keeps the
// database and the previous copy.
#include "arranque.h"

#include "Cerrando.h"
#include "General.h"
#include "basedatos.h"
#include "fallos.h"
#include "Multiidioma.h"
#include "qcp1252.h"
#include "vasqdb.h"
#include "ventanas.h"

#include <QApplication>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

using arranque::Carpeta;
using arranque::Ventanas;

QString Texto(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

// Each table of the open database as its name, its row count and a checksum of its rows.
std::vector<std::string> Resumen()
{
    std::vector<std::string> resumen;
    const std::vector<std::string> filas = basedatos::dump();
    for (size_t i = 0; i < filas.size();) {
        const std::string &tabla = filas[i++];
        unsigned long long suma = 1469598103934665603ull, n = 0;
        for (; i < filas.size() && filas[i].rfind('[', 0) != 0; ++i, ++n)
            for (unsigned char c : filas[i] + "\n")
                suma = (suma ^ c) * 1099511628211ull;
        resumen.push_back(tabla + ": " + std::to_string(n) + " filas, suma " + std::to_string(suma));
    }
    return resumen;
}

// The program folder with its database rebuilt and holding recibos bills, closed.
void PreparaBD(const Carpeta &carpeta, int recibos, std::vector<std::string> &resumen)
{
    ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD(), kPasswordBD));
    ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0);
    ASSERT_TRUE(arranque::LlenaRemesas(recibos));
    resumen = Resumen();
    VASQ_CloseDB();
}

std::uintmax_t Tamano(const std::string &ruta)
{
    std::error_code ec;
    const std::uintmax_t n = std::filesystem::file_size(ruta, ec);
    return ec ? 0 : n;
}

struct CasoSalida {
    int recibos;
    bool aviso; // the closing window shows
    const char *por;
};

const CasoSalida kCasosSalida[] = {
    {200, false, "a small database closes in a moment"},
    {40000, true, "a database of several megabytes takes long enough to tell the user"},
};

class SalidaUltimaCopia : public ::testing::TestWithParam<CasoSalida> {};

TEST_P(SalidaUltimaCopia, TheCopyHoldsEveryRowAndTheUserSeesTheProgramClosing)
{
    const CasoSalida &caso = GetParam();
    Carpeta carpeta;
    std::vector<std::string> antes;
    PreparaBD(carpeta, caso.recibos, antes);
    ASSERT_EQ(Tamano(carpeta.BD()) + Tamano(carpeta.BD() + "-wal") >= (4u << 20), caso.aviso) << caso.por;
    arranque::VigilaAvisos vigila;
    {
        Ventanas ventanas;
        ASSERT_FALSE(ventanas.Main()->ArranqueFallido);
    }
    EXPECT_FALSE(testutil::fileExists(carpeta.BD()));
    ASSERT_EQ(vigila.Vistos.size(), caso.aviso ? 1u : 0u) << caso.por;
    if (caso.aviso) {
        EXPECT_EQ(vigila.Vistos[0].texto, QStringLiteral("Cerrando..."));
        EXPECT_TRUE(vigila.Vistos[0].cursorEspera);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor goes with the exit";
    EXPECT_TRUE(qApp->findChildren<TFormCerrando *>().empty());

    // Unscrambled block by block, the copy is the plain database with every row.
    ASSERT_TRUE(RecuperaBDCifrada(carpeta.BD()));
    ASSERT_EQ(basedatos::open(carpeta.BD(), ""), 0);
    EXPECT_EQ(Resumen(), antes);
    VASQ_CloseDB();
    SetBdPassword("");
}

INSTANTIATE_TEST_SUITE_P(Tamanos, SalidaUltimaCopia, ::testing::ValuesIn(kCasosSalida));

// A step of the exit made to fail: preparation of the closed database, and the exit run
// under the failure.
struct FalloSalida {
    const char *paso;
    const char *danada; // the table or index whose first page is damaged before the start
    std::function<void(const std::function<void()> &salida)> provoca;
    int motivo;               // the reason the message gives
    bool perdida = false;     // the database lost a write before the start
};

const auto kSale = [](const std::function<void()> &salida) { salida(); };

const FalloSalida kFallos[] = {
    {"the export is refused: a page of the bills is damaged", "Documentos()", kSale, 917},
    {"the export is refused: a page of the concepts is damaged", "Conceptos()", kSale, 917},
    {"the export is refused: a page of an index of the bills is damaged", "Documentos_Librado", kSale, 917},
    {"the export is refused: a page of an index of the drawees is damaged", "Librados_Referencia", kSale, 917},
    {"the copy is refused: a page of the bills lost a write", nullptr, kSale, 917, true},
    {"the disk fills up while the copy is written", nullptr,
     [](const std::function<void()> &salida) {
         fallos::DiscoLleno lleno(64 * 1024);
         salida();
     },
     916},
    {"the copy cannot be renamed into place", nullptr,
     [](const std::function<void()> &salida) {
         fallos::RenombrarFalla falla;
         salida();
     },
     918},
};

class FalloAlSalir : public ::testing::TestWithParam<FalloSalida> {};

TEST_P(FalloAlSalir, KeepsTheDatabaseAndThePreviousCopyAndTellsTheUserWhy)
{
    const FalloSalida &fallo = GetParam();
    Carpeta carpeta;
    std::vector<std::string> antes;
    size_t desde = 0;
    PreparaBD(carpeta, 3000, antes);
    const std::string copiaAntes = testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr"));
    std::string danado;
    if (fallo.danada)
        arranque::DanaArbol(carpeta, fallo.danada, desde, danado);
    if (fallo.perdida)
        arranque::PierdeEscritura(carpeta, desde, danado);

    auto ventanas = std::make_unique<Ventanas>();
    ASSERT_FALSE(ventanas->Main()->ArranqueFallido) << fallo.paso;
    {
        RespondeCajas cajas;
        fallo.provoca([&] { ventanas.reset(); });
        ASSERT_EQ(cajas.Vistas.size(), 1u) << fallo.paso;
        const QString texto = cajas.Vistas[0].texto;
        EXPECT_TRUE(texto.contains(Texto(fallo.motivo))) << texto.toStdString() << "\n" << carpeta.Log();
        EXPECT_TRUE(texto.contains(QStringLiteral("se conserva la copia anterior"))) << texto.toStdString();
    }

    EXPECT_EQ(testutil::readFile(carpeta.Ruta("BD/Orvanta.mcr")), copiaAntes) << fallo.paso;
    ASSERT_TRUE(testutil::fileExists(carpeta.BD())) << fallo.paso;
    if (!danado.empty()) {
        EXPECT_TRUE(testutil::readFile(carpeta.BD()).substr(desde, danado.size()) == danado) << "the same file";
    } else {
        ASSERT_EQ(basedatos::open(carpeta.BD(), kPasswordBD), 0) << fallo.paso;
        EXPECT_EQ(Resumen(), antes) << fallo.paso;
        VASQ_CloseDB();
    }
    const std::set<std::string> esperados = {"Orvanta.mdb", "Orvanta.mdb.lck", "Orvanta.mdb-wal", "Orvanta.mdb-shm",
                                             "Orvanta.mcr"};
    for (const auto &f : std::filesystem::directory_iterator(carpeta.Ruta("BD")))
        EXPECT_TRUE(esperados.count(f.path().filename().string())) << "left behind: " << f.path() << ", " << fallo.paso;
    EXPECT_NE(carpeta.Log().find("[ General::GuardaBDCifrada ] "), std::string::npos) << "the log says why";

    // The next start opens the database as it was left (a damaged one, its exit refuses
    // again).
    RespondeCajas cajas;
    Ventanas otraVez;
    EXPECT_FALSE(otraVez.Main()->ArranqueFallido) << fallo.paso;
}

INSTANTIATE_TEST_SUITE_P(Pasos, FalloAlSalir, ::testing::ValuesIn(kFallos));

} // namespace
