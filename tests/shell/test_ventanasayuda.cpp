// The euro calculator, the about box, the first-start help and the login's euro reminder.
#include "arranque.h"

#include "Acerca.h"
#include "Aplicacion.h"
#include "Login.h"
#include "Multiidioma.h"
#include "Recordeuro.h"
#include "Unieuro.h"
#include "Uniintro.h"
#include "entorno.h"
#include "jpeg.h"
#include "profile.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using arranque::Carpeta;
using arranque::Ventanas;

// ---- Euro calculator ----

struct Calculo {
    const char *campo; // "ptas" or "euro"
    const char *tecleado; // "," stands for the regional decimal separator, "." for the other one; "<" is backspace
    const char *pesetas, *euros; // the fields afterwards, "," and "." as above
    const char *por;
};

constexpr Calculo kCalculos[] = {
    {"ptas", "1000", "1000", "6,01", "the Part's case"},
    {"euro", "6,01", "1.000", "6,01", "the Part's case, pesetas grouped"},
    {"euro", "1", "166", "1", "one euro"},
    {"euro", "6.01", "1.000", "6.01", "a point before two decimals is the separator"},
    {"euro", "1.234,56", "205.414", "1.234,56", "thousands points, written with them as every window does"},
    {"ptas", "1.000", "1.000", "6,01", "thousands points in pesetas"},
    {"euro", "12345678,9", "2.054.148.129", "12345678,9", "eight integer digits"},
    {"euro", "1,,5", "", "1,,5", "two separators do not read: nothing converts"},
    {"euro", "12345678x", "", "12345678x", "nor letters"},
    {"euro", "123456789", "", "123456789", "nor a ninth integer digit"},
    {"euro", "1,234", "", "1,234", "nor a third decimal"},
    {"ptas", "0,5", "0,5", "", "nor decimals of pesetas"},
    {"ptas", "5<", "", "0,00", "emptied"},
    {"euro", "5<", "0", "", "emptied"},
    {"ptas", "5", "5", "0,03", "rounding half away from zero: 5 pesetas are 3.005 cents"},
};

QString ConSeparador(const char *texto, QChar separador)
{
    QString r = QString::fromLatin1(texto);
    const QChar otro = separador == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    for (QChar &c : r)
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            c = c == QLatin1Char(',') ? separador : otro;
    return r;
}

class Calculadora : public ::testing::TestWithParam<bool> {};

TEST_P(Calculadora, ConvertsAsTheUserTypes)
{
    entorno::Regional regional(GetParam());
    const QChar separador = GetParam() ? QLatin1Char(',') : QLatin1Char('.');
    TFRMEuroCalc calculadora;
    ASSERT_TRUE(Activa(&calculadora));
    for (const Calculo &c : kCalculos) {
        calculadora.BTNBorrarClick();
        QLineEdit *campo = std::string(c.campo) == "ptas" ? calculadora.TXTPtas : calculadora.TXTEuro;
        campo->clear();
        campo->setFocus();
        for (const QChar letra : ConSeparador(c.tecleado, separador)) {
            if (letra == QLatin1Char('<'))
                QTest::keyClick(campo, Qt::Key_Backspace);
            else
                Teclea(campo, letra);
        }
        EXPECT_EQ(calculadora.TXTPtas->text(), ConSeparador(c.pesetas, separador)) << c.tecleado << ": " << c.por;
        EXPECT_EQ(calculadora.TXTEuro->text(), ConSeparador(c.euros, separador)) << c.tecleado << ": " << c.por;
        const char *otro = campo == calculadora.TXTPtas ? c.euros : c.pesetas;
        EXPECT_EQ(campo->toolTip().isEmpty(), *otro != 0) << c.tecleado << ": marked while it does not read";
    }
}

INSTANTIATE_TEST_SUITE_P(Calculadora, Calculadora, ::testing::Values(true, false));

TEST(Calculadora, EveryShowingStartsFromZeroWithItsButtons)
{
    entorno::Regional regional(true);
    TFRMEuroCalc calculadora;
    calculadora.show();
    calculadora.TXTPtas->setText(QStringLiteral("12"));
    calculadora.hide();
    calculadora.show();
    EXPECT_EQ(calculadora.TXTPtas->text(), QStringLiteral("0"));
    EXPECT_EQ(calculadora.TXTEuro->text(), QStringLiteral("0,00"));
    EXPECT_EQ(calculadora.BTNBorrar->text(), QStringLiteral("&") + cp1252::toQString(Idioma.GetTexto(37)));
    EXPECT_EQ(calculadora.BTNSalir->text(), cp1252::toQString(Idioma.GetTexto(8)));
    calculadora.BTNSalir->click();
    EXPECT_FALSE(calculadora.isVisible());
}

// ---- About box ----

TEST(Acerca, MemoryFiguresAreThousandsOfBytesWithTheRegionalSeparator)
{
    const struct {
        bool coma;
        unsigned long long bytes;
        const char *texto;
    } casos[] = {
        {true, 523456789, "523.456 KB."},
        {false, 523456789, "523,456 KB."},
        {true, 999, "0 KB."},
        {true, 8123456789012ull, "8.123.456.789 KB."},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(c.coma);
        EXPECT_EQ(FormatoMemoria(c.bytes), c.texto);
    }
    const EstadoMemoria m = LeeMemoria("MemTotal:        1000 kB\nMemFree:  10 kB\nMemAvailable:     250 kB\n"
                                       "SwapTotal:        2000 kB\nSwapFree:         500 kB\n");
    EXPECT_EQ(m.Fisica, 1024000u);
    EXPECT_EQ(m.FisicaDisponible, 256000u);
    EXPECT_EQ(m.Virtual, 2048000u);
    EXPECT_EQ(m.VirtualDisponible, 512000u);
    EXPECT_EQ(m.Carga, 75);
    EXPECT_EQ(LeeMemoria("").Carga, 0);
}

TEST(Acerca, TheMenuShowsTheVersionTheFiguresAndTheRunningCopies)
{
    Carpeta carpeta;
    Ventanas ventanas;
    QString version, usuarios, cpu, titulo, fisica;
    AlMostrarse<TAcercaDe>([&](TAcercaDe *acerca) {
        version = acerca->lblVersion->text();
        usuarios = acerca->lblUsuarios->text();
        cpu = acerca->lblCPU->text();
        fisica = acerca->lblFisica->text();
        titulo = acerca->windowTitle();
        acerca->cbtCerrar->click();
    });
    ventanas.Main()->mainMenuAcercaDe->trigger();
    EXPECT_EQ(version, cp1252::toQString(Idioma.GetTexto(477)));
    EXPECT_EQ(titulo, cp1252::toQString(Idioma.GetTexto(400)));
    EXPECT_EQ(usuarios, QStringLiteral("1 "));
    EXPECT_TRUE(cpu.endsWith(QStringLiteral(" %."))) << cpu.toStdString();
    EXPECT_TRUE(fisica.endsWith(QStringLiteral(" KB."))) << fisica.toStdString();
}

// ---- First-start help ----

TEST(Introduccion, TheCheckBoxFollowsTheSettingAndIsWrittenOnLeaving)
{
    Carpeta carpeta;
    const struct {
        const char *valor; // nullptr: missing
        bool marcada;
        bool marcar;
        const char *escrito;
    } casos[] = {
        {nullptr, false, false, "Si"}, {"Si", false, true, "No"}, {"si", false, false, "Si"},
        {"No", true, true, "No"},      {"x", true, false, "Si"},
    };
    for (const auto &c : casos) {
        if (c.valor)
            profile::writeString(carpeta.Ini(), "General", "PresentarAyuda", c.valor);
        auto *ayuda = new TFRMIntroduccion;
        QPointer<TFRMIntroduccion> vigilada = ayuda;
        ayuda->show();
        EXPECT_EQ(ayuda->CHKDenuevo->isChecked(), c.marcada) << (c.valor ? c.valor : "missing");
        ayuda->CHKDenuevo->setChecked(c.marcar);
        ayuda->BTNSalir->click();
        EXPECT_EQ(profile::readString(carpeta.Ini(), "General", "PresentarAyuda", "?"), c.escrito);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(vigilada.isNull()) << "it frees itself";
    }
}

TEST(Introduccion, TheLinksShowOnePageAtATime)
{
    Carpeta carpeta;
    TFRMIntroduccion ayuda;
    ayuda.setAttribute(Qt::WA_DeleteOnClose, false);
    ASSERT_TRUE(Activa(&ayuda));
    auto visible = [&ayuda] {
        std::string r;
        for (QWidget *p : {ayuda.PNIntro, ayuda.PNUsTv, ayuda.PNUsNo, ayuda.PNGest})
            if (!p->isHidden())
                r += p->objectName().toStdString();
        return r;
    };
    EXPECT_EQ(visible(), "PNIntro");
    QTest::mouseClick(ayuda.LBUsTv, Qt::LeftButton);
    EXPECT_EQ(visible(), "PNUsTv");
    ayuda.BTNPrimero->click();
    EXPECT_EQ(visible(), "PNIntro");
    ayuda.LBUsNoTv->setFocus();
    QTest::keyClick(ayuda.LBUsNoTv, Qt::Key_Return);
    EXPECT_EQ(visible(), "PNUsNo");
    QTest::mouseClick(ayuda.LBGestionNoTv, Qt::LeftButton);
    EXPECT_EQ(visible(), "PNGest");
    QTest::mouseClick(ayuda.LBVolverNoTv, Qt::LeftButton);
    EXPECT_EQ(visible(), "PNUsNo");
    EXPECT_EQ(ayuda.size(), QSize(620, 460));
}

TEST(Introduccion, ThePagesShowThePicturesOfTheProgramFolder)
{
    Carpeta carpeta;
    std::filesystem::create_directory(carpeta.Ruta("ayuda"));
    QImage imagen(700, 350, QImage::Format_RGB32);
    imagen.fill(Qt::darkCyan);
    ASSERT_TRUE(jpeg::write(QString::fromStdString(carpeta.Ruta("ayuda/principal.jpg")), imagen));
    TFRMIntroduccion ayuda;
    const auto *principal = ayuda.findChild<QLabel *>(QStringLiteral("principal.jpg"));
    ASSERT_NE(principal, nullptr);
    EXPECT_EQ(principal->pixmap().size(), QSize(540, 270)) << "scaled to the page";
    const auto *login = ayuda.findChild<QLabel *>(QStringLiteral("login.jpg"));
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(login->pixmap().isNull()) << "a missing picture leaves its place empty";
}

TEST(Introduccion, TheHelpMenuShowsItModally)
{
    Carpeta carpeta;
    Ventanas ventanas;
    bool modal = false;
    AlMostrarse<TFRMIntroduccion>([&](TFRMIntroduccion *ayuda) {
        modal = ayuda->isModal();
        ayuda->BTNSalir->click();
    });
    ventanas.Main()->menuAyudaAproximacion->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(ventanas.Main()->menuAyudaAproximacion->text(), QStringLiteral("&Primera ejecuci\u00F3n..."));
}

// The first-start help windows open now.
int AyudasAbiertas()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<TFRMIntroduccion *>(w) && w->isVisible();
    return n;
}

TEST(Introduccion, TheLoginShowsItOncePerRunWhileTheSettingIsSi)
{
    const struct {
        const char *valor; // nullptr: missing
        int mostradas;
    } casos[] = {{nullptr, 1}, {"si", 1}, {"No", 0}, {"x", 0}};
    for (const auto &c : casos) {
        Carpeta carpeta;
        if (c.valor)
            profile::writeString(carpeta.Ini(), "General", "PresentarAyuda", c.valor);
        Ventanas ventanas;
        TFormLogin *login = App().FormLogin;
        login->show();
        EXPECT_EQ(AyudasAbiertas(), c.mostradas) << (c.valor ? c.valor : "missing");
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<TFRMIntroduccion *>(w))
                EXPECT_EQ(w->parentWidget(), login) << "owned by the login";
        login->hide();
        login->show();
        EXPECT_EQ(AyudasAbiertas(), c.mostradas) << "not again at a change of user";
        login->hide();
    }
}

// ---- Euro reminder ----

TEST(Recordatorio, TheLoginShowsItOncePerRunFromTheEuroDate)
{
    const struct {
        const char *valor; // nullptr: missing
        int dias;          // the euro date from today
        bool mostrado, marcada;
    } casos[] = {
        {nullptr, 0, true, false}, {"si", -400, true, true}, {"Si", 1, false, false},
        {"No", -1, false, false},  {"x", -1, false, false},
    };
    for (const auto &c : casos) {
        const std::string caso = std::string(c.valor ? c.valor : "missing") + " " + std::to_string(c.dias);
        Carpeta carpeta;
        if (c.valor)
            profile::writeString(carpeta.Ini(), "General", "PresentarRecordatorioEuro", c.valor);
        profile::writeString(carpeta.Ini(), "General", "PresentarAyuda", "No");
        Ventanas ventanas;
        ventanas.Main()->FechaEuro = QDate::currentDate().addDays(c.dias);
        TFormLogin *login = App().FormLogin;
        TFRMRecordeuro *recordatorio = App().FRMRecordeuro;
        login->show();
        ASSERT_EQ(recordatorio->isVisible(), c.mostrado) << caso;
        if (c.mostrado) {
            EXPECT_TRUE(recordatorio->isModal()) << "in front of the login, with the keys; " << caso;
            EXPECT_EQ(recordatorio->parentWidget(), login) << "usable under the modal login";
            EXPECT_EQ(recordatorio->CHKNoMostrar->isChecked(), c.marcada) << caso;
            recordatorio->BTNCerrar->click();
        }
        login->hide();
        ventanas.Main()->FechaEuro = QDate::currentDate();
        login->show();
        EXPECT_EQ(recordatorio->isVisible(), c.dias > 0 && c.valor) << "at a later show only when not shown yet";
        recordatorio->hide();
        login->hide();
    }
}

TEST(Recordatorio, ClosingItTickedStopsItAtTheNextRun)
{
    Carpeta carpeta;
    profile::writeString(carpeta.Ini(), "General", "PresentarAyuda", "No");
    {
        Ventanas ventanas;
        App().FormLogin->show();
        ASSERT_TRUE(App().FRMRecordeuro->isVisible());
        App().FRMRecordeuro->CHKNoMostrar->setChecked(true);
        App().FRMRecordeuro->BTNCerrar->click();
        App().FormLogin->hide();
    }
    EXPECT_EQ(profile::readString(carpeta.Ini(), "General", "PresentarRecordatorioEuro", ""), "No");
    Ventanas ventanas;
    App().FormLogin->show();
    EXPECT_FALSE(App().FRMRecordeuro->isVisible());
    App().FormLogin->hide();
}

// As a new user starts: the window in front has the keys, and Return and Escape close the
// help and the reminder in turn without reaching the login.
TEST(Recordatorio, TheHelpThenTheReminderHaveTheKeysInFrontOfTheLogin)
{
    Carpeta carpeta;
    Ventanas ventanas;
    ventanas.Main()->FechaEuro = QDate::currentDate();
    TFormLogin *login = App().FormLogin;
    RespondeCajas cajas;
    login->show();
    auto *ayuda = qobject_cast<TFRMIntroduccion *>(QApplication::activeModalWidget());
    ASSERT_TRUE(ayuda && EsperaActiva(ayuda));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(EsperaActiva(App().FRMRecordeuro));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(EsperaActiva(login));
    EXPECT_EQ(QApplication::focusWidget(), login->txtPassword);
    EXPECT_TRUE(cajas.Vistas.empty()) << "no key reached the login";
    login->hide();
}

TEST(Calculadora, TheMenuShowsItWithoutBlocking)
{
    Carpeta carpeta;
    Ventanas ventanas;
    ventanas.Main()->EuroCalculadora1->trigger();
    EXPECT_TRUE(App().FRMEuroCalc->isVisible());
    EXPECT_FALSE(App().FRMEuroCalc->isModal());
    App().FRMEuroCalc->BTNSalir->click();
}

} // namespace
