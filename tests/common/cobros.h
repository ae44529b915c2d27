// Fixture of the tests on collection data: presenters, issuers, batches, drawees and bills
// of both formats written by SQL into the open database (the shipped one, restored and
// keyed), each call giving the new row's key.
#pragma once

#include "entorno.h"

#include <string>

namespace cobros {

// The shipped database restored in a temporary program folder and open while the object
// lives; it holds the shipped administrator (user 1) and no company.
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

struct Librado {
    std::string referencia, nombre, cuenta, titular, direccion, cp, localidad, locOrdenante, codProvincia;
};

// A bill; importe and dates are SQL literals as written ("12.5", "NULL", "'2024/06/30'"),
// texts are quoted by the fixture; an empty concepto stores no concept row.
struct Recibo {
    std::string importe = "1";
    std::string concepto, primerConcepto, codDevolucion, refInterna;
    std::string vencimiento = "NULL", formalizacion = "NULL";
    bool activo = true;
    int situacion = 0;
};

// Each inserts one row and gives its key; 0 when the statement failed. Texts are
// Windows-1252 and quoted with their quotes doubled; an empty text is stored as NULL.
int Empresa(int usuario = 1, const std::string &nombre = "Empresa");
int Presentador(int empresa, const std::string &orden, const std::string &nif, const std::string &sufijo,
                const std::string &razon);
int Emisor(int presentador, const std::string &nif, const std::string &sufijo, const std::string &razon,
           const std::string &cuentaAbono, const std::string &cuentaCargo = {}, const std::string &nie = {});
int Remesa(int emisor, const std::string &moneda, const std::string &descripcion);
int AltaLibrado(int emisor, const Librado &librado);
int AltaRecibo(int remesa, int librado, const Recibo &recibo);

// Under a new CSB19 presenter of the company, an issuer with the drawees R0 .. R{librados - 1}
// (names "Librado i", one account): the issuer's key, 0 on failure; primerLibrado gets the
// first drawee's key (the others follow it).
int EmisorConLibrados(int empresa, int librados, int &primerLibrado);

// cuantos bills of the batch in one statement, drawn in turn from the drawees primerLibrado
// .. primerLibrado + librados - 1, with amounts 2.02, 3.03 ... 1010.00, 1.01, 2.02 ... (euros) or
// 202, 303 ... (pesetas), a due date, an internal reference and a first concept line. False
// on failure.
bool RecibosEnSerie(int remesa, bool euros, int cuantos, int primerLibrado, int librados);

// The text of a value quoted for SQL (NULL for an empty one).
std::string Literal(const std::string &texto);

// Runs a statement on the open database; false when it failed.
bool Ejecuta(const std::string &sql);

// The value of a field of the first row of a query ("" when none) and the number of rows.
std::string Valor(const std::string &sql, const std::string &campo);
int Filas(const std::string &sql);

} // namespace cobros
