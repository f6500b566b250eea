// The frame heap tuning, in a process that has not yet freed a block of frame size
// (glibc would then raise its mmap threshold by itself).
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "core/FrameHeap.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kOwnAllocator = true;
#else
constexpr bool kOwnAllocator = false;
#endif

TEST(FrameHeapTest, AFrameSizedBlockComesFromTheHeapAndStaysThereWhenFreed)
{
    if (kOwnAllocator)
        GTEST_SKIP() << "the sanitizer's allocator ignores glibc's settings";
    ASSERT_TRUE(KeepFrameBuffersInHeap());
    const std::size_t frame = 24 * 1024 * 1024;
    const struct mallinfo2 before = mallinfo2();
    void* block = std::malloc(frame);
    ASSERT_NE(nullptr, block);
    std::memset(block, 1, frame);
    const struct mallinfo2 holding = mallinfo2();
    EXPECT_EQ(before.hblkhd, holding.hblkhd) << "the block was mapped on its own";
    EXPECT_GE(holding.uordblks, before.uordblks + frame);
    std::free(block);
    // Kept for the next frame rather than trimmed away.
    EXPECT_GE(mallinfo2().fordblks, frame);
}

}  // namespace
