// Fixtures of the multi-user tests: the shipped database with a small organisation in a
// temporary program folder, its lock counters, and running copies in other processes.
#pragma once

#include "Multiuser.h"
#include "entorno.h"

#include <QProcess>
#include <QTime>
#include <memory>
#include <string>
#include <vector>

// The tests' hold on the heartbeat's clock.
class MultiuserPrueba {
public:
    // Each heartbeat of m reads one second later than the one before, so that a copy that
    // beats is never taken for dead by a sweep run a moment later.
    static void RelojQueAvanza(_multiuser &m)
    {
        auto segundos = std::make_shared<int>(0);
        m.m_reloj = [segundos] { return QTime(8, 0).addSecs((*segundos)++); };
    }
    static const QTimer &Temporizador(const _multiuser &m) { return m.m_timer; }
};

namespace copias {

// The shipped database, restored in a temporary program folder and open here, holding:
// user 1 (the shipped administrator) with company 1, its presenter 1 and issuer 1; the
// issuer's batches 1 and 2 and drawee 1; bill 1 of batch 1 and drawee 1; template 1
// with two items.
class Base {
public:
    Base();
    ~Base();
    bool Abierta() const { return m_abierta; }
    std::string Ruta() const { return m_ruta; }
    const entorno::Programa &Programa() const { return m_programa; }

private:
    entorno::Programa m_programa;
    std::string m_ruta;
    bool m_abierta = false;
};

// The Block of user 1, company 1, presenter 1, issuer 1, batch 1, batch 2, drawee 1,
// bill 1, template 1 and the sum of its items, in this order.
std::vector<int> Contadores();
inline const std::vector<int> kLibre(10, 0);
inline const std::vector<int> kRemesa1 = {1, 1, 1, 1, 1, 0, 0, 0, 0, 0}; // batch 1 and its chain

// The row texts of a query on the open database (the empty list when it fails).
std::vector<std::string> Filas(const std::string &sql);

// The value of a field of the first row of a query; "" when there is none.
std::string Valor(const std::string &sql, const std::string &campo);

// Runs a statement on the open database; false when it fails.
bool Ejecuta(const std::string &sql);

// A running copy of the coordination in its own process (copia_multiuser), with its own
// connection to the database; it answers one line per command.
class Copia {
public:
    explicit Copia(const std::string &rutaBD);
    ~Copia();
    std::string Pide(const std::string &orden);
    void Mata(); // SIGKILL, as a crash

private:
    QProcess m_proceso;
};

} // namespace copias
