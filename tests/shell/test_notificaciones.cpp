// The main window applying the change notices of another running copy (a process of its
// own, posting as a user of our choice): what each level refreshes, and the wait while a
// command runs.
#include "rejillas.h"

#include "Aplicacion.h"
#include "Editremesas.h"
#include "Exportar.h"
#include "General.h"
#include "Login.h"
#include "Multiuser.h"
#include "copias.h"
#include "ventanas.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using rejillas::Texto;

class Notificaciones : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        App().FormLogin->LoginData.Id_usuario = "1";
        copia = std::make_unique<copias::Copia>(carpeta.BD());
        ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("usuario 1");
    }

    // The other copy posts the notice as the user; this copy reads it.
    void Avisa(int nivel, int id, int usuario = 1)
    {
        copia->Pide("usuario " + std::to_string(usuario));
        ASSERT_EQ(copia->Pide("notifica " + std::to_string(nivel) + " " + std::to_string(id)), "ok");
        App().Multiuser->LeeActualizaciones();
    }

    // Lets the tree's change after a rebuild run.
    void Asienta() { QTest::qWait(400); }

    int FilasRecibos() const { return m->ModeloRecibos->rowCount(); }

    static bool NuevoRecibo(int remesa, const char *importe = "7.00")
    {
        return arranque::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) VALUES (" +
                                 std::to_string(remesa) + ",1," + importe + ",1165)");
    }

    std::unique_ptr<copias::Copia> copia;
};

TEST_F(Notificaciones, BillsOfTheBatchInViewFromTheSameUserShowAtOnce)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_EQ(FilasRecibos(), 0);
    ASSERT_TRUE(NuevoRecibo(1));
    Avisa(NIVEL_DOCUMENTOS, 1);
    EXPECT_EQ(FilasRecibos(), 1);
    EXPECT_EQ(m->lblTotalRecibos->text(), "1");
    EXPECT_EQ(Marcadas(), std::vector<int>{1}) << "the current row is marked";
}

TEST_F(Notificaciones, BillsNoticesOfAnotherUserOrOfABatchNotShownChangeNothing)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(NuevoRecibo(1));
    Avisa(NIVEL_DOCUMENTOS, 1, 2);
    EXPECT_EQ(FilasRecibos(), 0) << "another user's copy";
    Avisa(NIVEL_DOCUMENTOS, 99);
    EXPECT_EQ(FilasRecibos(), 0) << "a batch not in the tree";
    Avisa(NIVEL_DOCUMENTOS, 2);
    EXPECT_EQ(FilasRecibos(), 0) << "a batch in the tree but not in view";
}

TEST_F(Notificaciones, BillsNoticeUnderTheIssuerReloadsItsBatches)
{
    Selecciona(ArbolEmisor, 1);
    ASSERT_TRUE(NuevoRecibo(2, "12"));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET Importe_total=1012 WHERE Id_remesa=2"));
    Avisa(NIVEL_DOCUMENTOS, 2);
    EXPECT_EQ(Texto(m->lstGridRemesas, 2, 6), FormatImporte("1012", kMonedaPesetas));
}

TEST_F(Notificaciones, OrganisationNoticeAfterTheBatchWasDeletedSelectsTheCompany)
{
    Selecciona(ArbolRemesa, 2);
    ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Remesas()] WHERE Id_remesa=2"));
    Avisa(NIVEL_TODO, 0);
    Asienta();
    QTreeWidgetItem *nodo = m->NodoSeleccionado();
    ASSERT_NE(nodo, nullptr);
    EXPECT_EQ(TFormMain::GetNivelNodo(nodo), ArbolEmpresa);
    EXPECT_EQ(Nodo(ArbolRemesa, 2), nullptr);
    EXPECT_FALSE(m->panelGrdEmpresas->isHidden());
    EXPECT_EQ(m->lstGridPresentadores->rowCount(), 2);
}

TEST_F(Notificaciones, BatchesNoticeReselectsTheBatchAndItsTotalsWithoutReloadingItsBills)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET Descripcion='Enero bis' WHERE Id_remesa=1"));
    ASSERT_TRUE(NuevoRecibo(1));
    Avisa(NIVEL_REMESAS, 1);
    Asienta();
    QTreeWidgetItem *nodo = m->NodoSeleccionado();
    ASSERT_NE(nodo, nullptr);
    EXPECT_EQ(TFormMain::IdNodo(nodo), "1");
    EXPECT_EQ(nodo->text(0), "Enero bis");
    EXPECT_EQ(m->lblTotalRecibos->text(), "1") << "totals recomputed";
    EXPECT_EQ(FilasRecibos(), 0) << "bills not reloaded";
    EXPECT_TRUE(m->GridsActivos);
}

TEST_F(Notificaciones, DraweesNoticeActsOnlyUnderAPresenterOfItsOrderType)
{
    Selecciona(ArbolRemesa, 1); // under the CSB19 presenter
    ASSERT_TRUE(NuevoRecibo(1));
    Avisa(NIVEL_LIBRADOS, 1);
    EXPECT_EQ(FilasRecibos(), 0) << "CSB58 drawees";
    Avisa(NIVEL_LIBRADOS, 0);
    EXPECT_EQ(FilasRecibos(), 1) << "CSB19 drawees";
}

TEST_F(Notificaciones, UsersNoticeReloadsTheLoginListAndLeavesTheMainWindow)
{
    Selecciona(ArbolRemesa, 1);
    TFormLogin *login = App().FormLogin;
    login->show();
    const int usuarios = login->txtUsuario->count();
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [_Usuarios()] (Cod_usuario,Password,Nombre_usuario,Permisos,Activo) "
                                  "VALUES ('OTRO','','Otro','00000000000000000000',1)"));
    Avisa(NIVEL_USUARIOS, 0, 2);
    EXPECT_EQ(login->txtUsuario->count(), usuarios + 1);
    login->hide();
    EXPECT_EQ(TFormMain::IdNodo(m->NodoSeleccionado()), "1");
}

TEST_F(Notificaciones, EmptiedTreeHidesTheGridsAndTheNodeCommands)
{
    Selecciona(ArbolEmisor, 1);
    ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [_Presentadores( Datos )]"));
    Avisa(NIVEL_TODO, 0);
    Asienta();
    EXPECT_EQ(m->treeInfoGlobal->topLevelItemCount(), 0);
    for (QWidget *panel : {m->panelGrdEmpresas, m->panelGrdEmisores, m->panelGrdRemesas, m->panelGrdDocumentos})
        EXPECT_TRUE(panel->isHidden());
    EXPECT_FALSE(m->cbtAlta->isEnabled());
    EXPECT_FALSE(m->cbtBaja->isEnabled());
}

TEST_F(Notificaciones, NoticeDuringACommandWaitsForItsEnd)
{
    Selecciona(ArbolRemesa, 1);
    ASSERT_TRUE(NuevoRecibo(1));
    QAction accion;
    accion.setObjectName(QStringLiteral("accionPrueba"));
    size_t durante = 0;
    int filasDurante = -1;
    m->Conecta(&accion, [&] {
        Avisa(NIVEL_DOCUMENTOS, 1);
        durante = m->AvisosPendientes();
        filasDurante = FilasRecibos();
    });
    accion.setEnabled(true); // the enabling table knows no such item
    accion.trigger();
    EXPECT_EQ(durante, 1u);
    EXPECT_EQ(filasDurante, 0);
    EXPECT_TRUE(arranque::Espera([&] { return FilasRecibos() == 1; }));
    EXPECT_EQ(m->AvisosPendientes(), 0u);
}

TEST_F(Notificaciones, NoticesDuringAModalWindowApplyInOrderAfterIt)
{
    Selecciona(ArbolEmisor, 1);
    m->lstGridRemesas->setCurrentCell(0, 3);
    bool mostrado = false;
    AlMostrarse<TFormEditRemesas>([&](TFormEditRemesas *editor) {
        mostrado = true;
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) "
                                      "VALUES (9,1,'EUR','Nueva')"));
        Avisa(NIVEL_REMESAS, 1);
        ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Remesas()] WHERE Id_remesa=9"));
        Avisa(NIVEL_TODO, 0);
        EXPECT_EQ(m->AvisosPendientes(), 2u);
        EXPECT_EQ(Nodo(ArbolRemesa, 9), nullptr) << "the tree under the window is left alone";
        editor->cbtCancel->click();
    });
    m->cbtModificacion->trigger();
    ASSERT_TRUE(mostrado);
    EXPECT_TRUE(arranque::Espera([&] { return m->AvisosPendientes() == 0; }));
    Asienta();
    EXPECT_EQ(Nodo(ArbolRemesa, 9), nullptr);
    EXPECT_EQ(TFormMain::IdNodo(m->NodoSeleccionado()), "1");
    EXPECT_EQ(m->lstGridRemesas->rowCount(), 2);
}

TEST_F(Notificaciones, TheSendFileWindowReloadsItsBatchesForTheNoticesTheMainWindowTakes)
{
    Selecciona(ArbolRemesa, 1);
    TFormExportar *exportar = App().FormExportar;
    exportar->show();
    ASSERT_EQ(exportar->lstRemesas->topLevelItemCount(), 2);
    int siguiente = 10;
    const struct {
        int nivel, id, usuario;
        bool recarga;
        const char *por;
    } casos[] = {
        {NIVEL_DOCUMENTOS, 1, 2, false, "bills, another user's copy"},
        {NIVEL_DOCUMENTOS, 99, 1, false, "bills of a batch not in the tree"},
        {NIVEL_USUARIOS, 0, 1, false, "users"},
        {NIVEL_LIBRADOS, 0, 1, false, "drawees"},
        {NIVEL_DOCUMENTOS, 2, 1, true, "bills of a batch in the tree"},
        {NIVEL_REMESAS, 1, 2, true, "batches of an issuer in the tree, any user"},
        {NIVEL_TODO, 0, 2, true, "the organisation"},
    };
    for (const auto &c : casos) {
        const int antes = exportar->lstRemesas->topLevelItemCount();
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (" +
                                      std::to_string(siguiente++) + ",1,'EUR','Nueva')"));
        Avisa(c.nivel, c.id, c.usuario);
        EXPECT_EQ(exportar->lstRemesas->topLevelItemCount(), c.recarga ? siguiente - 8 : antes) << c.por;
        Asienta();
    }
    exportar->hide();
}

TEST_F(Notificaciones, SeleccionaNodoFallsBackToTheCompany)
{
    EXPECT_EQ(TFormMain::IdNodo(m->SeleccionaNodo(ArbolRemesa, 3)), "3");
    EXPECT_EQ(TFormMain::GetNivelNodo(m->SeleccionaNodo(ArbolRemesa, 3)), ArbolRemesa);
    QTreeWidgetItem *nodo = m->SeleccionaNodo(ArbolRemesa, 77);
    EXPECT_EQ(TFormMain::GetNivelNodo(nodo), ArbolEmpresa);
    EXPECT_EQ(m->NodoSeleccionado(), nodo);
}

} // namespace
