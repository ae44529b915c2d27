/* The checksum of the bank's users file: a reflected 8-bit CRC kept in a 32-bit signed
 * register, fed byte by byte. With the polynomial 0xC5 and the start value 0 the register
 * stays between 0 and 255: "abc" gives 122, nothing gives 0. One register for the program;
 * main thread only. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Register 0, polynomial 0xC5. */
void InitCRC(void);
/* Replaces the polynomial until the next InitCRC; returns it. */
int32_t ChangeCRCPoly(int32_t polinomio);
/* Feeds one byte, least significant bit first. */
void CalcCRC(unsigned char byte);
/* The register. */
int32_t GimmeCRC(void);
/* Feeds every byte of the zero-terminated text; returns the register. */
int32_t str_CalcCRC(const char *texto);

#ifdef __cplusplus
}
#endif
