// Benchmark of the start-up and of the last copy's exit on a customer's database, against
// one raw pass of the engine over the same file. Built, not run by the tests:
//   bench_salida [bills]   (500,000 by default; offscreen unless QT_QPA_PLATFORM says)
// Every run starts with the disk written out (sync). It builds the database from the
// shipped one (bills in batches of 10,000 with concept
// texts, 2,000 drawees with full names, every index filled), times five raw passes
// (export to a plain file, scramble, fsync), then five runs of start-up to the login
// window and of the exit that follows, and prints the median of each and the exit's ratio
// to the raw pass.
#include "arranque.h"

#include "Aplicacion.h"
#include "General.h"
#include "Login.h"
#include "Programa.h"
#include "b_encrip.h"
#include "basedatos.h"
#include "collation.h"
#include "ventanas.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kVeces = 5;

double Segundos(const QElapsedTimer &reloj)
{
    return double(reloj.nsecsElapsed()) / 1e9;
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double MiB(const std::string &ruta)
{
    std::error_code ec;
    const auto n = std::filesystem::file_size(ruta, ec);
    return ec ? 0.0 : double(n) / (1 << 20);
}

[[noreturn]] void Falla(const char *que)
{
    std::fprintf(stderr, "bench_salida: %s\n", que);
    std::exit(1);
}

void Ejecuta(sqlite3 *db, const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        Falla(error ? error : sql.c_str());
}

// Each run starts on a quiet disk: what the run before wrote is on it, not still being
// written out while the next one is timed.
void Asienta()
{
    ::sync();
}

// What the engine alone does: the keyed database exported to a plain file (in the pages
// and without the journal of the program's scrambled copy), which is scrambled block by
// block into another file, flushed to disk.
double PasadaEnBruto(const std::string &bd, const std::string &carpeta)
{
    const std::string plana = carpeta + "bruto.db", cifrada = carpeta + "bruto.mcr";
    std::filesystem::remove(plana);
    QElapsedTimer reloj;
    reloj.start();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(bd.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        Falla("no se abre la base de datos");
    sqlite3_key(db, kPasswordBD, int(std::strlen(kPasswordBD)));
    Ejecuta(db, "PRAGMA cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE));
    vasq::registerCollation(db);
    Ejecuta(db, "ATTACH '" + plana + "' AS plana KEY ''");
    Ejecuta(db, "PRAGMA plana.page_size=8192; PRAGMA plana.journal_mode=OFF");
    Ejecuta(db, "SELECT sqlcipher_export('plana')");
    Ejecuta(db, "DETACH plana");
    sqlite3_close(db);
    const int entrada = ::open(plana.c_str(), O_RDONLY);
    const int salida = ::open(cifrada.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    static char bloque[8192];
    ssize_t n;
    while ((n = ::read(entrada, bloque, sizeof bloque)) > 0) {
        BlockQuickEncript(bloque, long(n));
        if (::write(salida, bloque, size_t(n)) != n)
            Falla("no se escribe la copia en bruto");
    }
    if (n < 0 || ::fsync(salida) != 0)
        Falla("no se lee o no se vuelca la copia en bruto");
    ::close(entrada);
    ::close(salida);
    const double s = Segundos(reloj);
    std::filesystem::remove(plana);
    std::filesystem::remove(cifrada);
    return s;
}

// The program's windows created as the entry creates them, until the login window shows
// (then cancelled); the time to it.
double HastaElLogin()
{
    QElapsedTimer reloj;
    double hastaLogin = -1;
    reloj.start();
    arranque::CierraAvisos();
    AlMostrarse<TFormLogin>([&](TFormLogin *login) {
        hastaLogin = Segundos(reloj);
        login->cbtCancel->click();
    });
    CreaVentanas();
    if (!App().FormMain || App().FormMain->ArranqueFallido)
        Falla("la base de datos no se pudo reconstruir o abrir");
    App().FormMain->show();
    QApplication::exec();
    return hastaLogin;
}

double Salida()
{
    QElapsedTimer reloj;
    reloj.start();
    DestruyeVentanas();
    return Segundos(reloj);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TAplicacion aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    const int recibos = argc > 1 ? std::atoi(argv[1]) : 500000;

    arranque::Carpeta carpeta;
    const std::string bd = carpeta.BD(), copia = carpeta.Ruta("BD/Orvanta.mcr");
    QElapsedTimer reloj;
    reloj.start();
    if (!RecuperaBDCifrada(bd, kPasswordBD) || basedatos::open(bd, kPasswordBD) != 0 ||
        !arranque::LlenaRemesas(recibos))
        Falla("no se pudo llenar la base de datos");
    VASQ_CloseDB();
    std::printf("Base de datos: %d recibos, %.1f MiB (llenada en %.1f s)\n", recibos, MiB(bd), Segundos(reloj));

    std::vector<double> bruto, arranques, salidas;
    for (int k = 0; k < kVeces; ++k)
        bruto.push_back((Asienta(), PasadaEnBruto(bd, carpeta.Ruta("BD/"))));
    if (!GuardaBDCifrada(bd, false, kPasswordBD))
        Falla("no se pudo escribir la copia");
    for (int k = 0; k < kVeces; ++k) {
        arranques.push_back((Asienta(), HastaElLogin()));
        salidas.push_back((Asienta(), Salida()));
        if (testutil::fileExists(bd))
            Falla("la salida no dejo la copia en lugar de la base de datos");
        std::printf("  vuelta %d: arranque %.3f s, salida %.3f s, pasada en bruto %.3f s\n", k + 1, arranques.back(),
                    salidas.back(), bruto[size_t(k)]);
    }
    const double a = Mediana(arranques), s = Mediana(salidas), b = Mediana(bruto);
    std::printf("Copia cifrada: %.1f MiB\n", MiB(copia));
    std::printf("Arranque hasta la ventana de acceso: %.3f s (objetivo: menos de 1.5 s)\n", a);
    std::printf("Arranque / pasada en bruto:          %.2f (el suelo: una pasada y las ventanas)\n", a / b);
    std::printf("Salida de la ultima copia:           %.3f s\n", s);
    std::printf("Pasada en bruto del motor:           %.3f s\n", b);
    std::printf("Salida / pasada en bruto:            %.2f (objetivo: 2 como mucho)\n", s / b);
    return 0;
}
