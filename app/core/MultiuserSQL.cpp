// The unlogged database calls of the multi-user coordination.
#include "MultiuserSQL.h"

#include "Modmas.h"
#include "vasqdb.h"

#include <charconv>

namespace multiusersql {

namespace {

// Where the running query's rows go, and whether it stops after the first.
struct Destino {
    std::vector<std::string> *filas;
    bool soloPrimera;
};
Destino *g_destino = nullptr;

void Recoge(char *fila, char *seguir, int)
{
    g_destino->filas->push_back(fila);
    if (g_destino->soloPrimera)
        *seguir = 0;
}

bool Lee(const std::string &sql, std::vector<std::string> &filas, bool soloPrimera)
{
    filas.clear();
    Destino destino{&filas, soloPrimera};
    Destino *anterior = g_destino;
    g_destino = &destino;
    const int r = VASQ_GetData(sql.c_str(), Recoge);
    g_destino = anterior;
    if (r == 0)
        return true;
    VASQ_GetLastErrorCodeID();
    filas.clear();
    return false;
}

} // namespace

bool Consulta(const std::string &sql, std::vector<std::string> &filas)
{
    return Lee(sql, filas, false);
}

bool PrimeraFila(const std::string &sql, std::string &fila)
{
    std::vector<std::string> filas;
    const bool ok = Lee(sql, filas, true);
    fila = filas.empty() ? std::string() : filas.front();
    return ok;
}

int Ejecuta(const std::string &sql)
{
    int filas = 0;
    return C_Exec(sql.c_str(), &filas) == 0 ? filas : -1;
}

int Entero(std::string_view texto, int defecto)
{
    int valor = 0;
    const char *fin = texto.data() + texto.size();
    const auto [ptr, ec] = std::from_chars(texto.data(), fin, valor);
    return ec == std::errc() && ptr == fin && !texto.empty() ? valor : defecto;
}

int Numero(std::string_view fila, std::string_view campo, int defecto)
{
    return Entero(GetCampo(campo, fila), defecto);
}

} // namespace multiusersql
