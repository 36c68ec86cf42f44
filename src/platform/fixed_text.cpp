#include "platform/fixed_text.h"

#include <cstring>

namespace velnor {

bool isShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t shiftJisPrefixLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t length = 0;
    while (length < maxBytes) {
        const std::size_t width =
            isShiftJisLeadByte(static_cast<unsigned char>(text[length])) ? 2 : 1;
        if (length + width > maxBytes)
            break;
        length += width;
    }
    return length;
}

void copyText(char* dst, std::size_t size, std::string_view text) {
    if (size == 0)
        return;
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    const std::size_t length = shiftJisPrefixLength(text, size - 1);
    if (length > 0) // an empty view may hold no pointer at all
        std::memcpy(dst, text.data(), length);
    dst[length] = '\0';
}

} // namespace velnor
