// Stored passwords and the maintenance code.
#include "Trunpass.h"

#include "b_encrip.h"
#include "b_mem.h"

#include <cstdint>
#include <cstdio>

std::string CodificaPassword(std::string_view clave)
{
    if (clave.empty())
        return {};
    std::string trabajo(clave);
    BlockQuickEncript(trabajo.data(), static_cast<long>(trabajo.size()));
    char *letras = BinToAscii(trabajo.data(), static_cast<long>(trabajo.size()));
    if (!letras)
        return {};
    std::string guardada(letras);
    B_free(letras);
    return guardada;
}

std::string DecodificaPassword(std::string_view guardada)
{
    if (guardada.empty() || guardada.size() % 2 != 0)
        return {};
    const std::string letras(guardada);
    void *bytes = AsciiToBin(letras.c_str());
    if (!bytes)
        return {};
    const long n = static_cast<long>(letras.size() / 2);
    BlockQuickDecript(bytes, n);
    std::string clave(static_cast<const char *>(bytes), static_cast<size_t>(n));
    B_free(bytes);
    return clave;
}

std::string CodigoMantenimiento(const QDate &fecha)
{
    char digitos[9];
    std::snprintf(digitos, sizeof digitos, "%04u%02u%02u", static_cast<unsigned>(fecha.year()) % 10000u,
                  static_cast<unsigned>(fecha.month()) % 100u, static_cast<unsigned>(fecha.day()) % 100u);
    BlockQuickEncript(digitos, 8);
    std::uint32_t hash = 0x811C9DC5u;
    for (int i = 0; i < 8; ++i) {
        hash ^= static_cast<unsigned char>(digitos[i]);
        hash *= 0x01000193u;
    }
    char codigo[7];
    std::snprintf(codigo, sizeof codigo, "%06X", static_cast<unsigned>((hash & 0xFFFFFFu) ^ (hash >> 24)));
    return codigo;
}
