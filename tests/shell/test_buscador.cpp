// The search window on the main window's grids: the column list, the comparison with what a
// cell shows, the bills never painted, find-next, and Ctrl+F from the keyboard.
#include "rejillas.h"

#include "Aplicacion.h"
#include "Buscador.h"
#include "Multiidioma.h"
#include "ventanas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

using rejillas::Texto;

std::string TextoTabla(int n)
{
    return Idioma.GetTexto(n);
}

class Buscador : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        b = App().FormBuscador;
        ASSERT_NE(b, nullptr);
    }

    // A new search on the visible grid for texto in the column titled campo, without the
    // window; gives the message boxes it showed.
    std::vector<CajaVista> Busca(int campo, const std::string &texto)
    {
        SetupSearch(b, m->GridVisible(), 0);
        b->cbxField->setCurrentText(cp1252::toQString(TextoTabla(campo)));
        b->txtTextToFind->setText(cp1252::toQString(texto));
        RespondeCajas cajas;
        b->cbtBuscarClick();
        return cajas.Vistas;
    }

    std::vector<CajaVista> Siguiente()
    {
        RespondeCajas cajas;
        m->mainBuscarsiguiente->trigger();
        return cajas.Vistas;
    }

    int FilaRemesas() const { return m->FilaSeleccion(m->lstGridRemesas); }

    TFormBuscador *b = nullptr;
};

TEST_F(Buscador, BlankTitlesAreLeftOutAndLaterColumnsStillMatch)
{
    Selecciona(ArbolEmisor, 1);
    SetupSearch(b, m->lstGridRemesas, 0);
    ASSERT_EQ(b->cbxField->count(), 5);
    EXPECT_EQ(cp1252::fromQString(b->cbxField->itemText(0)), TextoTabla(188));
    EXPECT_EQ(b->ListaColumnas.size(), 7u);
    EXPECT_TRUE(b->txtTextToFind->text().isEmpty());
    EXPECT_FALSE(b->cbtBuscar->isEnabled());

    EXPECT_TRUE(Busca(188, "Febrero").empty());
    EXPECT_EQ(FilaRemesas(), 2);
    EXPECT_EQ(b->FilaSiguiente, 3);
}

TEST_F(Buscador, IssueStateIsSearchedAsItShowsAndCaseCounts)
{
    Selecciona(ArbolEmisor, 1);
    EXPECT_TRUE(Busca(347, TextoTabla(190)).empty());
    EXPECT_EQ(FilaRemesas(), 2) << "Sin emisi\xF3n";
    EXPECT_TRUE(Busca(347, TextoTabla(189)).empty());
    EXPECT_EQ(FilaRemesas(), 1) << "Con emisi\xF3n";

    for (const std::string &texto : {std::string("febrero"), TextoTabla(188)}) {
        const std::vector<CajaVista> cajas = Busca(188, texto);
        ASSERT_EQ(cajas.size(), 1u) << texto;
        EXPECT_EQ(cp1252::fromQString(cajas[0].texto), TextoTabla(123));
        EXPECT_EQ(cp1252::fromQString(cajas[0].titulo), TextoTabla(124));
        EXPECT_EQ(cajas[0].icono, QMessageBox::Information);
        EXPECT_EQ(FilaRemesas(), 1) << "the grid is left as it was";
    }
}

TEST_F(Buscador, FindNextGoesOnAfterAHitAndFromTheTopAfterAMiss)
{
    Selecciona(ArbolEmisor, 1);
    EXPECT_TRUE(Busca(188, "e").empty());
    EXPECT_EQ(FilaRemesas(), 1);
    EXPECT_TRUE(Siguiente().empty());
    EXPECT_EQ(FilaRemesas(), 2);
    EXPECT_EQ(Siguiente().size(), 1u) << "nothing after the last hit";
    EXPECT_EQ(b->FilaSiguiente, 0);
    EXPECT_TRUE(Siguiente().empty());
    EXPECT_EQ(FilaRemesas(), 1) << "from the top again";

    Selecciona(ArbolEmpresa, 1);
    EXPECT_TRUE(Siguiente().empty()) << "another grid: nothing happens";
}

TEST_F(Buscador, BillsNeverPaintedAreFoundAsTheyWouldShowAndAloneMarked)
{
    ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(1, 300)));
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,"
                                  "Razon_social,Cuenta) VALUES (9,1,'R9','Zurita','30040001110123456789')"));
    ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) "
                                  "VALUES (1,9,4.00,666)"));
    Selecciona(ArbolRemesa, 1);
    ClicRecibo(3);
    ASSERT_LT(m->ModeloRecibos->FilasRetenidas(), 301u);

    EXPECT_TRUE(Busca(7, "3004-0001").empty()) << "the account in its groups";
    EXPECT_EQ(m->FilaActualRecibos(), 301);
    EXPECT_EQ(Marcadas(), std::vector<int>{301});
    EXPECT_EQ(m->FilaGrid, 301);
    EXPECT_EQ(Texto(m->lstGridDocumentos, 301, 3), "Zurita");
    EXPECT_EQ(b->FilaSiguiente, 302);
}

TEST_F(Buscador, CtrlFShowsTheWindowAndItsSearchSelectsTheRow)
{
    Selecciona(ArbolEmisor, 1);
    m->lstGridRemesas->setFocus();
    bool mostrado = false;
    AlMostrarse<TFormBuscador>([&](TFormBuscador *ventana) {
        mostrado = true;
        EXPECT_EQ(cp1252::fromQString(ventana->windowTitle()), TextoTabla(442));
        Teclea(ventana->txtTextToFind, "Febr");
        EXPECT_TRUE(ventana->cbtBuscar->isEnabled());
        QTest::keyClick(ventana->txtTextToFind, Qt::Key_Return);
    });
    QTest::keyClick(m->lstGridRemesas, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(mostrado);
    EXPECT_FALSE(b->isVisible());
    EXPECT_EQ(FilaRemesas(), 2);
}

} // namespace
