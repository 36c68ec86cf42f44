// A headless race as `velnor-tool race` runs it: when it stops, which keys it presses when, and
// what it reports. The race fixtures: the oval and the test cars; the clock starts at tick 1000
// and "GO!" is 3000 ms later, and a pass runs every millisecond, so after n passes the race time
// is n - 3000.
#include "platform/key_state.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace velnor {
namespace {

class HeadlessRaceTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
    }

    // The test car on the oval, driven by `script`, stopped at race time `untilMs`.
    RaceOptions scripted(const char* script, std::int32_t untilMs) const {
        RaceOptions options;
        options.root = dir.path();
        options.car = "Tester";
        options.course = "Oval";
        options.inputs = parseInputScript(script);
        options.untilMs = untilMs;
        return options;
    }

    test::TempDir dir;
};

TEST_F(HeadlessRaceTest, ACarOrCourseThatIsNotListedIsNamed) {
    RaceOptions options = scripted("", 0);
    options.car = "Nobody";
    EXPECT_EQ(runHeadlessRace(options).error, "no car named \"Nobody\"");
    options.car = "Tester";
    options.course = "Nowhere";
    EXPECT_EQ(runHeadlessRace(options).error, "no course named \"Nowhere\"");
}

// The race stops at the first pass whose race time reaches the stop time.
TEST_F(HeadlessRaceTest, TheRaceStopsWhenItsTimeIsReached) {
    struct Row {
        const char* name;
        std::int32_t untilMs, timeoutMs;
        long passes;
        std::int32_t raceTime;
    };
    const Row rows[] = {
        // n - 3000 >= 500: n = 3500
        {"until 500", 500, 900000, 3500, 500},
        // n - 3000 >= 200: n = 3200
        {"time out at 200", 900000, 200, 3200, 200},
        {"until 0, the moment of GO!", 0, 900000, 3000, 0},
        {"until the last millisecond of the count", -1, 900000, 2999, -1},
    };
    for (const Row& row : rows) {
        RaceOptions options = scripted("", row.untilMs);
        options.timeoutMs = row.timeoutMs;
        std::vector<TracePoint> trace;
        const RaceResult race = runHeadlessRace(options, &trace);
        ASSERT_TRUE(race.error.empty()) << race.error;
        EXPECT_EQ(race.passes, row.passes) << row.name;
        EXPECT_EQ(race.raceTime, row.raceTime) << row.name;
        EXPECT_EQ(trace.size(), static_cast<std::size_t>(row.passes)) << row.name;
        EXPECT_FALSE(race.finished) << row.name;
        EXPECT_TRUE(race.laps.empty()) << row.name;
        EXPECT_EQ(race.totalTime, 0) << row.name;
        EXPECT_EQ(race.finishRank, -1) << row.name;
        EXPECT_FALSE(race.recordsWritten) << row.name;
    }
}

// A key event acts at the pass of its own millisecond: a millisecond earlier or later is another
// race. Before the first pass (race time -2999) every event acts at it.
TEST_F(HeadlessRaceTest, AKeyEventActsAtThePassOfItsMillisecond) {
    const auto distanceWith = [&](const char* script) {
        const RaceResult race = runHeadlessRace(scripted(script, 4000));
        EXPECT_TRUE(race.error.empty()) << race.error;
        return race.car.distance;
    };
    const double at999 = distanceWith("999 X down\n");
    const double at1000 = distanceWith("1000 X down\n");
    const double at1001 = distanceWith("1001 X down\n");
    EXPECT_GT(at1000, 5.0);
    EXPECT_GT(at999, at1000);
    EXPECT_GT(at1000, at1001);
    // Held from the first pass on, whenever before it the key went down.
    const double fromStart = distanceWith("-2999 X down\n");
    EXPECT_EQ(distanceWith("-3000 X down\n"), fromStart);
    EXPECT_EQ(distanceWith("-60000 X down\n"), fromStart);
    EXPECT_GT(fromStart, distanceWith("-2998 X down\n"));
}

// The key changes a race reports are the keys it drove by: a script's changes of state (a key
// pressed while held, or let go while up, changes nothing and is not reported), and the
// autopilot's, which raced again as a script give the same laps to the millisecond.
TEST_F(HeadlessRaceTest, ItsKeyChangesRaceTheSameAgain) {
    const RaceResult scripted = runHeadlessRace(this->scripted(
        "-5000 X down\n-100 X down\n200 LEFT down\n450 LEFT up\n700 Z up\n900 X up\n", 1000));
    ASSERT_TRUE(scripted.error.empty()) << scripted.error;
    const std::vector<InputEvent> expected = {{-2999, vk::kX, true},
                                              {200, vk::kLeft, true},
                                              {450, vk::kLeft, false},
                                              {900, vk::kX, false}};
    ASSERT_EQ(scripted.keyChanges.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(scripted.keyChanges[i].time, expected[i].time) << i;
        EXPECT_EQ(scripted.keyChanges[i].virtualKey, expected[i].virtualKey) << i;
        EXPECT_EQ(scripted.keyChanges[i].down, expected[i].down) << i;
    }

    RaceOptions options = this->scripted("", 900000);
    options.untilMs.reset();
    options.autopilot = true;
    const RaceResult driven = runHeadlessRace(options);
    ASSERT_TRUE(driven.finished) << driven.error;
    ASSERT_GT(driven.keyChanges.size(), 20u);
    options.autopilot = false;
    options.inputs.events = driven.keyChanges;
    const RaceResult again = runHeadlessRace(options);
    ASSERT_TRUE(again.finished);
    EXPECT_EQ(again.laps, driven.laps);
    EXPECT_EQ(again.car.x, driven.car.x);
    EXPECT_EQ(again.car.y, driven.car.y);
}

TEST_F(HeadlessRaceTest, WhatTheRaceReportsAboutTheCar) {
    // Standing still in the start hold: first gear (shown as 1), no distance, on the road.
    const RaceResult standing = runHeadlessRace(scripted("", -1000));
    EXPECT_EQ(standing.car.gear, 1);
    EXPECT_EQ(standing.car.speed, 0);
    EXPECT_EQ(standing.car.distance, 0);
    EXPECT_EQ(standing.offRoad, 0);
    EXPECT_FALSE(standing.ghostRaced); // the oval has no ghost yet
    EXPECT_EQ(standing.ghostCarName, "");
}

// A strip of road 110 m long (x from -10 m to 100 m, 12 m wide) with the gate across it at 50 m:
// flat out from the start the car runs off its end once, and stays off, crawling at 2 km/h.
TEST_F(HeadlessRaceTest, LeavingTheRoadIsCountedOncePerLeaving) {
    dir.write("strip.rod", "[Strip]\n#road\np000=-10 -6 0\np001=100 -6 0\np002=100 6 0\n"
                           "p003=-10 6 0\nt00=3\ngd=1 0 0\ngl0=50 -6 0\ngl1=50 6 0\n");
    RaceOptions options = scripted("-3000 X down\n", 30000);
    options.course = "Strip";
    const RaceResult race = runHeadlessRace(options);
    ASSERT_TRUE(race.error.empty()) << race.error;
    EXPECT_EQ(race.offRoad, 1);
    EXPECT_GT(race.car.x, 1005); // past the end and its 0.5 m margin
    EXPECT_LE(race.car.speed, 2.0);
    EXPECT_EQ(race.laps.size(), 1u); // the gate, 50 m ahead of the start, was crossed once
}

// With a ghost file for the oval, the race runs against it unless told not to.
TEST_F(HeadlessRaceTest, TheGhostIsRacedOnlyWhenAsked) {
    dir.write("Oval.gst", "[Oval]\ncarname = Slowpoke\n\n\n\n5000\n");
    RaceOptions options = scripted("", 0);
    options.ghost = false;
    const RaceResult alone = runHeadlessRace(options);
    EXPECT_FALSE(alone.ghostRaced);
    EXPECT_EQ(alone.ghostCarName, "");
    options.ghost = true;
    const RaceResult raced = runHeadlessRace(options);
    EXPECT_TRUE(raced.ghostRaced);
    EXPECT_EQ(raced.ghostCarName, "Slowpoke");
    EXPECT_EQ(raced.ghost.gear, 1);
}

// "Slowpoke" is the first car of the sorted list, "Oval" the only course: index 0 is a car and a
// course like any other.
TEST_F(HeadlessRaceTest, TheFirstCarOfTheListRaces) {
    RaceOptions options = scripted("", 0);
    options.car = "Slowpoke";
    const RaceResult race = runHeadlessRace(options);
    EXPECT_EQ(race.error, "");
    EXPECT_EQ(race.raceTime, 0);
}

// The run is saved as the course's ghost only after a finish, and only when asked.
TEST_F(HeadlessRaceTest, OnlyAFinishedRaceIsSavedAsTheGhost) {
    RaceOptions options = scripted("-3000 X down\n", 2000);
    options.saveGhost = true;
    const RaceResult race = runHeadlessRace(options);
    EXPECT_FALSE(race.finished);
    EXPECT_FALSE(race.ghostSaved);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Oval.gst")));
}

} // namespace
} // namespace velnor
