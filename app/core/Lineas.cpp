// Layout files, the line cutter and the line reader of the file imports.
#include "Lineas.h"

#include "cp1252.h"
#include "profile.h"
#include "qcp1252.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/types.h>

namespace {

constexpr std::string_view kFalta = "Error!!";

// The key's value, or nothing when the key or its section is missing.
std::optional<std::string> LeeValor(std::string_view ruta, std::string_view seccion, std::string_view clave)
{
    std::string valor = profile::readString(ruta, seccion, clave, kFalta);
    if (valor.starts_with(kFalta))
        return std::nullopt;
    return valor;
}

// The comma-separated parts of a value up to its first empty one.
std::vector<std::string> Partes(std::string_view valor)
{
    std::vector<std::string> partes;
    while (!valor.empty()) {
        const size_t coma = valor.find(',');
        const std::string_view parte = valor.substr(0, coma);
        if (parte.empty())
            break;
        partes.emplace_back(parte);
        if (coma == std::string_view::npos)
            break;
        valor.remove_prefix(coma + 1);
    }
    return partes;
}

int Entero(const std::vector<std::string> &partes, size_t i)
{
    return i < partes.size() ? int(std::strtol(partes[i].c_str(), nullptr, 10)) : 0;
}

// The text of the line at the 1-based column, at most longitud characters; nothing for a
// column below 1 or beyond the line.
std::string_view Trozo(std::string_view linea, int pos, int longitud)
{
    if (pos < 1 || size_t(pos) > linea.size() || longitud <= 0)
        return {};
    return linea.substr(size_t(pos) - 1, size_t(longitud));
}

size_t Ancho(int longitud) { return size_t(std::clamp(longitud, 0, kMaxLinea)); }

// A length read from a layout; a number too long for an int reads as longer than a line.
int Longitud(const std::vector<std::string> &partes, size_t i)
{
    const long n = i < partes.size() ? std::strtol(partes[i].c_str(), nullptr, 10) : 0;
    return int(std::clamp<long>(n, INT_MIN, kMaxLinea + 1L));
}

bool CargaCampos(std::string_view ruta, LineDef &tipo)
{
    if (!profile::hasSection(ruta, tipo.name))
        return false;
    for (const std::string &clave : profile::readKeys(ruta, tipo.name)) {
        const std::optional<std::string> valor = LeeValor(ruta, tipo.name, clave);
        if (!valor)
            break;
        const std::vector<std::string> partes = Partes(*valor);
        FieldDef campo;
        campo.name = clave;
        campo.pos = Entero(partes, 0);
        campo.length = Longitud(partes, 1);
        if (partes.size() > 2)
            campo.type = campo.user_data = partes[2];
        if (partes.size() > 3)
            campo.user_data = partes[3];
        tipo.fields.push_back(std::move(campo));
    }
    return true;
}

const std::string *Busca(const LineDef &linea, std::string_view nombre, bool usuario)
{
    for (const FieldDef &campo : linea.fields)
        if (campo.name == nombre) {
            if (usuario)
                return &campo.user_data;
            return campo.data ? &*campo.data : nullptr;
        }
    return nullptr;
}

// The name of the first id or field longer than a line; empty when there is none.
std::string DemasiadoLargo(const LineDefList &lista)
{
    for (const LineDef &tipo : lista) {
        if (tipo.length > kMaxLinea)
            return tipo.name;
        for (const FieldDef &campo : tipo.fields)
            if (campo.length > kMaxLinea)
                return tipo.name + "." + campo.name;
    }
    return {};
}

} // namespace

int LoadLineLayout(std::string_view ruta, LineDefList &lista, std::string *largo)
{
    lista.clear();
    if (!profile::hasSection(ruta, "LINEAS"))
        return -1;
    for (const std::string &clave : profile::readKeys(ruta, "LINEAS")) {
        const std::optional<std::string> valor = LeeValor(ruta, "LINEAS", clave);
        if (!valor)
            break;
        const std::vector<std::string> partes = Partes(*valor);
        LineDef tipo;
        tipo.name = clave;
        tipo.id = partes.empty() ? std::string() : partes[0];
        tipo.pos = Entero(partes, 1);
        tipo.length = Longitud(partes, 2);
        lista.push_back(std::move(tipo));
    }
    for (LineDef &tipo : lista)
        if (!CargaCampos(ruta, tipo))
            break;
    const std::string nombre = DemasiadoLargo(lista);
    if (nombre.empty())
        return 0;
    if (largo)
        *largo = nombre;
    lista.clear();
    return -2;
}

const LineDef *ReconoceLinea(const LineDefList &layout, std::string_view linea)
{
    for (const LineDef &tipo : layout) {
        if (tipo.pos > 0 && linea.size() < size_t(tipo.pos))
            return nullptr;
        const size_t ancho = Ancho(tipo.length);
        const std::string_view texto = Trozo(linea, tipo.pos, int(ancho));
        const std::string_view id = tipo.id;
        const size_t blancos = ancho - texto.size();
        if (id.size() == ancho && id.find_first_not_of(' ') >= blancos && id.substr(blancos) == texto)
            return &tipo;
    }
    return nullptr;
}

void CortaLinea(const LineDef &tipo, std::string_view linea, int numero, LineDef &cortada)
{
    cortada = tipo;
    cortada.line_number = numero;
    for (FieldDef &campo : cortada.fields) {
        if (campo.pos > 0 && size_t(campo.pos) > linea.size())
            continue;
        const size_t ancho = Ancho(campo.length);
        std::string &texto = campo.data.emplace();
        texto.assign(Trozo(linea, campo.pos, int(ancho)));
        texto.resize(ancho, ' ');
    }
}

LineDef CortaLinea(const LineDef &tipo, std::string_view linea, int numero)
{
    LineDef cortada;
    CortaLinea(tipo, linea, numero, cortada);
    return cortada;
}

LectorLineas::LectorLineas(std::string_view ruta)
    : m_fichero(cp1252::openFile(ruta, "rb"))
{
}

LectorLineas::~LectorLineas()
{
    if (m_fichero)
        std::fclose(m_fichero);
    std::free(m_buffer);
}

bool LectorLineas::Lee(std::string &linea)
{
    linea.clear();
    if (!m_fichero)
        return false;
    const ssize_t leidos = getdelim(&m_buffer, &m_capacidad, '\n', m_fichero);
    if (leidos <= 0)
        return false;
    m_leidos += leidos;
    size_t fin = size_t(leidos);
    if (m_buffer[fin - 1] == '\n')
        --fin;
    if (const void *retorno = std::memchr(m_buffer, '\r', fin))
        fin = size_t(static_cast<const char *>(retorno) - m_buffer);
    linea.assign(m_buffer, fin);
    std::replace(linea.begin(), linea.end(), '\0', ' ');
    ++m_numero;
    return true;
}

bool LectorLineas::Error() const { return m_fichero && std::ferror(m_fichero); }

cp1252::Utf8Form LeeLineaDatos(std::string &linea)
{
    const cp1252::Utf8Form forma = cp1252::utf8Form(linea);
    if (forma == cp1252::Utf8Form::Multibyte)
        linea = cp1252::fromUtf8Nearest(linea);
    return forma;
}

std::string TextoDatos(std::string_view texto)
{
    std::string leido, linea;
    for (size_t inicio = 0; inicio < texto.size();) {
        const size_t fin = std::min(texto.find('\n', inicio), texto.size());
        linea.assign(texto.substr(inicio, fin - inicio));
        LeeLineaDatos(linea);
        leido += linea;
        if (fin < texto.size())
            leido += '\n';
        inicio = fin + 1;
    }
    return leido;
}

int ParseLayoutFile(std::string_view ruta, const LineDefList &layout, LineList &lineas)
{
    LectorLineas lector(ruta);
    if (!lector.Abierto())
        return -1;
    std::string linea;
    while (lector.Lee(linea))
        if (const LineDef *tipo = ReconoceLinea(layout, linea))
            lineas.push_back(CortaLinea(*tipo, linea, lector.Numero()));
    return 0;
}

std::string LineFieldsToText(const LineDef &linea)
{
    std::string texto;
    for (const FieldDef &campo : linea.fields)
        texto += campo.name + "=" + campo.data.value_or(std::string()) + "&";
    return texto;
}

const std::string *GetFieldData(const LineDef &linea, std::string_view nombre)
{
    return Busca(linea, nombre, false);
}

const std::string *GetFieldUserData(const LineDef &linea, std::string_view nombre)
{
    return Busca(linea, nombre, true);
}

void DumpLineDef(const LineDef &linea)
{
    std::fprintf(stderr, " -> Linea_id: [%s]\n -> id:       [%s]\n -> pos:      [%i]\n -> length:   [%i]\n",
                 linea.name.c_str(), linea.id.c_str(), linea.pos, linea.length);
    std::fprintf(stderr, " -> Campos\n -> ----------------------------------------------------\n");
    for (const FieldDef &campo : linea.fields) {
        std::fprintf(stderr, " -----> id:       [%s]\n -----> pos:      [%i]\n -----> length:   [%i]\n",
                     campo.name.c_str(), campo.pos, campo.length);
        std::fprintf(stderr, " -----> type:     [%s]\n -----> data:     [%s]\n -----> user_data:[%s]\n",
                     campo.type.c_str(), campo.data.value_or(std::string()).c_str(), campo.user_data.c_str());
        std::fprintf(stderr, " -----> status:   [%i]\n", campo.status);
    }
}
