// How far a ghost is replayed ahead of the race, and its laps: the example car on an open plain
// with the accelerator held from the start, straight along +x, and a gate across its way.
#include "race/ghost_log.h"
#include "race/ghost_run.h"
#include "sim/example_car.h"
#include "world/start_finish_gate.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

// A gate line across the x axis at x = `line` (world units), crossed towards `towards` (±1).
StartFinishGate gateAt(float line, float towards) {
    StartFinishGate gate;
    gate.direction = {towards, 0, 0};
    gate.end0 = {line, -50, 0};
    gate.end1 = {line, 50, 0};
    return gate;
}

TEST(GhostReplayLimitsTest, TheReplayEndsAfterTheFinishOrAfterTheLogRunsOut) {
    struct Row {
        const char* name;
        StartFinishGate gate;
        std::int32_t lastEvent; // a brake release this late, GhostLog::kNone for none
        std::int32_t statedFinish;
        bool finished;
        std::int32_t lastSample; // -1: 2 s after the lap, to the sample before
    };
    const Row rows[] = {
        // The car reaches x = 2000 well within a minute: one lap, then 2 s more.
        {"a lap at a gate ahead", gateAt(2000, 1), GhostLog::kNone, 0, true, -1},
        // Crossed the wrong way: no lap; the log's last event is the press at -3000, so the
        // replay runs 60 s past race time 0.
        {"a gate the other way", gateAt(2000, -1), GhostLog::kNone, 0, false, 60000},
        {"the log's last event later", gateAt(2000, -1), 100000, 0, false, 160000},
        {"the finish the file states later", gateAt(2000, -1), GhostLog::kNone, 200000, false,
         260000},
        // A time no run can have: held at 15 minutes of race time.
        {"an event at the end of time", gateAt(2000, -1), 2147483000, 0, false, 900000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GhostLog log;
        log.setEvent(GhostLog::kAccelerator, 0, -3000, 1);
        if (row.lastEvent != GhostLog::kNone) {
            log.setEvent(GhostLog::kBrake, 0, row.lastEvent - 1, 1);
            log.setEvent(GhostLog::kBrake, 1, row.lastEvent, 0);
        }
        log.setFinishTime(row.statedFinish);
        const GhostRun run = replayGhost(log, test::exampleCar(), row.gate, 5000, 1);
        ASSERT_FALSE(run.empty());
        EXPECT_EQ(run.finished, row.finished);
        EXPECT_EQ(run.laps.completedLaps(), row.finished ? 1 : 0);
        EXPECT_EQ(run.path.front().time, 0);
        if (!row.finished) {
            EXPECT_EQ(run.path.back().time, row.lastSample);
            continue;
        }
        // The lap counts in the pass that takes the car past the line: the sample at or after
        // it lies beyond x = 2000, the one before it short of the line.
        const std::int32_t lap = run.laps.time(0);
        const std::size_t after = static_cast<std::size_t>((lap + 9) / 10);
        ASSERT_LT(after, run.path.size());
        EXPECT_GT(run.path[after].x, 2000.0f);
        EXPECT_LE(run.path[after - 1].x, 2000.0f);
        EXPECT_EQ(run.path.back().time, (lap + 2000) / 10 * 10);
        for (std::size_t i = 1; i < run.path.size(); ++i)
            ASSERT_EQ(run.path[i].time - run.path[i - 1].time, 10);
    }
}

} // namespace
} // namespace velnor
