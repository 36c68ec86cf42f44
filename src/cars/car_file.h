#pragma once

#include <array>
#include <string>
#include <string_view>

// The text form of a car in a car file: a header line "[name]" and key lines "key = value".

namespace velnor {

class CarSpec;

// Red, green, blue (0-1) of a car's "color" line; all three -1 when the car has none.
using CarColour = std::array<float, 3>;
inline constexpr CarColour kNoCarColour = {-1.0f, -1.0f, -1.0f};

// Applies one key line of a car's section to `spec` (through its setters) and `colour`. Lines
// that are no known key, or whose key has no "=", are ignored. Numbers missing from a value
// read as 0.
void applyCarKeyLine(std::string_view line, CarSpec& spec, CarColour& colour);

// The header and key lines of a car as the game writes it: "[name]\n" then width, height, wheel,
// weight, displacement, compression, power, torque, gear1-gear6, slow, tire, type, air and, when
// there is one, the comment. Lengths are written in millimetres, reals with six decimals.
std::string formatCarSection(const CarSpec& spec);

// Makes the car's name and comment fit the lines the game writes them on, so that the file reads
// back as written: control characters (line ends, tabs, Ctrl-Z) are dropped, the spaces around
// the comment go (the reader skips them), and a comment holding both "[" and "]" (its line would
// read as a car's header) has them in their full-width forms "［" and "］". False when the comment
// still holds both bytes, as second bytes of two-byte characters (ゼ and ゾ, for instance): such a
// comment cannot be written.
bool makeTextsWritable(CarSpec& spec);

// The summary of an appended car: its comment, or "総排気量 %.0lf cc" without one.
std::string appendedCarSummary(const CarSpec& spec);

// What the listing notes of one car's section to build its summary text. Numbers are read in
// single precision; a value the section does not give is 0.
struct CarListing {
    float displacement = 0;
    float weight = 0;
    float power = 0;
    float powerSpeed = 0; // rpm
    float torque = 0;
    float torqueSpeed = 0; // rpm
    std::string comment;   // at most 63 bytes

    // Notes a comment, displacement, weight, power or torque line; other lines are ignored.
    void noteLine(std::string_view line);
    // The four-line summary shown beside the car list, then the comment.
    std::string summary() const;
};

} // namespace velnor
