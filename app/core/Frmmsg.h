// The program's message dialogs: TFormMsg behind ShowMsg, and the plain message box.
//
// Texts are Windows-1252. Without a QApplication (command-line tools, tests without
// windows) nothing is shown: the texts go to stderr (as UTF-8) and the negative answer is
// returned (ShowMsg 0, CajaMensaje the last button: OK, Cancel or No).
#pragma once

#include "Multiidioma.h"

#include <QDialog>
#include <string>
#include <string_view>

class QFrame;
class QLabel;
class QPushButton;

// Button flags of ShowMsg: none gives one "&Si" button; MsgDosBotones adds "&No";
// MsgAceptar makes them "&Aceptar" and "&Cancelar".
enum FlagsMsg { MsgDosBotones = 1, MsgAceptar = 4 };

// The message dialog; created per call by ShowMsg.
class TFormMsg : public QDialog {
    Q_OBJECT
public:
    explicit TFormMsg(QWidget *parent = nullptr);

    // Titles, texts and buttons for the flags; the texts are Windows-1252.
    void Prepara(const std::string &titulo, const std::string &mensaje, int flags);

    // 1 after the first button, -1 after the second, 0 when closed otherwise.
    int Resultado() const { return m_resultado; }

    QLabel *Img;
    QLabel *LblTitulo;
    QFrame *PanelSep;
    QFrame *PanelText;
    QLabel *LblText;
    QPushButton *BtnOk;
    QPushButton *BtnCancel;

private:
    void BtnOkClick();
    void BtnCancelClick();

    int m_resultado = 0;
};

// Shows the modal message dialog. titulo and mensaje are printf-style formats that come
// from the program (language texts, literals), never from user data; both read the same
// arguments from the first one on (FormateaTexto: safe, each result at most 2,047
// characters). Returns 1 for the first button, -1 for the second, 0 when closed otherwise.
int ShowMsg(std::string_view titulo, std::string_view mensaje, int flags, std::span<const ArgTexto> args);

template<class... A>
int ShowMsg(std::string_view titulo, std::string_view mensaje, int flags, const A &...args)
{
    const std::array<ArgTexto, sizeof...(A)> lista{ArgTexto(args)...};
    return ShowMsg(titulo, mensaje, flags, std::span<const ArgTexto>(lista));
}

// The plain message box of the platform (texts already composed, Windows-1252), over
// padre or else the active window.
enum class IconoMensaje { Ninguno, Error, Aviso, Informacion, Pregunta };
// SiNoPorDefectoNo: Yes and No with No the default, for a question whose Yes sends, deletes
// or replaces.
enum class BotonesMensaje { Ok, OkCancelar, SiNo, SiNoCancelar, SiNoPorDefectoNo };
enum RespuestaMensaje { RespuestaOk = 1, RespuestaCancelar = 2, RespuestaSi = 6, RespuestaNo = 7 };

RespuestaMensaje CajaMensaje(std::string_view texto, std::string_view titulo, IconoMensaje icono,
                             BotonesMensaje botones = BotonesMensaje::Ok, QWidget *padre = nullptr);
