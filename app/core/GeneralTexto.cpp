// Cleaning of free text for SQL and for bank files.
#include "General.h"

#include <array>

namespace {

// The bank's cleaning table: what each byte becomes in a bank file.
constexpr std::array<unsigned char, 256> TablaCSB()
{
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<unsigned char>(b);
    auto pon = [&t](std::initializer_list<int> bytes, char a) {
        for (int b : bytes)
            t[b] = static_cast<unsigned char>(a);
    };
    for (int b = 1; b <= 7; ++b)
        t[b] = ' ';
    for (int b = 14; b <= 27; ++b)
        t[b] = ' ';
    for (int b = 171; b <= 255; ++b)
        t[b] = ' ';
    // A NUL inside a text would reach the file as a byte the bank cannot read.
    t[0] = ' ';
    pon({0x0B, 0x0C, 0x1E, 0x1F}, ' ');
    pon({'!', '"', '$', '\'', ',', ':', ';', '=', '?', '@'}, ' ');
    pon({'#', '%', '&'}, '/');
    pon({'[', '{'}, '(');
    pon({']', '}'}, ')');
    pon({'\\', '^', '_', '`', '|', '~', 0x7F}, ' ');
    pon({0x80, 0x87}, 'Z');
    pon({0x81}, 'V');
    pon({0x82, 0x88, 0x89, 0x8A, 0x90}, 'E');
    pon({0x83, 0x84, 0x85, 0x86, 0x8E, 0x8F, 0xA0}, 'A');
    pon({0x8B, 0x8C, 0x8D, 0xA1}, 'I');
    pon({0x93, 0x94, 0x95, 0x99, 0xA2}, 'O');
    pon({0x96, 0x97, 0x9A, 0xA3}, 'U');
    pon({0x98}, 'Y');
    pon({0x9B}, 'C');
    pon({0x9C}, 'L');
    pon({0x9E}, 'P');
    pon({0xA4, 0xA5}, '/');
    pon({0xA6, 0xA7}, '.');
    pon({0x91, 0x92, 0x9D, 0x9F, 0xA8, 0xA9, 0xAA}, ' ');
    return t;
}

constexpr std::array<unsigned char, 256> kTablaCSB = TablaCSB();

} // namespace

std::string LimpiaTexto(std::string_view original)
{
    std::string texto(original);
    const size_t n = texto.size();
    for (size_t i = 0; i < n; ++i) {
        char &c = texto[i];
        if (c == ',' && i + 1 < n && texto[i + 1] == ',')
            c = ' ';
        else if (c == '|')
            c = '\xA6';
    }
    return texto;
}

std::string DoblaComillas(std::string_view texto)
{
    std::string r;
    r.reserve(texto.size());
    for (char c : texto) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    return r;
}

std::string LimpiaTextoSQL(std::string_view texto)
{
    return DoblaComillas(LimpiaTexto(texto));
}

std::string &LimpiaTextoCSB(std::string &texto)
{
    for (char &c : texto)
        c = static_cast<char>(kTablaCSB[static_cast<unsigned char>(c)]);
    return texto;
}

std::string Recorta(std::string_view texto)
{
    const size_t inicio = texto.find_first_not_of(' ');
    if (inicio == std::string_view::npos)
        return {};
    return std::string(texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1));
}

std::string Citados(const std::vector<std::string> &textos)
{
    std::string lista;
    for (const std::string &texto : textos)
        lista += (lista.empty() ? "'" : ", '") + texto + "'";
    return lista;
}
