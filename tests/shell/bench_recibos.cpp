// Benchmark of the bills grid on an encrypted copy of the shipped database: for a batch of
// 1,000 and one of 100,000 bills, the time to build the index, to paint the first screen
// once the index is ready, to open the batch in all, to scroll one screen, and the memory
// the index and the rest take. The grid is the window's own model, cell painter and title
// row on an offscreen view of a usual screen's size. Targets: first screen within 0.1 s of
// the index, the whole open under 0.3 s, memory flat apart from the index.
//
// bench_recibos [number of bills ...]   (default: 1000 100000)
#include "General.h"
#include "ModeloRecibos.h"
#include "PintaGrids.h"
#include "basedatos.h"
#include "vasqdb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

// The bills index of a batch, as the window opens it (by drawee name).
const char *const kIndice =
    "SELECT [Documentos()].Id_documento FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN "
    "[Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = "
    "[Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=%d)) ORDER BY [Librados( Datos )].Razon_social, "
    "[Documentos()].Id_documento";
// The whole rows in the same order, for comparison.
const char *const kFilasEnteras =
    "SELECT [Documentos()].Situacion, [Librados( Datos )].Cuenta, [Documentos()].F_vencimiento, [Librados( Datos "
    ")].Razon_social, [Documentos()].Importe, [Documentos()].Id_documento, [Documentos()].Cod_devolucion, "
    "[Documentos()].Activo, [Documentos()].Contravalor, [Remesas()].Id_moneda FROM [Remesas()] INNER JOIN "
    "([Librados( Datos )] INNER JOIN [Documentos()] ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) "
    "ON [Remesas()].Id_remesa = [Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=%d)) ORDER BY "
    "[Librados( Datos )].Razon_social";

constexpr int kLibrados = 20000;

std::string Formato(const char *formato, int n)
{
    char texto[2048];
    std::snprintf(texto, sizeof texto, formato, n);
    return texto;
}

bool Ejecuta(const std::string &sql)
{
    std::string error;
    if (basedatos::exec(sql, error) >= 0)
        return true;
    std::fprintf(stderr, "%s\n  %s\n", error.c_str(), sql.c_str());
    return false;
}

// An issuer with kLibrados drawees of Spanish-looking names (accents and N-tilde included).
bool CreaOrganizacion()
{
    const char *const organizacion[] = {
        "INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre) VALUES (1,1,'B1','Empresa')",
        "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
        "VALUES (1,1,'CSB19','B11111111','000','Presentador')",
        "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Razon_social) VALUES (1,1,'Emisor')",
    };
    for (const char *sql : organizacion)
        if (!Ejecuta(sql))
            return false;
    const char *const silabas[] = {"ga", "mo", "RA", "lo", "pe", "su", "ti", "\xF1" "a", "\xE1l", "Ve", "do", "ri"};
    std::mt19937 azar(7);
    VASQ_BeginTrans();
    for (int i = 1; i <= kLibrados; ++i) {
        std::string nombre;
        for (int k = 0; k < 4; ++k)
            nombre += silabas[azar() % std::size(silabas)];
        nombre += " S.L.";
        char sql[512];
        std::snprintf(sql, sizeof sql,
                      "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
                      "VALUES (%d,1,'R%d','%s','21000418%012d')",
                      i, i, nombre.c_str(), i);
        if (!Ejecuta(sql)) {
            VASQ_Rollback();
            return false;
        }
    }
    return VASQ_CommitTrans() == 0;
}

// Batch remesa with n bills spread over the drawees.
bool CreaRemesa(int remesa, int n)
{
    return Ejecuta(Formato("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) "
                           "VALUES (%d,1,'EUR','Remesa')",
                           remesa)) &&
           Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,F_vencimiento,Activo) "
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
                   std::to_string(n) + ") SELECT " + std::to_string(remesa) + ", 1 + (i * 7919) % " +
                   std::to_string(kLibrados) + ", (i % 100000) / 100.0 + 1, i % 9000 + 166, '2024/06/30', i % 10 <> 0 "
                   "FROM n");
}

// Resident memory now, in kB.
long MemoriaKB()
{
    std::ifstream estado("/proc/self/status");
    std::string linea;
    while (std::getline(estado, linea))
        if (linea.rfind("VmRSS:", 0) == 0)
            return std::stol(linea.substr(6));
    return -1;
}

double Ms(const QElapsedTimer &reloj)
{
    return double(reloj.nsecsElapsed()) / 1e6;
}

struct Medida {
    int recibos = 0;
    double indice = 0, primeraPantalla = 0, pagina = 0, filasEnteras = 0;
    long memoriaIndice = 0, memoriaResto = 0;
};

Medida Mide(int remesa, int n)
{
    Medida m;
    m.recibos = n;
    QTableView vista;
    TModeloRecibos modelo;
    vista.setModel(&modelo);
    vista.setHorizontalHeader(new TCabeceraGrid(2, &vista));
    vista.setItemDelegate(new TPintaCelda(GridRecibos, &vista));
    vista.verticalHeader()->hide();
    vista.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    vista.verticalHeader()->setDefaultSectionSize(vista.fontMetrics().height() + 5);
    vista.setSelectionBehavior(QAbstractItemView::SelectRows);
    vista.resize(1000, 700);
    vista.show();
    QApplication::processEvents();
    auto visibles = [&] {
        const int ultima = vista.rowAt(vista.viewport()->height() - 1);
        modelo.LlenaFilas(std::max(0, vista.rowAt(0)), ultima < 0 ? modelo.rowCount() - 1 : ultima, false);
    };
    QObject::connect(vista.verticalScrollBar(), &QScrollBar::valueChanged, visibles);

    const long antes = MemoriaKB();
    QElapsedTimer reloj;
    reloj.start();
    modelo.Abre(Formato(kIndice, remesa), "EUR");
    m.indice = Ms(reloj);
    const long conIndice = MemoriaKB();
    reloj.restart();
    visibles();
    vista.repaint();
    m.primeraPantalla = Ms(reloj);

    const int pantalla = vista.rowAt(vista.viewport()->height() - 1) - vista.rowAt(0) + 1;
    const int paginas = std::min(50, n / std::max(1, pantalla) - 1);
    reloj.restart();
    for (int p = 0; p < paginas; ++p) {
        vista.verticalScrollBar()->setValue(vista.verticalScrollBar()->value() + pantalla);
        vista.repaint();
    }
    m.pagina = paginas > 0 ? Ms(reloj) / paginas : 0;
    m.memoriaIndice = conIndice - antes;
    m.memoriaResto = MemoriaKB() - conIndice;

    int filas = 0;
    reloj.restart();
    C_InicIndexData(Formato(kFilasEnteras, remesa).c_str(), &filas);
    m.filasEnteras = Ms(reloj);
    C_EndIndexData();
    return m;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::vector<int> tamanos;
    for (int i = 1; i < argc; ++i)
        tamanos.push_back(std::atoi(argv[i]));
    if (tamanos.empty())
        tamanos = {1000, 100000};

    testutil::TempDir carpeta;
    const std::string ruta = basedatos::restoreShipped(carpeta);
    if (ruta.empty() || basedatos::open(ruta, kPasswordBD) != 0 || !CreaOrganizacion()) {
        std::fprintf(stderr, "No se pudo preparar la base de datos.\n");
        return 1;
    }
    std::printf("Bills grid on an encrypted database (%d drawees), times in ms, memory in kB\n", kLibrados);
    std::printf("%8s %8s %12s %8s %8s %12s %10s %10s\n", "bills", "index", "first paint", "open", "page",
                "whole rows", "mem index", "mem rest");
    int remesa = 1;
    for (int n : tamanos) {
        if (!CreaRemesa(remesa, n))
            return 1;
        const Medida m = Mide(remesa++, n);
        std::printf("%8d %8.1f %12.1f %8.1f %8.2f %12.1f %10ld %10ld\n", m.recibos, m.indice, m.primeraPantalla,
                    m.indice + m.primeraPantalla, m.pagina, m.filasEnteras, m.memoriaIndice, m.memoriaResto);
    }
    std::printf("Targets: first paint <= 100 ms after the index; open (index + first paint) < 300 ms.\n");
    VASQ_CloseDB();
    return 0;
}
