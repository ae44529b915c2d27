// Benchmark of the mass modification on an encrypted copy of the shipped database: "+10%"
// on every bill of a batch of 100,000 marked bills, in one transaction with the new
// counter-values and the batch totals. Target: a few seconds. Prints the time and the peak
// memory.
//
// bench_modmasivas [number of bills]   (default: 100000)
#include "Modmasivas.h"
#include "cobros.h"
#include "memoria.h"

#include <QApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kLibrados = 500;

} // namespace

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;

    cobros::Base base;
    int primerLibrado = 0;
    const int emisor = base.Abierta() ? cobros::EmisorConLibrados(cobros::Empresa(), kLibrados, primerLibrado) : 0;
    const int remesa = primerLibrado ? cobros::Remesa(emisor, "EUR", "Grande") : 0;
    if (!remesa || !cobros::RecibosEnSerie(remesa, true, n, primerLibrado, kLibrados)) {
        std::fprintf(stderr, "No se pudo preparar la base de datos.\n");
        return 1;
    }
    // The marked bills as the main window lists them: every bill of the batch.
    std::vector<std::string> ids;
    ids.reserve(size_t(n));
    const int primero = std::atoi(
        cobros::Valor("SELECT MIN(Id_documento) AS P FROM [Documentos()] WHERE Id_remesa=" + std::to_string(remesa), "P")
            .c_str());
    for (int i = 0; i < n; ++i)
        ids.push_back(std::to_string(primero + i));
    std::printf("%d marked bills in one batch\n", n);

    Modificacion m;
    m.Tipo = TipoMasiva::Importes;
    LeeOperacionImporte("+10%", "EUR", m.Importe);
    size_t avisos = 0;
    QElapsedTimer reloj;
    reloj.start();
    const ResultadoMasiva r = ModificaDocumentos(ids, m, {}, [&avisos](size_t, size_t) {
        ++avisos;
        return true;
    });
    std::printf("%-30s %8.2f s  (%s, %d bills written, %zu progress calls)\n", "+10%",
                double(reloj.nsecsElapsed()) / 1e9, r.Escrita() ? "written" : "NOT written", r.Cambiados, avisos);
    std::printf("batch total after it: %s\n",
                cobros::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa),
                              "Importe_total")
                    .c_str());
    std::printf("peak memory: %ld kB\n", memoria::PicoKB());
    return r.Escrita() ? 0 : 1;
}
