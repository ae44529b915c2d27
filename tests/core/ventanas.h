// Fixtures of the tests that drive modal windows offscreen.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>

// Runs accion on the modal window of type T as soon as it shows.
template<class T>
void AlMostrarse(std::function<void(T *)> accion)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, accion] {
        if (auto *ventana = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            accion(ventana);
        }
    });
    timer->start(5);
}

// Runs accion on every modal window of type T that shows while the object lives, and
// counts them.
template<class T>
class Respondedor {
public:
    explicit Respondedor(std::function<void(T *)> accion)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, accion] {
            auto *ventana = qobject_cast<T *>(QApplication::activeModalWidget());
            if (ventana && ventana != m_ultima) {
                m_ultima = ventana;
                ++m_veces;
                accion(ventana);
            }
        });
        m_timer.start(5);
    }
    int Veces() const { return m_veces; }

private:
    QTimer m_timer;
    QPointer<T> m_ultima; // the window answered last, until it goes
    int m_veces = 0;
};
