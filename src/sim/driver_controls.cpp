#include "sim/driver_controls.h"

#include "sim/car_spec.h"

namespace velnor {
namespace {

// Accelerator limit of each gear above the rest value.
constexpr double kLimitOffset[DriverControls::kGears] = {0.08, 0.09, 0.10, 0.12, 0.14, 0.16};

// Marks a control held at `tick` if it is not yet; returns 1 when it was just pressed.
int press(int& held, std::uint32_t& lastTick, std::uint32_t tick) {
    if (held)
        return 0;
    held = 1;
    lastTick = tick;
    return 1;
}

// Clears a held control; returns -1 when it was held.
int release(int& held) {
    if (!held)
        return 0;
    held = 0;
    return -1;
}

} // namespace

void DriverControls::reset(double acceleratorRest, double brakeRest, const CarSpec& spec) {
    accelerator_ = acceleratorRest_ = acceleratorRest;
    for (int i = 0; i < kGears; ++i)
        acceleratorLimit_[i] = acceleratorRest + kLimitOffset[i];
    brake_ = 0.0;
    brakeRest_ = brakeRest;
    heading_ = 0.0f;
    gearIndex_ = 0;
    gearCount_ = spec.usableGears();
    speedCopy_ = 0.0;
    upHeld_ = downHeld_ = leftHeld_ = rightHeld_ = acceleratorHeld_ = brakeHeld_ = 0;
}

void DriverControls::rampAccelerator(std::uint32_t now) {
    accelerator_ += static_cast<double>(now - acceleratorTick_) * kAcceleratorRate;
    if (accelerator_ > acceleratorLimit_[gearIndex_])
        accelerator_ = acceleratorLimit_[gearIndex_];
    acceleratorTick_ = now;
}

void DriverControls::rampBrake(std::uint32_t now) {
    brake_ += static_cast<double>(now - brakeTick_) * kBrakeRate;
    brakeTick_ = now;
}

// Turns the heading by the speed-dependent rate: 160 / v + 40 degrees per second above 10 km/h,
// 20 degrees per second above 1 km/h, not at all below. `direction` is +1 left, -1 right.
void DriverControls::rampSteering(std::uint32_t now, float direction) {
    const double elapsed = static_cast<double>(now - steerTick_);
    const double v = speedCopy_;
    double turn = 0.0;
    if (v > 10.0)
        turn = elapsed * (1.6 / v + 0.4) * 0.1;
    else if (v > 1.0)
        turn = elapsed * 0.2 * 0.1;
    heading_ = static_cast<float>(heading_ + direction * turn);
    steerTick_ = now;
    if (direction > 0 && heading_ >= 180.0f)
        heading_ = -180.0f;
    if (direction < 0 && heading_ <= -180.0f)
        heading_ = 180.0f;
}

int DriverControls::acceleratorKey(bool down, std::uint32_t now) {
    if (!down) {
        const int result = release(acceleratorHeld_);
        if (result)
            accelerator_ = acceleratorRest_;
        return result;
    }
    const int result = press(acceleratorHeld_, acceleratorTick_, now);
    rampAccelerator(now);
    return result;
}

int DriverControls::brakeKey(bool down, std::uint32_t now) {
    if (!down) {
        const int result = release(brakeHeld_);
        if (result)
            brake_ = brakeRest_;
        return result;
    }
    const int result = press(brakeHeld_, brakeTick_, now);
    rampBrake(now);
    return result;
}

int DriverControls::steerLeftKey(bool down, std::uint32_t now) {
    if (!down)
        return release(leftHeld_);
    const int result = press(leftHeld_, steerTick_, now);
    rampSteering(now, 1.0f);
    return result;
}

int DriverControls::steerRightKey(bool down, std::uint32_t now) {
    if (!down)
        return release(rightHeld_);
    const int result = press(rightHeld_, steerTick_, now);
    rampSteering(now, -1.0f);
    return result;
}

int DriverControls::gearUpKey(bool down) {
    if (!down) {
        upHeld_ = 0;
        return 0;
    }
    if (upHeld_)
        return 0;
    gearUp();
    upHeld_ = 1;
    return 1;
}

int DriverControls::gearDownKey(bool down) {
    if (!down) {
        downHeld_ = 0;
        return 0;
    }
    if (downHeld_)
        return 0;
    gearDown();
    downHeld_ = 1;
    return 1;
}

void DriverControls::acceleratorPress(std::uint32_t pressTick, std::uint32_t now) {
    press(acceleratorHeld_, acceleratorTick_, pressTick);
    rampAccelerator(now);
}

void DriverControls::brakePress(std::uint32_t pressTick, std::uint32_t now) {
    press(brakeHeld_, brakeTick_, pressTick);
    rampBrake(now);
}

void DriverControls::steerLeftPress(std::uint32_t pressTick, std::uint32_t now) {
    press(leftHeld_, steerTick_, pressTick);
    rampSteering(now, 1.0f);
}

void DriverControls::steerRightPress(std::uint32_t pressTick, std::uint32_t now) {
    press(rightHeld_, steerTick_, pressTick);
    rampSteering(now, -1.0f);
}

void DriverControls::acceleratorRelease() {
    accelerator_ = acceleratorRest_;
    acceleratorHeld_ = 0;
}

void DriverControls::brakeRelease() {
    brake_ = brakeRest_;
    brakeHeld_ = 0;
}

void DriverControls::steeringRelease() {
    leftHeld_ = rightHeld_ = 0;
}

void DriverControls::brakeApply(std::uint32_t now) {
    brakePress(now, now);
}

int DriverControls::gearUp() {
    if (gearIndex_ >= gearCount_ - 1)
        return 0;
    ++gearIndex_;
    return 1;
}

int DriverControls::gearDown() {
    if (gearIndex_ <= 0)
        return 0;
    --gearIndex_;
    return 1;
}

void DriverControls::setGearIndex(int index) {
    if (index >= 0 && index < gearCount_)
        gearIndex_ = index;
}

double DriverControls::acceleratorLimit(int gearIndex) const {
    return gearIndex >= 0 && gearIndex < kGears ? acceleratorLimit_[gearIndex]
                                                : acceleratorLimit_[0];
}

} // namespace velnor
