// Pauses in a headless race: P pressed at a race time, P again some seconds of wall time later,
// through the same holding of the game's clock as the window's. The race time leaves the pause
// out exactly, so a race with pauses is the race without them to the millisecond, and its ghost
// file is the same byte for byte; a key changed during a pause counts from the first pass after
// it. The race fixtures: the test car on the oval, "GO!" 3000 ms after the start at tick 1000.
#include "platform/key_state.h"
#include "race/headless_race.h"
#include "race/same_race.h"
#include "test_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace velnor {
namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class HeadlessPauseTest : public testing::Test {
protected:
    // A fresh copy of the race fixtures: each race writes the records and its ghost.
    std::string freshDir(const std::string& name) const {
        const std::string path = dir.file(name);
        std::filesystem::copy(VELNOR_FIXTURES "/race", path,
                              std::filesystem::copy_options::recursive);
        return path;
    }

    RaceOptions onTheOval(const std::string& name) const {
        RaceOptions options;
        options.root = freshDir(name);
        options.car = "Tester";
        options.course = "Oval";
        return options;
    }

    test::TempDir dir;
};

using test::expectSameCar;

// The autopilot's keys of a whole race, raced as a script with and without pauses. Each pause
// begins a millisecond before a key change of the script, so that a pause whose held time
// counted would take that change late: the race would differ.
TEST_F(HeadlessPauseTest, ARaceWithPausesIsTheRaceWithoutThem) {
    RaceOptions pilot = onTheOval("autopilot");
    pilot.autopilot = true;
    const RaceResult driven = runHeadlessRace(pilot);
    ASSERT_TRUE(driven.finished) << driven.error;
    const std::vector<InputEvent>& keys = driven.keyChanges;
    ASSERT_GT(keys.size(), 20u);
    ASSERT_EQ(driven.laps.size(), 3u);
    const std::int32_t lap1 = driven.laps[0];
    const std::int32_t lap2End = driven.laps[0] + driven.laps[1];
    // The first key change after `t`, a millisecond before it: where a pause shows its faults.
    const auto beforeAChangeAfter = [&keys](std::int32_t t) {
        for (const InputEvent& key : keys)
            if (key.time > t)
                return key.time - 1;
        return t;
    };

    RaceOptions plain = onTheOval("plain");
    plain.inputs.events = keys;
    plain.saveGhost = true;
    const RaceResult without = runHeadlessRace(plain);
    ASSERT_TRUE(without.ghostSaved);
    ASSERT_EQ(without.laps, driven.laps);
    const std::string ghost = fileBytes(plain.root + "/Oval.gst");

    struct Row {
        const char* name;
        std::vector<RacePause> pauses;
    };
    const std::vector<Row> rows = {
        {"in the count", {{-2000, 5000, {}}}},
        {"before the first pass", {{-3000, 700, {}}}},
        {"in lap 1", {{beforeAChangeAfter(lap1 / 2), 1234, {}}}},
        {"in lap 2", {{beforeAChangeAfter(lap1 + 2000), 60000, {}}}},
        {"at a key change's own millisecond", {{beforeAChangeAfter(lap1 / 3) + 1, 300, {}}}},
        {"in the count and in laps 1, 2 and 3",
         {{-1, 2500, {}},
          {beforeAChangeAfter(1000), 1, {}},
          {beforeAChangeAfter(lap1 + 500), 4321, {}},
          {beforeAChangeAfter(lap2End + 500), 9000, {}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RaceOptions paused = onTheOval(row.name);
        paused.inputs.events = keys;
        paused.saveGhost = true;
        paused.pauses = row.pauses;
        const RaceResult with = runHeadlessRace(paused);
        EXPECT_TRUE(with.ghostSaved) << with.error;
        EXPECT_EQ(with.laps, without.laps);
        EXPECT_EQ(with.totalTime, without.totalTime);
        EXPECT_EQ(with.raceTime, without.raceTime);
        EXPECT_EQ(with.passes, without.passes);
        expectSameCar(with.car, without.car);
        EXPECT_EQ(with.keyChanges.size(), without.keyChanges.size());
        EXPECT_EQ(fileBytes(paused.root + "/Oval.gst"), ghost);
    }
}

// A key pressed or let go during a pause counts at the first pass after it, race time `at` + 1,
// wherever in the pause it came: the race is the one with that change at `at` + 1 and no pause.
TEST_F(HeadlessPauseTest, AKeyChangedDuringAPauseCountsAtTheResume) {
    struct Row {
        const char* name;
        std::vector<InputEvent> script; // before and after the pause
        RacePause pause;
        InputEvent same; // the change as it counts, in a race without the pause
    };
    const InputEvent xDown{-3000, vk::kX, true};
    const std::vector<Row> rows = {
        {"pressed in the middle", {}, {500, 2000, {{700, vk::kX, true}}}, {501, vk::kX, true}},
        {"pressed as P goes down", {}, {500, 2000, {{0, vk::kX, true}}}, {501, vk::kX, true}},
        {"pressed as P goes down again",
         {},
         {500, 2000, {{2000, vk::kX, true}}},
         {501, vk::kX, true}},
        {"let go in the middle", {xDown}, {800, 900, {{300, vk::kX, false}}}, {801, vk::kX, false}},
        {"pressed in the count", {}, {-1000, 400, {{10, vk::kX, true}}}, {-999, vk::kX, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RaceOptions paused = onTheOval(std::string("paused ") + row.name);
        paused.inputs.events = row.script;
        paused.pauses = {row.pause};
        paused.untilMs = 4000;
        const RaceResult with = runHeadlessRace(paused);
        ASSERT_TRUE(with.error.empty()) << with.error;

        RaceOptions plain = onTheOval(std::string("plain ") + row.name);
        plain.inputs.events = row.script;
        plain.inputs.events.push_back(row.same);
        plain.untilMs = 4000;
        const RaceResult without = runHeadlessRace(plain);
        ASSERT_GT(without.car.distance, 1.0); // the accelerator was held for a while
        ASSERT_FALSE(with.keyChanges.empty());
        EXPECT_EQ(with.keyChanges.back().time, row.same.time);
        EXPECT_EQ(with.keyChanges.back().down, row.same.down);
        expectSameCar(with.car, without.car);
    }
}

} // namespace
} // namespace velnor
