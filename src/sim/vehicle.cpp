#include "sim/vehicle.h"

#include "platform/key_state.h"

#include <cmath>
#include <numbers>

namespace velnor {
namespace {

constexpr double kEngineConstant = 0.9;
constexpr double kGravity = 9.8; // m/s²
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// a / b, or 0 where the quotient would not be a finite number (a car whose data are incomplete
// stays at rest instead of filling the simulation with NaN).
double finiteQuotient(double a, double b) {
    const double q = a / b;
    return std::isfinite(q) ? q : 0.0;
}

} // namespace

Vehicle::Vehicle(std::uint32_t now) {
    roadConditions_.reset();
    spec_.initialise();
    controls_.reset(0.0, 0.0, spec_);
    reset(now);
}

void Vehicle::reset(std::uint32_t now) {
    speed_ = distance_ = stepDistance_ = driveForce_ = acceleration_ = engineSpeed_ = 0.0;
    lastTick_ = startTick_ = now;

    // a0: the accelerator whose drive force equals the rolling and grade resistance in the
    // engaged gear; b0 the brake that balances it. Both 0 when the car's data do not give them.
    const double g = engagedRatio();
    const double engine = kEngineConstant * g * spec_.slow() * spec_.displacement();
    const double sinGrade = std::sin(roadConditions_.grade());
    double a0 =
        kTwoPi * spec_.tire() * spec_.weight() * (roadConditions_.rolling() + sinGrade) / engine;
    double b0 = engine * a0 / (kTwoPi * spec_.weight()) - sinGrade;
    if (!std::isfinite(a0) || !std::isfinite(b0))
        a0 = b0 = 0.0;
    controls_.reset(a0, b0, spec_);
}

void Vehicle::fullReset(std::uint32_t now) {
    reset(now);
    spec_.initialise();
    roadConditions_.reset();
    controls_.reset(0.0, 0.0, spec_);
}

double Vehicle::driveForceAt(double accelerator, int gearIndex) const {
    return finiteQuotient(spec_.gear(gearIndex) * accelerator * spec_.slow() *
                              spec_.displacement() * kEngineConstant / kTwoPi,
                          spec_.tire());
}

double Vehicle::engineSpeedAt(double kmh, int gearIndex) const {
    return finiteQuotient(kmh * spec_.gear(gearIndex) * spec_.slow() * 100.0,
                          6.0 * std::numbers::pi * spec_.tire());
}

double Vehicle::step(std::uint32_t now) {
    if (now - startTick_ < kStartHold) {
        lastTick_ = now;
        return 0.0;
    }
    driveForce_ = driveForceAt(controls_.accelerator(), controls_.gearIndex());
    integrate(now);
    return speed_;
}

void Vehicle::integrate(std::uint32_t now) {
    const double rpm = computeEngineSpeed(now); // from the speed of the previous frame
    const auto elapsed = static_cast<std::int32_t>(now - lastTick_);
    if (rpm < kRevLimit || acceleration_ < 0.0)
        speed_ += elapsed * acceleration_ * 0.001 * 3.6;
    stepDistance_ = elapsed * speed_ / 3600.0;
    lastTick_ = now;
    distance_ += stepDistance_;

    // At most one road condition is passed per frame; an entry starting at 0 ends the list.
    const int current = roadConditions_.currentIndex();
    if (current < RoadConditions::kCount - 1) {
        const double nextStart = roadConditions_.start(current + 1);
        if (nextStart != 0.0 && nextStart <= distance_)
            roadConditions_.next();
    }

    const double a = controls_.accelerator();
    if ((a == controls_.acceleratorRest() && speed_ == 0.0) || speed_ < 0.0) {
        speed_ = acceleration_ = driveForce_ = 0.0;
        if (controls_.gearIndex() >= 2)
            controls_.dropToFirstGear();
    } else {
        // The resistances are subtracted one by one in the model's order, so that every copy of
        // the model (and every stored ghost run) agrees to the last bit.
        const double w = spec_.weight();
        const double net = driveForce_ - (w + controls_.brake()) * roadConditions_.rolling() -
                           w * std::sin(roadConditions_.grade()) -
                           spec_.air() * spec_.height() * spec_.width() * speed_ * speed_;
        acceleration_ = finiteQuotient(net, w) * kGravity;
    }
    controls_.setSpeedCopy(speed_);
}

double Vehicle::computeEngineSpeed(std::uint32_t now) {
    const int count = countdown(now);
    double rpm = 0.0;
    if (count >= 0 && count <= 2) {
        // The start hold: the engine revs with the accelerator alone.
        const double rest = controls_.acceleratorRest();
        rpm = (controls_.accelerator() - rest) / (controls_.acceleratorLimit(0) - rest) * kRevLimit;
    } else {
        rpm = engineSpeedAt(speed_, controls_.gearIndex());
        if (rpm >= kRevLimit)
            rpm = kRevLimit;
    }
    engineSpeed_ = rpm;
    return rpm;
}

int Vehicle::automaticGearbox() {
    if (spec_.automatic() == 0)
        return 0;
    if (engineSpeed_ > kAutoUpshift)
        return controls_.gearUp();
    if (engineSpeed_ < kAutoDownshift)
        return -controls_.gearDown();
    return 0;
}

void Vehicle::setSpeed(double kmh) {
    speed_ = kmh;
    controls_.setSpeedCopy(kmh);
}

std::int32_t Vehicle::raceTime() const {
    return static_cast<std::int32_t>(lastTick_ - startTick_ - kStartHold);
}

int Vehicle::countdown(std::uint32_t now) const {
    const std::uint32_t seconds = (now - startTick_) / 1000u;
    return seconds < 4 ? static_cast<int>(seconds) : -1;
}

} // namespace velnor
