// Fixtures of the start-up tests: a program folder as an installation leaves it, the
// program's windows started on it, and the steps of a user.
#pragma once

#include "Frmmain.h"
#include "entorno.h"
#include "ventanas.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class TFormCfg;

namespace arranque {

// A temporary program folder holding the shipped scrambled copy BD/Orvanta.mcr and
// nothing else.
class Carpeta : public entorno::Programa {
public:
    Carpeta();
    std::string Ruta(const std::string &nombre) const { return dir().file(nombre); }
    std::string BD() const { return Ruta("BD/Orvanta.mdb"); }
    std::string Ini() const { return Ruta("Orvanta.INI"); }
};

// The program's windows, created as the entry creates them (the main window opens the
// database) and ended with the exit sequence when the object goes.
class Ventanas {
public:
    Ventanas();
    ~Ventanas();
    Ventanas(const Ventanas &) = delete;
    Ventanas &operator=(const Ventanas &) = delete;
    TFormMain *Main() const;
};

// While it lives, records what the window that says the program is busy writing the
// database's copy (TFormCerrando) showed each time it appeared, and whether the wait
// cursor was on.
class VigilaAvisos : public QObject {
public:
    struct Visto {
        QString texto;
        bool cursorEspera = false;
    };

    VigilaAvisos();
    ~VigilaAvisos() override;
    std::vector<Visto> Vistos;

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;
};

// Runs the program's event loop until the program ends (TFormMain::TerminaAplicacion),
// with accion run from it once no modal window shows. False when it had not ended after
// a minute.
bool HastaTerminar(const std::function<void()> &accion);

// Lets the program run until condicion holds; false when it did not within the time.
bool Espera(const std::function<bool()> &condicion, int milisegundos = 10000);

// Closes the first-start help and the euro reminder with Escape, as a user does, while they
// show in front of the login, until the login has the keys.
void CierraAvisos();

// Logs the administrator in on the login window when it shows, after CierraAvisos (password,
// then the first company); with cancelar, cancels it instead.
void Login(bool cancelar = false);

// Closes the main window as the user does, answering Yes: the settings are written back; the
// exit follows when the windows go.
void Sale();

// Answers the next message box with the button; gives its text and title.
void Responde(int boton, std::string *texto = nullptr, std::string *titulo = nullptr);

// Opens the configuration dialog from the menu and runs accion on it before OK; a dialog
// that refuses its OK is cancelled. Gives the message boxes it showed.
std::vector<CajaVista> Configura(TFormMain *m, const std::function<void(TFormCfg *)> &accion);

// Runs an action statement on the open database; false when it failed.
bool Ejecuta(const std::string &sql);

// The value of a field of the first row of a query on the open database.
std::string Valor(const std::string &sql, const std::string &campo);

// Stores on the open shipped database, in one transaction, what a customer's database
// holds: an organisation of the administrator (a company, a CSB19 presenter, ten issuers,
// one drawee for every 250 bills up to 2,000, with full names and addresses), a template,
// and recibos bills in batches of up to 10,000 with a concept text each, every batch sent
// once; texts, amounts and dates like real ones, every index filled. False when a
// statement failed.
bool LlenaRemesas(int recibos);

// Damages the closed database at carpeta: 1,024 bytes of the first page of the tree (a table
// or an index) called arbol overwritten with 0xA5; desde and danado receive where and what.
void DanaArbol(const Carpeta &carpeta, const char *arbol, size_t &desde, std::string &danado);

// Makes the closed database at carpeta lose a write: the page that holds bills 100 to 110 goes
// back to what it was before their amounts changed, while the index on the amounts keeps the
// new ones (an earlier version of a sound page: it passes every check of its own); desde and
// pagina receive where and what was written back.
void PierdeEscritura(const Carpeta &carpeta, size_t &desde, std::string &pagina);

} // namespace arranque
