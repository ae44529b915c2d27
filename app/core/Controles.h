// Small helpers of the windows: Windows-1252 text in and out of controls, captions from the
// language table, and the message box with language texts.
#pragma once

#include "Frmmsg.h"

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;

// The text of a line edit, as Windows-1252; and back.
std::string TextoCaja(const QLineEdit *caja);
void PonTextoCaja(QLineEdit *caja, std::string_view texto);

// Cleans a line edit's text with LimpiaTextoSQL, puts the result back and returns it.
std::string LimpiaCaja(QLineEdit *caja);

// The language text n as a caption; Etiqueta adds " :" for a label.
QString Rotulo(int n);
QString Etiqueta(int n);

// The message box with language texts: text and caption by number.
RespuestaMensaje AvisoTexto(int texto, int titulo, IconoMensaje icono, BotonesMensaje botones = BotonesMensaje::Ok);
