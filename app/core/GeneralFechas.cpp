// Dates: the storage, bank-file and screen forms, converted in one place.
#include "General.h"

#include "Modmas.h"
#include "Multiidioma.h"
#include "qcp1252.h"
#include "regional.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace {

int AnioDeDosDigitos(int y)
{
    const int siglo = kPrimerAnioBanco / 100 * 100;
    return y < kPrimerAnioBanco - siglo ? siglo + 100 + y : siglo + y;
}

// Reads three numbers separated by non-digits; orden[k] is 'd', 'M' or 'y' for number k.
QDate LeeTresNumeros(std::string_view texto, const std::array<char, 3> &orden)
{
    int valores[3] = {0, 0, 0};
    int digitosAnio = 0;
    size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        while (i < texto.size() && texto[i] == ' ')
            ++i;
        if (k > 0) {
            if (i >= texto.size() || EsDigito(texto[i]))
                return {};
            ++i;
            while (i < texto.size() && texto[i] == ' ')
                ++i;
        }
        const size_t inicio = i;
        while (i < texto.size() && EsDigito(texto[i]) && i - inicio < 4)
            valores[k] = valores[k] * 10 + (texto[i++] - '0');
        if (i == inicio || (i < texto.size() && EsDigito(texto[i])))
            return {};
        if (orden[k] == 'y')
            digitosAnio = int(i - inicio);
        else if (i - inicio > 2)
            return {};
    }
    while (i < texto.size() && texto[i] == ' ')
        ++i;
    if (i != texto.size())
        return {};
    int d = 0, m = 0, y = 0;
    for (int k = 0; k < 3; ++k)
        (orden[k] == 'd' ? d : orden[k] == 'M' ? m : y) = valores[k];
    if (digitosAnio <= 2)
        y = AnioDeDosDigitos(y);
    return QDate(y, m, d);
}

// The order of day, month and year in the user's short date format.
std::array<char, 3> OrdenUsuario()
{
    const QString formato = regional::dateFormat();
    std::array<char, 3> orden{'d', 'M', 'y'};
    std::array<qsizetype, 3> pos{formato.indexOf('d'), formato.indexOf('M'), formato.indexOf('y')};
    if (pos[0] < 0 || pos[1] < 0 || pos[2] < 0)
        return orden;
    std::sort(orden.begin(), orden.end(), [&](char a, char b) {
        auto p = [&](char c) { return pos[c == 'd' ? 0 : c == 'M' ? 1 : 2]; };
        return p(a) < p(b);
    });
    return orden;
}

std::string Formatea(const QDate &fecha, const QString &formato)
{
    return cp1252::fromQString(fecha.toString(formato));
}

// The date in the form forma gives, or the empty text, logged under the function's tag,
// when the text read was no date.
std::string Escribe(const QDate &fecha, std::string_view texto, const char *funcion,
                    std::string (*forma)(const QDate &))
{
    if (fecha.isValid())
        return forma(fecha);
    WriteLog(std::string("[ General::") + funcion + " ] '" + std::string(texto) + "' no es una fecha v\xE1lida");
    return {};
}

} // namespace

QDate LeeFechaUsuario(std::string_view texto)
{
    return LeeTresNumeros(texto, OrdenUsuario());
}

QDate LeeFechaTecleada(std::string_view texto)
{
    // The date as the screen shows it reads back, also in a format that names the month.
    if (const QDate mostrada = QDate::fromString(cp1252::toQString(texto).trimmed(), regional::dateFormat());
        mostrada.isValid())
        return mostrada;
    // The groups of digits, parted by anything but letters.
    std::vector<std::string> grupos;
    bool nuevo = true;
    for (char c : texto) {
        const auto u = static_cast<unsigned char>(c);
        if (EsDigito(c)) {
            if (nuevo)
                grupos.emplace_back();
            grupos.back() += c;
            nuevo = false;
        } else if (std::isalpha(u) || u >= 0x80) {
            return {};
        } else {
            nuevo = true;
        }
    }
    const std::array<char, 3> orden = OrdenUsuario();
    if (grupos.size() == 1 && (grupos[0].size() == 8 || grupos[0].size() == 6)) {
        // Digits alone: two for the day and the month, the rest for the year.
        const std::string digitos = grupos[0];
        grupos.clear();
        size_t desde = 0;
        for (char parte : orden) {
            const size_t largo = parte == 'y' ? digitos.size() - 4 : 2;
            grupos.push_back(digitos.substr(desde, largo));
            desde += largo;
        }
    }
    if (grupos.size() != 3)
        return {};
    const size_t anio = grupos[size_t(std::find(orden.begin(), orden.end(), 'y') - orden.begin())].size();
    if (anio != 2 && anio != 4)
        return {};
    return LeeTresNumeros(grupos[0] + "/" + grupos[1] + "/" + grupos[2], orden);
}

QDate LeeFechaSQL(std::string_view texto)
{
    return LeeTresNumeros(texto, {'y', 'M', 'd'});
}

std::string FechaUsuario(const QDate &fecha)
{
    return Formatea(fecha, regional::dateFormat());
}

std::string FechaSQL(const QDate &fecha)
{
    return Formatea(fecha, QStringLiteral("yyyy/MM/dd"));
}

std::string FechaBanco(const QDate &fecha)
{
    return Formatea(fecha, QStringLiteral("ddMMyy"));
}

bool FechaCabeEnBanco(const QDate &fecha)
{
    return fecha.isValid() && fecha.year() >= kPrimerAnioBanco && fecha.year() <= kUltimoAnioBanco;
}

std::string MotivoFechaBanco(const QDate &fecha)
{
    return FechaCabeEnBanco(fecha) ? std::string()
                                   : FormateaTexto(Idioma.GetTexto(825), kPrimerAnioBanco, kUltimoAnioBanco);
}

std::string GetSafeDate(std::string_view fecha)
{
    std::string texto(fecha);
    for (char &c : texto)
        if (c == ' ')
            c = '/';
    return Escribe(LeeFechaUsuario(texto), fecha, "GetSafeDate", FechaBanco);
}

std::string FechaDDMMAAToStr(std::string_view fecha)
{
    if (fecha.size() != 6)
        return {};
    auto numero = [&](size_t p) {
        return EsDigito(fecha[p]) && EsDigito(fecha[p + 1]) ? (fecha[p] - '0') * 10 + (fecha[p + 1] - '0') : -1;
    };
    const int y = numero(0);
    return Escribe(QDate(AnioDeDosDigitos(y < 0 ? 0 : y), numero(2), numero(4)), fecha, "FechaDDMMAAToStr",
                   FechaUsuario);
}

QDate LeeFechaFila(std::string_view fecha)
{
    std::string digitos(fecha);
    QuitaBlancos(digitos);
    if (digitos.size() != 6 || !std::all_of(digitos.begin(), digitos.end(), EsDigito))
        return {};
    auto numero = [&](size_t p) { return (digitos[p] - '0') * 10 + (digitos[p + 1] - '0'); };
    return QDate(AnioDeDosDigitos(numero(0)), numero(2), numero(4));
}

std::string GetDateYYYYMMDD(std::string_view fecha)
{
    return Escribe(LeeFechaUsuario(fecha), fecha, "GetDateYYYYMMDD", FechaSQL);
}

std::string GetCustomFormatDate(std::string_view fecha)
{
    return Escribe(LeeFechaSQL(fecha), fecha, "GetCustomFormatDate", FechaUsuario);
}

bool EsFechaValida(std::string_view fecha)
{
    return LeeFechaUsuario(fecha).isValid();
}
