// Benchmark of the send-file generation: the shipped database restored keyed into a
// folder, one issuer's batches filled with bills (drawees with accounts, a concept text on
// every tenth bill), then one run of the generator over every batch: the file, its history
// copy, the history rows and the stamps. Prints the seconds of the run and the peak memory
// it took above the process's size before it. Targets: about 2 s and at most 100 MiB for
// 100,000 bills in 50 batches. The folder keeps the database, the file and its copy.
//
// bench_fichero_envio FOLDER [bills [batches [CSB19|CSB58]]]   (default: 100000 50 CSB19)
#include "Generacsb.h"

#include "General.h"
#include "cobros.h"
#include "memoria.h"
#include "progdir.h"
#include "vasqdb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

bool Falla(const char *que)
{
    std::fprintf(stderr, "bench_fichero_envio: %s\n", que);
    return false;
}

// The database of the run: the shipped one, rebuilt and keyed as start-up does.
bool PreparaBase(const std::string &carpeta)
{
    const std::string bd = carpeta + "BD/Orvanta.mdb";
    std::error_code ec;
    std::filesystem::create_directories(carpeta + "BD", ec);
    std::filesystem::copy_file(SHIPPED_MCR, carpeta + "BD/Orvanta.mcr",
                               std::filesystem::copy_options::overwrite_existing, ec);
    std::filesystem::remove(bd, ec);
    BorraDiarios(bd);
    if (ec || !RecuperaBDCifrada(bd) || C_ChangePassword(bd.c_str(), "", kPasswordBD) != 0)
        return Falla("no se puede reconstruir la base de datos");
    SetBdPassword(kPasswordBD);
    return VASQ_OpenDB(bd.c_str(), 0, 0) == 0 || Falla("no se puede abrir la base de datos");
}

// One issuer with 1,000 drawees and the batches of the run; their ids into remesas.
bool Llena(bool csb19, int recibos, int lotes, std::vector<RemesaCSB> &remesas)
{
    const int empresa = cobros::Empresa();
    const int presentador = cobros::Presentador(empresa, csb19 ? "CSB19" : "CSB58", "B11111111", "000", "Presentador");
    const int emisor = cobros::Emisor(presentador, "A11111111", "001", "Emisor", "21000418450200051332",
                                      "20590060212084518352", "28079");
    constexpr int kLibrados = 1000;
    VASQ_BeginTrans();
    int primero = 0;
    for (int i = 0; i < kLibrados; ++i) {
        const std::string n = std::to_string(i);
        const int id = cobros::AltaLibrado(emisor, {"REF" + n, "Librado n\xFAmero " + n, "21000418450200051332",
                                                    "Titular " + n, "Calle " + n, "28001", "Madrid", "Madrid", "28"});
        primero = primero ? primero : id;
    }
    for (int l = 0; l < lotes; ++l) {
        const int remesa = cobros::Remesa(emisor, "EUR", "Remesa " + std::to_string(l));
        remesas.push_back({remesa, emisor});
        const int cuantos = recibos / lotes + (l < recibos % lotes ? 1 : 0);
        if (!cobros::RecibosEnSerie(remesa, true, cuantos, primero, kLibrados))
            return Falla("no se pueden guardar los recibos");
    }
    cobros::Ejecuta("INSERT INTO [Conceptos()] (Concepto) VALUES ('" + std::string(200, 'x') + "')");
    cobros::Ejecuta("UPDATE [Documentos()] SET Id_concepto=(SELECT MAX(Id_concepto) FROM [Conceptos()]) "
                    "WHERE Id_documento % 10 = 0");
    return VASQ_CommitTrans() == 0 || Falla("no se puede guardar la organizacion");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_fichero_envio CARPETA [recibos [remesas [CSB19|CSB58]]]\n");
        return 2;
    }
    const std::string carpeta = AddBackslash(argv[1]);
    const int recibos = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int lotes = argc > 3 ? std::max(1, std::atoi(argv[3])) : 50;
    const bool csb19 = argc <= 4 || std::string(argv[4]) != "CSB58";
    ::setenv(progdir::kEnvironmentVariable, carpeta.c_str(), 1);

    PeticionCSB peticion;
    if (!PreparaBase(carpeta) || !Llena(csb19, recibos, lotes, peticion.Remesas))
        return 1;
    peticion.TipoOrden = csb19 ? 1 : 2;
    peticion.Moneda = kMonedaEuros;
    peticion.Hoy = QDate::currentDate();
    peticion.FechaCargo = peticion.Hoy;
    peticion.FechaEuro = QDate(2002, 1, 1);
    peticion.CarpetaCSB = carpeta + (csb19 ? "CSB19/" : "CSB58/");
    peticion.CarpetaHistorico = carpeta + "HISTORICO/";
    peticion.Ini = carpeta + "Orvanta.INI";

    long long avances = 0;
    ProgresoCSB progreso;
    progreso.Avance = [&avances](long long, long long) { ++avances; };
    progreso.Linea = [](const std::string &linea) { std::fprintf(stderr, "%s\n", linea.c_str()); };
    _GeneradorCSB generador(peticion, progreso);

    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts from here
    const long antes = memoria::EstadoKB("VmRSS:");
    QElapsedTimer reloj;
    reloj.start();
    const ResultadoCSB resultado = generador.Genera();
    const double segundos = reloj.nsecsElapsed() / 1e9;
    const long pico = memoria::EstadoKB("VmHWM:");
    VASQ_CloseDB();
    if (resultado != ResultadoCSB::Generado)
        return Falla("la generacion ha fallado"), 1;
    std::error_code ec;
    std::printf("%s, %d recibos en %d remesas: %.2f s, memoria %.1f MiB sobre la inicial, %lld avances\n",
                csb19 ? "CSB19" : "CSB58", recibos, lotes, segundos, (pico - antes) / 1024.0, avances);
    std::printf("fichero %s (%ju bytes), copia %s\n", generador.Fichero.c_str(),
                std::uintmax_t(std::filesystem::file_size(generador.Fichero, ec)), generador.Historico.c_str());
    return 0;
}
