// Benchmark of the bills grid on an encrypted copy of the shipped database: for a batch of
// 1,000 and one of 100,000 bills, the time to build the index, to paint the first screen
// once the index is ready, to open the batch in all, to scroll one screen, and the memory
// the index and the rest take. The grid is the window's own model, cell painter and title
// row on an offscreen view of a usual screen's size. Targets: first screen within 0.1 s of
// the index, the whole open under 0.3 s, memory flat apart from the index.
// Then, in the main window showing the batch: a search whose only hit is the batch's last
// bill, and the refresh a bills notice of the batch from the same user runs (level 3), with
// the first screen painted after it and the memory it leaves. Targets: the first screen
// within 0.1 s of the refresh, the memory flat in the batch's size.
//
// bench_recibos [number of bills ...]   (default: 1000 100000)
#include "arranque.h"

#include "Aplicacion.h"
#include "General.h"
#include "Login.h"
#include "Multiuser.h"
#include "Programa.h"
#include "ModeloRecibos.h"
#include "PintaGrids.h"
#include "basedatos.h"
#include "memoria.h"
#include "vasqdb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <clocale>
#include <cstdio>
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

    const long antes = memoria::EstadoKB("VmRSS:");
    QElapsedTimer reloj;
    reloj.start();
    modelo.Abre(Formato(kIndice, remesa), "EUR");
    m.indice = Ms(reloj);
    const long conIndice = memoria::EstadoKB("VmRSS:");
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
    m.memoriaResto = memoria::EstadoKB("VmRSS:") - conIndice;

    int filas = 0;
    reloj.restart();
    C_InicIndexData(Formato(kFilasEnteras, remesa).c_str(), &filas);
    m.filasEnteras = Ms(reloj);
    C_EndIndexData();
    return m;
}

struct MedidaVentana {
    double busqueda = 0, refresco = 0, primeraPantalla = 0;
    bool acierto = false;
    long memoria = 0;
};

// Shows the batch's node in the main window; false when it did not show.
bool MuestraRemesa(TFormMain *m, int remesa)
{
    m->MuestraEmpresa(1);
    for (QTreeWidgetItemIterator i(m->treeInfoGlobal); *i; ++i)
        if (TFormMain::GetNivelNodo(*i) == ArbolRemesa && TFormMain::IdNodo(*i) == std::to_string(remesa)) {
            m->treeInfoGlobal->setCurrentItem(*i);
            return arranque::Espera([m, i] { return m->statusPanel[4]->text() == (*i)->text(0); });
        }
    return false;
}

MedidaVentana MideVentana(TFormMain *m, int remesa, int n)
{
    MedidaVentana v;
    if (!MuestraRemesa(m, remesa))
        return v;
    // The last bill's amount, unlike any other.
    TModeloRecibos *modelo = m->ModeloRecibos;
    const int ultima = modelo->rowCount() - 1;
    if (!Ejecuta("UPDATE [Documentos()] SET Importe=987654.32 WHERE Id_documento=" +
                 std::to_string(modelo->IdFila(ultima))))
        return v;
    modelo->LlenaFilas(ultima, ultima, true);
    const QString texto = modelo->index(ultima, TModeloRecibos::ColImporte).data().toString();
    QElapsedTimer reloj;
    reloj.start();
    v.acierto = modelo->Busca(0, TModeloRecibos::ColImporte, texto) == n - 1;
    v.busqueda = Ms(reloj);

    const long antes = memoria::EstadoKB("VmRSS:");
    reloj.restart();
    m->ProcesaActualizacion(1, NIVEL_DOCUMENTOS, remesa);
    v.refresco = Ms(reloj);
    reloj.restart();
    m->lstGridDocumentos->viewport()->repaint();
    v.primeraPantalla = Ms(reloj);
    v.memoria = memoria::EstadoKB("VmRSS:") - antes;
    // The company again: the next batch's own model has the index to itself.
    m->treeInfoGlobal->setCurrentItem(m->treeInfoGlobal->topLevelItem(0));
    arranque::Espera([m] { return m->panelGrdDocumentos->isHidden(); });
    return v;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TAplicacion aplicacion(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::setlocale(LC_NUMERIC, "C");
    std::vector<int> tamanos;
    for (int i = 1; i < argc; ++i)
        tamanos.push_back(std::atoi(argv[i]));
    if (tamanos.empty())
        tamanos = {1000, 100000};

    arranque::Carpeta carpeta;
    arranque::Ventanas ventanas;
    TFormMain *m = ventanas.Main();
    if (!m || !CreaOrganizacion()) {
        std::fprintf(stderr, "No se pudo preparar la base de datos.\n");
        return 1;
    }
    App().FormLogin->LoginData.Id_usuario = "1";
    m->SaltarLogin = true;
    m->resize(1000, 700);
    m->show();
    m->RefrescaTextos();
    m->MuestraEmpresa(1);

    std::printf("Bills grid on an encrypted database (%d drawees), times in ms, memory in kB\n", kLibrados);
    std::printf("%8s %8s %12s %8s %8s %12s %10s %10s\n", "bills", "index", "first paint", "open", "page",
                "whole rows", "mem index", "mem rest");
    std::vector<MedidaVentana> ventana;
    int remesa = 1;
    for (int n : tamanos) {
        if (!CreaRemesa(remesa, n))
            return 1;
        const Medida medida = Mide(remesa, n);
        std::printf("%8d %8.1f %12.1f %8.1f %8.2f %12.1f %10ld %10ld\n", medida.recibos, medida.indice,
                    medida.primeraPantalla, medida.indice + medida.primeraPantalla, medida.pagina,
                    medida.filasEnteras, medida.memoriaIndice, medida.memoriaResto);
        ventana.push_back(MideVentana(m, remesa++, n));
    }
    std::printf("Targets: first paint <= 100 ms after the index; open (index + first paint) < 300 ms.\n\n");
    std::printf("Main window on the batch, times in ms, memory in kB\n");
    std::printf("%8s %16s %6s %10s %12s %10s\n", "bills", "search last bill", "hit", "refresh", "first paint",
                "mem after");
    for (size_t i = 0; i < ventana.size(); ++i)
        std::printf("%8d %16.1f %6s %10.1f %12.1f %10ld\n", tamanos[i], ventana[i].busqueda,
                    ventana[i].acierto ? "yes" : "NO", ventana[i].refresco, ventana[i].primeraPantalla,
                    ventana[i].memoria);
    std::printf("Targets: first paint <= 100 ms after the refresh; memory flat in the batch's size.\n");
    return 0;
}
