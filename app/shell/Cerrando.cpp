// The small window that tells the user the program is busy writing the scrambled copy of
// the database.
#include "Cerrando.h"

#include "Multiidioma.h"
#include "cp1252.h"
#include "qcp1252.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QWindow>
#include <filesystem>

namespace {

// How long Muestra waits for the window system to put the window on screen.
constexpr int kEsperaVentanaMs = 1000;

// A database from this size on (its journal included) takes its copy more than a moment.
constexpr std::uintmax_t kCopiaVisible = 4u << 20;

std::uintmax_t TamanoBD(const std::string &ruta)
{
    std::uintmax_t total = 0;
    for (const std::string &fichero : {ruta, ruta + "-wal"}) {
        std::error_code ec;
        const std::uintmax_t tamano = std::filesystem::file_size(cp1252::fileName(fichero), ec);
        total += ec ? 0 : tamano;
    }
    return total;
}

} // namespace

TFormCerrando::TFormCerrando(QWidget *parent, int texto)
    : QFrame(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormCerrando"));
    // Raised, so that it stands out also where the window system draws no frame.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setWindowTitle(QGuiApplication::applicationDisplayName());
    lblCerrando = new QLabel(cp1252::toQString(::Idioma.GetTexto(texto)), this);
    lblCerrando->setObjectName(QStringLiteral("lblCerrando"));
    lblCerrando->setAlignment(Qt::AlignCenter);
    QFont letra = lblCerrando->font();
    letra.setPointSizeF(letra.pointSizeF() * 1.3);
    lblCerrando->setFont(letra);
    auto *marco = new QHBoxLayout(this);
    marco->setContentsMargins(32, 20, 32, 20);
    marco->addWidget(lblCerrando);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
    if (parent)
        move(parent->frameGeometry().center() - rect().center());
}

void TFormCerrando::Muestra()
{
    show();
    raise();
    QElapsedTimer reloj;
    reloj.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && reloj.elapsed() < kEsperaVentanaMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::unique_ptr<TFormCerrando> TFormCerrando::MuestraSiTarda(QWidget *parent, const std::string &rutaBD, int texto)
{
    if (TamanoBD(rutaBD) < kCopiaVisible)
        return nullptr;
    auto aviso = std::make_unique<TFormCerrando>(parent, texto);
    aviso->Muestra();
    return aviso;
}
