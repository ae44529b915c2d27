// Size-headed blocks over the C allocator, and the byte helpers.
#include "b_mem.h"

#include "b_private.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char *kFamily = "b_mem";
constexpr size_t kMark = 0x51756E7461426C6BULL;

// Sits in front of the caller's bytes and keeps them at the allocator's full alignment.
struct alignas(std::max_align_t) Header {
    size_t total; // header included
    size_t mark;
};

// Room for the header, or SIZE_MAX when size + header overflows (then the request fails).
size_t withHeader(size_t size)
{
    return size > SIZE_MAX - sizeof(Header) ? SIZE_MAX : size + sizeof(Header);
}

void *place(void *raw, size_t total)
{
    Header *header = static_cast<Header *>(raw);
    header->total = total;
    header->mark = kMark;
    return header + 1;
}

// The header of a block of this family, or null for a null or foreign address.
Header *headerOf(void *block)
{
    if (!block)
        return nullptr;
    Header *header = static_cast<Header *>(block) - 1;
    return header->mark == kMark ? header : nullptr;
}

void *allocate(size_t size)
{
    size_t total = withHeader(size);
    void *raw = total == SIZE_MAX ? nullptr : std::malloc(total);
    return raw ? place(raw, total) : nullptr;
}

void *resize(void *block, size_t size)
{
    Header *header = headerOf(block);
    if (!header)
        B_FATAL(kFamily, "B_realloc necesita un masaje.", B_ERR_REALLOC_POINTER);
    if (size == 0)
        B_FATAL(kFamily, "B_realloc 0 bytes pedidos. De que vais?", B_ERR_SIZE);
    size_t total = withHeader(size);
    void *raw = total == SIZE_MAX ? nullptr : std::realloc(header, total);
    return raw ? place(raw, total) : nullptr;
}

char *duplicate(const char *text, bool fatal)
{
    if (!text)
        B_FATAL(kFamily, "B_strdup de un texto nulo.", B_ERR_POINTER);
    size_t size = std::strlen(text) + 1;
    void *block = fatal ? B_malloc_tagged(size, __LINE__, kFamily)
                        : B_null_malloc_tagged(size, __LINE__, kFamily);
    return block ? static_cast<char *>(std::memcpy(block, text, size)) : nullptr;
}

char *padded(const char *text, size_t n, bool fatal)
{
    if (!text)
        B_FATAL(kFamily, "B_strdup de un texto nulo.", B_ERR_POINTER);
    size_t length = std::strlen(text) + 1;
    size_t size = length > n ? length : n;
    char *block = static_cast<char *>(fatal ? B_malloc_tagged(size, __LINE__, kFamily)
                                            : B_null_malloc_tagged(size, __LINE__, kFamily));
    if (!block)
        return nullptr;
    std::memset(block, ' ', size - 1);
    block[size - 1] = '\0';
    return static_cast<char *>(std::memcpy(block, text, length));
}

} // namespace

void *B_malloc_tagged(size_t size, int, const char *)
{
    if (size == 0)
        B_FATAL(kFamily, "B_malloc 0 bytes pedidos. De que vais?", B_ERR_SIZE);
    void *block = allocate(size);
    if (!block) {
        char message[96];
        std::snprintf(message, sizeof message, "B_malloc overflow: me han pedido %lu bytes.",
                      (unsigned long)withHeader(size));
        B_FATAL(kFamily, message, B_ERR_MALLOC);
    }
    return block;
}

void *B_calloc_tagged(size_t size, int tagLine, const char *tagFile)
{
    return std::memset(B_malloc_tagged(size, tagLine, tagFile), 0, size);
}

void *B_realloc(void *block, size_t size)
{
    void *moved = resize(block, size);
    if (!moved)
        B_FATAL(kFamily, "Que podemos agregar...", B_ERR_REALLOC);
    return moved;
}

void *B_null_malloc_tagged(size_t size, int, const char *)
{
    if (size == 0)
        B_FATAL(kFamily, "B_null_malloc 0 bytes pedidos. De que vais?", B_ERR_SIZE);
    return allocate(size);
}

void *B_null_calloc_tagged(size_t size, int tagLine, const char *tagFile)
{
    void *block = B_null_malloc_tagged(size, tagLine, tagFile);
    return block ? std::memset(block, 0, size) : nullptr;
}

void *B_null_realloc(void *block, size_t size)
{
    return resize(block, size);
}

char *B_strdup_tagged(const char *text, int, const char *)
{
    return duplicate(text, true);
}

char *B_null_strdup_tagged(const char *text, int, const char *)
{
    return duplicate(text, false);
}

char *B_strndup(const char *text, size_t n)
{
    return padded(text, n, true);
}

char *B_null_strndup(const char *text, size_t n)
{
    return padded(text, n, false);
}

void B_free(void *block)
{
    Header *header = headerOf(block);
    if (!header)
        B_FATAL(kFamily, "B_free no tira.", B_ERR_FREE_POINTER);
    header->mark = 0;
    std::free(header);
}

void B_free_all(void) {}
void B_init_test(void) {}
void B_do_test(void) {}

int B_test_all_pointers(void)
{
    return 0;
}

void *B_memcpy(void *dest, const void *src, size_t n)
{
    return std::memmove(dest, src, n);
}

void *B_memset(void *dest, int byte, size_t n)
{
    return std::memset(dest, byte, n);
}

int B_memcmp(const void *a, const void *b, size_t n)
{
    return std::memcmp(a, b, n);
}

void *B_memchr(const void *area, int byte, size_t n)
{
    return const_cast<void *>(std::memchr(area, byte, n));
}

void *B_memchrstr(const void *area, size_t n, const void *set, size_t setLength)
{
    const unsigned char *bytes = static_cast<const unsigned char *>(area);
    for (size_t i = 0; i < n; ++i)
        if (std::memchr(set, bytes[i], setLength))
            return const_cast<unsigned char *>(bytes + i);
    return nullptr;
}
