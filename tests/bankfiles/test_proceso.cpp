// The CSB import window over the main window, offscreen on the shipped database, with a
// running copy in another process as the other user.
#include "Proceso.h"
#include "Unithistoricos.h"

#include "Multiidioma.h"
#include "copias.h"
#include "csb.h"
#include "rejillas.h"
#include "ventanas.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

class Proceso : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        for (const char *layout : {"CSB19.INI", "CSB58.INI"})
            testutil::writeFile(carpeta.Ruta(layout), testutil::readFile(std::string(PROGRAM_DIR) + layout));
    }

    // Runs the main window's command with accion on the import window when it shows.
    void ConVentana(QAction *comando, const std::function<void(TfrmProceso *)> &accion)
    {
        bool mostrada = false;
        AlMostrarse<TfrmProceso>([&](TfrmProceso *v) {
            mostrada = true;
            accion(v);
            if (v->isVisible())
                v->cbtCancel->click();
        });
        ASSERT_TRUE(comando->isEnabled());
        comando->trigger();
        EXPECT_TRUE(mostrada);
    }

    static std::vector<std::string> Mensajes(const TfrmProceso *v)
    {
        std::vector<std::string> lineas;
        for (const QString &l : v->lstProceso->toPlainText().split('\n'))
            lineas.push_back(cp1252::fromQString(l));
        return lineas;
    }

    static std::string Cuenta(const QLabel *etiqueta) { return cp1252::fromQString(etiqueta->text()); }

    int Filas(const std::string &tabla) { return std::stoi(arranque::Valor("SELECT COUNT(*) AS N FROM " + tabla, "N")); }

    // A CSB58 file of cuantos bills of one issuer, its totals right.
    std::string FicheroGrande(int cuantos)
    {
        std::vector<std::string> f = {
            csb::Registro("5170", {{5, "B99999999000"}, {29, "GRANDE"}}),
            csb::Registro("5370", {{5, "B99999999000"}, {29, "EMISOR"}, {69, "00751454450500007790"}, {97, "06"}})};
        for (int i = 0; i < cuantos; ++i)
            f.push_back(csb::Registro("5670", {{5, "B99999999000"}, {17, "R" + std::to_string(i)}, {29, "DEUDOR"},
                                               {69, "01822376180101507859"}, {89, "0000000100"},
                                               {105, "        X1"}, {155, "300630"}}));
        char t[64];
        std::snprintf(t, sizeof t, "%010lld%010d%010d", 100LL * cuantos, cuantos, cuantos + 2);
        f.push_back(csb::Registro("5870", {{89, std::string(t).substr(0, 10)}, {105, std::string(t).substr(10)}}));
        std::snprintf(t, sizeof t, "%010lld%010d%010d", 100LL * cuantos, cuantos, cuantos + 4);
        f.push_back(csb::Registro("5970", {{69, "0001"}, {89, std::string(t).substr(0, 10)}, {105, std::string(t).substr(10)}}));
        const std::string ruta = carpeta.Ruta("grande.csb");
        testutil::writeFile(ruta, csb::Fichero(f));
        return ruta;
    }
};

TEST_F(Proceso, ImportsTheSampleAndRebuildsTheTree)
{
    auto copia = std::make_unique<copias::Copia>(carpeta.BD());
    ASSERT_EQ(copia->Pide("registra").substr(0, 1), "1");
    copia->Pide("pasada");
    Selecciona(ArbolPresentador, 1);
    ConVentana(m->cbtImportar, [&](TfrmProceso *v) {
        EXPECT_EQ(cp1252::fromQString(v->windowTitle()), Texto(392));
        EXPECT_TRUE(v->rbtCSB19->isChecked()) << "the tree's CSB19 presenter";
        EXPECT_FALSE(v->cbtOK->isEnabled());
        EXPECT_FALSE(v->BTNPrevisualizacion->isEnabled());
        EXPECT_EQ(Cuenta(v->lblRemesasRepetidas), "-- ");
        const std::string muestra = carpeta.Ruta("retrofix-c58.txt");
        testutil::writeFile(muestra, testutil::readFile(DATOS_CSB "retrofix-c58.txt"));
        QTest::keyClicks(v->txtFichero, cp1252::toQString(muestra));
        EXPECT_TRUE(v->cbtOK->isEnabled());
        v->cbtOK->click();
        EXPECT_TRUE(v->rbtCSB58->isChecked()) << "the file's format";
        EXPECT_EQ(Cuenta(v->lblNEmisores), "1");
        EXPECT_EQ(Cuenta(v->lblNRemesas), "1");
        EXPECT_EQ(Cuenta(v->lblNRecibos), "16");
        EXPECT_EQ(Cuenta(v->lblNLibrados), "6");
        EXPECT_EQ(Cuenta(v->lblLibradosRepetidos), "10");
        EXPECT_EQ(Cuenta(v->lblRecibosErroneos), "0");
        EXPECT_EQ(Cuenta(v->lblRemesasRepetidas), "-- ");
        EXPECT_EQ(v->gaugeProgreso->value(), v->gaugeProgreso->maximum());
        const std::vector<std::string> mensajes = Mensajes(v);
        EXPECT_NE(std::find(mensajes.begin(), mensajes.end(), Texto(277)), mensajes.end());
        EXPECT_TRUE(v->txtFichero->text().isEmpty());
        EXPECT_FALSE(v->cbtOK->isEnabled());
    });
    EXPECT_EQ(Filas("[Documentos()] WHERE Id_remesa>3"), 16);
    ASSERT_NE(m->treeInfoGlobal->currentItem(), nullptr);
    EXPECT_EQ(m->treeInfoGlobal->currentItem(), m->treeInfoGlobal->itemBelow(m->treeInfoGlobal->topLevelItem(0)))
        << "the second node selected";
    bool nuevo = false;
    for (QTreeWidgetItemIterator i(m->treeInfoGlobal); *i; ++i)
        nuevo = nuevo || (*i)->text(0).contains(QStringLiteral("NaN Projectes"));
    EXPECT_TRUE(nuevo) << "the tree shows the imported presenter";
    EXPECT_NE(copia->Pide("pasada").find(":0:0;"), std::string::npos) << "the other copy reloads everything";
}

TEST_F(Proceso, AFileOfNoKnownFormatIsRefusedBeforeAnythingIsRead)
{
    testutil::writeFile(carpeta.Ruta("otro.csb"), "XYZ no es CSB\r\n");
    ConVentana(m->mainMenuImportar, [&](TfrmProceso *v) {
        v->lstProceso->setPlainText(QStringLiteral("anterior"));
        v->txtFichero->setText(cp1252::toQString(carpeta.Ruta("otro.csb")));
        RespondeCajas cajas;
        v->cbtOK->click();
        ASSERT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Texto(316));
        EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Texto(317));
        EXPECT_EQ(v->lstProceso->toPlainText(), QStringLiteral("anterior")) << "the previous run's messages stay";
    });
}

TEST_F(Proceso, ALayoutWithAnIdLongerThanALineIsRefusedNamingItAndTheBarStaysStill)
{
    testutil::writeFile(carpeta.Ruta("CSB19.INI"), testutil::readFile(DATOS_CSB "F1_CSB19_longitud_id_2e9.INI"));
    const std::string fichero = carpeta.Ruta("f2.csb");
    testutil::writeFile(fichero, testutil::readFile(DATOS_CSB "F2_nul_en_nombre.csb"));
    const int antes = Filas("[Documentos()]");
    ConVentana(m->cbtImportar, [&](TfrmProceso *v) {
        v->txtFichero->setText(cp1252::toQString(fichero));
        v->cbtOK->click();
        const std::vector<std::string> mensajes = Mensajes(v);
        EXPECT_NE(std::find(mensajes.begin(), mensajes.end(), Texto(274)), mensajes.end());
        EXPECT_NE(std::find(mensajes.begin(), mensajes.end(), FormateaTexto(Texto(730), "Presentador")),
                  mensajes.end());
        EXPECT_LT(v->gaugeProgreso->minimum(), v->gaugeProgreso->maximum()) << "an empty range is a busy bar";
        EXPECT_EQ(v->gaugeProgreso->value(), v->gaugeProgreso->minimum());
    });
    EXPECT_EQ(Filas("[Documentos()]"), antes);
}

TEST_F(Proceso, StopMidRunRollsBackAndTheWindowWaitsForTheRun)
{
    const int antes = Filas("[Remesas()]");
    const std::string fichero = FicheroGrande(60000);
    ConVentana(m->cbtImportar, [&](TfrmProceso *v) {
        v->txtFichero->setText(cp1252::toQString(fichero));
        bool visibleAlParar = false, importandoAlParar = false;
        QTimer::singleShot(150, v, [&] {
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
        EXPECT_EQ(Cuenta(v->lblNRecibos), "0");
    });
    EXPECT_EQ(Filas("[Remesas()]"), antes) << "rolled back";
    EXPECT_EQ(Filas("[_Presentadores( Datos )]"), 2);
}

} // namespace

namespace {

TEST_F(Proceso, ThePreviewShowsTheChosenFileInTheViewer)
{
    ConVentana(m->cbtImportar, [&](TfrmProceso *v) {
        EXPECT_FALSE(v->BTNPrevisualizacion->isEnabled());
        v->txtFichero->setText(cp1252::toQString(carpeta.Ruta("no-existe.csb")));
        ASSERT_TRUE(v->BTNPrevisualizacion->isEnabled());
        v->BTNPrevisualizacion->click();
        EXPECT_EQ(QApplication::activeModalWidget(), v) << "a missing file shows nothing";

        v->txtFichero->setText(QStringLiteral(DATOS_CSB "retrofix-c58.txt"));
        QString raiz;
        AlMostrarse<TFRMHistoricos>([&](TFRMHistoricos *visor) {
            if (visor->TREEHistor->topLevelItem(0))
                raiz = visor->TREEHistor->topLevelItem(0)->text(0).trimmed();
            visor->SpeedButton1->click();
        });
        v->BTNPrevisualizacion->click();
        EXPECT_EQ(raiz, QStringLiteral("NaN Projectes de Programari Lliure, S.L."));

        // By keys: Tab reaches it before "Importar CSB", and its letter opens it.
        ASSERT_TRUE(Activa(v));
        v->txtFichero->setFocus();
        std::vector<QWidget *> cadena;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            cadena.push_back(QApplication::focusWidget());
        }
        EXPECT_EQ(cadena, (std::vector<QWidget *>{v->cbtCommonDialog, v->BTNPrevisualizacion, v->cbtOK}));
        raiz.clear();
        AlMostrarse<TFRMHistoricos>([&](TFRMHistoricos *visor) {
            raiz = QStringLiteral("visto");
            visor->SpeedButton1->click();
        });
        QTest::keyClick(v->txtFichero, Qt::Key_P, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&raiz] { return !raiz.isEmpty(); })) << "Alt+P";
        v->txtFichero->clear();
        EXPECT_FALSE(v->BTNPrevisualizacion->isEnabled());
    });
}

} // namespace
