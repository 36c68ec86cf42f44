#pragma once

#include "platform/number_text.h"

#include <array>
#include <string>
#include <string_view>

// The line rules shared by the game's data files (cars, courses, model, records, ghosts).

namespace velnor {

// An empty line or one beginning with "/".
inline bool isCommentLine(std::string_view line) {
    return line.empty() || line[0] == '/';
}

// A line that holds both a "[" and a "]" anywhere starts a section.
inline bool isHeaderLine(std::string_view line) {
    return line.find('[') != std::string_view::npos && line.find(']') != std::string_view::npos;
}

// The name of a header line: the text after the first "[" up to, not including, the last
// character of the line (normally the "]").
std::string_view headerName(std::string_view line);

// The line without the spaces at its end, or at its start.
std::string_view trimTrailingSpaces(std::string_view line);
std::string_view trimLeadingSpaces(std::string_view line);

// The text without the spaces and tabs around it.
std::string_view trimBlanks(std::string_view text);

// The first word of a value, free of white space; empty when there is none.
std::string_view firstWord(std::string_view value);

// The text with the ASCII capitals made small; other bytes (Shift-JIS among them) stay.
std::string lowerCase(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view line, std::string_view key);

// The value of a key line "key = value": the text after the first "=" found at or after
// `searchFrom`; empty and false when there is no "=".
bool valueAfterEquals(std::string_view line, std::size_t searchFrom, std::string_view& value);

// Up to N numbers of the value after the first "=" at or after `searchFrom` (the missing ones 0,
// and one too large for a float 0 as well); false when there is no "=".
template <std::size_t N>
bool numbersAfterEquals(std::string_view line, std::size_t searchFrom,
                        std::array<float, N>& numbers) {
    std::string_view value;
    if (!valueAfterEquals(line, searchFrom, value))
        return false;
    scanNumbers(value, numbers);
    for (float& number : numbers)
        number = finiteOrZero(number);
    return true;
}

} // namespace velnor
