#pragma once

#include "sim/car_spec.h"

#include <cstdint>

namespace velnor {

class CarSpec;

// The controls of one car: accelerator, brake, heading and engaged gear. Each control moves at a
// rate over real time (milliseconds of the tick clock), so the result does not depend on the frame
// rate. The keyed operations take the down state of their key at the poll and the current tick,
// and return 1 when the key has just been pressed, -1 when it has just been let go, 0 otherwise
// (the gear keys return 1 or 0). The replay operations take the tick of the recorded press.
class DriverControls {
public:
    // One accelerator limit per gear of the car.
    static constexpr int kGears = CarSpec::kGears;

    // Accelerator climb per ms held (0.02 per second) and brake climb per ms held (kg).
    static constexpr double kAcceleratorRate = 0.00002;
    static constexpr double kBrakeRate = 50.0;

    // Rest values, gear limits, gear count from the car's ratios; heading, gear, speed copy and
    // held flags to 0. The ticks are kept.
    void reset(double acceleratorRest, double brakeRest, const CarSpec& spec);

    int acceleratorKey(bool down, std::uint32_t now);
    int brakeKey(bool down, std::uint32_t now);
    int steerLeftKey(bool down, std::uint32_t now);
    int steerRightKey(bool down, std::uint32_t now);
    int gearUpKey(bool down);
    int gearDownKey(bool down);

    // Replay of a held key pressed at tick `pressTick`, advanced to `now`.
    void acceleratorPress(std::uint32_t pressTick, std::uint32_t now);
    void brakePress(std::uint32_t pressTick, std::uint32_t now);
    void steerLeftPress(std::uint32_t pressTick, std::uint32_t now);
    void steerRightPress(std::uint32_t pressTick, std::uint32_t now);
    void acceleratorRelease();
    void brakeRelease();
    void steeringRelease();

    // The brake ramp without a key: used to halt the car after the finish.
    void brakeApply(std::uint32_t now);

    int gearUp();                 // 1 if it shifted
    int gearDown();               // 1 if it shifted
    void setGearIndex(int index); // accepted when 0 <= index < gearCount
    // Engages first gear without the shift rules: a stopped car leaves third gear and above.
    void dropToFirstGear() { gearIndex_ = 0; }

    float heading() const { return heading_; } // degrees, 0 = +x, positive to the left
    void setHeading(float degrees) { heading_ = degrees; }
    double accelerator() const { return accelerator_; }
    double acceleratorRest() const { return acceleratorRest_; }
    double acceleratorLimit(int gearIndex) const; // outside 0-5: the first gear's limit
    double brake() const { return brake_; }       // kg added to the weight in the rolling term
    double brakeRest() const { return brakeRest_; }
    int gearIndex() const { return gearIndex_; } // 0 = first gear
    int gearCount() const { return gearCount_; }
    void setSpeedCopy(double kmh) { speedCopy_ = kmh; }
    double speedCopy() const { return speedCopy_; }

private:
    void rampAccelerator(std::uint32_t now);
    void rampBrake(std::uint32_t now);
    void rampSteering(std::uint32_t now, float direction);

    double accelerator_ = 0.0;
    double acceleratorRest_ = 0.0;
    double acceleratorLimit_[kGears] = {};
    double brake_ = 0.0;
    double brakeRest_ = 0.0;
    float heading_ = 0.0f;
    int gearIndex_ = 0;
    int gearCount_ = 0;
    double speedCopy_ = 0.0; // km/h, sets the steering rate
    int upHeld_ = 0;
    int downHeld_ = 0;
    int leftHeld_ = 0;
    int rightHeld_ = 0;
    int acceleratorHeld_ = 0;
    int brakeHeld_ = 0;
    std::uint32_t steerTick_ = 0; // shared by both directions
    std::uint32_t acceleratorTick_ = 0;
    std::uint32_t brakeTick_ = 0;
};

} // namespace velnor
