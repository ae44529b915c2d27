// Helpers of the windows.
#include "Controles.h"

#include "General.h"
#include "qcp1252.h"

#include <QLineEdit>

std::string TextoCaja(const QLineEdit *caja)
{
    return cp1252::fromQString(caja->text());
}

void PonTextoCaja(QLineEdit *caja, std::string_view texto)
{
    caja->setText(cp1252::toQString(texto));
}

std::string LimpiaCaja(QLineEdit *caja)
{
    const std::string limpio = LimpiaTextoSQL(TextoCaja(caja));
    PonTextoCaja(caja, limpio);
    return limpio;
}

QString Rotulo(int n)
{
    return cp1252::toQString(Idioma.GetTexto(n));
}

QString Etiqueta(int n)
{
    return Rotulo(n) + QStringLiteral(" :");
}

RespuestaMensaje AvisoTexto(int texto, int titulo, IconoMensaje icono, BotonesMensaje botones)
{
    return CajaMensaje(Idioma.GetTexto(texto), Idioma.GetTexto(titulo), icono, botones);
}
