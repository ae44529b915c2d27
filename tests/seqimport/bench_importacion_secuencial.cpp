// Imports 100,000 bill lines of 50 issuers (2,000 drawees each) into the shipped encrypted
// database and prints the time, the memory taken above idle and the gauge calls. Then the
// raw engine writes the same rows (presenter, issuers, batches, drawees, concepts, bills)
// into another fresh copy, in one transaction with one prepared statement per table: the
// reference the run is measured against (target: at most twice it).
#include "Importacionusuario.h"

#include "basedatos.h"
#include "bruto.h"
#include "cobros.h"
#include "memoria.h"
#include "testutil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <clocale>
#include <cstdio>
#include <fstream>

#include "vasqdb.h"

namespace {

constexpr int kEmisores = 50;
constexpr int kRecibosPorEmisor = 2000;

constexpr const char *kPlantilla =
    "[LINEAS]\r\nPresentador=P,1,1,NULL\r\nEmisor=M,1,1,NULL\r\nRecibo=R,1,1,NULL\r\n"
    "[Presentador]\r\nNif=2,9,ALFANUMERICO,[_Presentadores( Datos )].Id_nif,0\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Presentadores( Datos )].Sufijo,0\r\n"
    "Razon=14,20,ALFANUMERICO,[_Presentadores( Datos )].Razon_social,0\r\n"
    "[Emisor]\r\nNif=2,9,ALFANUMERICO,[_Emisores( Datos )].Id_nif,0\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Emisores( Datos )].Sufijo,0\r\n"
    "Razon=14,20,ALFANUMERICO,[_Emisores( Datos )].Razon_social,0\r\n"
    "Cuenta=34,20,ALFANUMERICO,[_Emisores( Datos )].Cuenta_abono,0\r\n"
    "[Recibo]\r\nCodigo=2,12,ALFANUMERICO,[Librados( Datos )].Codigo_referencia,0\r\n"
    "Nombre=14,20,ALFANUMERICO,[Librados( Datos )].Razon_social,0\r\n"
    "Cuenta=34,20,ALFANUMERICO,[Librados( Datos )].Cuenta,0\r\n"
    "Importe=54,10,NUMERICO_(2_DECIMALES),[Documentos()].Importe,0\r\n"
    "Concepto=64,40,ALFANUMERICO,[Documentos()].Concepto1,0\r\n";

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    cobros::Base base;
    if (!base.Abierta())
        return 1;
    const testutil::TempDir &dir = base.Programa().dir();
    testutil::writeFile(dir.file("tablas.dat"), testutil::readFile(std::string(PROGRAM_DIR) + "tablas.dat"));
    testutil::writeFile(dir.file("bench.sec"), kPlantilla);
    testutil::writeFile(dir.file("bench.opc"), "[Opciones]\nMoneda=Euros\n");
    {
        std::ofstream datos(dir.file("bench.txt"), std::ios::binary);
        datos << "PB99999999000Presentador\r\n";
        char linea[160];
        for (int e = 0; e < kEmisores; ++e) {
            std::snprintf(linea, sizeof linea, "MA%08d001Emisor %-13d21000418450200051332\r\n", e, e);
            datos << linea;
            for (int r = 0; r < kRecibosPorEmisor; ++r) {
                std::snprintf(linea, sizeof linea, "RR%-11dLibrado %-12d00491500051234567892%010dCuota %-34d\r\n",
                              r, r, 1000 + r, r);
                datos << linea;
            }
        }
    }
    const int empresa = cobros::Empresa();
    const long idle = memoria::PicoKB();
    long avisos = 0;
    _ImportacionUsuario run({{}, [&avisos](long long, long long, bool) { ++avisos; }});
    QElapsedTimer reloj;
    reloj.start();
    const auto resultado = run.Ejecuta(dir.file("bench.sec"), dir.file("bench.txt"), 1, empresa);
    const double segundos = reloj.elapsed() / 1000.0;
    const ContadoresImportacion c = run.Contadores();
    std::printf("bill lines: %d in %d issuers, result %d\n", kEmisores * kRecibosPorEmisor, kEmisores,
                int(resultado));
    std::printf("bills stored: %d, drawees: %d, batches: %d\n", c.Recibos.Importados, c.Librados.Importados,
                c.Remesas.Importados);
    std::printf("time: %.2f s, memory above idle: %.1f MiB, gauge calls: %ld\n", segundos,
                (memoria::PicoKB() - idle) / 1024.0, avisos);
    testutil::TempDir otra;
    const std::string copia = basedatos::restoreShipped(otra);
    if (copia.empty())
        return 1;
    const double referencia = bruto::ReinsertaImportados(VASQ_GetDBNamePath(), copia);
    std::printf("raw engine, the same rows: %.2f s (import / raw: %.2f, target: 2 at most)\n", referencia,
                segundos / referencia);
    return resultado == _ImportacionUsuario::Resultado::Terminada ? 0 : 1;
}
