#include "sim/road_conditions.h"

#include <cmath>
#include <numbers>

namespace velnor {

double proposedRollingCoefficient(int surface) {
    static constexpr double kRolling[kSurfaceCount] = {0.25, 0.17, 0.13, 0.08, 0.03, 0.015};
    return surface >= 0 && surface < kSurfaceCount ? kRolling[surface] : 0.0;
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
