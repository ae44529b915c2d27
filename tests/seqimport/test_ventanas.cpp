// The sequential import's windows driven offscreen inside the program: the main window's
// command, a run with its counts and memo, a stop, and the options dialog.
#include "rejillas.h"

#include "Aplicacion.h"
#include "Uniimportuser.h"
#include "Uniopcsimport.h"
#include "dialogos.h"
#include "testutil.h"
#include "ventanas.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr const char *kPlantilla =
    "[LINEAS]\r\nPresentador=P,1,1,NULL\r\nEmisor=M,1,1,NULL\r\nLibrado=L,1,1,NULL\r\nRecibo=R,1,1,NULL\r\n"
    "[Presentador]\r\nNif=2,9,ALFANUMERICO,[_Presentadores( Datos )].Id_nif,0\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Presentadores( Datos )].Sufijo,0\r\n"
    "Razon=14,20,ALFANUMERICO,[_Presentadores( Datos )].Razon_social,0\r\n"
    "[Emisor]\r\nNif=2,9,ALFANUMERICO,[_Emisores( Datos )].Id_nif,0\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Emisores( Datos )].Sufijo,0\r\n"
    "Razon=14,20,ALFANUMERICO,[_Emisores( Datos )].Razon_social,0\r\n"
    "Cuenta=34,20,ALFANUMERICO,[_Emisores( Datos )].Cuenta_abono,0\r\n"
    "[Librado]\r\nCodigo=2,12,ALFANUMERICO,[Librados( Datos )].Codigo_referencia,0\r\n"
    "Razon=14,20,ALFANUMERICO,[Librados( Datos )].Razon_social,0\r\n"
    "Cuenta=34,20,ALFANUMERICO,[Librados( Datos )].Cuenta,0\r\n"
    "[Recibo]\r\nImporte=2,10,NUMERICO,[Documentos()].Importe,0\r\n";

std::string Cabecera()
{
    return "PB99999999000Importado\r\n"
           "MA99999999001Emisor importado    21000418450200051332\r\n";
}

std::string Recibos(int cuantos)
{
    std::string texto;
    for (int i = 1; i <= cuantos; ++i) {
        char linea[80];
        std::snprintf(linea, sizeof linea, "LR%-11dLibrado %-12d00491500051234567892\r\nR%010d\r\n", i, i, 100 + i);
        texto += linea;
    }
    return texto;
}

class VentanaImportacion : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        testutil::writeFile(carpeta.Ruta("tablas.dat"), testutil::readFile(std::string(PROGRAM_DIR) + "tablas.dat"));
        testutil::writeFile(sec, kPlantilla);
    }

    // Runs the command with accion on the window when it shows; false when it did not.
    bool ConVentana(const std::function<void(TFRMImportuser *)> &accion)
    {
        bool mostrada = false;
        AlMostrarse<TFRMImportuser>([&](TFRMImportuser *v) {
            mostrada = true;
            accion(v);
            v->BTNCerrar->click();
        });
        m->Importacin1->trigger();
        return mostrada;
    }

    static std::string RecibosGuardados() { return arranque::Valor("SELECT COUNT(*) AS N FROM [Documentos()]", "N"); }

    std::string sec = carpeta.Ruta("cobros.sec");
    std::string datos = carpeta.Ruta("datos.txt");
};

TEST_F(VentanaImportacion, TheCommandOpensTheWindowWhichAsksForADataFileFirst)
{
    ASSERT_TRUE(m->Importacin1->isEnabled());
    RespondeCajas cajas;
    ASSERT_TRUE(ConVentana([](TFRMImportuser *v) {
        EXPECT_EQ(cp1252::fromQString(v->windowTitle()), "Importaci\xF3n fichero de datos del usuario");
        EXPECT_FALSE(v->BTNImportar->isEnabled());
        EXPECT_EQ(v->lblRemesasRepetidas->text(), "--");
        v->txtFichero->setText("escrito");
        ASSERT_TRUE(v->BTNImportar->isEnabled());
        v->BTNImportar->click();
    }));
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), "Debe seleccionar antes el archivo del que se va a importar");
    EXPECT_EQ(cajas.Vistas[0].icono, QMessageBox::Critical);
}

TEST_F(VentanaImportacion, ARunShowsItsCountsAndMessagesAndReloadsTheTree)
{
    testutil::writeFile(datos, Cabecera() + Recibos(3));
    std::string memo;
    ASSERT_TRUE(ConVentana([&](TFRMImportuser *v) {
        Elige(datos);
        v->cbtCommonDialog->click();
        EXPECT_EQ(v->txtFichero->text().toStdString(), datos);
        Elige(sec);
        v->BTNImportar->click();
        EXPECT_EQ(v->lblNEmisores->text(), "1");
        EXPECT_EQ(v->lblNRemesas->text(), "1");
        EXPECT_EQ(v->lblNRecibos->text(), "3");
        EXPECT_EQ(v->lblNLibrados->text(), "3");
        EXPECT_EQ(v->lblRecibosErroneos->text(), "0");
        EXPECT_EQ(v->CGauge1->value(), v->CGauge1->maximum());
        memo = cp1252::fromQString(v->MEMMensajes->toPlainText());
    }));
    EXPECT_NE(memo.find("Importaci\xF3n finalizada\n"), std::string::npos) << memo;
    EXPECT_NE(memo.find("Se ha generado el archivo: " + carpeta.Ruta("datos.log")), std::string::npos);
    EXPECT_EQ(VentanaImportacion::RecibosGuardados(), "3");
    bool presentador = false;
    for (QTreeWidgetItemIterator i(m->treeInfoGlobal); *i; ++i)
        presentador = presentador || (*i)->text(0).contains("Importado");
    EXPECT_TRUE(presentador) << "the tree was reloaded";
}

TEST_F(VentanaImportacion, ATypedDataFileAndATemplateTypedWithoutItsSuffixImport)
{
    testutil::writeFile(datos, Cabecera() + Recibos(2));
    RespondeCajas cajas;
    ASSERT_TRUE(ConVentana([&](TFRMImportuser *v) {
        Teclea(v->txtFichero, QString::fromStdString(datos));
        Elige(carpeta.Ruta("cobros")); // the filter's ".sec" added
        v->BTNImportar->click();
        EXPECT_EQ(v->lblNRecibos->text(), "2");
    }));
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(VentanaImportacion::RecibosGuardados(), "2");
}

TEST_F(VentanaImportacion, CloseDuringARunStopsItAndNothingStays)
{
    testutil::writeFile(datos, Cabecera() + Recibos(30000));
    std::string memo;
    ASSERT_TRUE(ConVentana([&](TFRMImportuser *v) {
        Elige(datos);
        v->cbtCommonDialog->click();
        QTimer vigia;
        QObject::connect(&vigia, &QTimer::timeout, [&] {
            if (v->lblNRecibos->text() != "0") {
                EXPECT_FALSE(v->BTNImportar->isEnabled()) << "only the close button acts";
                v->BTNCerrar->click();
                vigia.stop();
            }
        });
        vigia.start(5);
        Elige(sec);
        v->BTNImportar->click();
        memo = cp1252::fromQString(v->MEMMensajes->toPlainText());
        EXPECT_TRUE(v->isVisible()) << "the close button stopped the run only";
    }));
    EXPECT_NE(memo.find("Importaci\xF3n finalizada por el usuario.\n"
                        "No se ha importado nada: la base de datos queda como estaba."),
              std::string::npos)
        << memo;
    EXPECT_EQ(VentanaImportacion::RecibosGuardados(), "0");
    EXPECT_EQ(arranque::Valor("SELECT COUNT(*) AS N FROM [_Presentadores( Datos )]", "N"), "2");
}

TEST(OpcionesImportacion, CSB58FixesTheInvoiceAndCancelKeepsTheOptions)
{
    TFRMOpcionImport dialogo;
    EXPECT_EQ(dialogo.Opciones.Separador_decimal, ",");
    dialogo.Opciones.Tipos_orden = "csb58";
    dialogo.Opciones.Emision_factura = "No";
    dialogo.Opciones.Moneda = "Euros";
    AlMostrarse<TFRMOpcionImport>([](TFRMOpcionImport *d) {
        EXPECT_EQ(cp1252::fromQString(d->windowTitle()), "Opciones de la importaci\xF3n");
        EXPECT_TRUE(d->RBAnticipos->isChecked());
        EXPECT_TRUE(d->CHKSi->isChecked()) << "advances are always invoiced";
        EXPECT_FALSE(d->CHKSi->isEnabled());
        EXPECT_FALSE(d->CHKNo->isEnabled());
        EXPECT_EQ(d->CBMoneda->currentText(), "Euros");
        d->RBDomiciliados->click();
        EXPECT_TRUE(d->CHKNo->isEnabled());
        d->CHKNo->click();
        d->CBSeparador->setCurrentIndex(2);
        d->BTNCancelar->click();
    });
    EXPECT_EQ(dialogo.exec(), QDialog::Rejected);
    EXPECT_EQ(dialogo.Opciones.Tipos_orden, "csb58") << "cancel leaves the options";
    EXPECT_EQ(dialogo.Opciones.Separador_decimal, ",");

    AlMostrarse<TFRMOpcionImport>([](TFRMOpcionImport *d) {
        EXPECT_TRUE(d->RBAnticipos->isChecked()) << "shown again as they were";
        EXPECT_EQ(d->CBSeparador->currentText(), ",");
        d->RBDomiciliados->click();
        d->CHKNo->click();
        d->CBSeparador->setCurrentIndex(1);
        d->CBMoneda->setCurrentText("Peseta");
        d->BTNAceptar->click();
    });
    EXPECT_EQ(dialogo.exec(), QDialog::Accepted);
    EXPECT_EQ(dialogo.Opciones.Tipos_orden, "CSB19");
    EXPECT_EQ(dialogo.Opciones.Emision_factura, "No");
    EXPECT_EQ(dialogo.Opciones.Separador_decimal, ".");
    EXPECT_EQ(dialogo.Opciones.Moneda, "Peseta");
}

TEST(OpcionesImportacion, ANewTemplateIsInEurosAndAPesetaOneKeepsPesetas)
{
    testutil::TempDir dir;
    testutil::writeFile(dir.file("pesetas.opc"), "[Opciones]\r\nMoneda=Peseta\r\n");
    TFRMOpcionImport dialogo;
    for (const char *moneda : {"Euros", "Peseta"}) {
        AlMostrarse<TFRMOpcionImport>([&](TFRMOpcionImport *d) {
            EXPECT_EQ(d->CBMoneda->currentText(), moneda);
            d->BTNAceptar->click();
        });
        EXPECT_EQ(dialogo.exec(), QDialog::Accepted);
        EXPECT_EQ(dialogo.Opciones.Moneda, moneda);
        dialogo.Opciones = LeeOpciones(dir.file("pesetas.opc")); // as a template saved with pesetas opens
    }
}

} // namespace
