// The bill editor window driven offscreen with key events on the shipped encrypted database.
#include "Editdocumentos.h"
#include "Aplicaplantillas.h"
#include "Cajafecha.h"
#include "Cfgfile.h"
#include "dll.h"
#include "elementos.h"
#include "plantillas.h"
#include "vars.h"
#include "Frmmsg.h"
#include "General.h"
#include "Modmas.h"
#include "recibos.h"
#include "entorno.h"
#include "pdf.h"
#include "ventanas.h"

#include <QClipboard>
#include <QFileDialog>
#include <QPrinterInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <cstring>
#include <filesystem>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using recibos::Texto;
using recibos::Textos;

class Editor : public recibos::Organizacion {
protected:
    void SetUp() override
    {
        recibos::Organizacion::SetUp();
        editor = std::make_unique<TFormEditDocumentos>();
        editor->Host.Destino = [this] { return destino; };
        editor->Host.GetProvincia = [](const std::string &codigo) {
            return Valor("SELECT Provincia FROM [_Provincias()] WHERE CP='" + codigo + "'", "Provincia");
        };
        editor->Host.RefrescaRecibos = [this](int id) { refrescados.push_back(id); };
    }
    void TearDown() override
    {
        editor.reset();
        recibos::Organizacion::TearDown();
    }

    // Shows the editor for a new bill of the batch (1: CSB19 euros without issue, 3: CSB58
    // euros with issue, 4: CSB19 pesetas with issue).
    void Nuevo(int remesa, const std::string &plantilla = "NULL")
    {
        destino = DestinoRecibo();
        destino.TipoOrden = remesa == 3 ? 2 : 1;
        destino.IdUsuario = 1;
        destino.IdRemesa = remesa;
        destino.IdEmisor = remesa == 3 ? 3 : 1;
        STRDocumento d;
        d.Modo = RegistroNuevo;
        d.Id_moneda = remesa == 4 ? "ESP" : "EUR";
        d.Id_plantilla = plantilla;
        d.Con_emision = remesa == 1 ? "FALSE" : "TRUE";
        editor->SetDocumento(d);
        ASSERT_TRUE(Activa(editor.get()));
    }

    // Shows the editor on the stored bill, locked as the main window locks it.
    void Modifica(int id, int remesa)
    {
        destino.TipoOrden = remesa == 3 ? 2 : 1;
        destino.IdUsuario = 1;
        destino.IdRemesa = remesa;
        destino.IdEmisor = remesa == 3 ? 3 : 1;
        destino.IdDocumento = id;
        editor->SetDocumento(CargaDocumento(std::to_string(id)));
        ASSERT_TRUE(multiuser->BloqueaDocumento(id, false));
        ASSERT_TRUE(Activa(editor.get()));
    }

    // Types into the box after giving it the focus.
    static void Escribe(QWidget *caja, const QString &texto)
    {
        if (auto *linea = qobject_cast<QLineEdit *>(caja))
            linea->clear();
        caja->setFocus();
        Teclea(caja, texto);
    }
    static void Tab(QWidget *caja) { QTest::keyClick(caja, Qt::Key_Tab); }

    // The CSB19 drawee N1 with its account, typed.
    void TecleaLibrado19(const QString &nombre)
    {
        Escribe(editor->txtCodReferencia, QStringLiteral("N1"));
        Escribe(editor->txtLibrado, nombre);
        Escribe(editor->txtBanco, QStringLiteral("2100"));
        Escribe(editor->txtOficina, QStringLiteral("418"));
        Escribe(editor->txtCuenta, QStringLiteral("200051332"));
        Tab(editor->txtCuenta);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !editor->txtDC->text().isEmpty(); }));
    }

    // A CSB58 bill complete, due far ahead: the drawee with its account, an amount.
    void TecleaRecibo58(const char *referencia)
    {
        editor->dateVencimiento58->setDate(QDate(2069, 12, 31));
        Escribe(editor->txtCodReferencia58, QString::fromLatin1(referencia));
        Escribe(editor->txtTitularCredito58, QStringLiteral("Cincuenta"));
        Escribe(editor->txtBanco58, QStringLiteral("2100"));
        Escribe(editor->txtOficina58, QStringLiteral("0418"));
        Escribe(editor->txtCuenta58, QStringLiteral("200051332"));
        Tab(editor->txtCuenta58);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !editor->txtDC58->text().isEmpty(); }));
        Escribe(editor->txtImporte, QStringLiteral("9"));
    }

    // The question about a CSB58 due date not after today.
    static QString Vencido(const QDate &fecha)
    {
        return cp1252::toQString(FormateaTexto(Idioma.GetTexto(829), FechaUsuario(fecha)));
    }

    static std::string UltimoRecibo()
    {
        return copias::Filas("SELECT * FROM [Documentos()] ORDER BY Id_documento DESC")[0];
    }

    entorno::Regional coma{true};
    DestinoRecibo destino;
    std::unique_ptr<TFormEditDocumentos> editor;
    std::vector<int> refrescados;
};

TEST_F(Editor, ANewBillIsStoredAndTheEditorEmptiedForTheNext)
{
    Nuevo(1);
    EXPECT_TRUE(editor->PanelCSB19->isVisible());
    EXPECT_FALSE(editor->panelCSB58->isVisible());
    EXPECT_FALSE(editor->memoConceptos->isVisible()) << "a batch without issue has the first concept";
    EXPECT_EQ(QApplication::focusWidget(), editor->txtCodReferencia);
    TecleaLibrado19(QString::fromUtf8("\u00D1and\u00FA O'Brien \u20AC"));
    EXPECT_EQ(editor->txtOficina->text(), QStringLiteral("0418")) << "leaving pads with zeros";
    EXPECT_EQ(editor->txtCuenta->text(), QStringLiteral("0200051332"));
    EXPECT_EQ(editor->txtDC->text(), QStringLiteral("45")) << "leaving the account computes the digits";
    Escribe(editor->txtImporte, QStringLiteral("12.5"));
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("12.5")) << "kept as typed";
    EXPECT_EQ(editor->txtContravalor->text(), QStringLiteral("2.080"));
    Escribe(editor->txtConcepto, QStringLiteral("Cuota"));
    QTest::keyClick(editor->txtConcepto, Qt::Key_Return);

    const std::string fila = UltimoRecibo();
    EXPECT_EQ(GetCampo("Importe", fila), "12.5");
    EXPECT_EQ(GetCampo("Primer_concepto", fila), "Cuota");
    const int id = Numero(GetCampo("Id_documento", fila));
    EXPECT_EQ(refrescados, std::vector<int>{id});
    EXPECT_TRUE(editor->isVisible()) << "the editor stays for the next bill";
    EXPECT_TRUE(editor->txtCodReferencia->text().isEmpty());
    EXPECT_TRUE(editor->txtImporte->text().isEmpty());
    EXPECT_EQ(Valor("SELECT Razon_social FROM [Librados( Datos )] WHERE Codigo_referencia='N1'", "Razon_social"),
              "\xD1" "and\xFA O'Brien \x80");

    // Shown back as stored.
    editor->reject();
    Modifica(id, 1);
    EXPECT_EQ(editor->txtLibrado->text(), QString::fromUtf8("\u00D1and\u00FA O'Brien \u20AC"));
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("12,50"));
    EXPECT_EQ(editor->txtConcepto->text(), QStringLiteral("Cuota"));
}

TEST_F(Editor, AnAmountIsStoredAsTypedOrRefusedWithTheTextKept)
{
    RespondeCajas cajas;
    for (const bool pegado : {false, true}) {
        Nuevo(1);
        TecleaLibrado19(QStringLiteral("Miles"));
        editor->txtImporte->setFocus();
        if (pegado) {
            QApplication::clipboard()->setText(QStringLiteral("1.234,56"));
            QTest::keyClick(editor->txtImporte, Qt::Key_V, Qt::ControlModifier);
        } else {
            Teclea(editor->txtImporte, QStringLiteral("1.234,56"));
        }
        EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("1.234,56")) << pegado;
        EXPECT_EQ(cp1252::fromQString(editor->txtContravalor->text()), FormatContravalor("1234.56", "EUR")) << pegado;
        QTest::keyClick(editor->txtImporte, Qt::Key_Return);
        EXPECT_EQ(GetCampo("Importe", UltimoRecibo()), "1234.56") << pegado;
        editor->reject();
    }
    EXPECT_TRUE(cajas.Vistas.empty());

    const struct {
        const char *porque;
        int remesa;
        const char *tecleado;
        int texto;
    } casos[] = {
        {"a third decimal", 1, "1,234", 820},
        {"a ninth integer digit", 1, "123456789", 426},
        {"points that group no thousands", 1, "1.23.4", 673},
        {"letters", 1, "1a2", 672},
        {"decimals in pesetas", 4, "12,5", 821},
        {"an eleventh digit of pesetas", 4, "12345678901", 425},
    };
    const std::string antes = UltimoRecibo();
    for (const auto &c : casos) {
        Nuevo(c.remesa);
        Escribe(editor->txtImporte, QString::fromLatin1(c.tecleado));
        EXPECT_EQ(editor->txtImporte->toolTip(), Texto(c.texto)) << c.porque << ": marked as typed";
        EXPECT_TRUE(editor->txtContravalor->text().isEmpty()) << c.porque;
        editor->txtRefInterna->setFocus();
        QTest::keyClick(editor->txtRefInterna, Qt::Key_Return);
        EXPECT_EQ(editor->focusWidget(), editor->txtImporte) << c.porque << ": the cursor in the amount";
        ASSERT_FALSE(cajas.Vistas.empty()) << c.porque;
        EXPECT_EQ(cajas.Vistas.back().texto, Texto(c.texto)) << c.porque;
        EXPECT_EQ(editor->txtImporte->text(), QString::fromLatin1(c.tecleado)) << c.porque << ": the text kept";
        EXPECT_EQ(UltimoRecibo(), antes) << c.porque << ": nothing stored";
        editor->reject();
    }
    EXPECT_EQ(cajas.Vistas.size(), std::size(casos));
}

// Escape drops a typed bill only on the user's Yes (text 499); an empty one at once.
TEST_F(Editor, EscapeAsksBeforeDroppingATypedBill)
{
    for (const bool tecleado : {false, true}) {
        Nuevo(1);
        Escribe(editor->txtLibrado, tecleado ? QStringLiteral("Miles") : QString());
        RespondeCajas cajas({QMessageBox::No});
        QTest::keyClick(editor->txtLibrado, Qt::Key_Escape);
        EXPECT_EQ(editor->isVisible(), tecleado);
        EXPECT_EQ(Textos(cajas), std::vector<QString>(tecleado, Texto(499))) << tecleado;
        editor->reject();
    }
}

TEST_F(Editor, ADueDateTypedOnTheKeyboardIsTheOneStored)
{
    RespondeCajas cajas;
    const struct {
        const char *porque, *referencia, *tecleado;
    } casos[] = {
        {"retyped over the whole date", "M5", "20/01/2047"},
        {"digits alone", "M6", "20012047"},
    };
    for (const auto &c : casos) {
        Nuevo(3);
        TecleaRecibo58(c.referencia);
        TCajaFecha *vencimiento = editor->dateVencimiento58;
        vencimiento->setFocus();
        vencimiento->selectAll();
        Teclea(vencimiento, QString::fromLatin1(c.tecleado));
        Tab(vencimiento);
        EXPECT_EQ(vencimiento->text(), QStringLiteral("20/01/2047")) << c.porque << ": taken on leaving";
        editor->cbtOK->click();
        EXPECT_EQ(GetCampo("F_vencimiento", UltimoRecibo()), "47 01 20") << c.porque;
    }
    EXPECT_TRUE(cajas.Vistas.empty());

    // Typed after a click inside the date: refused with its reason, the text kept.
    Nuevo(3);
    TecleaRecibo58("M7");
    TCajaFecha *vencimiento = editor->dateVencimiento58;
    vencimiento->setFocus();
    vencimiento->setCursorPosition(3);
    Teclea(vencimiento, QStringLiteral("20/01/2027"));
    const QString tecleado = vencimiento->text();
    const std::string antes = UltimoRecibo();
    editor->cbtOK->click();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Texto(315));
    EXPECT_EQ(vencimiento->text(), tecleado);
    EXPECT_EQ(UltimoRecibo(), antes) << "nothing stored";
}

TEST_F(Editor, ABankFileDateOutsideTheTwoDigitYearsIsRefused)
{
    RespondeCajas cajas({QMessageBox::Yes});
    const QString motivo = cp1252::toQString(
        "El fichero del banco lleva el a\xF1o con dos cifras: escriba una fecha entre los a\xF1os 1970 y 2069.");
    const std::pair<const char *, std::string> casos[] = { // typed, stored ("": refused)
        {"20/01/0027", ""}, {"20010027", ""}, {"31/12/1969", ""}, {"01/01/2070", ""},
        {"01/01/1970", "1970/01/01"}, {"31/12/2069", "2069/12/31"}, {"20/01/27", "2027/01/20"},
        {"20/01/69", "2069/01/20"}, {"20/01/70", "1970/01/20"}, {"200127", "2027/01/20"}};
    int n = 0;
    for (const std::string columna : {"F_vencimiento", "F_formalizacion"})
        for (const auto &[tecleado, guardado] : casos) {
            Nuevo(3);
            TecleaRecibo58(("Y" + std::to_string(++n)).c_str());
            TCajaFecha *caja = columna == "F_vencimiento" ? editor->dateVencimiento58 : editor->dateFormalizacion58;
            caja->setFocus();
            caja->selectAll();
            Teclea(caja, QString::fromLatin1(tecleado));
            const std::string antes = UltimoRecibo();
            cajas.Vistas.clear();
            editor->cbtOK->click();
            const std::string que = columna + " " + tecleado;
            const QDate fecha = QDate::fromString(QString::fromStdString(guardado), QStringLiteral("yyyy/MM/dd"));
            const bool pregunta = columna == "F_vencimiento" && fecha <= QDate::currentDate(); // answered Yes
            EXPECT_EQ(Textos(cajas), guardado.empty() ? std::vector{motivo} : std::vector(pregunta, Vencido(fecha)))
                << que;
            if (guardado.empty())
                EXPECT_EQ(UltimoRecibo(), antes) << que << ": nothing stored";
            else
                EXPECT_EQ(Valor("SELECT substr(" + columna + ",1,10) AS F FROM [Documentos()] ORDER BY "
                                "Id_documento DESC", "F"),
                          guardado)
                    << que;
            editor->reject();
        }
}

TEST_F(Editor, TheTemplateWarningShowsOncePerShowing)
{
    Respondedor<TFormMsg> avisos([](TFormMsg *m) { m->BtnOk->click(); });
    Nuevo(4, "1");
    Escribe(editor->txtImporte, QStringLiteral("15"));
    QTest::qWait(20);
    EXPECT_EQ(avisos.Veces(), 1);
    EXPECT_EQ(editor->txtImporte->styleSheet(), QStringLiteral("color: red"));
    editor->FormShow();
    EXPECT_EQ(avisos.Veces(), 1) << "emptying the boxes never warns";
    Escribe(editor->txtImporte, QStringLiteral("2"));
    QTest::qWait(20);
    EXPECT_EQ(avisos.Veces(), 2) << "again in the next showing";
    editor->reject();
    Nuevo(4);
    Escribe(editor->txtImporte, QStringLiteral("3"));
    QTest::qWait(20);
    EXPECT_EQ(avisos.Veces(), 2) << "a batch without template never warns";
}

TEST_F(Editor, AModifyOpensWithAcceptDisabledAndReleasesTheLock)
{
    Modifica(1, 1);
    EXPECT_FALSE(editor->cbtOK->isEnabled());
    EXPECT_TRUE(editor->DocumentoBloqueado);
    EXPECT_EQ(copias::Contadores()[7], 1);
    Escribe(editor->txtRefInterna, QStringLiteral("X"));
    EXPECT_TRUE(editor->cbtOK->isEnabled()) << "the first edit enables it";
    editor->cbtCancel->click();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(copias::Contadores(), copias::kLibre);

    Modifica(1, 1);
    editor->close();
    EXPECT_EQ(copias::Contadores(), copias::kLibre) << "closing releases it too";
}

TEST_F(Editor, ExitsCheckPostcodesAndLookUpDrawees)
{
    RespondeCajas cajas;
    Nuevo(1);
    Escribe(editor->txtCP, QStringLiteral("00123"));
    Tab(editor->txtCP);
    EXPECT_TRUE(QTest::qWaitFor([&cajas] { return !cajas.Vistas.empty(); }));
    EXPECT_EQ(Textos(cajas), std::vector<QString>{Texto(572)});
    EXPECT_TRUE(editor->txtCP->text().isEmpty());
    ASSERT_TRUE(Activa(editor.get()));
    Escribe(editor->txtCP, QStringLiteral("28001"));
    EXPECT_EQ(editor->txtProvincia->text(), QStringLiteral("MADRID")) << "the postcode fills the province";
    Escribe(editor->txtProvincia, QStringLiteral("barcelona"));
    Tab(editor->txtProvincia);
    EXPECT_TRUE(QTest::qWaitFor([this] { return editor->txtCP->text().startsWith(QStringLiteral("08")); }));
    EXPECT_EQ(editor->txtCP->text(), QStringLiteral("08001")) << "the province rewrites the postcode's code";

    Escribe(editor->txtCodReferencia, QStringLiteral("R1"));
    Tab(editor->txtCodReferencia);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !editor->txtLibrado->text().isEmpty(); }));
    EXPECT_EQ(editor->txtLibrado->text(), QStringLiteral("Librado"));
    EXPECT_EQ(editor->txtCuenta->text(), QStringLiteral("0200051332"));
    EXPECT_EQ(QApplication::focusWidget(), editor->txtImporte) << "a drawee found: on to the amount";
    EXPECT_EQ(cajas.Vistas.size(), 1u);
}

TEST_F(Editor, EnterAcceptsByTheBoxesRules)
{
    RespondeCajas cajas;
    Nuevo(3);
    EXPECT_TRUE(editor->panelCSB58->isVisible());
    EXPECT_TRUE(editor->memoConceptos->isVisible());
    editor->txtCPDeudor58->setFocus();
    QTest::keyClick(editor->txtCPDeudor58, Qt::Key_Return);
    ASSERT_EQ(cajas.Vistas.size(), 1u) << "an empty debtor's postcode accepts at once";
    EXPECT_TRUE(cajas.Vistas[0].texto.startsWith(Texto(139)));
    ASSERT_TRUE(Activa(editor.get()));

    Escribe(editor->txtCPDeudor58, QStringLiteral("99999"));
    QTest::keyClick(editor->txtCPDeudor58, Qt::Key_Return);
    QTest::qWait(20);
    ASSERT_EQ(cajas.Vistas.size(), 2u) << "a refused postcode is emptied and nothing saved";
    EXPECT_EQ(cajas.Vistas[1].texto, Texto(572));
    ASSERT_TRUE(Activa(editor.get()));
    EXPECT_EQ(QApplication::focusWidget(), editor->txtCPDeudor58) << "back to the emptied box";

    Escribe(editor->txtCodReferencia58, QStringLiteral("M5"));
    Escribe(editor->txtTitularCredito58, QStringLiteral("Cincuenta"));
    Escribe(editor->txtBanco58, QStringLiteral("2100"));
    Escribe(editor->txtOficina58, QStringLiteral("0418"));
    editor->txtDC58->clear(); // the refused accept wrote the zeros of no account
    editor->dateVencimiento58->setDate(QDate(2069, 12, 31));
    Escribe(editor->txtImporte, QStringLiteral("9"));
    Escribe(editor->memoConceptos, QStringLiteral("uno"));
    QTest::keyClick(editor->memoConceptos, Qt::Key_Return);
    Teclea(editor->memoConceptos, QStringLiteral("dos"));
    Escribe(editor->txtCuenta58, QStringLiteral("200051332"));
    QTest::keyClick(editor->txtCuenta58, Qt::Key_Return);
    EXPECT_EQ(cajas.Vistas.size(), 2u);
    const std::string fila = UltimoRecibo();
    EXPECT_EQ(GetCampo("Importe", fila), "9");
    EXPECT_EQ(Valor("SELECT Cuenta FROM [Librados( Datos )] WHERE Codigo_referencia='M5'", "Cuenta"),
              "21000418450200051332");
    EXPECT_EQ(Valor("SELECT substr(Concepto,1,83) AS C FROM [Conceptos()] WHERE Id_concepto=" +
                        GetCampo("Id_concepto", fila), "C"),
              "uno" + std::string(77, ' ') + "dos");
}

TEST_F(Editor, TheMemoKeepsEightLinesOfEighty)
{
    Nuevo(4);
    editor->memoConceptos->setFocus();
    for (int i = 0; i < 10; ++i) {
        Teclea(editor->memoConceptos, QStringLiteral("x"));
        QTest::keyClick(editor->memoConceptos, Qt::Key_Return);
    }
    EXPECT_EQ(editor->memoConceptos->blockCount(), 8);
    editor->memoConceptos->insertPlainText(QString(90, QLatin1Char('y')));
    for (const QString &linea : editor->memoConceptos->toPlainText().split(QLatin1Char('\n')))
        EXPECT_LE(linea.size(), 80);
}

TEST_F(Editor, TheDraweeListIsSearchedAndPicked)
{
    RespondeCajas cajas;
    Nuevo(1);
    Escribe(editor->txtImporte, QStringLiteral("5"));
    editor->cbtLibrado->click();
    EXPECT_TRUE(editor->lstLibrados->isVisible());
    EXPECT_FALSE(editor->PanelCSB19->isVisible());
    std::vector<std::string> nombres;
    for (int i = 0; i < editor->lstLibrados->topLevelItemCount(); ++i)
        nombres.push_back(cp1252::fromQString(editor->lstLibrados->topLevelItem(i)->text(2)));
    EXPECT_EQ(nombres, (std::vector<std::string>{"Comilla", "Dos", "Librado"})) << "the user's CSB19 drawees by name";

    editor->BTNBuscarClick();
    EXPECT_EQ(Textos(cajas), std::vector<QString>{Texto(632)});
    ASSERT_TRUE(Activa(editor.get()));
    Escribe(editor->TXTBuscar, QStringLiteral("o"));
    QTest::keyClick(editor->TXTBuscar, Qt::Key_F3);
    EXPECT_EQ(editor->lstLibrados->currentItem()->text(2), QStringLiteral("Comilla"));
    QTest::keyClick(editor->TXTBuscar, Qt::Key_F3);
    EXPECT_EQ(editor->lstLibrados->currentItem()->text(2), QStringLiteral("Dos"));
    QTest::keyClick(editor->TXTBuscar, Qt::Key_F3);
    EXPECT_EQ(editor->lstLibrados->currentItem()->text(2), QStringLiteral("Librado"));
    QTest::keyClick(editor->TXTBuscar, Qt::Key_F3);
    EXPECT_EQ(cajas.Vistas.back().texto, Texto(617));
    ASSERT_TRUE(Activa(editor.get()));
    EXPECT_EQ(editor->lstLibrados->currentItem()->text(2), QStringLiteral("Comilla"));

    editor->lstLibrados->setCurrentItem(editor->lstLibrados->topLevelItem(1));
    editor->cbtOK->click();
    EXPECT_FALSE(editor->lstLibrados->isVisible());
    EXPECT_TRUE(editor->PanelCSB19->isVisible());
    EXPECT_EQ(editor->txtCodReferencia->text(), QStringLiteral("R2"));
    EXPECT_EQ(editor->txtBanco->text(), QStringLiteral("2100"));
    EXPECT_EQ(editor->txtCuenta->text(), QStringLiteral("0200051332"));
    EXPECT_EQ(QApplication::focusWidget(), editor->txtCodReferencia) << "an amount is typed already";

    ASSERT_TRUE(copias::Ejecuta("INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social) "
                                "VALUES (2,'R4','Aaa')"));
    editor->RefreshLibrados("CSB58");
    EXPECT_EQ(editor->lstLibrados->topLevelItemCount(), 3) << "another order type's notice changes nothing";
    editor->RefreshLibrados("CSB19");
    EXPECT_EQ(editor->lstLibrados->topLevelItemCount(), 4);
}

// What a clerk types after a Tab goes into the next box of either panel, never into a list's
// button; "Librados" opens with its letter.
TEST_F(Editor, TypingAfterTabGoesIntoTheNextBoxAndAltLOpensTheDraweeList)
{
    const struct {
        int remesa;
        QLineEdit *referencia, *nombre, *banco, *oficina;
    } casos[] = {
        {1, editor->txtCodReferencia, editor->txtLibrado, editor->txtBanco, editor->txtOficina},
        {3, editor->txtCodReferencia58, editor->txtTitularCredito58, editor->txtBanco58, editor->txtOficina58},
    };
    for (const auto &c : casos) {
        Nuevo(c.remesa);
        Escribe(c.referencia, QStringLiteral("N9"));
        Tab(c.referencia);
        Teclea(QApplication::focusWidget(), QString::fromUtf8("FERRETERIA IBA\u00D1EZ SL"));
        EXPECT_EQ(c.nombre->text(), QString::fromUtf8("FERRETERIA IBA\u00D1EZ SL")) << c.remesa;
        EXPECT_FALSE(editor->lstLibrados->isVisible()) << c.remesa;
        Escribe(c.banco, QStringLiteral("2100"));
        Tab(c.banco);
        Teclea(QApplication::focusWidget(), QStringLiteral("0418"));
        EXPECT_EQ(c.oficina->text(), QStringLiteral("0418")) << c.remesa;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([this] { return editor->lstLibrados->isVisible(); })) << c.remesa;
        editor->cbtCancel->click();
        editor->cbtCancel->click();
    }
}

TEST_F(Editor, BankListsFillTheBankBox)
{
    Nuevo(1);
    ASSERT_GT(editor->LBBancos->count(), 0);
    editor->BottomBancos->click();
    EXPECT_TRUE(editor->LBBancos->isVisible());
    editor->LBBancos->setCurrentRow(0);
    QTest::keyClick(editor->LBBancos, Qt::Key_Return);
    EXPECT_FALSE(editor->LBBancos->isVisible());
    EXPECT_EQ(editor->txtBanco->text(), editor->LBBancos->item(0)->text().mid(1, 4).trimmed());
    EXPECT_EQ(QApplication::focusWidget(), editor->txtOficina);
}

// A mistyped account (2100 0418 99 0200051323 for 0200051332) is never stored with digits
// computed for it: the cursor goes to the digits, and the bill is stored once they match.
TEST_F(Editor, ControlDigitsThatDoNotMatchTheAccountAreRefusedUntilRetyped)
{
    for (const int remesa : {1, 3}) {
        Nuevo(remesa);
        const bool csb19 = remesa == 1;
        csb19 ? TecleaLibrado19(QStringLiteral("Siete")) : TecleaRecibo58("N1");
        QLineEdit *dc = csb19 ? editor->txtDC : editor->txtDC58;
        Escribe(dc, QStringLiteral("99"));
        Escribe(csb19 ? editor->txtCuenta : editor->txtCuenta58, QStringLiteral("0200051323"));
        Escribe(editor->txtImporte, QStringLiteral("5"));
        const std::string antes = UltimoRecibo();
        RespondeCajas cajas;
        QTest::keyClick(editor->txtImporte, Qt::Key_Return);
        EXPECT_EQ(Textos(cajas), std::vector{Texto(828)}) << remesa;
        EXPECT_EQ(UltimoRecibo(), antes) << remesa << ": nothing stored";
        ASSERT_TRUE(Activa(editor.get()));
        EXPECT_EQ(QApplication::focusWidget(), dc) << remesa << ": the digits as typed, selected";
        Teclea(dc, QStringLiteral("42"));
        QTest::keyClick(dc, Qt::Key_Return);
        EXPECT_EQ(Valor("SELECT Cuenta FROM [Librados( Datos )] ORDER BY Id_librado DESC", "Cuenta"),
                  "21000418420200051323") << remesa;
        EXPECT_NE(UltimoRecibo(), antes) << remesa;
        editor->reject();
    }
}

// In the drawee list (Alt+L: Comilla O'1, Dos R2, Librado R1) Enter takes the one highlighted.
TEST_F(Editor, TheDraweeListsKeysMoveTheHighlightAndEnterTakesIt)
{
    Nuevo(1);
    QTest::keyClick(editor->txtCodReferencia, Qt::Key_L, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor->lstLibrados->hasFocus(); }));
    for (const Qt::Key tecla : {Qt::Key_End, Qt::Key_Up, Qt::Key_Return})
        QTest::keyClick(editor->lstLibrados, tecla);
    EXPECT_EQ(editor->txtCodReferencia->text(), QStringLiteral("R2"));
}

// A CSB58 drawee found by its code leaves the cursor on the due date, which starts at today;
// a due date not after today is asked about, and Enter (No) stores nothing.
TEST_F(Editor, AKnownCsb58DraweeStopsAtTheDueDateAndOneNotAfterTodayIsAsked)
{
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Librados( Datos )] SET Cuenta='21000418450200051332' WHERE Id_librado=3"));
    RespondeCajas cajas({QMessageBox::NoButton});
    Nuevo(3);
    Escribe(editor->txtCodReferencia58, QStringLiteral("R2"));
    Tab(editor->txtCodReferencia58);
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == editor->dateVencimiento58; }));
    Escribe(editor->txtImporte, QStringLiteral("9"));
    const std::string antes = UltimoRecibo();
    QTest::keyClick(editor->txtImporte, Qt::Key_Return);
    EXPECT_EQ(Textos(cajas), std::vector{Vencido(QDate::currentDate())});
    EXPECT_EQ(UltimoRecibo(), antes);
    ASSERT_TRUE(Activa(editor.get()));
    EXPECT_EQ(QApplication::focusWidget(), editor->dateVencimiento58);
}

} // namespace

namespace {

// With no printer installed the print asks for a PDF file: the sheet of the batch's format
// with what the boxes show.
TEST_F(Editor, PrintWritesTheSheetOfTheFormat)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    testutil::TempDir dir;
    editor->Host.Ordenante = [] { return std::string("Emisor del arbol"); };
    const struct {
        int remesa;
        const char *titulo, *moneda;
    } casos[] = {{1, "DOMICILIACION", "EUR"}, {3, "ANTICIPO DE CREDITO", "EUR"}};
    for (const auto &c : casos) {
        Nuevo(c.remesa);
        QLineEdit *titular = c.remesa == 3 ? editor->txtTitularCredito58 : editor->txtLibrado;
        Escribe(titular, QStringLiteral("Titular Impreso"));
        Escribe(editor->txtImporte, QStringLiteral("12,50"));
        const std::string ruta = dir.file("hoja" + std::to_string(c.remesa));
        Respondedor<QFileDialog> dialogo([&](QFileDialog *d) {
            auto *nombre = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            nombre->setText(QString::fromStdString(ruta));
            QMetaObject::invokeMethod(d, "accept");
        });
        editor->BTNImprimir->click();
        EXPECT_EQ(dialogo.Veces(), 1);
        const std::string texto = pdf::Texto(ruta + ".pdf");
        for (const char *visto : {c.titulo, "Titular Impreso", "Emisor del arbol", "12,50", "2.080", c.moneda})
            EXPECT_NE(texto.find(visto), std::string::npos) << visto << "\n" << texto;
        editor->done(QDialog::Rejected);
    }
}

} // namespace

namespace {

// The template page with the build's items plug-in: batch 1 in euros and batch 4 in
// pesetas name a template of two amounts, their total and a label.
class PaginaPlantilla : public Editor {
protected:
    void SetUp() override
    {
        Editor::SetUp();
        Plantilla p;
        std::strcpy(p.acNombre, "Pagina");
        const char *const items[][6] = {
            {"Importe", "Importe1", "0", "0", "Total", "no"},
            {"Importe", "Importe2", "20", "0", "Total", "no"},
            {"Total", "Suma", "40", "0", "Campos", "Importe1+Importe2"},
            {"Etiqueta", "Pie", "0", "1", "Texto", "Gracias"},
        };
        for (const auto &i : items) {
            B_AStr_t *item = p.ItemNew(i[0]);
            VarSet(item, "Identificador", i[1]);
            VarSet(item, "X", i[2]);
            VarSet(item, "Y", i[3]);
            VarSet(item, i[4], i[5]);
            ASSERT_EQ(p.ItemAdd(item), 0);
        }
        VarSet(static_cast<B_AStr_t **>(p.stkItems.data)[2], "Total", "si");
        plantilla = GuardaPlantilla(p);
        ASSERT_GT(plantilla, 0);
    }
    void TearDown() override
    {
        LiberaPlantilla();
        Editor::TearDown();
    }

    // The bill of the batch with the memo's lines, on the template page.
    void EnPagina(int remesa, const QString &memo)
    {
        Nuevo(remesa, std::to_string(plantilla));
        editor->memoConceptos->setPlainText(memo);
        editor->tabGeneral->setCurrentWidget(editor->tabPlantilla);
    }
    QLineEdit *Caja(const char *nombre) const { return editor->panelPlantilla->findChild<QLineEdit *>(nombre); }

    elementos::Tipos tipos;
    int plantilla = 0;
};

TEST_F(PaginaPlantilla, ThePageShowsOnlyForABatchWithATemplate)
{
    Nuevo(1);
    const int pagina = editor->tabGeneral->indexOf(editor->tabPlantilla);
    EXPECT_FALSE(editor->tabGeneral->isTabVisible(pagina));
    EXPECT_TRUE(editor->memoConceptos->isEnabled());
    editor->done(QDialog::Rejected);
    Nuevo(1, std::to_string(plantilla));
    EXPECT_TRUE(editor->tabGeneral->isTabVisible(pagina));
    EXPECT_FALSE(editor->memoConceptos->isEnabled()) << "the concept comes from the template";
}

TEST_F(PaginaPlantilla, AplicarWritesTheTotalItsCounterValueAndTheConcept)
{
    EnPagina(1, QStringLiteral("60,25\nsobra"));
    ASSERT_NE(Caja("Importe1"), nullptr);
    EXPECT_EQ(Caja("Importe1")->text(), QStringLiteral("60,25"));
    EXPECT_EQ(Caja("Importe2")->text(), QString());
    Caja("Importe2")->setFocus();
    Teclea(Caja("Importe2"), QStringLiteral("60,25"));
    editor->cbtOkData->click();
    EXPECT_EQ(editor->tabGeneral->currentWidget(), editor->tabRecibo);
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("120,50"));
    EXPECT_EQ(cp1252::fromQString(editor->txtContravalor->text()), FormatContravalor("120.50", "EUR"));
    const QString esperado = QStringLiteral("60,25") + QString(15, QLatin1Char(' ')) + QStringLiteral("60,25") +
                             QString(15, QLatin1Char(' ')) + QStringLiteral("120,50\nGracias");
    EXPECT_EQ(editor->memoConceptos->toPlainText(), esperado);
    EXPECT_TRUE(editor->cbtOK->isEnabled());

    // Cancelar: the memo and the amount stay; the page opens afresh from the memo.
    editor->tabGeneral->setCurrentWidget(editor->tabPlantilla);
    Caja("Importe1")->setText(QStringLiteral("1,00"));
    editor->cbtCancelData->click();
    EXPECT_EQ(editor->memoConceptos->toPlainText(), esperado);
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("120,50"));
    editor->tabGeneral->setCurrentWidget(editor->tabPlantilla);
    EXPECT_EQ(Caja("Importe1")->text(), QStringLiteral("60,25"));
}

TEST_F(PaginaPlantilla, AplicarTakesAmountsAsTheirBoxesShowThemOrSaysWhyNot)
{
    RespondeCajas cajas;
    EnPagina(1, QStringLiteral("60,25"));
    Caja("Importe2")->setFocus();
    Teclea(Caja("Importe2"), QStringLiteral("1,234"));
    EXPECT_EQ(Caja("Importe2")->toolTip(), Texto(820)) << "marked as typed";
    editor->cbtOkData->click();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Texto(820));
    EXPECT_EQ(editor->tabGeneral->currentWidget(), editor->tabPlantilla) << "the page stays";
    EXPECT_EQ(Caja("Importe2")->text(), QStringLiteral("1,234")) << "with the text typed";
    EXPECT_TRUE(editor->txtImporte->text().isEmpty());

    Caja("Importe2")->clear();
    Teclea(Caja("Importe2"), QStringLiteral("1.234,5"));
    EXPECT_TRUE(Caja("Importe2")->toolTip().isEmpty());
    editor->cbtOkData->click();
    EXPECT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("1294,75"));
    EXPECT_TRUE(editor->memoConceptos->toPlainText().startsWith(QStringLiteral("60,25") + QString(15, QLatin1Char(' ')) +
                                                               QStringLiteral("1.234,5")))
        << "the concept shows the amounts as typed";
}

TEST_F(PaginaPlantilla, ANegativePercentageCountsInTheStoredAmount)
{
    Plantilla p;
    std::strcpy(p.acNombre, "Descuento");
    const char *const items[][5] = {
        {"Importe", "Base", "0", "", ""},
        {"Porcentaje", "Dto", "20", "Campos", "Base"},
        {"Total", "T", "40", "Campos", "Base + Dto"},
    };
    for (const auto &i : items) {
        B_AStr_t *item = p.ItemNew(i[0]);
        VarSet(item, "Identificador", i[1]);
        VarSet(item, "X", i[2]);
        VarSet(item, "Y", "0");
        if (*i[3])
            VarSet(item, i[3], i[4]);
        ASSERT_EQ(p.ItemAdd(item), 0);
    }
    VarSet(static_cast<B_AStr_t **>(p.stkItems.data)[1], "Porcentaje", "-10");
    VarSet(static_cast<B_AStr_t **>(p.stkItems.data)[2], "Total", "si");
    plantilla = GuardaPlantilla(p);
    EnPagina(1, QString());
    Caja("Base")->setFocus();
    Teclea(Caja("Base"), QStringLiteral("100"));
    EXPECT_EQ(Caja("T")->text(), QStringLiteral("90,00"));
    editor->cbtOkData->click();
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("90,00"));
    TecleaLibrado19(QStringLiteral("Descuento"));
    editor->txtImporte->setFocus();
    QTest::keyClick(editor->txtImporte, Qt::Key_Return);
    EXPECT_EQ(GetCampo("Importe", UltimoRecibo()), "90");
}

TEST_F(PaginaPlantilla, PesetaTotalsAreWholeAndElevenDigitsAreRefused)
{
    EnPagina(4, QStringLiteral("1000") + QString(16, QLatin1Char(' ')) + QStringLiteral("500"));
    editor->cbtOkData->click();
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("1500"));
    EXPECT_EQ(cp1252::fromQString(editor->txtContravalor->text()), FormatContravalor("1500", "ESP"));

    editor->memoConceptos->setPlainText(QStringLiteral("9999999999") + QString(10, QLatin1Char(' ')) +
                                        QStringLiteral("9999999999"));
    const QString memo = editor->memoConceptos->toPlainText();
    editor->tabGeneral->setCurrentWidget(editor->tabPlantilla);
    RespondeCajas cajas;
    editor->cbtOkData->click();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Texto(169));
    EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Critical);
    EXPECT_EQ(editor->txtImporte->text(), QStringLiteral("1500"));
    EXPECT_EQ(editor->memoConceptos->toPlainText(), memo);
    EXPECT_EQ(editor->tabGeneral->currentWidget(), editor->tabPlantilla) << "the page stays";
}

} // namespace

namespace {

// Without the plug-in file the types are registered all the same: the page lays out with
// nothing on it, and Cancelar leaves the memo.
TEST_F(Editor, WithoutThePlugInFileThePageStillLaysOut)
{
    entorno::Programa sinPlugin;
    const std::string ini = sinPlugin.dir().file("items.ini");
    std::filesystem::copy_file(elementos::kItemsIni, ini);
    DLLInit();
    PlInit(ini.c_str());
    ASSERT_TRUE(copias::Ejecuta("INSERT INTO [Plantillas( Datos )] (Id_plantilla,Nombre) VALUES (9,'Sin plug-in')"));
    ASSERT_TRUE(copias::Ejecuta("INSERT INTO [Plantillas( Elementos )] (Id_plantilla,Datos) VALUES "
                                "(9,'Tipo=Importe\xB7Identificador=Importe1\xB7X=0\xB7Y=0\xB7')"));
    Nuevo(1, "9");
    editor->memoConceptos->setPlainText(QStringLiteral("60,25"));
    editor->tabGeneral->setCurrentWidget(editor->tabPlantilla);
    EXPECT_EQ(editor->tabGeneral->currentWidget(), editor->tabPlantilla);
    EXPECT_TRUE(editor->panelPlantilla->findChildren<QLineEdit *>().isEmpty());
    editor->cbtCancelData->click();
    EXPECT_EQ(editor->tabGeneral->currentWidget(), editor->tabRecibo);
    EXPECT_EQ(editor->memoConceptos->toPlainText(), QStringLiteral("60,25"));
    editor->done(QDialog::Rejected);
    PlClose();
    DLLClose();
}

} // namespace
