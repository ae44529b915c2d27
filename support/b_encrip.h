// Byte scramblers and the letter encoding: reversible transformations that keep casual
// readers away from stored secrets (passwords, the database copy). None of them is
// encryption: they use no key beyond fixed masks, counters or the caller's seed.
//
// The block scrambler swaps each byte's nibbles, masks them with two fixed 4-bit masks and
// mixes in the byte's index (modulo 256) within the buffer passed. The index restarts at 0
// on every call, so data scrambled in blocks must be unscrambled with the same block
// boundaries. Stored passwords and scrambled database copies depend on the masks: they
// never change.
//
// Blocks returned here are of b_mem.h and are freed with B_free.
#pragma once

#include "quentaro_api.h"

QUENTARO_BEGIN

// Scrambles (unscrambles) length bytes in place; a length below 1 does nothing.
QUENTARO_API void BlockQuickEncript(void *buffer, long length);
QUENTARO_API void BlockQuickDecript(void *buffer, long length);
// The same two operations under their older names.
QUENTARO_API void encblock(void *buffer, long length);
QUENTARO_API void decblock(void *buffer, long length);

// The letter text of length bytes: two capitals "A".."P" per byte (high nibble, then low
// nibble; value v is "A" + v) and a terminator, in a new block of 2 x length + 1 bytes.
// Null for a length below 1 or when memory is short.
QUENTARO_API char *BinToAscii(const void *bytes, long length);
// The bytes of a letter text: a new block of strlen(text) / 2 bytes (no terminator added;
// the caller keeps the count). Letters are taken in pairs as (first - "A") x 16 +
// (second - "A"), also outside "A".."P". Null for a null, empty or odd-length text or when
// memory is short.
QUENTARO_API void *AsciiToBin(const char *text);

// Stream scrambler: the block scrambler with a running counter (one for each direction,
// counted across calls) in place of the index. It starts disabled.
// InitLocEncr: both counters to 0, enabled. DisableLocEncr: disabled (the two block
// operations do nothing).
QUENTARO_API void InitLocEncr(void);
QUENTARO_API void DisableLocEncr(void);
// Saves and restores both counters.
QUENTARO_API void SaveEncrPtr(void);
QUENTARO_API void RestoreEncrPtr(void);
// Scrambles in place with the encoding counter, a NUL byte first turned into a blank;
// unscrambles with the decoding counter, a byte that comes out NUL becoming a blank.
QUENTARO_API void LocEncBlock(void *buffer, long length);
QUENTARO_API void LocDecBlock(void *buffer, long length);

// A new text of two-digit uppercase hexadecimal pairs: at every fifth pair (0, 5, 10...)
// a random byte, and in the others each character of text, block-scrambled with the pair's
// position as index. The block holds (strlen / 4 + strlen) x 2 + 3 bytes. Null for a null
// text; no memory: fatal.
QUENTARO_API char *ASCIIZKey(const char *text);
// Replaces the random pairs of such a text with two blanks each, in place.
QUENTARO_API void ASCIIZKeyCleanUp(char *key);

// Shift scramblers over the 95 printable characters (codes 32 to 126; other bytes stay
// and do not count as previous characters): from offset on, each printable character moves
// by (key + its index in the text + the previous scrambled character) modulo 95, the
// previous character being 32 at the start. encripta/descripta derive the key from the
// first six characters of first and the first four of second (the sum of their byte
// values modulo 256); AscSeedEncript/AscSeedDecript use the seed as key. In place.
QUENTARO_API void encripta(char *text, long offset, const char *first, const char *second);
QUENTARO_API void descripta(char *text, long offset, const char *first, const char *second);
QUENTARO_API void AscSeedEncript(char *text, long seed);
QUENTARO_API void AscSeedDecript(char *text, long seed);
// Seeds the C library's random generator from the clock and returns its next number.
QUENTARO_API long AscSeedGenSeed(void);

// Per character up to a line feed or the terminator: codes 32 to 122 become
// (122 - code + counter) modulo 91 + 32, with a process-wide counter for each direction
// that grows by one for every character and is never reset. decript with the same counter
// value gives back what encript was given. In place.
QUENTARO_API void encript(char *text);
QUENTARO_API void decript(char *text);

// Spreads each byte over four bytes of two bits each, mixed with their position, in reverse
// order behind a first byte holding 4 x length: a new block of 4 x length + 1 bytes. Null
// for a length below 1 or above 63, or when memory is short.
QUENTARO_API unsigned char *B_encrip(const void *bytes, long length);
// The bytes back from such a block: a new block of data[0] / 4 bytes, its count stored in
// *length (which must not be null). Null (and *length 0) when data is null or not such a
// block, or when memory is short.
QUENTARO_API void *B_desencrip(const unsigned char *data, long *length);

QUENTARO_END
