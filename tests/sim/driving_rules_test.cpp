// The rules of driving as the player feels them: how much a grade, the brake and the surface slow
// the car, how fast the steering turns it at each speed, where the automatic gearbox shifts. The
// expected numbers are worked out by hand from the model's formulas (the derivation is beside each
// table), never by the game's own helpers.
#include "sim/driver_controls.h"
#include "sim/example_car.h"
#include "sim/vehicle.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

using test::exampleCar;

// The example car, its rest values taken on level asphalt in first gear, now rolling at `kmh` on
// a road of `gradePercent` and rolling coefficient `rolling` with the accelerator at rest and
// `brakeKg` of brake held: its speed 100 ms later.
double speedAfterATenthOfASecond(double kmh, double gradePercent, double rolling, double brakeKg) {
    Vehicle car = exampleCar();
    car.roadConditions().setGradePercent(gradePercent, 0);
    car.roadConditions().setRolling(rolling, 0);
    car.step(3000); // the end of the start hold
    car.controls().brakeKey(true, 3000);
    car.controls().brakeKey(true, 3000 + static_cast<std::uint32_t>(brakeKg / 50)); // 50 kg/ms
    car.setSpeed(kmh);
    car.step(3000); // no time passes: the acceleration at `kmh` is worked out
    return car.step(3100);
}

// Derivation (W 1000 kg, first gear 3.5, final 4.0, 2000 cc, tyre 0.6 m, μa 0.0025, 1.7 m × 1.4 m):
//   the rest accelerator on level asphalt gives a drive force of W × 0.015 = 15 kgf;
//   air at 60 km/h: 0.0025 × 1.4 × 1.7 × 60² = 21.42 kgf; sin(atan 0.05) = 0.0499376;
//   a = (15 − (W + b) × μr − W × sin θ − 21.42) / W × 9.8 m/s², and 100 ms add a × 0.36 km/h.
//   level:           a = −0.209916  → 59.92443024
//   5 % uphill:      a = −0.6993046 → 59.74825033 (the grade takes 49.94 kgf)
//   5 % downhill:    a = +0.2794726 → 60.10061015 (the grade gives 49.94 kgf)
//   1000 kg brake:   a = −0.356916  → 59.87151024 (the brake adds to the weight rolled)
//   1000 kg, μr .03: a = −0.650916  → 59.76567024
//   5000 kg brake:   a = −0.944916  → 59.65983024
TEST(DrivingRulesTest, GradeBrakeAndSurfaceSlowACarAtSixty) {
    struct Row {
        const char* name;
        double gradePercent;
        double rolling;
        double brakeKg;
        double kmhAfter;
    };
    const Row rows[] = {
        {"level asphalt, coasting", 0, 0.015, 0, 59.92443024},
        {"5% uphill", 5, 0.015, 0, 59.74825033},
        {"5% downhill", -5, 0.015, 0, 60.10061015},
        {"1000 kg of brake", 0, 0.015, 1000, 59.87151024},
        {"1000 kg of brake on a rough surface", 0, 0.03, 1000, 59.76567024},
        {"5000 kg of brake", 0, 0.015, 5000, 59.65983024},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(speedAfterATenthOfASecond(60, row.gradePercent, row.rolling, row.brakeKg),
                    row.kmhAfter, 1e-7)
            << row.name;
}

// The accelerator at rest is the one whose drive force holds the car against the rolling and the
// grade resistance of the road it starts on: with its rest values taken on that road (as at a
// race start), a coasting car on any grade is slowed by the air alone, exactly as on the level:
// a = −21.42 / 1000 × 9.8 = −0.209916 m/s², 60 km/h → 59.92443024 after 100 ms.
TEST(DrivingRulesTest, TheRestAcceleratorHoldsTheCarOnTheGradeItStartsOn) {
    for (const double gradePercent : {0.0, 5.0, -5.0, 10.0}) {
        Vehicle car = exampleCar();
        car.roadConditions().setGradePercent(gradePercent, 0);
        car.roadConditions().setRolling(0.015, 0);
        car.reset(0); // the rest values of this road
        car.step(3000);
        car.setSpeed(60);
        car.step(3000);
        EXPECT_NEAR(car.step(3100), 59.92443024, 1e-7) << gradePercent << "%";
    }
}

// Derivation: above 10 km/h the heading turns 160 / v + 40 degrees a second, above 1 km/h 20, at
// or below 1 km/h not at all; 10 km/h itself is still in the slow band (the test is v > 10).
//   160 / 10.1 + 40 = 55.841584; 160 / 100 + 40 = 41.6.
TEST(DrivingRulesTest, SteeringRateOnBothSidesOfEachSwitchPoint) {
    struct Row {
        double kmh;
        double degreesInOneSecond;
    };
    const Row rows[] = {{0.99, 0},  {1.0, 0},          {1.01, 20}, {9.9, 20},
                        {10.0, 20}, {10.1, 55.841584}, {100, 41.6}};
    for (const Row row : rows) {
        DriverControls left;
        left.reset(0.002244, 0.009, exampleCar().spec());
        DriverControls right = left;
        left.setSpeedCopy(row.kmh);
        right.setSpeedCopy(row.kmh);
        left.steerLeftKey(true, 5000);
        left.steerLeftKey(true, 6000);
        right.steerRightKey(true, 5000);
        right.steerRightKey(true, 6000);
        EXPECT_NEAR(left.heading(), row.degreesInOneSecond, 1e-4) << row.kmh;
        EXPECT_NEAR(right.heading(), -row.degreesInOneSecond, 1e-4) << row.kmh;
    }
}

// Derivation: in second gear (2.1) the engine turns v × 2.1 × 4.0 × 100 / (6π × 0.6) rpm, that is
// 7000 rpm at 30π km/h and 3500 rpm at 15π km/h (94.2477796076938 and 47.1238898038469 give
// exactly 7000 and 3500 in double precision); 74.272307 rpm per km/h. The gearbox
// shifts up above 7000 rpm and down below 3500 rpm, not at either point itself.
TEST(DrivingRulesTest, TheAutomaticGearboxShiftsAboveSevenThousandAndBelowThirtyFiveHundred) {
    struct Row {
        const char* name;
        double kmh;
        int gearAfter; // from second gear (index 1)
    };
    const Row rows[] = {
        {"7010 rpm", 94.38241929284763, 2}, {"7000 rpm", 94.2477796076938, 1},
        {"6990 rpm", 94.11313992253994, 1}, {"3510 rpm", 47.25852948900074, 1},
        {"3500 rpm", 47.1238898038469, 1},  {"3490 rpm", 46.98925011869304, 0},
    };
    for (const Row& row : rows) {
        Vehicle car = exampleCar();
        car.spec().setAutomatic(1);
        car.controls().setGearIndex(1);
        car.setSpeed(row.kmh);
        car.computeEngineSpeed(5000); // after the start hold: from the road speed
        car.automaticGearbox();
        EXPECT_EQ(car.controls().gearIndex(), row.gearAfter) << row.name;
    }
}

// Derivation: at 5 km/h the heading turns 20° a second, so 500 ms of steering from ±170° lands on
// ±180° exactly, which is already the other end of the circle.
TEST(DrivingRulesTest, SteeringOntoOneEndOfTheCircleLandsOnTheOther) {
    DriverControls controls;
    controls.reset(0.002244, 0.009, exampleCar().spec());
    controls.setSpeedCopy(5);
    controls.setHeading(170);
    controls.steerLeftKey(true, 1000);
    controls.steerLeftKey(true, 1500);
    EXPECT_EQ(controls.heading(), -180.0f);
    controls.steerLeftKey(false, 1500);
    controls.setHeading(-170);
    controls.steerRightKey(true, 2000);
    controls.steerRightKey(true, 2500);
    EXPECT_EQ(controls.heading(), 180.0f);
}

// Derivation: a car rolling at 36 km/h (10 m/s) with no acceleration covers exactly 1 m in 100 ms:
// from 99 m it reaches 100 m, where the next road condition starts, and is on it in that frame.
TEST(DrivingRulesTest, TheNextRoadConditionStartsAtItsOwnMetre) {
    Vehicle car = exampleCar();
    car.roadConditions().setStart(100, 1);
    car.roadConditions().setRolling(0.03, 1);
    car.step(3000); // standing at rest: no acceleration
    car.setDistance(99);
    car.setSpeed(36);
    car.step(3100);
    EXPECT_EQ(car.distance(), 100.0);
    EXPECT_EQ(car.roadConditions().currentIndex(), 1);
}

} // namespace
} // namespace velnor
