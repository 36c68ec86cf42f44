#include "platform/key_state.h"
#include "sim/example_car.h"
#include "sim/vehicle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace velnor {
namespace {

using test::exampleCar;

TEST(VehicleTest, WorkedExampleRestValuesAndForces) {
    Vehicle car = exampleCar();
    const DriverControls& controls = car.controls();
    EXPECT_NEAR(controls.acceleratorRest(), 0.0022440, 1e-7);
    EXPECT_NEAR(controls.brakeRest(), 0.009, 1e-12);
    EXPECT_NEAR(car.driveForceAt(controls.acceleratorRest(), 0), 15.0, 1e-9);
    EXPECT_NEAR(car.driveForceAt(controls.acceleratorLimit(0), 0), 549.76, 0.005);
    EXPECT_NEAR(car.engineSpeedAt(50.0, 0), 6189.0, 0.5);
    EXPECT_NEAR(8000.0 / car.engineSpeedAt(1.0, 0), 64.6, 0.05);
}

TEST(VehicleTest, WorkedExampleAccelerationFromRest) {
    Vehicle car = exampleCar();
    car.controls().acceleratorKey(true, 0);
    car.controls().acceleratorKey(true, 5000); // past the first gear's limit
    EXPECT_EQ(car.step(5000), 0.0);
    EXPECT_NEAR(car.driveForce(), 549.76, 0.005);
    EXPECT_NEAR(car.acceleration(), 5.2407, 1e-4);
    // The next 100 ms apply it.
    car.step(5100);
    EXPECT_NEAR(car.speed(), 5.2407 * 0.1 * 3.6, 1e-3);
}

TEST(VehicleTest, WorkedExampleEngineSpeedAfterTheHold) {
    Vehicle car = exampleCar();
    car.setSpeed(50.0);
    EXPECT_NEAR(car.computeEngineSpeed(3000), 6189.0, 0.5);
    car.setSpeed(100.0);
    EXPECT_EQ(car.computeEngineSpeed(3000), 8000.0); // capped
}

TEST(VehicleTest, NothingMovesDuringTheStartHold) {
    Vehicle car = exampleCar({3.5}, 1000);
    car.controls().acceleratorKey(true, 1000);
    for (std::uint32_t t = 1000; t < 4000; t += 100) {
        car.controls().acceleratorKey(true, t);
        EXPECT_EQ(car.step(t), 0.0);
        EXPECT_EQ(car.speed(), 0.0);
        EXPECT_EQ(car.distance(), 0.0);
        EXPECT_EQ(car.raceTime(), static_cast<std::int32_t>(t) - 4000);
    }
    car.step(4000);
    EXPECT_EQ(car.raceTime(), 0);
}

TEST(VehicleTest, PreStartRevsFollowTheAccelerator) {
    Vehicle car = exampleCar();
    car.controls().acceleratorKey(true, 0);
    car.controls().acceleratorKey(true, 2999);
    EXPECT_EQ(car.countdown(2999), 2);
    EXPECT_NEAR(car.computeEngineSpeed(2999), 5998.0, 1e-6); // 0.05998 of 0.08
    car.controls().acceleratorKey(true, 3000);
    EXPECT_EQ(car.countdown(3000), 3);
    EXPECT_EQ(car.computeEngineSpeed(3000), 0.0); // from the road speed
    car.automaticGearbox();
    EXPECT_EQ(car.controls().gearIndex(), 0);
}

TEST(VehicleTest, CountdownRunsToThreeThenStops) {
    const Vehicle car = exampleCar({3.5}, 100);
    EXPECT_EQ(car.countdown(100), 0);
    EXPECT_EQ(car.countdown(1099), 0);
    EXPECT_EQ(car.countdown(1100), 1);
    EXPECT_EQ(car.countdown(3100), 3);
    EXPECT_EQ(car.countdown(4099), 3);
    EXPECT_EQ(car.countdown(4100), -1);
    EXPECT_EQ(car.countdown(50), -1); // before the reset: a huge unsigned difference
}

TEST(VehicleTest, ACarAtRestStaysPutEvenDownhill) {
    for (const double percent : {0.0, -5.0, -30.0}) {
        Vehicle car = exampleCar();
        car.roadConditions().setGradePercent(percent, 0);
        car.reset(0);
        for (std::uint32_t t = 3000; t <= 10000; t += 16)
            car.step(t);
        EXPECT_EQ(car.speed(), 0.0) << percent;
        EXPECT_EQ(car.distance(), 0.0) << percent;
    }
}

TEST(VehicleTest, SpeedNeverGoesNegative) {
    Vehicle car = exampleCar();
    car.controls().brakeKey(true, 1100);
    car.step(3000);
    car.setSpeed(1.0);
    car.controls().brakeKey(true, 3100); // 100 000 kg of brake
    car.step(3100);                      // computes a large deceleration
    car.step(3200);                      // applies it: below 0
    EXPECT_EQ(car.speed(), 0.0);
    EXPECT_EQ(car.acceleration(), 0.0);
    EXPECT_EQ(car.driveForce(), 0.0);
}

TEST(VehicleTest, StoppingInThirdOrAboveEngagesFirstGear) {
    struct Case {
        int gear;
        int after;
    };
    for (const Case c : {Case{3, 0}, Case{2, 0}, Case{1, 1}, Case{0, 0}}) {
        Vehicle car = exampleCar();
        car.step(3000);
        car.controls().setGearIndex(c.gear);
        car.setSpeed(-0.1);
        car.step(3016);
        EXPECT_EQ(car.controls().gearIndex(), c.after) << c.gear;
    }
}

TEST(VehicleTest, RevLimitHoldsTheSpeedButLetsTheCarSlowDown) {
    Vehicle car = exampleCar({3.5});
    car.controls().acceleratorKey(true, 0);
    std::uint32_t t = 3000;
    for (; t < 60000; t += 10) {
        car.controls().acceleratorKey(true, t);
        car.step(t);
    }
    const double limitSpeed = 8000.0 / car.engineSpeedAt(1.0, 0);
    EXPECT_GE(car.speed(), limitSpeed);
    EXPECT_LT(car.speed(), limitSpeed + 1.0);
    const double held = car.speed();
    car.step(t += 10);
    EXPECT_EQ(car.speed(), held); // positive acceleration not applied at the limit
    car.controls().acceleratorKey(false, t);
    car.step(t += 10); // computes a negative acceleration
    car.step(t += 10); // applies it
    EXPECT_LT(car.speed(), held);
}

TEST(VehicleTest, TwoFramesSixteenMillisecondsApartAtHundred) {
    Vehicle car = exampleCar();
    car.controls().acceleratorKey(true, 0); // not at rest, so the car is not stopped
    car.step(3000);
    car.setSpeed(100.0);
    car.step(3016);
    EXPECT_NEAR(car.distance(), 0.4444, 1e-4);
}

TEST(VehicleTest, RoadConditionsEndAtAZeroStart) {
    Vehicle car = exampleCar();
    car.roadConditions().setStart(500, 1);
    car.roadConditions().setRolling(0.03, 1);
    car.reset(0);
    car.controls().acceleratorKey(true, 0);
    car.step(3000);
    car.setDistance(10000.0);
    for (std::uint32_t t = 3016; t < 3200; t += 16)
        car.step(t);
    EXPECT_EQ(car.roadConditions().currentIndex(), 1);
}

TEST(VehicleTest, AtMostOneRoadConditionIsPassedPerFrame) {
    Vehicle car = exampleCar();
    car.roadConditions().setStart(100, 1);
    car.roadConditions().setStart(101, 2);
    car.roadConditions().setRolling(0.2, 2);
    car.reset(0);
    car.controls().acceleratorKey(true, 0);
    car.step(3000);
    car.setDistance(99.0);
    car.setSpeed(108.0); // 3 m in 100 ms
    car.step(3100);
    EXPECT_NEAR(car.distance(), 102.0, 1e-9);
    EXPECT_EQ(car.roadConditions().currentIndex(), 1);
    car.step(3101);
    EXPECT_EQ(car.roadConditions().currentIndex(), 2);
}

TEST(VehicleTest, AutomaticGearboxShiftsDownOneGearPerFrame) {
    Vehicle car = exampleCar();
    car.controls().acceleratorKey(true, 0);
    car.step(3000);
    car.controls().setGearIndex(2);
    car.setSpeed(20.0);
    car.computeEngineSpeed(3000);
    EXPECT_LT(car.engineSpeed(), 3500.0);
    EXPECT_EQ(car.automaticGearbox(), -1);
    EXPECT_EQ(car.controls().gearIndex(), 1);
    car.computeEngineSpeed(3000);
    EXPECT_EQ(car.automaticGearbox(), -1);
    EXPECT_EQ(car.controls().gearIndex(), 0);
    car.computeEngineSpeed(3000);
    EXPECT_EQ(car.automaticGearbox(), 0);

    car.spec().setAutomatic(0);
    car.controls().setGearIndex(2);
    EXPECT_EQ(car.automaticGearbox(), 0);
}

TEST(VehicleTest, AnIncompleteCarStaysFinite) {
    Vehicle car(0); // fresh data: no weight, tyre, engine or gears
    KeyTable keys;
    keys.setDown(vk::kX, true);
    keys.setDown(vk::kLeft, true);
    car.reset(0);
    for (std::uint32_t t = 0; t < 10000; t += 16) {
        car.step(t);
        car.computeEngineSpeed(t);
        car.pollKeys(keys, t);
    }
    for (const double value : {car.speed(), car.acceleration(), car.driveForce(), car.engineSpeed(),
                               car.distance(), car.controls().acceleratorRest(),
                               car.controls().brakeRest(), car.controls().accelerator()})
        EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(car.speed(), 0.0);
}

// A scripted drive: accelerator, a gear change, steering and the brake.
Vehicle scriptedDrive(std::uint32_t start) {
    Vehicle car = exampleCar({3.5, 2.1, 1.4, 1.0, 0.8}, start);
    KeyTable keys;
    for (std::uint32_t ms = 0; ms <= 40000; ms += 16) {
        keys.setDown(vk::kX, ms < 25000);
        keys.setDown(vk::kLeft, ms > 12000 && ms < 14000);
        keys.setDown(vk::kZ, ms > 30000);
        keys.setDown(vk::kUp, ms > 20000 && ms < 20100);
        const std::uint32_t now = start + ms;
        car.step(now);
        car.computeEngineSpeed(now);
        car.pollKeys(keys, now);
    }
    return car;
}

TEST(VehicleTest, ARunAcrossTheTickWrapMatchesTheSameRunFromZero) {
    const Vehicle plain = scriptedDrive(0);
    // The counter wraps 5001 ms after the reset, 2 s after "GO!", while the accelerator is held.
    const Vehicle wrapped = scriptedDrive(0xFFFFFFFFu - 5000u);
    EXPECT_GT(plain.distance(), 100.0);
    EXPECT_EQ(wrapped.speed(), plain.speed());
    EXPECT_EQ(wrapped.distance(), plain.distance());
    EXPECT_EQ(wrapped.controls().heading(), plain.controls().heading());
    EXPECT_EQ(wrapped.controls().gearIndex(), plain.controls().gearIndex());
    EXPECT_EQ(wrapped.raceTime(), plain.raceTime());
}

TEST(VehicleTest, FullResetClearsDataRoadAndMotion) {
    Vehicle car = exampleCar();
    car.roadConditions().setRolling(0.2, 0);
    car.controls().acceleratorKey(true, 0);
    car.step(5000);
    car.fullReset(6000);
    EXPECT_STREQ(car.spec().carname(), "Velnor");
    EXPECT_EQ(car.spec().weight(), 0.0);
    EXPECT_EQ(car.roadConditions().rolling(0), 0.015);
    EXPECT_EQ(car.controls().acceleratorRest(), 0.0);
    EXPECT_EQ(car.controls().gearCount(), 0);
    EXPECT_EQ(car.startTick(), 6000u);
    EXPECT_EQ(car.speed(), 0.0);
}

TEST(VehicleTest, PollKeysReportsEveryChangeInOrder) {
    Vehicle car = exampleCar();
    KeyTable keys;
    keys.setDown(vk::kX, true);
    keys.setDown(vk::kUp, true);
    const ControlChanges first = car.pollKeys(keys, 100);
    EXPECT_EQ(first.accelerator, 1);
    EXPECT_EQ(first.gearUp, 1);
    EXPECT_EQ(first.brake, 0);
    // The engine stands in second gear: the automatic gearbox shifts straight back down.
    EXPECT_EQ(first.automatic, -1);
    EXPECT_EQ(car.controls().gearIndex(), 0);
    keys.releaseAll();
    const ControlChanges second = car.pollKeys(keys, 200);
    EXPECT_EQ(second.accelerator, -1);
    EXPECT_EQ(second.gearUp, 0);
    EXPECT_EQ(second.automatic, 0);
}

} // namespace
} // namespace velnor
