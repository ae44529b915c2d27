// The SQL execution layer: normalisation of empty values, logged queries and statements,
// the row buffer.
#include "General.h"

#include "Modmas.h"
#include "vasqdb.h"

#include <charconv>
#include <exception>
#include <vector>

_Inactividad Inactividad;

namespace {

// A token of SQL text: a whole quoted text or bracketed name, one of the characters the
// rules below look at, or a run of other characters (which no rule matches).
struct Pieza {
    std::string texto;
    bool literal = false;
    bool marcada = false; // the value of a "?" put in its place, to see what the rules make of it
};

// "?" stands alone so that a value can take its place; no rule matches it.
bool Senal(char c)
{
    return c == '=' || c == ' ' || c == ',' || c == '(' || c == ')' || c == '\'' || c == '"' || c == '[' ||
           c == '?';
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

void Normaliza(std::vector<Pieza> &piezas)
{
    for (const Regla &regla : kReglas)
        Aplica(piezas, regla);
}

// Whether the rules make NULL of the quoted text valor in the place of piece i.
bool SeHaceNulo(std::vector<Pieza> piezas, size_t i, const char *valor)
{
    piezas[i] = {valor, true, true};
    Normaliza(piezas);
    for (const Pieza &p : piezas)
        if (p.marcada)
            return false;
    return true;
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
    Normaliza(piezas);
    std::string r;
    r.reserve(sql.size() + 16);
    for (const Pieza &p : piezas)
        r += p.texto;
    sql = std::move(r);
}

namespace {

// Runs consulta (a call of vasqdb that hands rows to a GetDataCallback) with callback
// behind the trampoline; an exception the callback raised is logged after etiqueta and
// comes back as the text. Any other failure gives the library's code to falla.
std::string ConTrampolin(const char *etiqueta, const FilaCallback &callback,
                         const std::function<int(GetDataCallback)> &consulta,
                         const std::function<std::string(int)> &falla)
{
    const FilaCallback *anterior = g_callback;
    const std::exception_ptr excepcionAnterior = g_excepcion;
    g_callback = &callback;
    g_excepcion = nullptr;
    const int codigo = consulta(Trampolin);
    const std::exception_ptr excepcion = g_excepcion;
    g_callback = anterior;
    g_excepcion = excepcionAnterior;
    if (excepcion)
        return Registra(etiqueta, Mensaje(excepcion));
    return codigo != 0 ? falla(codigo) : std::string();
}

} // namespace

std::string DBGetData(std::string_view sql, const FilaCallback &callback)
{
    Inactividad.Reinicia();
    const char *etiqueta = "[ vasqdb::VASQ_GetData ] ";
    std::string texto(sql);
    try {
        NormalizaSQL(texto);
        return ConTrampolin(
            etiqueta, callback, [&texto](GetDataCallback trampolin) { return VASQ_GetData(texto.c_str(), trampolin); },
            [&](int codigo) { return Registra(etiqueta, ErrorLibreria(codigo), "  DETALLE SQL: ", texto); });
    } catch (const std::exception &e) {
        return Registra(etiqueta, e.what());
    }
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

SentenciaSQL::SentenciaSQL(std::string sql)
    : m_sql(std::move(sql))
{
    const std::vector<Pieza> piezas = Trocea(m_sql);
    for (size_t i = 0; i < piezas.size(); ++i)
        if (!piezas[i].literal && piezas[i].texto == "?")
            m_vacios.push_back({SeHaceNulo(piezas, i, "''"), SeHaceNulo(piezas, i, "' '")});
    Anota(VASQ_Prepare(m_sql.c_str(), &m_sentencia));
    m_preparada = m_fallo.empty();
}

SentenciaSQL::~SentenciaSQL()
{
    if (m_sentencia)
        VASQ_Finalize(m_sentencia);
}

void SentenciaSQL::Anota(int codigo)
{
    if (codigo != 0 && m_fallo.empty())
        m_fallo = ErrorLibreria(codigo);
}

// The values are kept as text for the log of a failure; the buffer keeps its room between
// runs.
void SentenciaSQL::Anade(std::string_view valor)
{
    if (!m_valores.empty())
        m_valores.append(", ");
    m_valores.append(valor);
}

SentenciaSQL &SentenciaSQL::Texto(const std::string &valor)
{
    const Vacios vacios = size_t(m_valor) < m_vacios.size() ? m_vacios[size_t(m_valor)] : Vacios();
    const bool nulo = (valor.empty() && vacios.vacio) || (valor == " " && vacios.blanco);
    Anota(VASQ_BindText(m_sentencia, ++m_valor, nulo ? nullptr : valor.c_str()));
    Anade("'");
    m_valores.append(valor).push_back('\'');
    return *this;
}

SentenciaSQL &SentenciaSQL::Texto(std::string_view valor)
{
    return Texto(std::string(valor));
}

SentenciaSQL &SentenciaSQL::Entero(long long valor)
{
    Anota(VASQ_BindInteger(m_sentencia, ++m_valor, valor));
    char texto[24];
    Anade(std::string_view(texto, size_t(std::to_chars(texto, texto + sizeof texto, valor).ptr - texto)));
    return *this;
}

SentenciaSQL &SentenciaSQL::Nulo()
{
    Anota(VASQ_BindText(m_sentencia, ++m_valor, nullptr));
    Anade("NULL");
    return *this;
}

void SentenciaSQL::CompruebaValores()
{
    if (size_t(m_valor) < m_vacios.size() && m_fallo.empty())
        m_fallo = "Sentencia con " + std::to_string(m_valor) + " de sus " + std::to_string(m_vacios.size()) +
                  " valores: no se ejecuta";
}

std::string SentenciaSQL::Termina(const char *etiqueta, int codigo)
{
    Anota(codigo);
    std::string error = m_fallo;
    if (!error.empty())
        Registra(etiqueta, error, "  Detalle SQL: ", m_sql + " <- " + m_valores);
    m_valor = 0;
    m_valores.clear();
    if (m_preparada)
        m_fallo.clear();
    return error;
}

std::string SentenciaSQL::Ejecuta(int &filas)
{
    Inactividad.Reinicia();
    filas = 0;
    CompruebaValores();
    const int codigo = m_fallo.empty() ? VASQ_Step(m_sentencia, &filas) : 0;
    if (codigo != 0)
        filas = 0;
    return Termina("[ vasqdb::VASQ_ExecSQL ] ", codigo);
}

std::string SentenciaSQL::Consulta(const FilaCallback &callback)
{
    Inactividad.Reinicia();
    const char *etiqueta = "[ vasqdb::VASQ_GetData ] ";
    CompruebaValores();
    if (!m_fallo.empty())
        return Termina(etiqueta, 0);
    int codigo = 0;
    const std::string error = ConTrampolin(
        etiqueta, callback, [this](GetDataCallback trampolin) { return VASQ_StepQuery(m_sentencia, trampolin); },
        [&codigo](int c) {
            codigo = c;
            return std::string();
        });
    return error.empty() ? Termina(etiqueta, codigo) : error;
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
