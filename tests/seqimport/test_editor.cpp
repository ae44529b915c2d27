// The import template editor driven offscreen inside the program as a user does: the
// sample grid marked with the mouse, kinds and fields typed in their dialogs, links, the
// saved files, a template reopened, and the import run with it.
#include "rejillas.h"

#include "Aplicacion.h"
#include "ModeloMuestra.h"
#include "Unialtacampo.h"
#include "Unialtalinea.h"
#include "Unidefinirimport.h"
#include "Uniimportuser.h"
#include "Uniopcsimport.h"
#include "dialogos.h"
#include "testutil.h"
#include "ventanas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>

namespace {

using Editor = TFRMDefinirimport;

// The README's example data file.
constexpr const char *kDatos = "PB22222222000Presentador prueba\r\n"
                               "MA11111111001Emisor de prueba    21000418450200051332\r\n"
                               "RR1          Cliente uno         004915000512345678920000012550\r\n"
                               "RR2          Cliente dos         004915000512345678920000009900\r\n";

class EditorPlantillas : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        testutil::writeFile(carpeta.Ruta("tablas.dat"), testutil::readFile(std::string(PROGRAM_DIR) + "tablas.dat"));
        testutil::writeFile(datos, kDatos);
        App().FRMOpcionImport->Opciones = OpcionesImportacion();
    }

    // Runs the command with accion on the editor when it shows, then closes it (answering
    // Yes to the question of unsaved changes); false when it did not show.
    bool ConEditor(const std::function<void(Editor *)> &accion)
    {
        bool mostrado = false;
        AlMostrarse<Editor>([&](Editor *v) {
            mostrado = true;
            accion(v);
            RespondeCajas si({QMessageBox::Yes});
            v->BTNCancelar->click();
            if (v->isVisible()) {
                ADD_FAILURE() << "the editor did not close";
                v->done(0);
            }
        });
        m->MNUDefinirplantillaimportacinsecuencial->trigger();
        return mostrado;
    }

    void AbreMuestra(Editor *v, const std::string &fichero)
    {
        Elige(fichero);
        v->BTNAbrir->click();
    }

    static QPoint Celda(Editor *v, int linea, int columna)
    {
        const QModelIndex celda = v->Muestra->index(linea - 1, columna - 1);
        v->Grid->scrollTo(celda);
        return v->Grid->visualRect(celda).center();
    }

    // Marks with the mouse from (linea, desde) to (hastaLinea, hasta).
    static void Marca(Editor *v, int linea, int desde, int hasta, int hastaLinea = 0)
    {
        QWidget *rejilla = v->Grid->viewport();
        QTest::mousePress(rejilla, Qt::LeftButton, {}, Celda(v, linea, desde));
        QMouseEvent mueve(QEvent::MouseMove, Celda(v, hastaLinea ? hastaLinea : linea, hasta),
                          rejilla->mapToGlobal(Celda(v, hastaLinea ? hastaLinea : linea, hasta)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rejilla, &mueve);
        QTest::mouseRelease(rejilla, Qt::LeftButton, {}, Celda(v, hastaLinea ? hastaLinea : linea, hasta));
    }

    static void Clic(QTreeWidget *arbol, QTreeWidgetItem *item)
    {
        arbol->scrollToItem(item);
        QTest::mouseClick(arbol->viewport(), Qt::LeftButton, {}, arbol->visualItemRect(item).center());
    }

    static void Escribe(QLineEdit *caja, const std::string &texto)
    {
        caja->selectAll();
        QTest::keyClick(caja, Qt::Key_Backspace);
        Teclea(caja, cp1252::toQString(texto));
    }

    // A new kind: its zone marked, the dialog opened, its caption typed (and its value).
    static void NuevaTabla(Editor *v, int linea, int desde, int hasta, const std::string &nombre,
                           const char *valor = nullptr)
    {
        Marca(v, linea, desde, hasta);
        v->BTNNuevatabla->click();
        TFRMAltaLinea *d = App().FRMAltaLinea;
        ASSERT_TRUE(d->isVisible());
        Teclea(d->TXTDescripcion, cp1252::toQString(nombre));
        if (valor)
            Escribe(d->TXTValor, valor);
        d->BTNAceptar->click();
    }

    static QTreeWidgetItem *Tipo(Editor *v, int t) { return v->Tree2->topLevelItem(t); }

    // A new field of kind t: the kind chosen, the zone marked, caption and type given.
    static void NuevoCampo(Editor *v, int t, int desde, int tamano, const std::string &nombre, int tipo = 0)
    {
        Clic(v->Tree2, Tipo(v, t));
        Marca(v, v->Plantilla()[size_t(t)].LineaMuestra, desde, desde + tamano - 1);
        v->BTNMas->click();
        TFRMAltaCampo *d = App().FRMAltaCampo;
        ASSERT_TRUE(d->isVisible());
        Teclea(d->TXTDescripcion, cp1252::toQString(nombre));
        d->TXTTipo->setCurrentIndex(tipo);
        d->BTNAceptar->click();
    }

    // The catalogue column with the description (the editor reads it without blanks).
    static QTreeWidgetItem *Columna(Editor *v, std::string descripcion)
    {
        std::erase(descripcion, ' ');
        for (QTreeWidgetItemIterator i(v->Tree1); *i; ++i)
            if ((*i)->parent() && cp1252::fromQString((*i)->text(0)).rfind(descripcion, 0) == 0)
                return *i;
        ADD_FAILURE() << "no column " << descripcion;
        return nullptr;
    }

    static void Asocia(Editor *v, int t, int c, const std::string &columna)
    {
        Clic(v->Tree2, Tipo(v, t)->child(c));
        Clic(v->Tree1, Columna(v, columna));
        v->BTNAsociar->click();
    }

    static bool Negrita(Editor *v, const std::string &columna) { return Columna(v, columna)->font(0).bold(); }

    // The README's example template, built in the editor.
    static void DefineEjemplo(Editor *v)
    {
        NuevaTabla(v, 1, 1, 1, "Presentador", "0");
        NuevaTabla(v, 2, 1, 1, "Emisor", "0");
        NuevaTabla(v, 3, 1, 1, "Recibo", "0");
        const struct {
            int tipo, desde, tamano;
            const char *nombre;
            int clase;
            const char *columna;
        } campos[] = {
            {0, 2, 9, "Nif", 0, "NIF del presentador"},
            {0, 11, 3, "Sufijo", 0, "Sufijo del presentador"},
            {0, 14, 20, "Razon", 0, "Raz\xF3n social del presentador"},
            {1, 2, 9, "Nif", 0, "NIF del emisor"},
            {1, 11, 3, "Sufijo", 0, "Sufijo del emisor"},
            {1, 14, 20, "Razon", 0, "Raz\xF3n social del emisor"},
            {1, 34, 20, "Cuenta", 0, "Cuenta de abono"},
            {2, 2, 12, "Codigo", 0, "C\xF3" "digo de referencia del librado"},
            {2, 14, 20, "Nombre", 0, "Raz\xF3n social del librado"},
            {2, 34, 20, "Cuenta", 0, "Cuenta de adeudo"},
            {2, 54, 10, "Importe", 3, "Importe del recibo"},
        };
        for (const auto &c : campos) {
            NuevoCampo(v, c.tipo, c.desde, c.tamano, c.nombre, c.clase);
            Asocia(v, c.tipo, Tipo(v, c.tipo)->childCount() - 1, c.columna);
        }
    }

    std::string datos = carpeta.Ruta("datos.txt");
    std::string sec = carpeta.Ruta("cobros.sec");
};

constexpr const char *kPlantillaEjemplo =
    "[LINEAS]\r\nPresentador=P,1,1,NULL\r\nEmisor=M,1,1,NULL\r\nRecibo=R,1,1,NULL\r\n\r\n"
    "[Presentador]\r\nNif=2,9,ALFANUMERICO,[_Presentadores( Datos )].Id_nif,000100006\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Presentadores( Datos )].Sufijo,000100007\r\n"
    "Razon=14,20,ALFANUMERICO,[_Presentadores( Datos )].Razon_social,000100008\r\n\r\n"
    "[Emisor]\r\nNif=2,9,ALFANUMERICO,[_Emisores( Datos )].Id_nif,000200010\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Emisores( Datos )].Sufijo,000200011\r\n"
    "Razon=14,20,ALFANUMERICO,[_Emisores( Datos )].Razon_social,000200012\r\n"
    "Cuenta=34,20,ALFANUMERICO,[_Emisores( Datos )].Cuenta_abono,000200013\r\n\r\n"
    "[Recibo]\r\nCodigo=2,12,ALFANUMERICO,[Librados( Datos )].Codigo_referencia,000300019\r\n"
    "Nombre=14,20,ALFANUMERICO,[Librados( Datos )].Razon_social,000300020\r\n"
    "Cuenta=34,20,ALFANUMERICO,[Librados( Datos )].Cuenta,000300021\r\n"
    "Importe=54,10,NUMERICO_(2_DECIMALES),[Documentos()].Importe,000300030\r\n\r\n";

TEST_F(EditorPlantillas, TheExampleTemplateIsDefinedSavedReopenedAndImportsTheSample)
{
    ASSERT_TRUE(m->MNUDefinirplantillaimportacinsecuencial->isEnabled());
    std::vector<CajaVista> avisos;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        EXPECT_EQ(cp1252::fromQString(v->windowTitle()), "Importaci\xF3n secuencial");
        EXPECT_FALSE(v->BTNNuevatabla->isEnabled()) << "no sample yet";
        AbreMuestra(v, datos);
        EXPECT_EQ(cp1252::fromQString(v->LBLArchivo->text()), "Archivo: " + datos);
        EXPECT_EQ(v->Muestra->rowCount(), 4);
        EXPECT_EQ(v->Muestra->columnCount(), 64);
        DefineEjemplo(v);
        EXPECT_EQ(v->Tree2->topLevelItemCount(), 3);
        EXPECT_EQ(cp1252::fromQString(Columna(v, "NIF del emisor")->text(0)), "NIFdelemisor : Nif");
        EXPECT_TRUE(Negrita(v, "CIF de la empresa"));
        EXPECT_FALSE(Negrita(v, "Fecha de vencimiento")) << "CSB19";
        App().FRMOpcionImport->Opciones.Moneda = "Euros";
        RespondeCajas cajas;
        Elige(sec);
        v->BTNAceptar->click();
        avisos = cajas.Vistas;
        EXPECT_FALSE(v->Modificado());
    }));
    ASSERT_EQ(avisos.size(), 1u) << "the unlinked company columns";
    EXPECT_EQ(cp1252::fromQString(avisos[0].texto).substr(0, 40), "No tiene todos los campos requeridos de ");
    EXPECT_EQ(testutil::readFile(sec), kPlantillaEjemplo);
    EXPECT_EQ(testutil::readFile(carpeta.Ruta("cobros.opc")),
              "[Opciones]\nSeparador_decimal=,\nMoneda=Euros\nEmision_factura=Si\nTipos_orden=CSB19\n");

    std::vector<CajaVista> cierre;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        App().FRMOpcionImport->Opciones.Moneda = "Peseta";
        AbreMuestra(v, datos);
        Elige(sec);
        v->BTNAbrirusuario->click();
        EXPECT_EQ(App().FRMOpcionImport->Opciones.Moneda, "Euros");
        ASSERT_EQ(v->Tree2->topLevelItemCount(), 3);
        EXPECT_EQ(Tipo(v, 2)->text(0), "Recibo");
        EXPECT_EQ(Tipo(v, 2)->child(3)->text(0), "Importe");
        EXPECT_EQ(cp1252::fromQString(Columna(v, "Importe del recibo")->text(0)), "Importedelrecibo : Importe");
        EXPECT_EQ(cp1252::fromQString(Columna(v, "Cuenta de abono")->text(0)), "Cuentadeabono : Cuenta");
        EXPECT_TRUE(Negrita(v, "CIF de la empresa"));
        Clic(v->Tree2, Tipo(v, 1)->child(3));
        EXPECT_EQ(v->TXTDesde->text(), "34");
        EXPECT_EQ(v->TXTTam->text(), "20");
        EXPECT_EQ(v->TXTLinea->text(), "2");
        EXPECT_EQ(cp1252::fromQString(v->Tree1->currentItem()->text(0)), "Cuentadeabono : Cuenta");
        EXPECT_TRUE(v->BTNDespejar->isEnabled());
        RespondeCajas cajas({QMessageBox::Yes});
        v->BTNCancelar->click();
        cierre = cajas.Vistas;
        EXPECT_FALSE(v->isVisible());
    }));
    ASSERT_EQ(cierre.size(), 1u) << "closing after an open asks";
    EXPECT_EQ(cp1252::fromQString(cierre[0].texto), "\xBF" "Desea salir sin guardar los datos?");

    AlMostrarse<TFRMImportuser>([&](TFRMImportuser *v) {
        Elige(datos);
        v->cbtCommonDialog->click();
        Elige(sec);
        v->BTNImportar->click();
        v->BTNCerrar->click();
    });
    m->Importacin1->trigger();
    EXPECT_EQ(arranque::Valor("SELECT COUNT(*) AS N FROM [Documentos()] WHERE Importe IN (125.5, 99)", "N"), "2");
}

} // namespace
