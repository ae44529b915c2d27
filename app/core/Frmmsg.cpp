// The message dialog TFormMsg, ShowMsg and the plain message box.
#include "Frmmsg.h"

#include "cp1252.h"
#include "qcp1252.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <cstdio>

namespace {

constexpr int kAncho = 292;
constexpr int kAlto = 185;
constexpr int kAnchoBoton = 75;
constexpr int kAltoBoton = 25;
constexpr int kTopBotones = 150;

bool HayVentanas()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

void EscribeSinVentanas(std::string_view titulo, std::string_view texto)
{
    std::fprintf(stderr, "%s: %s\n", cp1252::toUtf8(titulo).c_str(), cp1252::toUtf8(texto).c_str());
}

} // namespace

TFormMsg::TFormMsg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Orvanta"));
    setFixedSize(kAncho, kAlto);

    Img = new QLabel(this);
    Img->setGeometry(8, 8, 32, 32);
    Img->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(32, 32));

    LblTitulo = new QLabel(this);
    LblTitulo->setGeometry(48, 8, kAncho - 56, 32);
    LblTitulo->setWordWrap(true);
    QFont negrita = LblTitulo->font();
    negrita.setBold(true);
    LblTitulo->setFont(negrita);

    PanelSep = new QFrame(this);
    PanelSep->setGeometry(8, 46, kAncho - 16, 2);
    PanelSep->setFrameShape(QFrame::HLine);
    PanelSep->setFrameShadow(QFrame::Sunken);

    PanelText = new QFrame(this);
    PanelText->setGeometry(8, 54, kAncho - 16, kTopBotones - 62);
    LblText = new QLabel(PanelText);
    LblText->setGeometry(0, 0, PanelText->width(), PanelText->height());
    LblText->setWordWrap(true);
    LblText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    BtnOk = new QPushButton(this);
    BtnOk->setDefault(true);
    BtnCancel = new QPushButton(this);
    BtnCancel->hide();
    BtnCancel->setEnabled(false);
    connect(BtnOk, &QPushButton::clicked, this, &TFormMsg::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormMsg::BtnCancelClick);
}

void TFormMsg::Prepara(const std::string &titulo, const std::string &mensaje, int flags)
{
    LblTitulo->setText(cp1252::toQString(titulo));
    LblText->setText(cp1252::toQString(mensaje));
    const bool aceptar = flags & MsgAceptar;
    BtnOk->setText(cp1252::toQString(aceptar ? Idioma.GetTexto(2) : Idioma.GetTexto(12)));
    if (flags & (MsgDosBotones | MsgAceptar)) {
        BtnCancel->setText(cp1252::toQString(aceptar ? Idioma.GetTexto(3) : Idioma.GetTexto(13)));
        BtnCancel->setEnabled(true);
        BtnCancel->show();
        BtnOk->setGeometry(kAncho / 2 - 5 - kAnchoBoton, kTopBotones, kAnchoBoton, kAltoBoton);
        BtnCancel->setGeometry(kAncho / 2 + 5, kTopBotones, kAnchoBoton, kAltoBoton);
    } else {
        BtnOk->setGeometry((kAncho - kAnchoBoton) / 2, kTopBotones, kAnchoBoton, kAltoBoton);
    }
}

void TFormMsg::BtnOkClick()
{
    m_resultado = 1;
    accept();
}

void TFormMsg::BtnCancelClick()
{
    m_resultado = -1;
    reject();
}

int ShowMsg(std::string_view titulo, std::string_view mensaje, int flags, std::span<const ArgTexto> args)
{
    const std::string textoTitulo = FormateaTexto(titulo, args);
    const std::string textoMensaje = FormateaTexto(mensaje, args);
    if (!HayVentanas()) {
        EscribeSinVentanas(textoTitulo, textoMensaje);
        return 0;
    }
    TFormMsg dialogo(QApplication::activeWindow());
    dialogo.Prepara(textoTitulo, textoMensaje, flags);
    if (const QScreen *pantalla = QGuiApplication::primaryScreen())
        dialogo.move(pantalla->availableGeometry().center() - dialogo.rect().center());
    dialogo.exec();
    return dialogo.Resultado();
}

RespuestaMensaje CajaMensaje(std::string_view texto, std::string_view titulo, IconoMensaje icono,
                             BotonesMensaje botones, QWidget *padre)
{
    if (!HayVentanas()) {
        EscribeSinVentanas(titulo, texto);
        switch (botones) {
        case BotonesMensaje::Ok: return RespuestaOk;
        case BotonesMensaje::SiNo:
        case BotonesMensaje::SiNoPorDefectoNo: return RespuestaNo;
        default: return RespuestaCancelar;
        }
    }
    static constexpr QMessageBox::Icon kIconos[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                                    QMessageBox::Warning, QMessageBox::Information,
                                                    QMessageBox::Question};
    QMessageBox::StandardButtons lista;
    switch (botones) {
    case BotonesMensaje::Ok: lista = QMessageBox::Ok; break;
    case BotonesMensaje::OkCancelar: lista = QMessageBox::Ok | QMessageBox::Cancel; break;
    case BotonesMensaje::SiNo:
    case BotonesMensaje::SiNoPorDefectoNo: lista = QMessageBox::Yes | QMessageBox::No; break;
    case BotonesMensaje::SiNoCancelar: lista = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox caja(kIconos[int(icono)], cp1252::toQString(titulo), cp1252::toQString(texto), lista,
                     padre ? padre : QApplication::activeWindow());
    auto rotula = [&caja](QMessageBox::StandardButton boton, const std::string &texto) {
        if (QAbstractButton *b = caja.button(boton))
            b->setText(cp1252::toQString(texto));
    };
    rotula(QMessageBox::Ok, Idioma.GetTexto(2));
    rotula(QMessageBox::Cancel, Idioma.GetTexto(3));
    rotula(QMessageBox::Yes, Idioma.GetTexto(12));
    rotula(QMessageBox::No, Idioma.GetTexto(13));
    if (botones == BotonesMensaje::SiNoPorDefectoNo)
        caja.setDefaultButton(QMessageBox::No);
    switch (caja.exec()) {
    case QMessageBox::Ok: return RespuestaOk;
    case QMessageBox::Yes: return RespuestaSi;
    case QMessageBox::No: return RespuestaNo;
    default: return botones == BotonesMensaje::Ok ? RespuestaOk : RespuestaCancelar;
    }
}
