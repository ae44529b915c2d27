// Answering modal windows from tests: a modal window runs its own event loop, so the test
// acts on it from a timer that watches for it.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

namespace modales {

// Calls alVer with the active modal window, every few milliseconds while it lives.
class Vigia {
public:
    explicit Vigia(std::function<void(QWidget *)> alVer) : m_alVer(std::move(alVer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget())
                m_alVer(modal);
        });
        m_timer.start(5);
    }
    void Para() { m_timer.stop(); }

private:
    std::function<void(QWidget *)> m_alVer;
    QTimer m_timer;
};

// Runs accion once on the first modal window of type T that shows while it lives.
template<class T>
class AlMostrarse {
public:
    explicit AlMostrarse(std::function<void(T *)> accion)
        : m_vigia([this, accion = std::move(accion)](QWidget *modal) {
              if (auto *ventana = qobject_cast<T *>(modal)) {
                  m_vigia.Para();
                  m_visto = true;
                  accion(ventana);
              }
          })
    {
    }
    bool Visto() const { return m_visto; }

private:
    Vigia m_vigia;
    bool m_visto = false;
};

// What a message box showed.
struct CajaVista {
    QString texto;
    QString titulo;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
};

// Answers every message box that shows while it lives, pressing the next of botones (the
// last one again when they run out), and keeps what each showed.
class RespondeCajas {
public:
    explicit RespondeCajas(std::vector<QMessageBox::StandardButton> botones = {QMessageBox::Ok})
        : m_botones(std::move(botones)), m_vigia([this](QWidget *modal) {
              auto *caja = qobject_cast<QMessageBox *>(modal);
              if (!caja || !caja->isVisible())
                  return;
              Vistas.push_back({caja->text(), caja->windowTitle(), caja->icon()});
              const size_t i = std::min(Vistas.size(), m_botones.size()) - 1;
              if (QAbstractButton *boton = caja->button(m_botones[i]))
                  boton->click();
              else
                  caja->reject();
          })
    {
    }

    std::vector<CajaVista> Vistas;

private:
    std::vector<QMessageBox::StandardButton> m_botones;
    Vigia m_vigia;
};

// Types texto into the widget as the keyboard does: each character a key press and release
// carrying it (characters without a key of their own travel as Key_unknown with the text).
inline void Teclea(QWidget *destino, const QString &texto)
{
    for (const QChar c : texto) {
        const ushort u = c.unicode();
        if (u < 0x80 && c.isPrint()) {
            QTest::keyClick(destino, static_cast<char>(u));
            continue;
        }
        QKeyEvent pulsa(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent suelta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(destino, &pulsa);
        QApplication::sendEvent(destino, &suelta);
    }
}

} // namespace modales
