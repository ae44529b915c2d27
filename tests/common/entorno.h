// Fixtures of the foundation tests: regional settings and a temporary program folder.
#pragma once

#include "progdir.h"
#include "testutil.h"
#include "vasqdb.h"

#include <QLocale>
#include <cstdlib>
#include <string>

namespace entorno {

// Makes Spanish (",") or US English (".") the regional settings while it lives.
class Regional {
public:
    explicit Regional(bool coma)
    {
        QLocale::setDefault(coma ? QLocale(QLocale::Spanish, QLocale::Spain)
                                 : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~Regional() { QLocale::setDefault(m_anterior); }

private:
    QLocale m_anterior;
};

// A temporary program folder (where Orvanta.LOG goes) while it lives.
class Programa {
public:
    Programa()
    {
        const char *v = std::getenv(progdir::kEnvironmentVariable);
        m_teniaValor = v != nullptr;
        if (v)
            m_anterior = v;
        ::setenv(progdir::kEnvironmentVariable, m_dir.path().c_str(), 1);
    }
    ~Programa()
    {
        if (m_teniaValor)
            ::setenv(progdir::kEnvironmentVariable, m_anterior.c_str(), 1);
        else
            ::unsetenv(progdir::kEnvironmentVariable);
    }
    const testutil::TempDir &dir() const { return m_dir; }
    std::string Log() const { return testutil::readFile(m_dir.file("Orvanta.LOG")); }

private:
    testutil::TempDir m_dir;
    std::string m_anterior;
    bool m_teniaValor = false;
};

// A new database in a temporary folder, open through vasqdb while the object lives.
class BaseDatos {
public:
    explicit BaseDatos(const std::string &password = "")
    {
        testutil::writeFile(Ruta(), "");
        SetBdPassword(password.c_str());
        m_abierta = VASQ_OpenDB(Ruta().c_str(), 0, 0) == 0;
    }
    ~BaseDatos()
    {
        VASQ_CloseDB();
        SetBdPassword("");
    }
    bool Abierta() const { return m_abierta; }
    std::string Ruta() const { return m_dir.file("Orvanta.mdb"); }
    const testutil::TempDir &Dir() const { return m_dir; }

private:
    testutil::TempDir m_dir;
    bool m_abierta = false;
};

} // namespace entorno
