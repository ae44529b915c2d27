// Amounts in pesetas and euros: reading, exact conversion at 166.386 and formatting.
#include "General.h"

#include "regional.h"

namespace {

using Entero = __int128;

// An exact decimal amount: mantisa / 10^escala.
struct Importe {
    Entero mantisa = 0;
    int escala = 0;
};

constexpr int kMaxDigitos = 18;
constexpr Entero kPesetasPorEuroMil = 166386; // 166.386 * 1000

Entero Potencia10(int n)
{
    Entero p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

bool EsNulo(std::string_view texto)
{
    return texto.empty() || texto == "NULL";
}

// Reads an amount in storage or screen form (see General.h); false when it is none.
bool LeeImporte(std::string_view texto, Importe &importe)
{
    while (!texto.empty() && texto.front() == ' ')
        texto.remove_prefix(1);
    while (!texto.empty() && texto.back() == ' ')
        texto.remove_suffix(1);
    bool negativo = false;
    if (!texto.empty() && (texto.front() == '-' || texto.front() == '+')) {
        negativo = texto.front() == '-';
        texto.remove_prefix(1);
    }
    char decimal = regional::decimalSeparator();
    if (decimal == ',' && texto.find(',') == std::string_view::npos) {
        const size_t punto = texto.find('.');
        if (punto != std::string_view::npos && texto.find('.', punto + 1) == std::string_view::npos
            && texto.size() - punto - 1 != 3)
            decimal = '.';
    }
    Importe r;
    bool hayDigitos = false, hayDecimal = false;
    int digitos = 0;
    for (char c : texto) {
        if (c >= '0' && c <= '9') {
            hayDigitos = true;
            if (r.mantisa != 0 || c != '0')
                ++digitos;
            if (digitos > kMaxDigitos)
                return false;
            r.mantisa = r.mantisa * 10 + (c - '0');
            if (hayDecimal)
                ++r.escala;
        } else if (c == decimal && !hayDecimal) {
            hayDecimal = true;
        } else if (c != '.' && c != ',') {
            return false;
        } else if (c == decimal) {
            return false;
        }
    }
    if (!hayDigitos)
        return false;
    if (negativo)
        r.mantisa = -r.mantisa;
    importe = r;
    return true;
}

// numerador / denominador rounded half away from zero (denominador > 0).
Entero DivideRedondeando(Entero numerador, Entero denominador)
{
    Entero q = numerador / denominador;
    Entero resto = numerador % denominador;
    if (resto < 0)
        resto = -resto;
    if (2 * resto >= denominador)
        q += numerador < 0 ? -1 : 1;
    return q;
}

// The amount in units of 10^-decimales.
Entero EnUnidades(const Importe &i, int decimales)
{
    if (i.escala <= decimales)
        return i.mantisa * Potencia10(decimales - i.escala);
    return DivideRedondeando(i.mantisa, Potencia10(i.escala - decimales));
}

Entero EurosAPesetas(const Importe &euros)
{
    return DivideRedondeando(euros.mantisa * kPesetasPorEuroMil, Potencia10(euros.escala) * 1000);
}

Entero PesetasACentimos(const Importe &pesetas)
{
    return DivideRedondeando(pesetas.mantisa * 1000 * 100, Potencia10(pesetas.escala) * kPesetasPorEuroMil);
}

// units / 10^decimales written with the given separators (agrupacion 0: no grouping).
std::string Escribe(Entero unidades, int decimales, char decimal, char agrupacion)
{
    const bool negativo = unidades < 0;
    if (negativo)
        unidades = -unidades;
    std::string digitos;
    do {
        digitos.insert(digitos.begin(), char('0' + int(unidades % 10)));
        unidades /= 10;
    } while (unidades != 0);
    if (digitos.size() <= size_t(decimales))
        digitos.insert(0, size_t(decimales) + 1 - digitos.size(), '0');
    const std::string entera = digitos.substr(0, digitos.size() - size_t(decimales));
    std::string r;
    for (size_t k = 0; k < entera.size(); ++k) {
        if (agrupacion && k > 0 && (entera.size() - k) % 3 == 0)
            r += agrupacion;
        r += entera[k];
    }
    if (decimales > 0) {
        r += decimal;
        r += digitos.substr(entera.size());
    }
    const bool cero = digitos.find_first_not_of('0') == std::string::npos;
    return negativo && !cero ? "-" + r : r;
}

std::string EnPantalla(Entero unidades, int decimales)
{
    return Escribe(unidades, decimales, regional::decimalSeparator(), regional::thousandsSeparator());
}

std::string EnSQL(Entero unidades, int decimales)
{
    return Escribe(unidades, decimales, '.', 0);
}

bool EsEuro(std::string_view moneda)
{
    return moneda == kMonedaEuros;
}

// Reads the amount for the function named in the log tag; false (logged unless the text is
// empty or "NULL") when it is no amount.
bool LeeParaFuncion(std::string_view texto, const char *funcion, Importe &importe)
{
    if (EsNulo(texto))
        return false;
    if (LeeImporte(texto, importe))
        return true;
    WriteLog(std::string("[ General::") + funcion + " ] '" + std::string(texto) + "' no es un importe v\xE1lido");
    return false;
}

// The amount itself in two decimals for "EUR", none otherwise, written by escribe.
std::string ImporteEn(std::string_view importe, std::string_view moneda, const char *funcion,
                      std::string (*escribe)(Entero, int))
{
    Importe i;
    if (!LeeParaFuncion(importe, funcion, i))
        return {};
    const int decimales = EsEuro(moneda) ? 2 : 0;
    return escribe(EnUnidades(i, decimales), decimales);
}

// The counter-value: an "EUR" amount as whole pesetas, any other as euros with two
// decimals, written by escribe.
std::string ContravalorEn(std::string_view importe, std::string_view moneda, const char *funcion,
                          std::string (*escribe)(Entero, int))
{
    Importe i;
    if (!LeeParaFuncion(importe, funcion, i))
        return {};
    return EsEuro(moneda) ? escribe(EurosAPesetas(i), 0) : escribe(PesetasACentimos(i), 2);
}

} // namespace

std::string FormatImporte(std::string_view importe, std::string_view moneda)
{
    return ImporteEn(importe, moneda, "FormatImporte", EnPantalla);
}

std::string FormatContravalor(std::string_view importe, std::string_view moneda)
{
    return ContravalorEn(importe, moneda, "FormatContravalor", EnPantalla);
}

std::string FormatImporteSQL(std::string_view importe, std::string_view moneda)
{
    return ImporteEn(importe, moneda, "FormatImporteSQL", EnSQL);
}

std::string GetContravalor(std::string_view importe, std::string_view moneda)
{
    if (moneda != kMonedaEuros && moneda != kMonedaPesetas)
        return {};
    return ContravalorEn(importe, moneda, "GetContravalor", EnSQL);
}

std::string GetContravalorSinFormato(std::string_view importe, std::string_view moneda)
{
    return ContravalorEn(importe, moneda, "GetContravalorSinFormato", EnSQL);
}
