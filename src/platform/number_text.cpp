#include "platform/number_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <limits>

namespace velnor {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    return i;
}

// Length of the decimal real at the start of `text` ([sign] digits [. digits] [e [sign] digits],
// at least one digit in the mantissa), 0 if there is none.
std::size_t realLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// For a number out of range: true when it is too small rather than too large (a negative
// exponent, or no nonzero digit before the decimal point).
bool isUnderflow(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-')
        return true;
    const std::string_view whole = number.substr(0, std::min(e, number.find('.')));
    return whole.find_first_not_of('0') == std::string_view::npos;
}

template <typename Real> bool nextReal(std::string_view& rest, Real& out) {
    const std::size_t start = skipSpace(rest);
    const std::string_view text = rest.substr(start);
    const std::size_t length = realLength(text);
    if (length == 0)
        return false;
    // from_chars takes no leading '+'.
    const std::size_t signLength = text[0] == '+' || text[0] == '-' ? 1 : 0;
    Real value{};
    const auto result = std::from_chars(text.data() + signLength, text.data() + length, value);
    if (result.ec == std::errc::result_out_of_range)
        value = isUnderflow(text.substr(signLength, length - signLength))
                    ? Real(0)
                    : std::numeric_limits<Real>::infinity();
    out = text[0] == '-' ? -value : value;
    rest = text.substr(length);
    return true;
}

} // namespace

bool NumberScanner::nextDouble(double& out) {
    return nextReal(rest_, out);
}

bool NumberScanner::nextFloat(float& out) {
    return nextReal(rest_, out);
}

bool NumberScanner::nextInt(int& out) {
    const std::size_t start = skipSpace(rest_);
    std::string_view text = rest_.substr(start);
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t firstDigit = i;
    long long value = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == firstDigit)
        return false;
    value = negative ? -value : value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    out = static_cast<int>(value);
    rest_ = text.substr(i);
    return true;
}

std::string formatFixed(double value, int decimals, int width) {
    char digits[512];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    std::string text(digits, result.ec == std::errc() ? result.ptr : digits);
    if (text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

double scanDouble(std::string_view text) {
    double value = 0.0;
    NumberScanner(text).nextDouble(value);
    return value;
}

int truncateToInt(double value) {
    if (!(value > INT_MIN))
        return INT_MIN;
    if (!(value < INT_MAX))
        return INT_MAX;
    return static_cast<int>(value);
}

} // namespace velnor
