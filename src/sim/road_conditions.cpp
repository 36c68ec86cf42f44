#include "sim/road_conditions.h"

#include <cmath>
#include <numbers>

namespace velnor {

double proposedRollingCoefficient(int surface) {
    static constexpr double kRolling[kSurfaceCount] = {0.25, 0.17, 0.13, 0.08, 0.03, 0.015};
    return surface >= 0 && surface < kSurfaceCount ? kRolling[surface] : 0.0;
}

const char* surfaceLabel(int surface) {
    static constexpr const char* kLabels[kSurfaceCount] = {
        // 乾いた砂地
        "\x8a\xa3\x82\xa2\x82\xbd\x8d\xbb\x92n",
        // 砂または石灰質の道
        "\x8d\xbb\x82\xdc\x82\xbd\x82\xcd\x90\xce\x8a\x44\x8e\xbf\x82\xcc\x93\xb9",
        // 新しく砂利を敷いた道
        "\x90V\x82\xb5\x82\xad\x8d\xbb\x97\x98\x82\xf0\x95~\x82\xa2\x82\xbd\x93\xb9",
        // 石の多い凸凹路
        "\x90\xce\x82\xcc\x91\xbd\x82\xa2\x93\xca\x89\x9a\x98H",
        // 手入れのよい小砂利道
        "\x8e\xe8\x93\xfc\x82\xea\x82\xcc\x82\xe6\x82\xa2\x8f\xac\x8d\xbb\x97\x98\x93\xb9",
        // アスファルト舗装路
        "\x83\x41\x83X\x83t\x83@\x83\x8b\x83g\x95\xdc\x91\x95\x98H",
    };
    return surface >= 0 && surface < kSurfaceCount ? kLabels[surface] : "";
}

void RoadConditions::reset() {
    for (RoadCondition& condition : entries_)
        condition = RoadCondition{};
    current_ = 0;
}

void RoadConditions::next() {
    if (current_ < kCount - 1)
        ++current_;
}

void RoadConditions::previous() {
    if (current_ > 0)
        --current_;
}

const RoadCondition& RoadConditions::entry(int index) const {
    return index >= 0 && index < kCount ? entries_[index] : entries_[current_];
}

RoadCondition& RoadConditions::target(int index) {
    return index >= 0 && index < kCount ? entries_[index] : entries_[current_];
}

void RoadConditions::setStart(double metres, int index) {
    if (std::isfinite(metres) && metres >= 0.0)
        target(index).start = metres;
}

void RoadConditions::setSurface(int surface, int index) {
    target(index).surface = surface;
}

void RoadConditions::setRolling(double coefficient, int index) {
    if (std::isfinite(coefficient) && coefficient >= 0.0)
        target(index).rolling = coefficient;
}

void RoadConditions::setGradeDegrees(double degrees, int index) {
    if (std::isfinite(degrees))
        target(index).grade = degrees * std::numbers::pi / 180.0;
}

void RoadConditions::setGradePercent(double percent, int index) {
    if (std::isfinite(percent))
        target(index).grade = std::atan(percent * 0.01);
}

} // namespace velnor
