#pragma once

#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <type_traits>

namespace velnor {

// Reads numbers from a text the way formatted scanning ("%lf", "%f", "%d") does in the files the
// game reads: white space is skipped, then the longest decimal number is taken and reading stops
// at the first character that cannot continue it. Independent of the process locale. Only plain
// decimal numbers count (no "inf", "nan" or hexadecimal forms); a number too large for its type
// reads as infinity (for reals) or the type's limit (for integers), which the setters reject.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : rest_(text) {}

    // Each returns false and consumes nothing when no number follows; `out` is then unchanged.
    bool nextDouble(double& out);
    bool nextFloat(float& out);
    bool nextInt(int& out);

    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

// Up to N reals of `text` in order; the ones missing read as 0. Returns how many were read.
template <typename Real, std::size_t N>
std::size_t scanNumbers(std::string_view text, std::array<Real, N>& numbers) {
    numbers = {};
    NumberScanner scanner(text);
    std::size_t read = 0;
    for (Real& number : numbers) {
        bool ok = false;
        if constexpr (std::is_same_v<Real, float>)
            ok = scanner.nextFloat(number);
        else
            ok = scanner.nextDouble(number);
        if (!ok)
            break;
        ++read;
    }
    return read;
}

// `value` when it is finite, else 0: how the course and model readers take a number too large
// for a float ("1e999") or one that grew past the floats when turned into world units, so that
// nothing infinite reaches the geometry.
inline float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

// The first number of `text` as a real, or 0 when there is none: a value missing from a line
// reads as 0.
double scanDouble(std::string_view text);

// A real as an int, its fraction cut off, held to the range of int (not a number: INT_MIN).
int truncateToInt(double value);

// `value` with `decimals` digits after the point, right-aligned in `width` characters, as
// "%*.*f" writes it but independent of the process locale ("%lf" is decimals 6).
std::string formatFixed(double value, int decimals = 6, int width = 0);

} // namespace velnor
