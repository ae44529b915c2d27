// SQL helper queries and the value-list helpers of the template storage.
#include "Cfgfile.h"

#include "General.h"
#include "Modmas.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kTamLista = 1024;

B_AStr_t g_nombres;
B_AStr_t g_valores;
bool g_iniciado = false;
int g_maximo = 0;

void Vacia(B_AStr_t &lista)
{
    B_AStrDest(&lista);
    B_AStrCons(&lista, kTamLista, kTamLista);
}

} // namespace

std::string FormatoSQL(const char *formato, va_list args)
{
    va_list copia;
    va_copy(copia, args);
    const int n = std::vsnprintf(nullptr, 0, formato, copia);
    va_end(copia);
    if (n < 0)
        return {};
    std::string r(size_t(n) + 1, '\0');
    std::vsnprintf(r.data(), r.size(), formato, args);
    r.resize(size_t(n));
    return r;
}

std::string FormatoSQL(const char *formato, ...)
{
    va_list args;
    va_start(args, formato);
    std::string r = FormatoSQL(formato, args);
    va_end(args);
    return r;
}

void IniciaCfgfile()
{
    if (g_iniciado)
        return;
    B_AStrCons(&g_nombres, kTamLista, kTamLista);
    B_AStrCons(&g_valores, kTamLista, kTamLista);
    g_iniciado = true;
}

void FinCfgfile()
{
    if (!g_iniciado)
        return;
    B_AStrDest(&g_nombres);
    B_AStrDest(&g_valores);
    g_iniciado = false;
}

B_AStr_t *ConsultaCampos(bool reinicia, std::initializer_list<const char *> campos, const char *formato, ...)
{
    IniciaCfgfile();
    if (reinicia)
        Vacia(g_valores);
    Vacia(g_nombres);
    for (const char *campo : campos)
        B_AStrAdd(&g_nombres, campo);
    va_list args;
    va_start(args, formato);
    const std::string sql = FormatoSQL(formato, args);
    va_end(args);
    const std::string error = DBGetData(sql, [](char *fila, char *, int) {
        for (long k = 0; k < g_nombres.nStrs; ++k) {
            const std::string valor = GetCampo(B_AStrGet(&g_nombres, k), fila);
            B_AStrAdd(&g_valores, valor.c_str());
        }
    });
    return error.empty() ? &g_valores : nullptr;
}

int ConsultaMaximo(std::string_view tabla, std::string_view columna)
{
    const std::string t(tabla), c(columna);
    const std::string sql = "SELECT MAX( [" + t + "]." + c + " ) FROM [" + t + "]";
    g_maximo = 0;
    const std::string error = DBGetData(sql, [](char *fila, char *seguir, int) {
        const char *igual = std::strchr(fila, '=');
        g_maximo = igual ? int(std::strtol(igual + 1, nullptr, 10)) : 0;
        *seguir = 0;
    });
    return error.empty() ? g_maximo : -1;
}

int EjecutaSQLf(const char *formato, ...)
{
    va_list args;
    va_start(args, formato);
    const std::string sql = FormatoSQL(formato, args);
    va_end(args);
    int filas = 0;
    return DBExecSQL(sql, filas).empty() ? filas : -1;
}

char *UneValores(char *lista)
{
    for (char *p = lista; p && *p;) {
        p += std::strlen(p);
        *p++ = '\xB7';
    }
    return lista;
}

char *SeparaValores(char *texto)
{
    for (char *p = texto; p && *p; ++p)
        if (*p == '\xB7')
            *p = '\0';
    return texto;
}

std::string SoloAlfanumericos(std::string_view texto)
{
    std::string r;
    for (char c : texto)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            r += c;
    return r;
}

std::string IgualTexto(std::string_view columna, std::string_view valor)
{
    const std::string c(columna);
    if (valor.empty())
        return "(" + c + " IS NULL OR LENGTH(" + c + ")=0)";
    return c + " = '" + std::string(valor) + "'";
}

std::string IgualSufijo(std::string_view columna, std::string_view sufijo)
{
    const std::optional<std::string> banco = SufijoBanco(sufijo);
    if (!banco)
        return IgualTexto(columna, LimpiaTextoSQL(Recorta(sufijo)));
    // "012" is also stored "12"; "000" also "00" and "0".
    std::string formas;
    for (size_t ceros = 0; ceros < 3 && (ceros == 0 || (*banco)[ceros - 1] == '0'); ++ceros)
        formas += (ceros == 0 ? "'" : ",'") + banco->substr(ceros) + "'";
    return "TRIM(" + std::string(columna) + ") IN (" + formas + ")";
}

std::string CodigoAnterior(std::string_view codigo)
{
    std::string anterior(codigo);
    std::replace(anterior.begin(), anterior.end(), '\'', '`');
    return anterior;
}

std::string IgualCodigo(std::string_view columna, std::string_view codigo)
{
    const std::string c(columna), igual = c + "='" + LimpiaTextoSQL(codigo) + "'";
    if (codigo.find('\'') == std::string_view::npos)
        return igual;
    return "(" + igual + " OR " + c + "='" + LimpiaTextoSQL(CodigoAnterior(codigo)) + "')";
}
