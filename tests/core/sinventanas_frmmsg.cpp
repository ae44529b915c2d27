// Without a QApplication the message functions print and give the negative answer.
#include "Frmmsg.h"

#include <gtest/gtest.h>

namespace {

TEST(SinVentanas, ShowMsgPrintsAndReturnsZero)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMsg("Aviso", "Quedan %d d\xED" "as", MsgAceptar, 3), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Aviso: Quedan 3 d\xC3\xAD" "as\n");
}

TEST(SinVentanas, CajaMensajeGivesTheLastButton)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(CajaMensaje("x", "y", IconoMensaje::Error), RespuestaOk);
    EXPECT_EQ(CajaMensaje("x", "y", IconoMensaje::Pregunta, BotonesMensaje::SiNo), RespuestaNo);
    EXPECT_EQ(CajaMensaje("x", "y", IconoMensaje::Pregunta, BotonesMensaje::SiNoCancelar), RespuestaCancelar);
    testing::internal::GetCapturedStderr();
}

} // namespace
