// Adding and modifying bills from the main window's bills grid through the bill editor, on the
// real database, with a running copy in another process as the other user.
#include "rejillas.h"

#include "Aplicacion.h"
#include "Editdocumentos.h"
#include "General.h"
#include "Generacsb.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "copias.h"
#include "entorno.h"
#include "ventanas.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

namespace {

class Documentos : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        App().FormLogin->LoginData.Id_usuario = "1";
        editor = App().FormEditDocumentos;
        ASSERT_NE(editor, nullptr);
    }

    std::unique_ptr<copias::Copia> Otra()
    {
        auto copia = std::make_unique<copias::Copia>(carpeta.BD());
        EXPECT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("pasada");
        return copia;
    }

    // Runs the command with accion run on the editor when it shows; false when it did not.
    bool ConEditor(QAction *comando, const std::function<void(TFormEditDocumentos *)> &accion)
    {
        bool mostrado = false;
        RespondeCajas cajas; // a refusal never waits for an answer
        AlMostrarse<TFormEditDocumentos>([&](TFormEditDocumentos *e) {
            mostrado = true;
            EXPECT_TRUE(EsperaActiva(e));
            accion(e);
            if (e->isVisible())
                e->cbtCancel->click();
        });
        comando->trigger();
        return mostrado;
    }

    static void Escribe(QLineEdit *caja, const QString &texto)
    {
        caja->clear();
        caja->setFocus();
        Teclea(caja, texto);
    }

    // The bills grid's data row of the bill.
    void SeleccionaRecibo(int id)
    {
        const int fila = m->ModeloRecibos->FilaDeId(id);
        ASSERT_GE(fila, 0);
        m->SetFilaActualRecibos(fila + 1);
    }

    std::vector<int> Bloqueos(int documento) const
    {
        std::vector<int> r;
        for (const std::string &sql :
             {"SELECT Block FROM [Documentos()] WHERE Id_documento=" + std::to_string(documento),
              std::string("SELECT Block FROM [Remesas()] WHERE Id_remesa=1"),
              std::string("SELECT Block FROM [Librados( Datos )] WHERE Id_librado=1")})
            r.push_back(Numero(arranque::Valor(sql, "Block")));
        return r;
    }

    TFormEditDocumentos *editor = nullptr;
    entorno::Regional regional{true};
};

TEST_F(Documentos, ANewBillIsAddedToTheGridWithTheNewTotals)
{
    auto copia = Otra();
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(m->cbtAlta->isEnabled());
    ASSERT_EQ(m->ModeloRecibos->rowCount(), 0);
    ASSERT_TRUE(ConEditor(m->cbtAlta, [](TFormEditDocumentos *e) {
        EXPECT_TRUE(e->PanelCSB19->isVisible());
        EXPECT_TRUE(e->memoConceptos->isVisible()) << "batch 1 issues its bills";
        Escribe(e->txtCodReferencia, QStringLiteral("R1"));
        QTest::keyClick(e->txtCodReferencia, Qt::Key_Tab);
        EXPECT_TRUE(QTest::qWaitFor([e] { return !e->txtLibrado->text().isEmpty(); }));
        EXPECT_EQ(e->txtLibrado->text(), QString::fromUtf8("\u00C1lvarez")) << "the stored drawee";
        Escribe(e->txtImporte, QStringLiteral("100,25"));
        e->memoConceptos->setFocus();
        Teclea(e->memoConceptos, QStringLiteral("Cuota"));
        e->cbtOK->click();
        EXPECT_TRUE(e->isVisible()) << "ready for the next bill";
        EXPECT_TRUE(e->txtImporte->text().isEmpty());
    }));
    EXPECT_EQ(m->ModeloRecibos->rowCount(), 1);
    EXPECT_EQ(arranque::Valor("SELECT Importe_total*100 AS C FROM [Remesas()] WHERE Id_remesa=1", "C"), "10025");
    EXPECT_EQ(cp1252::fromQString(m->lblTotalImporte->text()), "100,25");
    EXPECT_EQ(copia->Pide("pasada"), "0:4:0;0:3:1;0:2:1;");
}

// Five bills added from the keyboard: Insert, the reference, the amount and Enter each; then
// only the last one is marked, as after a plain move to it.
TEST_F(Documentos, AfterBillsAddedFromTheKeyboardOnlyTheLastIsMarked)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(Activa(m));
    m->lstGridDocumentos->setFocus();
    int vistos = 0;
    AlMostrarse<TFormEditDocumentos>([&](TFormEditDocumentos *e) {
        for (int importe = 5; importe > 0; --importe) {
            Escribe(e->txtCodReferencia, importe % 2 ? QStringLiteral("R1") : QStringLiteral("R2"));
            QTest::keyClick(e->txtCodReferencia, Qt::Key_Tab);
            ASSERT_TRUE(QTest::qWaitFor([e] { return QApplication::focusWidget() == e->txtImporte; }));
            Teclea(e->txtImporte, QString::number(importe));
            QTest::keyClick(e->txtImporte, Qt::Key_Return);
            vistos += m->ModeloRecibos->rowCount() == 6 - importe;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    QTest::keyClick(m->lstGridDocumentos, Qt::Key_Insert);
    ASSERT_EQ(vistos, 5);
    const int ultimo = std::stoi(arranque::Valor("SELECT MAX(Id_documento) AS N FROM [Documentos()]", "N"));
    EXPECT_EQ(Marcadas(), std::vector<int>{m->ModeloRecibos->FilaDeId(ultimo) + 1});
    EXPECT_EQ(m->FilaActualRecibos(), m->ModeloRecibos->FilaDeId(ultimo) + 1);
}

// In a batch that issues its bills the editor is at its tallest; opening the bank list or the
// drawee list keeps it inside the screen (here narrower than the editor, which scrolls
// sideways), the list and Aceptar whole in sight.
TEST_F(Documentos, WithAListOpenTheEditorStaysInsideTheScreen)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(ConEditor(m->cbtAlta, [](TFormEditDocumentos *e) {
        const QRect libre = e->screen()->availableGeometry();
        const std::pair<QPushButton *, QWidget *> listas[] = {{e->BottomBancos, e->LBBancos},
                                                              {e->cbtLibrado, e->lstLibrados}};
        for (const auto &[boton, lista] : listas) {
            boton->setFocus();
            QTest::keyClick(boton, Qt::Key_Space);
            ASSERT_TRUE(QTest::qWaitFor([lista = lista] { return lista->isVisible(); }));
            QApplication::processEvents();
            const std::string que = boton->text().toStdString();
            EXPECT_TRUE(libre.contains(e->frameGeometry())) << que;
            for (QWidget *control : {lista, static_cast<QWidget *>(e->cbtOK)}) {
                const QRect visto = control->visibleRegion().boundingRect();
                EXPECT_EQ(visto.height(), control->height()) << que << " " << control->metaObject()->className();
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
    }));
}

TEST_F(Documentos, AKeyOrAClickInTheEditorRestartsTheInactivityCount)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(ConEditor(m->cbtAlta, [](TFormEditDocumentos *e) {
        e->memoConceptos->setFocus();
        Inactividad.Ticks = 100;
        QTest::keyClick(e->memoConceptos, Qt::Key_C);
        EXPECT_EQ(Inactividad.Ticks, 0) << "a letter of the concept";
        Inactividad.Ticks = 100;
        QTest::mouseClick(e->memoConceptos->viewport(), Qt::LeftButton);
        EXPECT_EQ(Inactividad.Ticks, 0) << "a click";
    }));
}

TEST_F(Documentos, ABillHeldByAnotherCopyIsRefusedAndAFreeOneComesBack)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 2, 1, 1)));
    auto copia = Otra();
    Selecciona(ArbolRemesa, 1);
    ASSERT_EQ(m->ModeloRecibos->rowCount(), 2);
    const int primero = m->ModeloRecibos->IdFila(0), segundo = m->ModeloRecibos->IdFila(1);
    ASSERT_EQ(copia->Pide("bloquea documento " + std::to_string(primero) + " 0"), "1");

    SeleccionaRecibo(primero);
    {
        RespondeCajas cajas;
        m->cbtModificacion->trigger();
        EXPECT_FALSE(editor->isVisible());
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(642));
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Idioma.GetTexto(6));
    }

    SeleccionaRecibo(segundo);
    const std::vector<int> antes = Bloqueos(segundo);
    ASSERT_TRUE(ConEditor(m->cbtModificacion, [&](TFormEditDocumentos *e) {
        EXPECT_FALSE(e->cbtOK->isEnabled());
        EXPECT_EQ(Bloqueos(segundo), (std::vector<int>{antes[0] + 1, antes[1] + 1, antes[2] + 1})) << "held";
    }));
    EXPECT_EQ(Bloqueos(segundo), antes) << "cancelled: back as it was";

    ASSERT_TRUE(ConEditor(m->cbtModificacion, [&](TFormEditDocumentos *e) {
        Escribe(e->txtImporte, QStringLiteral("7"));
        e->cbtOK->click();
        EXPECT_FALSE(e->isVisible()) << "a modify closes after its save";
    }));
    EXPECT_EQ(Bloqueos(segundo), antes) << "saved: back as it was";
    EXPECT_EQ(arranque::Valor("SELECT Importe FROM [Documentos()] WHERE Id_documento=" + std::to_string(segundo),
                              "Importe"),
              "7");
    EXPECT_EQ(copia->Pide("pasada"), "0:3:1;0:2:1;")
        << "the drawee, held through the copy's bill, was left as it is: no drawee notice";
}

// A send of the batch runs while a bill of it is open in the editor with an amount typed and
// not accepted: nothing is sent or stamped, the batch is named, and the bill keeps what is
// accepted. A bill that went out while its editor was open is not written over.
TEST_F(Documentos, ASendNeverTakesABillOpenInTheEditorNorTheEditorASentBill)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 2, 1, 1)));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Emisores( Datos )] SET Sufijo='000'"));
    Selecciona(ArbolRemesa, 1);
    const int abierto = m->ModeloRecibos->IdFila(0);
    const std::string estado = "SELECT Importe || ' ' || (SELECT COUNT(F_proceso) FROM [Documentos()]) || "
                               "(SELECT COUNT(F_generacion) FROM [Remesas()] WHERE Id_remesa=1) AS R FROM "
                               "[Documentos()] WHERE Id_documento=" + std::to_string(abierto);
    const QDate hoy = QDate::currentDate();
    const PeticionCSB envio{1, "EUR", {{1, 1}}, hoy, hoy.addDays(3), QDate(2002, 1, 1), carpeta.Ruta("CSB19/"),
                            carpeta.Ruta("HISTORICO/"), carpeta.Ini()};
    std::vector<std::string> lineas;
    ResultadoCSB resultado = ResultadoCSB::Generado;
    SeleccionaRecibo(abierto);
    ASSERT_TRUE(ConEditor(m->cbtModificacion, [&](TFormEditDocumentos *e) {
        Escribe(e->txtImporte, QStringLiteral("1111,11"));
        resultado = _GeneradorCSB(envio, {[&lineas](const std::string &l) { lineas.push_back(l); }, {}}).Genera();
        e->cbtOK->click();
    }));
    EXPECT_EQ(resultado, ResultadoCSB::Fallido);
    const std::vector<std::string> aviso = {Idioma.GetTexto(941), "'Enero'", Idioma.GetTexto(944)};
    EXPECT_NE(std::search(lineas.begin(), lineas.end(), aviso.begin(), aviso.end()), lineas.end());
    EXPECT_TRUE(std::filesystem::is_empty(carpeta.Ruta("CSB19")));
    EXPECT_EQ(arranque::Valor(estado, "R"), "1111.11 00") << "accepted as typed; nothing stamped";

    RespondeCajas cajas;
    AlMostrarse<TFormEditDocumentos>([&](TFormEditDocumentos *e) {
        // What a copy that took the bill for free sent meanwhile.
        ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET F_proceso='2026/01/15'"));
        Escribe(e->txtImporte, QStringLiteral("2222,22"));
        e->cbtOK->click();
        e->cbtCancel->click();
    });
    m->cbtModificacion->trigger();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(942));
    EXPECT_EQ(arranque::Valor(estado, "R"), "1111.11 20") << "the sent bill as it went";
}

TEST_F(Documentos, AnotherCopysDraweeNoticeReloadsTheOpenDraweeList)
{
    auto copia = Otra();
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(ConEditor(m->cbtAlta, [&](TFormEditDocumentos *e) {
        e->cbtLibrado->click();
        const int antes = e->lstLibrados->topLevelItemCount();
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social) "
                                      "VALUES (1,'R7','Nuevo')"));
        copia->Pide("usuario 2");
        copia->Pide("notifica 4 0");
        App().Multiuser->LeeActualizaciones();
        EXPECT_EQ(e->lstLibrados->topLevelItemCount(), antes) << "another user's copy";
        copia->Pide("usuario 1");
        copia->Pide("notifica 4 1");
        App().Multiuser->LeeActualizaciones();
        EXPECT_EQ(e->lstLibrados->topLevelItemCount(), antes) << "a CSB58 notice";
        copia->Pide("notifica 4 0");
        App().Multiuser->LeeActualizaciones();
        EXPECT_EQ(e->lstLibrados->topLevelItemCount(), antes + 1);
        e->cbtCancel->click(); // closes the list
    }));
}

} // namespace
