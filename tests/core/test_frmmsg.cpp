// The message dialog and the message box, driven offscreen.
#include "Frmmsg.h"

#include "qcp1252.h"
#include "ventanas.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct CasoMsg {
    int flags;
    const char *primero;
    const char *segundo; // nullptr: one button only
    int boton;           // 1 first, 2 second, 0 Escape
    int resultado;
};

TEST(ShowMsg, ButtonsAndResultByFlags)
{
    const CasoMsg casos[] = {
        {0, "&S\xED", nullptr, 1, 1},
        {0, "&S\xED", nullptr, 0, 0},
        {MsgDosBotones, "&S\xED", "&No", 1, 1},
        {MsgDosBotones, "&S\xED", "&No", 2, -1},
        {MsgAceptar, "&Aceptar", "&Cancelar", 2, -1},
        {MsgAceptar | MsgDosBotones, "&Aceptar", "&Cancelar", 0, 0},
    };
    for (const CasoMsg &c : casos) {
        bool visto = false;
        AlMostrarse<TFormMsg>([&](TFormMsg *d) {
            visto = true;
            EXPECT_EQ(d->BtnOk->text(), cp1252::toQString(c.primero));
            EXPECT_EQ(d->BtnCancel->isVisible(), c.segundo != nullptr);
            EXPECT_EQ(d->BtnCancel->isEnabled(), c.segundo != nullptr);
            if (c.segundo) {
                EXPECT_EQ(d->BtnCancel->text(), cp1252::toQString(c.segundo));
                EXPECT_EQ(d->BtnOk->x() + d->BtnOk->width(), d->width() / 2 - 5);
                EXPECT_EQ(d->BtnCancel->x(), d->width() / 2 + 5);
            } else {
                EXPECT_LE(std::abs(d->BtnOk->x() * 2 + d->BtnOk->width() - d->width()), 1) << "centred";
            }
            if (c.boton == 1)
                QTest::mouseClick(d->BtnOk, Qt::LeftButton);
            else if (c.boton == 2)
                QTest::mouseClick(d->BtnCancel, Qt::LeftButton);
            else
                QTest::keyClick(d, Qt::Key_Escape);
        });
        EXPECT_EQ(ShowMsg("T", "M", c.flags), c.resultado) << "flags " << c.flags << " button " << c.boton;
        EXPECT_TRUE(visto);
    }
}

TEST(ShowMsg, BothFormatsReadTheArgumentsFromTheFirst)
{
    AlMostrarse<TFormMsg>([](TFormMsg *d) {
        EXPECT_EQ(d->LblTitulo->text(), QStringLiteral("7 d\u00edas"));
        EXPECT_EQ(d->LblText->text(), QStringLiteral("Quedan 7 de 8, 100%"));
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Orvanta"));
        QTest::keyClick(d, Qt::Key_Return);
    });
    EXPECT_EQ(ShowMsg("%d d\xED" "as", "Quedan %d de %d, 100%%", 0, 7, 8), 1) << "Return presses the first button";
}

TEST(ShowMsg, UserTextAsArgumentIsNotInterpreted)
{
    AlMostrarse<TFormMsg>([](TFormMsg *d) {
        EXPECT_EQ(d->LblText->text(), QStringLiteral("Cliente: %s%n%d"));
        QTest::mouseClick(d->BtnOk, Qt::LeftButton);
    });
    ShowMsg("Aviso", "Cliente: %s", 0, "%s%n%d");
}

TEST(CajaMensaje, SpanishButtonsAndTheAnswer)
{
    AlMostrarse<QMessageBox>([](QMessageBox *caja) {
        EXPECT_EQ(caja->text(), QStringLiteral("\u00bfDesea borrar este usuario?"));
        EXPECT_EQ(caja->icon(), QMessageBox::Question);
        QAbstractButton *no = caja->button(QMessageBox::No);
        ASSERT_NE(no, nullptr);
        EXPECT_EQ(no->text(), QStringLiteral("&No"));
        EXPECT_EQ(caja->button(QMessageBox::Yes)->text(), QStringLiteral("&S\u00ed"));
        QTest::mouseClick(no, Qt::LeftButton);
    });
    EXPECT_EQ(CajaMensaje(CargaTexto(80), CargaTexto(6), IconoMensaje::Pregunta, BotonesMensaje::SiNo), RespuestaNo);
}

} // namespace
