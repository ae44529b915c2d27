// Every window inside the screen it opens on.
#include "Pantalla.h"

#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr const char *kDesplazamiento = "AjustePantalla";

// The frame the window system draws around the window: its own once it is known (after
// the first showing under some window systems), else its owner's.
QMargins Marco(const QWidget *ventana)
{
    for (const QWidget *w = ventana; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QRect dentro = w->geometry(), fuera = w->frameGeometry();
        const QMargins marco(dentro.left() - fuera.left(), dentro.top() - fuera.top(), fuera.right() - dentro.right(),
                             fuera.bottom() - dentro.bottom());
        if (!marco.isNull())
            return marco;
    }
    return {};
}

// Moves the window's contents, their layout and the controls placed by hand, into a scroll
// area that fills the window. The controls never leave the window, so the order of Tab is
// kept; the focus, which leaves a control that changes parent, is given back.
void PonDesplazamiento(QWidget *ventana)
{
    QWidget *foco = ventana->focusWidget();
    QLayout *capas = ventana->layout();
    auto *desplazamiento = new QScrollArea(ventana);
    desplazamiento->setObjectName(QLatin1String(kDesplazamiento));
    desplazamiento->setFrameShape(QFrame::NoFrame);
    desplazamiento->setFocusPolicy(Qt::NoFocus);
    desplazamiento->setWidgetResizable(true);
    auto *contenido = new QWidget(desplazamiento->viewport());
    desplazamiento->setWidget(contenido);
    contenido->setLayout(capas);
    for (QWidget *hijo : ventana->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (hijo != desplazamiento && !hijo->isWindow()) {
            const bool visible = !hijo->isHidden();
            hijo->setParent(contenido);
            hijo->setVisible(visible);
        }
    auto *todo = new QVBoxLayout(ventana);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(desplazamiento);
    todo->activate();
    if (foco)
        foco->setFocus();
}

// The start of a stretch of largo from donde, moved as little as it takes to lie inside
// desde..hasta (at desde when it is longer).
int Dentro(int donde, int desde, int hasta, int largo)
{
    return std::clamp(donde, desde, std::max(desde, hasta + 1 - largo));
}

bool Desplazable(const QWidget *ventana)
{
    return ventana->layout() && !qobject_cast<const QMainWindow *>(ventana)
           && !ventana->findChild<QScrollArea *>(QLatin1String(kDesplazamiento), Qt::FindDirectChildrenOnly);
}

} // namespace

void AjustaAPantalla(QWidget *ventana)
{
    if (!ventana || !ventana->isWindow() || (ventana->windowType() != Qt::Window && ventana->windowType() != Qt::Dialog)
        || (ventana->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) || !ventana->screen())
        return;
    if (QLayout *capas = ventana->layout())
        capas->activate();
    const QRect libre = ventana->screen()->availableGeometry();
    const QMargins marco = Marco(ventana);
    const QSize cabe = libre.size().shrunkBy(marco);
    QSize tamano = ventana->size();
    const bool redimensionada = ventana->testAttribute(Qt::WA_Resized);
    const bool movida = ventana->testAttribute(Qt::WA_Moved);
    const auto noCabe = [&] {
        return ventana->minimumWidth() > cabe.width() || ventana->minimumHeight() > cabe.height();
    };
    const bool desplaza = noCabe() && Desplazable(ventana);
    if (desplaza) {
        // Room for the scroll bar across the side that scrolls, when there is room.
        const int barra = ventana->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (tamano.height() > cabe.height())
            tamano.rwidth() += barra;
        if (tamano.width() > cabe.width())
            tamano.rheight() += barra;
        PonDesplazamiento(ventana);
    }
    if (noCabe())
        ventana->setMinimumSize(ventana->minimumSize().boundedTo(cabe));
    if (tamano.boundedTo(cabe) != ventana->size()) {
        ventana->resize(tamano.boundedTo(cabe));
        // A window that keeps its size shows at it again; the others as they would have.
        ventana->setAttribute(Qt::WA_Resized, redimensionada || desplaza);
    }
    const QSize fuera = ventana->size().grownBy(marco);
    const QPoint donde(Dentro(ventana->x(), libre.left(), libre.right(), fuera.width()),
                       Dentro(ventana->y(), libre.top(), libre.bottom(), fuera.height()));
    if (donde != ventana->pos()) {
        ventana->move(donde);
        ventana->setAttribute(Qt::WA_Moved, movida);
    }
}
