// The send-file viewer and its bill detail window, driven offscreen on files written by
// hand and on the sample files: tree, detail panel, list rows, sorting, and every fault of
// the structure check shown with its line and logged once.
#include "Unithistoricos.h"
#include "Unitopcionales.h"

#include "Aplicacion.h"
#include "General.h"
#include "csb.h"
#include "entorno.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QAbstractItemModelTester>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using csb::Registro;

std::string Importe(long long n)
{
    std::string t = std::to_string(n);
    return std::string(10 - t.size(), '0') + t;
}

std::string Cuenta(long long n)
{
    std::string t = std::to_string(n);
    return std::string(4 - t.size(), '0') + t;
}

struct Bill {
    std::string referencia, nombre, cuenta;
    long long importe = 0;
    std::string concepto, vencimiento = "010127";
    std::vector<std::pair<char, std::string>> opcionales = {}; // data code, text from column 29
};

struct Issuer {
    std::string nombre, cargo = "120127", cuenta = "20590060212084518352", procedimiento = "01";
    std::vector<Bill> recibos = {};
};

// A well formed file: moneda '5' or '0', datos '8' (CSB19) or '7' (CSB58).
std::vector<std::string> Registros(char moneda, char datos, const std::vector<Issuer> &ordenantes)
{
    auto codigo = [&](char tipo, char dato) { return std::string{moneda, tipo, datos, dato}; };
    std::vector<std::string> l{Registro(codigo('1', '0'), {{5, "B12345678000"}, {17, "091226"}, {29, "Presentador"}})};
    long long total = 0, documentos = 0;
    for (const Issuer &o : ordenantes) {
        const size_t inicio = l.size();
        l.push_back(Registro(codigo('3', '0'), {{5, "A11111111001"}, {17, "091226"}, {23, o.cargo}, {29, o.nombre},
                                                {69, o.cuenta}, {97, o.procedimiento}, {151, "280790000"}}));
        long long importe = 0;
        for (const Bill &b : o.recibos) {
            l.push_back(Registro(codigo('6', '0'), {{5, "A11111111001"}, {17, b.referencia}, {29, b.nombre},
                                                    {69, b.cuenta}, {89, Importe(b.importe)}, {115, b.concepto},
                                                    {155, b.vencimiento}}));
            for (const auto &[dato, texto] : b.opcionales)
                l.push_back(Registro(codigo('6', dato), {{5, "A11111111001"}, {17, b.referencia}, {29, texto}}));
            importe += b.importe;
        }
        total += importe;
        documentos += o.recibos.size();
        l.push_back(Registro(codigo('8', '0'), {{5, "A11111111001"},
                                                {89, Importe(importe)},
                                                {105, Importe(o.recibos.size())},
                                                {115, Importe(l.size() - inicio + 1)}}));
    }
    l.push_back(Registro(codigo('9', '0'), {{5, "B12345678000"},
                                            {69, Cuenta(ordenantes.size())},
                                            {89, Importe(total)},
                                            {105, Importe(documentos)},
                                            {115, Importe(l.size() + 1)}}));
    return l;
}

std::string Texto(const std::string &a, size_t n = 40)
{
    std::string t = a;
    t.resize(n, ' ');
    return t;
}

// Two CSB19 issuers in euros: the first with three bills (the second with all its optional
// records and its address), the second with one.
std::vector<Issuer> DosOrdenantes()
{
    Bill conceptos{"2", "Bravo", "00491500051234567892", 5, "Segundo", "010127"};
    for (char d = '1'; d <= '5'; ++d)
        conceptos.opcionales.emplace_back(d, Texto(std::string(1, d) + "a") + Texto(std::string(1, d) + "b") +
                                                 Texto(std::string(1, d) + "c"));
    conceptos.opcionales.emplace_back('6', "Calle Mayor 1");
    return {{"Emisor Uno", "120127", "20590060212084518352", "01",
             {{"10", "Alvarez", "21000418450200051332", 12345, "Primero", "311299"},
              conceptos,
              {"123456789012", "Cerezo", "00300001110000000001", 900, "Tercero", "010100"}}},
            {"Emisor Dos", "150127", "21000418450200051332", "02", {{"7", "Duran", "20590060212084518352", 1, "Cuota"}}}};
}

class Visor : public ::testing::Test {
protected:
    void SetUp() override
    {
        visor = new TFRMHistoricos;
        opcion = new TFRMOpcion(visor);
        App().FRMHistoricos = visor;
        App().FRMOpcion = opcion;
    }
    void TearDown() override
    {
        delete visor;
        App().FRMHistoricos = nullptr;
        App().FRMOpcion = nullptr;
    }

    std::string Escribe(const std::vector<std::string> &registros, const std::string &nombre = "f.csb")
    {
        const std::string ruta = programa.dir().file(nombre);
        testutil::writeFile(ruta, csb::Fichero(registros));
        return ruta;
    }

    // Opens the file in the viewer as the history list does, answering its message boxes.
    void Abre(const std::string &ruta)
    {
        visor->close();
        visor->SetFichero(ruta);
        cajas.Vistas.clear();
        visor->show();
    }

    QString Celda(int fila, int columna) const
    {
        return visor->LSTHistor->model()->index(fila, columna).data().toString();
    }
    QString Titulo(int columna) const
    {
        return visor->LSTHistor->model()->headerData(columna, Qt::Horizontal).toString();
    }
    void Selecciona(int ordenante) const
    {
        QTreeWidgetItem *raiz = visor->TREEHistor->topLevelItem(0);
        visor->TREEHistor->setCurrentItem(ordenante < 0 ? raiz : raiz->child(ordenante));
    }
    std::vector<QString> Columna(int columna) const
    {
        std::vector<QString> v;
        for (int f = 0; f < visor->LSTHistor->model()->rowCount(); ++f)
            v.push_back(Celda(f, columna));
        return v;
    }

    entorno::Programa programa;
    entorno::Regional coma{true};
    RespondeCajas cajas;
    TFRMHistoricos *visor = nullptr;
    TFRMOpcion *opcion = nullptr;
};

TEST_F(Visor, TreeDetailPanelAndListsOfACsb19File)
{
    QAbstractItemModelTester probador(visor->Modelo, QAbstractItemModelTester::FailureReportingMode::Warning);
    Abre(Escribe(Registros('5', '8', DosOrdenantes())));
    ASSERT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(visor->windowTitle(), QStringLiteral(" Visor de CSB"));
    ASSERT_EQ(visor->TREEHistor->topLevelItemCount(), 1);
    const QTreeWidgetItem *raiz = visor->TREEHistor->topLevelItem(0);
    EXPECT_EQ(raiz->text(0).trimmed(), QStringLiteral("Presentador"));
    ASSERT_EQ(raiz->childCount(), 2);
    EXPECT_EQ(raiz->child(1)->text(0).trimmed(), QStringLiteral("Emisor Dos"));
    EXPECT_TRUE(raiz->isExpanded());
    EXPECT_EQ(visor->TREEHistor->currentItem(), raiz) << "the first node is selected";

    EXPECT_FALSE(visor->BTNRecibo->isEnabled());
    EXPECT_EQ(visor->LBLFecha->text(), QStringLiteral("FECHA DE CREACION"));
    EXPECT_EQ(visor->LBLOrdenantes->text(), cp1252::toQString("N\xBA ORDENANTES"));
    EXPECT_EQ(visor->LBLImportes->text(), QStringLiteral("TOTAL IMPORTE EN EUROS:"));
    EXPECT_EQ(visor->TXTCodigo->text(), QStringLiteral("B12345678000"));
    EXPECT_EQ(visor->TXTFecha->text(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(visor->TXTSumaOrd->text(), QStringLiteral("2"));
    EXPECT_EQ(visor->TXTSuma->text(), QStringLiteral("132,51"));
    ASSERT_EQ(visor->LSTHistor->model()->columnCount(), 4) << "no INE code column in CSB19";
    EXPECT_EQ(Titulo(0), QStringLiteral("Nombre ordenante"));
    EXPECT_EQ(Titulo(3), QStringLiteral("Procedimiento adeudo"));
    EXPECT_EQ(Celda(0, 0).trimmed(), QStringLiteral("Emisor Uno"));
    EXPECT_EQ(Celda(0, 1), QStringLiteral("12/01/2027")) << "the charge date (23-28), not the creation date";
    EXPECT_EQ(Celda(1, 2), QStringLiteral("2100-0418-45-0200051332"));
    EXPECT_EQ(Celda(0, 3), cp1252::toQString("Con emisi\xF3n"));
    EXPECT_EQ(Celda(1, 3), cp1252::toQString("Sin emisi\xF3n"));

    Selecciona(0);
    EXPECT_TRUE(visor->BTNRecibo->isEnabled());
    EXPECT_EQ(visor->LBLOrdenantes->text(), cp1252::toQString("N\xBA DOMICILIACIONES"));
    EXPECT_EQ(visor->LBLFecha->text(), QStringLiteral("FECHA DE CARGO"));
    EXPECT_EQ(visor->TXTFecha->text(), QStringLiteral("12/01/2027"));
    EXPECT_EQ(visor->TXTSumaOrd->text(), QStringLiteral("3"));
    EXPECT_EQ(visor->TXTSuma->text(), QStringLiteral("132,50"));
    ASSERT_EQ(visor->LSTHistor->model()->columnCount(), 5);
    EXPECT_EQ(Titulo(4), QStringLiteral("Primer campo concepto"));
    EXPECT_EQ(Columna(0), (std::vector<QString>{"10          ", "2           ", "123456789012"}))
        << "bills only: optional and address records are no rows";
    EXPECT_EQ(Celda(0, 1).trimmed(), QStringLiteral("Alvarez"));
    EXPECT_EQ(Celda(0, 2), QStringLiteral("2100-0418-45-0200051332"));
    EXPECT_EQ(Columna(3), (std::vector<QString>{"123,45", "0,05", "9,00"}));
    EXPECT_EQ(Celda(1, 4).trimmed(), QStringLiteral("Segundo"));
    EXPECT_EQ(visor->LSTHistor->currentIndex().row(), 0) << "the first row is selected";
}

TEST_F(Visor, NamesShowTrimmedWithTheNormsEnyeAndTheIssuersColumnsShowTheirTextsWhole)
{
    std::vector<Issuer> ordenantes = DosOrdenantes();
    ordenantes[0].nombre = "CONSTRUCCIONES Y REFORMAS DEL MEDITERRAN";
    ordenantes[1].nombre = "CASTA\xA5" "ER Y MU\xA4OZ"; // the norms' code page 850
    Abre(Escribe(Registros('5', '8', ordenantes)));
    EXPECT_EQ(visor->TREEHistor->topLevelItem(0)->text(0), QStringLiteral("Presentador"));
    EXPECT_EQ(visor->TREEHistor->topLevelItem(0)->child(1)->text(0), QStringLiteral("CASTA\u00D1ER Y MU\u00F1OZ"));
    EXPECT_EQ(Celda(1, 0), QStringLiteral("CASTA\u00D1ER Y MU\u00F1OZ"));
    const QTableView *lista = visor->LSTHistor;
    const int margen = 2 * (lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int c = 0; c < lista->model()->columnCount(); ++c)
        for (int f = 0; f < lista->model()->rowCount(); ++f)
            EXPECT_GE(lista->columnWidth(c) - margen, lista->fontMetrics().horizontalAdvance(Celda(f, c)))
                << Celda(f, c).toStdString();
    Selecciona(1);
    EXPECT_EQ(Celda(0, 1), QStringLiteral("Duran"));
}

TEST_F(Visor, Csb58SampleAndPesetaFiles)
{
    Abre(DATOS_CSB "retrofix-c58.txt");
    ASSERT_TRUE(cajas.Vistas.empty());
    const QTreeWidgetItem *raiz = visor->TREEHistor->topLevelItem(0);
    ASSERT_TRUE(raiz);
    EXPECT_EQ(raiz->text(0).trimmed(), QStringLiteral("NaN Projectes de Programari Lliure, S.L."));
    ASSERT_EQ(raiz->childCount(), 1);
    EXPECT_EQ(visor->LSTHistor->model()->columnCount(), 5) << "CSB58 adds the INE code";
    EXPECT_EQ(Titulo(4), cp1252::toQString("C\xF3" "digo INE"));
    EXPECT_EQ(Celda(0, 3), QStringLiteral("06")) << "CSB58 shows the procedure as stored";
    EXPECT_EQ(visor->TXTSuma->text(), QStringLiteral("14.713,82"));
    Selecciona(0);
    EXPECT_EQ(visor->LSTHistor->model()->rowCount(), 16) << "address records are no rows";
    ASSERT_EQ(visor->LSTHistor->model()->columnCount(), 6);
    EXPECT_EQ(Titulo(5), QStringLiteral("Fecha vencimiento"));
    EXPECT_EQ(visor->TXTSumaOrd->text(), QStringLiteral("16"));

    std::vector<Issuer> pesetas = DosOrdenantes();
    pesetas[0].procedimiento = "07";
    Abre(Escribe(Registros('0', '7', pesetas)));
    EXPECT_EQ(visor->LBLImportes->text(), QStringLiteral("TOTAL IMPORTES PESETAS"));
    EXPECT_EQ(Celda(0, 3), QStringLiteral("07"));
    Selecciona(0);
    EXPECT_EQ(Columna(3), (std::vector<QString>{"12.345", "5", "900"}));
    EXPECT_EQ(Celda(0, 5), QStringLiteral("31/12/1999"));
    EXPECT_EQ(visor->TXTFecha->text(), QStringLiteral("09/12/2026")) << "a CSB58 issuer keeps the file's date";
}

TEST_F(Visor, AnUnknownProcedureIsAnEmptyCellAndNoFault)
{
    std::vector<Issuer> ordenantes = DosOrdenantes();
    ordenantes[1].procedimiento = "03";
    Abre(Escribe(Registros('5', '8', ordenantes)));
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(Celda(1, 3), QString());
}

TEST_F(Visor, AmountDisplay)
{
    const struct {
        const char *campo;
        bool euros;
        const char *coma, *punto;
    } casos[] = {
        {"0000012345", true, "123,45", "123.45"},
        {"0000012345", false, "12.345", "12,345"},
        {"0000000005", true, "0,05", "0.05"},
        {"0000000050", true, "0,50", "0.50"},
        {"0000000000", true, "0,00", "0.00"},
        {"0000000000", false, "0", "0"},
        {"9999999999", true, "99.999.999,99", "99,999,999.99"},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(ImporteCSB(c.campo, c.euros), c.coma) << c.campo << " " << c.euros;
        entorno::Regional punto{false};
        EXPECT_EQ(ImporteCSB(c.campo, c.euros), c.punto) << c.campo << " " << c.euros;
    }
}

TEST_F(Visor, EveryColumnSortsTheBills)
{
    std::vector<Issuer> ordenantes = DosOrdenantes();
    ordenantes[0].recibos.push_back({"ABC", "Abad", "00010002030000000004", 100000, "Albaran", "150675"});
    Abre(Escribe(Registros('5', '7', ordenantes)));
    Selecciona(0);
    const struct {
        int columna;
        std::vector<QString> referencias;
        const char *porque;
    } casos[] = {
        {0, {"2", "10", "123456789012", "ABC"}, "numbers as numbers (12 digits), a text after them as text"},
        {1, {"ABC", "10", "2", "123456789012"}, "holder's name"},
        {2, {"ABC", "123456789012", "2", "10"}, "the account, not the amount"},
        {3, {"2", "123456789012", "10", "ABC"}, "the amount as a number"},
        {4, {"ABC", "10", "2", "123456789012"}, "the first concept"},
        {5, {"ABC", "10", "123456789012", "2"}, "the due date: 1975, 1999, 2000, 2027"},
    };
    for (const auto &c : casos) {
        visor->LSTHistor->horizontalHeader()->sectionClicked(c.columna);
        std::vector<QString> referencias;
        for (const QString &r : Columna(0))
            referencias.push_back(r.trimmed());
        EXPECT_EQ(referencias, c.referencias) << c.porque;
    }
    Selecciona(-1);
    visor->LSTHistor->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(Celda(0, 0).trimmed(), QStringLiteral("Emisor Uno")) << "issuers are not sorted";
}

// A fault of the file: the box names it with its line, the log has it once.
struct Fallo {
    const char *caso;
    std::function<void(std::vector<std::string> &)> cambia;
    const char *texto;
};

const Fallo kFallos[] = {
    {"the file ends after an issuer's bills", [](auto &l) { l.resize(3); },
     "Fin de fichero inesperado en l\xEDnea 3"},
    {"the file ends after an issuer's optional records", [](auto &l) { l.resize(10); },
     "Fin de fichero inesperado en l\xEDnea 10"},
    {"an issuer total followed by the end", [](auto &l) { l.resize(12); },
     "Fin de fichero inesperado en l\xEDnea 12"},
    {"only the presenter", [](auto &l) { l.resize(1); }, "Fin de fichero inesperado en l\xEDnea 1"},
    {"a bill after an issuer total", [](auto &l) { l.insert(l.begin() + 12, l[2]); },
     "No hay total general en l\xEDnea 13"},
    {"an issuer header among the bills", [](auto &l) { l.insert(l.begin() + 3, l[1]); },
     "No encontrado total ordenante en l\xEDnea 4"},
    {"a short line", [](auto &l) { l[6].pop_back(); }, "La l\xEDnea no tiene 162 caracteres en l\xEDnea 7"},
    {"a total that does not add up", [](auto &l) { l[11].replace(88, 10, "0000000001"); },
     "El total no coincide con los registros que suma en l\xEDnea 12"},
    {"a first line of no format", [](auto &l) { l[0].replace(0, 4, "5190"); },
     "El fichero debe empezar con la cabecera del presentador en l\xEDnea 1"},
    {"a record of another format", [](auto &l) { l[2].replace(0, 4, "5670"); },
     "El registro no tiene el formato o la moneda del primer registro en l\xEDnea 3"},
    {"an unknown record code", [](auto &l) { l[2].replace(0, 4, "5480"); },
     "C\xF3" "digo de registro desconocido en l\xEDnea 3"},
    {"no records at all", [](auto &l) { l.clear(); },
     "El fichero debe empezar con la cabecera del presentador en l\xEDnea 1"},
};

TEST_F(Visor, EachFaultShowsItsLineAndIsLoggedOnce)
{
    for (const Fallo &f : kFallos) {
        std::vector<std::string> registros = Registros('5', '8', DosOrdenantes());
        f.cambia(registros);
        BorraFichero(programa.dir().file("Orvanta.LOG"));
        Abre(Escribe(registros));
        ASSERT_EQ(cajas.Vistas.size(), 1u) << f.caso;
        EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(std::string("Formato CSB Incorrecto.\n") + f.texto))
            << f.caso;
        EXPECT_EQ(cajas.Vistas[0].titulo, QStringLiteral("Error"));
        EXPECT_EQ(visor->TREEHistor->topLevelItemCount(), 0) << f.caso;
        EXPECT_EQ(visor->LSTHistor->model()->rowCount(), 0) << f.caso;
        const std::string log = programa.Log();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << f.caso;
        EXPECT_NE(log.find(std::string(" - [UnitHistoricos::RellenarArbol]: ") + f.texto + "\n"), std::string::npos)
            << f.caso << ": " << log;
    }
}

TEST_F(Visor, TheCsb19SampleFailsAtLineThreeAndAMissingFileIsNoStructuralFault)
{
    Abre(DATOS_CSB "retrofix-c19.txt");
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_TRUE(cajas.Vistas[0].texto.endsWith(cp1252::toQString("caracteres en l\xEDnea 3")))
        << cajas.Vistas[0].texto.toStdString();
    EXPECT_EQ(visor->TREEHistor->topLevelItemCount(), 0);

    BorraFichero(programa.dir().file("Orvanta.LOG"));
    Abre(programa.dir().file("no-existe.csb"));
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, QStringLiteral("Formato CSB Incorrecto.\nNo se puede leer el fichero."));
    EXPECT_EQ(programa.Log(), "");
}

// ---- Bill detail ----

TEST_F(Visor, BillDetailRows)
{
    Bill uno{"1", "Uno", "20590060212084518352", 1, "Concepto uno"};
    for (char d = '1'; d <= '5'; ++d)
        uno.opcionales.emplace_back(d, Texto(std::string(1, d) + "a") + Texto(std::string(1, d) + "b") +
                                           Texto(std::string(1, d) + "c"));
    uno.opcionales.emplace_back('6', "Calle");
    Bill solo3{"2", "Dos", "20590060212084518352", 1, "Concepto dos"};
    solo3.opcionales.emplace_back('3', Texto("3a") + Texto("3b") + Texto("3c"));
    Bill direccion{"3", "Tres", "20590060212084518352", 1, "Concepto tres"};
    direccion.opcionales.emplace_back('6', "Calle");
    Bill ultimo{"4", "Cuatro", "20590060212084518352", 1, "Concepto cuatro"};
    const std::vector<std::string> registros = Registros('5', '8', {{"Emisor", "120127", "20590060212084518352", "01",
                                                                     {uno, solo3, direccion, ultimo}}});
    const std::string ruta = Escribe(registros);
    IndiceCSB indice;
    ASSERT_TRUE(LeeIndiceCSB(ruta, indice));
    std::vector<long long> posiciones;
    for (const EntradaCSB &e : indice.Entradas)
        if (e.Tipo == EntradaIndividual)
            posiciones.push_back(e.Posicion);
    ASSERT_EQ(posiciones.size(), 4u);

    auto fila = [](const std::string &a, const std::string &b) { return Texto(a) + Texto(b); };
    const std::array<std::string, 8> todas{fila("Concepto uno", "1a"), fila("1b", "1c"), fila("2a", "2b"),
                                           fila("2c", "3a"),           fila("3b", "3c"), fila("4a", "4b"),
                                           fila("4c", "5a"),           fila("5b", "5c")};
    EXPECT_EQ(FilasRecibo(ruta, posiciones[0], 1), todas);
    const std::array<std::string, 8> tres{Texto("Concepto dos"), "", "", fila("", "3a"), fila("3b", "3c"), "", "", ""};
    EXPECT_EQ(FilasRecibo(ruta, posiciones[1], 1), tres) << "record 3 alone keeps its place";
    const std::array<std::string, 8> solo{Texto("Concepto tres"), "", "", "", "", "", "", ""};
    EXPECT_EQ(FilasRecibo(ruta, posiciones[2], 1), solo) << "the address is passed over, the next bill stops";
    const std::array<std::string, 8> cuatro{Texto("Concepto cuatro"), "", "", "", "", "", "", ""};
    EXPECT_EQ(FilasRecibo(ruta, posiciones[3], 1), cuatro) << "the issuer total stops";
    EXPECT_EQ(FilasRecibo(ruta, posiciones[0], 2)[1], "") << "a CSB58 file's optional records are 67";
}

// Tab, Ctrl+Tab and F6 go from control to control, and Enter on a bill opens its detail.
TEST_F(Visor, TheKeysGoFromControlToControlAndEnterOpensABill)
{
    Abre(Escribe(Registros('5', '8', DosOrdenantes())));
    ASSERT_TRUE(Activa(visor));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the tree has the keys: an issuer
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, QWidget *> pasos[] = {
        {Qt::Key_Tab, {}, visor->LSTHistor}, {Qt::Key_Tab, Qt::ControlModifier, visor->BTNRecibo},
        {Qt::Key_F6, {}, visor->SpeedButton1}, {Qt::Key_F6, Qt::ShiftModifier, visor->BTNRecibo}};
    for (const auto &[tecla, teclas, destino] : pasos) {
        QTest::keyClick(QApplication::focusWidget(), tecla, teclas);
        EXPECT_EQ(QApplication::focusWidget(), destino) << QKeySequence(tecla | teclas).toString().toStdString();
    }
    QTest::keyClick(visor->LSTHistor, Qt::Key_Down);
    QTest::keyClick(visor->LSTHistor, Qt::Key_Return);
    ASSERT_TRUE(opcion->isVisible());
    EXPECT_EQ(opcion->Linea(), 4) << "the second bill";
}

TEST_F(Visor, TheBillDetailWindowFollowsTheSelectedBill)
{
    Abre(Escribe(Registros('5', '8', DosOrdenantes())));
    Selecciona(0);
    visor->LSTHistor->selectRow(1);
    ASSERT_TRUE(visor->BTNRecibo->isEnabled());
    visor->BTNRecibo->click();
    ASSERT_TRUE(opcion->isVisible());
    EXPECT_EQ(opcion->windowTitle(), QStringLiteral("  Detalle de recibo"));
    EXPECT_FALSE(visor->BTNRecibo->isEnabled()) << "disabled while the detail shows";
    EXPECT_EQ(opcion->Grid1->item(7, 0)->text(), cp1252::toQString(Texto("5b") + Texto("5c")));
    EXPECT_EQ(opcion->Linea(), 4);

    visor->LSTHistor->selectRow(0);
    EXPECT_EQ(opcion->Grid1->item(0, 0)->text(), cp1252::toQString(Texto("Primero")));
    EXPECT_EQ(opcion->Grid1->item(7, 0)->text(), QString()) << "reloaded with the other bill";
    Selecciona(1);
    EXPECT_FALSE(visor->BTNRecibo->isEnabled());

    opcion->close();
    EXPECT_TRUE(visor->BTNRecibo->isEnabled());
    visor->LSTHistor->doubleClicked(visor->LSTHistor->model()->index(0, 0));
    ASSERT_TRUE(opcion->isVisible());
    EXPECT_EQ(opcion->Grid1->item(0, 0)->text(), cp1252::toQString(Texto("Cuota")));
    visor->close();
    EXPECT_FALSE(opcion->isVisible()) << "closing the viewer closes the detail";
    EXPECT_EQ(visor->TREEHistor->topLevelItemCount(), 0);
}

} // namespace
