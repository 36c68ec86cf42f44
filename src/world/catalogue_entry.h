#pragma once

#include <cstdint>

namespace velnor {

// One listed course or car: what the selection lists show and where to read it again.
// Texts are NUL-terminated Shift-JIS bytes, cut to their field at a character boundary.
struct CatalogueEntry {
    static constexpr int kNameSize = 32;
    static constexpr int kCommentSize = 256;
    static constexpr int kPathSize = 260;

    char name[kNameSize] = {};       // from the header line, at most 31 bytes
    char comment[kCommentSize] = {}; // a course's comment, a car's summary text
    char path[kPathSize] = {};       // the file, relative to the game directory, "/"-separated
    std::int32_t offset = 0;         // byte position of the header line in the file; -1 unknown
};

} // namespace velnor
