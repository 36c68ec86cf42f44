// Rules of the car and its controls as the driver meets them: when the start hold lets go, what
// the engine does on the limiter and in the countdown, what a car with missing data does, what
// each key reports, how a replayed steering press turns the car. Numbers are worked out by hand
// from the model's formulas (derivations beside the tests).
#include "platform/key_state.h"
#include "sim/driver_controls.h"
#include "sim/example_car.h"
#include "sim/vehicle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace velnor {
namespace {

using test::exampleCar;

// A car counts its start hold from the tick it is made at, the default being tick 0.
TEST(CarAndControlsRulesTest, AFreshCarCountsDownFromTheTickItIsMadeAt) {
    const Vehicle atFiveSeconds(5000);
    EXPECT_EQ(atFiveSeconds.startTick(), 5000u);
    EXPECT_EQ(atFiveSeconds.countdown(5000), 0);
    EXPECT_EQ(atFiveSeconds.countdown(8999), 3);
    const Vehicle atZero;
    EXPECT_EQ(atZero.countdown(0), 0);
    EXPECT_EQ(atZero.countdown(3999), 3);
    EXPECT_EQ(atZero.countdown(4000), -1);
}

// Derivation: first gear's accelerator limit is a0 + 0.08 = 0.082244; its drive force
// 3.5 × 0.082244 × 4.0 × 2000 × 0.9 / 2π / 0.6 = 549.7606 kgf; from standstill (no air) the
// car gains (549.7606 − 15) / 1000 × 9.8 = 5.240654 m/s². The hold of a car reset at 10 s ends
// at 13 s exactly: the step of that very tick already works the acceleration out.
TEST(CarAndControlsRulesTest, TheStartHoldEndsOnItsThreeThousandthMillisecond) {
    Vehicle car = exampleCar({3.5, 2.1, 1.4, 1.0, 0.8}, 10000);
    car.controls().acceleratorKey(true, 5000);
    car.controls().acceleratorKey(true, 10000); // 5 s held: at the first gear's limit
    EXPECT_EQ(car.step(12999), 0.0);
    EXPECT_EQ(car.acceleration(), 0.0);
    car.step(13000);
    EXPECT_NEAR(car.acceleration(), 5.240654, 1e-6);
    EXPECT_EQ(car.raceTime(), 0);
}

// Derivation (air switched off, first gear, 123.787 rpm per km/h): 100 ms of accelerator add
// 0.002 to the rest value 0.0022440, so the drive force is 15 × 0.004244 / 0.002244 kgf and the
// car gains (that − 15) / 1000 × 9.8 = 0.1310163 m/s², less than 1 m/s².
//   at 60 km/h (7427 rpm) it is applied: 60 + 0.1310163 × 0.36 = 60.0471659
//   at 70 km/h (8665 rpm, on the limiter) it is not: the speed stays 70
TEST(CarAndControlsRulesTest, TheLimiterHoldsEvenAGentleAcceleration) {
    struct Row {
        double kmh;
        double kmhAfter;
    };
    for (const Row row : {Row{60, 60.0471659}, Row{70, 70}}) {
        Vehicle car = exampleCar();
        car.spec().setAir(0.0);
        car.step(3000);
        car.controls().acceleratorKey(true, 3000);
        car.controls().acceleratorKey(true, 3100);
        car.setSpeed(row.kmh);
        car.step(3100);
        EXPECT_NEAR(car.step(3200), row.kmhAfter, 1e-6) << row.kmh;
    }
}

// Derivation: in the countdown the engine revs with the accelerator alone, over the 0.08 between
// rest and the first gear's limit: 0.02 per second held, so 0.01 after 500 ms is 1000 rpm and
// 0.05 after 2500 ms 5000 rpm. From the third second on it follows the road speed (0 at rest).
TEST(CarAndControlsRulesTest, TheEngineRevsWithTheAcceleratorInTheCountdown) {
    struct Row {
        std::uint32_t now;
        double rpm;
    };
    for (const Row row : {Row{500, 1000}, Row{2500, 5000}, Row{3000, 0}}) {
        Vehicle car = exampleCar();
        car.controls().acceleratorKey(true, 0);
        car.controls().acceleratorKey(true, row.now);
        EXPECT_NEAR(car.computeEngineSpeed(row.now), row.rpm, 1e-6) << row.now;
        EXPECT_NEAR(car.engineSpeed(), row.rpm, 1e-6) << row.now;
    }
}

// A car whose data lack the weight or everything has no rest values (0, not a NaN) and stays put.
TEST(CarAndControlsRulesTest, ACarWithMissingDataHasNoRestValues) {
    Vehicle weightless(0);
    CarSpec& spec = weightless.spec();
    spec.setDisplacement(2000);
    spec.setSlow(4.0);
    spec.setTire(0.6);
    spec.setGear(0, 3.5);
    weightless.reset(0);
    Vehicle blank(0);
    for (const Vehicle* car : {&weightless, &blank}) {
        EXPECT_EQ(car->controls().acceleratorRest(), 0.0);
        EXPECT_EQ(car->controls().brakeRest(), 0.0);
        EXPECT_EQ(car->controls().brake(), 0.0);
    }
}

// After a full reset both rest values are 0, whatever car was loaded before.
TEST(CarAndControlsRulesTest, AFullResetLeavesNoRestBrake) {
    Vehicle car = exampleCar();
    EXPECT_NEAR(car.controls().brakeRest(), 0.009, 1e-12); // tyre 0.6 m × μr 0.015
    car.fullReset(0);
    EXPECT_EQ(car.controls().brakeRest(), 0.0);
    EXPECT_EQ(car.controls().brake(), 0.0);
}

// Derivation: at 50 km/h the heading turns 160 / 50 + 40 = 43.2 degrees a second; a speed set
// from outside (a ghost placed, a car reset) sets the steering rate at once.
TEST(CarAndControlsRulesTest, ASpeedSetFromOutsideSetsTheSteeringRate) {
    Vehicle car = exampleCar();
    car.setSpeed(50);
    car.controls().steerLeftKey(true, 1000);
    car.controls().steerLeftKey(true, 2000);
    EXPECT_NEAR(car.controls().heading(), 43.2, 1e-4);
}

// The steering rate follows the car's own speed: after each frame the controls know it.
TEST(CarAndControlsRulesTest, TheControlsKnowTheSpeedOfTheLastFrame) {
    Vehicle car = exampleCar();
    car.setSpeed(50);
    EXPECT_EQ(car.controls().speedCopy(), 50.0);
    car.step(3000);
    car.step(3100);
    EXPECT_GT(car.speed(), 0.0);
    EXPECT_EQ(car.controls().speedCopy(), car.speed());
}

// Every key reports its press as 1 and its release as -1 (the gear keys report the press only),
// each through the callback right as it happens, in the order the keys are polled.
TEST(CarAndControlsRulesTest, EveryKeyReportsItsPressAndRelease) {
    Vehicle car = exampleCar();
    car.spec().setAutomatic(0);
    KeyTable keys;
    for (const int key : {vk::kX, vk::kZ, vk::kLeft, vk::kRight, vk::kUp})
        keys.setDown(key, true);
    std::vector<std::pair<Control, int>> seen;
    const auto log = [&](Control control, int result) { seen.emplace_back(control, result); };
    const ControlChanges pressed = car.pollKeys(keys, 100, log);
    EXPECT_EQ(pressed.accelerator, 1);
    EXPECT_EQ(pressed.brake, 1);
    EXPECT_EQ(pressed.steerLeft, 1);
    EXPECT_EQ(pressed.steerRight, 1);
    EXPECT_EQ(pressed.gearUp, 1);
    EXPECT_EQ(pressed.gearDown, 0);
    EXPECT_EQ(pressed.automatic, 0);
    const std::vector<std::pair<Control, int>> pressLog = {
        {Control::kAccelerator, 1}, {Control::kBrake, 1},  {Control::kSteerLeft, 1},
        {Control::kSteerRight, 1},  {Control::kGearUp, 1},
    };
    EXPECT_EQ(seen, pressLog);

    keys.releaseAll();
    keys.setDown(vk::kDown, true);
    seen.clear();
    const ControlChanges released = car.pollKeys(keys, 200, log);
    EXPECT_EQ(released.accelerator, -1);
    EXPECT_EQ(released.brake, -1);
    EXPECT_EQ(released.steerLeft, -1);
    EXPECT_EQ(released.steerRight, -1);
    EXPECT_EQ(released.gearUp, 0);
    EXPECT_EQ(released.gearDown, 1);
    const std::vector<std::pair<Control, int>> releaseLog = {
        {Control::kAccelerator, -1}, {Control::kBrake, -1},   {Control::kSteerLeft, -1},
        {Control::kSteerRight, -1},  {Control::kGearDown, 1},
    };
    EXPECT_EQ(seen, releaseLog);
}

DriverControls restingControls() {
    DriverControls controls;
    controls.reset(0.002244, 0.009, exampleCar().spec()); // the example car on level asphalt
    return controls;
}

// Derivation: at 100 km/h the heading turns 160 / 100 + 40 = 41.6 degrees a second; a replayed
// press held from 5 s to 6 s turns the car as far as the key itself, left positive.
TEST(CarAndControlsRulesTest, AReplayedSteeringPressTurnsAsFarAsTheKey) {
    DriverControls left = restingControls();
    left.setSpeedCopy(100);
    DriverControls right = left;
    left.steerLeftPress(5000, 6000);
    right.steerRightPress(5000, 6000);
    EXPECT_NEAR(left.heading(), 41.6, 1e-4);
    EXPECT_NEAR(right.heading(), -41.6, 1e-4);
    // Still held: the next replayed pass keeps turning from where the last one stopped.
    right.steerRightPress(5000, 6500);
    EXPECT_NEAR(right.heading(), -62.4, 1e-4);
}

// A released brake returns to the car's rest brake, replayed or keyed.
TEST(CarAndControlsRulesTest, ReleasingTheBrakeReturnsToTheRestBrake) {
    DriverControls controls = restingControls();
    controls.brakePress(1000, 1100); // 100 ms at 50 kg/ms from 0 (a fresh car's brake)
    EXPECT_EQ(controls.brake(), 5000.0);
    controls.brakeRelease();
    EXPECT_EQ(controls.brake(), 0.009);
    controls.brakeKey(true, 2000);
    controls.brakeKey(true, 2010);
    EXPECT_EQ(controls.brakeKey(false, 2020), -1);
    EXPECT_EQ(controls.brake(), 0.009);
}

// The steering keys report 1 on the press, 0 while held, -1 on the release; the gear keys 1 on
// the press and 0 otherwise; gearUp and gearDown 1 when they shifted.
TEST(CarAndControlsRulesTest, WhatTheKeysAndShiftsReport) {
    DriverControls controls = restingControls();
    EXPECT_EQ(controls.steerRightKey(true, 100), 1);
    EXPECT_EQ(controls.steerRightKey(true, 200), 0);
    EXPECT_EQ(controls.steerRightKey(false, 300), -1);
    EXPECT_EQ(controls.steerRightKey(false, 400), 0);
    EXPECT_EQ(controls.gearUpKey(true), 1);
    EXPECT_EQ(controls.gearUpKey(false), 0);
    EXPECT_EQ(controls.gearUpKey(true), 1);
    EXPECT_EQ(controls.gearUpKey(true), 0); // still held
    EXPECT_EQ(controls.gearDownKey(true), 1);
    EXPECT_EQ(controls.gearDownKey(true), 0); // still held
    EXPECT_EQ(controls.gearDownKey(false), 0);
    EXPECT_EQ(controls.gearIndex(), 1); // two presses up, one down
    EXPECT_EQ(controls.gearUp(), 1);
    EXPECT_EQ(controls.gearIndex(), 2);
    EXPECT_EQ(controls.gearDown(), 1);
    EXPECT_EQ(controls.gearDown(), 1);
    EXPECT_EQ(controls.gearIndex(), 0);
    EXPECT_EQ(controls.gearDown(), 0);
}

// First gear can be engaged directly from any gear; the first gear's accelerator limit stands
// for gears that do not exist, even while the brake is held.
TEST(CarAndControlsRulesTest, FirstGearIsAlwaysThere) {
    DriverControls controls = restingControls();
    controls.setGearIndex(2);
    controls.setGearIndex(0);
    EXPECT_EQ(controls.gearIndex(), 0);
    controls.brakePress(0, 100);
    EXPECT_NEAR(controls.acceleratorLimit(-1), 0.082244, 1e-12);
    EXPECT_NEAR(controls.acceleratorLimit(6), 0.082244, 1e-12);
    EXPECT_NEAR(controls.acceleratorLimit(5), 0.162244, 1e-12);
}

} // namespace
} // namespace velnor
