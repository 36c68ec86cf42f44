#include "platform/frame_heap.h"

#include <cstdlib>
#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velnor {
namespace {

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)

// A picture of the window's size, made and dropped again in every frame, comes from the heap
// and leaves its memory there when it is dropped: the next frame's picture takes the same memory
// without asking the system for it again.
TEST(FrameHeapTest, AFramesPictureIsServedFromTheHeapAndKeptThere) {
    struct Case {
        const char* name;
        std::size_t bytes;
    };
    const Case cases[] = {
        {"640 x 480", 640 * 480 * 4},
        {"1920 x 1080", 1920 * 1080 * 4},
        {"2048 x 1536", 2048 * 1536 * 4},
    };
    ASSERT_TRUE(keepFrameBuffersInHeap());
    for (const Case& c : cases) {
        const std::size_t heapBefore = mallinfo2().arena;
        void* picture = std::malloc(c.bytes);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(mallinfo2().hblkhd, 0u) << c.name << ": a mapping of its own";
        EXPECT_GE(mallinfo2().arena, c.bytes) << c.name;
        const std::size_t heapHeld = mallinfo2().arena;
        std::free(picture);
        // Dropped, it stays in the heap: the heap is as large as while it was held.
        EXPECT_EQ(mallinfo2().arena, heapHeld) << c.name << ": the heap was trimmed";
        void* next = std::malloc(c.bytes);
        EXPECT_EQ(next, picture) << c.name << ": the next frame's picture moved";
        EXPECT_EQ(mallinfo2().arena, heapHeld) << c.name << ": the heap grew again";
        std::free(next);
        EXPECT_GE(heapHeld, heapBefore) << c.name;
    }
}

#endif

} // namespace
} // namespace velnor
