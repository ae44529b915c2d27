// The small window that tells the user the program is closing while the last running copy
// writes the scrambled copy of the database on exit.
#include "Cerrando.h"

#include "Multiidioma.h"
#include "qcp1252.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QWindow>

namespace {

// How long Muestra waits for the window system to put the window on screen.
constexpr int kEsperaVentanaMs = 1000;

} // namespace

TFormCerrando::TFormCerrando(QWidget *parent)
    : QFrame(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormCerrando"));
    // Raised, so that it stands out also where the window system draws no frame.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setWindowTitle(QGuiApplication::applicationDisplayName());
    lblCerrando = new QLabel(cp1252::toQString(::Idioma.GetTexto(790)), this);
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
