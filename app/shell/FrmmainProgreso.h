// The progress of a long command of the main window on its bar.
#pragma once

#include "Remesas.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <cstddef>

// Commands on more bills than this show their progress.
constexpr size_t kRecibosConProgreso = 2000;
constexpr qint64 kIntervaloProgreso = 100; // ms

// The progress of a long command on the main window's bar, painted at once (the command
// handles no events until it ends) and at most every 100 ms; hidden again at the end.
class Progreso {
public:
    Progreso(QProgressBar *barra, size_t total)
        : m_barra(total > kRecibosConProgreso ? barra : nullptr)
    {
        if (!m_barra)
            return;
        m_barra->setRange(0, int(total));
        m_barra->setValue(0);
        m_barra->show();
        m_barra->repaint();
        m_reloj.start();
    }
    ~Progreso()
    {
        if (m_barra)
            m_barra->hide();
    }
    Progreso(const Progreso &) = delete;
    Progreso &operator=(const Progreso &) = delete;

    void Avanza(size_t hechos)
    {
        if (!m_barra || m_reloj.elapsed() < kIntervaloProgreso)
            return;
        m_barra->setValue(int(hechos));
        m_barra->repaint();
        m_reloj.restart();
    }

    ProgresoRecibos Funcion()
    {
        return [this](size_t hechos, size_t) { Avanza(hechos); };
    }

private:
    QProgressBar *m_barra;
    QElapsedTimer m_reloj;
};

