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

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>
#include <QWindow>

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

// What the boxes shown while accion ran said.
std::vector<std::string> Textos(const std::vector<CajaVista> &vistas)
{
    std::vector<std::string> textos;
    for (const CajaVista &c : vistas)
        textos.push_back(cp1252::fromQString(c.texto));
    return textos;
}

TEST_F(EditorPlantillas, KindValuesComeFromTheZoneUnlessANumberIsTypedAndCaptionsMustStayApart)
{
    std::vector<CajaVista> errores;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        Marca(v, 1, 2, 3);
        v->BTNNuevatabla->click();
        TFRMAltaLinea *d = App().FRMAltaLinea;
        EXPECT_EQ(cp1252::fromQString(d->windowTitle()), "Alta de l\xEDnea");
        int veces = 0;
        for (const QLabel *l : d->findChildren<QLabel *>())
            veces += int(l->text().count(QString::fromUtf8("identifica el valor de esta l\u00EDnea")));
        EXPECT_EQ(veces, 1) << "the second instruction said once";
        EXPECT_FALSE(v->Tree2->isEnabled()) << "while a dialog is open";
        EXPECT_EQ(d->TXTDesde->text(), "2");
        EXPECT_EQ(d->TXTTam->text(), "2");
        EXPECT_EQ(d->TXTValor->text(), "");
        Marca(v, 1, 1, 1);
        EXPECT_EQ(d->TXTValor->text(), "P") << "the marked zone fills the value";
        Escribe(d->TXTDesde, "");
        EXPECT_EQ(d->TXTDesde->text(), "1") << "an emptied zone box";
        EXPECT_EQ(d->TXTDesde->selectedText(), "1");
        Teclea(d->TXTDescripcion, "Presentador");
        Escribe(d->TXTValor, "0");
        d->BTNAceptar->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(v->Tree2->isEnabled());
        NuevaTabla(v, 2, 1, 2, "Emisor", "12");

        RespondeCajas cajas;
        NuevaTabla(v, 1, 1, 1, "Otra", "0");
        ASSERT_TRUE(d->isVisible()) << "a refused kind keeps its dialog";
        EXPECT_TRUE(v->Tree2->isEnabled());
        Marca(v, 3, 1, 1);
        EXPECT_EQ(d->TXTValor->text(), "R");
        for (const char *nombre : {"emisor", "Re=cibo", ";Recibo", "lineas", "Recibo"}) {
            Escribe(d->TXTDescripcion, nombre);
            d->BTNAceptar->click();
        }
        errores = cajas.Vistas;
        EXPECT_FALSE(d->isVisible());

        Clic(v->Tree2, Tipo(v, 1));
        v->BTNModif->click();
        EXPECT_EQ(cp1252::fromQString(d->windowTitle()), "Modificaci\xF3n l\xEDnea");
        EXPECT_EQ(d->TXTValor->text(), "12");
        d->BTNAceptar->click();
        EXPECT_FALSE(d->isVisible()) << "a kind keeps its own value";
    }));
    EXPECT_EQ(Textos(errores), (std::vector<std::string>{"Ya ha definido una tabla con el mismo valor",
                                                         "Ya existe una tabla con ese nombre.",
                                                         "Los nombres no pueden llevar los caracteres = , [ ] ni el "
                                                         "valor una coma.",
                                                         "Los nombres no pueden empezar por # ni por ;.",
                                                         "Una tabla no puede llamarse LINEAS."}));
    ASSERT_EQ(errores.size(), 5u);
    EXPECT_EQ(errores[0].icono, QMessageBox::Critical);
    EXPECT_EQ(cp1252::fromQString(errores[0].titulo), "Error");
}

TEST_F(EditorPlantillas, FieldsStayOnTheirKindsLineAndLinksFollowTheirFields)
{
    std::vector<CajaVista> errores;
    std::vector<std::string> columnas;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        NuevaTabla(v, 1, 1, 1, "Presentador", "0");
        NuevaTabla(v, 2, 1, 1, "Emisor", "0");
        NuevoCampo(v, 0, 2, 9, "Nif");
        NuevoCampo(v, 0, 11, 3, "Sufijo");
        NuevoCampo(v, 1, 34, 20, "Cuenta");
        Asocia(v, 0, 0, "NIF del presentador");
        Asocia(v, 0, 1, "Sufijo del presentador");
        Asocia(v, 1, 0, "Cuenta de abono");

        RespondeCajas cajas({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Yes});
        TFRMAltaCampo *d = App().FRMAltaCampo;
        Clic(v->Tree2, Tipo(v, 0));
        Marca(v, 2, 14, 33);
        v->BTNMas->click();
        Teclea(d->TXTDescripcion, "Razon");
        d->BTNAceptar->click();
        EXPECT_TRUE(d->isVisible()) << "on another line";
        EXPECT_FALSE(v->Tree2->isEnabled()) << "until the field dialog closes";
        Escribe(d->TXTLinea, "1");
        Escribe(d->TXTDescripcion, "nif");
        d->BTNAceptar->click();
        Escribe(d->TXTDescripcion, "Razon");
        d->BTNAceptar->click();
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(v->Tree2->isEnabled());
        Asocia(v, 0, 2, "Sufijo del emisor");
        EXPECT_EQ(v->Plantilla()[0].Campos[2].Enlace, 0) << "20 characters do not fit in 3";

        Clic(v->Tree2, Tipo(v, 0)->child(0));
        v->BTNModif->click();
        EXPECT_EQ(cp1252::fromQString(d->windowTitle()), "Modificaci\xF3n campo");
        Escribe(d->TXTLinea, "2");
        d->BTNAceptar->click();
        EXPECT_EQ(d->TXTLinea->text(), "1") << "the field's line put back";
        EXPECT_EQ(v->Plantilla()[0].Campos[0].Enlace, 6) << "a refused change keeps the link";
        d->BTNCancelar->click();

        Clic(v->Tree2, Tipo(v, 0)->child(0));
        v->BTNBorrar->click();
        columnas.push_back(cp1252::fromQString(Columna(v, "NIF del presentador")->text(0)));
        columnas.push_back(cp1252::fromQString(Columna(v, "Sufijo del presentador")->text(0)));
        Clic(v->Tree2, Tipo(v, 0));
        v->BTNBorrar->click();
        columnas.push_back(cp1252::fromQString(Columna(v, "Sufijo del presentador")->text(0)));
        columnas.push_back(cp1252::fromQString(Columna(v, "Cuenta de abono")->text(0)));
        errores = cajas.Vistas;
        ASSERT_EQ(v->Plantilla().size(), 1u);
        EXPECT_EQ(v->Tree2->currentItem(), Tipo(v, 0));
        EXPECT_EQ(v->TXTDescripcion->text(), "Emisor") << "the node left selected is shown";
        EXPECT_EQ(v->Plantilla()[0].Campos[0].Enlace, 13);
    }));
    EXPECT_EQ(Textos(errores), (std::vector<std::string>{
                                   "Todos los campos de una tabla han de estar en la misma l\xEDnea",
                                   "Ya existe un campo con ese nombre en esta tabla.",
                                   "El tama\xF1o del campo debe ser igual o menor que 3",
                                   "Todos los campos de una tabla han de estar en la misma l\xEDnea",
                                   "\xBF" "Desea borrar este campo?", "\xBF" "Desea borrar esta tabla?"}));
    EXPECT_EQ(columnas, (std::vector<std::string>{"NIFdelpresentador", "Sufijodelpresentador : Sufijo",
                                                  "Sufijodelpresentador", "Cuentadeabono : Cuenta"}));
}

TEST_F(EditorPlantillas, TheZoneFollowsTheMouseTheKeysAndTheBoxesWithinTheGrid)
{
    testutil::writeFile(datos, std::string(78, 'x') + "\r\nabcdef\r\nghijkl\r\n");
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        EXPECT_EQ(v->Muestra->columnCount(), 79) << "80 columns with the fixed one";
        Marca(v, 1, 4, 4);
        QTest::keyClick(v->Grid, Qt::Key_Down);
        EXPECT_EQ(v->TXTLinea->text(), "2");
        EXPECT_EQ(v->LineaActual(), 2);
        QTest::keyClick(v->Grid, Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(v->TXTDesde->text(), "4");
        EXPECT_EQ(v->TXTTam->text(), "2");
        Marca(v, 2, 3, 5, 3);
        EXPECT_EQ(v->TXTLinea->text(), "2") << "a drag marks the row where it began";
        EXPECT_EQ(v->TXTDesde->text(), "3");
        EXPECT_EQ(v->TXTTam->text(), "3");
        NuevaTabla(v, 1, 1, 1, "Uno", "0");
        Clic(v->Tree2, Tipo(v, 0));
        v->BTNMas->click();
        TFRMAltaCampo *d = App().FRMAltaCampo;
        Escribe(d->TXTDesde, "200");
        EXPECT_EQ(v->TXTDesde->text(), "79");
        EXPECT_EQ(v->TXTTam->text(), "1");
        EXPECT_EQ(d->TXTDesde->text(), "79");
        const QModelIndexList marcadas = v->Grid->selectionModel()->selectedIndexes();
        ASSERT_EQ(marcadas.size(), 1);
        EXPECT_EQ(marcadas[0].column(), 78);
    }));
    EXPECT_FALSE(App().FRMAltaCampo->isVisible()) << "closing the editor closes its dialogs";
    EXPECT_EQ(App().FRMAltaCampo->parentWidget(), m);
}

// The kind and field dialogs stay above the editor while its grid is marked, as its tool
// windows kept on top, and go back to their owner with the editor.
TEST_F(EditorPlantillas, TheKindAndFieldDialogsStayAboveTheEditor)
{
    const std::pair<QDialog *, QPushButton *Editor::*> dialogos[] = {{App().FRMAltaLinea, &Editor::BTNNuevatabla},
                                                                     {App().FRMAltaCampo, &Editor::BTNMas}};
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        NuevaTabla(v, 1, 1, 1, "Uno", "0");
        Clic(v->Tree2, Tipo(v, 0));
        for (const auto &[dialogo, orden] : dialogos) {
            (v->*orden)->click();
            Marca(v, 1, 2, 3);
            EXPECT_TRUE(dialogo->isVisible() && dialogo->windowFlags() & Qt::WindowStaysOnTopHint)
                << dialogo->objectName().toStdString();
            EXPECT_EQ(dialogo->windowHandle()->transientParent(), v->windowHandle());
            dialogo->close();
        }
    }));
    for (const auto &[dialogo, orden] : dialogos)
        EXPECT_FALSE(dialogo->windowFlags() & Qt::WindowStaysOnTopHint) << "given back with the editor";
}

TEST_F(EditorPlantillas, AFieldLongerThanALineIsRefused)
{
    testutil::writeFile(datos, std::string(4095, 'x') + "\r\n");
    std::vector<CajaVista> errores;
    size_t campos = 1;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        NuevaTabla(v, 1, 1, 1, "Uno", "0");
        Clic(v->Tree2, Tipo(v, 0));
        v->BTNMas->click();
        TFRMAltaCampo *d = App().FRMAltaCampo;
        Escribe(d->TXTTam, "4096");
        EXPECT_EQ(v->TXTTam->text(), "4096") << "the line with its line end";
        Teclea(d->TXTDescripcion, "Todo");
        RespondeCajas cajas;
        d->BTNAceptar->click();
        errores = cajas.Vistas;
        campos = v->Plantilla()[0].Campos.size();
        d->BTNCancelar->click();
    }));
    EXPECT_EQ(campos, 0u);
    EXPECT_EQ(Textos(errores), (std::vector<std::string>{"El campo o tipo de l\xEDnea Uno.Todo mide m\xE1s de 4095 "
                                                         "caracteres, lo m\xE1s que cabe en una l\xEDnea."}));
}

TEST_F(EditorPlantillas, AUtf8SampleShowsACellPerCharacterAsTheImportCutsIt)
{
    testutil::writeFile(datos, "\xEF\xBB\xBF" "RPe\xC3\xB1" "a \xC5\x81ukasz\xE4\xB8\xAD" "X\r\n");
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        EXPECT_EQ(v->Muestra->columnCount(), 15);
        EXPECT_EQ(v->Muestra->index(0, 3).data().toString(), QString::fromUtf8("\xC3\xB1"));
        Marca(v, 1, 7, 14);
        EXPECT_EQ(v->TXTTam->text(), "8");
        EXPECT_EQ(v->Muestra->Texto(1, 7, 8), "Lukasz X");
    }));
}

TEST_F(EditorPlantillas, OpeningAsksForUnsavedWorkRefusesBrokenTemplatesAndMarksTheOrderTypesColumns)
{
    testutil::writeFile(sec, "[LINEAS]\r\nA=A,1,1,NULL\r\n[A]\r\nX=2,3,ALFANUMERICO,NULL,000100000\r\n");
    testutil::writeFile(carpeta.Ruta("cobros.opc"), "[Opciones]\r\nTipos_orden=csb58\r\n");
    const std::string rota = carpeta.Ruta("rota.sec");
    testutil::writeFile(rota, "[LINEAS]\r\nA=A,1,x,NULL\r\n[A]\r\nX=2,3,ALFANUMERICO,NULL,000100000\r\n");
    std::vector<CajaVista> avisos;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        NuevaTabla(v, 1, 1, 1, "Sola", "0");
        RespondeCajas cajas({QMessageBox::No, QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
        v->BTNAbrirusuario->click();
        EXPECT_EQ(v->Tree2->topLevelItemCount(), 1) << "No keeps the work";
        Elige(sec);
        v->BTNAbrirusuario->click();
        ASSERT_EQ(v->Tree2->topLevelItemCount(), 1);
        EXPECT_EQ(Tipo(v, 0)->text(0), "A");
        EXPECT_TRUE(Negrita(v, "Fecha de vencimiento"));
        EXPECT_TRUE(Negrita(v, "C\xF3" "digo INE de la plaza de emisi\xF3n"));
        EXPECT_EQ(App().FRMOpcionImport->Opciones.Separador_decimal, ",");

        AlMostrarse<TFRMOpcionImport>([](TFRMOpcionImport *o) {
            o->RBDomiciliados->click();
            o->BTNAceptar->click();
        });
        v->BTNOpciones->click();
        EXPECT_FALSE(Negrita(v, "Fecha de vencimiento"));
        EXPECT_TRUE(Negrita(v, "C\xF3" "digo INE de la plaza de emisi\xF3n")) << "the options leave it";

        Elige(rota);
        v->BTNAbrirusuario->click();
        EXPECT_EQ(v->Tree2->topLevelItemCount(), 0);
        avisos = cajas.Vistas;
    }));
    ASSERT_EQ(avisos.size(), 4u) << "an opened template counts as changed";
    EXPECT_EQ(cp1252::fromQString(avisos[0].texto), "Tiene datos sin guardar, \xBF" "Desea continuar?");
    EXPECT_EQ(avisos[2].texto, avisos[0].texto);
    EXPECT_EQ(cp1252::fromQString(avisos[3].texto), "El fichero especificado es erroneo");
    EXPECT_EQ(avisos[3].icono, QMessageBox::Critical);
}

TEST_F(EditorPlantillas, ASaveThatWroteNothingSaysSoAndKeepsTheWork)
{
    std::vector<CajaVista> avisos;
    bool modificado = false;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        NuevaTabla(v, 1, 1, 1, "Sin campos", "0");
        RespondeCajas cajas;
        Elige(sec);
        v->BTNAceptar->click();
        avisos = cajas.Vistas;
        modificado = v->Modificado();
    }));
    EXPECT_TRUE(modificado);
    ASSERT_FALSE(avisos.empty());
    EXPECT_EQ(cp1252::fromQString(avisos.back().texto),
              "No se ha guardado la plantilla: ninguna tabla tiene campos o no se ha podido escribir el fichero.");
    EXPECT_FALSE(testutil::fileExists(sec));
}

// Why a name the file could not give back is refused.
const std::string kCaracteres = "Los nombres no pueden llevar los caracteres = , [ ] ni el valor una coma.";
const std::string kControl =
    "Los nombres no pueden llevar tabuladores, saltos de l\xEDnea ni otros caracteres de control.";

// The name into the dialog's box as the clipboard pastes it (line breaks and tabs too).
void Pega(QLineEdit *caja, const std::string &nombre)
{
    QApplication::clipboard()->setText(cp1252::toQString(nombre));
    caja->selectAll();
    caja->paste();
}

TEST_F(EditorPlantillas, NamesItCouldNotSaveBackAreRefusedInTheDialogs)
{
    const struct {
        bool campo;
        const char *nombre;
        std::string error;
    } casos[] = {
        {false, "LINEAS", "Una tabla no puede llamarse LINEAS."},
        {false, " lineas ", "Una tabla no puede llamarse LINEAS."},
        {false, "X,Y", kCaracteres},
        {false, "X=Y", kCaracteres},
        {false, "X]", kCaracteres},
        {false, "#X", "Los nombres no pueden empezar por # ni por ;."},
        {false, " uno", "Ya existe una tabla con ese nombre."},
        {false, "A\nB", kControl},
        {true, "[Campo", kCaracteres},
        {true, "Nom,bre", kCaracteres},
        {true, ";X", "Los nombres no pueden empezar por # ni por ;."},
        {true, "N if", "Ya existe un campo con ese nombre en esta tabla."},
        {true, "A\tB", kControl},
    };
    std::vector<std::string> esperados, errores;
    PlantillaImportacion antes, despues;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        NuevaTabla(v, 1, 1, 1, "Uno", "0");
        NuevaTabla(v, 2, 1, 1, "Dos", "0");
        NuevoCampo(v, 0, 2, 9, "Nif");
        NuevoCampo(v, 0, 11, 3, "Sufijo");
        antes = v->Plantilla();
        RespondeCajas cajas;
        for (const auto &c : casos) {
            QDialog *dialogo = c.campo ? static_cast<QDialog *>(App().FRMAltaCampo) : App().FRMAltaLinea;
            QLineEdit *nombre = c.campo ? App().FRMAltaCampo->TXTDescripcion : App().FRMAltaLinea->TXTDescripcion;
            QPushButton *aceptar = c.campo ? App().FRMAltaCampo->BTNAceptar : App().FRMAltaLinea->BTNAceptar;
            // New, then the change of the second kind or field.
            for (const bool cambio : {false, true}) {
                QTreeWidgetItem *nodo = c.campo ? (cambio ? Tipo(v, 0)->child(1) : Tipo(v, 0)) : Tipo(v, 1);
                Clic(v->Tree2, nodo);
                if (!c.campo && !cambio)
                    Marca(v, 3, 1, 1);
                (cambio ? v->BTNModif : c.campo ? v->BTNMas : v->BTNNuevatabla)->click();
                Pega(nombre, c.nombre);
                if (!c.campo && !cambio)
                    Escribe(App().FRMAltaLinea->TXTValor, "0");
                aceptar->click();
                EXPECT_TRUE(dialogo->isVisible()) << c.nombre;
                dialogo->close();
                esperados.push_back(c.error);
            }
        }
        // A changed kind keeps the value typed: a line break in it is refused too.
        Clic(v->Tree2, Tipo(v, 1));
        v->BTNModif->click();
        Escribe(App().FRMAltaLinea->TXTTam, "3");
        Pega(App().FRMAltaLinea->TXTValor, "M\nN");
        App().FRMAltaLinea->BTNAceptar->click();
        App().FRMAltaLinea->close();
        esperados.push_back("El valor no puede llevar saltos de l\xEDnea.");
        Clic(v->Tree2, Tipo(v, 1));
        v->BTNModif->click();
        Escribe(App().FRMAltaLinea->TXTTam, "2");
        Pega(App().FRMAltaLinea->TXTValor, " 7");
        App().FRMAltaLinea->BTNAceptar->click();
        App().FRMAltaLinea->close();
        esperados.push_back("El valor no puede empezar por un blanco: la plantilla no lo guardar\xED" "a.");
        errores = Textos(cajas.Vistas);
        despues = v->Plantilla();
    }));
    EXPECT_EQ(errores, esperados);
    EXPECT_TRUE(despues == antes);
}

TEST_F(EditorPlantillas, EveryTemplateItSavesReadsBackEqual)
{
    const struct {
        const char *escrito, *guardado;
    } tipos[] = {{" Cabecera ", "Cabecera"}, {"Tabla dos", "Tabla dos"}, {"L\xEDneas", "L\xEDneas"}},
      campos[] = {{"Razon social", "Razonsocial"}, {"LINEAS", "LINEAS"}, {"A;B#", "A;B#"}, {"100%s", "100%s"},
                  {"\x80uro \xD1" "and\xFA", "\x80uro\xD1" "and\xFA"}};
    const std::string largo(79, 'x');
    PlantillaImportacion guardada, leida;
    std::string fichero, otraVez;
    ASSERT_TRUE(ConEditor([&](Editor *v) {
        AbreMuestra(v, datos);
        for (int t = 0; t < 3; ++t) {
            NuevaTabla(v, t + 1, 1, 1, tipos[t].escrito, "0");
            for (int c = 0; c < 5; ++c)
                NuevoCampo(v, t, 2 + 3 * c, 3, campos[(c + t) % 5].escrito, c);
        }
        NuevoCampo(v, 2, 40, 5, largo);
        guardada = v->Plantilla();
        Elige(sec);
        RespondeCajas cajas({QMessageBox::Yes}); // the required columns, then overwriting
        v->BTNAceptar->click();
        fichero = testutil::readFile(sec);
        Elige(sec);
        v->BTNAbrirusuario->click();
        leida = v->Plantilla();
        Elige(sec);
        v->BTNAceptar->click();
        otraVez = testutil::readFile(sec);
    }));
    ASSERT_EQ(guardada.size(), 3u);
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(guardada[size_t(t)].Nombre, tipos[t].guardado);
        ASSERT_GE(guardada[size_t(t)].Campos.size(), 5u);
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(guardada[size_t(t)].Campos[size_t(c)].Nombre, campos[(c + t) % 5].guardado);
    }
    EXPECT_EQ(guardada[2].Campos.back().Nombre, largo);
    EXPECT_TRUE(leida == guardada) << fichero;
    EXPECT_EQ(otraVez, fichero);
}

} // namespace
