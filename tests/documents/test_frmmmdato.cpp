// The value dialog of the mass modifications driven offscreen: the key rules of its four
// kinds and its OK button.
#include "Frmmmdato.h"

#include "entorno.h"
#include "ventanas.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct CasoTecla {
    int tipo;
    const char *moneda;
    const char *texto;  // before the key
    int cursor;         // -1: at the end
    const char *tecla;
    const char *queda;  // the text after it
};

TEST(FormMMDato, ReglasDeTeclas)
{
    entorno::Regional espana(true);
    using T = TFormMMDato;
    const CasoTecla casos[] = {
        // Amounts and dates keep every key: OK reads them and says why it refuses them.
        {T::Importe, "EUR", "", -1, "a", "a"},
        {T::Importe, "EUR", "1", -1, ".", "1."},
        {T::Importe, "ESP", "1", -1, ".", "1."},
        {T::Importe, "EUR", "12,50", -1, "1", "12,501"},
        {T::Importe, "EUR", "10%", -1, "1", "10%1"},
        {T::Importe, "EUR", "123456789", -1, "1", "1234567891"},
        {T::RefInterna, "EUR", "1234567890", -1, "x", "1234567890"},
        {T::RefInterna, "EUR", "abc", -1, "x", "abcx"},
        {T::CodDevolucion, "EUR", "123456", -1, "7", "123456"},
        {T::CodDevolucion, "EUR", "12345", -1, "6", "123456"},
        {T::Fecha, "EUR", "30", -1, "/", "30/"},
        {T::Fecha, "EUR", "30", -1, "-", "30-"},
        {T::Fecha, "EUR", "30/06/2001", -1, "1", "30/06/20011"},
    };
    TFormMMDato dialogo;
    ASSERT_TRUE(Activa(&dialogo));
    for (const CasoTecla &c : casos) {
        dialogo.PreparaDato(QStringLiteral("Dato"), c.tipo, {});
        dialogo.Moneda = c.moneda; // as the show reads it from the main window
        dialogo.EdDato->setText(QString::fromLatin1(c.texto));
        dialogo.EdDato->setCursorPosition(c.cursor < 0 ? dialogo.EdDato->text().size() : c.cursor);
        Teclea(dialogo.EdDato, QString::fromLatin1(c.tecla));
        EXPECT_EQ(dialogo.EdDato->text().toStdString(), c.queda)
            << "kind " << c.tipo << " " << c.moneda << " \"" << c.texto << "\" + " << c.tecla;
    }
}

TEST(FormMMDato, TextoSeleccionadoSeVaciaAntes)
{
    TFormMMDato dialogo;
    dialogo.PreparaDato(QStringLiteral("Referencia"), TFormMMDato::RefInterna, {});
    ASSERT_TRUE(Activa(&dialogo));
    dialogo.EdDato->setText(QStringLiteral("1234567890"));
    dialogo.EdDato->selectAll();
    Teclea(dialogo.EdDato, QStringLiteral("x"));
    EXPECT_EQ(dialogo.EdDato->text(), QStringLiteral("x"));
}

TEST(FormMMDato, AceptarSoloConTextoYValidado)
{
    TFormMMDato dialogo;
    dialogo.MonedaRemesa = [] { return std::string("EUR"); };
    int llamadas = 0;
    dialogo.PreparaDato(QStringLiteral("Fecha"), TFormMMDato::Fecha, [&llamadas](const std::string &texto) {
        ++llamadas;
        return texto == "01/01/2030" ? 0 : -1;
    });
    ASSERT_TRUE(Activa(&dialogo));
    EXPECT_FALSE(dialogo.BtnAceptar->isEnabled());
    dialogo.EdDato->setText(QStringLiteral("   "));
    EXPECT_FALSE(dialogo.BtnAceptar->isEnabled()) << "blanks are no value";
    dialogo.EdDato->setText(QStringLiteral("31/02/2001"));
    ASSERT_TRUE(dialogo.BtnAceptar->isEnabled());
    dialogo.BtnAceptar->click();
    EXPECT_TRUE(dialogo.isVisible()) << "a refused value keeps the dialog open";
    dialogo.EdDato->setText(QStringLiteral("01/01/2030"));
    dialogo.BtnAceptar->click();
    EXPECT_FALSE(dialogo.isVisible());
    EXPECT_EQ(dialogo.result(), QDialog::Accepted);
    EXPECT_EQ(llamadas, 2);
    EXPECT_EQ(dialogo.Moneda, "EUR") << "the batch currency read on show";
}

} // namespace
