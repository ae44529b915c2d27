// The bills grid's model in the main window: lazy reading of large batches, the row marks by
// mouse and keys, marks that follow their bills across a refresh, and the marked bills'
// list.
#include "rejillas.h"

#include "vasqdb.h"

#include <QScrollBar>
#include <QSignalSpy>

namespace {

using rejillas::Rejillas;
using rejillas::Texto;
using rejillas::RecibosEnSerie;

class Recibos : public Rejillas {
protected:
    // Loads cuantos bills into batch 1 and shows it.
    void AbreRemesa(int cuantos, int primerLibrado = 1, int librados = 2)
    {
        ASSERT_TRUE(arranque::Ejecuta(RecibosEnSerie(1, cuantos, primerLibrado, librados)));
        m->MuestraEmpresa(1);
        Selecciona(ArbolRemesa, 1);
        ASSERT_EQ(m->NumFilasRecibos, cuantos);
    }

    int FilasEnPantalla() const
    {
        const QTableView *grid = m->lstGridDocumentos;
        return grid->rowAt(grid->viewport()->height() - 1) - grid->rowAt(0) + 1;
    }

    void Tecla(int tecla, Qt::KeyboardModifiers teclas = {}) const
    {
        QTest::keyClick(m->lstGridDocumentos, Qt::Key(tecla), teclas);
    }

    // The Id_documento of grid row fila.
    int Id(int fila) const { return m->ModeloRecibos->IdFila(fila - 1); }

    entorno::Regional regional{false};
};

TEST_F(Recibos, ALargeBatchReadsOnlyTheRowsInView)
{
    ASSERT_TRUE(arranque::Ejecuta(RecibosEnSerie(1, 50000)));
    m->MuestraEmpresa(1);
    const TModeloRecibos *modelo = m->ModeloRecibos;
    long antes = modelo->FilasIndiceLeidas();
    Selecciona(ArbolRemesa, 1);
    ASSERT_EQ(m->NumFilasRecibos, 50000);
    const int pantalla = FilasEnPantalla();
    ASSERT_GT(pantalla, 5);
    EXPECT_GE(modelo->FilasIndiceLeidas() - antes, pantalla);
    EXPECT_LE(modelo->FilasIndiceLeidas() - antes, pantalla + 2) << "about one screen of the index";

    QSignalSpy cambios(modelo, &QAbstractItemModel::dataChanged);
    QScrollBar *barra = m->lstGridDocumentos->verticalScrollBar();
    antes = modelo->FilasIndiceLeidas();
    barra->setValue(barra->value() + 5);
    EXPECT_EQ(modelo->FilasIndiceLeidas() - antes, 5) << "only the rows coming into view";

    m->lstGridDocumentosTopLeftChanged(true);
    EXPECT_EQ(cambios.count(), 0) << "re-reading unchanged rows signals nothing";
    const int id = Id(8);
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Documentos()] SET Importe=77777 WHERE Id_documento=" + std::to_string(id)));
    m->lstGridDocumentosTopLeftChanged(true);
    ASSERT_EQ(cambios.count(), 1);
    EXPECT_EQ(cambios.first().at(0).toModelIndex().row(), 7);
    EXPECT_EQ(Texto(m->lstGridDocumentos, 8, 5), "77,777.00");

    for (int paso = 0; paso < 200; ++paso)
        barra->setValue(barra->value() + pantalla);
    barra->setValue(barra->maximum());
    EXPECT_LE(modelo->FilasRetenidas(), size_t(std::max(200, 5 * pantalla))) << "what is held stays bounded";
    EXPECT_EQ(Texto(m->lstGridDocumentos, 50000, 0), std::to_string(Id(50000)));
}

TEST_F(Recibos, ClicksAndKeysMarkAsTheUserExpects)
{
    AbreRemesa(30);
    using Filas = std::vector<int>;
    EXPECT_EQ(Marcadas(), Filas{1}) << "the first row is marked when the batch opens";
    const struct {
        std::function<void()> accion;
        Filas marcadas;
        int actual, ancla;
        const char *que;
    } pasos[] = {
        {[&] { ClicRecibo(3); }, {3}, 3, 3, "a plain click marks its row alone"},
        {[&] { ClicRecibo(5, Qt::ControlModifier); }, {3, 5}, 5, 3, "Ctrl adds a row"},
        {[&] { ClicRecibo(5, Qt::ControlModifier); }, {3}, 0, 3, "Ctrl on a marked row unmarks it, no row stays current"},
        {[&] { ClicRecibo(7, Qt::ShiftModifier); }, {3, 4, 5, 6, 7}, 7, 3, "Shift marks from the anchor down"},
        {[&] { ClicRecibo(1, Qt::ShiftModifier); }, {1, 2, 3}, 1, 3, "and up, the others unmarked"},
        {[&] { ClicRecibo(3); }, {3}, 3, 3, ""},
        {[&] { Tecla(Qt::Key_Down, Qt::ShiftModifier); }, {3, 4}, 4, 3, "Shift+Down"},
        {[&] { Tecla(Qt::Key_Down, Qt::ShiftModifier); }, {3, 4, 5}, 5, 3, "Shift+Down twice from 3 marks 3 to 5"},
        {[&] { Tecla(Qt::Key_Down); }, {6}, 6, 6, "then Down marks the next row only"},
        {[&] { Tecla(Qt::Key_Down, Qt::ControlModifier); }, {6}, 7, 6, "Ctrl+Down moves without marking"},
        {[&] { Tecla(Qt::Key_Space, Qt::ControlModifier); }, {6, 7}, 7, 6, "Ctrl+Space marks the current row"},
        {[&] { Tecla(Qt::Key_Space, Qt::ControlModifier); }, {6}, 7, 6, "and unmarks it"},
        {[&] { Tecla(Qt::Key_Space); }, {6}, 7, 6, "Space alone marks nothing"},
        {[&] { Tecla(Qt::Key_Up); }, {6}, 6, 6, "Up marks the row above"},
        {[&] { ClicRecibo(1); }, {1}, 1, 1, ""},
        {[&] { Tecla(Qt::Key_Up); }, {1}, 1, 1, "not above the first row"},
        {[&] { Tecla(Qt::Key_Up, Qt::ControlModifier); }, {1}, 1, 1, ""},
        {[&] { ClicRecibo(30); }, {30}, 30, 30, ""},
        {[&] { Tecla(Qt::Key_Down); }, {30}, 30, 30, "not past the last row"},
    };
    for (const auto &p : pasos) {
        p.accion();
        EXPECT_EQ(Marcadas(), p.marcadas) << p.que;
        EXPECT_EQ(m->FilaActualRecibos(), p.actual) << p.que;
        EXPECT_EQ(m->FilaGrid, p.ancla) << p.que;
    }
    EXPECT_TRUE(m->FilaSeleccion(m->lstGridDocumentos) == 30);
}

TEST_F(Recibos, MarksFollowTheirBillsAcrossARefresh)
{
    AbreRemesa(10, 2, 1); // all of drawee 2 (Bravo): by key
    ClicRecibo(4);
    ClicRecibo(6, Qt::ShiftModifier);
    const std::vector<int> marcadas = {Id(4), Id(5), Id(6)};
    const int primera = Id(1);
    // Another running copy adds two bills of drawee 1 (sorted before) and deletes the
    // first bill and the marked row 5's.
    for (const std::string &sql :
         {std::string("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) VALUES (1,1,5,832)"),
          std::string("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) VALUES (1,1,6,998)"),
          "DELETE FROM [Documentos()] WHERE Id_documento IN (" + std::to_string(primera) + "," +
              std::to_string(marcadas[1]) + ")"}) {
        int filas = 0;
        ASSERT_EQ(C_Exec(sql.c_str(), &filas), 0) << sql;
    }
    m->RefrescaRecibos();
    ASSERT_EQ(m->NumFilasRecibos, 10);
    // Before: rows 4, 5, 6. Now two rows come before and one is gone: 5 and 6, the current
    // bill (row 6 before) at row 6 and marked.
    EXPECT_EQ(Marcadas(), (std::vector<int>{5, 6}));
    EXPECT_EQ(Id(5), marcadas[0]);
    EXPECT_EQ(Id(6), marcadas[2]);
    EXPECT_EQ(m->FilaActualRecibos(), 6);
    EXPECT_EQ(m->GetRecibosSeleccionados(),
              (std::vector<std::string>{std::to_string(marcadas[0]), std::to_string(marcadas[2])}));
    EXPECT_EQ(Texto(m->lstGridDocumentos, 1, 3), "\xC1lvarez") << "the rows in view show the new bills";

    // Deleting the current bill leaves its row current and marked.
    int filas = 0;
    ASSERT_EQ(C_Exec(("DELETE FROM [Documentos()] WHERE Id_documento=" + std::to_string(marcadas[2])).c_str(), &filas),
              0);
    m->RefrescaRecibos();
    EXPECT_EQ(m->NumFilasRecibos, 9);
    EXPECT_EQ(m->FilaActualRecibos(), 6);
    EXPECT_EQ(Marcadas(), (std::vector<int>{5, 6}));
}

TEST_F(Recibos, TheMarkedListNamesBillsNeverShown)
{
    AbreRemesa(5000);
    ClicRecibo(2);
    m->lstGridDocumentosMouseDown(4001, Qt::ShiftModifier);
    const auto lista = m->GetRecibosSeleccionados();
    ASSERT_TRUE(lista.has_value());
    ASSERT_EQ(lista->size(), 4000u);
    EXPECT_EQ(lista->front(), std::to_string(Id(2)));
    EXPECT_EQ(lista->back(), std::to_string(Id(4001)));
    EXPECT_LT(m->ModeloRecibos->FilasRetenidas(), 500u) << "the rows between were never read";

    Selecciona(ArbolEmisor, 1);
    EXPECT_FALSE(m->GetRecibosSeleccionados().has_value()) << "no list while the bills grid is hidden";
}

TEST_F(Recibos, AnIndexRowLongerThanAnyBufferIsReadWhole)
{
    AbreRemesa(3);
    // An index whose rows carry 5,000 characters before the key.
    const std::string largo = "SELECT '" + std::string(5000, 'x') +
                              "' AS Relleno, [Documentos()].Id_documento FROM [Documentos()] WHERE Id_remesa=1 "
                              "ORDER BY Id_documento DESC";
    ASSERT_EQ(m->ModeloRecibos->Abre(largo, "EUR"), 0);
    EXPECT_EQ(m->ModeloRecibos->IdFila(0), 3);
    EXPECT_EQ(m->ModeloRecibos->Celda(2, 0), "1");
}

} // namespace
