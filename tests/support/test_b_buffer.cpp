// The byte queue: growth after compaction, removal and misuse.
#include "b_buffer.h"
#include "sandbox.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using quentaro_test::Sandbox;

namespace {

std::string held(B_Buf_t *queue)
{
    std::string bytes;
    for (size_t i = 0; i < queue->uLen; ++i)
        bytes += char(B_BufAt(queue, i));
    return bytes;
}

TEST(ByteQueue, HeldBytesMoveToTheFrontBeforeTheBlockGrows)
{
    B_Buf_t queue;
    ASSERT_EQ(B_BufCons(&queue, 10), &queue);
    ASSERT_EQ(B_BufAdd(&queue, "0123456789", 10), 0);
    char taken[8];
    EXPECT_EQ(B_BufRemove(&queue, taken, 8), 8u);
    EXPECT_EQ(std::string(taken, 8), "01234567");
    EXPECT_EQ(queue.uStart, 8u);
    const std::string more(100, 'x');
    ASSERT_EQ(B_BufAdd(&queue, more.data(), more.size()), 0);
    EXPECT_EQ(queue.uStart, 0u) << "start 8 > held 2: moved to the front";
    EXPECT_EQ(queue.uSize, 122u) << "102 needed + start 0 + 20";
    EXPECT_EQ(held(&queue), "89" + more);
    B_BufDest(&queue);
}

TEST(ByteQueue, RemovingEverythingRestartsAtTheFront)
{
    B_Buf_t *queue = B_BufCons(nullptr, 0);
    EXPECT_EQ(queue->uSize, 100u);
    EXPECT_EQ(queue->bAlloc, 1);
    B_BufAddByte(queue, 0xFF);
    B_BufAddByte(queue, 'a');
    EXPECT_EQ(B_BufAt(queue, 0), 0xFF);
    EXPECT_EQ(B_BufRemove(queue, nullptr, 1), 1u);
    EXPECT_EQ(queue->uStart, 1u);
    EXPECT_EQ(B_BufRemove(queue, nullptr, 1), 1u);
    EXPECT_EQ(queue->uStart, 0u);
    const std::string sixty(60, 's');
    B_BufAdd(queue, sixty.data(), 60);
    ASSERT_EQ(B_BufAdd(queue, queue->pData + queue->uStart, 60), 0);
    EXPECT_EQ(held(queue), sixty + sixty) << "bytes added from the queue itself while it grows";
    B_BufFlush(queue);
    EXPECT_EQ(queue->uLen, 0u);
    B_BufDest(queue);
}

TEST(ByteQueue, MisuseRaisesAnAssertionAndDoesNothing)
{
    Sandbox sandbox;
    B_Buf_t queue;
    B_BufCons(&queue, 4);
    B_BufAdd(&queue, "ab", 2);
    EXPECT_EQ(B_BufAt(&queue, 2), 0);
    char out[4];
    EXPECT_EQ(B_BufRemove(&queue, out, 3), 2u);
    EXPECT_EQ(std::string(out, 2), "ab");
    EXPECT_EQ(B_BufAdd(nullptr, "a", 1), -1);
    queue.uLen = 99;
    EXPECT_EQ(B_BufAdd(&queue, "a", 1), -1);
    queue.uLen = 0;
    EXPECT_EQ(sandbox.messages(), (std::vector<std::string>{"Incorrect byte requested!",
                                                            "Not enough bytes in the buffer!", "Null!",
                                                            "Internal inconsistency!"}));
    EXPECT_NE(sandbox.log().find("CONDITION : B_BufTestInternal( pbuf ) >= 0\nFILE      : b_buffer\n"),
              std::string::npos);
    B_BufDest(&queue);
}

} // namespace
