// Benchmark of the bills report on an encrypted copy of the shipped database: 100,000 bills in
// 50 batches (by default) of one issuer, printed whole. Times the run from the options' OK
// to the first page painted in the preview (query, layout under its progress dialog,
// preview), the writing of the whole PDF, and the peak memory of the process. Target: a few
// seconds each.
//
// bench_informes [bills [batches]]
#include "Aplicacion.h"
#include "Frmpreview.h"
#include "General.h"
#include "Lstdocs.h"
#include "arranque.h"
#include "memoria.h"
#include "testutil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLibrados = 20000;

bool Organizacion()
{
    const char *const filas[] = {
        "INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre) VALUES (1,1,'B1','Empresa')",
        "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
        "VALUES (1,1,'CSB19','B11111111','000','Presentador')",
        "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono) "
        "VALUES (1,1,'A11111111','001','Emisor','21000418450200051332')",
        "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<20000) "
        "SELECT i,1,'R'||i,'Librado '||((i * 7919) % 20000)||' S.L.',printf('21000418%012d',i) FROM n",
    };
    for (const char *sql : filas)
        if (!arranque::Ejecuta(sql))
            return false;
    return true;
}

// Batch remesa with n bills over the drawees, pesetas or euros by turns.
bool Remesa(int remesa, int n)
{
    const bool euros = remesa % 2 == 0;
    return arranque::Ejecuta("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (" +
                             std::to_string(remesa) + ",1,'" + (euros ? "EUR" : "ESP") + "','Remesa " +
                             std::to_string(remesa) + "')") &&
           arranque::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Ref_interna,"
                             "Primer_concepto,F_vencimiento) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 "
                             "FROM n WHERE i<" +
                             std::to_string(n) + ") SELECT " + std::to_string(remesa) + ", 1 + (i * 31) % " +
                             std::to_string(kLibrados) + ", " + (euros ? "(i % 100000) / 100.0 + 1" : "i * 7 + 100") +
                             ", 0, 'REF' || i, 'Cuota del mes de junio, recibo ' || i, '2024/06/30' FROM n");
}

double Segundos(const QElapsedTimer &reloj)
{
    return double(reloj.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int recibos = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int remesas = argc > 2 ? std::atoi(argv[2]) : 50;

    arranque::Carpeta carpeta;
    arranque::Ventanas ventanas;
    bool lleno = Organizacion();
    std::vector<int> elegidas;
    for (int r = 1; lleno && r <= remesas; ++r) {
        lleno = Remesa(r, recibos / remesas);
        elegidas.push_back(r);
    }
    if (!lleno) {
        std::fprintf(stderr, "No se pudo preparar la base de datos.\n");
        return 1;
    }
    std::printf("%d recibos en %d remesas; memoria antes del informe: %ld MB\n", recibos, remesas, (memoria::PicoKB() / 1024));

    TFormRptDocs *informe = App().FormRptDocs;
    informe->PreparaRptDocs(elegidas);
    QElapsedTimer reloj;
    reloj.start();
    if (!informe->CuentaDocsRpt() || !informe->Previsualiza()) {
        std::fprintf(stderr, "El informe no se abrió.\n");
        return 1;
    }
    informe->Preview->QRPreview1->widget()->repaint();
    const double primera = Segundos(reloj);
    const int paginas = informe->QRep.PageCount();

    testutil::TempDir dir;
    reloj.restart();
    const bool escrito = informe->QRep.GuardaPDF(dir.file("recibos.pdf"));
    const double pdf = Segundos(reloj);
    const long bytes = long(testutil::readFile(dir.file("recibos.pdf")).size());
    informe->Preview->close();

    std::printf("primera pagina en pantalla: %.2f s (%d paginas)\n", primera, paginas);
    std::printf("PDF entero: %.2f s (%s, %ld KB)\n", pdf, escrito ? "escrito" : "FALLO", bytes / 1024);
    std::printf("pico de memoria del proceso: %ld MB\n", (memoria::PicoKB() / 1024));
    return escrito ? 0 : 1;
}
