// Fixtures of the start-up tests.
#include "arranque.h"

#include "Aplicacion.h"
#include "Login.h"
#include "Programa.h"
#include "basedatos.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <filesystem>

namespace arranque {

Carpeta::Carpeta()
{
    std::filesystem::create_directory(Ruta("BD"));
    std::filesystem::copy_file(SHIPPED_MCR, Ruta("BD/Orvanta.mcr"));
}

Ventanas::Ventanas()
{
    CreaVentanas();
}

Ventanas::~Ventanas()
{
    DestruyeVentanas();
}

TFormMain *Ventanas::Main() const
{
    return App().FormMain;
}

bool HastaTerminar(const std::function<void()> &accion)
{
    bool terminado = true;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, [&terminado] {
        terminado = false;
        QCoreApplication::exit(1);
    });
    limite.start(60000);
    // accion runs from the program's own loop, not from inside a modal window's.
    QTimer arranque;
    QObject::connect(&arranque, &QTimer::timeout, [&] {
        if (QThread::currentThread()->loopLevel() == 1 && !QApplication::activeModalWidget()) {
            arranque.stop();
            accion();
        }
    });
    arranque.start(10);
    QApplication::exec();
    return terminado;
}

bool Espera(const std::function<bool()> &condicion, int milisegundos)
{
    QElapsedTimer reloj;
    reloj.start();
    while (!condicion()) {
        if (reloj.elapsed() > milisegundos)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void Login(bool cancelar)
{
    AlMostrarse<TFormLogin>([cancelar](TFormLogin *login) {
        if (cancelar) {
            login->cbtCancel->click();
            return;
        }
        login->txtPassword->setText(QStringLiteral("cambiame"));
        login->cbtOK->click();
        login->cbtOK->click();
    });
}

void Responde(int boton, std::string *texto, std::string *titulo)
{
    AlMostrarse<QMessageBox>([=](QMessageBox *caja) {
        if (texto)
            *texto = cp1252::fromQString(caja->text());
        if (titulo)
            *titulo = cp1252::fromQString(caja->windowTitle());
        caja->button(QMessageBox::StandardButton(boton))->click();
    });
}

bool Ejecuta(const std::string &sql)
{
    std::string error;
    return basedatos::exec(sql, error) >= 0;
}

std::string Valor(const std::string &sql, const std::string &campo)
{
    const basedatos::Result r = basedatos::query(sql);
    return r.rows.empty() ? std::string() : basedatos::field(r.rows.front(), campo);
}

} // namespace arranque
