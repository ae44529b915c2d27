// The send-file window, the euro reminder and the issuer selection dialog, driven
// offscreen on the program's windows and the shipped database.
#include "Exportar.h"

#include "Aplicacion.h"
#include "Cajafecha.h"
#include "Frmmain.h"
#include "General.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Recordeuro.h"
#include "Seleccemisor.h"
#include "arranque.h"
#include "cobros.h"
#include "profile.h"
#include "qcp1252.h"
#include "testutil.h"
#include "ventanas.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Texto(const QLabel *etiqueta)
{
    return cp1252::fromQString(etiqueta->text());
}

std::vector<std::string> Columna(const QTreeWidget *lista, int columna)
{
    std::vector<std::string> textos;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        textos.push_back(cp1252::fromQString(lista->topLevelItem(i)->text(columna)));
    return textos;
}

class VentanaExportar : public ::testing::Test {
protected:
    void SetUp() override
    {
        m = ventanas.Main();
        const int empresa = cobros::Empresa();
        csb19 = cobros::Presentador(empresa, "CSB19", "B11111111", "000", "Norte");
        csb58 = cobros::Presentador(empresa, "CSB58", "B22222222", "001", "Sur");
        const int zeta = cobros::Emisor(csb19, "A11111111", "001", "Zeta", "21000418450200051332");
        const int alfa = cobros::Emisor(csb19, "A22222222", "002", "Alfa", "20590060212084518352");
        const int sur = cobros::Emisor(csb58, "C33333333", "003", "Sur uno", "20590060212084518352");
        const int librado = cobros::AltaLibrado(alfa, {"R1", "Librado", "21000418450200051332", "", "", "", "", "", ""});
        const int libradoZ = cobros::AltaLibrado(zeta, {"R2", "Otro", "21000418450200051332", "", "", "", "", "", ""});
        enero = cobros::Remesa(zeta, "EUR", "Enero");
        febrero = cobros::Remesa(alfa, "EUR", "Febrero");
        abril = cobros::Remesa(alfa, "EUR", "Abril");
        pesetas = cobros::Remesa(alfa, "ESP", "Pesetas");
        cobros::Remesa(sur, "EUR", "Anticipos");
        cobros::Recibo recibo;
        recibo.importe = "1234.5";
        cobros::AltaRecibo(febrero, librado, recibo);
        recibo.activo = false;
        cobros::AltaRecibo(febrero, librado, recibo);
        ASSERT_TRUE(cobros::RecibosEnSerie(abril, true, 5000, librado, 1));
        ASSERT_TRUE(cobros::RecibosEnSerie(enero, true, 5000, libradoZ, 1));
        cobros::AltaRecibo(pesetas, librado, {});
        m->SaltarLogin = true;
        m->show();
        ASSERT_TRUE(arranque::Espera([this] { return m->GridsActivos; }));
        m->MuestraEmpresa(empresa);
        Selecciona(csb19);
        v = App().FormExportar;
    }

    void Selecciona(int presentador)
    {
        for (QTreeWidgetItemIterator i(m->treeInfoGlobal); *i; ++i)
            if (TFormMain::GetNivelNodo(*i) == 1 && TFormMain::IdNodo(*i) == std::to_string(presentador)) {
                m->treeInfoGlobal->setCurrentItem(*i);
                (*i)->setSelected(true);
            }
        ASSERT_NE(m->NodoSeleccionado(), nullptr);
    }

    // Selects the list's rows of the batches, in the list's order.
    void Marca(std::initializer_list<int> remesas)
    {
        v->lstRemesas->clearSelection();
        for (int i = 0; i < v->lstRemesas->topLevelItemCount(); ++i)
            for (int r : remesas)
                if (v->lstRemesas->topLevelItem(i)->text(0) == QString::number(r))
                    v->lstRemesas->topLevelItem(i)->setSelected(true);
    }

    std::vector<std::string> Proceso() const
    {
        std::vector<std::string> lineas;
        for (int i = 0; i < v->lstProceso->count(); ++i)
            lineas.push_back(cp1252::fromQString(v->lstProceso->item(i)->text()));
        return lineas;
    }

    arranque::Carpeta carpeta;
    arranque::Ventanas ventanas;
    TFormMain *m = nullptr;
    TFormExportar *v = nullptr;
    int csb19 = 0, csb58 = 0, enero = 0, febrero = 0, abril = 0, pesetas = 0;
};

TEST_F(VentanaExportar, ListsThePresentersBatchesWithTheirActiveAmounts)
{
    v->show();
    EXPECT_EQ(cp1252::fromQString(v->windowTitle()), "Generaci\xF3n de fichero de env\xEDo");
    EXPECT_EQ(Texto(v->lblPresentador), "(CSB19) Norte") << "the caption of the presenter node";
    EXPECT_EQ(Texto(v->lblRutaCSB), carpeta.dir().path() + "CSB19");
    EXPECT_EQ(cp1252::fromQString(v->cbtGenerar->text()), " &Generar CSB19");
    EXPECT_EQ(Columna(v->lstRemesas, TFormExportar::ColEmisor), (std::vector<std::string>{"Alfa", "Alfa", "Alfa", "Zeta"}));
    EXPECT_EQ(Columna(v->lstRemesas, TFormExportar::ColDescripcion),
              (std::vector<std::string>{"Abril", "Febrero", "Pesetas", "Enero"}));
    EXPECT_EQ(Columna(v->lstRemesas, TFormExportar::ColImporte)[1], FormatImporte("1234.5", "EUR"))
        << "only the active bills count";
    EXPECT_TRUE(v->lstRemesas->isColumnHidden(TFormExportar::ColMoneda));
    EXPECT_TRUE(v->lstRemesas->isColumnHidden(TFormExportar::ColIdEmisor));
    EXPECT_FALSE(v->cbtGenerar->isEnabled());
    EXPECT_EQ(v->datePicker->date(), QDate::currentDate());
    EXPECT_EQ(v->datePicker->minimumDate(), QDate::currentDate());
    EXPECT_TRUE(v->datePicker->isVisible());
    v->hide();

    Selecciona(csb58);
    v->show();
    EXPECT_EQ(Columna(v->lstRemesas, TFormExportar::ColDescripcion), std::vector<std::string>{"Anticipos"});
    // A batch without bills: its zero amounts as euros show them, in the list and the totals.
    const std::string cero = FormatImporte("0", "EUR");
    ASSERT_NE(cero, "0");
    EXPECT_EQ(Columna(v->lstRemesas, TFormExportar::ColImporte)[0], cero);
    EXPECT_EQ(Texto(v->lblTotalImporte), cero);
    EXPECT_EQ(Texto(v->lblContravalor), "0");
    v->lstRemesas->topLevelItem(0)->setSelected(true);
    v->cbtGenerar->click();
    EXPECT_EQ(Texto(v->lblTotalImporte), cero) << "after a run that wrote nothing";
    EXPECT_EQ(Texto(v->lblContravalor), "0");
    EXPECT_FALSE(v->datePicker->isVisible()) << "a CSB58 file has no charge date";
    EXPECT_EQ(cp1252::fromQString(v->cbtGenerar->text()), " &Generar CSB58");
    v->hide();
}

TEST_F(VentanaExportar, TheChargeDateIsTypedOrPicked)
{
    ASSERT_TRUE(Activa(v));
    Marca({febrero});
    TCajaFecha *fecha = v->datePicker;
    const QDate siguiente = QDate::currentDate().addMonths(1);
    const QDate dia15(siguiente.year(), siguiente.month(), 15);
    fecha->setFocus();
    fecha->selectAll();
    Teclea(fecha, cp1252::toQString(FechaUsuario(dia15)));
    QTest::keyClick(fecha, Qt::Key_Tab);
    EXPECT_EQ(fecha->date(), dia15);
    fecha->setFocus();

    // Before today: refused at the button with its reason, the text kept, no file.
    const QString ayer = cp1252::toQString(FechaUsuario(QDate::currentDate().addDays(-1)));
    fecha->selectAll();
    Teclea(fecha, ayer);
    RespondeCajas cajas;
    v->cbtGenerar->click();
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto),
              FormateaTexto(Idioma.GetTexto(674), FechaUsuario(QDate::currentDate())));
    EXPECT_EQ(fecha->text(), ayer);
    EXPECT_EQ(fecha->date(), dia15) << "the box keeps its last date";
    EXPECT_TRUE(Proceso().empty());

    // The calendar drops down with F4; Enter takes the day chosen.
    QTest::keyClick(fecha, Qt::Key_F4);
    auto *calendario = fecha->findChild<QCalendarWidget *>();
    ASSERT_NE(calendario, nullptr);
    EXPECT_TRUE(calendario->isVisible());
    EXPECT_EQ(calendario->minimumDate(), QDate::currentDate());
    calendario->setSelectedDate(dia15.addDays(1));
    QTest::keyClick(calendario->findChild<QAbstractItemView *>(), Qt::Key_Return);
    EXPECT_FALSE(calendario->isVisible());
    EXPECT_EQ(fecha->date(), dia15.addDays(1));
    EXPECT_EQ(fecha->text(), cp1252::toQString(FechaUsuario(dia15.addDays(1))));
    v->hide();
}

TEST_F(VentanaExportar, AChargeDateOutsideTheBankFilesTwoDigitYearsIsRefused)
{
    ASSERT_TRUE(Activa(v));
    Marca({febrero});
    TCajaFecha *fecha = v->datePicker;
    const std::string anios =
        "El fichero del banco lleva el a\xF1o con dos cifras: escriba una fecha entre los a\xF1os 1970 y 2069.";
    const std::string anterior = FormateaTexto(Idioma.GetTexto(674), FechaUsuario(QDate::currentDate()));
    const std::pair<const char *, const std::string *> casos[] = { // taken: the file's date is 311269
        {"20/01/0027", &anios}, {"20010027", &anios},   {"31/12/1969", &anios}, {"01/01/2070", &anios},
        {"01/01/1970", &anterior}, {"31/12/69", nullptr}, {"31/12/2069", nullptr}};
    for (const auto &[tecleado, motivo] : casos) {
        fecha->setFocus();
        fecha->selectAll();
        Teclea(fecha, QString::fromLatin1(tecleado));
        RespondeCajas cajas;
        v->cbtGenerar->click();
        EXPECT_EQ(cajas.Vistas.empty() ? "" : cp1252::fromQString(cajas.Vistas[0].texto), motivo ? *motivo : "")
            << tecleado;
        EXPECT_EQ(Proceso().empty(), motivo != nullptr) << tecleado << ": a file only for a date taken";
        if (!motivo) {
            EXPECT_EQ(v->FechaProceso, "311269") << tecleado;
            v->lstProceso->clear();
            cobros::Ejecuta("UPDATE [Remesas()] SET F_generacion=NULL"); // as never sent
            Marca({febrero});
        }
    }
    v->hide();
}

TEST_F(VentanaExportar, TheMainWindowsCommandShowsItAndTellsTheOtherCopies)
{
    ASSERT_TRUE(arranque::Espera([this] { return m->mainMenuFichero->isEnabled(); }));
    EXPECT_TRUE(m->cbtExportar->isEnabled());
    int filas = -1;
    AlMostrarse<TFormExportar>([&filas](TFormExportar *w) {
        filas = w->lstRemesas->topLevelItemCount();
        w->BitBtn1->click();
    });
    m->mainMenuFichero->trigger();
    EXPECT_EQ(filas, 4);
    const std::string aviso = "SELECT Nivel, Id_Actualizar FROM [Actualizaciones()] ORDER BY Id_Actualizacion DESC";
    EXPECT_EQ(cobros::Valor(aviso, "Nivel"), "2");
    EXPECT_EQ(cobros::Valor(aviso, "Id_Actualizar"), std::to_string(csb19));
}

TEST_F(VentanaExportar, OtherCopiesNoticesRefillTheListAtOnce)
{
    App().FormLogin->LoginData.Id_usuario = "1"; // bills notices count from this user's copies
    v->show();
    ASSERT_EQ(v->lstRemesas->topLevelItemCount(), 4);
    cobros::Remesa(cobros::Emisor(csb19, "A55555555", "005", "Beta", ""), "EUR", "Nueva");
    m->RecibeActualizacion(1, NIVEL_REMESAS, 1);
    EXPECT_EQ(v->lstRemesas->topLevelItemCount(), 5);
    cobros::Ejecuta("DELETE FROM [Remesas()] WHERE Descripcion='Nueva'");
    v->Generando = true;
    m->RecibeActualizacion(1, NIVEL_DOCUMENTOS, 1);
    EXPECT_EQ(v->lstRemesas->topLevelItemCount(), 5) << "not while a run writes";
    v->Generando = false;
    m->RecibeActualizacion(1, NIVEL_DOCUMENTOS, 1);
    EXPECT_EQ(v->lstRemesas->topLevelItemCount(), 4);
    v->hide();
}

TEST_F(VentanaExportar, RefusesAMixOfCurrencies)
{
    v->show();
    RespondeCajas cajas;
    Marca({febrero});
    EXPECT_TRUE(v->cbtGenerar->isEnabled());
    for (int i = 0; i < v->lstRemesas->topLevelItemCount(); ++i)
        if (v->lstRemesas->topLevelItem(i)->text(0) == QString::number(pesetas))
            v->lstRemesas->topLevelItem(i)->setSelected(true);
    ASSERT_TRUE(arranque::Espera([&] { return !cajas.Vistas.empty(); }));
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto), "No se pueden mezclar remesas en distintas monedas.");
    EXPECT_EQ(v->lstRemesas->selectedItems().size(), 1);
    Marca({pesetas});
    EXPECT_EQ(v->lstRemesas->selectedItems().size(), 1) << "one batch alone is never refused";
    v->hide();
}

TEST_F(VentanaExportar, GeneratesTheFileAndShowsTheRun)
{
    profile::writeString(carpeta.Ini(), "FICHEROCSB", "UltimoFichero", "3");
    v->show();
    Marca({febrero, abril, enero});
    std::vector<int> avance;
    QObject::connect(v->gaugeProceso, &QProgressBar::valueChanged, [&avance](int valor) { avance.push_back(valor); });
    v->cbtGenerar->click();
    const std::string nombre = FechaBanco(QDate::currentDate()) + "3.csb";
    EXPECT_TRUE(testutil::fileExists(carpeta.dir().path() + "CSB19/" + nombre));
    EXPECT_TRUE(testutil::fileExists(carpeta.dir().path() + "HISTORICO/hst" + nombre));
    const std::vector<std::string> lineas = Proceso();
    ASSERT_FALSE(lineas.empty());
    EXPECT_EQ(lineas.front(), "Creando fichero: '" + nombre + "'");
    EXPECT_EQ(lineas.back(), "CSB GENERADO CORRECTAMENTE");
    EXPECT_EQ(Texto(v->lblNRecibos), "10001");
    EXPECT_EQ(Texto(v->lblOrdenantes), "3");
    EXPECT_EQ(v->gaugeProceso->value(), v->gaugeProceso->maximum());
    EXPECT_GE(std::set<int>(avance.begin(), avance.end()).size(), 3u) << "the bar moves through the run";
    EXPECT_FALSE(v->Generando);
    EXPECT_EQ(profile::readString(carpeta.Ini(), "FICHEROCSB", "UltimoFichero", ""), "4");
    EXPECT_EQ(m->UltimoFichero, "4");
    v->hide();
}

// By keys: after a file one more Return sends nothing; the batch shows its day, and a run
// that includes it asks first, naming it, with No as the default.
TEST_F(VentanaExportar, ABatchSentGoesAgainOnlyOnTheUsersWord)
{
    ASSERT_TRUE(Activa(v));
    Marca({febrero});
    v->lstRemesas->setFocus();
    for (int vez = 0; vez < 2; ++vez) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(m->UltimoFichero, "1") << "the same batches are not one key away";
    }
    const std::string hoy = FechaUsuario(QDate::currentDate());
    EXPECT_EQ(Columna(v->lstRemesas, TFormExportar::ColEnvio), (std::vector<std::string>{"", hoy, "", ""}));
    RespondeCajas cajas({QMessageBox::NoButton, QMessageBox::Yes});
    for (const char *contador : {"1", "2"}) {
        Marca({febrero, abril});
        QTest::keyClick(v->lstRemesas, Qt::Key_Return);
        EXPECT_EQ(m->UltimoFichero, contador) << "Return on the question is No; Yes sends";
    }
    ASSERT_EQ(cajas.Vistas.size(), 2u);
    EXPECT_EQ(cp1252::fromQString(cajas.Vistas[0].texto),
              Idioma.GetTexto(807) + "\n'Febrero', generada el " + hoy + "\n\n" + Idioma.GetTexto(808));
    v->hide();
}

TEST_F(VentanaExportar, PesetasAfterTheEuroDateShowTheReminder)
{
    v->show();
    Marca({pesetas});
    bool visto = false;
    AlMostrarse<TFRMRecordeuro>([&visto](TFRMRecordeuro *r) {
        visto = true;
        r->BTNCerrar->click();
    });
    v->cbtGenerar->click();
    EXPECT_TRUE(visto);
    EXPECT_TRUE(Proceso().empty());
    EXPECT_FALSE(std::filesystem::exists(carpeta.dir().path() + "CSB19"));
    v->hide();
}

TEST_F(VentanaExportar, EuroReminderKeepsTheUsersChoice)
{
    TFRMRecordeuro *r = App().FRMRecordeuro;
    struct Caso { const char *valor; bool marcado; const char *porque; };
    const Caso casos[] = {
        {"Si", false, "shown at start"},
        {"si", true, "its own test is exact"},
        {"No", true, "not shown at start"},
    };
    for (const Caso &c : casos) {
        profile::writeString(carpeta.Ini(), "General", "PresentarRecordatorioEuro", c.valor);
        AlMostrarse<TFRMRecordeuro>([&](TFRMRecordeuro *ventana) {
            EXPECT_EQ(ventana->CHKNoMostrar->isChecked(), c.marcado) << c.porque;
            EXPECT_NE(Texto(ventana->LBLTexto).find(m->FechaEuro.toString("dd/MM/yyyy").toStdString()),
                      std::string::npos);
            ventana->CHKNoMostrar->setChecked(!c.marcado);
            ventana->BTNCerrar->click();
        });
        r->exec();
        EXPECT_EQ(profile::readString(carpeta.Ini(), "General", "PresentarRecordatorioEuro", ""), c.marcado ? "Si" : "No")
            << c.porque;
    }
}

TEST_F(VentanaExportar, IssuerSelectionOffersTheUsersIssuersOfTheOrderType)
{
    TFRMSelectEmisor *s = App().FRMSelectEmisor;
    const int otro = cobros::Emisor(csb19, "A44444444", "004", "Alfa", "");
    // indice: the position chosen, from 1 (-1 leaves the first one).
    struct Caso { std::string orden; int indice; std::vector<std::string> nombres; int elegido; };
    const Caso casos[] = {
        {"CSB19", 3, {"Zeta", "Alfa", "Alfa"}, otro},
        {"CSB58", 1, {"Sur uno"}, 3},
        {"XXX", -1, {}, 0},
    };
    for (const Caso &c : casos) {
        s->SetDatosSeleccion(1, c.orden);
        AlMostrarse<TFRMSelectEmisor>([&](TFRMSelectEmisor *d) {
            std::vector<std::string> nombres;
            for (int i = 0; i < d->CBEmisores->count(); ++i)
                nombres.push_back(cp1252::fromQString(d->CBEmisores->itemText(i)));
            EXPECT_EQ(nombres, c.nombres) << c.orden;
            if (c.indice >= 0)
                d->CBEmisores->setCurrentIndex(c.indice - 1);
            d->BitBtn1->click();
        });
        EXPECT_EQ(s->exec(), QDialog::Accepted);
        EXPECT_EQ(s->IdEmisorElegido, c.elegido) << c.orden << ": the id at the selected position";
    }
    s->SetDatosSeleccion(1, "CSB19");
    AlMostrarse<TFRMSelectEmisor>([](TFRMSelectEmisor *d) { d->reject(); });
    s->exec();
    EXPECT_EQ(s->IdEmisorElegido, 0) << "closed otherwise";
    s->SetDatosSeleccion(2, "CSB19");
    AlMostrarse<TFRMSelectEmisor>([](TFRMSelectEmisor *d) { d->BitBtn1->click(); });
    s->exec();
    EXPECT_EQ(s->IdEmisorElegido, 0) << "another user's issuers never appear";
}

} // namespace
