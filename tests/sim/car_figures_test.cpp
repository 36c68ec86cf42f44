#include "sim/car_figures.h"
#include "sim/example_car.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(CarFiguresTest, WorkedExampleFigures) {
    const CarFigures figures = computeCarFigures(test::exampleCar());
    EXPECT_EQ(figures.gearCount, 5);
    EXPECT_NEAR(figures.restAccelerator, 0.0022440, 1e-7);
    EXPECT_NEAR(figures.frontalArea, 2.38, 1e-12);
    EXPECT_NEAR(figures.airResistanceAt100, 59.5, 1e-9);
    ASSERT_EQ(figures.gears.size(), 5u);
    EXPECT_NEAR(figures.gears[0].driveForceAtLimit, 549.76, 0.005);
    EXPECT_NEAR(figures.gears[0].accelerationFromRest, 5.2407, 1e-4);
    EXPECT_NEAR(figures.gears[0].revLimitSpeed, 64.6, 0.05);
    // Taller gears: less force, more speed.
    for (std::size_t i = 1; i < figures.gears.size(); ++i) {
        EXPECT_LT(figures.gears[i].driveForceAtLimit, figures.gears[i - 1].driveForceAtLimit);
        EXPECT_GT(figures.gears[i].revLimitSpeed, figures.gears[i - 1].revLimitSpeed);
    }
}

TEST(CarFiguresTest, StandingStartThroughTheCarsOwnCode) {
    Vehicle manual = test::exampleCar();
    manual.spec().setAutomatic(0); // the run uses the automatic gearbox whatever the car says
    const StandingStart run = runStandingStart(manual);
    ASSERT_TRUE(run.to50 && run.to100);
    EXPECT_GT(*run.to50, 0.0);
    EXPECT_LT(*run.to50, *run.to100);
    EXPECT_GT(run.speedAt60, 100.0);
    // 300 passes of the start hold, then 120 s of 10 ms passes.
    EXPECT_EQ(run.samples.size(), 300u + 12000u);
    EXPECT_EQ(run.samples.back().time, 120.0);
    int highest = 0;
    for (const StandingStart::Sample& sample : run.samples) {
        EXPECT_LE(sample.engineSpeed, Vehicle::kRevLimit);
        highest = std::max(highest, sample.gear);
    }
    // Fourth gear tops out at 192 km/h, short of the 198 km/h (7000 rpm) of the upshift.
    EXPECT_EQ(highest, 4);
    EXPECT_FALSE(run.topGearReached);
    EXPECT_NEAR(run.samples.back().speed, 191.6, 0.1);

    // With two gears the upshift at 7000 rpm (56.5 km/h in first) comes early.
    EXPECT_TRUE(runStandingStart(test::exampleCar({3.5, 2.1})).topGearReached);
}

TEST(CarFiguresTest, ACarWithoutGearsGoesNowhere) {
    const CarFigures figures = computeCarFigures(Vehicle(0));
    EXPECT_EQ(figures.gearCount, 0);
    EXPECT_TRUE(figures.gears.empty());
    EXPECT_FALSE(figures.acceleration.to50);
    EXPECT_FALSE(figures.acceleration.topGearReached);
    EXPECT_EQ(figures.acceleration.speedAt60, 0.0);
}

// The times a car author reads are those of the first pass at or above each speed, and the speed
// at 60 s is that of the pass at 60 s of race time, as the passes themselves show them.
TEST(CarFiguresTest, TheStandingStartFiguresAreReadOffItsOwnPasses) {
    const StandingStart run = runStandingStart(test::exampleCar());
    const auto firstAtOrAbove = [&](double kmh) {
        for (const StandingStart::Sample& sample : run.samples)
            if (sample.speed >= kmh)
                return sample.time;
        return -1.0;
    };
    ASSERT_TRUE(run.to50 && run.to100 && run.to150);
    EXPECT_EQ(*run.to50, firstAtOrAbove(50));
    EXPECT_EQ(*run.to100, firstAtOrAbove(100));
    EXPECT_EQ(*run.to150, firstAtOrAbove(150));
    bool found = false;
    for (const StandingStart::Sample& sample : run.samples)
        if (sample.time == 60.0) {
            EXPECT_EQ(run.speedAt60, sample.speed);
            found = true;
        }
    EXPECT_TRUE(found);
}

// Derivation: in first gear the engine turns v × 3.5 × 4.0 × 100 / (6π × 0.6) = 123.787 rpm per
// km/h; one second into the race the car is still in first gear, and the engine speed of that pass
// is the one of that pass's own speed (not the speed of the pass before).
TEST(CarFiguresTest, EachPassShowsTheEngineSpeedOfItsOwnSpeed) {
    const StandingStart run = runStandingStart(test::exampleCar());
    for (const StandingStart::Sample& sample : run.samples)
        if (sample.time == 1.0) {
            EXPECT_EQ(sample.gear, 1);
            EXPECT_GT(sample.speed, 10.0);
            EXPECT_NEAR(sample.engineSpeed, sample.speed * 123.78717796, 1e-5);
        }
}

// The run starts its own race: a car last reset at another tick runs exactly as a fresh one.
TEST(CarFiguresTest, TheStandingStartDoesNotDependOnTheCarsLastReset) {
    const StandingStart fresh = runStandingStart(test::exampleCar());
    const StandingStart late = runStandingStart(test::exampleCar({3.5, 2.1, 1.4, 1.0, 0.8}, 5000));
    ASSERT_EQ(late.samples.size(), fresh.samples.size());
    EXPECT_EQ(late.samples.back().speed, fresh.samples.back().speed);
    EXPECT_EQ(late.to100, fresh.to100);
}

// A car with a single gear is in its top gear from the start.
TEST(CarFiguresTest, ASingleGearIsTheTopGear) {
    EXPECT_TRUE(runStandingStart(test::exampleCar({3.5})).topGearReached);
}

// Derivation (the example car, its road turned into a 5 % climb after it was loaded): the figures
// are those of the car reset on that road. sin(atan 0.05) = 0.0499376;
//   a0 = 2π × 0.6 × 1000 × (0.015 + 0.0499376) / (0.9 × 3.5 × 4.0 × 2000) = 0.00971464
//   b0 = 0.6 × (0.015 + 0.0499376) − 0.0499376 = −0.01097505
//   first gear: limit a0 + 0.08, drive force 599.6982 kgf, less 1000 × 0.0649376 kgf of rolling
//   and grade: 5.240654 m/s² from rest, as on the level (the rest value carries the grade).
TEST(CarFiguresTest, FiguresOnTheRoadTheCarStandsOn) {
    Vehicle car = test::exampleCar();
    car.roadConditions().setGradePercent(5, 0);
    const CarFigures figures = computeCarFigures(car);
    EXPECT_NEAR(figures.restAccelerator, 0.00971464, 1e-8);
    EXPECT_NEAR(figures.restBrake, -0.01097505, 1e-8);
    ASSERT_EQ(figures.gears.size(), 5u);
    EXPECT_NEAR(figures.gears[0].driveForceAtLimit, 599.6982, 1e-4);
    EXPECT_NEAR(figures.gears[0].accelerationFromRest, 5.240654, 1e-6);
    const double ratios[] = {3.5, 2.1, 1.4, 1.0, 0.8};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(figures.gears[i].gear, i + 1);
        EXPECT_EQ(figures.gears[i].ratio, ratios[i]);
    }
}

// Derivation: the figures stay numbers for odd cars.
//   no weight:  no acceleration (0, not a division by zero);
//   1 kg:       a0 = 2π × 0.6 × 1 × 0.015 / 25200 = 2.244e-6, drive force 3.5 × (a0 + 0.08) ×
//               4 × 2000 × 0.9 / 2π / 0.6 = 534.7756 kgf, (534.7756 − 0.015) × 9.8 = 5240.654 m/s²;
//   no tyre:    no speed at the limiter (0, not infinite);
//   ratio 0.05, final 1.0, 2 m tyre: 0.05 × 100 / (6π × 2) = 0.132629 rpm per km/h, so the
//               limiter is at 8000 / 0.132629 = 60318.58 km/h.
TEST(CarFiguresTest, FiguresOfOddCarsStayNumbers) {
    Vehicle weightless(0);
    weightless.spec().setDisplacement(2000);
    weightless.spec().setSlow(4.0);
    weightless.spec().setTire(0.6);
    weightless.spec().setGear(0, 3.5);
    const CarFigures noWeight = computeCarFigures(weightless);
    ASSERT_EQ(noWeight.gears.size(), 1u);
    EXPECT_EQ(noWeight.gears[0].accelerationFromRest, 0.0);

    Vehicle light = test::exampleCar({3.5});
    light.spec().setWeight(1);
    EXPECT_NEAR(computeCarFigures(light).gears[0].accelerationFromRest, 5240.654, 1e-3);

    Vehicle tyreless(0);
    tyreless.spec().setWeight(1000);
    tyreless.spec().setGear(0, 3.5);
    const CarFigures noTyre = computeCarFigures(tyreless);
    ASSERT_EQ(noTyre.gears.size(), 1u);
    EXPECT_EQ(noTyre.gears[0].revLimitSpeed, 0.0);

    Vehicle tall = test::exampleCar({0.05});
    tall.spec().setSlow(1.0);
    tall.spec().setTire(2.0);
    EXPECT_NEAR(computeCarFigures(tall).gears[0].revLimitSpeed, 60318.58, 0.01);
}

} // namespace
} // namespace velnor
