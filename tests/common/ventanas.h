// Fixtures of the tests that drive modal windows offscreen.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

// Runs accion on the modal window of type T as soon as it shows and is the active window
// (before that, focus changes send no focus events); after two seconds it runs anyway.
template<class T>
void AlMostrarse(std::function<void(T *)> accion)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, accion, espera = QElapsedTimer()]() mutable {
        auto *ventana = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!ventana)
            return;
        if (!espera.isValid()) {
            espera.start();
            ventana->activateWindow();
        }
        if (!ventana->isActiveWindow() && espera.elapsed() < 2000)
            return;
        timer->stop();
        timer->deleteLater();
        accion(ventana);
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

// Runs accion on every show of a modal window of type T while the object lives, also on a
// window shown again (one created once and reused): a show is one stretch of it being the
// active modal window. Counts them.
template<class T>
class RespondeCadaVez {
public:
    explicit RespondeCadaVez(std::function<void(T *)> accion)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, accion] {
            auto *ventana = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!ventana) {
                m_atendida = false;
                return;
            }
            if (m_atendida)
                return;
            m_atendida = true;
            ++m_veces;
            accion(ventana);
        });
        m_timer.start(5);
    }
    int Veces() const { return m_veces; }

private:
    QTimer m_timer;
    bool m_atendida = false;
    int m_veces = 0;
};

// What a message box showed.
struct CajaVista {
    QString texto;
    QString titulo;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    std::vector<QString> botones;
};

// Answers every message box that shows while the object lives, pressing the next of botones
// (the last one again when they run out; NoButton: Enter), and keeps what each showed.
class RespondeCajas {
public:
    explicit RespondeCajas(std::vector<QMessageBox::StandardButton> botones = {QMessageBox::Ok})
        : m_botones(std::move(botones)), m_respondedor([this](QMessageBox *caja) {
              Vistas.push_back({caja->text(), caja->windowTitle(), caja->icon(), {}});
              for (const QAbstractButton *boton : caja->buttons())
                  Vistas.back().botones.push_back(boton->text());
              const size_t i = std::min(Vistas.size(), m_botones.size()) - 1;
              if (m_botones[i] == QMessageBox::NoButton)
                  QTest::keyClick(caja, Qt::Key_Return);
              else if (QAbstractButton *boton = caja->button(m_botones[i]))
                  boton->click();
              else
                  caja->reject();
          })
    {
    }

    std::vector<CajaVista> Vistas;

private:
    std::vector<QMessageBox::StandardButton> m_botones;
    Respondedor<QMessageBox> m_respondedor;
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

// Waits until the window is the one with the keyboard (QTest::qWaitForWindowActive also
// takes a dialog for active while its parent still has the keyboard). False after 5 s.
inline bool EsperaActiva(QWidget *ventana)
{
    return QTest::qWaitFor([ventana] { return QApplication::activeWindow() == ventana->window(); });
}

// Shows the window and makes it the active one, as the user's click on it does, so that
// its focus and shortcuts work. False when it did not become active.
inline bool Activa(QWidget *ventana)
{
    ventana->show();
    ventana->activateWindow();
    return EsperaActiva(ventana);
}

// The controls that Tab visits from the window's focused control, that one first, until the
// focus comes back to it (at most maximo).
inline std::vector<QWidget *> CadenaTabulacion(int maximo = 40)
{
    std::vector<QWidget *> cadena;
    QWidget *inicio = QApplication::focusWidget();
    for (QWidget *actual = inicio; actual && int(cadena.size()) < maximo;) {
        cadena.push_back(actual);
        QTest::keyClick(actual, Qt::Key_Tab);
        actual = QApplication::focusWidget();
        if (actual == inicio)
            break;
    }
    return cadena;
}

// The room a control gives its text: a combo box's edit field, a line edit's text area
// (each less the margins Qt draws the text within).
inline int Sitio(QWidget *control)
{
    if (auto *lista = qobject_cast<QComboBox *>(control)) {
        QStyleOptionComboBox opcion;
        opcion.initFrom(lista);
        const QRect campo =
            lista->style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxEditField, lista);
        return campo.width() - 2;
    }
    auto *caja = qobject_cast<QLineEdit *>(control);
    QStyleOptionFrame opcion;
    opcion.initFrom(caja);
    opcion.lineWidth = caja->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opcion, caja);
    const QRect texto = caja->style()->subElementRect(QStyle::SE_LineEditContents, &opcion, caja);
    return texto.marginsRemoved(caja->textMargins()).width() - 4;
}

// The width of the text as the control shows it (a password as its mask characters).
inline int Necesita(QWidget *control, const QString &texto)
{
    auto *caja = qobject_cast<QLineEdit *>(control);
    if (caja && caja->echoMode() == QLineEdit::Password) {
        QStyleOptionFrame opcion;
        opcion.initFrom(caja);
        const QChar mascara(caja->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &opcion, caja));
        return caja->fontMetrics().horizontalAdvance(QString(texto.size(), mascara));
    }
    return control->fontMetrics().horizontalAdvance(texto);
}
