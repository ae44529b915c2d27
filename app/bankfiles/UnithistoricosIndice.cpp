// The viewer's record index, built while the CSB structure check reads the file, and the
// cutting of its records.
#include "Unithistoricos.h"

#include "Estructuracsb.h"
#include "General.h"
#include "Lineas.h"
#include "Multiidioma.h"
#include "cp1252.h"

#include <algorithm>

namespace {

// The characters of a line the viewer keeps.
constexpr size_t kMaxRegistro = 700;

enum Textos {
    kEsperaOrdenante = 853,  // the check's "expected an issuer header or the grand total"
    kEsperaIndividual = 854, // the check's "expected a bill or the issuer total"
    kSinPresentador = 852,
    kIlegible = 862,
    kSinTotalGeneral = 990,
    kFinInesperado = 991,
    kSinTotalOrdenante = 992,
    kEnLinea = 993,
};

int TipoRegistro(std::string_view linea)
{
    const char tipo = linea[1], datos = linea[3];
    switch (tipo) {
    case '1':
        return EntradaPresentador;
    case '3':
        return EntradaOrdenante;
    case '6':
        return datos == '0' ? EntradaIndividual : EntradaOpcional;
    case '8':
        return EntradaTotalOrdenante;
    default:
        return EntradaTotalGeneral;
    }
}

bool Falla(IndiceCSB &indice, int texto, long linea)
{
    if (texto == kSinTotalGeneral || texto == kFinInesperado || texto == kSinTotalOrdenante) {
        indice.Fallo = FormateaTexto(Idioma.GetTexto(texto), linea);
    } else {
        std::string motivo = Idioma.GetTexto(texto);
        if (!motivo.empty() && motivo.back() == '.')
            motivo.pop_back();
        indice.Fallo = FormateaTexto(Idioma.GetTexto(kEnLinea), motivo, linea);
    }
    indice.Estructural = true;
    indice.Entradas.clear();
    return false;
}

// The check's faults that the viewer names itself: a line where an issuer header or the
// grand total belongs, or where a bill or the issuer total belongs.
int TextoFallo(int motivo)
{
    if (motivo == kEsperaOrdenante)
        return kSinTotalGeneral;
    if (motivo == kEsperaIndividual)
        return kSinTotalOrdenante;
    return motivo;
}

// The file ended early: without records its presenter header is missing, else the end
// of the file came where a record belongs (an issuer's total, the grand total).
int TextoFin(const IndiceCSB &indice)
{
    return indice.Entradas.empty() ? kSinPresentador : kFinInesperado;
}

} // namespace

bool LeeIndiceCSB(std::string_view ruta, IndiceCSB &indice)
{
    indice = IndiceCSB();
    CursorEspera espera;
    LectorLineas lector(ruta);
    EstructuraCSB estructura(false);
    std::string linea;
    int ordenantes = 0;
    for (long long posicion = 0; lector.Abierto(); posicion = lector.Leidos()) {
        if (!lector.Lee(linea))
            break;
        if (!estructura.Linea(linea, lector.Numero()))
            return Falla(indice, TextoFallo(estructura.Motivo()), estructura.LineaFallo());
        if (linea.empty())
            continue;
        const int tipo = TipoRegistro(linea);
        if (tipo == EntradaOrdenante)
            ++ordenantes;
        const int nodo = tipo == EntradaPresentador || tipo == EntradaTotalGeneral ? 0 : ordenantes;
        indice.Entradas.push_back({tipo, lector.Numero(), posicion, nodo, int(indice.Entradas.size())});
    }
    if (!lector.Abierto() || lector.Error()) {
        indice = IndiceCSB();
        indice.Fallo = Idioma.GetTexto(kIlegible);
        return false;
    }
    if (!estructura.Fin(lector.Numero()) || indice.Entradas.empty())
        return Falla(indice, TextoFin(indice), std::max(1, lector.Numero()));
    indice.Formato = estructura.Formato();
    indice.Euros = estructura.Moneda() == kMonedaEuros;
    return true;
}

// ---- Records ----

LectorCSB::LectorCSB(std::string_view ruta)
    : m_fichero(cp1252::openFile(ruta, "rb"))
{
}

LectorCSB::~LectorCSB()
{
    if (m_fichero)
        std::fclose(m_fichero);
}

std::string LectorCSB::Lee(long long posicion)
{
    std::string linea;
    if (!m_fichero || std::fseek(m_fichero, long(posicion), SEEK_SET) != 0 || !Siguiente(linea))
        return {};
    return linea;
}

bool LectorCSB::Siguiente(std::string &linea)
{
    if (!m_fichero)
        return false;
    for (;;) {
        linea.clear();
        int c = std::getc(m_fichero);
        if (c == EOF)
            return false;
        for (; c != EOF && c != '\n'; c = std::getc(m_fichero))
            if (linea.size() < kMaxRegistro)
                linea += char(c);
        if (!linea.empty() && linea.back() == '\r')
            linea.pop_back();
        if (linea.empty())
            continue;
        for (char &b : linea)
            if (static_cast<unsigned char>(b) < 32)
                b = ' ';
        EnhesCSB(linea);
        return true;
    }
}

std::string CampoCSB(std::string_view registro, size_t pos, size_t longitud)
{
    std::string campo(pos - 1 < registro.size() ? registro.substr(pos - 1, longitud) : std::string_view());
    campo.resize(longitud, ' ');
    return campo;
}

std::string FechaCSB(std::string_view ddmmaa)
{
    if (ddmmaa.size() != 6)
        return {};
    std::string aammdd;
    aammdd.append(ddmmaa.substr(4, 2)).append(ddmmaa.substr(2, 2)).append(ddmmaa.substr(0, 2));
    return FechaDDMMAAToStr(aammdd);
}

std::string QuitaCerosIzquierda(std::string_view texto)
{
    size_t i = 0;
    while (i + 1 < texto.size() && (texto[i] == '0' || texto[i] == ' '))
        ++i;
    return std::string(texto.substr(i));
}

std::string ImporteCSB(std::string_view campo, bool euros)
{
    const std::string cifras = QuitaCerosIzquierda(campo);
    if (cifras.empty() || !std::all_of(cifras.begin(), cifras.end(), EsDigito))
        return cifras;
    if (!euros)
        return FormatImporte(cifras, kMonedaPesetas);
    const long long centimos = std::stoll(cifras);
    std::string decimales = std::to_string(centimos % 100);
    if (decimales.size() < 2)
        decimales.insert(0, 1, '0');
    return FormatImporte(std::to_string(centimos / 100) + "." + decimales, kMonedaEuros);
}
