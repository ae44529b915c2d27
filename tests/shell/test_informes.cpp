// The reports run from the main window on the real database: the bills report with its
// amounts, filters, titles and messages, the drawees report, the chooser, the preview and
// printing into a PDF file. Each report is read back from its PDF with pdftotext.
#include "rejillas.h"

#include "Aplicacion.h"
#include "Frmchooseinforme.h"
#include "Frmlistdocs.h"
#include "Frmlistemi.h"
#include "Frmmsg.h"
#include "Frmpreview.h"
#include "Frmrptemi.h"
#include "General.h"
#include "Login.h"
#include "Lstdocs.h"
#include "entorno.h"
#include "pdf.h"
#include "profile.h"
#include "ventanas.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using rejillas::RespondeMensajes;

// Issuer 4 of presenter 1 (CSB19) with batch 10 "Remesa A" (pesetas: 1000 and 2500), batch 11
// "Remesa B" (euros: 10.50) and batch 12 "Estados" (a bill of each state); its drawees alba
// and zeta; issuer 1 gets the drawee Ñu. Batch 3 of the CSB58 presenter gets two bills.
const char *const kDatos[] = {
    "INSERT INTO [_Emisores( Datos )] (Id_emisor,Id_presentador,Id_nif,Sufijo,Razon_social,Cuenta_abono) "
    "VALUES (4,1,'D44444444','002','Emisor D','21000418450200051332')",
    "UPDATE [_Emisores( Datos )] SET Sufijo='001' WHERE Id_emisor=1",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (10,4,'ESP','Remesa A')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (11,4,'EUR','Remesa B')",
    "INSERT INTO [Remesas()] (Id_remesa,Id_emisor,Id_moneda,Descripcion) VALUES (12,4,'ESP','Estados')",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta,Direccion,"
    "Localidad,Provincia,CP) VALUES (10,4,'RA','alba','20590060212084518352','Mayor 1','Lugo','Lugo','27001')",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social) "
    "VALUES (11,4,'RZ','zeta')",
    "INSERT INTO [Librados( Datos )] (Id_librado,Id_emisor,Codigo_referencia,Razon_social,Cuenta) "
    "VALUES (12,1,'RN','\xD1u','00491500051234567892')",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Ref_interna,Primer_concepto) "
    "VALUES (10,10,1000,6.01,'REF-MIL','Cuota de enero')",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor) VALUES (10,11,2500,15.03)",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Ref_interna) "
    "VALUES (11,10,10.5,1747,'REF-EUR')",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Ref_interna,Activo,Situacion) "
    "VALUES (12,10,1,'ACTIVO',1,0)",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Ref_interna,Activo,Situacion) "
    "VALUES (12,10,2,'DESACTIVADO',0,0)",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Ref_interna,Activo,Situacion) "
    "VALUES (12,10,4,'ERRONEO',0,1)",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Ref_interna,F_vencimiento) "
    "VALUES (3,3,12,1997,'ANT-1','2024/06/30')",
    "INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Ref_interna) VALUES (3,3,8,1331,'ANT-2')",
};

const std::string kUtf8Nu = "\xC3\x91u", kUtf8Alvarez = "\xC3\x81lvarez";

class Informes : public rejillas::Rejillas {
protected:
    void SetUp() override
    {
        Rejillas::SetUp();
        for (const char *sql : kDatos)
            ASSERT_TRUE(arranque::Ejecuta(sql)) << sql;
        App().FormLogin->LoginData.Id_usuario = "1";
        m->CargaArbol("1");
    }
    void TearDown() override
    {
        for (TFormInforme *i : std::initializer_list<TFormInforme *>{App().FormRptDocs, App().FormRptEmi})
            if (i->Preview)
                i->Preview->close();
    }

    // The text of the report's pages as a PDF, its preview closed; empty when no preview
    // opened.
    std::string Paginas(TFormInforme *informe)
    {
        if (!informe->Preview)
            return {};
        const std::string ruta = dir.file("informe.pdf");
        EXPECT_TRUE(informe->QRep.GuardaPDF(ruta));
        informe->Preview->close();
        return pdf::Texto(ruta);
    }

    // Runs the bills report from the main window's button, the options accepted after
    // ajuste; the text of its pages.
    std::string InformeRecibos(const std::function<void(TFormListDocs *)> &ajuste = {})
    {
        AlMostrarse<TFormListDocs>([ajuste](TFormListDocs *d) {
            if (ajuste)
                ajuste(d);
            d->BtnAceptar->click();
            if (d->isVisible())
                d->BtnCancelar->click();
        });
        m->cbtInformeRecibos->trigger();
        return Paginas(App().FormRptDocs);
    }

    // Runs the bills report of the batches with the state flags, as the options give them.
    std::string RecibosDe(std::vector<int> remesas, bool activos = true, bool desactivados = true,
                          bool erroneos = true)
    {
        TFormRptDocs *informe = App().FormRptDocs;
        informe->Activos = activos;
        informe->Desactivados = desactivados;
        informe->Erroneos = erroneos;
        informe->PreparaRptDocs(remesas);
        if (!informe->CuentaDocsRpt())
            return {};
        informe->Previsualiza();
        return Paginas(informe);
    }

    std::string InformeLibrados(const std::function<void(TFormListEmi *)> &ajuste = {})
    {
        AlMostrarse<TFormListEmi>([ajuste](TFormListEmi *d) {
            if (ajuste)
                ajuste(d);
            d->BtnAceptar->click();
            if (d->isVisible())
                d->BtnCancelar->click();
        });
        m->cbtInformeLibrados->trigger();
        return Paginas(App().FormRptEmi);
    }

    entorno::Regional regional{true};
    testutil::TempDir dir;
};

// One line of the text holding all the pieces in this order; empty when none does.
std::string Linea(const std::string &texto, const std::vector<std::string> &piezas)
{
    size_t desde = 0;
    while (desde < texto.size()) {
        const size_t fin = std::min(texto.find('\n', desde), texto.size());
        const std::string linea = texto.substr(desde, fin - desde);
        size_t k = 0;
        bool todas = true;
        for (const std::string &p : piezas) {
            k = linea.find(p, k);
            if (k == std::string::npos) {
                todas = false;
                break;
            }
            k += p.size();
        }
        if (todas)
            return linea;
        desde = fin + 1;
    }
    return {};
}

TEST_F(Informes, BillsReportSumsEachBatchAndBothCurrencies)
{
    Selecciona(ArbolRemesa, 11);
    const std::string texto = InformeRecibos([](TFormListDocs *d) {
        // Batches 10 and 11 only.
        d->CBTodas->click();
        d->LVRemesas->clearSelection();
        d->LVRemesas->topLevelItem(0)->setSelected(true);
        d->LVRemesas->topLevelItem(1)->setSelected(true);
    });
    ASSERT_FALSE(texto.empty());
    EXPECT_NE(texto.find("ORVANTA: Informe de Recibos"), std::string::npos);
    EXPECT_NE(texto.find("Informe de Remesas"), std::string::npos);
    EXPECT_NE(Linea(texto, {"Emisor", "Emisor D", "D44444444", "002"}), "");
    EXPECT_NE(Linea(texto, {"Cuenta de abono", "2100-0418-45-0200051332"}), "");
    EXPECT_NE(Linea(texto, {"REF-MIL", "alba", "2059-0060-21-2084518352", "Cuota de enero", "1.000", "6,01", "ESP"}),
              "");
    EXPECT_NE(Linea(texto, {"zeta", "2.500", "15,03", "ESP"}), "");
    EXPECT_NE(Linea(texto, {"Total remesa:", "3.500", "21,04"}), "");
    EXPECT_NE(Linea(texto, {"REF-EUR", "alba", "1.747", "10,50", "EUR"}), "");
    EXPECT_NE(Linea(texto, {"Total remesa:", "1.747", "10,50"}), "");
    EXPECT_NE(Linea(texto, {"Totales importes:", "5.247", "31,54"}), "");
    EXPECT_NE(Linea(texto, {"mero de recibos en pesetas", "2", "Total importe en pesetas:", "3.500",
                            "Contravalor euros", "21,04"}),
              "");
    EXPECT_NE(Linea(texto, {"mero de recibos en euros", "1", "Total importe en euros:", "10,50",
                            "Contravalor pesetas", "1.747"}),
              "");
    EXPECT_EQ(texto.find("NULL"), std::string::npos);
    // The CSB19 report has no due-date column.
    EXPECT_EQ(texto.find("Fecha Vcto"), std::string::npos);
    EXPECT_LT(texto.find("Remesa A"), texto.find("Remesa B"));
}

TEST_F(Informes, TheOptionsShowEachBatchsTotalAsTheGridsDo)
{
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET Importe_total=3500 WHERE Id_remesa=10"));
    ASSERT_TRUE(arranque::Ejecuta("UPDATE [Remesas()] SET Importe_total=16575.95 WHERE Id_remesa=11"));
    Selecciona(ArbolRemesa, 11);
    std::vector<QString> importes;
    AlMostrarse<TFormListDocs>([&importes](TFormListDocs *d) {
        for (int i = 0; i < 2; ++i)
            importes.push_back(d->LVRemesas->topLevelItem(i)->text(2));
        d->BtnCancelar->click();
    });
    m->cbtInformeRecibos->trigger();
    EXPECT_EQ(importes, (std::vector<QString>{QStringLiteral("3.500"), QStringLiteral("16.575,95")}));
}

TEST_F(Informes, OneBatchIsTitledInTheSingular)
{
    Selecciona(ArbolRemesa, 10);
    const std::string texto = InformeRecibos([](TFormListDocs *d) {
        d->CBTodas->click();
        d->LVRemesas->clearSelection();
        d->LVRemesas->topLevelItem(1)->setSelected(true);
    });
    EXPECT_EQ(pdf::Veces(texto, "Informe de Remesa"), 1);
    EXPECT_EQ(pdf::Veces(texto, "Informe de Remesas"), 0);
    EXPECT_EQ(pdf::Veces(texto, "Remesa B"), 1);
    EXPECT_EQ(pdf::Veces(texto, "Remesa A"), 0);
}

TEST_F(Informes, EachStateFilterPicksItsBills)
{
    Selecciona(ArbolEmisor, 4);
    const struct {
        bool activos, desactivados, erroneos;
        std::vector<std::string> vistos;
    } casos[] = {
        {true, false, false, {"ACTIVO"}},
        {false, true, false, {"DESACTIVADO"}},
        {false, false, true, {"ERRONEO"}},
        {true, true, false, {"ACTIVO", "DESACTIVADO"}},
        {true, false, true, {"ACTIVO", "ERRONEO"}},
        {false, true, true, {"DESACTIVADO", "ERRONEO"}},
        {true, true, true, {"ACTIVO", "DESACTIVADO", "ERRONEO"}},
    };
    for (const auto &c : casos) {
        const std::string texto = RecibosDe({12}, c.activos, c.desactivados, c.erroneos);
        for (const char *ref : {"ACTIVO", "DESACTIVADO", "ERRONEO"}) {
            const bool visto = std::find(c.vistos.begin(), c.vistos.end(), ref) != c.vistos.end();
            EXPECT_EQ(pdf::Veces(texto, ref), visto ? 1 : 0)
                << ref << " " << c.activos << c.desactivados << c.erroneos;
        }
        EXPECT_NE(Linea(texto, {"mero de recibos en pesetas", std::to_string(c.vistos.size())}), "");
    }
}

TEST_F(Informes, TheOptionsRefuseNoBatchAndNoStateAndTheReportNoBills)
{
    Selecciona(ArbolRemesa, 10);
    RespondeMensajes mensajes;
    RespondeCajas cajas;
    EXPECT_EQ(InformeRecibos([](TFormListDocs *d) {
                  d->CBTodas->click();
                  d->LVRemesas->clearSelection();
              }),
              "");
    EXPECT_EQ(InformeRecibos([](TFormListDocs *d) {
                  for (QCheckBox *c : {d->CBActivos, d->CBoxDesactivados, d->CBoxErroneos})
                      c->setChecked(false);
              }),
              "");
    ASSERT_EQ(mensajes.Textos.size(), 2u);
    EXPECT_EQ(mensajes.Textos[0], Idioma.GetTexto(175));
    EXPECT_EQ(mensajes.Textos[1], Idioma.GetTexto(176));
    // Only erroneous bills of the batches of amounts: none.
    EXPECT_EQ(InformeRecibos([](TFormListDocs *d) {
                  d->CBActivos->setChecked(false);
                  d->CBoxDesactivados->setChecked(false);
                  d->CBTodas->click();
                  d->LVRemesas->clearSelection();
                  d->LVRemesas->topLevelItem(0)->setSelected(true);
              }),
              "");
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(333));
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].titulo), Idioma.GetTexto(6));
    EXPECT_FALSE(App().FormRptDocs->Preview);
}

TEST_F(Informes, AdvancesShowTheirTitlesAndDueDates)
{
    Selecciona(ArbolRemesa, 3);
    const std::string texto = InformeRecibos();
    EXPECT_NE(texto.find("ORVANTA: Informe de Anticipos"), std::string::npos);
    EXPECT_NE(Linea(texto, {"Fecha Vcto", "Ref Interna", "Nombre librado"}), "");
    EXPECT_NE(Linea(texto, {"30/06/2024", "ANT-1", "Cerezo", "0000-0000-00-0000000000", "1.997", "12,00"}), "");
    // A bill without due date prints none.
    const std::string sinFecha = Linea(texto, {"ANT-2"});
    EXPECT_EQ(sinFecha.substr(0, sinFecha.find("ANT-2")).find_first_not_of(' '), std::string::npos) << sinFecha;
    EXPECT_NE(Linea(texto, {"mero de anticipos en euros", "2", "Total importe anticipos en euros", "20,00"}), "");
}

TEST_F(Informes, EveryRunRaisesTheOrderNumber)
{
    Selecciona(ArbolRemesa, 12);
    const std::string ini = GetAppPath() + "Orvanta.INI";
    const int antes = profile::readInt(ini, "General", "NumOrden", 1);
    InformeRecibos();
    InformeRecibos();
    EXPECT_EQ(profile::readInt(ini, "General", "NumOrden", 1), antes + 2);
}

TEST_F(Informes, AFailedReportQueryIsShownAndOpensNoPreview)
{
    TFormRptDocs *informe = App().FormRptDocs;
    Selecciona(ArbolEmisor, 4);
    informe->PreparaRptDocs({10});
    ASSERT_TRUE(arranque::Ejecuta("DROP TABLE [Documentos()]"));
    RespondeCajas cajas;
    EXPECT_FALSE(informe->Previsualiza());
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(880));
    EXPECT_FALSE(informe->Preview);
}

TEST_F(Informes, DraweesOfTwoIssuersInterleaveInNameOrder)
{
    Selecciona(ArbolEmisor, 4);
    const std::string texto = InformeLibrados();
    ASSERT_FALSE(texto.empty());
    EXPECT_NE(texto.find("ORVANTA: Informe de Librados"), std::string::npos);
    EXPECT_NE(Linea(texto, {"Presentador :", "Norte", "B11111111", "000"}), "");
    EXPECT_NE(Linea(texto, {"Referencia", "Emisor", "Nombre", "Direcci", "Localidad", "Provincia", "CP", "Cuenta"}),
              "");
    const std::vector<std::string> orden = {"alba", kUtf8Alvarez, "Bravo & Hijos", kUtf8Nu, "zeta"};
    size_t antes = 0;
    for (const std::string &nombre : orden) {
        const size_t k = texto.find(nombre);
        ASSERT_NE(k, std::string::npos) << nombre;
        EXPECT_GT(k, antes) << nombre;
        antes = k;
    }
    EXPECT_NE(Linea(texto, {"RA", "D44444444-002", "alba", "Mayor 1", "Lugo", "Lugo", "27001", "2059-0060-21-2084518352"}),
              "");
    EXPECT_NE(Linea(texto, {"RN", "A11111111-001", kUtf8Nu, "0049-1500-05-1234567892"}), "");
    EXPECT_NE(Linea(texto, {"RZ", "D44444444-002", "zeta"}), "");
    EXPECT_EQ(texto.find("NULL"), std::string::npos);
}

TEST_F(Informes, TheDraweeOptionsRefuseNoIssuerAndTheReportNoDrawees)
{
    ASSERT_TRUE(arranque::Ejecuta("DELETE FROM [Librados( Datos )] WHERE Id_emisor=2"));
    Selecciona(ArbolRemesa, 3);
    RespondeMensajes mensajes;
    RespondeCajas cajas;
    EXPECT_EQ(InformeLibrados([](TFormListEmi *d) {
                  d->CBTodas->click();
                  d->LVEmisores->clearSelection();
              }),
              "");
    ASSERT_EQ(mensajes.Textos.size(), 1u);
    EXPECT_EQ(mensajes.Textos[0], Idioma.GetTexto(181));
    EXPECT_EQ(InformeLibrados(), "");
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), Idioma.GetTexto(334));
}

TEST_F(Informes, TheChooserMirrorsTheMainWindowAndChecksAgain)
{
    Selecciona(ArbolEmisor, 4);
    ASSERT_FALSE(m->cbtInformeRecibos->isEnabled());
    ASSERT_TRUE(m->cbtInformeLibrados->isEnabled());
    m->cbtMasterInforme->trigger();
    TFormChooseInforme *selector = App().FormChooseInforme;
    ASSERT_TRUE(selector->isVisible());
    EXPECT_EQ(selector->windowTitle(), QStringLiteral("Informes"));
    EXPECT_FALSE(selector->cbtInfRecibos->isEnabled());
    EXPECT_TRUE(selector->cbtInfLibrados->isEnabled());

    // Enabled by hand, the bills button still runs nothing while the main window's is off.
    Respondedor<TFormListDocs> docs([](TFormListDocs *d) { d->BtnCancelar->click(); });
    Respondedor<TFormListEmi> emi([](TFormListEmi *d) { d->BtnCancelar->click(); });
    selector->cbtInfRecibos->setEnabled(true);
    selector->cbtInfRecibos->click();
    EXPECT_FALSE(selector->isVisible());
    QTest::qWait(50);
    EXPECT_EQ(docs.Veces(), 0);

    m->cbtMasterInforme->trigger();
    selector->cbtInfLibrados->click();
    EXPECT_FALSE(selector->isVisible());
    EXPECT_EQ(emi.Veces(), 1);

    // On a batch both are on.
    Selecciona(ArbolRemesa, 10);
    m->cbtMasterInforme->trigger();
    EXPECT_TRUE(selector->cbtInfRecibos->isEnabled());
    selector->cbtInfRecibos->click();
    EXPECT_EQ(docs.Veces(), 1);
    selector->BitBtn1->click();
    EXPECT_FALSE(selector->isVisible());
}

// 60 bills of batch 10: three landscape pages.
class TresPaginas : public Informes {
protected:
    void SetUp() override
    {
        Informes::SetUp();
        ASSERT_TRUE(arranque::Ejecuta(rejillas::RecibosEnSerie(10, 58, 10, 2)));
        Selecciona(ArbolEmisor, 4);
    }
};

TEST_F(TresPaginas, ThePreviewPagesAndZooms)
{
    TFormRptDocs *informe = App().FormRptDocs;
    informe->PreparaRptDocs({10});
    ASSERT_TRUE(informe->Previsualiza());
    ASSERT_EQ(informe->QRep.PageCount(), 3);
    TPreviewForm *p = informe->Preview;
    ASSERT_TRUE(p && p->isVisible());
    EXPECT_TRUE(p->isMaximized());
    EXPECT_EQ(p->windowTitle(), QStringLiteral("Presentaci\u00F3n preliminar"));
    EXPECT_EQ(p->cbtZoomIn->toolTip(), QStringLiteral("Aumentar"));
    EXPECT_FALSE(p->cbtPrinterSetup->isVisible());
    TQRPreview *vista = p->QRPreview1;
    const struct {
        QAbstractButton *boton;
        int pagina, zoom;
    } pasos[] = {
        {p->cbtPostPage, 2, 100}, {p->cbtPostPage, 3, 100}, {p->cbtPostPage, 3, 100}, {p->cbtFirst, 1, 100},
        {p->cbtPrePage, 1, 100},  {p->cbtLast, 3, 100},     {p->cbtPrePage, 2, 100},  {p->cbtZoomIn, 2, 110},
        {p->cbtZoomIn, 2, 120},   {p->cbtZoomOut, 2, 110},
    };
    const int ancho = vista->widget()->width();
    for (const auto &paso : pasos) {
        paso.boton->click();
        EXPECT_EQ(vista->PageNumber(), paso.pagina) << paso.boton->objectName().toStdString();
        EXPECT_EQ(vista->Zoom(), paso.zoom) << paso.boton->objectName().toStdString();
    }
    EXPECT_EQ(vista->widget()->width(), ancho * 110 / 100);
    p->cbtCerrar->click();
    EXPECT_TRUE(arranque::Espera([informe] { return !informe->Preview; }));
    EXPECT_EQ(informe->QRep.PageCount(), 0);
}

TEST_F(TresPaginas, EscapeAndTheUnderlinedLetterCloseThePreview)
{
    TFormRptDocs *informe = App().FormRptDocs;
    for (const auto &[tecla, teclas] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
                                        std::pair{Qt::Key_E, Qt::KeyboardModifiers(Qt::AltModifier)}}) {
        informe->PreparaRptDocs({10});
        ASSERT_TRUE(informe->Previsualiza());
        ASSERT_TRUE(Activa(informe->Preview));
        QTest::keyClick(QApplication::focusWidget(), tecla, teclas);
        EXPECT_TRUE(arranque::Espera([informe] { return !informe->Preview; }, 2000))
            << QKeySequence(tecla | teclas).toString().toStdString();
    }
}

TEST_F(TresPaginas, CancelDuringTheLayoutAndClosingThePreviewLeaveTheNextRunWhole)
{
    TFormRptDocs *informe = App().FormRptDocs;
    informe->PreparaRptDocs({10});
    bool cancelado = false;
    QTimer::singleShot(0, informe, [&] {
        if (auto *progreso = informe->findChild<QProgressDialog *>()) {
            progreso->findChild<QPushButton *>()->click();
            cancelado = true;
        }
    });
    EXPECT_FALSE(informe->Previsualiza());
    EXPECT_TRUE(cancelado);
    EXPECT_FALSE(informe->Preview);
    EXPECT_EQ(informe->QRep.PageCount(), 0);

    for (int vez = 0; vez < 2; ++vez) {
        ASSERT_TRUE(informe->Previsualiza());
        const std::string texto = Paginas(informe);
        // 1000 + 2500 + 1 + 2 + ... + 58 pesetas, 60 bills.
        EXPECT_NE(Linea(texto, {"Totales importes:", "5.211"}), "") << vez;
        EXPECT_NE(Linea(texto, {"mero de recibos en pesetas", "60"}), "") << vez;
        EXPECT_EQ(pdf::Veces(texto, "Remesa A"), 1) << vez;
    }
}

TEST_F(TresPaginas, WithoutPrintersPrintWritesTheChosenPdf)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    TFormRptDocs *informe = App().FormRptDocs;
    informe->PreparaRptDocs({10});
    ASSERT_TRUE(informe->Previsualiza());
    const std::string ruta = dir.file("copia");
    bool enNombre = false;
    Respondedor<QFileDialog> dialogo([&](QFileDialog *d) {
        auto *nombre = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QTest::qWait(20);
        enNombre = nombre && nombre->hasFocus();
        if (!nombre) {
            d->reject();
            return;
        }
        QTest::keyClicks(nombre, QString::fromStdString(ruta));
        QTest::keyClick(nombre, Qt::Key_Return);
    });
    informe->Preview->cbtImprimir->click();
    EXPECT_EQ(dialogo.Veces(), 1);
    EXPECT_TRUE(enNombre);
    EXPECT_EQ(pdf::Info(ruta + ".pdf", "Pages"), "3");
    EXPECT_NE(pdf::Texto(ruta + ".pdf").find("ORVANTA: Informe de Recibos"), std::string::npos);
}

} // namespace
