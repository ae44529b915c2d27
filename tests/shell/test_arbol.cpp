// The navigation tree: nodes, captions and images by order type, the status bar, the
// readers of the selection, the current node and the keys after a rebuild, and the command
// enabling table at each level.
#include "arranque.h"

#include "qcp1252.h"
#include "ventanas.h"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using arranque::Carpeta;
using arranque::Ventanas;

// Company 1 with a CSB19 presenter whose two issuers' batches were stored interleaved, a
// CSB58 presenter written in lower case with one issuer and no batch, and a presenter of
// neither type without issuers; company 2 has no presenter.
const char *const kOrganizacion[] = {
    "INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre) VALUES (1,1,'B1','Empresa')",
    "INSERT INTO [_Empresas( Datos )] (Id_empresa,Id_usuario,Cif,Nombre) VALUES (2,1,'B2','Vac\xED" "a')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
    "VALUES (1,1,'CSB19','B1','000','Norte')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
    "VALUES (2,1,'csb58','B1','001','Sur')",
    "INSERT INTO [_Presentadores( Datos )] (Id_presentador,Id_empresa,Id_orden,Id_nif,Sufijo,Razon_social) "
    "VALUES (3,1,'OTRO','B1','002','Oeste')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Razon_social) VALUES (1,1,'Emisor A')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Razon_social) VALUES (2,1,'Emisor B')",
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Razon_social) VALUES (3,2,'Emisor C')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (1,1,'EUR','Enero')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (2,2,'EUR','Febrero')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (3,1,'ESP','Marzo')",
};

class Arbol : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *sql : kOrganizacion)
            ASSERT_TRUE(arranque::Ejecuta(sql)) << sql;
        m = ventanas.Main();
        m->MuestraEmpresa(1);
        m->statusMainWindow->show();
        m->RefrescaTextos();
    }

    // Selects the node; the tree tells the window 200 ms later.
    void Selecciona(QTreeWidgetItem *nodo)
    {
        m->treeInfoGlobal->setCurrentItem(nodo);
        ASSERT_TRUE(arranque::Espera([&] { return m->statusPanel[4]->text() == nodo->text(0); }));
    }

    QTreeWidgetItem *Empresa() const { return m->treeInfoGlobal->topLevelItem(0); }

    Carpeta carpeta;
    Ventanas ventanas;
    TFormMain *m = nullptr;
};

TEST_F(Arbol, NodesCaptionsAndImagesFollowTheOrderType)
{
    ASSERT_EQ(m->treeInfoGlobal->topLevelItemCount(), 1) << "a company without presenters is not shown";
    QTreeWidgetItem *empresa = Empresa();
    EXPECT_EQ(empresa->text(0), QStringLiteral("Empresa"));
    EXPECT_EQ(TFormMain::ImagenNodo(empresa), ImagenTVEmpresa);
    ASSERT_EQ(empresa->childCount(), 3);
    const struct {
        const char *texto;
        int imagen;
        int hijos;
    } presentadores[] = {
        {"(CSB19) Norte", ImagenTVCSB19, 2},
        {"(CSB58) Sur", ImagenTVCSB58, 1},
        {"Oeste", ImagenTVPresentador, 0},
    };
    for (int i = 0; i < 3; ++i) {
        QTreeWidgetItem *p = empresa->child(i);
        EXPECT_EQ(p->text(0), QLatin1String(presentadores[i].texto));
        EXPECT_EQ(TFormMain::ImagenNodo(p), presentadores[i].imagen) << presentadores[i].texto;
        EXPECT_EQ(p->childCount(), presentadores[i].hijos) << presentadores[i].texto;
    }
    QTreeWidgetItem *emisorA = empresa->child(0)->child(0);
    EXPECT_EQ(emisorA->text(0), QStringLiteral("Emisor A"));
    EXPECT_EQ(TFormMain::ImagenNodo(emisorA), ImagenTVEmisor);
    ASSERT_EQ(emisorA->childCount(), 2) << "one issuer is one node, whatever the order its batches were stored in";
    EXPECT_EQ(emisorA->child(1)->text(0), QStringLiteral("Marzo"));
    EXPECT_EQ(TFormMain::ImagenNodo(emisorA->child(1)), ImagenTVRemesa);
    EXPECT_EQ(TFormMain::IdNodo(emisorA->child(1)), "3");
    EXPECT_TRUE(m->treeInfoGlobal->isExpanded(m->treeInfoGlobal->indexFromItem(emisorA)));

    m->MuestraEmpresa(2);
    EXPECT_EQ(m->treeInfoGlobal->topLevelItemCount(), 0);
}

TEST_F(Arbol, StatusBarAndReadersFollowTheSelection)
{
    const struct {
        QTreeWidgetItem *nodo;
        const char *tipo;
        QColor color;
        int imagen; // the picture of the node's level
        const char *presentador, *emisor;
    } casos[] = {
        {Empresa()->child(0)->child(0)->child(1), "CSB19", QColor(0, 128, 0), ImagenTVRemesa, "1", "1"},
        {Empresa()->child(1)->child(0), "CSB58", QColor(0, 0, 255), ImagenTVEmisor, "2", "3"},
        {Empresa()->child(2), "-----", QColor(255, 0, 0), ImagenTVPresentador, "3", ""},
        {Empresa(), "-----", QColor(255, 0, 0), ImagenTVEmpresa, "", ""},
    };
    for (const auto &c : casos) {
        Selecciona(c.nodo);
        const std::string que = cp1252::fromQString(c.nodo->text(0));
        EXPECT_EQ(m->statusPanel[1]->text(), QLatin1String(c.tipo)) << que;
        EXPECT_EQ(m->statusPanel[1]->palette().color(QPalette::WindowText), c.color) << que;
        EXPECT_EQ(m->statusPanel[3]->pixmap().toImage(),
                  TFormMain::ImagenLista(c.imagen).pixmap(16, 16).toImage())
            << que;
        EXPECT_EQ(m->GetTipoOrden(), std::string(c.tipo) == "-----" ? "" : c.tipo) << que;
        EXPECT_EQ(m->GetIdPresentadorSeleccionado(), c.presentador) << que;
        EXPECT_EQ(m->GetIdEmisorSeleccionado(), c.emisor) << que;
    }
    EXPECT_EQ(m->statusPanel[0]->text(), QStringLiteral("Tipos de orden: "));
    Selecciona(Empresa()->child(0)->child(1)->child(0));
    EXPECT_EQ(m->GetNombrePresentadorSeleccionado(), "(CSB19) Norte");
    EXPECT_EQ(m->GetNombreEmisorSeleccionado(), "Emisor B");
    m->SetTextoNodo("2", "Febrero bis");
    EXPECT_EQ(Empresa()->child(0)->child(1)->child(0)->text(0), QStringLiteral("Febrero")) << "not a child of it";
    Selecciona(Empresa()->child(0)->child(1));
    m->SetTextoNodo("2", "Febrero bis");
    EXPECT_EQ(Empresa()->child(0)->child(1)->child(0)->text(0), QStringLiteral("Febrero bis"));
}

TEST_F(Arbol, AfterEveryRebuildTheFirstNodeIsCurrentUnselectedAndTheTreeHasTheKeys)
{
    m->SaltarLogin = true; // logged in already: the fixture made company 1 current
    ASSERT_TRUE(Activa(m));
    QTreeWidget *arbol = m->treeInfoGlobal;
    for (const char *cuando : {"after the login", "after a rebuild that lost the selection"}) {
        EXPECT_EQ(QApplication::focusWidget(), arbol) << cuando;
        EXPECT_EQ(arbol->currentItem(), Empresa()) << cuando;
        EXPECT_TRUE(arbol->selectedItems().isEmpty()) << cuando;
        EXPECT_EQ(m->NodoSeleccionado(), nullptr) << cuando;
        arranque::Espera([] { return false; }, 300); // the tree's change runs, for no node
        EXPECT_TRUE(m->statusPanel[4]->text().isEmpty()) << cuando;

        // The arrows move from the current node, and the selection follows.
        QTest::keyClick(arbol, Qt::Key_Down);
        ASSERT_TRUE(arranque::Espera([&] { return m->statusPanel[4]->text() == QStringLiteral("(CSB19) Norte"); }))
            << cuando;
        EXPECT_EQ(m->GetIdPresentadorSeleccionado(), "1");
        QTest::keyClick(arbol, Qt::Key_Down);
        QTest::keyClick(arbol, Qt::Key_Down);
        ASSERT_TRUE(arranque::Espera([&] { return m->GetIdEmisorSeleccionado() == "1"; }));
        m->CargaArbol(m->IdEmpresa);
        EXPECT_EQ(m->GetIdPresentadorSeleccionado(), "") << "a rebuild loses the selection";
        EXPECT_EQ(m->GetTipoOrden(), "");
    }

    // Space selects the current node, as a click does.
    QTest::keyClick(arbol, Qt::Key_Space);
    EXPECT_TRUE(arranque::Espera([&] { return m->statusPanel[4]->text() == QStringLiteral("Empresa"); }));
}

TEST_F(Arbol, ALongCaptionScrollsSidewaysAndShowsWholeAsItsTooltip)
{
    const QString larga = QStringLiteral("REMESA DE RECIBOS DOMICILIADOS DE CLIENTES DE MARZO");
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET Descripcion='" + cp1252::fromQString(larga) +
                                  "' WHERE Id_remesa=3"));
    m->SaltarLogin = true;
    ASSERT_TRUE(Activa(m));
    m->CargaArbol(m->IdEmpresa);
    QApplication::processEvents();
    QTreeWidgetItem *remesa = Empresa()->child(0)->child(0)->child(1);
    ASSERT_EQ(remesa->text(0), larga);
    EXPECT_EQ(remesa->data(0, Qt::ToolTipRole).toString(), larga);
    EXPECT_GT(m->treeInfoGlobal->horizontalScrollBar()->maximum(), 0) << "the panel keeps its width";
    m->treeInfoGlobal->horizontalScrollBar()->setValue(m->treeInfoGlobal->horizontalScrollBar()->maximum());
    EXPECT_LE(m->treeInfoGlobal->visualItemRect(remesa).right(), m->treeInfoGlobal->viewport()->width());
}

TEST_F(Arbol, EnablingTableAtEachLevel)
{
    // The items of each row of the table, and their expected state at levels 0, 1, 2 and 3
    // for the nodes below.
    struct Fila {
        std::vector<QAction *> items;
        const char *estados; // '1' on, '0' off, '-' as before
        const char *porque;
    };
    QAction *masivas = m->mainMenuModificacionesMasivas->menuAction();
    const Fila filas[] = {
        {{m->MNUCambiarMonedaRemesa, m->BTNCambiaMoneda}, "0010", "on at an issuer whose batches grid has rows"},
        {{m->cbtHistorico, m->MNUHistoricos}, "0010", "issuer only"},
        {{m->cbtInformeRecibos, m->mainMenuInformeRecibos}, "0001", "batch only"},
        {{m->cbtInformeLibrados, m->mainMenuInformeLibrados, m->cbtMasterInforme, m->mainMenuInformes->menuAction()},
         "0011", "issuer and batch"},
        {{masivas, m->cbtModMasivas}, "0000", "a batch with no bill selected turns it off again"},
        {{m->cbtAltaRapida, m->MNUAltarpidaremesas1}, "11-1", "left as it was at an issuer"},
        {{m->cbtImportar, m->mainMenuImportar}, "11--", "only turned on"},
        {{m->cbtAlta, m->mainMenuAlta}, "0011", "issuer and batch"},
        {{m->cbtBaja, m->mainMenuBaja, m->cbtModificacion, m->mainMenuModificacion}, "0010",
         "a selected batch row; no bill rows"},
        {{m->cbtSeleccionar, m->cbtDeseleccionar, m->mainMenuSeleccionar, m->mainMenuDeseleccionar}, "0000",
         "only with bill rows"},
        {{m->cbtExportar, m->mainMenuFichero}, "0111", "a presenter or issuer with children, any batch"},
        {{m->cbtMantenimientoLibrados, m->mainMenuMantenimientoLibrados}, "0011", "issuer and batch"},
    };
    QTreeWidgetItem *nodos[] = {Empresa(), Empresa()->child(0), Empresa()->child(0)->child(0),
                                Empresa()->child(0)->child(0)->child(0)};
    // A batch row shown and selected in the issuer's grid.
    m->lstGridRemesas->setRowCount(1);
    m->lstGridRemesas->selectRow(0);
    for (int nivel = 0; nivel < 4; ++nivel) {
        // Everything turned the other way first, so that "left as it was" shows.
        for (const Fila &f : filas)
            for (QAction *a : f.items)
                a->setProperty("estadoTabla", nivel == 2);
        Selecciona(nodos[nivel]);
        for (const Fila &f : filas) {
            const char estado = f.estados[nivel];
            const bool esperado = estado == '-' ? nivel == 2 : estado == '1';
            for (QAction *a : f.items)
                EXPECT_EQ(TFormMain::EstadoTabla(a), esperado)
                    << a->objectName().toStdString() << " at level " << nivel << ": " << f.porque;
        }
    }
    Selecciona(Empresa()->child(2));
    EXPECT_FALSE(TFormMain::EstadoTabla(m->cbtExportar)) << "a presenter without issuers";
    Selecciona(Empresa()->child(1)->child(0));
    EXPECT_FALSE(TFormMain::EstadoTabla(m->cbtExportar)) << "an issuer without batches";

    // Commands whose windows do not exist stay disabled whatever the table says.
    EXPECT_TRUE(TFormMain::EstadoTabla(m->MNUIngles));
    EXPECT_FALSE(m->MNUIngles->isEnabled());
    EXPECT_TRUE(m->cbtMantenimientoLibrados->isEnabled()) << "the drawee window's command, at an issuer";
    EXPECT_TRUE(m->cbtAlta->isEnabled()) << "the batch editor's command, on the batches grid";
    EXPECT_TRUE(m->cbtSalir->isEnabled());
    EXPECT_TRUE(m->mainMenuFinalizarSesion->isEnabled());
}

} // namespace
