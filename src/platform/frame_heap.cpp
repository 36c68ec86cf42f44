#include "platform/frame_heap.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velnor {
namespace {

// Blocks up to this size come from the heap, not from a mapping of their own that is unmapped
// when they are freed: glibc's largest allowed, above a 2048 × 1536 window's 12.6 MB picture.
constexpr int kLargestHeapBlock = 32 << 20;
// Free space at the heap's top up to this size stays with the process: two pictures of the
// largest size with room to spare.
constexpr int kKeptFreeTop = 64 << 20;

} // namespace

bool keepFrameBuffersInHeap() {
#if defined(__GLIBC__)
    // Either setting turns off glibc's own adjusting of both, so both are set.
    return mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock) == 1 &&
           mallopt(M_TRIM_THRESHOLD, kKeptFreeTop) == 1;
#else
    return false;
#endif
}

} // namespace velnor
