// Amounts in pesetas and euros: reading, exact conversion at 166.386 and formatting.
#include "General.h"

#include "amount.h"
#include "regional.h"

#include <limits>

namespace {

using Entero = __int128;

// A decimal number read exactly: |x| = entera + 0.fraccion.
struct Decimal {
    bool negativo = false;
    Entero entera = 0;
    std::string fraccion; // the digits after the point, without trailing zeros
};

constexpr int kMaxDigitosPantalla = 18; // integer digits the display forms take
constexpr int kMaxDigitosSQL = 10;      // integer digits of a stored amount
constexpr int kMaxDecimalesSQL = 8;
constexpr long long kPesetasPorEuroMil = 166386; // 166.386 * 1000

std::string_view SinBlancos(std::string_view texto)
{
    while (!texto.empty() && texto.front() == ' ')
        texto.remove_prefix(1);
    while (!texto.empty() && texto.back() == ' ')
        texto.remove_suffix(1);
    return texto;
}

// The one reader of amount texts: blanks around, an optional sign, digits with at most one
// decimal character anywhere among them, and the grouping character (0: none) skipped
// wherever it stands. Leading zeros do not count towards maxEnteros.
LecturaImporte LeeDecimal(std::string_view texto, char decimal, char agrupacion, int maxEnteros, Decimal &x)
{
    texto = SinBlancos(texto);
    Decimal r;
    if (!texto.empty() && (texto.front() == '-' || texto.front() == '+')) {
        r.negativo = texto.front() == '-';
        texto.remove_prefix(1);
    }
    bool hayDigitos = false, hayDecimal = false;
    int enteros = 0;
    for (char c : texto) {
        if (c >= '0' && c <= '9') {
            hayDigitos = true;
            if (hayDecimal) {
                r.fraccion += c;
            } else if (r.entera != 0 || c != '0') {
                if (++enteros <= maxEnteros)
                    r.entera = r.entera * 10 + (c - '0');
            }
        } else if (c == decimal && !hayDecimal) {
            hayDecimal = true;
        } else if (c != agrupacion || agrupacion == 0) {
            return LecturaImporte::NoEsImporte;
        }
    }
    if (!hayDigitos)
        return LecturaImporte::NoEsImporte;
    if (enteros > maxEnteros)
        return LecturaImporte::DemasiadoGrande;
    r.fraccion.erase(r.fraccion.find_last_not_of('0') + 1);
    x = std::move(r);
    return LecturaImporte::Correcta;
}

// x * multiplicador / divisor rounded half away from zero (both factors positive and small).
// floor(2 * |x| * multiplicador) is built exactly, the fraction's digits from the last one
// leftwards, so no power of ten is ever needed.
Entero Redondea(const Decimal &x, long long multiplicador, long long divisor)
{
    const long long doble = 2 * multiplicador;
    long long arrastre = 0;
    for (auto d = x.fraccion.rbegin(); d != x.fraccion.rend(); ++d)
        arrastre = ((*d - '0') * doble + arrastre) / 10;
    const Entero n = x.entera * doble + arrastre;
    const Entero q = (n + divisor) / (2 * Entero(divisor));
    return x.negativo ? -q : q;
}

long long Potencia10(int n)
{
    long long p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// The amount in units of 10^-decimales.
Entero EnUnidades(const Decimal &x, int decimales)
{
    return Redondea(x, Potencia10(decimales), 1);
}

Entero EurosAPesetas(const Decimal &euros)
{
    return Redondea(euros, kPesetasPorEuroMil, 1000);
}

Entero PesetasACentimos(const Decimal &pesetas)
{
    return Redondea(pesetas, 100 * 1000, kPesetasPorEuroMil);
}

bool EsNulo(std::string_view texto)
{
    return texto.empty() || texto == "NULL";
}

// Reads an amount in storage or screen form (see General.h); false when it is none.
bool LeeImporte(std::string_view texto, Decimal &x)
{
    char decimal = regional::decimalSeparator();
    const std::string_view t = SinBlancos(texto);
    if (decimal == ',' && t.find(',') == std::string_view::npos) {
        const size_t punto = t.find('.');
        if (punto != std::string_view::npos && t.find('.', punto + 1) == std::string_view::npos
            && t.size() - punto - 1 != 3)
            decimal = '.';
    }
    const char agrupacion = decimal == '.' ? ',' : '.';
    return LeeDecimal(texto, decimal, agrupacion, kMaxDigitosPantalla, x) == LecturaImporte::Correcta;
}

// The last digit of n (not negative), taken off it: in 64 bits while n fits there, where
// dividing by ten is cheap.
int QuitaDigito(Entero &n)
{
    if (n <= Entero(std::numeric_limits<unsigned long long>::max())) {
        const auto corto = static_cast<unsigned long long>(n);
        n = corto / 10;
        return int(corto % 10);
    }
    const int d = int(n % 10);
    n /= 10;
    return d;
}

// units / 10^decimales written with the given separators (agrupacion 0: no grouping).
std::string Escribe(Entero unidades, int decimales, char decimal, char agrupacion)
{
    const bool negativo = unidades < 0;
    const bool cero = unidades == 0;
    if (negativo)
        unidades = -unidades;
    // Written from the right into a buffer that holds the widest: 39 digits, their
    // groupings, the decimal character and the sign.
    char texto[96];
    char *p = texto + sizeof texto;
    for (int i = 0; i < decimales; ++i)
        *--p = char('0' + QuitaDigito(unidades));
    if (decimales > 0)
        *--p = decimal;
    for (int enteros = 0; enteros == 0 || unidades != 0; ++enteros) {
        if (agrupacion && enteros > 0 && enteros % 3 == 0)
            *--p = agrupacion;
        *--p = char('0' + QuitaDigito(unidades));
    }
    if (negativo && !cero)
        *--p = '-';
    return std::string(p, texto + sizeof texto);
}

std::string EnPantalla(Entero unidades, int decimales)
{
    const char decimal = regional::decimalSeparator();
    return Escribe(unidades, decimales, decimal, regional::thousandsSeparatorFor(decimal));
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
bool LeeParaFuncion(std::string_view texto, const char *funcion, Decimal &importe)
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
    Decimal x;
    if (!LeeParaFuncion(importe, funcion, x))
        return {};
    const int decimales = DecimalesMoneda(moneda);
    return escribe(EnUnidades(x, decimales), decimales);
}

// The counter-value: an "EUR" amount as whole pesetas, any other as euros with two
// decimals, written by escribe.
std::string ContravalorEn(std::string_view importe, std::string_view moneda, const char *funcion,
                          std::string (*escribe)(Entero, int))
{
    Decimal x;
    if (!LeeParaFuncion(importe, funcion, x))
        return {};
    return EsEuro(moneda) ? escribe(EurosAPesetas(x), 0) : escribe(PesetasACentimos(x), 2);
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

ImporteTecleado LeeImporteTecleado(std::string_view texto, std::string_view moneda)
{
    return LeeImporteTecleado(texto, moneda, regional::decimalSeparator());
}

ImporteTecleado LeeImporteTecleado(std::string_view texto, std::string_view moneda, char separador)
{
    const bool euros = EsEuro(moneda);
    const int decimales = DecimalesMoneda(moneda);
    const amount::Reading leido = amount::read(texto, decimales, euros ? 8 : 10, separador);
    switch (leido.error) {
    case amount::Error::None: return {EnSQL(leido.units, decimales), 0};
    case amount::Error::Empty: return {{}, 203};
    case amount::Error::NotANumber: return {{}, 672};
    case amount::Error::Grouping: return {{}, 673};
    case amount::Error::Decimals: return {{}, euros ? 820 : 821};
    case amount::Error::Digits: return {{}, euros ? 426 : 425};
    }
    return {{}, 672};
}

int DecimalesMoneda(std::string_view moneda)
{
    return EsEuro(moneda) ? 2 : 0;
}

LecturaImporte LeeImporteSQL(std::string_view texto, int decimales, long long &unidades, bool exacto)
{
    if (decimales < 0 || decimales > kMaxDecimalesSQL)
        return LecturaImporte::NoEsImporte;
    Decimal x;
    const LecturaImporte r = LeeDecimal(texto, '.', 0, kMaxDigitosSQL, x);
    if (r != LecturaImporte::Correcta)
        return r;
    if (exacto && x.fraccion.size() > size_t(decimales))
        return LecturaImporte::SobranDecimales;
    unidades = static_cast<long long>(EnUnidades(x, decimales));
    return LecturaImporte::Correcta;
}
