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

// A log part way through its replay: events and values on several channels, the accelerator's
// press being delivered, a gear shift taken, the car off the road, its names and finish time.
GhostLog logInReplay() {
    GhostLog log;
    log.setCarName("Tester");
    log.setCourseName("Oval");
    log.setFinishTime(93000);
    log.recordPress(100, GhostLog::kAccelerator);
    log.recordRelease(900, GhostLog::kAccelerator);
    log.recordPress(300, GhostLog::kGearUp);
    log.recordPress(700, GhostLog::kGearUp);
    log.recordPress(400, GhostLog::kOffRoad);
    log.recordValue(250, GhostLog::kHeading, 12.5);
    log.recordValue(650, GhostLog::kHeading, -7.25);
    log.recordValue(650, GhostLog::kSpeed, 88);
    return log;
}

void expectSameLog(const GhostLog& copy, const char* how) {
    SCOPED_TRACE(how);
    EXPECT_STREQ(copy.carName(), "Tester");
    EXPECT_STREQ(copy.courseName(), "Oval");
    EXPECT_EQ(copy.finishTime(), 93000);
    ASSERT_EQ(copy.eventCount(GhostLog::kAccelerator), 2);
    EXPECT_EQ(copy.eventTime(GhostLog::kAccelerator, 1), 900);
    EXPECT_EQ(copy.eventState(GhostLog::kAccelerator, 1), 0);
    EXPECT_EQ(copy.eventCount(GhostLog::kGearUp), 2);
    EXPECT_EQ(copy.eventTime(GhostLog::kGearUp, 1), 700);
    ASSERT_EQ(copy.valueCount(GhostLog::kHeading), 2);
    EXPECT_EQ(copy.valueTime(GhostLog::kHeading, 1), 650);
    EXPECT_EQ(copy.value(GhostLog::kHeading, 1), -7.25);
    EXPECT_EQ(copy.valueCount(GhostLog::kSpeed), 1);
    EXPECT_EQ(copy.value(GhostLog::kSpeed, 0), 88);
    EXPECT_EQ(copy.eventCount(GhostLog::kBrake), 0);
}

TEST(GhostLogTest, ACopyHoldsTheWholeRunAndGoesOnFromTheSamePlace) {
    GhostLog original = logInReplay();
    const GhostLog copied(original);
    expectSameLog(copied, "copy-constructed");
    GhostLog assigned;
    assigned.recordPress(5, GhostLog::kBrake);
    assigned = original;
    expectSameLog(assigned, "assigned");
    const GhostLog& itself = assigned;
    assigned = itself;
    expectSameLog(assigned, "assigned to itself");

    // A copy of a log being recorded records on from where the original stood: the car is
    // still off the road (a second "off" is no change), the next entries go after the last.
    GhostLog recording(original);
    recording.recordPress(950, GhostLog::kOffRoad);
    recording.recordRelease(1000, GhostLog::kOffRoad);
    recording.recordPress(1100, GhostLog::kAccelerator);
    recording.recordValue(1200, GhostLog::kHeading, 3);
    ASSERT_EQ(recording.eventCount(GhostLog::kOffRoad), 2);
    EXPECT_EQ(recording.eventTime(GhostLog::kOffRoad, 1), 1000);
    EXPECT_EQ(recording.eventTime(GhostLog::kAccelerator, 2), 1100);
    EXPECT_EQ(recording.valueTime(GhostLog::kHeading, 2), 1200);
}

TEST(GhostLogTest, ACopyReplaysOnFromWhereTheOriginalWas) {
    // A loaded ghost: the accelerator pressed at 100 and released at 900, shifts at 300 and 700,
    // headings at 250 and 650. Its replay has reached 500: the press is being delivered, the first
    // shift taken, the first heading applied.
    GhostLog ghost;
    ghost.setEvent(GhostLog::kAccelerator, 0, 100, 1);
    ghost.setEvent(GhostLog::kAccelerator, 1, 900, 0);
    ghost.setEvent(GhostLog::kGearUp, 0, 300, 1);
    ghost.setEvent(GhostLog::kGearUp, 1, 700, 1);
    ghost.setValue(GhostLog::kHeading, 0, 250, 12.5);
    ghost.setValue(GhostLog::kHeading, 1, 650, -7.25);
    ghost.advance(GhostLog::kAccelerator);
    ghost.advance(GhostLog::kGearUp);
    ASSERT_EQ(ghost.takeState(GhostLog::kGearUp), 1);
    ghost.advanceValue(GhostLog::kHeading);

    const auto expectReplayAt500 = [](GhostLog copy, const char* how) {
        SCOPED_TRACE(how);
        EXPECT_EQ(copy.currentEventTime(GhostLog::kAccelerator), 100);
        EXPECT_EQ(copy.nextEventTime(GhostLog::kAccelerator), 900);
        EXPECT_EQ(copy.takeState(GhostLog::kAccelerator), 1);
        EXPECT_EQ(copy.takeState(GhostLog::kGearUp), -1); // already taken
        EXPECT_EQ(copy.nextEventTime(GhostLog::kGearUp), 700);
        EXPECT_EQ(copy.currentValue(GhostLog::kHeading), 12.5);
        EXPECT_EQ(copy.nextValueTime(GhostLog::kHeading), 650);
    };
    expectReplayAt500(GhostLog(ghost), "copy-constructed");
    GhostLog assigned;
    assigned = ghost;
    expectReplayAt500(assigned, "assigned");
}

TEST(GhostLogTest, AResetLogIsEmptyEverywhere) {
    GhostLog log = logInReplay();
    log.advance(GhostLog::kGearUp);
    log.takeState(GhostLog::kGearUp);
    log.reset();
    EXPECT_STREQ(log.carName(), "");
    EXPECT_STREQ(log.courseName(), "");
    EXPECT_EQ(log.finishTime(), 0);
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel) {
        EXPECT_EQ(log.eventCount(channel), 0) << channel;
        EXPECT_EQ(log.nextEventTime(channel), GhostLog::kNone) << channel;
        EXPECT_EQ(log.currentEventTime(channel), GhostLog::kNone) << channel;
        EXPECT_EQ(log.takeState(channel), -1) << channel;
        for (const int slot : {0, 1, GhostLog::kCapacity - 1}) {
            EXPECT_EQ(log.eventTime(channel, slot), 0) << channel << " " << slot;
            EXPECT_EQ(log.eventState(channel, slot), -1) << channel << " " << slot;
        }
    }
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel) {
        EXPECT_EQ(log.valueCount(channel), 0) << channel;
        EXPECT_EQ(log.nextValueTime(channel), GhostLog::kNone) << channel;
        EXPECT_EQ(log.currentValue(channel), GhostLog::kEmptyValue) << channel;
        for (const int slot : {0, 1, GhostLog::kCapacity - 1}) {
            EXPECT_EQ(log.valueTime(channel, slot), 0) << channel << " " << slot;
            EXPECT_EQ(log.value(channel, slot), GhostLog::kEmptyValue) << channel << " " << slot;
        }
    }
    // and the car counts as on the road again: a release is no change, a press is
    log.recordRelease(10, GhostLog::kOffRoad);
    EXPECT_EQ(log.eventCount(GhostLog::kOffRoad), 0);
    log.recordPress(20, GhostLog::kOffRoad);
    EXPECT_EQ(log.eventCount(GhostLog::kOffRoad), 1);
}

TEST(GhostLogTest, EntriesOutsideTheChannelsAndSlotsAreIgnored) {
    GhostLog log;
    log.recordPress(5, -1);
    log.recordPress(5, GhostLog::kDigitalChannels);
    log.recordRelease(5, -1);
    log.recordRelease(5, GhostLog::kDigitalChannels);
    log.recordValue(5, -1, 1.0);
    log.recordValue(5, GhostLog::kAnalogChannels, 1.0);
    log.setEvent(-1, 0, 5, 1);
    log.setEvent(GhostLog::kDigitalChannels, 0, 5, 1);
    log.setEvent(0, -1, 5, 1);
    log.setEvent(0, GhostLog::kCapacity, 5, 1);
    log.setValue(-1, 0, 5, 1.0);
    log.setValue(GhostLog::kAnalogChannels, 0, 5, 1.0);
    log.setValue(0, -1, 5, 1.0);
    log.setValue(0, GhostLog::kCapacity, 5, 1.0);
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel) {
        EXPECT_EQ(log.eventCount(channel), 0) << channel;
        EXPECT_EQ(log.eventState(channel, 0), -1) << channel;
        EXPECT_EQ(log.eventState(channel, GhostLog::kCapacity - 1), -1) << channel;
    }
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel) {
        EXPECT_EQ(log.valueCount(channel), 0) << channel;
        EXPECT_EQ(log.value(channel, 0), GhostLog::kEmptyValue) << channel;
        EXPECT_EQ(log.value(channel, GhostLog::kCapacity - 1), GhostLog::kEmptyValue) << channel;
    }
    // the first and the last slot of the first and the last channel do take an entry
    log.setEvent(0, 0, 7, 1);
    log.setEvent(GhostLog::kDigitalChannels - 1, GhostLog::kCapacity - 1, 8, 0);
    log.setValue(0, 0, 9, 2.5);
    log.setValue(GhostLog::kAnalogChannels - 1, GhostLog::kCapacity - 1, 10, 3.5);
    EXPECT_EQ(log.eventTime(0, 0), 7);
    EXPECT_EQ(log.eventState(GhostLog::kDigitalChannels - 1, GhostLog::kCapacity - 1), 0);
    EXPECT_EQ(log.valueTime(0, 0), 9);
    EXPECT_EQ(log.value(GhostLog::kAnalogChannels - 1, GhostLog::kCapacity - 1), 3.5);
}

TEST(GhostLogTest, AFullValueChannelRecordsNothingMore) {
    GhostLog log;
    for (int i = 0; i < GhostLog::kCapacity + 3; ++i)
        log.recordValue(i, GhostLog::kDistance, i * 0.5);
    EXPECT_EQ(log.valueCount(GhostLog::kDistance), 1024);
    EXPECT_EQ(log.valueTime(GhostLog::kDistance, 1023), 1023);
    EXPECT_EQ(log.value(GhostLog::kDistance, 1023), 511.5);
    for (int i = 0; i < GhostLog::kCapacity + 3; ++i)
        log.advanceValue(GhostLog::kDistance);
    EXPECT_EQ(log.nextValueTime(GhostLog::kDistance), GhostLog::kNone);
    EXPECT_EQ(log.currentValue(GhostLog::kDistance), GhostLog::kEmptyValue);
}

// Every steering change, left or right, press or release, stores the car's speed, distance and
// heading at its race time: the car reset at tick 0 is at race time 2000 at tick 5000.
TEST(GhostLogTest, EverySteeringChangeStoresASnapshotOfTheCar) {
    Vehicle car = test::exampleCar();
    car.step(5000);
    car.setSpeed(50);
    car.setDistance(123.5);
    car.controls().setHeading(-12.5f);
    GhostLog log;
    KeyTable keys;
    struct Step {
        int key;
        bool down;
    };
    const Step steps[] = {
        {vk::kRight, true}, {vk::kRight, false}, {vk::kLeft, true}, {vk::kLeft, false}};
    for (const Step& step : steps) {
        keys.setDown(step.key, step.down);
        log.pollDrivingKeys(car, keys, 5000);
    }
    EXPECT_EQ(log.eventCount(GhostLog::kSteerRight), 2);
    EXPECT_EQ(log.eventCount(GhostLog::kSteerLeft), 2);
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel) {
        ASSERT_EQ(log.valueCount(channel), 4) << channel;
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_EQ(log.valueTime(channel, slot), 2000) << channel << " " << slot;
    }
    EXPECT_EQ(log.value(GhostLog::kSpeed, 0), 50);
    EXPECT_EQ(log.value(GhostLog::kDistance, 0), 123.5);
    EXPECT_EQ(log.value(GhostLog::kHeading, 0), -12.5);
    EXPECT_EQ(log.value(GhostLog::kSpeed, 3), 50);
    EXPECT_EQ(log.value(GhostLog::kDistance, 3), 123.5);
}

// One channel filled to its last slot, its neighbour holding an event: replay reads neither
// past the end of the full channel nor before the start of the fresh one.
TEST(GhostLogTest, AChannelsReplayEndsAtItsOwnLastSlot) {
    GhostLog log;
    for (int slot = 0; slot < GhostLog::kCapacity; ++slot)
        log.setEvent(GhostLog::kBrake, slot, slot, slot % 2 == 0 ? 1 : 0);
    log.setEvent(GhostLog::kSteerLeft, 0, 777, 1);
    log.setEvent(GhostLog::kAccelerator, GhostLog::kCapacity - 1, 888, 1);
    EXPECT_EQ(log.currentEventTime(GhostLog::kSteerLeft), GhostLog::kNone); // not yet begun
    EXPECT_EQ(log.takeState(GhostLog::kSteerLeft), -1);
    for (int i = 0; i < GhostLog::kCapacity; ++i)
        log.advance(GhostLog::kBrake);
    EXPECT_EQ(log.currentEventTime(GhostLog::kBrake), GhostLog::kCapacity - 1); // the last slot
    EXPECT_EQ(log.nextEventTime(GhostLog::kBrake), GhostLog::kNone);
    log.advance(GhostLog::kBrake);
    EXPECT_EQ(log.currentEventTime(GhostLog::kBrake), GhostLog::kNone);
    EXPECT_EQ(log.takeState(GhostLog::kBrake), -1);

    // past the last of a shorter channel there is no current event either
    log.advance(GhostLog::kSteerLeft);
    EXPECT_EQ(log.currentEventTime(GhostLog::kSteerLeft), 777);
    log.advance(GhostLog::kSteerLeft);
    EXPECT_EQ(log.currentEventTime(GhostLog::kSteerLeft), GhostLog::kNone);
    EXPECT_EQ(log.takeState(GhostLog::kSteerLeft), -1);
}

// The same for the snapshot channels: the distance channel full, the heading's next to it holding
// a snapshot in its first slot.
TEST(GhostLogTest, ASnapshotChannelsReplayEndsAtItsOwnLastSlot) {
    GhostLog log;
    for (int slot = 0; slot < GhostLog::kCapacity; ++slot)
        log.setValue(GhostLog::kDistance, slot, 10 * slot, 0.5 * slot);
    log.setValue(GhostLog::kHeading, 0, 4242, 42.0);
    for (int i = 0; i < GhostLog::kCapacity - 1; ++i)
        log.advanceValue(GhostLog::kDistance);
    // at slot 1022: one more to come, at 10230
    EXPECT_EQ(log.currentValue(GhostLog::kDistance), 511.0);
    EXPECT_EQ(log.nextValueTime(GhostLog::kDistance), 10230);
    log.advanceValue(GhostLog::kDistance); // the last slot
    EXPECT_EQ(log.currentValue(GhostLog::kDistance), 511.5);
    EXPECT_EQ(log.nextValueTime(GhostLog::kDistance), GhostLog::kNone);
    log.advanceValue(GhostLog::kDistance); // past it
    EXPECT_EQ(log.currentValue(GhostLog::kDistance), GhostLog::kEmptyValue);
    EXPECT_EQ(log.nextValueTime(GhostLog::kDistance), GhostLog::kNone);
}

} // namespace
} // namespace velnor
