// The item types, their arithmetic and the plug-in's string table.
#include "main.h"

#include "Frmitems.h"
#include "amount.h"
#include "b_debug.h"
#include "b_str.h"
#include "plantillas.h"
#include "regional.h"
#include "vars.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// --- module state ---

bool g_euro = true;

constexpr int32_t kAnchoCalculado = 12; // cells of an amount, a total and a percentage
constexpr int kAnchoNombre = 11;        // characters of the name in the cell text
constexpr int32_t kTextoEtiqueta = 800;

#define AFIRMA(p, condicion) Afirma((p) != nullptr, __LINE__, condicion)

bool Afirma(bool ok, int linea, const char *condicion)
{
    if (!ok && DebugAssertOn(DebugDoGetDefault()))
        DebugDoAssert("main", linea, "NULL", condicion);
    return ok;
}

// --- string table ---

struct Cadena {
    int32_t id;
    const char *texto;
};

constexpr Cadena kCadenas[] = {
    {1, "Identificador"},
    {2, "Coordenada X"},
    {3, "Coordenada Y"},
    {4, "Descripci\xF3n"},
    {5, "Texto"},
    {6, "Total"},
    {7, "Campos"},
    {8, "Porcentaje"},
    {100, "Etiqueta de texto"},
    {101, "Este elemento es un texto fijo que no se puede cambiar cuando edite sus recibos."},
    {102, "Permite introducir un importe que se suma al total"},
    {103, "Cuando edite sus recibos, este elemento se convertir\xE1 en una caja de edici\xF3n en la que "
          "podr\xE1 introducir un importe."},
    {104, "Suma de todos los importes"},
    {105, "Cuando edite sus recibos, este elemento sumar\xE1 autom\xE1ticamente todos los importes que "
          "haya seleccionado."},
    {106, "Suma de todos los importes y aplica un tanto por ciento al resultado"},
    {107, "Cuando edite sus recibos, este elemento sumar\xE1 autom\xE1ticamente todos los importes que "
          "haya seleccionado y aplicar\xE1 un tanto por ciento al resultado."},
    {800, "Etiqueta"},
    {900, "El nombre de un elemento no puede estar vac\xEDo."},
    {901, "El nombre de un elemento s\xF3lo puede contener n\xFAmeros, letras y caracteres '_'"},
    {902, "El nombre de un elemento no puede empezar por un n\xFAmero."},
    {903, "La propiedad 'total' s\xF3lo puede valer 'si' o 'no'"},
    {904, "El elemento '%s' no existe."},
    {905, "El porcentaje debe ser un n\xFAmero."},
};

const char *TextoDe(int32_t id)
{
    for (const auto &cadena : kCadenas)
        if (cadena.id == id)
            return cadena.texto;
    return nullptr;
}

// --- numbers ---
//
// Numbers are exact decimals: whole units of 10^-kEscala, held within +-kTope (beyond it
// they stay at the bound), so results round on the decimal value and never through binary
// fractions.

using Entero = __int128;

constexpr int kEscala = 10;

constexpr Entero Potencia10(int n)
{
    Entero p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

constexpr Entero kTope = Potencia10(36);
constexpr Entero kTopeEntero = kTope / Potencia10(kEscala);
// Integer digits read from a box: more than any amount takes, which the program refuses.
constexpr int kDigitosCaja = 12;

Entero Acota(Entero v)
{
    return std::clamp(v, -kTope, kTope);
}

Entero Producto(Entero a, Entero b)
{
    Entero r;
    if (__builtin_mul_overflow(a, b, &r))
        return (a < 0) != (b < 0) ? -kTope : kTope;
    return Acota(r);
}

bool EsDigito(char c)
{
    return c >= '0' && c <= '9';
}

// An amount text as a number: digits and "-" stay, the regional decimal separator becomes
// ".", everything else (grouping, blanks, letters, signs) goes; what is left is read as a
// C decimal number up to the first character that cannot continue it ("1-2" reads 1).
Entero LeeNumero(std::string_view texto)
{
    const char separador = regional::decimalSeparator();
    std::string limpio;
    for (char c : texto) {
        if (EsDigito(c) || c == '-')
            limpio += c;
        else if (c == separador)
            limpio += '.';
    }
    size_t i = 0;
    const bool negativo = !limpio.empty() && limpio[0] == '-';
    if (negativo)
        ++i;
    Entero entero = 0;
    for (; i < limpio.size() && EsDigito(limpio[i]); ++i)
        entero = std::min(entero * 10 + (limpio[i] - '0'), kTopeEntero);
    Entero fraccion = 0;
    int decimales = 0;
    if (i < limpio.size() && limpio[i] == '.')
        for (++i; i < limpio.size() && EsDigito(limpio[i]) && decimales < kEscala; ++i, ++decimales)
            fraccion = fraccion * 10 + (limpio[i] - '0');
    const Entero valor = entero * Potencia10(kEscala) + fraccion * Potencia10(kEscala - decimales);
    return negativo ? -valor : valor;
}

std::string Digitos(Entero n)
{
    std::string digitos;
    do {
        digitos += char('0' + int(n % 10));
        n /= 10;
    } while (n > 0);
    std::reverse(digitos.begin(), digitos.end());
    return digitos;
}

// A value of unidades x 10^-escala as the result of a total: in euros with two decimals
// ("0.00"), in pesetas whole ("0."), rounded half away from zero, with the regional decimal
// separator and no grouping.
std::string Formatea(Entero unidades, int escala)
{
    const int decimales = g_euro ? 2 : 0;
    const Entero divisor = Potencia10(escala - decimales);
    const Entero absoluto = unidades < 0 ? -unidades : unidades;
    Entero redondeado = absoluto / divisor;
    if (absoluto % divisor * 2 >= divisor)
        ++redondeado;
    std::string texto = Digitos(redondeado);
    if (decimales > 0) {
        if (texto.size() <= size_t(decimales))
            texto.insert(0, decimales + 1 - texto.size(), '0');
        texto.insert(texto.size() - decimales, 1, regional::decimalSeparator());
    }
    if (unidades < 0 && redondeado != 0)
        texto.insert(0, 1, '-');
    return texto;
}

// A percentage shown in its box: without the trailing zeros of its decimals, and without
// the separator when none remain ("12,50" 12,5; "16,00" 16).
std::string Acorta(std::string texto)
{
    if (texto.find(regional::decimalSeparator()) == std::string::npos)
        return texto;
    texto.erase(texto.find_last_not_of('0') + 1);
    if (texto.back() == regional::decimalSeparator())
        texto.pop_back();
    return texto;
}

int32_t LeeEntero(const char *texto)
{
    const long n = std::strtol(texto, nullptr, 10);
    return int32_t(std::clamp<long>(n, INT32_MIN, INT32_MAX));
}

// --- messages ---

// Copies texto into the caller's buffer, cut to its capacity.
void Copia(const ItemText_t &destino, std::string_view texto)
{
    if (destino.uSize == 0)
        return;
    const size_t n = std::min(texto.size(), destino.uSize - 1);
    std::memcpy(destino.pcBuffer, texto.data(), n);
    destino.pcBuffer[n] = '\0';
}

// Messages 2 and 4 of the types that need a buffer.
int32_t CopiaTexto(void *arg, std::string_view texto)
{
    auto *destino = static_cast<ItemText_t *>(arg);
    if (AFIRMA(destino, "pcBuffer != NULL") && AFIRMA(destino->pcBuffer, "pcBuffer != NULL"))
        Copia(*destino, texto);
    return ITEM_OK;
}

// Message 2 of the calculated types: the sign and the name in exactly 11 characters.
int32_t TextoCelda(B_AStr_t *item, char signo, void *arg)
{
    char texto[kAnchoNombre + 2];
    std::snprintf(texto, sizeof texto, "%c%-*.*s", signo, kAnchoNombre, kAnchoNombre,
                  VarGet(item, ITEM_VAR_IDENTIFICADOR, ""));
    return CopiaTexto(arg, texto);
}

// Message 3: the cells from X, Y, ancho wide and one high; -1 without a position.
int32_t Rectangulo(B_AStr_t *item, int32_t ancho, void *arg)
{
    auto *rect = static_cast<ItemRect_t *>(arg);
    if (!AFIRMA(rect, "prect != NULL"))
        return ITEM_OK;
    const char *x = VarGet(item, ITEM_VAR_X, nullptr);
    const char *y = VarGet(item, ITEM_VAR_Y, nullptr);
    if (!x || !y || LeeEntero(x) < 0 || LeeEntero(y) < 0) {
        *rect = ItemRect_t{-1, -1, -1, -1};
        return ITEM_OK;
    }
    const int32_t x1 = LeeEntero(x), y1 = LeeEntero(y);
    *rect = ItemRect_t{x1, y1, int32_t(std::min<int64_t>(int64_t(x1) + ancho, INT32_MAX)),
                       int32_t(std::min<int64_t>(int64_t(y1) + 1, INT32_MAX))};
    return ITEM_OK;
}

// Message 5 of an amount: the text, cut and trimmed of blanks, into its box.
int32_t PonValor(B_AStr_t *item, void *arg)
{
    const auto *valor = static_cast<const char *>(arg);
    if (!AFIRMA(valor, "pcValue != NULL"))
        return ITEM_OK;
    std::string texto(valor, strnlen(valor, ITEM_SETVALUE_MAX));
    PonTextoCaja(item, B_strtrim(texto.data(), ' '));
    return ITEM_OK;
}

// Message 6.
int32_t Crea(B_AStr_t *item, Plantilla *plantilla, void *arg, ControlItem tipo)
{
    auto *creacion = static_cast<ItemCreate_t *>(arg);
    if (AFIRMA(creacion, "piev != NULL") && AFIRMA(creacion->pParent, "piev->pParent != NULL") &&
        AFIRMA(plantilla, "ppl != NULL"))
        CreaControl(item, plantilla, creacion, tipo);
    return ITEM_OK;
}

// Message 8, alike for every type: no blank in an Identificador.
int32_t Valida(void *arg)
{
    auto *cambio = static_cast<ItemValidate_t *>(arg);
    if (!AFIRMA(cambio, "piev != NULL") || !AFIRMA(cambio->pcName, "pcName != NULL") ||
        !AFIRMA(cambio->pcValue, "pcValue != NULL"))
        return ITEM_OK;
    if (B_stricmp(cambio->pcName, ITEM_VAR_IDENTIFICADOR) == 0 && std::strchr(cambio->pcValue, ' '))
        return ITEM_REFUSED;
    return ITEM_OK;
}

// What is typed in an amount's box, read as every amount box reads it (amount.h: "1.234,5",
// "12.5"); 0 when it does not read, which the program refuses.
Entero LeeCaja(std::string_view texto)
{
    const int decimales = g_euro ? 2 : 0;
    const amount::Reading leido = amount::read(texto, decimales, kDigitosCaja);
    return leido.error == amount::Error::None ? Entero(leido.units) * Potencia10(kEscala - decimales) : 0;
}

// The sum of the values of the items that Campos names, each asked through the engine (so
// an item reached again in a circle counts 0); names that no item bears are skipped. What
// is typed in an amount's box is read as the box reads it; any other value (a total's or a
// percentage's result with its sign, a label's text) as a number wherever it stands.
Entero SumaCampos(B_AStr_t *item, Plantilla *plantilla)
{
    Entero suma = 0;
    if (!plantilla)
        return suma;
    const std::string campos = VarGet(item, ITEM_VAR_CAMPOS, "");
    for (size_t inicio = 0; inicio <= campos.size();) {
        size_t fin = std::min(campos.find('+', inicio), campos.size());
        std::string nombre = campos.substr(inicio, fin - inicio);
        inicio = fin + 1;
        nombre = std::string(B_strtrim(nombre.data(), ' '));
        const int indice = nombre.empty() ? -1 : plantilla->ItemByName(nombre.c_str());
        if (indice < 0)
            continue;
        auto *campo = *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&plantilla->stkItems, indice));
        char valor[ITEM_FIELD_VALUE_LEN] = "";
        ItemText_t texto = {valor, sizeof valor};
        PlItemCallFn(campo, ITEM_MSG_VALUE, plantilla, &texto);
        suma = Acota(suma + (TieneEntrada(campo) ? LeeCaja(valor) : LeeNumero(valor)));
    }
    return suma;
}

// Messages 4 and 7 of a total or a percentage: the result into the caller's buffer (or
// the shared number buffer) and into the item's box.
int32_t Calcula(B_AStr_t *item, Plantilla *plantilla, void *arg, bool porcentaje)
{
    ItemText_t numeros = {VarNumBuffer(), VAR_NUM_BUFFER_LEN};
    const ItemText_t *destino = arg ? static_cast<ItemText_t *>(arg) : &numeros;
    if (!AFIRMA(destino->pcBuffer, "pcBuffer != NULL"))
        return ITEM_OK;
    const Entero suma = SumaCampos(item, plantilla);
    std::string texto;
    if (porcentaje) {
        // rate x sum, in units of 10^-(kEscala + 2): the per cent is exact.
        texto = Formatea(Producto(suma, LeeEntero(VarGet(item, ITEM_VAR_PORCENTAJE, "0"))), kEscala + 2);
        if (TieneCaja(item))
            texto = Acorta(texto);
    } else {
        texto = Formatea(suma, kEscala);
    }
    Copia(*destino, texto);
    PonTextoCaja(item, texto);
    return ITEM_OK;
}

// A label's text, "Etiqueta" stored first when it has none.
const char *TextoEtiqueta(B_AStr_t *item)
{
    if (!*VarGet(item, ITEM_VAR_TEXTO, ""))
        VarSet(item, ITEM_VAR_TEXTO, TextoDe(kTextoEtiqueta));
    return VarGet(item, ITEM_VAR_TEXTO, "");
}

// What totals and percentages answer alike.
int32_t Calculado(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg, bool porcentaje)
{
    if (!AFIRMA(item, "pvar != NULL"))
        return ITEM_OK;
    switch (code) {
    case ITEM_MSG_INIT:
        if (porcentaje)
            VarSet(item, ITEM_VAR_PORCENTAJE, "16");
        return ITEM_OK;
    case ITEM_MSG_CELLTEXT:
        return TextoCelda(item, porcentaje ? '%' : '+', arg);
    case ITEM_MSG_RECT:
        return Rectangulo(item, kAnchoCalculado, arg);
    case ITEM_MSG_VALUE:
    case ITEM_MSG_RECALC:
        return Calcula(item, plantilla, arg, porcentaje);
    case ITEM_MSG_CREATE:
        return Crea(item, plantilla, arg, ControlItem::Calculado);
    case ITEM_MSG_VALIDATE:
        return Valida(arg);
    default:
        return ITEM_OK;
    }
}

} // namespace

ITEMS_EXPORT void _SetEuro(int32_t flag)
{
    g_euro = (flag & 0xFF) != 0;
}

int32_t ItemsLoadString(int32_t id, char *buffer, size_t size)
{
    const char *texto = TextoDe(id);
    if (!buffer || size == 0)
        return 0;
    Copia(ItemText_t{buffer, size}, texto ? texto : "");
    return int32_t(std::strlen(buffer));
}

ITEMS_EXPORT int32_t _ItemLabelFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    if (!AFIRMA(item, "pvar != NULL"))
        return ITEM_OK;
    const std::string texto = TextoEtiqueta(item);
    switch (code) {
    case ITEM_MSG_CELLTEXT:
    case ITEM_MSG_VALUE:
        return CopiaTexto(arg, texto);
    case ITEM_MSG_RECT:
        return Rectangulo(item, int32_t(std::min<size_t>(texto.size(), INT32_MAX)), arg);
    case ITEM_MSG_CREATE:
        return Crea(item, plantilla, arg, ControlItem::Etiqueta);
    case ITEM_MSG_VALIDATE:
        return Valida(arg);
    default:
        return ITEM_OK;
    }
}

ITEMS_EXPORT int32_t _ItemImporteFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    if (!AFIRMA(item, "pvar != NULL"))
        return ITEM_OK;
    switch (code) {
    case ITEM_MSG_CELLTEXT:
        return TextoCelda(item, '$', arg);
    case ITEM_MSG_RECT:
        return Rectangulo(item, kAnchoCalculado, arg);
    case ITEM_MSG_VALUE:
        return CopiaTexto(arg, TextoCaja(item));
    case ITEM_MSG_SETVALUE:
        return PonValor(item, arg);
    case ITEM_MSG_CREATE:
        return Crea(item, plantilla, arg, ControlItem::Importe);
    case ITEM_MSG_VALIDATE:
        return Valida(arg);
    default:
        return ITEM_OK;
    }
}

ITEMS_EXPORT int32_t _ItemTotalFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    return Calculado(item, code, plantilla, arg, false);
}

ITEMS_EXPORT int32_t _ItemPorcentajeFunc(B_AStr_t *item, int32_t code, Plantilla *plantilla, void *arg)
{
    return Calculado(item, code, plantilla, arg, true);
}
