// The drawee import window over the main window, offscreen on the shipped database, with a
// running copy in another process as the other copy: the file and issuer choice, a run and
// its notice, and a stop.
#include "Importlibrados.h"
#include "Seleccemisor.h"

#include "Aplicacion.h"
#include "Login.h"
#include "Multiidioma.h"
#include "copias.h"
#include "csb.h"
#include "rejillas.h"
#include "ventanas.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace {

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

const std::string kCuenta = "01822376180101507859";

class VentanaImportLibrados : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        App().FormLogin->LoginData.Id_usuario = "1";
        for (const char *layout : {"CSB19.INI", "CSB58.INI"})
            testutil::writeFile(carpeta.Ruta(layout), testutil::readFile(std::string(PROGRAM_DIR) + layout));
        copia = std::make_unique<copias::Copia>(carpeta.BD());
        ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
        copia->Pide("pasada");
    }

    void ConVentana(const std::function<void(TFRMImportLibrados *)> &accion)
    {
        bool mostrada = false;
        AlMostrarse<TFRMImportLibrados>([&](TFRMImportLibrados *v) {
            mostrada = true;
            accion(v);
            if (v->isVisible())
                v->cbtCancel->click();
        });
        m->Importarlibrados1->trigger();
        EXPECT_TRUE(mostrada);
    }

    // A CSB58 file of cuantos new drawees.
    std::string Fichero(int cuantos)
    {
        std::vector<std::string> bills;
        for (int i = 0; i < cuantos; ++i)
            bills.push_back(csb::Individual58("N" + std::to_string(i), kCuenta, "0000000100"));
        const std::string ruta = carpeta.Ruta("librados.csb");
        testutil::writeFile(ruta, csb::Fichero(csb::Completa("5670", bills)));
        return ruta;
    }

    // Picks the file in the open dialog, then the issuer dialog's first issuer (or cancels it).
    static void EligeFichero(TFRMImportLibrados *v, const std::string &ruta, bool eligeEmisor = true)
    {
        v->OpenDialog1->setOption(QFileDialog::DontUseNativeDialog); // a dialog the test can answer
        AlMostrarse<QFileDialog>([&](QFileDialog *d) {
            QLineEdit *nombre = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(nombre, nullptr);
            nombre->setText(cp1252::toQString(ruta));
            QTest::keyClick(nombre, Qt::Key_Return);
        });
        AlMostrarse<TFRMSelectEmisor>([&](TFRMSelectEmisor *s) {
            if (eligeEmisor)
                s->BitBtn1Click();
            else
                s->reject();
        });
        v->cbtCommonDialog->click();
    }

    static std::vector<std::string> Mensajes(const TFRMImportLibrados *v)
    {
        std::vector<std::string> lineas;
        for (int i = 0; i < v->lstProceso->count(); ++i)
            lineas.push_back(cp1252::fromQString(v->lstProceso->item(i)->text()));
        return lineas;
    }

    static std::string Cuentas(const TFRMImportLibrados *v)
    {
        return cp1252::fromQString(v->lblNLibrados->text() + "/" + v->lblLibradosRepetidos->text() + "/" +
                                   v->lblLibradosErroneos->text());
    }

    int Librados() { return std::stoi(arranque::Valor("SELECT COUNT(*) AS N FROM [Librados( Datos )]", "N")); }

    std::unique_ptr<copias::Copia> copia;
};

TEST_F(VentanaImportLibrados, ImportsThreeNewDraweesUnderTheChosenIssuerThenFindsThem)
{
    const std::string fichero = Fichero(3);
    Selecciona(ArbolEmisor, 2);
    ConVentana([&](TFRMImportLibrados *v) {
        EXPECT_EQ(cp1252::fromQString(v->windowTitle()), Texto(615));
        EXPECT_FALSE(v->cbtOK->isEnabled());
        EligeFichero(v, fichero);
        EXPECT_EQ(v->IdEmisorElegido(), 2) << "the user's CSB58 issuer";
        EXPECT_EQ(cp1252::fromQString(v->txtFichero->text()), fichero);
        ASSERT_TRUE(v->cbtOK->isEnabled());
        v->cbtOK->click();
        EXPECT_EQ(Cuentas(v), "3/0/0");
        EXPECT_EQ(v->gaugeProgreso->text(), QStringLiteral("100%"));
        EXPECT_EQ(m->NodoSeleccionado(), Nodo(ArbolEmisor, 2)) << "the issuer imported into stays selected";
        const std::vector<std::string> mensajes = Mensajes(v);
        EXPECT_NE(std::find(mensajes.begin(), mensajes.end(), Texto(277)), mensajes.end());
        EXPECT_TRUE(v->txtFichero->text().isEmpty());
        EXPECT_FALSE(v->cbtOK->isEnabled());
        EXPECT_NE(copia->Pide("pasada").find(":4:1;"), std::string::npos) << "a CSB58 drawee notice";

        EligeFichero(v, fichero);
        v->cbtOK->click();
        EXPECT_EQ(Cuentas(v), "0/3/0");
    });
    EXPECT_EQ(std::stoi(arranque::Valor("SELECT COUNT(*) AS N FROM [Librados( Datos )] WHERE Id_emisor=2 AND "
                                        "Codigo_referencia LIKE 'N%'",
                                        "N")),
              3);
    const std::string informe = testutil::readFile(carpeta.Ruta("librados.log"));
    EXPECT_NE(informe.find(Texto(616)), std::string::npos) << "the report beside the file";
    EXPECT_NE(informe.find(FormateaTexto(Texto(584), "0", "3", "0")), std::string::npos);
}

TEST_F(VentanaImportLibrados, ImportNeedsAnIssuerChosenForTheFileNamed)
{
    const std::string fichero = Fichero(1);
    ConVentana([&](TFRMImportLibrados *v) {
        QTest::keyClicks(v->txtFichero, cp1252::toQString(fichero));
        EXPECT_FALSE(v->cbtOK->isEnabled()) << "a typed name has no issuer";
        RespondeCajas cajas;
        EligeFichero(v, fichero, false);
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Texto(669));
        EXPECT_EQ(v->IdEmisorElegido(), 0);
        EXPECT_FALSE(v->cbtOK->isEnabled());

        EligeFichero(v, fichero);
        EXPECT_TRUE(v->cbtOK->isEnabled());
        QTest::keyClick(v->txtFichero, Qt::Key_Backspace);
        EXPECT_FALSE(v->cbtOK->isEnabled()) << "another file needs its own issuer";
    });
    EXPECT_EQ(Librados(), 3);
}

TEST_F(VentanaImportLibrados, CancelMidRunStopsItStoresNothingAndTheWindowStays)
{
    const std::string fichero = Fichero(40000);
    const int antes = Librados();
    ConVentana([&](TFRMImportLibrados *v) {
        EligeFichero(v, fichero);
        bool importandoAlParar = false, visibleAlParar = false;
        QTimer::singleShot(100, v, [&] {
            importandoAlParar = v->Importando();
            v->cbtCancel->click();
            v->close();
            v->cbtOK->click();
            visibleAlParar = v->isVisible();
        });
        v->cbtOK->click();
        EXPECT_TRUE(importandoAlParar) << "the stop came during the run";
        EXPECT_TRUE(visibleAlParar) << "neither Close nor closing ends the window while the run goes on";
        EXPECT_TRUE(v->isVisible());
        const std::vector<std::string> mensajes = Mensajes(v);
        EXPECT_NE(std::find(mensajes.begin(), mensajes.end(), Texto(276)), mensajes.end());
        EXPECT_EQ(Cuentas(v), "0/0/0");
    });
    EXPECT_EQ(Librados(), antes);
    EXPECT_EQ(copia->Pide("pasada").find(":4:1;"), std::string::npos) << "no notice without a commit";
}

} // namespace
