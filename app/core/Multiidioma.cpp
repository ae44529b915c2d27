// The language object, the text lookup and the bounded text formatter.
#include "Multiidioma.h"

#include "qcp1252.h"

#include <QAbstractButton>
#include <QAction>
#include <algorithm>
#include <cstdio>

_Multiidioma Idioma;

std::string CargaTexto(int n)
{
    const auto tabla = TablaTextos();
    const auto it = std::lower_bound(tabla.begin(), tabla.end(), n,
                                     [](const EntradaTexto &e, int numero) { return e.numero < numero; });
    if (it == tabla.end() || it->numero != n)
        return {};
    return it->texto;
}

std::string _Multiidioma::GetTexto(int n) const
{
    const int desplazamiento = GetDesplazamientoIdioma();
    std::string texto = desplazamiento ? CargaTexto(n + desplazamiento) : std::string();
    return texto.empty() ? CargaTexto(n) : texto;
}

int _Multiidioma::GetDesplazamientoIdioma() const
{
    switch (m_idioma) {
    case IdiomaIngles: return 1000;
    case IdiomaCatalan: return 2000;
    default: return 0;
    }
}

std::string _Multiidioma::GetNombreIdioma() const
{
    switch (m_idioma) {
    case IdiomaCastellano: return "Castellano";
    case IdiomaIngles: return "Ingles";
    case IdiomaCatalan: return "Catalan";
    default: return {};
    }
}

bool _Multiidioma::SetIdioma(int n)
{
    if (n > IdiomaCatalan)
        return false;
    m_idioma = n;
    Recaptiona();
    return true;
}

bool _Multiidioma::SetIdiomaPorNombre(std::string_view nombre)
{
    static constexpr std::string_view kNombres[] = {"Castellano", "Ingles", "Catalan"};
    int marcado = 0;
    for (int i = 0; i < 3; ++i)
        if (nombre == kNombres[i])
            marcado = i + 1;
    if (marcado)
        m_idioma = marcado;
    for (const Entrada &e : m_entradasIdioma)
        if (auto *accion = qobject_cast<QAction *>(e.objeto.data()))
            accion->setChecked(e.texto == marcado);
    Recaptiona();
    return true;
}

void _Multiidioma::RegistraEntrada(int texto, QObject *entrada)
{
    m_entradas.push_back({texto, entrada});
}

void _Multiidioma::RegistraEntradaIdioma(int idioma, QAction *entrada)
{
    m_entradasIdioma.push_back({idioma, entrada});
}

void _Multiidioma::Recaptiona() const
{
    for (const Entrada &e : m_entradas) {
        const QString texto = cp1252::toQString(GetTexto(e.texto));
        if (auto *accion = qobject_cast<QAction *>(e.objeto.data()))
            accion->setText(texto);
        else if (auto *boton = qobject_cast<QAbstractButton *>(e.objeto.data()))
            boton->setText(texto);
    }
}

namespace {

// One conversion of a format: "%", flags, width, precision, length, conversion letter.
struct Conversion {
    std::string flags;
    int ancho = -1;
    int precision = -1;
    char letra = 0;
};

int LeeNumero(std::string_view f, size_t &i)
{
    long long n = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        n = std::min<long long>(n * 10 + (f[i] - '0'), kMaxTextoFormateado);
        ++i;
    }
    return int(n);
}

int Limita(long long n)
{
    return int(std::clamp<long long>(n, -(long long)kMaxTextoFormateado, (long long)kMaxTextoFormateado));
}

// Reads a conversion starting after "%"; "*" takes its value from the next argument.
Conversion LeeConversion(std::string_view f, size_t &i, std::span<const ArgTexto> args, size_t &arg)
{
    auto siguienteEntero = [&]() -> long long {
        if (arg >= args.size())
            return 0;
        const ArgTexto &a = args[arg++];
        return a.tipo() == ArgTexto::Entero ? a.entero() : a.tipo() == ArgTexto::Real ? (long long)a.real() : 0;
    };
    Conversion c;
    while (i < f.size() && std::string_view("-+ #0").find(f[i]) != std::string_view::npos)
        c.flags += f[i++];
    if (i < f.size() && f[i] == '*') {
        ++i;
        const long long n = siguienteEntero();
        if (n < 0)
            c.flags += '-';
        c.ancho = std::abs(Limita(n));
    } else if (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        c.ancho = LeeNumero(f, i);
    }
    if (i < f.size() && f[i] == '.') {
        ++i;
        if (i < f.size() && f[i] == '*') {
            ++i;
            const long long n = siguienteEntero();
            c.precision = n < 0 ? -1 : Limita(n);
        } else {
            c.precision = LeeNumero(f, i);
        }
    }
    while (i < f.size() && std::string_view("hlLqjzt").find(f[i]) != std::string_view::npos)
        ++i;
    if (i < f.size())
        c.letra = f[i++];
    return c;
}

std::string Especificacion(const Conversion &c, const char *longitud, char letra)
{
    std::string conversion = "%" + c.flags;
    if (c.ancho >= 0)
        conversion += std::to_string(c.ancho);
    if (c.precision >= 0)
        conversion += "." + std::to_string(c.precision);
    return conversion + longitud + letra;
}

template<class T>
std::string Imprime(const std::string &conversion, T valor)
{
    char buffer[kMaxTextoFormateado + 64];
    const int n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), valor);
    return n < 0 ? std::string() : std::string(buffer, std::min<size_t>(size_t(n), sizeof buffer - 1));
}

std::string ImprimeTexto(const Conversion &c, std::string_view texto)
{
    if (c.precision >= 0 && texto.size() > size_t(c.precision))
        texto = texto.substr(0, size_t(c.precision));
    std::string s(texto);
    if (c.ancho > 0 && s.size() < size_t(c.ancho)) {
        const std::string relleno(size_t(c.ancho) - s.size(), ' ');
        s = c.flags.find('-') != std::string::npos ? s + relleno : relleno + s;
    }
    return s;
}

std::string Convierte(const Conversion &c, const ArgTexto &a)
{
    const std::string_view enteras = "diouxXc";
    const std::string_view reales = "fFeEgGaA";
    const bool quiereEntero = enteras.find(c.letra) != std::string_view::npos;
    const bool quiereReal = reales.find(c.letra) != std::string_view::npos;
    switch (a.tipo()) {
    case ArgTexto::Entero:
        if (quiereEntero)
            return c.letra == 'c' ? Imprime(Especificacion(c, "", 'c'), int((unsigned char)a.entero()))
                                  : Imprime(Especificacion(c, "ll", c.letra), a.entero());
        if (quiereReal)
            return Imprime(Especificacion(c, "", c.letra), double(a.entero()));
        return Imprime(Especificacion(c, "ll", 'd'), a.entero());
    case ArgTexto::Real:
        if (quiereReal)
            return Imprime(Especificacion(c, "", c.letra), a.real());
        if (quiereEntero && c.letra != 'c')
            return Imprime(Especificacion(c, "ll", c.letra), (long long)a.real());
        return Imprime(Especificacion(Conversion{c.flags, c.ancho, -1, 'g'}, "", 'g'), a.real());
    case ArgTexto::Texto:
        return ImprimeTexto(c, a.texto());
    }
    return {};
}

} // namespace

std::string FormateaTexto(std::string_view formato, std::span<const ArgTexto> args)
{
    std::string out;
    size_t arg = 0;
    for (size_t i = 0; i < formato.size() && out.size() < kMaxTextoFormateado;) {
        if (formato[i] != '%') {
            out += formato[i++];
            continue;
        }
        ++i;
        if (i < formato.size() && formato[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        const Conversion c = LeeConversion(formato, i, args, arg);
        if (c.letra == 0 || c.letra == 'n' || arg >= args.size()) {
            if (c.letra == 'n' && arg < args.size())
                ++arg;
            continue;
        }
        out += Convierte(c, args[arg++]);
    }
    if (out.size() > kMaxTextoFormateado)
        out.resize(kMaxTextoFormateado);
    return out;
}
