// Template, options and catalogue files of the sequential import.
#include "Unitfichero.h"

#include "General.h"
#include "Lineas.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "cp1252.h"
#include "profile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr const char *kOpciones = "Opciones";
constexpr const char *kLineas = "LINEAS";
constexpr size_t kMaxDescriptor = 20;
constexpr int kMaxTamanoDescriptor = 20;
constexpr size_t kMaxTipo = 49;
constexpr size_t kMaxNombre = 79;

// A whole decimal number (one beyond an int reads as the nearest int); false when the text
// holds anything else.
bool LeeEntero(std::string_view texto, int &valor)
{
    if (texto.empty())
        return false;
    const std::string t(texto);
    char *fin = nullptr;
    const long n = std::strtol(t.c_str(), &fin, 10);
    if (*fin != '\0')
        return false;
    valor = int(std::clamp<long>(n, INT_MIN, INT_MAX));
    return true;
}

int Entero(std::string_view texto)
{
    int valor = 0;
    LeeEntero(texto, valor);
    return valor;
}

std::string Corta(std::string texto, size_t largo)
{
    if (texto.size() > largo)
        texto.resize(largo);
    return texto;
}

// An ini file built in memory: sections and keys keep the place they were first written
// in, a later value of a key replaces the earlier one.
class IniEnMemoria {
public:
    void Pon(const std::string &seccion, const std::string &clave, const std::string &valor)
    {
        auto &claves = Seccion(seccion);
        for (auto &[k, v] : claves)
            if (cp1252::equalNoCase(k, clave)) {
                v = valor;
                return;
            }
        claves.emplace_back(clave, valor);
    }
    bool Vacio() const { return m_secciones.empty(); }
    std::string Texto() const
    {
        std::string texto;
        for (const auto &[nombre, claves] : m_secciones) {
            texto += "[" + nombre + "]\r\n";
            for (const auto &[k, v] : claves)
                texto += k + "=" + v + "\r\n";
            texto += "\r\n";
        }
        return texto;
    }

private:
    using Claves = std::vector<std::pair<std::string, std::string>>;
    Claves &Seccion(const std::string &nombre)
    {
        for (auto &[n, claves] : m_secciones)
            if (cp1252::equalNoCase(n, nombre))
                return claves;
        return m_secciones.emplace_back(nombre, Claves{}).second;
    }
    std::vector<std::pair<std::string, Claves>> m_secciones;
};

// The kinds sorted by sample line with the editor's exchange sort.
std::vector<const TipoRegistro *> OrdenaTipos(const PlantillaImportacion &plantilla)
{
    std::vector<const TipoRegistro *> tipos;
    for (const TipoRegistro &t : plantilla)
        tipos.push_back(&t);
    for (size_t i = 0; i < tipos.size(); ++i)
        for (size_t j = tipos.size() - 1; j > i; --j)
            if (tipos[i]->LineaMuestra > tipos[j]->LineaMuestra)
                std::swap(tipos[i], tipos[j]);
    return tipos;
}

std::string Codigo(int lineaMuestra, int enlace)
{
    char codigo[32];
    std::snprintf(codigo, sizeof codigo, "%4.4d%1.1d%4.4d", lineaMuestra, 0, enlace);
    return codigo;
}

IniEnMemoria TextoPlantilla(const Catalogo &catalogo, const PlantillaImportacion &plantilla)
{
    IniEnMemoria ini;
    const std::vector<const TipoRegistro *> tipos = OrdenaTipos(plantilla);
    for (const TipoRegistro *t : tipos)
        if (!t->Campos.empty())
            ini.Pon(kLineas, t->Nombre,
                    t->Descriptor + "," + std::to_string(t->Desde) + "," + std::to_string(t->Tamano) + "," +
                        t->Descripcion);
    for (const TipoRegistro *t : tipos)
        for (const CampoPlantilla &c : t->Campos)
            ini.Pon(t->Nombre, c.Nombre,
                    std::to_string(c.Desde) + "," + std::to_string(c.Tamano) + "," + c.Tipo + "," +
                        catalogo.Enlace(c.Enlace) + "," + Codigo(t->LineaMuestra, c.Enlace));
    return ini;
}

// Writes texto into a new file beside ruta, flushed to disk; its path, or "" on failure.
std::string EscribeTemporal(const std::string &ruta, const std::string &texto)
{
    std::string temporal = cp1252::fileName(ruta) + ".XXXXXX";
    const int fd = ::mkstemp(temporal.data());
    if (fd < 0)
        return {};
    std::FILE *f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        ::unlink(temporal.c_str());
        return {};
    }
    bool escrito = std::fwrite(texto.data(), 1, texto.size(), f) == texto.size() && std::fflush(f) == 0 &&
                   ::fsync(fd) == 0;
    escrito = std::fclose(f) == 0 && escrito;
    if (!escrito) {
        ::unlink(temporal.c_str());
        return {};
    }
    return cp1252::fromUtf8(temporal);
}

bool Existe(const std::string &ruta)
{
    return ::access(cp1252::fileName(ruta).c_str(), F_OK) == 0;
}

// The old template becomes the ".bak" (a link, so that the template never goes missing),
// then the new one takes its place.
bool PonEnSuSitio(const std::string &temporal, const std::string &ruta)
{
    if (Existe(ruta)) {
        const std::string bak = CambiaExtension(ruta, ".bak");
        if (!BorraFichero(bak) || ::link(cp1252::fileName(ruta).c_str(), cp1252::fileName(bak).c_str()) != 0)
            return false;
    }
    return RenombraFichero(temporal, ruta);
}

} // namespace

std::string RutaOpciones(std::string_view plantilla)
{
    return CambiaExtension(plantilla, ".opc");
}

OpcionesImportacion LeeOpciones(std::string_view rutaOpciones, const OpcionesImportacion &d)
{
    OpcionesImportacion o;
    o.Separador_decimal = profile::readString(rutaOpciones, kOpciones, "Separador_decimal", d.Separador_decimal, 1);
    o.Moneda = profile::readString(rutaOpciones, kOpciones, "Moneda", d.Moneda, 7);
    o.Emision_factura = profile::readString(rutaOpciones, kOpciones, "Emision_factura", d.Emision_factura, 2);
    o.Tipos_orden = profile::readString(rutaOpciones, kOpciones, "Tipos_orden", d.Tipos_orden, 5);
    return o;
}

bool EscribeOpciones(std::string_view rutaOpciones, const OpcionesImportacion &opciones)
{
    return profile::writeString(rutaOpciones, kOpciones, "Separador_decimal", opciones.Separador_decimal) &&
           profile::writeString(rutaOpciones, kOpciones, "Moneda", opciones.Moneda) &&
           profile::writeString(rutaOpciones, kOpciones, "Emision_factura", opciones.Emision_factura) &&
           profile::writeString(rutaOpciones, kOpciones, "Tipos_orden", opciones.Tipos_orden);
}

std::string TablaCatalogo::NombreVisible() const
{
    std::string nombre;
    for (char c : Seccion) {
        if (c == '(')
            break;
        if (c != '_')
            nombre += c;
    }
    return nombre;
}

bool Catalogo::Columna(int nodo, const TablaCatalogo *&tabla, const ColumnaCatalogo *&columna) const
{
    int n = 0;
    for (const TablaCatalogo &t : Tablas) {
        ++n;
        if (nodo > n && nodo <= n + int(t.Columnas.size())) {
            tabla = &t;
            columna = &t.Columnas[size_t(nodo - n - 1)];
            return true;
        }
        n += int(t.Columnas.size());
    }
    return false;
}

std::string Catalogo::Enlace(int nodo) const
{
    const TablaCatalogo *tabla = nullptr;
    const ColumnaCatalogo *columna = nullptr;
    if (!Columna(nodo, tabla, columna))
        return "NULL";
    return "[" + tabla->Seccion + "]." + columna->Nombre;
}

Catalogo CargarCamposPrograma(std::string_view ruta)
{
    Catalogo catalogo;
    int nodo = 0;
    for (const std::string &seccion : profile::readSections(ruta)) {
        TablaCatalogo &tabla = catalogo.Tablas.emplace_back();
        tabla.Seccion = seccion;
        ++nodo;
        for (const std::string &linea : profile::readSectionLines(ruta, seccion)) {
            ColumnaCatalogo &columna = tabla.Columnas.emplace_back();
            LeerValor(linea, columna);
            ++nodo;
            if (cp1252::equalNoCase(columna.Nombre, "F_vencimiento"))
                catalogo.NodoVencimiento = nodo;
            else if (cp1252::equalNoCase(columna.Nombre, "Codigo_NIE"))
                catalogo.NodoNIE = nodo;
        }
    }
    return catalogo;
}

std::vector<std::string> SepararValores(std::string_view linea, int partes)
{
    std::string texto(linea);
    QuitaBlancos(texto);
    std::vector<std::string> trozos;
    size_t inicio = 0;
    for (size_t i = 0; i < texto.size() && int(trozos.size()) < partes; ++i)
        if (texto[i] == ',' || (texto[i] == '=' && trozos.empty())) {
            trozos.push_back(texto.substr(inicio, i - inicio));
            inicio = i + 1;
        }
    trozos.push_back(texto.substr(std::min(inicio, texto.size())));
    while (int(trozos.size()) <= partes)
        trozos.push_back(trozos.front());
    return trozos;
}

void LeerValor(std::string_view linea, ColumnaCatalogo &columna)
{
    const std::vector<std::string> p = SepararValores(linea, 4);
    columna.Nombre = p[0];
    columna.Tamano = Entero(p[1]);
    columna.Tipo = Corta(p[2], kMaxTipo);
    columna.Requerido = cp1252::equalNoCase(p[3], "SI");
    columna.Descripcion = Corta(p[4], kMaxNombre);
}

void LeerValor(std::string_view linea, CampoPlantilla &campo)
{
    const std::vector<std::string> p = SepararValores(linea, 6);
    campo.Nombre = Corta(p[0], kMaxNombre);
    campo.Desde = Entero(p[1]);
    campo.Tamano = Entero(p[2]);
    campo.Tipo = Corta(p[3], kMaxTipo);
    const std::string codigo = p[5].substr(0, 9);
    campo.LineaMuestra = Entero(codigo.substr(0, 4));
    campo.Marca = Entero(codigo.substr(std::min<size_t>(4, codigo.size()), 1));
    campo.Enlace = Entero(codigo.substr(std::min<size_t>(5, codigo.size()), 4));
}

std::string NombrePlantilla(std::string_view nombre, bool campo)
{
    if (campo) {
        std::string sin(nombre);
        return QuitaBlancos(sin);
    }
    const size_t primero = nombre.find_first_not_of(' ');
    if (primero == std::string_view::npos)
        return {};
    return std::string(nombre.substr(primero, nombre.find_last_not_of(' ') + 1 - primero));
}

int NombreRechazado(std::string_view nombre, const PlantillaImportacion &plantilla, const TipoRegistro *tipo,
                    const void *propio)
{
    if (std::any_of(nombre.begin(), nombre.end(), [](char c) { return (unsigned char)(c) < ' '; }))
        return 733;
    if (nombre.find_first_of("=,[]") != std::string_view::npos)
        return 1000;
    if (!nombre.empty() && (nombre.front() == '#' || nombre.front() == ';'))
        return 731;
    if (!tipo && cp1252::equalNoCase(nombre, kLineas))
        return 989;
    auto igual = [&](const auto &otro) { return &otro != propio && cp1252::equalNoCase(otro.Nombre, nombre); };
    if (tipo)
        return std::any_of(tipo->Campos.begin(), tipo->Campos.end(), igual) ? 999 : 0;
    return std::any_of(plantilla.begin(), plantilla.end(), igual) ? 998 : 0;
}

namespace {

// The value a kind's line of [LINEAS] gives, as the import run reads it: its blanks kept but
// for those the file cannot keep before it.
std::string Descriptor(std::string_view linea)
{
    const size_t igual = linea.find('=');
    std::string_view valor = igual == std::string_view::npos ? std::string_view() : linea.substr(igual + 1);
    valor.remove_prefix(std::min(valor.find_first_not_of(" \t"), valor.size()));
    return std::string(valor.substr(0, valor.find(',')));
}

} // namespace

bool LeerPlantilla(std::string_view ruta, const Catalogo &catalogo, PlantillaImportacion &plantilla,
                   OpcionesImportacion &opciones, std::string *motivo)
{
    plantilla.clear();
    opciones = LeeOpciones(RutaOpciones(ruta));
    auto falla = [&](int texto, const std::string &nombre) {
        if (motivo)
            *motivo = texto == 730 ? FormateaTexto(Idioma.GetTexto(730), nombre)
                                   : FormateaTexto(Idioma.GetTexto(734), nombre, Idioma.GetTexto(texto));
        plantilla.clear();
        return false;
    };
    const std::vector<std::string> secciones = profile::readSections(ruta);
    const std::vector<std::string> lineas = profile::readSectionLines(ruta, kLineas);
    for (size_t i = 1; i < secciones.size(); ++i) {
        if (i > lineas.size()) {
            plantilla.clear();
            return false;
        }
        if (const int texto = NombreRechazado(secciones[i], plantilla, nullptr))
            return falla(texto, secciones[i]);
        const std::vector<std::string> p = SepararValores(lineas[i - 1], 4);
        TipoRegistro &tipo = plantilla.emplace_back();
        tipo.Nombre = secciones[i];
        tipo.Descriptor = Corta(Descriptor(lineas[i - 1]), kMaxDescriptor);
        tipo.Descripcion = Corta(p[4], kMaxNombre);
        if (!LeeEntero(p[2], tipo.Desde) || !LeeEntero(p[3], tipo.Tamano)) {
            plantilla.clear();
            return false;
        }
        tipo.Tamano = std::min(tipo.Tamano, kMaxTamanoDescriptor);
        for (const std::string &linea : profile::readSectionLines(ruta, secciones[i])) {
            // The name whole, as the file's reader sees the key: a "," in it would cut it.
            const std::string nombre = Corta(NombrePlantilla(linea.substr(0, linea.find('=')), true), kMaxNombre);
            if (const int texto = NombreRechazado(nombre, plantilla, &tipo))
                return falla(texto, tipo.Nombre + "." + nombre);
            CampoPlantilla campo;
            LeerValor(linea, campo);
            if (campo.Tamano > kMaxLinea)
                return falla(730, tipo.Nombre + "." + campo.Nombre);
            const TablaCatalogo *tabla = nullptr;
            const ColumnaCatalogo *columna = nullptr;
            if (!catalogo.Columna(campo.Enlace, tabla, columna))
                campo.Enlace = 0;
            tipo.Campos.push_back(std::move(campo));
        }
        if (!tipo.Campos.empty())
            tipo.LineaMuestra = tipo.Campos.front().LineaMuestra;
    }
    return true;
}

bool EscribirPlantilla(std::string_view ruta, const Catalogo &catalogo, const PlantillaImportacion &plantilla,
                       const OpcionesImportacion &opciones)
{
    const std::string fichero(ruta);
    if (plantilla.empty())
        WriteLog("Cero tablas al escribir el fichero de plantilla");
    const IniEnMemoria ini = TextoPlantilla(catalogo, plantilla);
    const std::string temporal = ini.Vacio() ? std::string() : EscribeTemporal(fichero, ini.Texto());
    if (temporal.empty() || !PonEnSuSitio(temporal, fichero)) {
        if (!temporal.empty())
            BorraFichero(temporal);
        WriteLog("El fichero de plantilla no se ha creado");
        return false;
    }
    if (!EscribeOpciones(RutaOpciones(fichero), opciones)) {
        WriteLog("El fichero de opciones de la plantilla no se ha creado");
        return false;
    }
    return true;
}
