// The ghost's replay as the player sees it beside him: every recorded control reaches the ghost
// car at its race time, the snapshots pull it back once each, it crawls off the road where the run
// did, and a run replayed at another pass rate stays close to the run. Expected numbers are worked
// out by hand from the ramp rates (derivations beside each case).
#include "cars/car_model.h"
#include "platform/key_state.h"
#include "race/ghost_log.h"
#include "sim/example_car.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace velnor {
namespace {

constexpr std::uint32_t kStart = 1000; // the tick both cars are reset at

// A ghost car (the example car reset at kStart) and the log it replays, its entries put in their
// slots as a ghost file gives them.
struct Ghost {
    Vehicle car = test::exampleCar({3.5, 2.1, 1.4, 1.0, 0.8}, kStart);
    GhostLog log;
    CarModel model;

    // One pass of the ghost at race time `ms`, as the game loop runs it.
    void passAt(std::int32_t ms) {
        const std::uint32_t now = kStart + Vehicle::kStartHold + static_cast<std::uint32_t>(ms);
        ghostStep(car, log, model, now);
        ghostInputs(car, log, now);
    }
};

// Derivation: one channel pressed at race time 1000 and released at 2000 (or, for the gear
// channels, pressed again at 2000), passes every 10 ms from 0, the ghost at 5 km/h with the
// accelerator at rest. Read just before the press (990), at it (1000), 500 ms and 990 ms into it,
// and at the release (2000):
//   accelerator above rest: 0.00002 per ms → 0, 0, 0.01, 0.0198, then back to rest 0;
//   brake: 50 kg per ms → 0, 0, 25000, 49500, then its rest 0.009;
//   heading at 5 km/h (20°/s): 0, 0, ±10, ±19.8, and it stays where the release leaves it;
//   gear: one shift at each press, never one per pass.
TEST(GhostReplayTest, EveryChannelIsReplayedAtItsTime) {
    using Read = std::function<double(const Vehicle&)>;
    const Read accelerator = [](const Vehicle& car) {
        return car.controls().accelerator() - car.controls().acceleratorRest();
    };
    const Read brake = [](const Vehicle& car) { return car.controls().brake(); };
    const Read heading = [](const Vehicle& car) { return car.controls().heading(); };
    const Read gear = [](const Vehicle& car) { return car.controls().gearIndex(); };
    struct Row {
        const char* name;
        int channel;
        int firstGear;
        Read read;
        double at[5]; // at race times 990, 1000, 1500, 1990, 2000
    };
    const Row rows[] = {
        {"accelerator", GhostLog::kAccelerator, 0, accelerator, {0, 0, 0.01, 0.0198, 0}},
        {"brake", GhostLog::kBrake, 0, brake, {0, 0, 25000, 49500, 0.009}},
        {"steer left", GhostLog::kSteerLeft, 0, heading, {0, 0, 10, 19.8, 19.8}},
        {"steer right", GhostLog::kSteerRight, 0, heading, {0, 0, -10, -19.8, -19.8}},
        {"gear up", GhostLog::kGearUp, 0, gear, {0, 1, 1, 1, 2}},
        {"gear down", GhostLog::kGearDown, 2, gear, {2, 1, 1, 1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Ghost ghost;
        const bool gearChannel =
            row.channel == GhostLog::kGearUp || row.channel == GhostLog::kGearDown;
        ghost.log.setEvent(row.channel, 0, 1000, 1);
        ghost.log.setEvent(row.channel, 1, 2000, gearChannel ? 1 : 0);
        ghost.passAt(0);
        ghost.car.setSpeed(5);
        ghost.car.controls().setGearIndex(row.firstGear);
        int probe = 0;
        for (std::int32_t ms = 10; ms <= 2000; ms += 10) {
            ghost.passAt(ms);
            if (ms == 990 || ms == 1000 || ms == 1500 || ms == 1990 || ms == 2000) {
                EXPECT_NEAR(row.read(ghost.car), row.at[probe++], 1e-4) << ms;
            }
        }
    }
}

// A snapshot taken at race time 1000 is put on the ghost in the pass that reaches 1000, once: the
// ghost then rolls on from it.
TEST(GhostReplayTest, SnapshotsAreAppliedOnceAtTheirTime) {
    Ghost ghost;
    ghost.log.setValue(GhostLog::kSpeed, 0, 1000, 42.5);
    ghost.log.setValue(GhostLog::kDistance, 0, 1000, 123.0);
    ghost.log.setValue(GhostLog::kHeading, 0, 1000, -33.0);
    ghost.car.controls().acceleratorPress(kStart, kStart + 1000); // off its rest: the ghost rolls
    for (std::int32_t ms = 0; ms <= 990; ms += 10)
        ghost.passAt(ms);
    EXPECT_LT(ghost.car.distance(), 100.0);
    EXPECT_NE(ghost.car.controls().heading(), -33.0f);
    ghost.passAt(1000);
    EXPECT_EQ(ghost.car.speed(), 42.5);
    EXPECT_EQ(ghost.car.distance(), 123.0);
    EXPECT_EQ(ghost.car.controls().heading(), -33.0f);
    ghost.passAt(1010);
    EXPECT_NE(ghost.car.speed(), 42.5);
    EXPECT_GT(ghost.car.distance(), 123.0); // 10 ms at 42.5 km/h: 0.118 m on
}

// Off the road from 1000 to 2000 the accelerating ghost is held at 2 km/h in every pass, and free
// again from the pass that reaches the release.
TEST(GhostReplayTest, OffTheRoadTheGhostCrawlsAtTwo) {
    Ghost ghost;
    ghost.log.setEvent(GhostLog::kAccelerator, 0, -3000, 1);
    ghost.log.setEvent(GhostLog::kOffRoad, 0, 1000, 1);
    ghost.log.setEvent(GhostLog::kOffRoad, 1, 2000, 0);
    for (std::int32_t ms = 0; ms <= 990; ms += 10)
        ghost.passAt(ms);
    EXPECT_GT(ghost.car.speed(), 10.0);
    for (std::int32_t ms = 1000; ms < 2000; ms += 10) {
        ghost.passAt(ms);
        ASSERT_EQ(ghost.car.speed(), 2.0) << ms;
    }
    ghost.passAt(2000);
    EXPECT_GT(ghost.car.speed(), 2.0);
}

// Where the run and its ghost are after 30 s.
struct Pose {
    double x, y; // world units
    double distance;
    float heading;
};

// A player's run with the example car: accelerator, two gear changes, left and right turns and the
// brake, keys polled every 10 ms and logged. Its position is summed here in double precision.
Pose recordRun(GhostLog& log) {
    Vehicle car = test::exampleCar({3.5, 2.1, 1.4, 1.0, 0.8}, kStart);
    car.spec().setAutomatic(0);
    KeyTable keys;
    Pose pose{0, 0, 0, 0};
    for (std::int32_t ms = -2990; ms <= 30000; ms += 10) {
        const std::uint32_t now = kStart + Vehicle::kStartHold + static_cast<std::uint32_t>(ms);
        car.step(now);
        car.computeEngineSpeed(now);
        const double h = car.controls().heading() * std::numbers::pi / 180;
        pose.x += 10 * car.stepDistance() * std::cos(h);
        pose.y += 10 * car.stepDistance() * std::sin(h);
        keys.setDown(vk::kX, ms < 22000);
        keys.setDown(vk::kUp, (ms > 5000 && ms < 5100) || (ms > 11000 && ms < 11100));
        keys.setDown(vk::kLeft, (ms > 8000 && ms < 9500) || (ms > 18000 && ms < 18300));
        keys.setDown(vk::kRight, ms > 14000 && ms < 16000);
        keys.setDown(vk::kZ, ms > 25000 && ms < 26000);
        log.pollDrivingKeys(car, keys, now);
    }
    pose.distance = car.distance();
    pose.heading = car.controls().heading();
    return pose;
}

// The run as a ghost file gives it back: the entries in their slots, every channel at its start.
GhostLog asLoaded(const GhostLog& run) {
    GhostLog log;
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        for (int slot = 0; slot < run.eventCount(channel); ++slot)
            log.setEvent(channel, slot, run.eventTime(channel, slot),
                         run.eventState(channel, slot));
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel)
        for (int slot = 0; slot < run.valueCount(channel); ++slot)
            log.setValue(channel, slot, run.valueTime(channel, slot), run.value(channel, slot));
    return log;
}

// The drift budget of a replay, after 30 s of driving: at the pass rate the run was recorded at the
// ghost retraces it to within 1 cm; at any other rate it may be up to 1 m behind or ahead along the
// road and 2 m away in the world (measured: 0.1 to 0.5 m along, 0.26 to 0.68 m away), and on the
// heading of the last steering snapshot within 0.5°.
TEST(GhostReplayTest, ARunReplayedAtAnotherPassRateStaysWithinTheDriftBudget) {
    GhostLog run;
    const Pose recorded = recordRun(run);
    ASSERT_GT(recorded.distance, 300.0);
    ASSERT_GT(run.eventCount(GhostLog::kSteerRight), 1);
    struct Row {
        std::int32_t passMs;
        double metresAlong;
        double metresAway;
    };
    for (const Row row : {Row{10, 0.01, 0.01}, Row{7, 1, 2}, Row{16, 1, 2}, Row{33, 1, 2}}) {
        SCOPED_TRACE(row.passMs);
        Ghost ghost;
        ghost.car.spec().setAutomatic(0);
        ghost.log = asLoaded(run);
        for (std::int32_t ms = -3000; ms < 30000;)
            ghost.passAt(ms = std::min(ms + row.passMs, 30000));
        const Vec3& at = ghost.model.position();
        EXPECT_NEAR(ghost.car.distance(), recorded.distance, row.metresAlong);
        EXPECT_NEAR(std::hypot(at[0] - recorded.x, at[1] - recorded.y) / 10, 0, row.metresAway);
        EXPECT_NEAR(ghost.car.controls().heading(), recorded.heading, 0.5);
    }
}

// The ghost's drawing goes with the ghost: turned to its heading, on the ground, and moved 10 world
// units for every metre the ghost drives along that heading (-33° from the snapshot at 1000 on).
TEST(GhostReplayTest, TheGhostsDrawingTurnsAndMovesWithTheGhost) {
    Ghost ghost;
    ghost.log.setEvent(GhostLog::kAccelerator, 0, -3000, 1);
    ghost.log.setValue(GhostLog::kHeading, 0, 1000, -33.0);
    for (std::int32_t ms = 0; ms <= 1000; ms += 10)
        ghost.passAt(ms);
    const Vec3 from = ghost.model.position();
    const double startDistance = ghost.car.distance();
    for (std::int32_t ms = 1010; ms <= 2000; ms += 10)
        ghost.passAt(ms);
    const double metres = ghost.car.distance() - startDistance;
    ASSERT_GT(metres, 1.0);
    const Vec3& to = ghost.model.position();
    const double h = -33.0 * std::numbers::pi / 180;
    EXPECT_NEAR(to[0] - from[0], 10 * metres * std::cos(h), 1e-3);
    EXPECT_NEAR(to[1] - from[1], 10 * metres * std::sin(h), 1e-3);
    EXPECT_EQ(to[2], from[2]);
    EXPECT_EQ(ghost.model.bodyBox(0).rotation(), (Rotation{-33.0f, 0, 0, 1}));
}

} // namespace
} // namespace velnor
