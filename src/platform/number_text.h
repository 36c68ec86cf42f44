#pragma once

#include <string>
#include <string_view>

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

// The first number of `text` as a real, or 0 when there is none: a value missing from a line
// reads as 0.
double scanDouble(std::string_view text);

// `value` with `decimals` digits after the point, right-aligned in `width` characters, as
// "%*.*f" writes it but independent of the process locale ("%lf" is decimals 6).
std::string formatFixed(double value, int decimals = 6, int width = 0);

} // namespace velnor
