#include "platform/section_reader.h"

namespace velnor {

bool SectionReader::open(const std::string& path, std::int64_t offset) {
    restarted_ = false;
    if (!reader_.open(path))
        return false;
    if (!reader_.seek(offset))
        reader_.seek(0);
    return true;
}

bool SectionReader::next(TextLine& line, bool headerFound) {
    if (reader_.next(line))
        return true;
    if (headerFound || restarted_)
        return false;
    restarted_ = true;
    reader_.seek(0);
    return reader_.next(line);
}

} // namespace velnor
