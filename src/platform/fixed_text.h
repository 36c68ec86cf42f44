#pragma once

#include <cstddef>
#include <string_view>

// Text in the game's files and records is Shift-JIS bytes kept in fixed NUL-terminated fields.
// These helpers cut such text to a field without splitting a two-byte character.

namespace velnor {

// True for the first byte of a two-byte Shift-JIS character (0x81-0x9F, 0xE0-0xFC).
bool isShiftJisLeadByte(unsigned char byte);

// Calls `visit` with each character of Shift-JIS `text`: its first byte and its length, 1 or 2
// (the second byte of a two-byte character may be any byte, "\" and "|" included).
template <typename Visit> void forEachCharacter(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair =
            isShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        visit(i, pair ? 2u : 1u);
        if (pair)
            ++i;
    }
}

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a character boundary.
std::size_t shiftJisPrefixLength(std::string_view text, std::size_t maxBytes);

// Copies `text` (up to its first NUL) into the field `dst` of `size` bytes, cut to size - 1 bytes
// at a character boundary, and NUL-terminates it. A field of size 0 is left alone.
void copyText(char* dst, std::size_t size, std::string_view text);

template <std::size_t N> void copyText(char (&dst)[N], std::string_view text) {
    copyText(dst, N, text);
}

// The text of a NUL-terminated field of N bytes (never reads past the field).
template <std::size_t N> std::string_view fieldText(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0')
        ++length;
    return {field, length};
}

} // namespace velnor
