// Records and files of the CSB tests, written by hand.
#pragma once

#include <cstdio>
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

// A file in euros of one issuer ("5180" CSB19, "5670" CSB58) with the bills given (individual record, optional and
// address records), its totals computed.
inline std::vector<std::string> Completa(const std::string &codigo, std::vector<std::string> registros)
{
    const char d = codigo[2];
    std::vector<std::string> f = {
        csb::Registro(codigo.substr(0, 1) + "1" + d + "0", {{5, "B65247983000"}, {29, "PRESENTADOR"}, {89, "00751454"}}),
        csb::Registro(codigo.substr(0, 1) + "3" + d + "0",
                      {{5, "B65247983000"}, {29, "EMISOR"}, {69, "00751454450500007790"}, {97, d == '8' ? "01" : "06"}})};
    long long importe = 0, documentos = 0;
    for (const std::string &r : registros) {
        f.push_back(r);
        if (r[1] == '6' && r[3] == '0') {
            importe += std::stoll(r.substr(88, 10));
            ++documentos;
        }
    }
    char t[64];
    std::snprintf(t, sizeof t, "%010lld", importe);
    const std::string suma = t;
    std::snprintf(t, sizeof t, "%010lld%010lld", documentos, (long long)f.size());
    f.push_back(csb::Registro(codigo.substr(0, 1) + "8" + d + "0", {{5, "B65247983000"}, {89, suma}, {105, t}}));
    std::snprintf(t, sizeof t, "%010lld%010lld", documentos, (long long)f.size() + 1);
    f.push_back(csb::Registro(codigo.substr(0, 1) + "9" + d + "0", {{69, "0001"}, {89, suma}, {105, t}}));
    return f;
}

inline std::string Individual58(const std::string &ref, const std::string &cuenta, const std::string &importe,
                         const std::string &vencimiento = "300630")
{
    return csb::Registro("5670", {{5, "B65247983000"}, {17, ref}, {29, "DEUDOR " + ref}, {69, cuenta}, {89, importe},
                                  {105, "      REF1"}, {115, "Primera linea"}, {155, vencimiento}});
}

inline std::string Domicilio58(const std::string &ref, const std::string &cp = "08208", const std::string &fecha = "240212")
{
    return csb::Registro("5676", {{5, "B65247983000"}, {17, ref}, {29, "Calle 1"}, {69, "Sabadell"}, {104, cp},
                                  {109, "Barcelona"}, {147, "08"}, {149, fecha}});
}

} // namespace csb
