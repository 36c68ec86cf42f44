#include "sim/car_spec.h"
#include "sim/driver_controls.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

constexpr double kRest = 0.0022440;

CarSpec sixGears() {
    CarSpec spec;
    const double ratios[] = {3.5, 2.1, 1.4, 1.0, 0.8, 0.7};
    for (int i = 0; i < 6; ++i)
        spec.setGear(i, ratios[i]);
    return spec;
}

DriverControls resetControls(const CarSpec& spec = sixGears()) {
    DriverControls controls;
    controls.reset(kRest, 0.009, spec);
    return controls;
}

TEST(DriverControlsTest, ResetSetsRestValuesLimitsAndGearCount) {
    const DriverControls controls = resetControls();
    EXPECT_EQ(controls.accelerator(), kRest);
    EXPECT_EQ(controls.brake(), 0.0);
    EXPECT_EQ(controls.brakeRest(), 0.009);
    EXPECT_EQ(controls.gearCount(), 6);
    const double offsets[] = {0.08, 0.09, 0.10, 0.12, 0.14, 0.16};
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(controls.acceleratorLimit(i), kRest + offsets[i]);
    EXPECT_DOUBLE_EQ(controls.acceleratorLimit(7), kRest + 0.08);
}

TEST(DriverControlsTest, AcceleratorClimbsTwoHundredthsPerSecondUpToTheGearLimit) {
    DriverControls controls = resetControls();
    EXPECT_EQ(controls.acceleratorKey(true, 1000), 1);
    EXPECT_EQ(controls.acceleratorKey(true, 2000), 0);
    EXPECT_NEAR(controls.accelerator(), kRest + 0.02, 1e-12);
    EXPECT_EQ(controls.acceleratorKey(true, 7000), 0);
    EXPECT_DOUBLE_EQ(controls.accelerator(), kRest + 0.08);
    // Let go: back to the rest value exactly.
    EXPECT_EQ(controls.acceleratorKey(false, 7100), -1);
    EXPECT_EQ(controls.accelerator(), kRest);
    EXPECT_EQ(controls.acceleratorKey(false, 7200), 0);
}

TEST(DriverControlsTest, BrakeRampsWithoutLimitAndReturnsToItsRestValue) {
    DriverControls controls = resetControls();
    EXPECT_EQ(controls.brakeKey(true, 500), 1);
    EXPECT_EQ(controls.brakeKey(true, 2500), 0);
    EXPECT_EQ(controls.brake(), 100000.0);
    EXPECT_EQ(controls.brakeKey(false, 2600), -1);
    EXPECT_EQ(controls.brake(), 0.009);
}

TEST(DriverControlsTest, SteeringRateDependsOnSpeed) {
    struct Case {
        double speed;
        double degreesPerSecond;
    };
    for (const Case c : {Case{100.0, 41.6}, Case{5.0, 20.0}, Case{1.0, 0.0}, Case{0.5, 0.0}}) {
        DriverControls controls = resetControls();
        controls.setSpeedCopy(c.speed);
        EXPECT_EQ(controls.steerLeftKey(true, 0), 1);
        controls.steerLeftKey(true, 1000);
        EXPECT_NEAR(controls.heading(), c.degreesPerSecond, 1e-4) << c.speed;
        controls.steeringRelease();
        controls.steerRightKey(true, 1000);
        controls.steerRightKey(true, 2000);
        EXPECT_NEAR(controls.heading(), 0.0, 1e-4) << c.speed;
    }
}

TEST(DriverControlsTest, HeadingWrapsToTheOtherEnd) {
    DriverControls controls = resetControls();
    controls.setSpeedCopy(100.0);
    controls.setHeading(179.0f);
    controls.steerLeftKey(true, 0);
    controls.steerLeftKey(true, 100); // +4.16
    EXPECT_EQ(controls.heading(), -180.0f);
    EXPECT_EQ(controls.steerLeftKey(false, 100), -1);

    controls.setHeading(-179.0f);
    controls.steerRightKey(true, 200);
    controls.steerRightKey(true, 300);
    EXPECT_EQ(controls.heading(), 180.0f);
}

TEST(DriverControlsTest, GearKeysShiftOncePerPress) {
    CarSpec twoGears;
    twoGears.setGear(0, 3.5);
    twoGears.setGear(1, 2.1);
    twoGears.setGear(3, 1.0); // behind a zero: never used
    DriverControls controls = resetControls(twoGears);
    EXPECT_EQ(controls.gearCount(), 2);
    EXPECT_EQ(controls.gearUpKey(true), 1);
    EXPECT_EQ(controls.gearIndex(), 1);
    EXPECT_EQ(controls.gearUpKey(true), 0); // held
    EXPECT_EQ(controls.gearUpKey(false), 0);
    EXPECT_EQ(controls.gearUpKey(true), 1); // top gear: reported, no shift
    EXPECT_EQ(controls.gearIndex(), 1);
    EXPECT_EQ(controls.gearUp(), 0);
    EXPECT_EQ(controls.gearDownKey(true), 1);
    EXPECT_EQ(controls.gearIndex(), 0);
    EXPECT_EQ(controls.gearDownKey(false), 0);
    EXPECT_EQ(controls.gearDownKey(true), 1);
    EXPECT_EQ(controls.gearIndex(), 0);
}

TEST(DriverControlsTest, SetGearIndexAcceptsOnlyUsableGears) {
    DriverControls controls = resetControls();
    controls.setGearIndex(5);
    EXPECT_EQ(controls.gearIndex(), 5);
    controls.setGearIndex(6);
    controls.setGearIndex(-1);
    EXPECT_EQ(controls.gearIndex(), 5);
}

TEST(DriverControlsTest, ReplayedPressRampsFromTheRecordedTick) {
    DriverControls controls = resetControls();
    controls.acceleratorPress(1000, 1500);
    EXPECT_NEAR(controls.accelerator(), kRest + 0.01, 1e-12);
    // A press delivered again keeps the first tick and ramps on like a held key.
    controls.acceleratorPress(1400, 2000);
    EXPECT_NEAR(controls.accelerator(), kRest + 0.02, 1e-12);
    controls.acceleratorRelease();
    EXPECT_EQ(controls.accelerator(), kRest);

    controls.brakeApply(3000);
    controls.brakeApply(3010);
    EXPECT_EQ(controls.brake(), 500.0);
}

TEST(DriverControlsTest, RampsStayRightAcrossTheTickWrap) {
    DriverControls controls = resetControls();
    controls.acceleratorKey(true, 0xFFFFFE0Cu); // 500 ms before the wrap
    controls.acceleratorKey(true, 500);         // 1000 ms later
    EXPECT_NEAR(controls.accelerator(), kRest + 0.02, 1e-12);
}

} // namespace
} // namespace velnor
