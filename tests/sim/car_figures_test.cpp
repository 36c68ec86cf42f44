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

} // namespace
} // namespace velnor
