// The date box.
#include "Cajafecha.h"

#include "Controles.h"
#include "General.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kCaracteres = 10; // "dd/mm/aaaa"

} // namespace

TCajaFecha::TCajaFecha(QWidget *padre)
    : QLineEdit(padre)
{
    QAction *abre = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    connect(abre, &QAction::triggered, this, &TCajaFecha::Despliega);
    connect(this, &QLineEdit::editingFinished, this, &TCajaFecha::Toma);
    AnchoParaCaracteres(this, kCaracteres + 3, true); // the button beside the text
}

void TCajaFecha::setDate(const QDate &fecha)
{
    if (!fecha.isValid())
        return;
    SenalaRechazo(this, {});
    PonTextoCaja(this, FechaUsuario(fecha));
    if (fecha == m_fecha)
        return;
    m_fecha = fecha;
    emit dateChanged(fecha);
}

void TCajaFecha::setMinimumDate(const QDate &fecha)
{
    m_minima = fecha;
}

std::string TCajaFecha::Toma()
{
    const QDate leida = LeeFechaTecleada(TextoCaja(this));
    std::string motivo;
    if (!leida.isValid())
        motivo = Idioma.GetTexto(315);
    else if (m_soloBanco)
        motivo = MotivoFechaBanco(leida);
    if (motivo.empty() && m_minima.isValid() && leida < m_minima)
        motivo = FormateaTexto(Idioma.GetTexto(674), FechaUsuario(m_minima));
    if (motivo.empty())
        setDate(leida);
    else
        SenalaRechazo(this, motivo);
    return motivo;
}

bool TCajaFecha::Comprueba()
{
    const std::string motivo = Toma();
    if (motivo.empty())
        return true;
    CajaMensaje(motivo, Idioma.GetTexto(1), IconoMensaje::Error);
    SafeSetFocus(this);
    return false;
}

void TCajaFecha::keyPressEvent(QKeyEvent *evento)
{
    const bool abre = evento->key() == Qt::Key_F4
                      || (evento->key() == Qt::Key_Down && (evento->modifiers() & Qt::AltModifier));
    if (abre)
        Despliega();
    else
        QLineEdit::keyPressEvent(evento);
}

void TCajaFecha::Despliega()
{
    if (!m_calendario) {
        m_calendario = new QCalendarWidget(this);
        m_calendario->setWindowFlags(Qt::Popup);
        connect(m_calendario, &QCalendarWidget::clicked, this, &TCajaFecha::Elige);
        connect(m_calendario, &QCalendarWidget::activated, this, &TCajaFecha::Elige);
    }
    const QDate tecleada = LeeFechaTecleada(TextoCaja(this));
    const QDate desde = m_minima.isValid() ? m_minima : QDate(1752, 9, 14);
    if (m_soloBanco)
        m_calendario->setDateRange(std::max(desde, QDate(kPrimerAnioBanco, 1, 1)), QDate(kUltimoAnioBanco, 12, 31));
    else
        m_calendario->setMinimumDate(desde);
    m_calendario->setSelectedDate(tecleada.isValid() ? tecleada : m_fecha.isValid() ? m_fecha : QDate::currentDate());
    // Below the box, inside its screen.
    const QSize tamano = m_calendario->sizeHint();
    QPoint donde = mapToGlobal(QPoint(0, height()));
    if (const QScreen *pantalla = screen()) {
        const QRect libre = pantalla->availableGeometry();
        donde.setX(std::clamp(donde.x(), libre.left(), std::max(libre.left(), libre.right() - tamano.width())));
        if (donde.y() + tamano.height() > libre.bottom())
            donde.setY(mapToGlobal(QPoint(0, 0)).y() - tamano.height());
    }
    m_calendario->move(donde);
    m_calendario->resize(tamano);
    m_calendario->show();
    m_calendario->setFocus();
}

void TCajaFecha::Elige(const QDate &fecha)
{
    m_calendario->hide();
    setDate(fecha);
    setFocus(Qt::PopupFocusReason);
}
