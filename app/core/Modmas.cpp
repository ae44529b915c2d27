// Row-text fields and in-place text helpers.
#include "Modmas.h"

#include "vasqdb.h"

#include <cstdlib>

#include <algorithm>

namespace {

// Where the value of the first "<nombre>=" begins and ends; false when the name is absent.
bool BuscaValor(std::string_view nombre, std::string_view fila, char separador, size_t &inicio, size_t &fin)
{
    if (nombre.empty())
        return false;
    const std::string patron = std::string(nombre) + '=';
    const size_t p = fila.find(patron);
    if (p == std::string_view::npos)
        return false;
    inicio = p + patron.size();
    fin = fila.find(separador, inicio);
    if (fin == std::string_view::npos)
        fin = fila.size();
    return true;
}

} // namespace

std::string GetCampo(std::string_view nombre, std::string_view fila, char separador)
{
    size_t inicio, fin;
    if (!BuscaValor(nombre, fila, separador, inicio, fin))
        return {};
    return std::string(fila.substr(inicio, fin - inicio));
}

std::string GetCampoTexto(std::string_view nombre, std::string_view fila, char separador)
{
    std::string valor = GetCampo(nombre, fila, separador);
    VASQ_Unescape(valor.data());
    return valor;
}

void SetCampo(std::string &fila, std::string_view nombre, std::string_view valor, char separador)
{
    if (nombre.empty())
        return;
    size_t inicio, fin;
    if (BuscaValor(nombre, fila, separador, inicio, fin)) {
        fila.replace(inicio, fin - inicio, valor);
        return;
    }
    fila += separador;
    fila += nombre;
    fila += '=';
    fila += valor;
}

void CambiaCaracter(char *texto, char de, char a)
{
    for (; texto && *texto; ++texto)
        if (*texto == de)
            *texto = a;
}

void CambiaCaracterLen(std::string &texto, char de, char a)
{
    std::replace(texto.begin(), texto.end(), de, a);
}

std::string &QuitaCaracter(std::string &texto, char c)
{
    texto.erase(std::remove(texto.begin(), texto.end(), c), texto.end());
    return texto;
}

std::string &QuitaBlancos(std::string &texto)
{
    return QuitaCaracter(texto, ' ');
}

std::string &QuitaAcentos(std::string &texto)
{
    for (char &c : texto) {
        switch (static_cast<unsigned char>(c)) {
        case 0xE1: c = 'a'; break;
        case 0xE9: c = 'e'; break;
        case 0xED: c = 'i'; break;
        case 0xF3: c = 'o'; break;
        case 0xFA: c = 'u'; break;
        case 0xC1: c = 'A'; break;
        case 0xC9: c = 'E'; break;
        case 0xCD: c = 'I'; break;
        case 0xD3: c = 'O'; break;
        case 0xDA: c = 'U'; break;
        default: break;
        }
    }
    return texto;
}

int Numero(std::string_view texto)
{
    return std::atoi(std::string(texto).c_str());
}
