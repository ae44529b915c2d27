// The main window's batch currency switch on the real database, with a running copy in
// another process as the other user: the row, the button and the totals after the commit,
// the notice, and the refusals that change nothing.
#include "rejillas.h"

#include "Aplicacion.h"
#include "General.h"
#include "Multiidioma.h"
#include "Totalesremesa.h"
#include "copias.h"
#include "entorno.h"
#include "ventanas.h"

#include <QMenu>
#include <QProgressBar>

namespace {

using rejillas::Texto;

class ComandoMoneda : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        // Batch 2 (pesetas) holds bill 1 of 1000 pesetas and bills 2 to 2500 of as many pesetas
    // as their number (enough for the progress bar).
        ASSERT_TRUE(arranque::Ejecuta("INSERT INTO [Documentos()] (Id_documento,Id_remesa,Id_librado,Importe,"
                                      "Contravalor) VALUES (1,2,1,'1000','6.01')"));
        ASSERT_TRUE(arranque::Ejecuta(
            "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) WITH RECURSIVE n(i) AS (SELECT 2 "
            "UNION ALL SELECT i+1 FROM n WHERE i<2500) SELECT 2,1,i,printf('%.2f',i/166.386) FROM n"));
        ASSERT_EQ(::ActualizaTotalesRemesa("2"), "");
        copia = std::make_unique<copias::Copia>(carpeta.BD());
        ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("pasada");
        Selecciona(ArbolEmisor, 1);
        m->lstGridRemesas->setCurrentCell(1, 3);
    }

    static std::string Valor(const std::string &sql, const std::string &campo) { return arranque::Valor(sql, campo); }
    static std::string Moneda() { return Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=2", "Id_moneda"); }
    static std::string Recibo1(const char *campo)
    {
        return Valor(std::string("SELECT ") + campo + " FROM [Documentos()] WHERE Id_documento=1", campo);
    }

    std::unique_ptr<copias::Copia> copia;
    entorno::Regional regional{true};
};

TEST_F(ComandoMoneda, SwitchesBothWaysAndShowsTheBatchAfterTheCommit)
{
    ASSERT_TRUE(m->BTNCambiaMoneda->isEnabled());
    ASSERT_EQ(Texto(m->lstGridRemesas, 2, 6), "3.127.249");
    ASSERT_EQ(Texto(m->lstGridRemesas, 2, 7), "18.795,15");
    // The totals are written anew: the euros as the sum of the bills' rounded counter-values.
    const struct {
        QAction *comando;
        const char *moneda, *importe, *contravalor, *celdaImporte, *celdaContravalor;
        int pista;
    } pasos[] = {
        {m->BTNCambiaMoneda, "EUR", "6.01", "1000", "18.795,12", "3.127.245", 670},
        {m->MNUCambiarMonedaRemesa, "ESP", "1000", "6.01", "3.127.249", "18.795,15", 671},
    };
    for (const auto &p : pasos) {
        RespondeCajas cajas;
        p.comando->trigger();
        EXPECT_TRUE(cajas.Vistas.empty()) << p.moneda;
        EXPECT_EQ(Moneda(), p.moneda);
        EXPECT_EQ(Recibo1("Importe"), p.importe);
        EXPECT_EQ(Recibo1("Contravalor"), p.contravalor);
        EXPECT_EQ(Texto(m->lstGridRemesas, 2, 1), p.moneda);
        EXPECT_EQ(Texto(m->lstGridRemesas, 2, 6), p.celdaImporte);
        EXPECT_EQ(Texto(m->lstGridRemesas, 2, 7), p.celdaContravalor);
        EXPECT_EQ(cp1252::fromQString(m->lblTotalImporte->text()), p.celdaImporte);
        EXPECT_EQ(m->MonedaRemesa, p.moneda);
        EXPECT_EQ(cp1252::fromQString(m->BTNCambiaMoneda->toolTip()), Idioma.GetTexto(p.pista));
        EXPECT_FALSE(m->barraProgreso->isVisible()) << "the bar goes with the run";
        EXPECT_NE(copia->Pide("pasada").find(":3:2;"), std::string::npos) << "the bill-level notice for the batch";
        EXPECT_EQ(Texto(m->lstGridRemesas, 1, 1), "EUR") << "the other batch stays";
    }
}

// Alt+E, C: the currency switch, though "Activar", disabled here, comes first in the menu.
TEST_F(ComandoMoneda, AltEThenCRunsItFromTheKeyboard)
{
    ASSERT_TRUE(Activa(m));
    m->lstGridRemesas->setFocus();
    ASSERT_FALSE(m->mainMenuSeleccionar->isEnabled());
    QTest::keyClick(m->lstGridRemesas, Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m->mainMenuEdicion->isVisible(); }));
    QTest::keyClick(m->mainMenuEdicion, Qt::Key_C);
    EXPECT_TRUE(arranque::Espera([] { return Moneda() == "EUR"; }));
    EXPECT_FALSE(m->mainMenuEdicion->isVisible());
}

TEST_F(ComandoMoneda, ARefusedOrFailedSwitchTellsWhyAndChangesNothing)
{
    const struct {
        const char *porque;
        std::function<void()> antes, despues;
        int texto, titulo;
        QMessageBox::Icon icono;
    } casos[] = {
        {"the batch is open elsewhere", [this] { ASSERT_EQ(copia->Pide("bloquea remesa 2 0"), "1"); },
         [this] { ASSERT_EQ(copia->Pide("desbloquea remesa 2"), "1"); }, 643, 6, QMessageBox::NoIcon},
        {"a bill is open elsewhere", [this] { ASSERT_EQ(copia->Pide("bloquea documento 1500 0"), "1"); },
         [this] { ASSERT_EQ(copia->Pide("desbloquea documento 1500"), "1"); }, 643, 6, QMessageBox::NoIcon},
        {"a statement fails",
         [] {
             ASSERT_TRUE(arranque::Ejecuta("CREATE TRIGGER [Falla] BEFORE UPDATE ON [Documentos()] WHEN "
                                           "NEW.Id_documento=2000 BEGIN SELECT RAISE(ABORT,'no'); END"));
         },
         [] { ASSERT_TRUE(arranque::Ejecuta("DROP TRIGGER [Falla]")); }, 986, 1, QMessageBox::Critical},
        {"the euro total would be too large",
         [this] {
             m->lstGridRemesas->item(1, 7)->setText(QStringLiteral("99.999.999,50"));
         },
         [this] { m->RecargaFilaRemesa(1, "2"); }, 668, 1, QMessageBox::Critical},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.porque);
        c.antes();
        {
            RespondeCajas cajas;
            m->BTNCambiaMoneda->trigger();
            ASSERT_EQ(cajas.Vistas.size(), 1u);
            EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(c.texto));
            EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Idioma.GetTexto(c.titulo));
            EXPECT_EQ(cajas.Vistas[0].icono, c.icono);
        }
        EXPECT_EQ(Moneda(), "ESP");
        EXPECT_EQ(Recibo1("Importe"), "1000");
        EXPECT_EQ(Valor("SELECT COUNT(*) AS N FROM [Documentos()] WHERE Importe<>Id_documento AND Id_documento>1",
                        "N"),
                  "0")
            << "no bill exchanged";
        EXPECT_EQ(Texto(m->lstGridRemesas, 2, 1), "ESP");
        EXPECT_EQ(m->MonedaRemesa, "ESP");
        EXPECT_EQ(copia->Pide("pasada"), "-") << "no notice";
        c.despues();
    }
    RespondeCajas ninguna;
    m->BTNCambiaMoneda->trigger();
    EXPECT_EQ(Moneda(), "EUR") << "all clear again";
}

TEST_F(ComandoMoneda, IsAvailableOnlyWhileBatchesShow)
{
    EXPECT_TRUE(m->MNUCambiarMonedaRemesa->isEnabled());
    Selecciona(ArbolEmpresa, 1);
    EXPECT_FALSE(m->BTNCambiaMoneda->isEnabled());
    EXPECT_FALSE(m->MNUCambiarMonedaRemesa->isEnabled());
}

} // namespace
