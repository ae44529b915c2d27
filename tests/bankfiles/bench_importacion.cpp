// Benchmark of the CSB import: a fresh keyed copy of the shipped database at the path given,
// the user's first company (made when the user has none), and one import of the file as
// the program runs it. Prints the batches, bills and amount imported, the seconds of the run
// and its peak memory above the process's size before it. With "-" for the file it first
// writes its own: 100,000 bills in 50 issuers of 1,000 drawees each, every tenth bill with
// two optional concept records, every bill of a CSB58 file with an address record. Targets:
// about 2 s and at most 150 MiB for that file, CSB19 and CSB58. With "librados" it runs the
// drawee import of the file instead, under a new issuer of the file's format (a few seconds).
// After the bill import the raw engine writes the same rows (presenters, issuers, batches,
// drawees, concepts, bills) into another fresh copy, in one transaction with one prepared
// statement per table: the reference the run is measured against (target: at most twice it).
// The database is left there.
//
// bench_importacion FILE|- DATABASE USER [CSB19|CSB58] [librados]   (the format of "-"; default CSB19)
#include "Importacion.h"
#include "ImportacionLibrados.h"

#include "Cfgfile.h"
#include "General.h"
#include "bruto.h"
#include "csb.h"
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

int Falla(const char *que)
{
    std::fprintf(stderr, "bench_importacion: %s\n", que);
    return 1;
}

std::string Numero(long long n, int ancho)
{
    char t[32];
    std::snprintf(t, sizeof t, "%0*lld", ancho, n);
    return t;
}

// Writes the file of the run: 50 issuers of 2,000 bills.
void EscribeFichero(const std::string &ruta, bool csb19)
{
    const std::string d = csb19 ? "8" : "7";
    std::ofstream f(ruta, std::ios::binary);
    auto escribe = [&f](const std::string &r) { f << r << "\r\n"; };
    constexpr int kEmisores = 50, kRecibos = 2000, kLibrados = 1000;
    long long total = 0, registros = 1;
    escribe(csb::Registro("51" + d + "0", {{5, "B11111111000"}, {29, "PRESENTADOR"}, {89, "20590060"}}));
    for (int e = 0; e < kEmisores; ++e) {
        const std::string emisor = "A" + Numero(e, 8) + "001";
        escribe(csb::Registro("53" + d + "0", {{5, emisor}, {29, "EMISOR " + std::to_string(e)},
                                               {69, "21000418450200051332"}, {97, csb19 ? "01" : "06"}}));
        long long suma = 0, bloque = 1;
        for (int r = 0; r < kRecibos; ++r) {
            const std::string ref = "REF" + Numero(r % kLibrados, 6);
            const long long importe = 101 + (r % 1000) * 37;
            suma += importe;
            escribe(csb::Registro("56" + d + "0",
                                  {{5, emisor}, {17, ref}, {29, "LIBRADO " + ref}, {69, "21000418450200051332"},
                                   {89, Numero(importe, 10)}, {105, Numero(r, 10)}, {115, "CUOTA " + std::to_string(r)},
                                   {155, csb19 ? "" : "300630"}}));
            ++bloque;
            if (r % 10 == 0) {
                escribe(csb::Registro("56" + d + "1", {{5, emisor}, {17, ref}, {29, std::string(120, 'X')}}));
                escribe(csb::Registro("56" + d + "2", {{5, emisor}, {17, ref}, {29, std::string(90, 'Y')}}));
                bloque += 2;
            }
            if (!csb19) {
                escribe(csb::Registro("5676", {{5, emisor}, {17, ref}, {29, "CALLE 1"}, {69, "MADRID"}, {104, "28001"},
                                               {109, "MADRID"}, {147, "28"}}));
                ++bloque;
            }
        }
        ++bloque;
        escribe(csb::Registro("58" + d + "0", {{5, emisor}, {89, Numero(suma, 10)}, {105, Numero(kRecibos, 10)},
                                               {115, Numero(bloque, 10)}}));
        total += suma;
        registros += bloque;
    }
    ++registros;
    escribe(csb::Registro("59" + d + "0", {{5, "B11111111000"}, {69, Numero(kEmisores, 4)}, {89, Numero(total, 10)},
                                           {105, Numero(kEmisores * kRecibos, 10)}, {115, Numero(registros, 10)}}));
}

// A fresh keyed copy of the shipped database at bd.
bool BaseNueva(const std::filesystem::path &bd)
{
    std::error_code ec;
    std::filesystem::copy_file(SHIPPED_MCR, RutaCopiaBD(bd.string()), std::filesystem::copy_options::overwrite_existing,
                               ec);
    std::filesystem::remove(bd, ec);
    BorraDiarios(bd.string());
    return RecuperaBDCifrada(bd.string()) && C_ChangePassword(bd.c_str(), "", kPasswordBD) == 0;
}

// The raw engine writing into a fresh copy the rows the run stored in bd; its seconds.
double ReferenciaBruta(const std::filesystem::path &bd)
{
    const std::filesystem::path copia = bd.parent_path() / "bruto.mdb";
    if (!BaseNueva(copia))
        std::exit(Falla("no se puede reconstruir la base de datos de referencia"));
    return bruto::ReinsertaImportados(bd.string(), copia.string());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 4) {
        std::fprintf(stderr, "uso: bench_importacion FICHERO|- BASE_DE_DATOS USUARIO [CSB19|CSB58] [librados]\n");
        return 2;
    }
    const std::filesystem::path bd = std::filesystem::absolute(argv[2]);
    const std::string carpeta = bd.parent_path().string() + "/";
    std::error_code ec;
    std::filesystem::create_directories(carpeta, ec);
    ::setenv(progdir::kEnvironmentVariable, carpeta.c_str(), 1);

    std::string fichero = argv[1];
    if (fichero == "-") {
        fichero = carpeta + "bench.csb";
        EscribeFichero(fichero, argc <= 4 || std::string(argv[4]) != "CSB58");
    }
    const int tipo = GetTipoOrdenFichero(fichero);
    if (tipo == 0)
        return Falla("el fichero no es CSB19 ni CSB58");

    if (!BaseNueva(bd))
        return Falla("no se puede reconstruir la base de datos");
    SetBdPassword(kPasswordBD);
    if (VASQ_OpenDB(bd.c_str(), 0, 0) != 0)
        return Falla("no se puede abrir la base de datos");
    const int usuario = BuscaUsuarioCodigo(argv[3]);
    if (usuario < 0)
        return Falla("no existe el usuario");
    B_AStr_t *empresas = ConsultaCampos(true, {"Id_empresa"},
                                        "SELECT Id_empresa FROM [_Empresas( Datos )] WHERE Id_usuario=%d "
                                        "ORDER BY Id_empresa",
                                        usuario);
    int empresa = empresas && empresas->nStrs > 0 ? std::atoi(B_AStrGet(empresas, 0)) : 0;
    if (empresa <= 0)
        empresa = AltaEmpresa(usuario, "B00000000", "Empresa del banco de pruebas");
    if (empresa <= 0)
        return Falla("no se puede crear la empresa");

    const bool librados = argc > 5 && std::string(argv[5]) == "librados";
    const std::string layout = std::string(PROGRAM_DIR) + (tipo == 1 ? "CSB19.INI" : "CSB58.INI");
    int emisor = 0;
    if (librados) {
        const int presentador = AltaPresentador(empresa, "B99999999", GetTipoOrdenStr(tipo), "000", "BANCO DE PRUEBAS");
        emisor = presentador > 0 ? AltaEmisor(presentador, "B99999999", "000", "EMISOR DE PRUEBAS",
                                              "21000418450200051332", "", "", "")
                                 : 0;
        if (emisor <= 0)
            return Falla("no se puede crear el emisor");
    }

    auto provincia = [](std::string_view) { return std::string("MADRID"); };
    ImportacionCSB importacion(provincia);
    ImportacionLibrados importacionLibrados(provincia);
    long long avisos = 0;
    auto aviso = [&avisos](const std::string &) { ++avisos; };
    std::ofstream("/proc/self/clear_refs") << "5";
    const long antes = memoria::EstadoKB("VmRSS:");
    QElapsedTimer reloj;
    reloj.start();
    if (librados)
        importacionLibrados.ImportaLibradosCSB(fichero, layout, GetTipoOrdenStr(tipo), emisor, {}, aviso, {});
    else
        importacion.ImportaFicheroCSB(fichero, layout, std::to_string(empresa), GetTipoOrdenStr(tipo), {}, aviso, {});
    const double segundos = reloj.nsecsElapsed() / 1e9;
    const long pico = memoria::EstadoKB("VmHWM:");
    if (librados) {
        VASQ_CloseDB();
        const MarcoImportacion::Cuenta &l = importacionLibrados.Librados;
        std::printf("%s librados: %d importados, %d repetidos, %d erroneos, %.2f s, memoria %.1f MiB sobre la "
                    "inicial, %lld mensajes\n",
                    GetTipoOrdenStr(tipo).c_str(), l.Importados, l.Repetidos, l.Erroneos, segundos,
                    (pico - antes) / 1024.0, avisos);
        std::printf("base de datos %s, informe %s\n", bd.c_str(), importacionLibrados.RutaInforme().c_str());
        return 0;
    }
    B_AStr_t *suma = ConsultaCampos(true, {"Total"}, "SELECT SUM(Importe_total) AS Total FROM [Remesas()]");
    const std::string total = suma && suma->nStrs > 0 ? B_AStrGet(suma, 0) : "0";
    VASQ_CloseDB();
    const double referencia = ReferenciaBruta(bd);
    std::printf("referencia en bruto (las mismas filas, una transaccion): %.2f s; importacion / referencia: %.2f "
                "(objetivo: 2 como mucho)\n",
                referencia, segundos / referencia);
    std::printf("%s: %d remesas, %d recibos (%d erroneos), importe %s, %.2f s, memoria %.1f MiB sobre la inicial, "
                "%lld mensajes\n",
                GetTipoOrdenStr(tipo).c_str(), importacion.Remesas.Importados, importacion.Recibos.Importados,
                importacion.Recibos.Erroneos, total.c_str(), segundos, (pico - antes) / 1024.0, avisos);
    std::printf("base de datos %s, informe %s\n", bd.c_str(), importacion.RutaInforme().c_str());
    return 0;
}
