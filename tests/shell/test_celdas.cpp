// In-place editing in the main window's grids, driven offscreen with the user's keys in both
// decimal settings: an amount typed and pasted, the save of an amount and of a batch's
// description with their refusals, and a notice arriving during an edit.
#include "rejillas.h"

#include "Aplicacion.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "copias.h"
#include "entorno.h"
#include "regional.h"
#include "ventanas.h"

#include <QClipboard>
#include <QLineEdit>

namespace {

using rejillas::Texto;

struct Ajuste {
    bool coma;
};

class Celdas : public rejillas::Rejillas, public ::testing::WithParamInterface<Ajuste> {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        App().FormLogin->LoginData.Id_usuario = "1";
        // Bill 1 of 5.00 EUR in batch 1, bill 2 of 1 peseta in batch 2.
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,"
                                      "Contravalor) VALUES (1,1,1,5.00,832)"));
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,"
                                      "Contravalor) VALUES (2,2,1,1,0.01)"));
    }

    // Double-clicks the amount of data row fila and gives its editor, all selected.
    QLineEdit *EditaImporte(int fila = 1)
    {
        QTableView *grid = m->lstGridDocumentos;
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                           grid->visualRect(m->ModeloRecibos->index(fila - 1, 5)).center());
        QLineEdit *editor = m->EditorCelda(grid);
        if (editor)
            editor->selectAll();
        return editor;
    }

    QLineEdit *EditaDescripcion(int fila = 1)
    {
        QTableWidget *grid = m->lstGridRemesas;
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(fila - 1, 3)).center());
        QLineEdit *editor = m->EditorCelda(grid);
        if (editor)
            editor->selectAll();
        return editor;
    }

    static std::string Campo(const std::string &sql, const std::string &campo)
    {
        return arranque::Valor(sql, campo);
    }

    // A stored amount in cents or pesetas (the engine gives numbers back without their zeros).
    static long long Unidades(const std::string &sql, int decimales)
    {
        long long unidades = -1;
        LeeImporteSQL(arranque::Valor(sql, "Importe"), decimales, unidades);
        return unidades;
    }

    static QString Sep() { return QString(QChar::fromLatin1(regional::decimalSeparator())); }

    entorno::Regional regional{GetParam().coma};
};

// ---- What is typed ----

struct CasoTecla {
    const char *moneda;
    const char *tecleado; // "," stands for the user's decimal separator, "." for the other one
    long long unidades;   // stored, in cents or pesetas
    int texto;            // the text that refuses it (nothing stored), or 0
    const char *porque;
};

const CasoTecla kCasosTecla[] = {
    {"EUR", "1.234,56", 123456, 0, "thousands points"},
    {"EUR", "12.5", 1250, 0, "a point with one decimal after it is the decimal separator"},
    {"ESP", "1.234", 1234, 0, "thousands points in pesetas"},
    {"EUR", "123456789", 0, 426, "a ninth integer digit"},
    {"EUR", "1,234", 0, 820, "a third decimal"},
    {"EUR", "1a-2", 0, 672, "letters"},
    {"ESP", "12,5", 0, 821, "decimals in pesetas"},
};

TEST_P(Celdas, AnAmountTypedOrPastedIsStoredAsShownOrRefusedWithTheTextKept)
{
    for (const CasoTecla &caso : kCasosTecla) {
        for (const bool pegado : {false, true}) {
            const bool euros = std::string(caso.moneda) == "EUR";
            const std::string fila = std::string("SELECT Importe FROM [Documentos()] WHERE Id_documento=") +
                                     (euros ? "1" : "2");
            const long long antes = Unidades(fila, euros ? 2 : 0);
            Selecciona(ArbolRemesa, euros ? 1 : 2);
            QLineEdit *editor = EditaImporte();
            ASSERT_NE(editor, nullptr) << caso.porque;
            QString tecleado = QString::fromLatin1(caso.tecleado);
            for (QChar &c : tecleado)
                if (c == u',' || c == u'.')
                    c = c == u',' ? Sep()[0] : QChar::fromLatin1(regional::thousandsSeparator());
            if (pegado) {
                QApplication::clipboard()->setText(tecleado);
                QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            } else {
                Teclea(editor, tecleado);
            }
            EXPECT_EQ(editor->text(), tecleado) << caso.porque << ": kept as typed";
            RespondeCajas cajas;
            QTest::keyClick(editor, Qt::Key_Return);
            if (caso.texto == 0) {
                EXPECT_TRUE(cajas.Vistas.empty()) << caso.porque;
                EXPECT_EQ(Unidades(fila, euros ? 2 : 0), caso.unidades) << caso.porque;
                EXPECT_FALSE(m->EdicionCelda.Pendiente()) << caso.porque;
                continue;
            }
            ASSERT_EQ(cajas.Vistas.size(), 1u) << caso.porque;
            EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(caso.texto)) << caso.porque;
            EXPECT_EQ(editor->text(), tecleado) << caso.porque << ": the text kept";
            EXPECT_EQ(Unidades(fila, euros ? 2 : 0), antes) << caso.porque;
            QTest::keyClick(editor, Qt::Key_Escape); // back to the amount
            QTest::keyClick(editor, Qt::Key_Escape); // out of cell mode
            EXPECT_FALSE(m->EdicionCelda.Pendiente()) << caso.porque;
        }
    }
}

// ---- Amounts ----

TEST_P(Celdas, EuroAmountIsStoredWithItsPesetasAndTheBatchTotals)
{
    auto copia = std::make_unique<copias::Copia>(carpeta.BD());
    ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
    copia->Pide("pasada");
    Selecciona(ArbolRemesa, 1);
    QLineEdit *editor = EditaImporte();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "5" + Sep() + "00");
    Teclea(editor, "100");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(m->EdicionCelda.Pendiente());
    EXPECT_EQ(m->EditorCelda(m->lstGridDocumentos), nullptr);
    const std::string fila = "SELECT Importe, Contravalor FROM [Documentos()] WHERE Id_documento=1";
    EXPECT_EQ(Unidades(fila, 2), 10000);
    EXPECT_EQ(Campo(fila, "Contravalor"), "16639");
    const std::string remesa = "SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=1";
    EXPECT_EQ(Campo(remesa, "Importe_total"),
              Campo("SELECT SUM(Importe) AS S FROM [Documentos()] WHERE Id_remesa=1", "S"));
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 5), FormatImporte("100.00", kMonedaEuros));
    EXPECT_EQ(m->lblTotalImporte->text().toStdString(), FormatImporte("100.00", kMonedaEuros));
    const std::string aviso = copia->Pide("pasada");
    EXPECT_EQ(aviso.substr(aviso.find(':')), ":3:1;") << "the bills notice of the batch";
}

TEST_P(Celdas, PesetaAmountStoresItsEurosWithAPoint)
{
    Selecciona(ArbolRemesa, 2);
    QLineEdit *editor = EditaImporte();
    ASSERT_NE(editor, nullptr);
    Teclea(editor, "1000");
    QTest::keyClick(editor, Qt::Key_Return);
    const std::string fila = "SELECT Importe, Contravalor FROM [Documentos()] WHERE Id_documento=2";
    EXPECT_EQ(Campo(fila, "Importe"), "1000");
    EXPECT_EQ(Campo(fila, "Contravalor"), "6.01");
}

TEST_P(Celdas, ZeroOrEmptyAmountIsRefusedWithTheOldAmountBack)
{
    Selecciona(ArbolRemesa, 2);
    for (const char *tecleado : {"0", ""}) {
        QLineEdit *editor = EditaImporte();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        Teclea(editor, tecleado);
        RespondeCajas cajas;
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_EQ(cajas.Vistas.size(), 1u) << tecleado;
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(203));
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Idioma.GetTexto(1));
        EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Critical);
        EXPECT_EQ(m->EditorCelda(m->lstGridDocumentos), editor) << "the editor stays open";
        EXPECT_EQ(editor->text(), "1") << "a 1-peseta bill stays 1";
        EXPECT_TRUE(m->EdicionCelda.Pendiente());
        EXPECT_EQ(Campo("SELECT Importe FROM [Documentos()] WHERE Id_documento=2", "Importe"), "1");
        QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_FALSE(m->EdicionCelda.Pendiente());
    }
}

TEST_P(Celdas, LockedBillIsRefusedAndKeepsItsAmount)
{
    copias::Copia copia(carpeta.BD());
    ASSERT_EQ(copia.Pide("registra").substr(0, 1), "1");
    Selecciona(ArbolRemesa, 1);
    QLineEdit *editor = EditaImporte();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(copia.Pide("bloquea documento 1 0"), "1");
    Teclea(editor, "7");
    RespondeCajas cajas;
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(642));
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Idioma.GetTexto(6));
    EXPECT_FALSE(m->EdicionCelda.Pendiente());
    EXPECT_EQ(Unidades("SELECT Importe FROM [Documentos()] WHERE Id_documento=1", 2), 500);
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 5), FormatImporte("5.00", kMonedaEuros));
}

TEST_P(Celdas, NoticeDuringAnEditWaitsAndTheSaveChangesTheBillItBeganOn)
{
    copias::Copia copia(carpeta.BD());
    ASSERT_EQ(copia.Pide("registra").substr(0, 1), "1");
    copia.Pide("usuario 1");
    Selecciona(ArbolRemesa, 1);
    QLineEdit *editor = EditaImporte();
    ASSERT_NE(editor, nullptr);
    // Another bill that sorts first (its drawee name comes before) arrives with a notice.
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,"
                                  "Razon_social,Cuenta) VALUES (9,1,'R9','Aaron','21000418450200051332')"));
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,"
                                  "Contravalor) VALUES (3,1,9,3.00,499)"));
    copia.Pide("notifica 3 1");
    App().Multiuser->LeeActualizaciones();
    EXPECT_EQ(m->AvisosPendientes(), 1u);
    EXPECT_EQ(m->ModeloRecibos->rowCount(), 1) << "no reload under the edit";
    Teclea(editor, "42");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Unidades("SELECT Importe FROM [Documentos()] WHERE Id_documento=1", 2), 4200);
    EXPECT_EQ(Unidades("SELECT Importe FROM [Documentos()] WHERE Id_documento=3", 2), 300);
    EXPECT_TRUE(arranque::Espera([&] { return m->AvisosPendientes() == 0; }));
    EXPECT_EQ(m->ModeloRecibos->rowCount(), 2);
}

// ---- Batch descriptions ----

TEST_P(Celdas, DescriptionIsStoredCleanedAndRenamesTheNode)
{
    Selecciona(ArbolEmisor, 1);
    QLineEdit *editor = EditaDescripcion();
    ASSERT_NE(editor, nullptr);
    Teclea(editor, "Cuota d'enero");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(m->EdicionCelda.Pendiente());
    const std::string limpia = "Cuota d'enero";
    EXPECT_EQ(Campo("SELECT Descripcion FROM [Remesas()] WHERE Id_remesa=1", "Descripcion"), limpia);
    EXPECT_EQ(cp1252::fromQString(Nodo(ArbolRemesa, 1)->text(0)), limpia);
    EXPECT_EQ(Texto(m->lstGridRemesas, 1, 3), limpia);
}

TEST_P(Celdas, BlankDescriptionIsRefusedAndLongOnesAreCut)
{
    Selecciona(ArbolEmisor, 1);
    QLineEdit *editor = EditaDescripcion();
    ASSERT_NE(editor, nullptr);
    Teclea(editor, "   ");
    RespondeCajas cajas;
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(195));
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Idioma.GetTexto(196));
    EXPECT_TRUE(m->EdicionCelda.Pendiente());
    EXPECT_EQ(editor->text(), "Enero");
    EXPECT_EQ(Campo("SELECT Descripcion FROM [Remesas()] WHERE Id_remesa=1", "Descripcion"), "Enero");

    editor->selectAll();
    QApplication::clipboard()->setText(QString(60, u'x'));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text().size(), 50);
}

INSTANTIATE_TEST_SUITE_P(Regional, Celdas, ::testing::Values(Ajuste{true}, Ajuste{false}),
                         [](const auto &info) { return info.param.coma ? "Coma" : "Punto"; });

} // namespace
