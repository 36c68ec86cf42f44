#include "platform/key_state.h"
#include "race/ghost_log.h"
#include "sim/example_car.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(GhostLogTest, OffTheRoadIsRecordedOnlyWhenItChanges) {
    GhostLog log;
    for (int t = 0; t < 50; t += 10)
        log.recordRelease(t, GhostLog::kOffRoad); // on the road: nothing
    for (int t = 50; t < 100; t += 10)
        log.recordPress(t, GhostLog::kOffRoad);
    for (int t = 100; t < 150; t += 10)
        log.recordRelease(t, GhostLog::kOffRoad);
    ASSERT_EQ(log.eventCount(GhostLog::kOffRoad), 2);
    EXPECT_EQ(log.eventTime(GhostLog::kOffRoad, 0), 50);
    EXPECT_EQ(log.eventState(GhostLog::kOffRoad, 0), 1);
    EXPECT_EQ(log.eventTime(GhostLog::kOffRoad, 1), 100);
    EXPECT_EQ(log.eventState(GhostLog::kOffRoad, 1), 0);
}

TEST(GhostLogTest, AFullChannelRecordsNothingMore) {
    GhostLog log;
    for (int i = 0; i < GhostLog::kCapacity + 10; ++i)
        log.recordPress(i, GhostLog::kGearUp);
    EXPECT_EQ(log.eventCount(GhostLog::kGearUp), GhostLog::kCapacity);
    EXPECT_EQ(log.eventTime(GhostLog::kGearUp, GhostLog::kCapacity - 1), GhostLog::kCapacity - 1);
    // Replay walks to the end and past it without reading beyond the buffer.
    for (int i = 0; i < GhostLog::kCapacity + 5; ++i)
        log.advance(GhostLog::kGearUp);
    EXPECT_EQ(log.nextEventTime(GhostLog::kGearUp), GhostLog::kNone);
    EXPECT_EQ(log.currentEventTime(GhostLog::kGearUp), GhostLog::kNone);
    EXPECT_EQ(log.takeState(GhostLog::kGearUp), -1);
}

TEST(GhostLogTest, ReplayQueries) {
    // A log as loaded from a ghost file: entries in their slots, every index still -1.
    GhostLog log;
    log.setEvent(GhostLog::kAccelerator, 0, -500, 1);
    log.setEvent(GhostLog::kAccelerator, 1, 2000, 0);
    log.setEvent(GhostLog::kGearUp, 0, 100, 1);
    log.setEvent(GhostLog::kGearUp, 1, 200, 1);
    log.setValue(GhostLog::kSpeed, 0, 300, 42.5);

    // Before any event.
    EXPECT_EQ(log.takeState(GhostLog::kAccelerator), -1);
    EXPECT_EQ(log.currentEventTime(GhostLog::kAccelerator), GhostLog::kNone);
    EXPECT_EQ(log.nextEventTime(GhostLog::kAccelerator), -500);
    log.advance(GhostLog::kAccelerator);
    // A press is delivered on every call, like a held key ...
    EXPECT_EQ(log.takeState(GhostLog::kAccelerator), 1);
    EXPECT_EQ(log.takeState(GhostLog::kAccelerator), 1);
    EXPECT_EQ(log.currentEventTime(GhostLog::kAccelerator), -500);
    log.advance(GhostLog::kAccelerator);
    // ... a release once.
    EXPECT_EQ(log.takeState(GhostLog::kAccelerator), 0);
    EXPECT_EQ(log.takeState(GhostLog::kAccelerator), -1);
    EXPECT_EQ(log.nextEventTime(GhostLog::kAccelerator), GhostLog::kNone);

    // Gear changes are single shifts, never a held key.
    log.advance(GhostLog::kGearUp);
    EXPECT_EQ(log.takeState(GhostLog::kGearUp), 1);
    EXPECT_EQ(log.takeState(GhostLog::kGearUp), -1);
    log.advance(GhostLog::kGearUp);
    EXPECT_EQ(log.takeState(GhostLog::kGearUp), 1);

    EXPECT_EQ(log.currentValue(GhostLog::kSpeed), GhostLog::kEmptyValue);
    EXPECT_EQ(log.nextValueTime(GhostLog::kSpeed), 300);
    log.advanceValue(GhostLog::kSpeed);
    EXPECT_EQ(log.currentValue(GhostLog::kSpeed), 42.5);
    EXPECT_EQ(log.nextValueTime(GhostLog::kSpeed), GhostLog::kNone);
}

TEST(GhostLogTest, KeyPollRecordsChangesAndSteeringSnapshots) {
    Vehicle car = test::exampleCar();
    car.controls().setSpeedCopy(50); // steering turns the heading
    GhostLog log;
    KeyTable keys;
    keys.setDown(vk::kX, true);
    keys.setDown(vk::kLeft, true);
    log.pollDrivingKeys(car, keys, 100); // race time -3000: nothing stepped yet
    car.step(600);
    log.pollDrivingKeys(car, keys, 600); // held: no new events
    keys.setDown(vk::kLeft, false);
    car.step(700);
    log.pollDrivingKeys(car, keys, 700);

    EXPECT_EQ(log.eventCount(GhostLog::kAccelerator), 1);
    EXPECT_EQ(log.eventTime(GhostLog::kAccelerator, 0), -3000);
    ASSERT_EQ(log.eventCount(GhostLog::kSteerLeft), 2);
    EXPECT_EQ(log.eventState(GhostLog::kSteerLeft, 1), 0);
    EXPECT_EQ(log.eventTime(GhostLog::kSteerLeft, 1), 700 - 3000);
    ASSERT_EQ(log.valueCount(GhostLog::kHeading), 2);
    EXPECT_EQ(log.value(GhostLog::kHeading, 1), car.controls().heading());
    EXPECT_GT(car.controls().heading(), 0);
    // At 0 rpm the automatic gearbox tries to shift down from first: nothing to record.
    EXPECT_EQ(log.eventCount(GhostLog::kGearDown), 0);
}

} // namespace
} // namespace velnor
