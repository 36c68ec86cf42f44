// The ghost replayed ahead of the race, on the bundled game: the autopilot drives the Town Course
// and the Technical Circuit with the Stella 2.0 once each, the runs are saved as the courses'
// ghosts in a copy of the game directory, and the tests race against those ghosts. Race time
// n - 3000 at the n-th pass. (The Town Course's log holds the whole run; on the Technical
// Circuit the autopilot's steering fills a channel before the finish, so its ghost only serves
// where its first lap is enough: the path of a replay is where the ghost is drawn all the same.)
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/ghost_gap.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

constexpr const char* kTown = "Town Course";
constexpr const char* kTechnical = "Technical Circuit";
constexpr const char* kCar = "Stella 2.0";

class GhostRunTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        for (const char* file : {"Velnor.car", "Velnor.mod", "courses"})
            std::filesystem::copy(VELNOR_DATA "/" + std::string(file), dir_->file(file),
                                  std::filesystem::copy_options::recursive);
        for (const char* course : {kTown, kTechnical}) {
            RaceOptions options = race(course);
            options.autopilot = true;
            options.ghost = false;
            options.saveGhost = true;
            (course == kTown ? recorded_ : recordedTechnical_) =
                new RaceResult(runHeadlessRace(options));
        }
    }
    static void TearDownTestSuite() {
        delete recorded_;
        delete recordedTechnical_;
        delete dir_;
    }
    void SetUp() override {
        for (const RaceResult* run : {recorded_, recordedTechnical_}) {
            ASSERT_TRUE(run->error.empty()) << run->error;
            ASSERT_TRUE(run->finished);
            ASSERT_TRUE(run->ghostSaved);
        }
    }

    static RaceOptions race(const char* course = kTown) {
        RaceOptions options;
        options.root = dir_->path();
        options.car = kCar;
        options.course = course;
        return options;
    }

    // A game with the race against the saved ghost started at tick 1000.
    struct Race {
        ManualClock clock{1000};
        RaceEvents events;
        std::unique_ptr<Game> game;
    };
    static std::unique_ptr<Race> startRace(const char* course = kTown) {
        auto race = std::make_unique<Race>();
        race->game = std::make_unique<Game>(dir_->path(), race->clock, race->events);
        Game& game = *race->game;
        game.scanFiles();
        game.chooseCar(game.carCatalogue.indexOfCar(kCar), true);
        game.chooseCourse(game.courseCatalogue.indexOfCourse(course));
        game.setGhostEnabled(true);
        game.startRace(640, 480);
        return race;
    }

    static test::TempDir* dir_;
    static RaceResult* recorded_; // on the Town Course
    static RaceResult* recordedTechnical_;
};

test::TempDir* GhostRunTest::dir_ = nullptr;
RaceResult* GhostRunTest::recorded_ = nullptr;
RaceResult* GhostRunTest::recordedTechnical_ = nullptr;

// The replay's points are where the race moves the ghost's drawing object, to the last bit, at
// every sampled race time; its speed too. The player stands at the start meanwhile.
TEST_F(GhostRunTest, TheReplayIsWhereTheRaceDrawsTheGhost) {
    const auto race = startRace();
    Game& game = *race->game;
    const GhostRun& run = game.ghostRun();
    ASSERT_FALSE(run.empty());
    EXPECT_EQ(run.path.front().time, 0);
    const KeyTable keys;
    std::size_t compared = 0;
    while (compared < run.path.size()) {
        race->clock.advance(1);
        game.runIdleWork(keys);
        const std::int32_t t = game.ghostCar().raceTime();
        if (t < 0) {
            ASSERT_FALSE(game.ghostGap().has_value()) << t;
            continue;
        }
        ASSERT_TRUE(game.ghostGap().has_value()) << t;
        if (t % GhostRun::kPathStepMs != 0)
            continue;
        const GhostPathPoint& point = run.path[compared++];
        ASSERT_EQ(point.time, t);
        ASSERT_EQ(point.x, game.ghostModel().position()[0]) << t;
        ASSERT_EQ(point.y, game.ghostModel().position()[1]) << t;
        ASSERT_EQ(point.speed, static_cast<float>(game.ghostCar().speed())) << t;
    }
    // It ran the three laps and two seconds more (to the last sample before), sample by sample.
    ASSERT_TRUE(run.finished);
    const std::int32_t end = run.laps.totalTime() + GhostReplayLimits::kAfterFinishMs;
    EXPECT_EQ(run.path.back().time, end - end % 10);
    EXPECT_EQ(run.path.size(), static_cast<std::size_t>(run.path.back().time / 10 + 1));
}

// The run's own keys raced again against its ghost: the player drives where the ghost drives at
// each moment, so the gap is nothing (within 10 ms) at every pass of the race, across both lap
// lines and at the finish; and the ghost's replayed laps are the run's laps.
TEST_F(GhostRunTest, TheGhostsOwnKeysGiveNoGapAndItsLaps) {
    RaceOptions options = race();
    options.inputs.events = recorded_->keyChanges;
    std::vector<TracePoint> trace;
    const RaceResult again = runHeadlessRace(options, &trace);
    ASSERT_TRUE(again.finished);
    ASSERT_EQ(again.laps, recorded_->laps); // the player's run is the same run
    ASSERT_TRUE(again.ghostRaced);
    int checked = 0;
    for (std::size_t pass = 1; pass <= trace.size(); ++pass) {
        const std::int32_t raceTime = static_cast<std::int32_t>(pass) - 3000;
        if (raceTime > again.totalTime)
            break;
        const std::optional<std::int32_t> gap = trace[pass - 1].gap;
        ASSERT_EQ(gap.has_value(), raceTime >= 0) << raceTime;
        if (gap) {
            ASSERT_LE(std::abs(*gap), 10) << "at race time " << raceTime;
            ++checked;
        }
    }
    EXPECT_EQ(checked, again.totalTime + 1);
    // The replay drives the run's laps to the millisecond.
    EXPECT_EQ(again.ghostLaps, recorded_->laps);
    EXPECT_EQ(again.ghostTotal, recorded_->totalTime);
    EXPECT_EQ(again.ghostStatedFinish, recorded_->totalTime);
}

// The record to beat is the course's best race as it stood when the race started: a race that
// beats it takes its place among the course's best, and the record at the start stays the old
// one. A course without records has an empty one; a race without a ghost an empty replay and no
// gap.
TEST_F(GhostRunTest, TheRecordAtTheStartStaysWhenTheRaceBeatsIt) {
    const std::string kept = dir_->read("Velnor.rec");
    dir_->write("Velnor.rec", "[Town Course]\n0 = 90000 90000 90000\n1 =\n2 =\n\n");
    const auto race = startRace();
    Game& game = *race->game;
    EXPECT_EQ(game.recordAtStart().totalTime(), 270000);
    KeyTable keys;
    std::size_t next = 0;
    const std::vector<InputEvent>& changes = recorded_->keyChanges;
    while (game.gameState() == GameState::kRacing && game.playerCar.raceTime() < 600000) {
        race->clock.advance(1);
        const auto raceTime = static_cast<std::int32_t>(race->clock.now() - 1000 - 3000);
        for (; next < changes.size() && changes[next].time <= raceTime; ++next)
            keys.setDown(changes[next].virtualKey, changes[next].down);
        game.runIdleWork(keys);
    }
    dir_->write("Velnor.rec", kept);
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    EXPECT_EQ(game.finishRank(), 0);
    EXPECT_EQ(game.courseBest()[0].totalTime(), recorded_->totalTime);
    EXPECT_EQ(game.recordAtStart().totalTime(), 270000);
    EXPECT_EQ(game.recordAtStart().lapTime(1), 90000);

    // Another course, never raced, and no ghost asked for.
    game.stopRace();
    game.chooseCourse(game.courseCatalogue.indexOfCourse("Beginner Oval"));
    game.setGhostEnabled(false);
    game.startRace(640, 480);
    EXPECT_TRUE(game.recordAtStart().isEmpty());
    EXPECT_TRUE(game.ghostRun().empty());
    for (int pass = 0; pass < 4000; ++pass) {
        race->clock.advance(1);
        game.runIdleWork(keys);
    }
    EXPECT_FALSE(game.ghostGap().has_value());
}

// Where the path is at race time `ms`, between its samples as the car moves between them.
struct At {
    float x, y;
};
At pathAt(const std::vector<GhostPathPoint>& path, double ms) {
    const double step = GhostRun::kPathStepMs;
    const std::size_t i =
        std::min(static_cast<std::size_t>(std::max(ms, 0.0) / step), path.size() - 2);
    const double share = std::clamp(ms / step - static_cast<double>(i), 0.0, 1.0);
    const GhostPathPoint& a = path[i];
    const GhostPathPoint& b = path[i + 1];
    return {static_cast<float>(a.x + share * (b.x - a.x)),
            static_cast<float>(a.y + share * (b.y - a.y))};
}

// A stop of 1 s halfway round lap 2 (the player where the ghost was, then standing, then on the
// ghost's line 1 s later): the gap is 0 before, grows with the stop, and stays 1 s after it.
TEST_F(GhostRunTest, AStopOfOneSecondInLapTwoAddsOneSecond) {
    const auto race = startRace();
    const GhostRun& run = race->game->ghostRun();
    ASSERT_TRUE(run.finished);
    const std::int32_t stop = run.laps.time(0) + run.laps.lapTime(1) / 2;
    const std::int32_t end = run.laps.totalTime();
    GhostGap gap;
    gap.reset(run.path);
    for (std::int32_t t = 0; t <= end; ++t) {
        const double ghostTime = t < stop ? t : t < stop + 1000 ? stop : t - 1000;
        const At at = pathAt(run.path, ghostTime);
        gap.update(at.x, at.y, t);
        ASSERT_TRUE(gap.gap().has_value());
        const std::int32_t expected = t < stop ? 0 : t < stop + 1000 ? t - stop : 1000;
        ASSERT_NEAR(*gap.gap(), expected, t < stop ? 10 : 50) << "at race time " << t;
    }
}

// The chord across the sharpest bend of lap 1 (6 s of the ghost's path, round the hairpin of the
// Technical Circuit), driven at the speed the ghost had where the chord begins: the gap afterwards
// is the time the chord saved, negative, although the player drove the shorter way.
TEST_F(GhostRunTest, ACutCornerCountsTheTimeItSaved) {
    const auto race = startRace(kTechnical);
    const GhostRun& run = race->game->ghostRun();
    const std::vector<GhostPathPoint>& path = run.path;
    const std::size_t span = 600; // 6 s
    std::size_t from = 500;
    double sharpest = 1;
    for (std::size_t i = 500; i + span < static_cast<std::size_t>(run.laps.time(0) / 10); ++i) {
        double length = 0;
        for (std::size_t k = i; k < i + span; ++k)
            length += std::hypot(path[k + 1].x - path[k].x, path[k + 1].y - path[k].y);
        const double chord = std::hypot(path[i + span].x - path[i].x, path[i + span].y - path[i].y);
        if (length > 0 && chord / length < sharpest) {
            sharpest = chord / length;
            from = i;
        }
    }
    const GhostPathPoint& a = path[from];
    const GhostPathPoint& b = path[from + span];
    const double unitsPerMs = a.speed / 3.6 * 10 / 1000; // km/h to world units per ms
    const double chordMs = std::hypot(b.x - a.x, b.y - a.y) / unitsPerMs;
    const double saved = (b.time - a.time) - chordMs;
    ASSERT_GT(saved, 1500) << "the bend is no hairpin";

    GhostGap gap;
    gap.reset(path);
    const std::int32_t end = a.time + 10000;
    for (std::int32_t t = 0; t <= end; ++t) {
        At at;
        if (t <= a.time) {
            at = pathAt(path, t);
        } else if (t < a.time + chordMs) {
            const double share = (t - a.time) / chordMs;
            at = {static_cast<float>(a.x + share * (b.x - a.x)),
                  static_cast<float>(a.y + share * (b.y - a.y))};
        } else {
            at = pathAt(path, t + saved);
        }
        gap.update(at.x, at.y, t);
        if (t <= a.time) {
            ASSERT_NEAR(*gap.gap(), 0, 10) << t;
        } else if (t >= a.time + chordMs + 200) { // the next look round settles it
            ASSERT_NEAR(*gap.gap(), -saved, 20) << t;
        }
    }
}

} // namespace
} // namespace velnor
