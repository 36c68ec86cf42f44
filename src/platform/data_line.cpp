#include "platform/data_line.h"

#include <algorithm>

namespace velnor {

std::string_view headerName(std::string_view line) {
    const std::size_t open = line.find('[');
    if (open == std::string_view::npos || open + 1 >= line.size())
        return {};
    return line.substr(open + 1, line.size() - 1 - (open + 1));
}

std::string_view trimTrailingSpaces(std::string_view line) {
    const std::size_t last = line.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

std::string_view trimLeadingSpaces(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::string_view firstWord(std::string_view value) {
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    const std::size_t start = value.find_first_not_of(kBlanks);
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = value.find_first_of(kBlanks, start);
    return value.substr(start, end == std::string_view::npos ? end : end - start);
}

namespace {
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::string lowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = lower(c);
    return result;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lower(x) == lower(y); });
}

bool startsWithIgnoringCase(std::string_view line, std::string_view key) {
    return line.size() >= key.size() && equalsIgnoringCase(line.substr(0, key.size()), key);
}

bool valueAfterEquals(std::string_view line, std::size_t searchFrom, std::string_view& value) {
    const std::size_t equals = line.find('=', searchFrom);
    if (equals == std::string_view::npos) {
        value = {};
        return false;
    }
    value = line.substr(equals + 1);
    return true;
}

} // namespace velnor
