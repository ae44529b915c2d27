// The byte queue over one b_mem.h block, and the shared scratch buffer.
#include "b_buffer.h"

#include "b_mem.h"
#include "b_private.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr const char *kFamily = "b_buffer";
constexpr int kWord = B_DEBUG_ALL | B_DEBUG_PARAMS;
constexpr size_t kDefaultCapacity = 100;
constexpr size_t kGrowSpare = 20;

char g_scratch[B_BUFFER_LEN];

#define BUF_CHECK(ok, message, condition) B_CHECK(kWord, kFamily, (ok), (message), (condition))

int B_BufTestInternal(const B_Buf_t *queue)
{
    if (!queue->pData)
        return queue->uSize == 0 && queue->uLen == 0 && queue->uStart == 0 ? 0 : -1;
    return queue->uStart <= queue->uSize && queue->uLen <= queue->uSize - queue->uStart ? 0 : -1;
}

bool consistent(const B_Buf_t *queue)
{
    return BUF_CHECK(B_BufTestInternal(queue) >= 0, "Internal inconsistency!",
                     "B_BufTestInternal( pbuf ) >= 0");
}

// The checks every operation makes before its work.
bool usable(const B_Buf_t *queue)
{
    return BUF_CHECK(queue != nullptr, "Null!", "pbuf != NULL") && consistent(queue);
}

} // namespace

B_Buf_t *B_BufCons(B_Buf_t *queue, size_t capacity)
{
    if (capacity == 0)
        capacity = kDefaultCapacity;
    B_Buf_t *record = queue;
    if (!record) {
        record = static_cast<B_Buf_t *>(B_null_malloc_tagged(sizeof(B_Buf_t), __LINE__, kFamily));
        if (!record)
            return nullptr;
    }
    void *data = B_null_malloc_tagged(capacity, __LINE__, kFamily);
    if (!data) {
        if (!queue)
            B_free(record);
        return nullptr;
    }
    *record = B_Buf_t{static_cast<unsigned char *>(data), capacity, 0, 0, queue == nullptr};
    return record;
}

void B_BufDest(B_Buf_t *queue)
{
    if (!BUF_CHECK(queue != nullptr, "Null!", "pbuf != NULL"))
        return;
    if (queue->pData)
        B_free(queue->pData);
    if (queue->bAlloc)
        B_free(queue);
}

int B_BufGrowTo(B_Buf_t *queue, size_t size)
{
    if (!usable(queue))
        return -1;
    if (queue->uStart > queue->uLen) {
        std::memcpy(queue->pData, queue->pData + queue->uStart, queue->uLen);
        queue->uStart = 0;
    }
    if (size > queue->uSize - queue->uStart) {
        size_t capacity = size + queue->uStart + kGrowSpare;
        if (capacity < size)
            return -1;
        void *data = queue->pData ? B_null_realloc(queue->pData, capacity)
                                  : B_null_malloc_tagged(capacity, __LINE__, kFamily);
        if (!data)
            return -1;
        queue->pData = static_cast<unsigned char *>(data);
        queue->uSize = capacity;
    }
    consistent(queue);
    return 0;
}

int B_BufAdd(B_Buf_t *queue, const void *bytes, size_t n)
{
    if (!usable(queue))
        return -1;
    if (n == 0)
        return 0;
    if (!BUF_CHECK(bytes != nullptr, "Null!", "pvData != NULL"))
        return -1;
    // Held bytes added again follow the block when it moves.
    const unsigned char *source = static_cast<const unsigned char *>(bytes);
    const unsigned char *held = queue->pData ? queue->pData + queue->uStart : nullptr;
    bool fromHeld = held && source >= held && source < held + queue->uLen;
    size_t offset = fromHeld ? size_t(source - held) : 0;
    if (n > SIZE_MAX - queue->uLen || B_BufGrowTo(queue, queue->uLen + n) < 0)
        return -1;
    if (fromHeld)
        source = queue->pData + queue->uStart + offset;
    std::memmove(queue->pData + queue->uStart + queue->uLen, source, n);
    queue->uLen += n;
    consistent(queue);
    return 0;
}

int B_BufAddByte(B_Buf_t *queue, int byte)
{
    unsigned char value = (unsigned char)byte;
    return B_BufAdd(queue, &value, 1);
}

unsigned char B_BufAt(B_Buf_t *queue, size_t offset)
{
    if (!usable(queue) ||
        !BUF_CHECK(offset < queue->uLen, "Incorrect byte requested!", "uOffset < pbuf->uLen"))
        return 0;
    return queue->pData[queue->uStart + offset];
}

size_t B_BufRemove(B_Buf_t *queue, void *dest, size_t n)
{
    if (!usable(queue))
        return 0;
    BUF_CHECK(n <= queue->uLen, "Not enough bytes in the buffer!", "uHowMany <= pbuf->uLen");
    size_t count = n < queue->uLen ? n : queue->uLen;
    if (dest && count)
        std::memcpy(dest, queue->pData + queue->uStart, count);
    queue->uStart += count;
    queue->uLen -= count;
    if (queue->uLen == 0)
        queue->uStart = 0;
    consistent(queue);
    return count;
}

void B_BufFlush(B_Buf_t *queue)
{
    if (!usable(queue))
        return;
    queue->uStart = 0;
    queue->uLen = 0;
}

char *B_Buffer(void)
{
    return g_scratch;
}
