// Records and files of the CSB tests, written by hand.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace csb {

// A record of 162 characters: the four-character code, then each text at its 1-based
// column, blanks elsewhere.
inline std::string Registro(const std::string &codigo, std::initializer_list<std::pair<size_t, std::string>> campos)
{
    std::string r(162, ' ');
    r.replace(0, codigo.size(), codigo);
    for (const auto &[pos, texto] : campos)
        r.replace(pos - 1, texto.size(), texto);
    return r;
}

// The records, each followed by CR LF.
inline std::string Fichero(const std::vector<std::string> &registros)
{
    std::string f;
    for (const std::string &r : registros)
        f += r + "\r\n";
    return f;
}

} // namespace csb
