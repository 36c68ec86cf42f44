#include "sim/car_spec.h"

#include "platform/fixed_text.h"
#include "platform/number_text.h"

#include <cmath>

namespace velnor {
namespace {

bool positive(double value) {
    return std::isfinite(value) && value > 0.0;
}
bool nonNegative(double value) {
    return std::isfinite(value) && value >= 0.0;
}

void assignIf(double& field, double value, bool (*test)(double)) {
    if (test(value))
        field = value;
}

} // namespace

double proposedAirCoefficient(int bodyType) {
    static constexpr double kAir[kBodyTypeCount] = {0.0025, 0.0035, 0.0035, 0.0025,
                                                    0.0015, 0.0045, 0.0045};
    return bodyType >= 0 && bodyType < kBodyTypeCount ? kAir[bodyType] : 0.0;
}

const char* bodyTypeLabel(int bodyType) {
    static constexpr const char* kLabels[kBodyTypeCount] = {
        "\x83Z\x83_\x83\x93",                   // セダン
        "\x83o\x83\x93",                        // バン
        "1BOX",                                 // 1BOX
        "\x83n\x83\x62\x83`\x83o\x83\x62\x83N", // ハッチバック
        "\x83N\x81[\x83y",                      // クーペ
        "\x83g\x83\x89\x83\x62\x83N",           // トラック
        "\x83o\x83X",                           // バス
    };
    return bodyType >= 0 && bodyType < kBodyTypeCount ? kLabels[bodyType] : "";
}

void CarSpec::initialise() {
    copyText(carname_, "Velnor");
    width_ = height_ = wheelbase_ = weight_ = displacement_ = compression_ = 0.0;
    power_ = torque_ = slow_ = tire_ = air_ = 0.0;
    for (double& ratio : gear_)
        ratio = 0.0;
    type_ = 0;
    automatic_ = 1;
}

double CarSpec::gear(int index) const {
    return index >= 0 && index < kGears ? gear_[index] : 0.0;
}

int CarSpec::usableGears() const {
    int count = 0;
    while (count < kGears && gear_[count] != 0.0)
        ++count;
    return count;
}

void CarSpec::setCarname(std::string_view text) {
    copyText(carname_, text);
}
void CarSpec::setComment(std::string_view text) {
    copyText(comment_, text);
}

void CarSpec::setWidth(double value) {
    assignIf(width_, value, positive);
}
void CarSpec::setHeight(double value) {
    assignIf(height_, value, positive);
}
void CarSpec::setWheelbase(double value) {
    assignIf(wheelbase_, value, positive);
}
void CarSpec::setWeight(double value) {
    assignIf(weight_, value, positive);
}
void CarSpec::setDisplacement(double value) {
    assignIf(displacement_, value, positive);
}
void CarSpec::setCompression(double value) {
    assignIf(compression_, value, positive);
}
void CarSpec::setPower(double value) {
    assignIf(power_, value, positive);
}
void CarSpec::setTorque(double value) {
    assignIf(torque_, value, positive);
}
void CarSpec::setSlow(double value) {
    assignIf(slow_, value, nonNegative);
}
void CarSpec::setTire(double value) {
    assignIf(tire_, value, positive);
}
void CarSpec::setAir(double value) {
    assignIf(air_, value, nonNegative);
}

void CarSpec::setGear(int index, double ratio) {
    if (index >= 0 && index < kGears && nonNegative(ratio))
        gear_[index] = ratio;
}

void CarSpec::setTireFromText(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        setTire(scanDouble(text));
        return;
    }
    const std::size_t r = text.find_first_of("Rr", slash + 1);
    if (r == std::string_view::npos)
        return;
    const double sectionWidth = scanDouble(text.substr(0, slash));                // mm
    const double aspectRatio = scanDouble(text.substr(slash + 1, r - slash - 1)); // %
    const double rimDiameter = scanDouble(text.substr(r + 1));                    // inches
    const double sectionHeight = sectionWidth * 0.001 * (aspectRatio * 0.01);     // m
    setTire(rimDiameter * 0.0254 + 2.0 * sectionHeight);
}

} // namespace velnor
