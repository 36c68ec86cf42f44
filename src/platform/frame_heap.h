#pragma once

namespace velnor {

// The window composes each frame through temporary pictures the size of the window: for every
// frame in which a raster panel over the 3D view was redrawn, Qt copies its whole backing store
// and then the changed part of it for the upload to the compositor's texture (1.2 MB each at
// 640 × 480, 8 MB at 1920 × 1080). With the C library's own settings the heap grows for them and
// is trimmed back when they are freed: two or three system calls and hundreds of fresh,
// zero-filled pages every frame. This keeps such blocks in the heap, and the heap's freed top in
// place, so the same memory serves them frame after frame.
//
// Call once at start, before the window is made. Returns false where the C library takes no such
// settings (then nothing changed).
bool keepFrameBuffersInHeap();

} // namespace velnor
