// Memory blocks: headers, resizing, the fatal checks and the byte helpers.
#include "b_error.h"
#include "b_mem.h"
#include "sandbox.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using quentaro_test::literal;

namespace {

TEST(Blocks, AlignedResizableAndPadded)
{
    char *block = static_cast<char *>(B_calloc(3));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
    EXPECT_EQ(std::memcmp(block, "\0\0\0", 3), 0);
    std::memcpy(block, "abc", 3);
    block = static_cast<char *>(B_realloc(block, 5000));
    EXPECT_EQ(std::memcmp(block, "abc", 3), 0) << "contents survive a move";
    EXPECT_EQ(B_null_realloc(block, SIZE_MAX - 4), nullptr);
    EXPECT_EQ(std::memcmp(block, "abc", 3), 0) << "a failed resize keeps the old block";
    B_free(block);
    EXPECT_EQ(B_null_malloc(SIZE_MAX), nullptr) << "size + header overflows";

    char *padded = B_strndup("ab", 6);
    EXPECT_EQ(std::memcmp(padded, "ab\0  \0", 6), 0) << "blanks behind the terminator";
    B_free(padded);
    padded = B_null_strndup("abcdef", 2);
    EXPECT_STREQ(padded, "abcdef") << "never shorter than the text";
    B_free(padded);
}

TEST(Blocks, FatalChecks)
{
    struct Row {
        std::function<void()> call;
        const char *message;
        const char *error;
    };
    void *owned = B_calloc(64);
    const Row rows[] = {
        {[] { B_free(nullptr); }, "B_free no tira.", "Free: mal puntero"},
        {[&] { B_free(static_cast<char *>(owned) + 32); }, "B_free no tira.", "Free: mal puntero"},
        {[] { B_malloc(0); }, "B_malloc 0 bytes pedidos. De que vais?", "Mal tama\xC3\xB1o"},
        {[] { B_null_malloc(0); }, "B_null_malloc 0 bytes pedidos. De que vais?", "Mal tama\xC3\xB1o"},
        {[] { B_realloc(nullptr, 4); }, "B_realloc necesita un masaje.", "Realloc: mal puntero"},
        {[] { B_null_realloc(nullptr, 4); }, "B_realloc necesita un masaje.", "Realloc: mal puntero"},
        {[&] { B_realloc(owned, 0); }, "B_realloc 0 bytes pedidos. De que vais?", "Mal tama\xC3\xB1o"},
        {[] { B_realloc(B_malloc(1), SIZE_MAX - 4); }, "Que podemos agregar...", "Sin memoria en realloc"},
        {[] { B_malloc(SIZE_MAX); }, "B_malloc overflow: me han pedido ", "Sin memoria en malloc"},
        {[] { B_strdup(nullptr); }, "B_strdup de un texto nulo.", "Mal puntero"},
    };
    for (const Row &row : rows)
        EXPECT_EXIT(row.call(), testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                    "^" + literal("\nSistema de error sin inicializar:\n\n Sistema de control de "
                                  "errores:\n\n     Debug msg      : ") +
                        literal(row.message) + ".*Fichero        : b_mem.*Error detallado: " +
                        literal(row.error) + "\n")
            << row.message;
    B_free(owned);
}

TEST(Bytes, OverlappingCopiesAndSetSearch)
{
    char up[] = "abcdef", down[] = "abcdef";
    B_memcpy(up + 1, up, 4);
    B_memcpy(down, down + 1, 4);
    EXPECT_STREQ(up, "aabcdf");
    EXPECT_STREQ(down, "bcdeef");

    const char area[] = "xx\0yz";
    EXPECT_EQ(B_memchrstr(area, 5, "zy", 2), area + 3) << "the earliest position wins";
    EXPECT_EQ(B_memchrstr(area, 5, "\0", 1), area + 2) << "a NUL byte is searchable";
    EXPECT_EQ(B_memchrstr(area, 4, "z", 1), nullptr) << "beyond n";
    EXPECT_EQ(B_memchrstr(area, 5, "", 0), nullptr);
    EXPECT_GT(B_memcmp("\x80", "\x7F", 1), 0) << "bytes compare unsigned";
}

} // namespace
