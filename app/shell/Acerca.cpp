// The about box.
#include "Acerca.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmain.h"
#include "General.h"
#include "Imagenes.h"
#include "Multiuser.h"
#include "qcp1252.h"
#include "regional.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <fstream>
#include <map>
#include <sstream>

EstadoMemoria LeeMemoria(const std::string &meminfo)
{
    std::map<std::string, unsigned long long> kb;
    std::istringstream lineas(meminfo);
    std::string clave;
    unsigned long long valor = 0;
    while (lineas >> clave >> valor) {
        kb[clave] = valor;
        lineas.ignore(64, '\n');
    }
    EstadoMemoria m;
    m.Fisica = kb["MemTotal:"] * 1024;
    m.FisicaDisponible = kb["MemAvailable:"] * 1024;
    m.Virtual = kb["SwapTotal:"] * 1024;
    m.VirtualDisponible = kb["SwapFree:"] * 1024;
    if (m.Fisica > 0 && m.FisicaDisponible <= m.Fisica)
        m.Carga = int((m.Fisica - m.FisicaDisponible) * 100 / m.Fisica);
    return m;
}

EstadoMemoria LeeMemoria()
{
    std::ifstream fichero("/proc/meminfo");
    std::stringstream texto;
    texto << fichero.rdbuf();
    return LeeMemoria(texto.str());
}

std::string FormatoMemoria(unsigned long long bytes)
{
    std::string cifras = std::to_string(bytes / 1000);
    for (int i = int(cifras.size()) - 3; i > 0; i -= 3)
        cifras.insert(size_t(i), 1, regional::thousandsSeparator());
    return cifras + " KB.";
}

namespace {

QLabel *Valor(QWidget *padre)
{
    auto *etiqueta = new QLabel(QStringLiteral("  ....."), padre);
    etiqueta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return etiqueta;
}

} // namespace

TAcercaDe::TAcercaDe(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      lblProducto(new QLabel(QStringLiteral("Orvanta"), this)),
      lblVersion(new QLabel(this)),
      Label1(new QLabel(QStringLiteral("Cobros y anticipos en ficheros CSB19 y CSB58"), this)),
      Image1(new QLabel(this)),
      Image2(new QLabel(this)),
      StaticText6(new QLabel(this)),
      StaticText1(new QLabel(this)),
      StaticText2(new QLabel(this)),
      StaticText3(new QLabel(this)),
      StaticText4(new QLabel(this)),
      StaticText5(new QLabel(this)),
      StaticText7(new QLabel(this)),
      lblCPU(Valor(this)),
      lblFisica(Valor(this)),
      lblFisicaDisponible(Valor(this)),
      lblVirtual(Valor(this)),
      lblVirtualDisponible(Valor(this)),
      lblUsuarios(Valor(this)),
      cbtCerrar(new QPushButton(this))
{
    setObjectName(QStringLiteral("AcercaDe"));
    setAutoFillBackground(true);
    QPalette colores = palette();
    colores.setColor(QPalette::Window, QColor(255, 128, 64));
    setPalette(colores);
    QFont grande = lblProducto->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    lblProducto->setFont(grande);
    QFont negrita = StaticText6->font();
    negrita.setBold(true);
    StaticText6->setFont(negrita);

    Image1->setPixmap(ImagenBanner().scaledToHeight(48, Qt::SmoothTransformation));
    Image1->setToolTip(cp1252::toQString(App().FormMain ? App().FormMain->URLTelvirana : std::string()));
    Image2->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    Image2->setToolTip(QLatin1String(kWebFabricante));
    for (QLabel *imagen : {Image1, Image2}) {
        imagen->setCursor(Qt::PointingHandCursor);
        imagen->installEventFilter(this);
    }

    auto *capas = new QVBoxLayout(this);
    auto *cabecera = new QHBoxLayout;
    auto *nombre = new QVBoxLayout;
    nombre->addWidget(lblProducto);
    nombre->addWidget(lblVersion);
    nombre->addWidget(Label1);
    cabecera->addWidget(Image2);
    cabecera->addLayout(nombre, 1);
    cabecera->addWidget(Image1);
    capas->addLayout(cabecera);
    capas->addWidget(StaticText6);
    auto *cifras = new QGridLayout;
    int fila = 0;
    for (auto [titulo, valor] : {std::pair{StaticText1, lblCPU}, std::pair{StaticText2, lblFisica},
                                 std::pair{StaticText3, lblFisicaDisponible}, std::pair{StaticText4, lblVirtual},
                                 std::pair{StaticText5, lblVirtualDisponible}, std::pair{StaticText7, lblUsuarios}}) {
        cifras->addWidget(titulo, fila, 0);
        cifras->addWidget(valor, fila++, 1);
    }
    capas->addLayout(cifras);
    capas->addWidget(cbtCerrar, 0, Qt::AlignRight);
    setMinimumWidth(420);

    connect(cbtCerrar, &QPushButton::clicked, this, &QDialog::reject);
}

void TAcercaDe::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TAcercaDe::FormShow()
{
    setWindowTitle(Rotulo(400));
    lblVersion->setText(Rotulo(477));
    const std::pair<QLabel *, int> titulos[] = {{StaticText6, 401}, {StaticText1, 402}, {StaticText2, 403},
                                                {StaticText3, 404}, {StaticText4, 405}, {StaticText5, 406},
                                                {StaticText7, 648}, };
    for (const auto &[etiqueta, n] : titulos)
        etiqueta->setText(Rotulo(n));
    cbtCerrar->setText(Rotulo(8));

    const EstadoMemoria memoria = LeeMemoria();
    lblCPU->setText(QString::number(memoria.Carga) + QStringLiteral(" %."));
    lblFisica->setText(cp1252::toQString(FormatoMemoria(memoria.Fisica)));
    lblFisicaDisponible->setText(cp1252::toQString(FormatoMemoria(memoria.FisicaDisponible)));
    lblVirtual->setText(cp1252::toQString(FormatoMemoria(memoria.Virtual)));
    lblVirtualDisponible->setText(cp1252::toQString(FormatoMemoria(memoria.VirtualDisponible)));
    const int copias = App().Multiuser ? App().Multiuser->NumAplicaciones : 1;
    lblUsuarios->setText(QString::number(copias) + QLatin1Char(' '));
}

bool TAcercaDe::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::MouseButtonDblClick) {
        if (objeto == Image1)
            Image1DblClick();
        else if (objeto == Image2)
            Image2DblClick();
    }
    return QDialog::eventFilter(objeto, evento);
}

void TAcercaDe::Image1DblClick()
{
    const TFormMain *m = App().FormMain;
    if (m)
        AbreNavegador(m->WWWBrowserEXEName, m->URLTelvirana);
}

void TAcercaDe::Image2DblClick()
{
    AbreNavegador(App().FormMain ? App().FormMain->WWWBrowserEXEName : std::string(), kWebFabricante);
}
