// Benchmark of the batch currency switch on an encrypted copy of the shipped database: a
// batch of 100,000 bills with a template of two amounts and their total, each bill with its
// concept, switched to pesetas and back in one transaction each. Between both the raw engine
// reads the batch's bills with their concepts as a switch does and writes each state again
// (the bills' amounts, their concepts, the batch), the same rows and columns in one
// transaction: the reference of each way (target: at most twice it). Prints each time, its
// ratio and the switches' peak memory.
//
// bench_cambiomoneda [number of bills]   (default: 100000)
#include "Cambiomoneda.h"
#include "Cfgfile.h"
#include "General.h"
#include "bruto.h"
#include "cobros.h"
#include "elementos.h"
#include "memoria.h"
#include "vars.h"
#include "vasqdb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
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

// Every bill of the batch gets a concept with 3 and an amount of 1 to 1000 of its own in the
// template's amount fields, stored as the program stores it.
bool Conceptos(int remesa)
{
    std::string pagina(640, ' ');
    pagina.replace(110, 1, "3");
    const std::string almacenado = ConceptoAlmacenado(pagina);
    const std::string r = std::to_string(remesa);
    return cobros::Ejecuta("INSERT INTO [Conceptos()] (Id_concepto,Concepto) SELECT Id_documento,'" +
                           almacenado.substr(0, 90) + "' || printf('%-12d', Id_documento % 1000 + 1) || '" +
                           almacenado.substr(102) + "' FROM [Documentos()] WHERE Id_remesa=" + r) &&
           cobros::Ejecuta("UPDATE [Documentos()] SET Id_concepto=Id_documento WHERE Id_remesa=" + r);
}

// The highest peak of the switches above their start, in kB.
long g_picoKB = 0;

// The switch's seconds, 0 when it failed.
double Cambia(int remesa, const char *moneda)
{
    memoria::ReiniciaPico();
    const long antesKB = memoria::EstadoKB("VmRSS:");
    QElapsedTimer reloj;
    reloj.start();
    const CambioMoneda r = CambiaMonedaRemesa(remesa, moneda);
    const double segundos = double(reloj.nsecsElapsed()) / 1e9;
    g_picoKB = std::max(g_picoKB, memoria::EstadoKB("VmHWM:") - antesKB);
    std::printf("%-30s %8.2f s  (%s)\n", (std::string("switch to ") + moneda).c_str(), segundos,
                r == CambioMoneda::Cambiada ? "switched" : "NOT switched");
    return r == CambioMoneda::Cambiada ? segundos : 0;
}

// What a switch writes, as it stands now: the bills' amounts, their concepts and the batch.
std::vector<bruto::Lote> Estado(bruto::Conexion &crudo, int remesa)
{
    const std::string r = std::to_string(remesa);
    return {{"UPDATE OR FAIL [Documentos()] SET Importe=?, Contravalor=? WHERE Id_documento=? AND Block<1",
             crudo.Lee("SELECT Importe, Contravalor, Id_documento FROM [Documentos()] WHERE Id_remesa=" + r)},
            {"UPDATE [Conceptos()] SET Concepto=? WHERE Id_concepto=?",
             crudo.Lee("SELECT C.Concepto, C.Id_concepto FROM [Conceptos()] C INNER JOIN [Documentos()] D ON "
                       "D.Id_concepto=C.Id_concepto WHERE D.Id_remesa=" + r)},
            {"UPDATE OR FAIL [Remesas()] SET Id_moneda=?, Importe_total=?, Contravalor_total=? WHERE Id_remesa=?",
             crudo.Lee("SELECT Id_moneda, Importe_total, Contravalor_total, Id_remesa FROM [Remesas()] WHERE "
                       "Id_remesa=" + r)}};
}

void Referencia(const char *moneda, double programa, double bruto)
{
    std::printf("%-30s %8.2f s  (switch / raw: %.2f, target: 2 at most)\n",
                (std::string("raw engine, to ") + moneda).c_str(), bruto, programa / bruto);
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
    bruto::Conexion crudo(VASQ_GetDBNamePath());
    const std::vector<bruto::Lote> euros = Estado(crudo, remesa);
    const double aPesetas = Cambia(remesa, "ESP");
    const std::vector<bruto::Lote> pesetas = Estado(crudo, remesa);
    const std::vector<std::string> lectura = {
        "SELECT Concepto, D.Id_documento, Importe, Contravalor, D.Id_concepto FROM [Documentos()] D LEFT JOIN "
        "[Conceptos()] C ON C.Id_concepto = D.Id_concepto WHERE D.Id_remesa=" + std::to_string(remesa)};
    const double brutoEuros = crudo.Escribe(euros, lectura), brutoPesetas = crudo.Escribe(pesetas, lectura);
    const double aEuros = aPesetas > 0 ? Cambia(remesa, "EUR") : 0;
    const bool bien = aPesetas > 0 && aEuros > 0;
    if (bien) {
        Referencia("ESP", aPesetas, brutoPesetas);
        Referencia("EUR", aEuros, brutoEuros);
    }
    std::printf("batch total after both: %s\n",
                cobros::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa),
                              "Importe_total")
                    .c_str());
    std::printf("peak memory of a switch: %ld kB above its start\n", g_picoKB);
    return bien ? 0 : 1;
}
