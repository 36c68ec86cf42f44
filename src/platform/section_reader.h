#pragma once

#include "platform/line_reader.h"

#include <cstdint>
#include <string>

namespace velnor {

// Reads the lines of one listed section (a car or a course) of a data file: from the byte
// position stored when the file was listed and, when the end of the file comes before the
// section's header was met (the file was edited since), once more from the start.
class SectionReader {
public:
    // False if the file cannot be opened. A position the file cannot seek to reads from the start.
    bool open(const std::string& path, std::int64_t offset);

    // The next line; false at the end. `headerFound` tells whether the section's header has been
    // met: until it has, the end of the file leads back to its start, once.
    bool next(TextLine& line, bool headerFound);

private:
    LineReader reader_;
    bool restarted_ = false;
};

} // namespace velnor
