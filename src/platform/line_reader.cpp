#include "platform/line_reader.h"

#include <sys/stat.h>

namespace velnor {
namespace {
constexpr int kEndOfFile = -1;
constexpr int kCtrlZ = 0x1A;
} // namespace

LineReader::~LineReader() {
    close();
}

bool LineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return false;
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0 || S_ISDIR(info.st_mode)) { // a folder is no file
        close();
        return false;
    }
    return true;
}

void LineReader::close() {
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    position_ = 0;
    atEnd_ = false;
    bufferPos_ = bufferLength_ = 0;
}

bool LineReader::seek(std::int64_t offset) {
    if (!file_ || offset < 0 || fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    position_ = offset;
    atEnd_ = false;
    bufferPos_ = bufferLength_ = 0;
    return true;
}

int LineReader::peekByte() {
    if (atEnd_)
        return kEndOfFile;
    if (bufferPos_ == bufferLength_) {
        bufferLength_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        bufferPos_ = 0;
        if (bufferLength_ == 0) {
            atEnd_ = true;
            return kEndOfFile;
        }
    }
    const int byte = buffer_[bufferPos_];
    if (byte == kCtrlZ) {
        atEnd_ = true;
        return kEndOfFile;
    }
    return byte;
}

int LineReader::getByte() {
    const int byte = peekByte();
    if (byte != kEndOfFile) {
        ++bufferPos_;
        ++position_;
    }
    return byte;
}

bool LineReader::next(TextLine& line) {
    if (!file_ || peekByte() == kEndOfFile)
        return false;
    text_.clear();
    line = TextLine{};
    line.offset = position_;
    for (int byte = getByte(); byte != kEndOfFile; byte = getByte()) {
        if (byte == '\n' || (byte == '\r' && peekByte() == '\n')) {
            if (byte == '\r')
                getByte();
            line.hasLineEnd = true;
            break;
        }
        if (byte == '\0')
            line.hasNul = true;
        if (line.hasNul)
            continue;
        if (text_.size() < kMaxLength)
            text_.push_back(static_cast<char>(byte));
        else
            line.truncated = true;
    }
    line.text = text_;
    line.end = position_;
    return true;
}

} // namespace velnor
