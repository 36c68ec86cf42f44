#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace velnor {

// One line of a text file as the game reads it.
struct TextLine {
    std::string_view text;   // the line without its line end, at most LineReader::kMaxLength bytes
    std::int64_t offset = 0; // byte position in the file where the line begins
    std::int64_t end = 0;    // byte position just after the line and its line end
    bool truncated = false;  // the line was longer than kMaxLength; the rest was skipped
    bool hasLineEnd = false; // false for a last line that ends at the end of the file
    bool hasNul = false;     // a NUL byte ended the text early (the rest of the line is skipped)
};

// Reads a data file line by line as a Windows program reads a file in text mode: "\r\n" and "\n"
// end a line (a lone "\r" is text), a Ctrl-Z byte ends the file, and every position is a byte
// position in the file, so that a stored position can be sought again. A line longer than the
// game's line buffer is cut to it and the rest of the line is skipped, so an over-long line never
// spills into the next one. A NUL byte ends a line's text, as it ends a C string (a UTF-16 file
// thus reads as nothing). The text returned stays valid until the next call.
class LineReader {
public:
    // The longest line text the game takes: a 1024-byte buffer holds 1023 characters with the
    // line end, and the line end is dropped.
    static constexpr std::size_t kMaxLength = 1022;

    LineReader() = default;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    bool open(const std::string& path);
    void close();
    // A read error occurred (as opposed to the end of the file).
    bool failed() const { return file_ != nullptr && std::ferror(file_) != 0; }

    // Continues reading at byte position `offset` (0 = the start). False if it cannot seek.
    bool seek(std::int64_t offset);

    // The next line; false at the end of the file.
    bool next(TextLine& line);

private:
    int getByte();
    int peekByte();

    std::FILE* file_ = nullptr;
    std::string text_;
    std::int64_t position_ = 0;
    bool atEnd_ = false;
    unsigned char buffer_[16384];
    std::size_t bufferPos_ = 0;
    std::size_t bufferLength_ = 0;
};

} // namespace velnor
