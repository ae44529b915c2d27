// The main window's grids on the real database: what each level shows, the display forms,
// the question before a large load, title-click sorting, the totals panel, the batch totals
// writer, the multi-user selection of a batch and the records of the editors.
#include "rejillas.h"

#include "Frmmsg.h"
#include "Totalesremesa.h"
#include "entorno.h"
#include "ventanas.h"

#include <QLabel>

namespace {

using rejillas::Rejillas;
using rejillas::Texto;

// The four bills of batch 1: an active one, a deactivated one without due date, one refused
// by an import and another active one.
const char *const kRecibos[] = {
    "INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,Contravalor,F_vencimiento,Activo) "
    "VALUES (1,1,2,1234.5,205399,'2024/03/31',1)",
    "INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,Contravalor,Activo) "
    "VALUES (2,1,1,10,1664,0)",
    "INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,Contravalor,F_vencimiento,Activo,"
    "Situacion) VALUES (3,1,1,99,16472,'2024/04/30',0,1)",
    "INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,Contravalor,F_vencimiento,Activo) "
    "VALUES (4,1,2,0.5,83,'2024/05/31',1)",
};

class Grids : public Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        for (const char *sql : kRecibos)
            ASSERT_TRUE(arranque::Ejecuta(sql)) << sql;
    }
    entorno::Regional regional{true};
};

std::vector<std::string> Titulos(const QTableView *grid)
{
    std::vector<std::string> t;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        t.push_back(Texto(grid, 0, c));
    return t;
}

std::vector<int> Ocultas(const QTableView *grid)
{
    std::vector<int> c;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        if (grid->isColumnHidden(i))
            c.push_back(i);
    return c;
}

TEST_F(Grids, EachLevelShowsItsGridTitlesAndColumns)
{
    const struct {
        int nivel, id;
        QWidget *panel;
        QTableView *grid;
        std::vector<std::string> titulos;
        std::vector<int> ocultas;
        const char *titulo;
        bool totales;
    } casos[] = {
        {ArbolEmpresa, 1, m->panelGrdEmpresas, m->lstGridPresentadores,
         {" ", "Nif", "Sufijo", "Presentador", "Tipo de orden"}, {},
         "       [-----]Presentadores de Empresa", false},
        {ArbolPresentador, 1, m->panelGrdEmisores, m->lstGridEmisores, {" ", "Nif", "Cuenta de abono", "Emisor"}, {},
         "       [CSB19] Emisores de (CSB19) Norte", false},
        {ArbolEmisor, 1, m->panelGrdRemesas, m->lstGridRemesas,
         {" ", " ", " ", "Descripci\xF3n", "F. Alta", "Emisi\xF3n", "Importe", "Contravalor"}, {},
         "       [CSB19] Remesas de Emisor A", true},
        {ArbolRemesa, 1, m->panelGrdDocumentos, m->lstGridDocumentos,
         {" ", " ", "Vencimiento", "Librado", "Cuenta", "Importe", " ", "Contravalor", ""}, {2, 6, 8},
         "             [CSB19] Recibos de Enero", true},
        {ArbolRemesa, 3, m->panelGrdDocumentos, m->lstGridDocumentos,
         {" ", " ", "Vencimiento", "Librado", "Cuenta", "Importe", " ", "Contravalor", ""}, {6, 8},
         "             [CSB58] Recibos de Marzo", true},
    };
    for (const auto &c : casos) {
        Selecciona(c.nivel, c.id);
        const std::string que = c.titulo;
        for (QWidget *panel : {m->panelGrdEmpresas, m->panelGrdEmisores, m->panelGrdRemesas, m->panelGrdDocumentos})
            EXPECT_EQ(panel->isHidden(), panel != c.panel) << que;
        EXPECT_EQ(Titulos(c.grid), c.titulos) << que;
        EXPECT_EQ(Ocultas(c.grid), c.ocultas) << que;
        const QLabel *titulo = c.panel->findChild<QLabel *>();
        EXPECT_EQ(cp1252::fromQString(titulo->text()), c.titulo);
        EXPECT_EQ(m->panelBottom->isHidden(), !c.totales) << que;
    }
    m->MuestraEmpresa(1);
    EXPECT_TRUE(m->panelBottom->isHidden()) << "a new login shows no grid and no totals";
    EXPECT_EQ(cp1252::fromQString(m->LBNumDesactivos->text()), "N\xBA Desactivadas");
}

TEST_F(Grids, CellsShowTheDisplayForms)
{
    Selecciona(ArbolEmisor, 1);
    const QTableView *remesas = m->lstGridRemesas;
    ASSERT_EQ(remesas->model()->rowCount(), 2);
    const std::vector<std::string> enero = {"1", "EUR", "NULL", "Enero", "15/01/2024", "TRUE", "1.234,50", "205.399"};
    const std::vector<std::string> febrero = {"2",          "ESP",   "20/02/2024", "Febrero",
                                              "01/02/2024", "FALSE", "1.000",      "6,01"};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(Texto(remesas, 1, c), enero[size_t(c)]) << "column " << c;
        EXPECT_EQ(Texto(remesas, 2, c), febrero[size_t(c)]) << "column " << c;
    }
    // How the batch grid draws its coded cells.
    const struct {
        int columna;
        const char *valor;
        int imagen;
        const char *texto;
    } aspectos[] = {
        {1, "ESP", ImagenGridPesetas, " "},        {1, "EUR", ImagenGridEuros, " "},
        {2, "NULL", ImagenRemesaSinGenerar, " "},  {2, "20/02/2024", ImagenRemesaGenerada, " "},
        {5, "TRUE", -1, "Con emisi\xF3n"},         {5, "FALSE", -1, "Sin emisi\xF3n"},
        {3, "Enero", -1, " Enero"},
    };
    for (const auto &a : aspectos) {
        const AspectoCelda aspecto = GetAspectoCelda(GridRemesas, a.columna, QString::fromLatin1(a.valor));
        EXPECT_EQ(aspecto.imagen, a.imagen) << a.valor;
        EXPECT_EQ(cp1252::fromQString(aspecto.texto), a.texto) << a.valor;
    }

    Selecciona(ArbolRemesa, 1);
    ASSERT_EQ(m->NumFilasRecibos, 4);
    // By drawee name: the accented A among the A's, then by key.
    const std::vector<std::vector<std::string>> filas = {
        {"2", "FALSE", "", "\xC1lvarez", "2100-0418-45-0200051332", "10,00", "EUR", "1.664", ""},
        {"3", "Err", "30/04/2024", "\xC1lvarez", "2100-0418-45-0200051332", "99,00", "EUR", "16.472", ""},
        {"1", "TRUE", "31/03/2024", "Bravo & Hijos", "2059-0060-21-2084518352", "1.234,50", "EUR", "205.399", ""},
        {"4", "TRUE", "31/05/2024", "Bravo & Hijos", "2059-0060-21-2084518352", "0,50", "EUR", "83", ""},
    };
    for (int f = 1; f <= 4; ++f)
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(Texto(m->lstGridDocumentos, f, c), filas[size_t(f - 1)][size_t(c)] + (f == 1 && c == 8 ? "SEL" : ""))
                << "row " << f << " column " << c;
    const struct {
        const char *valor;
        int imagen;
    } estados[] = {{"TRUE", ImagenReciboActivo}, {"FALSE", ImagenReciboInactivo}, {"Err", ImagenReciboErroneo}};
    for (const auto &e : estados)
        EXPECT_EQ(GetAspectoCelda(GridRecibos, 1, QString::fromLatin1(e.valor)).imagen, e.imagen) << e.valor;

    Selecciona(ArbolRemesa, 3);
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) "
                                  "VALUES (3,3,1,166)"));
    m->RefrescaRecibos();
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 4), "0000-0000-00-0000000000") << "a CSB58 drawee without account";
}

// A company's two presenters alike but for their order type (the CSB58 one stored in lower
// case by an older build): the grid tells them apart as the tree does.
TEST_F(Grids, ThePresentersGridShowsEachOnesOrderType)
{
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Presentadores( Datos )] SET Id_nif='B11111111', Sufijo='000', "
                                  "Razon_social='Norte', Id_orden='csb58' WHERE Id_presentador=2"));
    m->CargaArbol("1");
    Selecciona(ArbolEmpresa, 1);
    std::vector<std::string> filas;
    for (int f = 1; f <= m->lstGridPresentadores->rowCount(); ++f)
        filas.push_back(Texto(m->lstGridPresentadores, f, 0) + " " + Texto(m->lstGridPresentadores, f, 4));
    std::sort(filas.begin(), filas.end());
    EXPECT_EQ(filas, (std::vector<std::string>{"1 CSB19", "2 CSB58"}));
    EXPECT_FALSE(m->lstGridPresentadores->isColumnHidden(4));
}

TEST_F(Grids, MoreThanAThousandRowsAskOnceBeforeTheFirstRow)
{
    auto remesas = [](int emisor, int cuantas) {
        return "INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Descripcion) WITH RECURSIVE n(i) AS (SELECT 1 "
               "UNION ALL SELECT i+1 FROM n WHERE i<" +
               std::to_string(cuantas) + ") SELECT " + std::to_string(emisor) + ",'EUR','R' || i FROM n";
    };
    // Issuer 1 has 2 batches already: 998 more make 1000; issuer 2 has 1 and gets 1000 more.
    ASSERT_TRUE(arranque::Ejecuta(remesas(1, 998)));
    ASSERT_TRUE(arranque::Ejecuta(remesas(2, 1000)));
    m->MuestraEmpresa(1);
    const struct {
        int emisor;
        QMessageBox::StandardButton respuesta;
        int preguntas, filas;
    } casos[] = {
        {1, QMessageBox::Yes, 0, 1000},
        {2, QMessageBox::No, 1, 0},
        {2, QMessageBox::Yes, 1, 1001},
    };
    for (const auto &c : casos) {
        Selecciona(ArbolPresentador, c.emisor); // elsewhere first, so that the issuer loads anew
        int filasAlPreguntar = -1;
        std::string titulo;
        Respondedor<QMessageBox> respondedor([&](QMessageBox *caja) {
            filasAlPreguntar = m->lstGridRemesas->rowCount();
            titulo = cp1252::fromQString(caja->windowTitle());
            caja->button(c.respuesta)->click();
        });
        Selecciona(ArbolEmisor, c.emisor);
        EXPECT_EQ(respondedor.Veces(), c.preguntas) << "issuer " << c.emisor;
        EXPECT_EQ(m->lstGridRemesas->rowCount(), c.filas) << "issuer " << c.emisor;
        if (c.preguntas) {
            EXPECT_EQ(filasAlPreguntar, 0) << "asked before the first row";
            EXPECT_EQ(titulo, "Dispuesto a pintar1001 Registros en grid");
        }
    }
}

TEST_F(Grids, TitleClicksSortAscendingDescendingAscending)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion,"
                                  "Importe_total) VALUES (4,1,'EUR','Abril',1000)"));
    m->MuestraEmpresa(1);
    Selecciona(ArbolEmisor, 1);
    auto columna = [this](int c) {
        std::vector<std::string> v;
        for (int f = 1; f <= m->lstGridRemesas->rowCount(); ++f)
            v.push_back(Texto(m->lstGridRemesas, f, c));
        return v;
    };
    const std::vector<std::string> asc = {"Abril", "Enero", "Febrero"}, desc = {"Febrero", "Enero", "Abril"};
    const std::vector<std::string> esperadas[] = {asc, desc, asc};
    for (const auto &esperada : esperadas) {
        ClicTitulo(m->lstGridRemesas, 3);
        EXPECT_EQ(columna(3), esperada);
    }
    EXPECT_EQ(m->ColumnaAsc[GridRemesas], 3);
    EXPECT_EQ(m->ColumnaDesc[GridRemesas], -1);
    // 1000 pesetas and 1000.00 euros: equal amounts, then by currency in the same direction.
    ClicTitulo(m->lstGridRemesas, 6);
    EXPECT_EQ(columna(0), (std::vector<std::string>{"2", "4", "1"}));
    ClicTitulo(m->lstGridRemesas, 6);
    EXPECT_EQ(columna(0), (std::vector<std::string>{"1", "4", "2"}));
    EXPECT_EQ(m->ColumnaDesc[GridRemesas], 6);

    Selecciona(ArbolRemesa, 1);
    ClicTitulo(m->lstGridDocumentos, 5);
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 0), "4") << "smallest amount first";
    EXPECT_EQ(Marcadas(), std::vector<int>{1}) << "a re-sort marks the first row";
    ClicTitulo(m->lstGridDocumentos, 5);
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 0), "1");
    const std::string sql = m->SQLRecibos;
    m->OrdenaGrid(GridRecibos, 6);
    EXPECT_EQ(m->SQLRecibos, sql) << "the hidden currency column does not sort";
    EXPECT_EQ(m->ColumnaDesc[GridRecibos], 5);
    Selecciona(ArbolRemesa, 3);
    ClicTitulo(m->lstGridDocumentos, 3);
    EXPECT_EQ(m->ColumnaAsc[GridRecibos], -1) << "a batch without bills does not sort";
}

TEST_F(Grids, TotalsCountNormalBillsByState)
{
    Selecciona(ArbolRemesa, 1);
    auto etiquetas = [this] {
        std::vector<std::string> v;
        for (QLabel *l : {m->lblTotalRecibos, m->lblTotalImporte, m->lblTotalActivos, m->lblImporteActivos,
                          m->lblOrdDesac, m->lblImportOrdDesac})
            v.push_back(cp1252::fromQString(l->text()));
        return v;
    };
    EXPECT_EQ(etiquetas(), (std::vector<std::string>{"3", "1.245,00", "2", "1.235,00", "1", "10,00"}))
        << "the refused bill counts nowhere";
    EXPECT_TRUE(m->ImageEuro->isVisibleTo(m->panelBottom));
    EXPECT_FALSE(m->ImagePta->isVisibleTo(m->panelBottom));

    // In the batches grid the totals follow the selected batch.
    Selecciona(ArbolEmisor, 1);
    EXPECT_EQ(etiquetas()[0], "3");
    m->lstGridRemesas->setCurrentCell(1, 1);
    EXPECT_EQ(etiquetas(), (std::vector<std::string>(6, "0"))) << "a batch without bills, in pesetas";
    EXPECT_EQ(m->MonedaRemesa, "ESP");
    // Its only batch in euros, without bills; then no batch chosen.
    Selecciona(ArbolEmisor, 2);
    const std::vector<std::string> cero = {"0", "0,00", "0", "0,00", "0", "0,00"};
    EXPECT_EQ(etiquetas(), cero);
    m->lstGridRemesas->setCurrentCell(-1, -1);
    EXPECT_EQ(etiquetas(), cero) << "as the currency in view shows them";

    // The writer: the normal bills' sum and its counter-value; 0 when only a refused one is left.
    EXPECT_EQ(ActualizaTotalesRemesa("1"), "");
    EXPECT_EQ(arranque::Valor("SELECT Importe_total, Contravalor_total FROM [Remesas()] WHERE Id_remesa=1",
                              "Importe_total"),
              "1245");
    EXPECT_EQ(arranque::Valor("SELECT Importe_total, Contravalor_total FROM [Remesas()] WHERE Id_remesa=1",
                              "Contravalor_total"),
              "207151");
    ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Documentos()] WHERE Id_documento<>3"));
    m->ActualizaTotalesRemesa(1);
    EXPECT_EQ(arranque::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=1", "Importe_total"), "0");
    EXPECT_EQ(arranque::Valor("SELECT Contravalor_total FROM [Remesas()] WHERE Id_remesa=1", "Contravalor_total"),
              "0");
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) "
                                  "VALUES (2,1,1000,6.01)"));
    EXPECT_EQ(ActualizaTotalesRemesa("2", "ESP"), "");
    EXPECT_EQ(arranque::Valor("SELECT Contravalor_total FROM [Remesas()] WHERE Id_remesa=2", "Contravalor_total"),
              "6.01");
}

TEST_F(Grids, TheBatchTotalsFollowTheRowClicked)
{
    Selecciona(ArbolEmisor, 1);
    for (const int fila : {2, 1, 2}) {
        const QRect celda = m->lstGridRemesas->visualRect(m->lstGridRemesas->model()->index(fila - 1, 3));
        QTest::mouseClick(m->lstGridRemesas->viewport(), Qt::LeftButton, {}, celda.center());
        EXPECT_EQ(cp1252::fromQString(m->lblTotalImporte->text()), fila == 1 ? "1.245,00" : "0") << "row " << fila;
    }
}

// From the batches grid to the tree and back, then on to a batch's bills, by keys alone.
TEST_F(Grids, F6AndCtrlTabGoBetweenTheTreeAndTheGridInView)
{
    Selecciona(ArbolEmisor, 1);
    ASSERT_TRUE(Activa(m));
    m->lstGridRemesas->setFocus();
    const struct {
        Qt::Key tecla;
        Qt::KeyboardModifiers teclas;
        QWidget *destino;
    } pasos[] = {
        {Qt::Key_Tab, Qt::ControlModifier, m->treeInfoGlobal},
        {Qt::Key_Tab, Qt::ControlModifier, m->lstGridRemesas},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, m->treeInfoGlobal},
        {Qt::Key_F6, {}, m->lstGridRemesas},
        {Qt::Key_Tab, {}, m->lstGridRemesas}, // Tab stays in the grid, cell to cell
        {Qt::Key_F6, Qt::ShiftModifier, m->treeInfoGlobal},
        {Qt::Key_Down, {}, m->treeInfoGlobal}, // batch 1
    };
    for (const auto &p : pasos) {
        const QModelIndex antes = m->lstGridRemesas->currentIndex();
        QTest::keyClick(QApplication::focusWidget(), p.tecla, p.teclas);
        EXPECT_EQ(QApplication::focusWidget(), p.destino) << QKeySequence(p.tecla | p.teclas).toString().toStdString();
        if (p.tecla == Qt::Key_Tab && !p.teclas)
            EXPECT_EQ(m->lstGridRemesas->currentIndex(), antes.siblingAtColumn(antes.column() + 1));
    }
    ASSERT_TRUE(arranque::Espera([this] { return m->panelGrdDocumentos->isVisible(); }));
    QTest::keyClick(m->treeInfoGlobal, Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), m->lstGridDocumentos);
}

// A narrow window keeps the name columns readable (the grid scrolls sideways instead).
TEST_F(Grids, NameColumnsStayReadableInANarrowWindow)
{
    const std::tuple<int, int, QTableView *> grids[] = {
        {ArbolPresentador, 1, m->lstGridEmisores}, {ArbolEmisor, 1, m->lstGridRemesas},
        {ArbolRemesa, 1, m->lstGridDocumentos}, {ArbolRemesa, 3, m->lstGridDocumentos}};
    m->showNormal();
    for (const QSize tamano : {QSize(1024, 768), QSize(640, 480)}) {
        m->resize(tamano);
        for (const auto &[nivel, id, grid] : grids) {
            Selecciona(nivel, id);
            QCoreApplication::processEvents();
            EXPECT_GE(grid->columnWidth(3),
                      grid->fontMetrics().horizontalAdvance(QStringLiteral("Ferreteria Martinez SL")))
                << tamano.width() << " level " << nivel << " id " << id;
        }
    }
}

TEST_F(Grids, ABatchNodeHoldsItsLockChainWhileSelected)
{
    auto bloqueo = [](const char *tabla, const char *clave) {
        return arranque::Valor(std::string("SELECT Block FROM ") + tabla + " WHERE " + clave + "=1", "Block");
    };
    const std::pair<const char *, const char *> cadena[] = {
        {"[Remesas()]", "Id_remesa"},
        {"[_Emisores( Datos )]", "Id_emisor"},
        {"[_Presentadores( Datos )]", "Id_presentador"},
        {"[_Empresas( Datos )]", "Id_empresa"},
    };
    Selecciona(ArbolRemesa, 1);
    for (const auto &[tabla, clave] : cadena)
        EXPECT_EQ(bloqueo(tabla, clave), "1") << tabla;
    Selecciona(ArbolPresentador, 2);
    // The company stays held: it is in the new selection's chain too.
    for (const auto &[tabla, clave] : cadena)
        EXPECT_EQ(bloqueo(tabla, clave), std::string(tabla) == "[_Empresas( Datos )]" ? "1" : "0") << tabla;
}

TEST_F(Grids, EditorRecordsLoadBatchAndBill)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Conceptos()] (Id_concepto,Concepto) VALUES (7,'Cuota de enero')"));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Id_concepto=7, F_formalizacion='2024/01/10', "
                                  "Ref_interna='RI&1' WHERE Id_documento=1"));
    m->CargaRemesa("1");
    EXPECT_EQ(m->DatosRemesa.Modo, RegistroModificar);
    EXPECT_EQ(m->DatosRemesa.Id_moneda, "EUR");
    EXPECT_EQ(m->DatosRemesa.Con_emision, "TRUE");
    EXPECT_EQ(m->DatosRemesa.Descripcion, "Enero");
    EXPECT_EQ(m->DatosRemesa.Id_plantilla, "NULL");

    m->CargaDocumento("1");
    const STRDocumento &d = m->DatosDocumento;
    EXPECT_EQ(d.Modo, RegistroModificar);
    EXPECT_EQ(d.Razon_social, "Bravo & Hijos");
    EXPECT_EQ(d.Importe, "1234.5");
    EXPECT_EQ(d.Ref_interna, "RI&1");
    EXPECT_EQ(d.Concepto, "Cuota de enero" + std::string(626, ' ')) << "a short row reads as the whole page";
    EXPECT_EQ(d.F_vencimiento, QDate(2024, 3, 31));
    EXPECT_EQ(d.F_formalizacion, QDate(2024, 1, 10));
    EXPECT_EQ(d.Id_moneda, "EUR");

    m->CargaDocumento("2");
    EXPECT_EQ(m->DatosDocumento.Concepto, "NULL") << "a bill without concept still loads";
    EXPECT_EQ(m->DatosDocumento.Razon_social, "\xC1lvarez");
    EXPECT_FALSE(m->DatosDocumento.F_vencimiento.isValid());
    m->CargaDocumento("99");
    EXPECT_EQ(m->DatosDocumento.Modo, RegistroVacio);
    EXPECT_EQ(GetEstadoRecibo("FALSE", "1"), ReciboErroneo);
    EXPECT_EQ(GetEstadoRecibo("TRUE", "0"), ReciboActivo);
    EXPECT_EQ(GetEstadoRecibo("FALSE", "0"), ReciboDesactivado);
}

} // namespace
