#pragma once

#include "platform/key_state.h"
#include "sim/car_spec.h"
#include "sim/driver_controls.h"
#include "sim/road_conditions.h"

#include <cstdint>
#include <type_traits>

namespace velnor {

// The controls in the order the keys are polled, then the automatic gearbox.
enum class Control : int {
    kAccelerator,
    kBrake,
    kSteerLeft,
    kSteerRight,
    kGearUp,
    kGearDown,
    kAutomaticGearbox,
};

// What one poll of the driving keys changed: the result of each keyed operation (1 pressed or
// shifted, -1 let go or shifted down, 0 nothing), in the order they are polled.
struct ControlChanges {
    int accelerator = 0;
    int brake = 0;
    int steerLeft = 0;
    int steerRight = 0;
    int gearUp = 0;
    int gearDown = 0;
    int automatic = 0; // the automatic gearbox: 1 upshift, -1 downshift
};

// One simulated car, the player's or the ghost's. The model is longitudinal: the accelerator and
// brake become a drive force through the engine, gear, final ratio and tyre, rolling, grade and
// air resistance oppose it, and speed and distance are integrated over the milliseconds that
// really passed since the previous step. Forces are in kgf, speed in km/h, acceleration in m/s²,
// distance in m, engine speed in rpm, times in ms of the tick clock.
//
// A plain value: no pointers, copied whole (the chosen car is a copy of the catalogue's working
// record; the ghost car a copy of another vehicle). The clock is passed in by the caller.
class Vehicle {
public:
    static constexpr std::uint32_t kStartHold = 3000; // ms the car is held after a Reset
    static constexpr double kRevLimit = 8000.0;       // rpm
    static constexpr double kAutoUpshift = 7000.0;    // rpm above which the gearbox shifts up
    static constexpr double kAutoDownshift = 3500.0;  // rpm below which it shifts down

    // A fresh car at tick `now`: default road, fresh data, controls at rest.
    explicit Vehicle(std::uint32_t now = 0);

    // Starts a race: motion to 0, the start hold begins at `now`, rest values of the controls
    // from the car and the current road condition in the engaged gear.
    void reset(std::uint32_t now);
    // Reset, then fresh car data, default road conditions and controls at rest 0 and 0.
    void fullReset(std::uint32_t now);

    // One frame of motion up to `now`; returns the new speed (0 during the start hold).
    double step(std::uint32_t now);
    // Computes, stores and returns the engine speed at `now`.
    double computeEngineSpeed(std::uint32_t now);
    // The automatic gearbox on the stored engine speed: 1 after an upshift, -1 after a downshift.
    int automaticGearbox();
    // The driving keys read once, in the game's order, then the automatic gearbox.
    ControlChanges pollKeys(const KeyState& keys, std::uint32_t now) {
        return pollKeys(keys, now, [](Control, int) {});
    }
    // The same, calling `changed(control, result)` right after each control has been updated
    // and changed (for logging with the car's state of that moment).
    template <typename Changed>
    ControlChanges pollKeys(const KeyState& keys, std::uint32_t now, Changed&& changed);

    void setSpeed(double kmh);
    void setDistance(double metres) { distance_ = metres; }

    // ms since the end of the start hold as of the last step; negative during the hold.
    std::int32_t raceTime() const;
    // Whole seconds since the Reset while below 4, else -1.
    int countdown(std::uint32_t now) const;

    double speed() const { return speed_; }
    double driveForce() const { return driveForce_; }
    double acceleration() const { return acceleration_; }
    double engineSpeed() const { return engineSpeed_; }
    double distance() const { return distance_; }
    double stepDistance() const { return stepDistance_; }
    std::uint32_t startTick() const { return startTick_; }

    RoadConditions& roadConditions() { return roadConditions_; }
    const RoadConditions& roadConditions() const { return roadConditions_; }
    CarSpec& spec() { return spec_; }
    const CarSpec& spec() const { return spec_; }
    DriverControls& controls() { return controls_; }
    const DriverControls& controls() const { return controls_; }

    // Drive force (kgf) at accelerator value `accelerator` in gear `gearIndex`; 0 for a car
    // without a tyre diameter.
    double driveForceAt(double accelerator, int gearIndex) const;
    // Engine speed (rpm, uncapped) at `kmh` in gear `gearIndex`; 0 for a car without a tyre.
    double engineSpeedAt(double kmh, int gearIndex) const;

private:
    void integrate(std::uint32_t now);
    double engagedRatio() const { return spec_.gear(controls_.gearIndex()); }

    RoadConditions roadConditions_;
    CarSpec spec_;
    DriverControls controls_;
    double speed_ = 0.0;
    double driveForce_ = 0.0;
    double acceleration_ = 0.0;
    double engineSpeed_ = 0.0;
    double distance_ = 0.0;
    double stepDistance_ = 0.0;
    std::uint32_t lastTick_ = 0;
    std::uint32_t startTick_ = 0;
};

static_assert(std::is_trivially_copyable_v<Vehicle>, "a Vehicle is copied whole");

template <typename Changed>
ControlChanges Vehicle::pollKeys(const KeyState& keys, std::uint32_t now, Changed&& changed) {
    ControlChanges c;
    const auto report = [&](Control control, int result) {
        if (result != 0)
            changed(control, result);
        return result;
    };
    c.accelerator =
        report(Control::kAccelerator, controls_.acceleratorKey(keys.isDown(vk::kX), now));
    c.brake = report(Control::kBrake, controls_.brakeKey(keys.isDown(vk::kZ), now));
    c.steerLeft = report(Control::kSteerLeft, controls_.steerLeftKey(keys.isDown(vk::kLeft), now));
    c.steerRight =
        report(Control::kSteerRight, controls_.steerRightKey(keys.isDown(vk::kRight), now));
    c.gearUp = report(Control::kGearUp, controls_.gearUpKey(keys.isDown(vk::kUp)));
    c.gearDown = report(Control::kGearDown, controls_.gearDownKey(keys.isDown(vk::kDown)));
    c.automatic = report(Control::kAutomaticGearbox, automaticGearbox());
    return c;
}

} // namespace velnor
