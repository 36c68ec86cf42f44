#include "cars/car_file.h"

#include "platform/data_line.h"
#include "platform/fixed_text.h"
#include "platform/number_text.h"
#include "sim/car_spec.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace velnor {
namespace {

// The Japanese labels of the summary, in Shift-JIS.
constexpr std::string_view kDisplacementLabel = "\x91\x8d\x94r\x8b"
                                                "C\x97\xca"; // 総排気量
constexpr std::string_view kWeightLabel = "\x91\x8d\x8f"
                                          "d\x97\xca";                          // 総重量
constexpr std::string_view kPowerLabel = "\x8d\xc5\x91\xe5\x8fo\x97\xcd";       // 最大出力
constexpr std::string_view kTorqueLabel = "\x8d\xc5\x91\xe5\x83g\x83\x8b\x83N"; // 最大トルク
constexpr std::string_view kKgMetre = "kg\x81"
                                      "Em"; // kg・m

// The value of key line `line` for `key`, looked for from the key's length on.
bool keyValue(std::string_view line, std::string_view key, std::string_view& value) {
    return startsWithIgnoringCase(line, key) && valueAfterEquals(line, key.size(), value);
}

float firstFloat(std::string_view value) {
    std::array<float, 1> number;
    scanNumbers(value, number);
    return number[0];
}

// A text field as one line: a line end inside it would start a line of its own in the file, and
// other control characters end or cut a line for the reader (Ctrl-Z ends the file). No control
// byte is the second byte of a two-byte character, so dropping them keeps the characters whole.
std::string oneLine(std::string_view text) {
    std::string line;
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            line += c;
    return line;
}

// The text with every "[" and "]" outside a two-byte character in its full-width form.
std::string fullWidthBrackets(std::string_view text) {
    std::string out;
    forEachCharacter(text, [&](std::size_t i, std::size_t length) {
        if (length == 1 && text[i] == '[')
            out.append("\x81\x6d"); // ［
        else if (length == 1 && text[i] == ']')
            out.append("\x81\x6e"); // ］
        else
            out.append(text.substr(i, length));
    });
    return out;
}

void appendKey(std::string& out, std::string_view key, double value) {
    out.append(key).append(" = ").append(formatFixed(value)).append("\n");
}

} // namespace

void applyCarKeyLine(std::string_view line, CarSpec& spec, CarColour& colour) {
    std::string_view value;
    if (keyValue(line, "width", value)) {
        spec.setWidth(scanDouble(value) * 0.001);
    } else if (keyValue(line, "height", value)) {
        spec.setHeight(scanDouble(value) * 0.001);
    } else if (keyValue(line, "wheel", value)) { // also "wheelbase"
        spec.setWheelbase(scanDouble(value) * 0.001);
    } else if (keyValue(line, "weight", value)) {
        spec.setWeight(scanDouble(value));
    } else if (keyValue(line, "displacement", value)) {
        spec.setDisplacement(scanDouble(value));
    } else if (keyValue(line, "compression", value)) {
        spec.setCompression(scanDouble(value));
    } else if (keyValue(line, "power", value)) {
        spec.setPower(scanDouble(value));
    } else if (keyValue(line, "torque", value)) {
        spec.setTorque(scanDouble(value));
    } else if (startsWithIgnoringCase(line, "gear") && valueAfterEquals(line, 5, value)) {
        // gearN: N is the character right after "gear"; anything but 1-6 is out of range.
        const int index = line.size() > 4 ? line[4] - '1' : -1;
        spec.setGear(index, scanDouble(value));
    } else if (keyValue(line, "slow", value)) {
        spec.setSlow(scanDouble(value));
    } else if (keyValue(line, "tire", value)) {
        spec.setTireFromText(firstWord(value));
    } else if (keyValue(line, "type", value)) {
        spec.setType(truncateToInt(scanDouble(value)));
    } else if (keyValue(line, "air", value)) {
        spec.setAir(scanDouble(value));
    } else if (keyValue(line, "color", value)) {
        int rgb[3] = {0, 0, 0};
        NumberScanner scanner(value);
        for (int& channel : rgb)
            if (!scanner.nextInt(channel))
                break;
        for (int i = 0; i < 3; ++i)
            colour[i] = static_cast<float>(std::clamp(rgb[i], 0, 255)) / 255.0f;
    }
}

std::string formatCarSection(const CarSpec& spec) {
    std::string out;
    out.append("[").append(oneLine(spec.carname())).append("]\n");
    appendKey(out, "width", spec.width() * 1000.0);
    appendKey(out, "height", spec.height() * 1000.0);
    appendKey(out, "wheel", spec.wheelbase() * 1000.0);
    appendKey(out, "weight", spec.weight());
    appendKey(out, "displacement", spec.displacement());
    appendKey(out, "compression", spec.compression());
    appendKey(out, "power", spec.power());
    appendKey(out, "torque", spec.torque());
    for (int i = 0; i < CarSpec::kGears; ++i)
        appendKey(out, "gear" + std::to_string(i + 1), spec.gear(i));
    appendKey(out, "slow", spec.slow());
    appendKey(out, "tire", spec.tire());
    out.append("type = ").append(std::to_string(spec.type())).append("\n");
    appendKey(out, "air", spec.air());
    if (spec.comment()[0] != '\0')
        out.append("comment = ").append(oneLine(spec.comment())).append("\n");
    return out;
}

bool makeTextsWritable(CarSpec& spec) {
    spec.setCarname(oneLine(spec.carname()));
    const std::string line = oneLine(spec.comment());
    // The reader skips the spaces after "=" and drops those at the end of the line.
    std::string comment(trimBlanks(line));
    if (isHeaderLine(comment))
        comment = fullWidthBrackets(comment);
    spec.setComment(comment);
    // Brackets that are second bytes of two-byte characters have no other form.
    return !isHeaderLine(spec.comment());
}

std::string appendedCarSummary(const CarSpec& spec) {
    if (spec.comment()[0] != '\0')
        return spec.comment();
    return std::string(kDisplacementLabel) + " " + formatFixed(spec.displacement(), 0) + " cc";
}

void CarListing::noteLine(std::string_view line) {
    std::string_view value;
    if (keyValue(line, "comment", value)) {
        value = trimLeadingSpaces(value);
        comment.assign(value.substr(0, shiftJisPrefixLength(value, CarSpec::kCommentSize - 1)));
    } else if (keyValue(line, "displacement", value)) {
        displacement = firstFloat(value);
    } else if (keyValue(line, "weight", value)) {
        weight = firstFloat(value);
    } else if (keyValue(line, "power", value)) {
        std::array<float, 2> numbers;
        scanNumbers(value, numbers);
        power = numbers[0];
        powerSpeed = numbers[1];
    } else if (keyValue(line, "torque", value)) {
        std::array<float, 2> numbers;
        scanNumbers(value, numbers);
        torque = numbers[0];
        torqueSpeed = numbers[1];
    }
}

std::string CarListing::summary() const {
    std::string out;
    out.append(kDisplacementLabel).append("     ").append(formatFixed(displacement, 0, 5));
    out.append(" [cc]\n");
    out.append(kWeightLabel).append("       ").append(formatFixed(weight, 0, 5)).append(" [kg]\n");
    out.append(kPowerLabel).append("     ").append(formatFixed(power, 0, 5)).append(" [ps] / ");
    out.append(formatFixed(powerSpeed, 0, 5)).append(" [rpm]\n");
    out.append(kTorqueLabel).append("   ").append(formatFixed(torque, 1, 5)).append(" [");
    out.append(kKgMetre).append("] / ").append(formatFixed(torqueSpeed, 0, 5)).append(" [rpm]\n");
    out.append(comment);
    return out;
}

} // namespace velnor
