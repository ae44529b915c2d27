// The first-start help.
#include "Uniintro.h"

#include "cp1252.h"
#include "jpeg.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

TEnlaceAyuda::TEnlaceAyuda(const char *nombre, const char *texto, QWidget *parent)
    : QLineEdit(cp1252::toQString(texto), parent)
{
    setObjectName(QLatin1String(nombre));
    setReadOnly(true);
    setFrame(false);
    setCursor(Qt::PointingHandCursor);
    QFont letra(QStringLiteral("Arial"));
    letra.setUnderline(true);
    setFont(letra);
    QPalette colores = palette();
    colores.setColor(QPalette::Text, Qt::blue);
    colores.setColor(QPalette::Base, Qt::white);
    setPalette(colores);
    setMinimumWidth(fontMetrics().horizontalAdvance(text()) + 12);
}

void TEnlaceAyuda::mouseReleaseEvent(QMouseEvent *evento)
{
    QLineEdit::mouseReleaseEvent(evento);
    emit Pulsado();
}

void TEnlaceAyuda::keyPressEvent(QKeyEvent *evento)
{
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        emit Pulsado();
        return;
    }
    QLineEdit::keyPressEvent(evento);
}

namespace {

// The widest picture a page shows; wider ones are scaled down to it.
constexpr int kAnchoImagen = 540;

// A page: its title in red, bold, underlined Arial, then its parts in order.
QWidget *Pagina(const char *nombre, const char *titulo)
{
    auto *pagina = new QWidget;
    pagina->setObjectName(QLatin1String(nombre));
    auto *capas = new QVBoxLayout(pagina);
    capas->setContentsMargins(16, 12, 16, 12);
    auto *cabecera = new QLabel(cp1252::toQString(titulo));
    QFont letra(QStringLiteral("Arial"));
    letra.setBold(true);
    letra.setUnderline(true);
    letra.setPointSize(letra.pointSize() + 4);
    cabecera->setFont(letra);
    cabecera->setStyleSheet(QStringLiteral("color: red;"));
    capas->addWidget(cabecera);
    return pagina;
}

void Texto(QWidget *pagina, const char *texto)
{
    auto *parrafo = new QLabel(cp1252::toQString(texto));
    parrafo->setWordWrap(true);
    parrafo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    static_cast<QVBoxLayout *>(pagina->layout())->addWidget(parrafo);
}

// A picture of the program's windows from the program folder's ayuda/; a missing one
// leaves its place empty.
void Imagen(QWidget *pagina, const char *fichero)
{
    auto *imagen = new QLabel;
    imagen->setObjectName(QLatin1String(fichero));
    const QImage dibujo = jpeg::read(cp1252::toQString(progdir::file(std::string("ayuda/") + fichero)));
    if (!dibujo.isNull())
        imagen->setPixmap(QPixmap::fromImage(
            dibujo.width() > kAnchoImagen ? dibujo.scaledToWidth(kAnchoImagen, Qt::SmoothTransformation) : dibujo));
    static_cast<QVBoxLayout *>(pagina->layout())->addWidget(imagen, 0, Qt::AlignHCenter);
}

void Enlace(QWidget *pagina, TEnlaceAyuda *enlace)
{
    static_cast<QVBoxLayout *>(pagina->layout())->addWidget(enlace);
}

} // namespace

TFRMIntroduccion::TFRMIntroduccion(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      ScrollBox1(new QScrollArea(this)),
      PNIntro(Pagina("PNIntro", "Configuraci\xF3n inicial de Orvanta")),
      PNUsTv(Pagina("PNUsTv", "Primera conexi\xF3n Usuarios Telvirana")),
      PNUsNo(Pagina("PNUsNo", "Configuraci\xF3n usuarios no Telvirana")),
      PNGest(Pagina("PNGest", "Gesti\xF3n de usuarios no Telvirana")),
      LBUsTv(new TEnlaceAyuda("LBUsTv", "Configuraci\xF3n para usuarios de Telvirana", PNIntro)),
      LBUsNoTv(new TEnlaceAyuda("LBUsNoTv", "Configuraci\xF3n para usuarios no Telvirana", PNIntro)),
      LBGestionNoTv(new TEnlaceAyuda("LBGestionNoTv", "Gesti\xF3n de usuarios no Telvirana", PNUsNo)),
      LBVolverNoTv(new TEnlaceAyuda("LBVolverNoTv", "Volver a la configuraci\xF3n de usuarios no Telvirana", PNGest)),
      CHKDenuevo(new QCheckBox(cp1252::toQString("No mostrar al iniciar la aplicaci\xF3n."), this)),
      BTNSalir(new QPushButton(QStringLiteral("&Salir de la ayuda"), this)),
      BTNPrimero(new QPushButton(cp1252::toQString("&Introducci\xF3n"), this))
{
    setObjectName(QStringLiteral("FRMIntroduccion"));
    setWindowTitle(QStringLiteral("Introducci\u00F3n a ORVANTA"));
    setAttribute(Qt::WA_DeleteOnClose);
    CHKDenuevo->setObjectName(QStringLiteral("CHKDenuevo"));
    BTNSalir->setDefault(true);

    Texto(PNIntro, "Bienvenido a Orvanta. Antes de preparar su primera remesa hay que dar de alta a los usuarios "
                   "y la organizaci\xF3n de su empresa: empresas, presentadores y emisores.");
    Texto(PNIntro, "Elija el camino que le corresponde seg\xFAn sea usted cliente de Telvirana o no:");
    Enlace(PNIntro, LBUsTv);
    Enlace(PNIntro, LBUsNoTv);
    Imagen(PNIntro, "principal.jpg");

    Texto(PNUsTv, "Su oficina de Telvirana le entrega un fichero con sus usuarios, su empresa, sus presentadores y "
                  "sus emisores. En la ventana de acceso pulse \"Importar usuarios\" y elija ese fichero.");
    Texto(PNUsTv, "Despu\xE9s entre como el administrador predefinido y abra la gesti\xF3n de usuarios para "
                  "revisar los usuarios importados y sus permisos. Los usuarios importados entran la primera vez "
                  "sin contrase\xF1" "a.");
    Texto(PNUsTv, "Por \xFAltimo entre con su usuario, elija su empresa y trabaje con los recibos de cada remesa "
                  "desde el \xE1rbol de la ventana principal.");
    Imagen(PNUsTv, "login.jpg");

    Texto(PNUsNo, "Si no es cliente de Telvirana, cree primero su propio usuario: entre como el administrador "
                  "predefinido y abra la gesti\xF3n de usuarios.");
    Texto(PNUsNo, "En el editor de usuarios escriba su c\xF3" "digo, su nombre y sus permisos; en la misma ventana "
                  "cree sus empresas y, para cada empresa, sus presentadores y emisores.");
    Enlace(PNUsNo, LBGestionNoTv);
    Imagen(PNUsNo, "editor.jpg");

    Texto(PNGest, "La gesti\xF3n de usuarios muestra todos los usuarios. Un doble clic sobre un usuario lo activa o "
                  "lo desactiva; solo los usuarios activos pueden entrar.");
    Texto(PNGest, "Dar de alta, dar de baja o modificar usuarios depende de los permisos del usuario que ha "
                  "entrado.");
    Imagen(PNGest, "usuarios.jpg");
    Imagen(PNGest, "nuevousuario.jpg");
    Enlace(PNGest, LBVolverNoTv);

    auto *contenido = new QWidget;
    contenido->setAutoFillBackground(true);
    contenido->setBackgroundRole(QPalette::Base);
    QPalette blanco = contenido->palette();
    blanco.setColor(QPalette::Base, Qt::white);
    contenido->setPalette(blanco);
    auto *paginas = new QVBoxLayout(contenido);
    paginas->setContentsMargins(0, 0, 0, 0);
    for (QWidget *pagina : {PNIntro, PNUsTv, PNUsNo, PNGest})
        paginas->addWidget(pagina);
    paginas->addStretch();
    ScrollBox1->setWidget(contenido);
    ScrollBox1->setWidgetResizable(true);

    auto *barra = new QHBoxLayout;
    barra->addWidget(CHKDenuevo);
    barra->addStretch();
    barra->addWidget(BTNPrimero);
    barra->addWidget(BTNSalir);
    auto *capas = new QVBoxLayout(this);
    capas->addWidget(ScrollBox1, 1);
    capas->addLayout(barra);

    connect(BTNSalir, &QPushButton::clicked, this, &TFRMIntroduccion::BTNSalirClick);
    connect(BTNPrimero, &QPushButton::clicked, this, &TFRMIntroduccion::BTNPrimeroClick);
    connect(LBUsTv, &TEnlaceAyuda::Pulsado, this, &TFRMIntroduccion::LBUsTvClick);
    connect(LBUsNoTv, &TEnlaceAyuda::Pulsado, this, &TFRMIntroduccion::LBUsNoTvClick);
    connect(LBGestionNoTv, &TEnlaceAyuda::Pulsado, this, &TFRMIntroduccion::LBGestionNoTVClick);
    connect(LBVolverNoTv, &TEnlaceAyuda::Pulsado, this, &TFRMIntroduccion::LBVolverNoTvClick);
}

void TFRMIntroduccion::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormActivate();
}

void TFRMIntroduccion::FormActivate()
{
    resize(620, 460);
    RutaIni = progdir::file("Orvanta.INI");
    MuestraPagina(PNIntro);
    const std::string valor = profile::readString(RutaIni, "General", "PresentarAyuda", "Si", 2);
    CHKDenuevo->setChecked(!cp1252::equalNoCase(valor, "Si"));
    BTNSalir->setFocus();
}

void TFRMIntroduccion::MuestraPagina(QWidget *pagina)
{
    for (QWidget *otra : {PNIntro, PNUsTv, PNUsNo, PNGest})
        otra->setVisible(otra == pagina);
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFRMIntroduccion::BTNSalirClick()
{
    close();
}

// Escape and the window's close box leave as the button does.
void TFRMIntroduccion::reject()
{
    profile::writeString(RutaIni, "General", "PresentarAyuda", CHKDenuevo->isChecked() ? "No" : "Si");
    QDialog::reject();
}

void TFRMIntroduccion::BTNPrimeroClick() { MuestraPagina(PNIntro); }
void TFRMIntroduccion::LBUsTvClick() { MuestraPagina(PNUsTv); }
void TFRMIntroduccion::LBUsNoTvClick() { MuestraPagina(PNUsNo); }
void TFRMIntroduccion::LBGestionNoTVClick() { MuestraPagina(PNGest); }
void TFRMIntroduccion::LBVolverNoTvClick() { MuestraPagina(PNUsNo); }
