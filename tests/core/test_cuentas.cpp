// Account numbers, the own entity's rule, number boxes and order types.
#include "General.h"

#include "Frmmsg.h"
#include "entorno.h"
#include "qcp1252.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(Cuentas, ControlDigits)
{
    struct Caso { const char *banco, *oficina, *cuenta, *dc, *porque; };
    const Caso casos[] = {
        {"1234", "5678", "0123456789", "01", "worked example"},
        {"0072", "0101", "0000122351", "93", "a real account"},
        {"0049", "0002", "0000000002", "11", "remainder 1: eleven minus it is 10, written 1"},
        {"2100", "0001", "0000000015", "00", "remainder 0: eleven is written 0"},
        {"1234", "5678", "9999999999", "00", "ten nines, too big for a 32-bit integer"},
        {"12 4", "5678", "0123456789", "", "a blank makes no digit"},
        {"123", "5678", "0123456789", "", "a short bank is padded with a blank"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(CalcDigitosControl(c.banco, c.oficina, c.cuenta), c.dc) << c.porque;
}

TEST(Cuentas, ValidaCCC)
{
    struct Caso { const char *banco, *oficina, *dc, *cuenta; bool forzar; const char *esperado, *porque; };
    const Caso casos[] = {
        {"0072", "0101", "93", "0000122351", true, "00720101930000122351", "right digits"},
        {"0072", "0101", "39", "0000122351", true, "", "wrong digits"},
        {"1234", "5678", "00", "9999999999", true, "12345678009999999999", "ten nines pass, no integer overflow"},
        {"1234", "5678", "", "0123456789", false, "12345678  0123456789", "empty digits accepted unforced"},
        {"1234", "5678", "", "0123456789", true, "", "but not when forced"},
        {"0000", "0000", "00", "0000000015", true, "", "bank all zeros"},
        {"2100", "0001", "00", "0000000000", false, "", "account all zeros"},
        {"1234", "56A8", "", "0123456789", false, "", "a branch with a letter"},
        {"1234", "5678", "", "012345678X", false, "", "an account with a letter"},
        {"123", "5678", "", "0123456789", false, "", "a short bank"},
        {"1234", "5678", "", "123456789", false, "", "a short account"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(ValidaCCC(c.banco, c.oficina, c.dc, c.cuenta, c.forzar), c.esperado) << c.porque;
}

// Accepts the message box that shows, remembering its text.
void AceptaCaja(QString *texto)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, texto] {
        if (auto *caja = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            *texto = caja->windowTitle() + "|" + caja->text();
            QTest::mouseClick(caja->button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    timer->start(5);
}

TEST(Cuentas, OwnEntityAccountIsWidenedOrRefused)
{
    struct Caso { const char *texto; bool valida; const char *despues; };
    const Caso casos[] = {
        {"0123456789", true, "0123456789"},
        {"0123456", true, "0120003456"},
        {"012", true, "0120000000"},
        {"01", false, ""},
        {"1234567890", false, ""},
        {"", false, ""},
    };
    for (const Caso &c : casos) {
        QLineEdit edit(QString::fromLatin1(c.texto));
        QString caja;
        if (!c.valida)
            AceptaCaja(&caja);
        EXPECT_EQ(ValidaCuentaBanco(&edit), c.valida) << c.texto;
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.despues)) << c.texto;
        if (!c.valida) {
            EXPECT_EQ(caja, "Error|" + cp1252::toQString(CargaTexto(625))) << c.texto;
        }
    }
}

TEST(Cuentas, PadeaFillsWithZerosToTheBoxLength)
{
    entorno::Programa programa;
    struct Caso { const char *texto; int largo; const char *despues; };
    const Caso casos[] = {
        {"12", 4, "0012"}, {"5", 10, "0000000005"}, {"12", 32767, "12"}, {"12", 11, "12"},
        {"", 4, ""}, {"1234567890", 10, "1234567890"}, {"1a", 4, "1a"},
    };
    for (const Caso &c : casos) {
        QLineEdit edit(QString::fromLatin1(c.texto));
        edit.setMaxLength(c.largo);
        Padea(&edit);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.despues)) << c.texto << " in " << c.largo;
    }
    EXPECT_NE(programa.Log().find("[ General::Padea ] '1a'"), std::string::npos);
}

TEST(TipoOrden, FromTheFirstThreeCharactersOfAFile)
{
    testutil::TempDir dir;
    struct Caso { const char *contenido; int tipo; };
    const Caso casos[] = {{"0180B12345678", 1}, {"518", 1}, {"0170", 2}, {"5170", 2}, {"019", 0}, {"01", 0}, {"", 0}};
    for (const Caso &c : casos) {
        testutil::writeFile(dir.file("f.csb"), c.contenido);
        EXPECT_EQ(GetTipoOrdenFichero(dir.file("f.csb")), c.tipo) << c.contenido;
    }
    EXPECT_EQ(GetTipoOrdenFichero(dir.file("no existe.csb")), 0);
}

} // namespace

namespace {

TEST(Controles, SafeSetFocusOnlyWhereFocusCanGo)
{
    QWidget ventana;
    auto *primero = new QLineEdit(&ventana);
    auto *desactivado = new QLineEdit(&ventana);
    auto *oculto = new QLineEdit(&ventana);
    auto *etiqueta = new QLabel(&ventana);
    desactivado->setEnabled(false);
    ventana.show();
    oculto->hide();
    QApplication::setActiveWindow(&ventana);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    SafeSetFocus(primero);
    EXPECT_TRUE(primero->hasFocus());
    for (QWidget *w : {static_cast<QWidget *>(desactivado), static_cast<QWidget *>(oculto),
                       static_cast<QWidget *>(etiqueta), static_cast<QWidget *>(nullptr)}) {
        SafeSetFocus(w);
        EXPECT_TRUE(primero->hasFocus());
    }
}

} // namespace
