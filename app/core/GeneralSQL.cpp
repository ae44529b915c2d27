// The SQL execution layer: normalisation of empty values, logged queries and statements,
// the row buffer.
#include "General.h"

#include "Modmas.h"
#include "vasqdb.h"

#include <exception>
#include <vector>

_Inactividad Inactividad;

namespace {

// A token of SQL text: a whole quoted text or bracketed name, one of the characters the
// rules below look at, or a run of other characters (which no rule matches).
struct Pieza {
    std::string texto;
    bool literal = false;
};

bool Senal(char c)
{
    return c == '=' || c == ' ' || c == ',' || c == '(' || c == ')' || c == '\'' || c == '"' || c == '[';
}

std::vector<Pieza> Trocea(std::string_view sql)
{
    std::vector<Pieza> piezas;
    for (size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (!Senal(c)) {
            size_t fin = i + 1;
            while (fin < sql.size() && !Senal(sql[fin]))
                ++fin;
            piezas.push_back({std::string(sql.substr(i, fin - i)), false});
            i = fin;
        } else if (c == '\'' || c == '"' || c == '[') {
            const char cierre = c == '[' ? ']' : c;
            size_t fin = i + 1;
            for (;; ++fin) {
                if (fin >= sql.size())
                    break;
                if (sql[fin] == cierre) {
                    if (cierre != ']' && fin + 1 < sql.size() && sql[fin + 1] == cierre) {
                        ++fin; // a doubled quote stays inside the text
                        continue;
                    }
                    break;
                }
            }
            fin = std::min(fin + 1, sql.size());
            piezas.push_back({std::string(sql.substr(i, fin - i)), true});
            i = fin;
        } else {
            piezas.push_back({std::string(1, c), false});
            ++i;
        }
    }
    return piezas;
}

struct Regla {
    std::vector<std::string> patron;
    std::vector<std::string> resultado;
};

// "''" and "' '" stand for an empty and a one-blank quoted text.
const Regla kReglas[] = {
    {{"=", " ", "''"}, {"=", " ", "NULL"}},
    {{"=", "''"}, {"=", "NULL"}},
    {{"=", " ", "' '"}, {"=", " ", "NULL"}},
    {{"=", "' '"}, {"=", " ", "NULL"}},
    {{",", ","}, {",", "NULL", ","}},
    {{",", "''", ","}, {",", "NULL", ","}},
    {{",", ")"}, {",", "NULL", ")"}},
    {{",", "''", ")"}, {",", "NULL", ")"}},
    {{"(", ","}, {"(", "NULL", ","}},
    {{"(", "''", ","}, {"(", "NULL", ","}},
};

bool Coincide(const std::vector<Pieza> &piezas, size_t i, const std::vector<std::string> &patron)
{
    if (i + patron.size() > piezas.size())
        return false;
    for (size_t k = 0; k < patron.size(); ++k) {
        const Pieza &p = piezas[i + k];
        const bool esLiteral = patron[k][0] == '\'';
        if (p.literal != esLiteral || p.texto != patron[k])
            return false;
    }
    return true;
}

void Aplica(std::vector<Pieza> &piezas, const Regla &regla)
{
    for (size_t i = 0; i < piezas.size();) {
        if (!Coincide(piezas, i, regla.patron)) {
            ++i;
            continue;
        }
        std::vector<Pieza> nuevas;
        for (const std::string &t : regla.resultado)
            nuevas.push_back({t, false});
        piezas.erase(piezas.begin() + i, piezas.begin() + i + regla.patron.size());
        piezas.insert(piezas.begin() + i, nuevas.begin(), nuevas.end());
        i = i > 0 ? i - 1 : 0; // a replacement may complete a match that starts just before
    }
}

// The library's text of its last error; never empty for a failure.
std::string ErrorLibreria(int codigo)
{
    char texto[1024] = "";
    VASQ_GetLastErrorCodeDesc(texto, 1023);
    if (texto[0])
        return texto;
    return "(ERROR " + std::to_string(codigo) + ")";
}

// The callback of the innermost DBGetData and what it raised.
const FilaCallback *g_callback = nullptr;
std::exception_ptr g_excepcion;

void Trampolin(char *fila, char *seguir, int total)
{
    try {
        (*g_callback)(fila, seguir, total);
    } catch (...) {
        g_excepcion = std::current_exception();
        *seguir = 0;
    }
}

std::string Mensaje(const std::exception_ptr &e)
{
    try {
        std::rethrow_exception(e);
    } catch (const std::exception &ex) {
        return ex.what();
    } catch (...) {
        return "Excepci\xF3n desconocida";
    }
}

std::string g_fila; // the row buffer

// Logs a failure (and the SQL it ran, when given) and returns its text.
std::string Registra(const char *etiqueta, const std::string &error, const char *detalle = nullptr,
                     const std::string &sql = {})
{
    WriteLog(etiqueta + error);
    if (detalle)
        WriteLog(detalle + sql);
    return error;
}

} // namespace

void NormalizaSQL(std::string &sql)
{
    std::vector<Pieza> piezas = Trocea(sql);
    for (const Regla &regla : kReglas)
        Aplica(piezas, regla);
    std::string r;
    r.reserve(sql.size() + 16);
    for (const Pieza &p : piezas)
        r += p.texto;
    sql = std::move(r);
}

std::string DBGetData(std::string_view sql, const FilaCallback &callback)
{
    Inactividad.Reinicia();
    std::string texto(sql);
    try {
        NormalizaSQL(texto);
        const FilaCallback *anterior = g_callback;
        const std::exception_ptr excepcionAnterior = g_excepcion;
        g_callback = &callback;
        g_excepcion = nullptr;
        const int codigo = VASQ_GetData(texto.c_str(), Trampolin);
        const std::exception_ptr excepcion = g_excepcion;
        g_callback = anterior;
        g_excepcion = excepcionAnterior;
        if (excepcion)
            return Registra("[ vasqdb::VASQ_GetData ] ", Mensaje(excepcion));
        if (codigo != 0)
            return Registra("[ vasqdb::VASQ_GetData ] ", ErrorLibreria(codigo), "  DETALLE SQL: ", texto);
    } catch (const std::exception &e) {
        return Registra("[ vasqdb::VASQ_GetData ] ", e.what());
    }
    return {};
}

std::string DBExecSQL(std::string_view sql, int &filas)
{
    Inactividad.Reinicia();
    filas = 0;
    std::string texto(sql);
    try {
        NormalizaSQL(texto);
        const int codigo = VASQ_ExecSQL(texto.c_str(), &filas);
        if (codigo != 0) {
            filas = 0;
            return Registra("[ vasqdb::VASQ_ExecSQL ] ", ErrorLibreria(codigo), "  Detalle SQL: ", texto);
        }
    } catch (const std::exception &e) {
        return Registra("[ vasqdb::VASQ_ExeqSQL ] ", e.what());
    }
    return {};
}

void StoreRow(char *fila, char *seguir, int)
{
    g_fila = fila ? fila : "";
    *seguir = 0;
}

std::string GetField(std::string_view nombre)
{
    return NullToEmpty(GetCampo(nombre, g_fila));
}

std::string NullToEmpty(std::string_view texto)
{
    return texto == "NULL" ? std::string() : std::string(texto);
}
