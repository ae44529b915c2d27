// Passwords in their stored form, and the maintenance code of the day.
//
// Texts are Windows-1252.
#pragma once

#include <QDate>
#include <string>
#include <string_view>

// The stored form of a password: its bytes scrambled with quentaro's BlockQuickEncript and
// written as two letters "A" to "P" per byte (BinToAscii). The empty password is stored as
// the empty text. Passwords are compared only in this form.
std::string CodificaPassword(std::string_view clave);

// The clear password of a stored form (AsciiToBin, then BlockQuickDecript); the empty text
// for the empty form and for a form of odd length, which no password gives.
std::string DecodificaPassword(std::string_view guardada);

// The maintenance code of a day: six upper-case hexadecimal digits that enable user
// administration before anybody logs in. It is stored nowhere. Derivation: the date written
// as the eight digits "yyyymmdd" is scrambled with BlockQuickEncript; the eight scrambled
// bytes are hashed with 32-bit FNV-1a (offset basis 0x811C9DC5, prime 0x01000193); the code
// is the low 24 bits of the hash XORed with its high 8 bits, printed as "%06X". Support
// staff build it with this same function.
std::string CodigoMantenimiento(const QDate &fecha = QDate::currentDate());
