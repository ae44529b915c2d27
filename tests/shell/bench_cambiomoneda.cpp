// Benchmark of the batch currency switch on an encrypted copy of the shipped database: a
// batch of 100,000 bills with a template of two amounts and their total, each bill with its
// concept, switched to pesetas and back in one transaction each. Target: a few seconds each.
// Prints each time and the peak memory.
//
// bench_cambiomoneda [number of bills]   (default: 100000)
#include "Cambiomoneda.h"
#include "Cfgfile.h"
#include "cobros.h"
#include "elementos.h"
#include "memoria.h"
#include "vars.h"

#include <QApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kLibrados = 500;

void Elemento(Plantilla &p, const char *tipo, const char *nombre, const char *x)
{
    B_AStr_t *item = p.ItemNew(tipo);
    VarSet(item, "Identificador", nombre);
    VarSet(item, "X", x);
    VarSet(item, "Y", "1");
    if (std::strcmp(tipo, "Total") == 0) {
        VarSet(item, "Campos", "A+B");
        VarSet(item, "Total", "si");
    }
    p.ItemAdd(item);
}

int CreaPlantilla()
{
    Plantilla p;
    std::strcpy(p.acNombre, "Cuotas");
    Elemento(p, "Importe", "A", "10");
    Elemento(p, "Importe", "B", "30");
    Elemento(p, "Total", "T", "50");
    return GuardaPlantilla(p);
}

// Every bill of the batch gets a concept with 12 and 3 in the template's amount fields.
bool Conceptos(int remesa)
{
    std::string pagina(640, ' ');
    pagina.replace(90, 2, "12");
    pagina.replace(110, 1, "3");
    const std::string r = std::to_string(remesa);
    return cobros::Ejecuta("INSERT INTO [Conceptos()] (Id_concepto,Concepto) SELECT Id_documento,'" + pagina +
                           "' FROM [Documentos()] WHERE Id_remesa=" + r) &&
           cobros::Ejecuta("UPDATE [Documentos()] SET Id_concepto=Id_documento WHERE Id_remesa=" + r);
}

bool Cambia(int remesa, const char *moneda)
{
    QElapsedTimer reloj;
    reloj.start();
    const CambioMoneda r = CambiaMonedaRemesa(remesa, moneda);
    std::printf("%-30s %8.2f s  (%s)\n", (std::string("switch to ") + moneda).c_str(),
                double(reloj.nsecsElapsed()) / 1e9, r == CambioMoneda::Cambiada ? "switched" : "NOT switched");
    return r == CambioMoneda::Cambiada;
}

} // namespace

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;

    cobros::Base base;
    elementos::Tipos tipos;
    int primerLibrado = 0;
    const int emisor = base.Abierta() ? cobros::EmisorConLibrados(cobros::Empresa(), kLibrados, primerLibrado) : 0;
    const int plantilla = primerLibrado ? CreaPlantilla() : 0;
    const int remesa = plantilla > 0 ? cobros::Remesa(emisor, "EUR", "Grande") : 0;
    if (!remesa || !cobros::Ejecuta("UPDATE [Remesas()] SET Id_plantilla=" + std::to_string(plantilla)) ||
        !cobros::RecibosEnSerie(remesa, true, n, primerLibrado, kLibrados) || !Conceptos(remesa)) {
        std::fprintf(stderr, "No se pudo preparar la base de datos.\n");
        return 1;
    }
    std::printf("%d bills with concepts in one batch with a template\n", n);
    const bool bien = Cambia(remesa, "ESP") && Cambia(remesa, "EUR");
    std::printf("batch total after both: %s\n",
                cobros::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa),
                              "Importe_total")
                    .c_str());
    std::printf("peak memory: %ld kB\n", memoria::PicoKB());
    return bien ? 0 : 1;
}
