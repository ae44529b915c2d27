// Benchmark of the commands on a large batch, on an encrypted copy of the shipped database:
// deactivating, activating and deleting 100,000 marked bills of one batch, and deleting a
// batch of 100,000 bills, each through the writers the main window calls (one transaction
// per command). Target: a few seconds each. Prints each time and the peak memory.
//
// bench_remesas [number of bills]   (default: 100000)
#include "General.h"
#include "Modmas.h"
#include "Remesas.h"
#include "cobros.h"
#include "memoria.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kLibrados = 500;

// A batch of n bills of issuer emisor; its key, 0 on failure.
int CreaRemesa(int emisor, int primerLibrado, int n)
{
    const int remesa = cobros::Remesa(emisor, "EUR", "Grande");
    return remesa && cobros::RecibosEnSerie(remesa, true, n, primerLibrado, kLibrados) ? remesa : 0;
}

std::vector<std::string> Recibos(int remesa)
{
    std::vector<std::string> ids;
    DBGetData("SELECT Id_documento FROM [Documentos()] WHERE Id_remesa=" + std::to_string(remesa) +
                  " ORDER BY Id_documento;",
              [&ids](char *fila, char *, int) { ids.push_back(GetCampo("Id_documento", fila)); });
    return ids;
}

void Informa(const char *que, const QElapsedTimer &reloj, const ResultadoRecibos &r)
{
    std::printf("%-45s %8.2f s  (%d changed, %d kept%s%s)\n", que, double(reloj.nsecsElapsed()) / 1e9, r.Cambiados,
                r.Retenidos, r.Error.empty() ? "" : ", error: ", r.Error.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;

    cobros::Base base;
    int primerLibrado = 0;
    const int emisor = base.Abierta() ? cobros::EmisorConLibrados(cobros::Empresa(), kLibrados, primerLibrado) : 0;
    const int remesa = primerLibrado ? CreaRemesa(emisor, primerLibrado, n) : 0;
    if (!remesa) {
        std::fprintf(stderr, "No se pudo preparar la base de datos.\n");
        return 1;
    }
    const std::vector<std::string> ids = Recibos(remesa);
    std::printf("%zu marked bills of one batch\n", ids.size());

    QElapsedTimer reloj;
    reloj.start();
    Informa("deactivate", reloj, ActivaRecibos(remesa, ids, false));
    reloj.restart();
    Informa("activate", reloj, ActivaRecibos(remesa, ids, true));
    reloj.restart();
    Informa("delete the marked bills", reloj, BorraRecibos(ids));

    const int otra = CreaRemesa(emisor, primerLibrado, n);
    reloj.restart();
    const bool borrada = otra && BorraRemesa(otra);
    std::printf("%-45s %8.2f s  (%s)\n", ("delete a batch of " + std::to_string(n) + " bills").c_str(),
                double(reloj.nsecsElapsed()) / 1e9, borrada ? "deleted" : "NOT deleted");
    std::printf("peak memory: %ld kB\n", memoria::PicoKB());
    return borrada ? 0 : 1;
}
