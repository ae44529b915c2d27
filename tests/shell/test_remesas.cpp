// The batch editor and the main window's record commands on the real database, with a running
// copy in another process as the other user: adding, modifying, re-currencing and deleting
// batches, and deleting, activating and deactivating the marked bills.
#include "rejillas.h"

#include "Altarapida.h"
#include "Aplicacion.h"
#include "Editremesas.h"
#include "Frmlibrados.h"
#include "General.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Remesas.h"
#include "basedatos.h"
#include "copias.h"
#include "entorno.h"
#include "ventanas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

using rejillas::Texto;

std::string TextoTabla(int n)
{
    return Idioma.GetTexto(n);
}

// A message box as the language table gives it: text, caption, icon.
void EsperaCaja(const CajaVista &caja, int texto, int titulo, QMessageBox::Icon icono)
{
    EXPECT_EQ(cp1252::fromQString(caja.texto), TextoTabla(texto));
    EXPECT_EQ(cp1252::fromQString(caja.titulo), TextoTabla(titulo));
    EXPECT_EQ(caja.icono, icono) << "text " << texto;
}

int Entero(const std::string &sql, const std::string &campo)
{
    return Numero(arranque::Valor(sql, campo));
}

int Cuenta(const std::string &sql)
{
    return Entero("SELECT COUNT(*) AS N FROM " + sql, "N");
}

class Remesas : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Plantillas( Datos )] (Id_plantilla,Nombre) VALUES (7,'Cuotas')"));
        editor = App().FormEditRemesas;
        ASSERT_NE(editor, nullptr);
    }

    // The other running copy, registered, with the notices posted so far read.
    std::unique_ptr<copias::Copia> Otra()
    {
        auto copia = std::make_unique<copias::Copia>(carpeta.BD());
        EXPECT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("pasada");
        return copia;
    }

    // Selects the batches grid's rows desde to hasta (grid numbering).
    void SeleccionaRemesas(int desde, int hasta)
    {
        m->lstGridRemesas->clearSelection();
        m->lstGridRemesas->setCurrentCell(desde - 1, 3);
        m->lstGridRemesas->setRangeSelected(QTableWidgetSelectionRange(desde - 1, 0, hasta - 1, 7), true);
    }

    // Runs the command with accion run on the editor when it shows; false when it did not.
    bool ConEditor(QAction *comando, const std::function<void(TFormEditRemesas *)> &accion)
    {
        bool mostrado = false;
        AlMostrarse<TFormEditRemesas>([&](TFormEditRemesas *e) {
            mostrado = true;
            accion(e);
        });
        comando->trigger();
        return mostrado;
    }

    // Picks the combo's entry as the user does (the change handlers run).
    static void Elige(QComboBox *lista, int indice)
    {
        lista->setFocus();
        while (lista->currentIndex() < indice)
            QTest::keyClick(lista, Qt::Key_Down);
        while (lista->currentIndex() > indice)
            QTest::keyClick(lista, Qt::Key_Up);
    }

    std::string BloqueRemesa(int id) const
    {
        return arranque::Valor("SELECT Block FROM [Remesas()] WHERE Id_remesa=" + std::to_string(id), "Block");
    }

    TFormEditRemesas *editor = nullptr;
    entorno::Regional regional{true};
};

// ---- Add ----

TEST_F(Remesas, AddStoresTheCleanedNameShowsItAndNotifies)
{
    auto copia = Otra();
    Selecciona(ArbolEmisor, 1);
    const int filas = m->lstGridRemesas->rowCount();
    ASSERT_TRUE(ConEditor(m->cbtAlta, [](TFormEditRemesas *e) {
        EXPECT_EQ(cp1252::fromQString(e->windowTitle()), TextoTabla(449));
        EXPECT_TRUE(e->txtPresentador->isVisible());
        EXPECT_FALSE(e->CBEmisor->isVisible());
        EXPECT_TRUE(e->cbtOK->isEnabled()) << "a new batch under an issuer";
        ASSERT_EQ(e->cbxMoneda->count(), 2);
        EXPECT_EQ(e->cbxMoneda->itemText(1), QStringLiteral("Pesetas")) << "sorted by description";
        EXPECT_EQ(e->cbxMoneda->currentText(), QStringLiteral("Euros")) << "a new batch in euros";
        Teclea(e->txtDescripcion, QString::fromUtf8("Cuota d'oto\u00f1o"));
        e->cbtOK->click();
    }));
    const std::string limpia = "Cuota d'oto\xF1o";
    const int id = Entero("SELECT MAX(Id_remesa) AS Id FROM [Remesas()]", "Id");
    const std::string fila = "FROM [Remesas()] WHERE Id_remesa=" + std::to_string(id);
    EXPECT_EQ(arranque::Valor("SELECT Descripcion " + fila, "Descripcion"), limpia);
    EXPECT_EQ(arranque::Valor("SELECT Id_emisor " + fila, "Id_emisor"), "1");
    EXPECT_EQ(arranque::Valor("SELECT Id_moneda " + fila, "Id_moneda"), "EUR");
    EXPECT_EQ(arranque::Valor("SELECT Block " + fila, "Block"), "0");
    ASSERT_EQ(m->lstGridRemesas->rowCount(), filas + 1);
    EXPECT_EQ(Texto(m->lstGridRemesas, filas + 1, 0), std::to_string(id));
    EXPECT_EQ(m->FilaSeleccion(m->lstGridRemesas), filas + 1) << "the new batch selected";
    EXPECT_EQ(Texto(m->lstGridRemesas, filas + 1, 3), limpia);
    const QTreeWidgetItem *hijo = Nodo(ArbolRemesa, id);
    ASSERT_NE(hijo, nullptr);
    EXPECT_EQ(cp1252::fromQString(hijo->text(0)), limpia);
    EXPECT_EQ(TFormMain::IdNodo(hijo->parent()), "1");
    EXPECT_NE(copia->Pide("pasada").find(":2:1;"), std::string::npos) << "the batch-level notice for the issuer";
}

// The quick batch keeps the description typed when the format changes, and opens on the
// format of the company's presenters when they are all of the other one.
TEST_F(Remesas, TheQuickBatchKeepsTheDescriptionAndOpensOnTheCompanysFormat)
{
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [_Presentadores( Datos )] SET Id_orden='CSB58'"));
    TFRMAltaRapida *rapida = App().FRMAltaRapida;
    rapida->show();
    EXPECT_TRUE(rapida->RButtomCSB58->isChecked());
    Teclea(rapida->TxtDescripcion, QStringLiteral("Anticipos"));
    rapida->RButtomCSB19->click();
    EXPECT_EQ(rapida->TxtDescripcion->text(), QStringLiteral("Anticipos"));
    rapida->hide();
}

TEST_F(Remesas, AddStoresTheIssueFlagAndTemplateByOrderType)
{
    const struct {
        int emisor;
        bool marca;      // check, pick the template, then uncheck when not marca
        const char *emision, *plantilla;
        const char *porque;
    } casos[] = {
        {1, false, "FALSE", "NULL", "CSB19 unchecked: no template whatever was chosen"},
        {1, true, "TRUE", "7", "CSB19 checked keeps its template"},
        {2, false, "TRUE", "7", "CSB58 always issues receipts"},
    };
    for (const auto &c : casos) {
        Selecciona(ArbolEmisor, c.emisor);
        ASSERT_TRUE(ConEditor(m->cbtAlta, [&c](TFormEditRemesas *e) {
            Teclea(e->txtDescripcion, QStringLiteral("Nueva"));
            if (c.emisor == 2) {
                EXPECT_FALSE(e->chkEmision->isEnabled()) << c.porque;
                EXPECT_TRUE(e->chkEmision->isChecked()) << c.porque;
            } else {
                EXPECT_FALSE(e->groupPlantilla->isEnabled()) << "no template until the box is checked";
                e->chkEmision->click();
            }
            EXPECT_TRUE(e->groupPlantilla->isEnabled()) << c.porque;
            Elige(e->cbxPlantilla, 1);
            if (c.emisor == 1 && !c.marca)
                e->chkEmision->click();
            e->cbtOK->click();
        }));
        const std::string sql = "SELECT Con_emision, Id_plantilla FROM [Remesas()] WHERE Id_remesa=(SELECT "
                                "MAX(Id_remesa) FROM [Remesas()])";
        EXPECT_EQ(arranque::Valor(sql, "Con_emision"), c.emision) << c.porque;
        EXPECT_EQ(arranque::Valor(sql, "Id_plantilla"), c.plantilla) << c.porque;
    }
}

TEST_F(Remesas, AnEmptyNameIsRefusedAndNothingIsStored)
{
    Selecciona(ArbolEmisor, 1);
    const int antes = Cuenta("[Remesas()]");
    RespondeCajas cajas;
    ASSERT_TRUE(ConEditor(m->cbtAlta, [](TFormEditRemesas *e) {
        Teclea(e->txtDescripcion, QStringLiteral("   "));
        e->cbtOK->click();
        EXPECT_TRUE(e->isVisible()) << "the window stays open";
        e->cbtCancel->click();
    }));
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EsperaCaja(cajas.Vistas[0], 149, 150, QMessageBox::Information);
    EXPECT_EQ(Cuenta("[Remesas()]"), antes);
}

// ---- Modify ----

TEST_F(Remesas, ModifyOfABatchLockedElsewhereOpensNothing)
{
    auto copia = Otra();
    ASSERT_EQ(copia->Pide("bloquea remesa 1 0"), "1");
    Selecciona(ArbolEmisor, 1);
    SeleccionaRemesas(1, 1);
    RespondeCajas cajas;
    Respondedor<TFormEditRemesas> editores([](TFormEditRemesas *e) { e->reject(); });
    m->cbtModificacion->trigger();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EsperaCaja(cajas.Vistas[0], 641, 6, QMessageBox::Information);
    QTest::qWait(30);
    EXPECT_EQ(editores.Veces(), 0);
}

TEST_F(Remesas, ModifyHoldsTheLockWhileOpenAndReleasesItHoweverItCloses)
{
    const struct {
        const char *como;
        std::function<void(TFormEditRemesas *)> cierra;
    } casos[] = {
        {"OK", [](TFormEditRemesas *e) {
             Teclea(e->txtDescripcion, QStringLiteral("Enero bis"));
             e->cbtOK->click();
         }},
        {"Cancel", [](TFormEditRemesas *e) { e->cbtCancel->click(); }},
        {"closing", [](TFormEditRemesas *e) { e->close(); }},
    };
    Selecciona(ArbolEmisor, 1);
    for (const auto &c : casos) {
        SeleccionaRemesas(1, 1);
        std::string bloqueo;
        ASSERT_TRUE(ConEditor(m->cbtModificacion, [&](TFormEditRemesas *e) {
            EXPECT_EQ(cp1252::fromQString(e->windowTitle()), TextoTabla(448));
            EXPECT_FALSE(e->cbtOK->isEnabled()) << "nothing changed yet";
            EXPECT_TRUE(e->CBEmisor->isVisible());
            EXPECT_EQ(cp1252::fromQString(e->CBEmisor->currentText()), "Emisor A");
            bloqueo = BloqueRemesa(1);
            c.cierra(e);
        })) << c.como;
        EXPECT_EQ(bloqueo, "1") << c.como;
        EXPECT_EQ(BloqueRemesa(1), "0") << c.como;
        EXPECT_FALSE(editor->isVisible()) << c.como;
    }
    EXPECT_EQ(arranque::Valor("SELECT Descripcion FROM [Remesas()] WHERE Id_remesa=1", "Descripcion"), "Enero bis");
    EXPECT_EQ(cp1252::fromQString(Nodo(ArbolRemesa, 1)->text(0)), "Enero bis") << "the node renamed";
}

TEST_F(Remesas, ABatchWithBillsKeepsItsIssueFlagAndTemplate)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 3)));
    Selecciona(ArbolEmisor, 1);
    SeleccionaRemesas(1, 1);
    ASSERT_TRUE(ConEditor(m->cbtModificacion, [](TFormEditRemesas *e) {
        EXPECT_FALSE(e->chkEmision->isEnabled());
        EXPECT_FALSE(e->cbxPlantilla->isEnabled());
        EXPECT_TRUE(e->cbxMoneda->isEnabled());
        e->cbtCancel->click();
    }));
    SeleccionaRemesas(2, 2);
    ASSERT_TRUE(ConEditor(m->cbtModificacion, [](TFormEditRemesas *e) {
        EXPECT_TRUE(e->chkEmision->isEnabled()) << "a batch without bills";
        e->cbtCancel->click();
    }));
}

TEST_F(Remesas, APresenterWithoutIssuersSavesNothing)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,"
                                  "Id_nif,Sufijo,Razon_social) VALUES (3,1,'CSB19','B33333333','000','Vac\xEDo')"));
    m->MuestraEmpresa(1);
    Selecciona(ArbolEmisor, 1);
    SeleccionaRemesas(1, 1);
    ASSERT_TRUE(ConEditor(m->cbtModificacion, [](TFormEditRemesas *e) {
        ASSERT_EQ(e->CBPresentador->count(), 2) << "the CSB19 presenters only";
        Elige(e->CBPresentador, 1);
        EXPECT_EQ(e->CBEmisor->count(), 0);
        EXPECT_FALSE(e->cbtOK->isEnabled());
        Teclea(e->txtDescripcion, QStringLiteral("x"));
        EXPECT_FALSE(e->cbtOK->isEnabled()) << "no issuer to move the batch to";
        QTest::keyClick(e->txtDescripcion, Qt::Key_Return);
        EXPECT_TRUE(e->isVisible());
        e->cbtCancel->click();
    }));
    EXPECT_EQ(arranque::Valor("SELECT Id_emisor FROM [Remesas()] WHERE Id_remesa=1", "Id_emisor"), "1");
    EXPECT_EQ(arranque::Valor("SELECT Descripcion FROM [Remesas()] WHERE Id_remesa=1", "Descripcion"), "Enero");
}

TEST_F(Remesas, AFailedSaveSaysWhyAndTheEditorStaysOpenOnlyWhileItHoldsTheBatch)
{
    auto copia = Otra();
    const struct {
        const char *porque;
        QAction *comando;
        std::function<void()> antes, despues;
        int texto, titulo;
        QMessageBox::Icon icono;
        bool abierta;
    } casos[] = {
        {"a new batch the database refuses", m->cbtAlta,
         [] {
             ASSERT_TRUE(arranque::Ejecuta("CREATE TRIGGER [Falla] BEFORE INSERT ON [Remesas()] BEGIN SELECT "
                                           "RAISE(ABORT,'no'); END"));
         },
         [] { ASSERT_TRUE(arranque::Ejecuta("DROP TRIGGER [Falla]")); }, 997, 1, QMessageBox::Critical, true},
        {"a change the row lets through unchanged: locked again", m->cbtModificacion,
         [] {
             ASSERT_TRUE(arranque::Ejecuta("CREATE TRIGGER [Falla] BEFORE UPDATE OF Descripcion ON [Remesas()] "
                                           "BEGIN SELECT RAISE(IGNORE); END"));
         },
         [] { ASSERT_TRUE(arranque::Ejecuta("DROP TRIGGER [Falla]")); }, 643, 6, QMessageBox::NoIcon, true},
        {"a change while another copy holds the batch: it cannot be locked again", m->cbtModificacion,
         [&copia] { ASSERT_EQ(copia->Pide("bloquea remesa 1 1"), "1"); },
         [&copia] { ASSERT_EQ(copia->Pide("desbloquea remesa 1"), "1"); }, 643, 6, QMessageBox::NoIcon, false},
    };
    Selecciona(ArbolEmisor, 1);
    for (const auto &c : casos) {
        SCOPED_TRACE(c.porque);
        SeleccionaRemesas(1, 1);
        const int antes = Cuenta("[Remesas()]");
        RespondeCajas cajas;
        bool abierta = false;
        std::string bloqueo;
        ASSERT_TRUE(ConEditor(c.comando, [&](TFormEditRemesas *e) {
            Teclea(e->txtDescripcion, QStringLiteral("Otra"));
            c.antes();
            e->cbtOK->click();
            abierta = e->isVisible();
            bloqueo = BloqueRemesa(1);
            if (abierta)
                e->cbtCancel->click();
        }));
        c.despues();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EsperaCaja(cajas.Vistas[0], c.texto, c.titulo, c.icono);
        EXPECT_EQ(abierta, c.abierta);
        if (c.comando == m->cbtModificacion) {
            EXPECT_EQ(bloqueo, "1") << (abierta ? "its own lock" : "the other copy's");
        }
        EXPECT_EQ(Cuenta("[Remesas()]"), antes);
        EXPECT_EQ(arranque::Valor("SELECT Descripcion FROM [Remesas()] WHERE Id_remesa=1", "Descripcion"), "Enero");
        EXPECT_EQ(BloqueRemesa(1), "0");
    }
}

// ---- Currency ----

TEST_F(Remesas, ACurrencyChangeKeepsAmountsAndRewritesCounterValuesAndTotals)
{
    // Batch 1 in euros with three bills of 1.00, 2.00 and 3.00, one of them erroneous.
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 3)));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Situacion=1 WHERE Importe=3"));
    auto copia = Otra();
    Selecciona(ArbolEmisor, 1);
    SeleccionaRemesas(1, 1);
    ASSERT_TRUE(ConEditor(m->cbtModificacion, [](TFormEditRemesas *e) {
        Elige(e->cbxMoneda, e->cbxMoneda->findData(QStringLiteral("ESP")));
        e->cbtOK->click();
    }));
    EXPECT_EQ(arranque::Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=1", "Id_moneda"), "ESP");
    const basedatos::Result recibos = basedatos::query("SELECT Importe, Contravalor FROM [Documentos()] WHERE "
                                                       "Id_remesa=1 ORDER BY Importe");
    ASSERT_EQ(recibos.rows.size(), 3u);
    const char *const esperados[][2] = {{"1", "0.01"}, {"2", "0.01"}, {"3", "0.02"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(basedatos::field(recibos.rows[i], "Importe"), esperados[i][0]);
        EXPECT_EQ(basedatos::field(recibos.rows[i], "Contravalor"), esperados[i][1]);
    }
    EXPECT_EQ(arranque::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=1", "Importe_total"), "3");
    EXPECT_EQ(arranque::Valor("SELECT Contravalor_total FROM [Remesas()] WHERE Id_remesa=1", "Contravalor_total"),
              "0.02");
    EXPECT_EQ(m->MonedaRemesa, "ESP");
    EXPECT_EQ(Texto(m->lstGridRemesas, 1, 1), "ESP");
    EXPECT_EQ(Texto(m->lstGridRemesas, 1, 6), "3");
    EXPECT_NE(copia->Pide("pasada").find(":2:1;"), std::string::npos);
}

TEST_F(Remesas, ACurrencyChangeIsRefusedWhenTheTotalWouldNotFit)
{
    const struct {
        const char *de, *a, *total;
        bool cabe;
    } casos[] = {
        {"ESP", "EUR", "99999999.99", true},
        {"ESP", "EUR", "100000000.00", false},
        {"EUR", "ESP", "9999999999", true},
    };
    Selecciona(ArbolEmisor, 1);
    for (const auto &c : casos) {
        ASSERT_TRUE(arranque::Ejecuta(std::string("UPDATE [Remesas()] SET Id_moneda='") + c.de +
                                      "', Importe_total=" + c.total + " WHERE Id_remesa=2"));
        const std::string que = std::string(c.total) + " to " + c.a;
        SeleccionaRemesas(2, 2);
        RespondeCajas cajas;
        std::string bloqueo;
        ASSERT_TRUE(ConEditor(m->cbtModificacion, [&](TFormEditRemesas *e) {
            Elige(e->cbxMoneda, e->cbxMoneda->findData(QString::fromLatin1(c.a)));
            e->cbtOK->click();
            bloqueo = BloqueRemesa(2);
            if (e->isVisible())
                e->cbtCancel->click();
        })) << que;
        EXPECT_EQ(arranque::Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=2", "Id_moneda"),
                  c.cabe ? c.a : c.de)
            << que;
        if (c.cabe) {
            EXPECT_TRUE(cajas.Vistas.empty()) << que;
        } else {
            ASSERT_EQ(cajas.Vistas.size(), 1u) << que;
            EsperaCaja(cajas.Vistas[0], 668, 1, QMessageBox::Critical);
            EXPECT_EQ(bloqueo, "1") << "the lock stays while the window is open";
        }
        EXPECT_EQ(BloqueRemesa(2), "0") << que;
    }
}

// ---- Deleting batches ----

class BajaRemesas : public Remesas {
protected:
    void SetUp() override
    {
        Remesas::SetUp();
        // Issuer 1's batches 1, 2, 4, 5, 6, each with two bills.
        for (int id : {4, 5, 6})
            ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) "
                                          "VALUES (" + std::to_string(id) + ",1,'EUR','R" + std::to_string(id) + "')"));
        for (int id : {1, 2, 4, 5, 6})
            ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(id, 2)));
        m->MuestraEmpresa(1);
    }

    static int Recibos(int remesa) { return Cuenta("[Documentos()] WHERE Id_remesa=" + std::to_string(remesa)); }
};

TEST_F(BajaRemesas, ALockedBatchStaysWholeAndTheOthersGo)
{
    for (const bool recarga : {false, true}) {
        SCOPED_TRACE(recarga ? "the grid reloads while 638 shows" : "plain");
        auto copia = Otra();
        ASSERT_EQ(copia->Pide("bloquea remesa 5 0"), "1");
        Selecciona(ArbolEmisor, 1);
        ASSERT_EQ(Texto(m->lstGridRemesas, 3, 0), "4");
        SeleccionaRemesas(3, 5);
        int vistas = 0;
        std::vector<CajaVista> cajas;
        Respondedor<QMessageBox> respuestas([&](QMessageBox *caja) {
            cajas.push_back({caja->text(), caja->windowTitle(), caja->icon(), {}});
            if (++vistas == 1) {
                caja->button(QMessageBox::Yes)->click();
                return;
            }
            if (recarga)
                m->MuestraNivel(m->NodoSeleccionado());
            caja->button(QMessageBox::Ok)->click();
        });
        m->cbtBaja->trigger();
        ASSERT_EQ(cajas.size(), 2u);
        EsperaCaja(cajas[0], 191, 192, QMessageBox::Question);
        EsperaCaja(cajas[1], 638, 6, QMessageBox::Information);
        for (int id : {4, 6}) {
            EXPECT_EQ(Cuenta("[Remesas()] WHERE Id_remesa=" + std::to_string(id)), 0) << id;
            EXPECT_EQ(Recibos(id), 0) << id;
            EXPECT_EQ(Nodo(ArbolRemesa, id), nullptr) << id;
        }
        EXPECT_EQ(Recibos(5), 2);
        EXPECT_NE(Nodo(ArbolRemesa, 5), nullptr);
        EXPECT_EQ(Recibos(1) + Recibos(2), 4) << "batches never selected are untouched";
        EXPECT_NE(copia->Pide("pasada").find(":2:1;"), std::string::npos);
        ASSERT_EQ(copia->Pide("desbloquea remesa 5"), "1");
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) "
                                      "VALUES (4,1,'EUR','R4'), (6,1,'EUR','R6')"));
        ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(4, 2)));
        ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(6, 2)));
        m->MuestraEmpresa(1);
        m->statusPanel[4]->clear(); // so that the next selection is waited for
    }
}

TEST_F(BajaRemesas, ABatchLockedMidwayOrWithALockedBillStaysWhole)
{
    const struct {
        const char *porque;
        const char *antes, *despues;
    } casos[] = {
        {"locked as its first bill goes",
         "CREATE TRIGGER [Bloquea_Remesa] AFTER DELETE ON [Documentos()] BEGIN UPDATE [Remesas()] SET Block=1 "
         "WHERE Id_remesa=OLD.Id_remesa; END",
         "DROP TRIGGER [Bloquea_Remesa]"},
        {"one bill locked", "UPDATE [Documentos()] SET Block=1 WHERE Id_documento=(SELECT MAX(Id_documento) FROM "
                            "[Documentos()] WHERE Id_remesa=4)",
         "UPDATE [Documentos()] SET Block=0"},
    };
    for (const auto &c : casos) {
        ASSERT_TRUE(arranque::Ejecuta(c.antes)) << c.porque;
        EXPECT_FALSE(BorraRemesa(4)) << c.porque;
        EXPECT_EQ(Cuenta("[Remesas()] WHERE Id_remesa=4"), 1) << c.porque;
        EXPECT_EQ(Recibos(4), 2) << c.porque;
        EXPECT_EQ(BloqueRemesa(4), "0") << c.porque;
        ASSERT_TRUE(arranque::Ejecuta(c.despues)) << c.porque;
    }
    EXPECT_TRUE(BorraRemesa(4));
    EXPECT_EQ(Recibos(4), 0);
    EXPECT_EQ(Cuenta("[Remesas()] WHERE Id_remesa=4"), 0);
}

TEST_F(BajaRemesas, DeletedBillsTakeTheirConceptsAlongAndNoOthers)
{
    // Every bill with its own concept; one bill of batch 5 held by another copy.
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Conceptos()] (Id_concepto,Concepto) SELECT Id_documento,'Cuota' "
                                  "FROM [Documentos()]"));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Id_concepto=Id_documento"));
    const std::string retenido = arranque::Valor("SELECT MIN(Id_documento) AS D FROM [Documentos()] WHERE "
                                                 "Id_remesa=5",
                                                 "D");
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Block=1 WHERE Id_documento=" + retenido));
    App().FormLogin->LoginData.Id_usuario = "1";
    const struct {
        const char *deleter;
        std::function<void()> borra;
    } casos[] = {
        {"a batch", [] { EXPECT_TRUE(BorraRemesa(4)); }},
        {"marked bills, one held",
         [] {
             std::vector<std::string> ids;
             for (const std::string &fila : basedatos::query("SELECT Id_documento FROM [Documentos()] WHERE "
                                                             "Id_remesa=5")
                                                .rows)
                 ids.push_back(basedatos::field(fila, "Id_documento"));
             const ResultadoRecibos r = BorraRecibos(ids);
             EXPECT_EQ(r.Cambiados, 1);
             EXPECT_EQ(r.Retenidos, 1);
         }},
        {"a drawee with its bills",
         [this] {
             Selecciona(ArbolEmisor, 1);
             AlMostrarse<TfrmLibrados>([](TfrmLibrados *v) {
                 const auto filas = v->lstLibrados->findItems(QStringLiteral("R1"), Qt::MatchExactly,
                                                              TfrmLibrados::ColCodigo);
                 ASSERT_EQ(filas.size(), 1);
                 v->lstLibrados->setCurrentItem(filas.first(), 0,
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                 RespondeCajas si({QMessageBox::Yes});
                 v->cbtBaja->click();
                 v->done(QDialog::Rejected);
             });
             m->cbtMantenimientoLibrados->trigger();
             EXPECT_EQ(Cuenta("[Librados( Datos )] WHERE Id_librado=1"), 0);
         }},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.deleter);
        const int antes = Cuenta("[Documentos()]");
        c.borra();
        EXPECT_LT(Cuenta("[Documentos()]"), antes);
        EXPECT_EQ(Cuenta("[Conceptos()] WHERE Id_concepto NOT IN (SELECT Id_concepto FROM [Documentos()])"), 0)
            << "no concept outlives its bill";
        EXPECT_EQ(Cuenta("[Documentos()] WHERE Id_concepto NOT IN (SELECT Id_concepto FROM [Conceptos()])"), 0)
            << "a bill kept keeps its concept";
    }
}

// ---- Marked bills ----

TEST_F(Remesas, DeletingMarkedBillsKeepsTheLockedOneAndRewritesTheTotals)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(2, 5000)));
    const int primero = Entero("SELECT MIN(Id_documento) AS Id FROM [Documentos()]", "Id");
    const int retenido = primero + 4321; // far below the rows ever painted
    auto copia = Otra();
    ASSERT_EQ(copia->Pide("bloquea documento " + std::to_string(retenido) + " 0"), "1");
    Selecciona(ArbolRemesa, 2);
    m->ModeloRecibos->MarcaRango(0, 4999);
    ASSERT_LT(m->ModeloRecibos->FilasRetenidas(), 1000u) << "most rows were never painted";
    {
        RespondeCajas cajas({QMessageBox::Ok});
        m->cbtBaja->trigger();
        ASSERT_EQ(cajas.Vistas.size(), 2u);
        EsperaCaja(cajas.Vistas[0], 193, 194, QMessageBox::Question);
        EsperaCaja(cajas.Vistas[1], 639, 6, QMessageBox::Information);
    }
    EXPECT_EQ(Cuenta("[Documentos()] WHERE Id_remesa=2"), 1);
    const std::string importe =
        arranque::Valor("SELECT Importe FROM [Documentos()] WHERE Id_documento=" + std::to_string(retenido), "Importe");
    EXPECT_EQ(arranque::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=2", "Importe_total"), importe);
    EXPECT_TRUE(arranque::Espera([this] { return m->ModeloRecibos->rowCount() == 1; }));
    EXPECT_NE(copia->Pide("pasada").find(":3:2;"), std::string::npos) << "the bill-level notice for the batch";

    // Nothing marked: the question, no change, no notice, the totals still rewritten.
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET Importe_total=0 WHERE Id_remesa=2"));
    m->ModeloRecibos->DesmarcaTodas();
    RespondeCajas cajas({QMessageBox::Ok});
    m->cbtBajaClick();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EsperaCaja(cajas.Vistas[0], 193, 194, QMessageBox::Question);
    EXPECT_EQ(Cuenta("[Documentos()] WHERE Id_remesa=2"), 1);
    EXPECT_EQ(arranque::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=2", "Importe_total"), importe);
    EXPECT_EQ(copia->Pide("pasada"), "-");
}

TEST_F(Remesas, ActivatingSkipsErroneousBillsAndCountsLockedOnes)
{
    // Batch 1: bills 1 to 5 deactivated, 3 erroneous.
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,Activo) "
                                  "VALUES (1,1,1,1,0),(2,1,1,2,0),(3,1,1,3,0),(4,1,1,4,0),(5,1,1,5,0)"));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Situacion=1 WHERE Id_documento=3"));
    auto copia = Otra();
    ASSERT_EQ(copia->Pide("bloquea documento 4 0"), "1");
    Selecciona(ArbolRemesa, 1);
    ClicRecibo(1);
    ClicRecibo(5, Qt::ShiftModifier);
    ASSERT_EQ(Marcadas(), (std::vector<int>{1, 2, 3, 4, 5}));
    {
        RespondeCajas cajas;
        m->cbtSeleccionar->trigger();
        ASSERT_EQ(cajas.Vistas.size(), 1u) << "one box for the locked bill; the erroneous one counts nowhere";
        EsperaCaja(cajas.Vistas[0], 640, 6, QMessageBox::Information);
    }
    const basedatos::Result r =
        basedatos::query("SELECT Id_documento, Activo, Situacion FROM [Documentos()] ORDER BY Id_documento");
    const char *const activos[] = {"TRUE", "TRUE", "FALSE", "FALSE", "TRUE"};
    ASSERT_EQ(r.rows.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(basedatos::field(r.rows[i], "Activo"), activos[i]) << "bill " << i + 1;
    EXPECT_EQ(basedatos::field(r.rows[2], "Situacion"), "1");
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 1), "TRUE") << "the grid shows the new state";
    EXPECT_NE(copia->Pide("pasada").find(":3:1;"), std::string::npos);

    // Deactivating through the menu item.
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Block=0"));
    RespondeCajas ninguna;
    m->mainMenuDeseleccionar->trigger();
    EXPECT_TRUE(ninguna.Vistas.empty());
    EXPECT_EQ(Cuenta("[Documentos()] WHERE Activo=TRUE"), 0);
}

TEST_F(Remesas, ADoubleClickOnTheStateTogglesOneBill)
{
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,Activo) "
                                  "VALUES (1,1,1,1,1),(2,1,1,2,1),(3,1,1,3,0)"));
    Selecciona(ArbolRemesa, 1);
    ClicRecibo(1);
    ClicRecibo(3, Qt::ShiftModifier);
    QTableView *grid = m->lstGridDocumentos;
    const QRect celda = grid->visualRect(m->ModeloRecibos->index(1, 1));
    // A real double click: a click, then the second press as a double click.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, celda.center());
    const basedatos::Result r = basedatos::query("SELECT Activo FROM [Documentos()] ORDER BY Id_documento");
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(basedatos::field(r.rows[0], "Activo"), "TRUE");
    EXPECT_EQ(basedatos::field(r.rows[1], "Activo"), "FALSE") << "the bill clicked";
    EXPECT_EQ(basedatos::field(r.rows[2], "Activo"), "FALSE");
}

TEST_F(Remesas, AddAndModifyRunOnTheBillsGridThroughTheBillEditor)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 2)));
    Selecciona(ArbolRemesa, 1);
    for (QAction *a : {m->cbtAlta, m->mainMenuAlta, m->cbtModificacion, m->mainMenuModificacion}) {
        EXPECT_TRUE(TFormMain::EstadoTabla(a)) << a->objectName().toStdString();
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    }
    for (QAction *a : {m->cbtBaja, m->cbtSeleccionar, m->cbtDeseleccionar})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    Selecciona(ArbolEmisor, 1);
    EXPECT_TRUE(m->cbtAlta->isEnabled());
}

} // namespace
