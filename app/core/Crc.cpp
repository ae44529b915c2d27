// The checksum of the bank's users file.
#include "Crc.h"

namespace {

int32_t g_registro = 0;
int32_t g_polinomio = 0xC5;

} // namespace

extern "C" {

void InitCRC(void)
{
    g_registro = 0;
    g_polinomio = 0xC5;
}

int32_t ChangeCRCPoly(int32_t polinomio)
{
    g_polinomio = polinomio;
    return polinomio;
}

void CalcCRC(unsigned char byte)
{
    for (int bit = 0; bit < 8; ++bit) {
        const int dato = (byte >> bit) & 1;
        // The shift is arithmetic, as the register is signed.
        g_registro = (g_registro & 1) != dato ? (g_registro >> 1) ^ g_polinomio : g_registro >> 1;
    }
}

int32_t GimmeCRC(void)
{
    return g_registro;
}

int32_t str_CalcCRC(const char *texto)
{
    for (; *texto; ++texto)
        CalcCRC(static_cast<unsigned char>(*texto));
    return g_registro;
}

} // extern "C"
