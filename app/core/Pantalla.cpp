// Every window inside the screen it opens on.
#include "Pantalla.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

constexpr const char *kDesplazamiento = "AjustePantalla";

// The frame last reported for a window of the program.
QMargins g_marcoVisto;

// The frame the window system reports for the window, kept as the last one seen.
QMargins MarcoInformado(const QWidget *ventana)
{
    const QMargins marco = MarcoVentana(ventana);
    if (!marco.isNull())
        g_marcoVisto = marco;
    return marco;
}

// The frame of a window the window system has not reported yet: the last one it reported for
// a window of the program.
QMargins MarcoSupuesto(const QWidget *ventana)
{
    return ventana->windowFlags() & Qt::FramelessWindowHint ? QMargins() : g_marcoVisto;
}

// Where a window goes: a dialog not placed by hand centred on the area, any other with the top
// left corner of its frame where it was put.
struct Destino {
    bool centrada = false;
    QPoint esquina;
};

// Moves the window's contents, their layout and the controls placed by hand, into a scroll
// area that fills the window, shown or about to show. The controls never leave the window, so
// the order of Tab is kept; the focus, which leaves a control that changes parent, is given
// back.
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
    // A window already shown does not show the children it is given.
    contenido->show();
    desplazamiento->show();
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

bool Ajustable(const QWidget *ventana)
{
    const Qt::WindowType tipo = ventana->windowType();
    return ventana->isWindow() && (tipo == Qt::Window || tipo == Qt::Dialog || tipo == Qt::Tool)
           && !(ventana->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) && ventana->screen();
}

// The client area of a window of tamano going to destino under marco, inside libre.
QRect Sitio(const QSize &tamano, const Destino &destino, const QMargins &marco, const QRect &libre)
{
    QRect fuera(destino.esquina, tamano.grownBy(marco));
    if (destino.centrada)
        fuera.moveCenter(libre.center());
    fuera.moveTo(Dentro(fuera.x(), libre.left(), libre.right(), fuera.width()),
                 Dentro(fuera.y(), libre.top(), libre.bottom(), fuera.height()));
    return fuera.marginsRemoved(marco);
}

// Lets the layouts that a change inside the window set going settle, up to the window's own:
// a layout that takes a new size asks its parent's again, one level at each pass.
void AsientaCapas(QWidget *ventana)
{
    constexpr int kNiveles = 8;
    for (int nivel = 0; nivel < kNiveles; ++nivel)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout *capas = ventana->layout())
        capas->activate();
}

void Ajusta(QWidget *ventana, const QMargins &marco, const Destino &destino)
{
    // The size it shows at: the layouts that its show handling changed settle first.
    AsientaCapas(ventana);
    const QRect libre = ventana->screen()->availableGeometry();
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
        ventana->setMaximumSize(ventana->maximumSize().expandedTo(tamano));
        PonDesplazamiento(ventana);
    }
    if (noCabe())
        ventana->setMinimumSize(ventana->minimumSize().boundedTo(cabe));
    const QRect sitio = Sitio(tamano.boundedTo(cabe).boundedTo(ventana->maximumSize()), destino, marco, libre);
    if (sitio == ventana->geometry())
        return;
    // A window that keeps its size shows at it again; the others as they would have. A
    // dialog left to Qt's placing stays so.
    const bool otroTamano = sitio.size() != ventana->size();
    ventana->setGeometry(sitio);
    ventana->setAttribute(Qt::WA_Resized, otroTamano ? redimensionada || desplaza : redimensionada);
    ventana->setAttribute(Qt::WA_Moved, movida);
}

// Fits a window again, to the same place, when the window system shows it framed otherwise
// than it was fitted for.
class Reajuste : public QObject {
public:
    static void Pon(QWidget *ventana, const QMargins &marco, const Destino &destino)
    {
        Reajuste *reajuste = De(ventana);
        reajuste->m_marco = marco;
        reajuste->m_destino = destino;
        reajuste->m_pendiente = true;
        ventana->windowHandle()->installEventFilter(reajuste);
    }

    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (!m_pendiente || evento->type() != QEvent::Expose || !m_ventana->windowHandle()->isExposed())
            return false;
        m_pendiente = false;
        const QMargins marco = MarcoInformado(m_ventana);
        if (marco != m_marco && Ajustable(m_ventana))
            Ajusta(m_ventana, marco, m_destino);
        return false;
    }

private:
    explicit Reajuste(QWidget *ventana) : QObject(ventana), m_ventana(ventana) {}

    // The window's own, made at its first fitting.
    static Reajuste *De(QWidget *ventana)
    {
        for (QObject *hijo : ventana->children())
            if (auto *reajuste = dynamic_cast<Reajuste *>(hijo))
                return reajuste;
        return new Reajuste(ventana);
    }

    QWidget *m_ventana;
    QMargins m_marco;
    Destino m_destino;
    bool m_pendiente = false;
};

} // namespace

std::function<QMargins(const QWidget *)> MarcoVentana = [](const QWidget *ventana) {
    const QWindow *w = ventana->windowHandle();
    return w ? w->frameMargins() : QMargins();
};

void AjustaAPantalla(QWidget *ventana)
{
    if (!ventana || !Ajustable(ventana))
        return;
    const Destino destino{qobject_cast<const QDialog *>(ventana) && !ventana->testAttribute(Qt::WA_Moved),
                          ventana->pos()};
    const QMargins informado = MarcoInformado(ventana);
    const QMargins marco = informado.isNull() ? MarcoSupuesto(ventana) : informado;
    Ajusta(ventana, marco, destino);
    if (informado.isNull() && ventana->windowHandle())
        Reajuste::Pon(ventana, marco, destino);
}

void MantenEnPantalla(QWidget *ventana)
{
    if (!ventana || !ventana->isVisible() || !Ajustable(ventana))
        return;
    AsientaCapas(ventana);
    if (const auto *desplazamiento =
            ventana->findChild<QScrollArea *>(QLatin1String(kDesplazamiento), Qt::FindDirectChildrenOnly)) {
        const int barra = ventana->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QSize contenido = desplazamiento->widget()->minimumSize().grownBy({0, 0, barra, barra});
        ventana->setMaximumSize(ventana->maximumSize().expandedTo(contenido));
        ventana->resize(ventana->size().expandedTo(contenido));
    }
    const QMargins informado = MarcoInformado(ventana);
    Ajusta(ventana, informado.isNull() ? MarcoSupuesto(ventana) : informado, Destino{false, ventana->pos()});
}
