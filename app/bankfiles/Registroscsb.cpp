// The records of the CSB19 and CSB58 send files.
#include "Registroscsb.h"

#include "General.h"

#include <algorithm>
#include <array>

namespace {

// What each byte of Windows-1252 becomes before the bank's table, which reads the bytes 0x80
// to 0xAA as another code page: a letter its plain letter of the same case ("\xF1" n, "\xC1"
// A, "\x8C" O), a sign the nearest character the bank takes, else a blank. The other bytes
// stay for the bank's table.
constexpr std::array<char, 256> TablaWindows1252()
{
    std::array<char, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<char>(b);
    auto pon = [&t](std::initializer_list<int> bytes, char a) {
        for (int b : bytes)
            t[b] = a;
    };
    // 0xC0 to 0xFF; "-" for the ligatures, signs, eth, thorn and sharp s, which stay.
    constexpr std::string_view letras = "AAAAAA-CEEEEIIII-NOOOOO-OUUUUY--aaaaaa-ceeeeiiii-nooooo-ouuuuy-y";
    for (size_t i = 0; i < letras.size(); ++i)
        if (letras[i] != '-')
            t[0xC0 + i] = letras[i];
    pon({0x83}, 'f');
    pon({0x8A}, 'S');
    pon({0x8C}, 'O');
    pon({0x8E}, 'Z');
    pon({0x9A}, 's');
    pon({0x9C}, 'o');
    pon({0x9E}, 'z');
    pon({0x9F}, 'Y');
    pon({0xAA}, 'a'); // ordinal indicators
    pon({0xBA}, 'o');
    // Dashes and the soft hyphen; ellipsis and middle dot; bullet; per mille as "%" goes.
    pon({0x96, 0x97, 0xAD}, '-');
    pon({0x85, 0xB7}, '.');
    pon({0x95}, '*');
    pon({0x89}, '/');
    pon({0xB1}, '+');
    pon({0xB9}, '1');
    pon({0xB2}, '2');
    pon({0xB3}, '3');
    // Currency signs, quotes, the no-break space, the unused bytes and the rest up to 0xA3.
    pon({0x80, 0x81, 0x82, 0x84, 0x86, 0x87, 0x88, 0x8B, 0x8D, 0x8F, 0x90, 0x91, 0x92,
         0x93, 0x94, 0x98, 0x99, 0x9B, 0x9D, 0xA0, 0xA1, 0xA2, 0xA3},
        ' ');
    return t;
}

constexpr std::array<char, 256> kWindows1252 = TablaWindows1252();

// A record being built: 162 blanks, fields put at their positions (from 1).
class Registro {
public:
    Registro() : m_bytes(kLargoRegistroCSB, ' ') {}

    // Text, left: blank-padded on the right, the first characters kept.
    Registro &Izquierda(size_t desde, size_t ancho, std::string_view texto)
    {
        m_bytes.replace(desde - 1, std::min(ancho, texto.size()), texto.substr(0, ancho));
        return *this;
    }
    // Text, right: blank-padded on the left, the first characters kept.
    Registro &Derecha(size_t desde, size_t ancho, std::string_view texto)
    {
        const size_t n = std::min(ancho, texto.size());
        m_bytes.replace(desde - 1 + ancho - n, n, texto.substr(0, n));
        return *this;
    }
    // Number: zero-padded on the left; a missing value is all zeros.
    Registro &Numero(size_t desde, size_t ancho, std::string_view digitos)
    {
        const size_t primero = digitos.find_first_not_of(' ');
        digitos = primero == std::string_view::npos ? std::string_view() : digitos.substr(primero);
        digitos = digitos.substr(0, digitos.find_last_not_of(' ') + 1);
        m_bytes.replace(desde - 1, ancho, ancho, '0');
        return Derecha(desde, ancho, digitos.substr(0, ancho));
    }
    Registro &Contador(long long valor, size_t desde, size_t ancho)
    {
        return Numero(desde, ancho, std::to_string(valor));
    }
    Registro &Ceros(size_t desde, size_t ancho)
    {
        m_bytes.replace(desde - 1, ancho, ancho, '0');
        return *this;
    }
    Registro &Fecha(size_t desde, const QDate &fecha)
    {
        return fecha.isValid() ? Izquierda(desde, 6, FechaBanco(fecha)) : *this;
    }
    // The stored 20-character account cut into bank, branch, check digits and account.
    Registro &CuentaBancaria(size_t desde, std::string_view cuenta)
    {
        return Izquierda(desde, 4, cuenta.substr(0, 4))
            .Izquierda(desde + 4, 4, cuenta.substr(std::min<size_t>(4, cuenta.size()), 4))
            .Izquierda(desde + 8, 2, cuenta.substr(std::min<size_t>(8, cuenta.size()), 2))
            .Izquierda(desde + 10, 10, cuenta.substr(std::min<size_t>(10, cuenta.size()), 10));
    }
    // Amount: 10 digits of whole units; false when it does not fit.
    bool Importe(size_t desde, long long unidades)
    {
        if (unidades < 0 || unidades >= kTopeImporteCSB)
            return false;
        Contador(unidades, desde, 10);
        return true;
    }
    std::string Limpio() { return std::move(LimpiaRegistroCSB(m_bytes)); }

private:
    std::string m_bytes;
};

bool Blanco(std::string_view texto)
{
    return texto.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view Trozo(std::string_view texto, size_t desde, size_t largo)
{
    return desde < texto.size() ? texto.substr(desde, largo) : std::string_view();
}

} // namespace

std::string &LimpiaRegistroCSB(std::string &registro)
{
    for (char &c : registro)
        c = kWindows1252[static_cast<unsigned char>(c)];
    LimpiaTextoCSB(registro);
    for (char &c : registro)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    return registro;
}

std::string ReferenciaBanco(std::string_view codigo)
{
    std::string escrito(codigo.substr(0, 12));
    // Small letters a to z as capitals, as a NIF's.
    return NifMayusculas(Recorta(LimpiaRegistroCSB(escrito)));
}

RegistrosCSB::RegistrosCSB(int tipoOrden, bool euros, const QDate &hoy, const QDate &fechaCargo)
    : m_tipo(tipoOrden), m_euros(euros), m_hoy(FechaBanco(hoy)),
      m_cargo(fechaCargo.isValid() ? FechaBanco(fechaCargo) : std::string())
{
}

std::string RegistrosCSB::Codigo(std::string_view nif, std::string_view sufijo)
{
    std::string codigo(12, ' ');
    codigo.replace(0, std::min<size_t>(9, nif.size()), NifMayusculas(nif.substr(0, 9)));
    codigo.replace(9, std::min<size_t>(3, sufijo.size()), sufijo.substr(0, 3));
    return codigo;
}

std::string RegistrosCSB::Codigos(const char *euro, const char *peseta, int dato) const
{
    return std::string(m_euros ? euro : peseta) + std::to_string(dato);
}

bool RegistrosCSB::SinCuenta(std::string_view cuenta)
{
    return Blanco(cuenta) || cuenta == "00000000000000000000";
}

std::string TextoImporteCSB(long long unidades, bool euros)
{
    if (!euros)
        return std::to_string(unidades);
    std::string centimos = std::to_string(unidades % 100);
    return std::to_string(unidades / 100) + "." + std::string(2 - centimos.size(), '0') + centimos;
}

std::string RegistrosCSB::CabeceraPresentador(const PresentadorCSB &p) const
{
    const std::string_view cargo = p.CuentaCargo;
    std::string_view banco = Trozo(cargo, 0, 4), oficina = Trozo(cargo, 4, 4);
    if (Blanco(banco) && Blanco(oficina))
        banco = oficina = "0000";
    return Registro()
        .Izquierda(1, 4, Codigos("51", "01", m_tipo == 1 ? 80 : 70))
        .Izquierda(5, 12, Codigo(p.IdNif, p.Sufijo))
        .Izquierda(17, 6, m_hoy)
        .Izquierda(29, 40, p.RazonSocial)
        .Izquierda(89, 4, banco)
        .Izquierda(93, 4, oficina)
        .Limpio();
}

std::string RegistrosCSB::CabeceraOrdenante(const EmisorCSB &e, bool conConcepto) const
{
    Registro r;
    r.Izquierda(1, 4, Codigos("53", "03", m_tipo == 1 ? 80 : 70))
        .Izquierda(5, 12, Codigo(e.IdNif, e.Sufijo))
        .Izquierda(17, 6, m_hoy)
        .Izquierda(29, 40, e.RazonSocial)
        .CuentaBancaria(69, e.CuentaAbono);
    if (m_tipo == 1)
        r.Izquierda(23, 6, m_cargo).Izquierda(97, 2, conConcepto ? "01" : "02").Ceros(109, 40);
    else
        r.Izquierda(97, 2, "06").Numero(151, 9, e.CodigoNIE);
    return r.Limpio();
}

std::string RegistrosCSB::PrimeraLinea(const ReciboCSB &recibo) const
{
    const std::string_view linea =
        recibo.Concepto.empty() ? std::string_view(recibo.PrimerConcepto) : Trozo(recibo.Concepto, 0, 40);
    return Blanco(linea) ? "." : std::string(linea);
}

std::optional<std::string> RegistrosCSB::Individual(const std::string &codigoEmisor, const ReciboCSB &b) const
{
    Registro r;
    r.Izquierda(1, 4, Codigos("56", "06", m_tipo == 1 ? 80 : 70))
        .Izquierda(5, 12, codigoEmisor)
        .Izquierda(17, 12, b.CodigoReferencia)
        .Izquierda(29, 40, b.RazonSocial)
        .Derecha(99, 6, b.CodDevolucion)
        .Derecha(105, 10, b.RefInterna)
        .Izquierda(115, 40, PrimeraLinea(b));
    if (m_tipo == 1 || !SinCuenta(b.Cuenta))
        r.CuentaBancaria(69, b.Cuenta);
    if (m_tipo == 2)
        r.Fecha(155, b.FVencimiento);
    if (!r.Importe(89, b.Importe))
        return std::nullopt;
    return r.Limpio();
}

std::vector<std::string> RegistrosCSB::Opcionales(const std::string &codigoEmisor, const ReciboCSB &b) const
{
    std::vector<std::string> registros;
    for (int n = 0; n < 5; ++n) {
        const size_t desde = 40 + 120 * size_t(n);
        std::string r = Registro()
                            .Izquierda(1, 4, Codigos("56", "06", (m_tipo == 1 ? 81 : 71) + n))
                            .Izquierda(5, 12, codigoEmisor)
                            .Izquierda(17, 12, b.CodigoReferencia)
                            .Izquierda(29, 40, Trozo(b.Concepto, desde, 40))
                            .Izquierda(69, 40, Trozo(b.Concepto, desde + 40, 40))
                            .Izquierda(109, 40, Trozo(b.Concepto, desde + 80, 40))
                            .Limpio();
        if (!Blanco(std::string_view(r).substr(28, 120)))
            registros.push_back(std::move(r));
    }
    return registros;
}

std::optional<std::string> RegistrosCSB::Domicilio(const std::string &codigoEmisor, const ReciboCSB &b) const
{
    Registro r;
    r.Izquierda(1, 4, Codigos("56", "06", m_tipo == 1 ? 86 : 76))
        .Izquierda(5, 12, codigoEmisor)
        .Izquierda(17, 12, b.CodigoReferencia);
    if (m_tipo == 1) {
        if (b.TitularCuenta.empty() || (Blanco(b.Direccion) && Blanco(b.Localidad) && b.CP.empty()))
            return std::nullopt;
        r.Izquierda(29, 40, b.TitularCuenta)
            .Izquierda(69, 40, b.Direccion)
            .Izquierda(109, 35, b.Localidad)
            .Numero(144, 5, b.CP);
    } else {
        if (!SinCuenta(b.Cuenta))
            return std::nullopt;
        r.Izquierda(29, 40, b.Direccion)
            .Izquierda(69, 35, b.Localidad)
            .Numero(104, 5, b.CP)
            .Izquierda(109, 38, b.LocOrdenante)
            .Numero(147, 2, b.CodProvinciaOrdenante)
            .Fecha(149, b.FFormalizacion);
    }
    return r.Limpio();
}

std::optional<std::string> RegistrosCSB::TotalOrdenante(const std::string &codigoEmisor, long long importe,
                                                        long long documentos, long long registros) const
{
    Registro r;
    r.Izquierda(1, 4, Codigos("58", "08", m_tipo == 1 ? 80 : 70))
        .Izquierda(5, 12, codigoEmisor)
        .Contador(documentos, 105, 10)
        .Contador(registros, 115, 10);
    if (!r.Importe(89, importe))
        return std::nullopt;
    return r.Limpio();
}

std::optional<std::string> RegistrosCSB::TotalGeneral(const std::string &codigoPresentador, long long ordenantes,
                                                      long long importe, long long documentos,
                                                      long long registros) const
{
    Registro r;
    r.Izquierda(1, 4, Codigos("59", "09", m_tipo == 1 ? 80 : 70))
        .Izquierda(5, 12, codigoPresentador)
        .Contador(ordenantes, 69, 4)
        .Contador(documentos, 105, 10)
        .Contador(registros, 115, 10);
    if (ordenantes > 9999 || !r.Importe(89, importe))
        return std::nullopt;
    return r.Limpio();
}
