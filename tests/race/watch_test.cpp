// Watching a course's ghost drive its run alone: the watched car is where the ghost car is in a
// race against that ghost at every pass, its laps are the run's, nothing is recorded or saved,
// the keys do nothing, and the car chosen for racing comes back afterwards. The runs are driven
// by the autopilot in a copy of the bundled game directory.
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/ghost_file.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

constexpr char kCar[] = "Stella 2.0";
constexpr char kCourse[] = "Beginner Oval";
constexpr char kGhostFile[] = "Beginner Oval.gst";
constexpr char kRecordsFile[] = "Velnor.rec";
// Passes before "GO!": the clock starts at tick 1000 and the start hold lasts 3000 ms.
constexpr long kHoldPasses = 3000;

class WatchTest : public testing::Test {
protected:
    // The bundled game directory with the autopilot's run saved as the oval's ghost (once for
    // all cases: the copies are made from it).
    static void SetUpTestSuite() {
        recorded_ = new test::TempDir;
        std::filesystem::copy(VELNOR_DATA, recorded_->path(),
                              std::filesystem::copy_options::recursive);
        RaceOptions options = optionsIn(recorded_->path());
        options.autopilot = true;
        options.ghost = false;
        options.saveGhost = true;
        run_ = new RaceResult(runHeadlessRace(options));
    }
    static void TearDownTestSuite() {
        delete recorded_;
        delete run_;
    }

    void SetUp() override {
        ASSERT_TRUE(run_->finished) << run_->error;
        ASSERT_TRUE(run_->ghostSaved);
        std::filesystem::copy(recorded_->path(), dir.path(),
                              std::filesystem::copy_options::recursive);
    }

    static RaceOptions optionsIn(const std::string& root) {
        RaceOptions options;
        options.root = root;
        options.car = kCar;
        options.course = kCourse;
        return options;
    }
    RaceOptions options() const { return optionsIn(dir.path()); }

    // A game in the copy with `car` chosen (`automatic` or not) and `course` selected.
    std::unique_ptr<Game> gameOn(const char* course, bool automatic = true,
                                 const char* car = kCar) {
        auto game = std::make_unique<Game>(dir.path(), clock, events);
        game->scanFiles();
        EXPECT_EQ(game->chooseCar(game->carCatalogue.indexOfCar(car), automatic), 0);
        EXPECT_EQ(game->chooseCourse(game->courseCatalogue.indexOfCourse(course)), 0);
        return game;
    }

    static test::TempDir* recorded_;
    static RaceResult* run_;
    test::TempDir dir;
    ManualClock clock{1000};
    RaceEvents events;
};

test::TempDir* WatchTest::recorded_ = nullptr;
RaceResult* WatchTest::run_ = nullptr;

// The watched car at every pass up to its finish stands where the ghost car stands at the same
// race time in a race against that ghost (the player standing at the start all the while).
// Both run the same replay on the same passes, so they agree to the last bit; the watched laps
// are then the ghost's laps, counted by the race's own gate.
TEST_F(WatchTest, TheWatchedCarIsWhereTheGhostIsInARace) {
    RaceOptions watch = options();
    watch.watch = true;
    std::vector<TracePoint> watched;
    const RaceResult seen = runHeadlessRace(watch, &watched);
    ASSERT_TRUE(seen.error.empty()) << seen.error;
    ASSERT_TRUE(seen.finished);
    ASSERT_EQ(seen.laps.size(), 3u);

    RaceOptions race = options();
    race.untilMs = seen.totalTime; // the player stands: the race runs on until then
    std::vector<TracePoint> raced;
    const RaceResult beside = runHeadlessRace(race, &raced);
    ASSERT_TRUE(beside.ghostRaced);
    EXPECT_EQ(beside.ghostCarName, kCar);

    const long passes = kHoldPasses + seen.totalTime; // the last is the finish's
    ASSERT_GE(static_cast<long>(watched.size()), passes);
    ASSERT_EQ(static_cast<long>(raced.size()), passes);
    long apart = 0;
    long firstApart = -1;
    for (long i = 0; i < passes; ++i) {
        const bool same = watched[i].x == raced[i].ghostX && watched[i].y == raced[i].ghostY;
        apart += !same;
        if (!same && firstApart < 0)
            firstApart = i;
    }
    EXPECT_EQ(apart, 0) << "first at pass " << firstApart;
    // It drove the whole way: the finish is far from the start, at the line again.
    EXPECT_GT(watched[passes / 2].x * watched[passes / 2].x +
                  watched[passes / 2].y * watched[passes / 2].y,
              1.0e4f);
}

// The replay re-drives the recorded controls and is pulled back onto the run at every steering
// event, so the watched laps stay within a few milliseconds of the run's (1 ms measured on the
// oval; 5 allowed). Its finish places nowhere, and it then rolls to a stand.
TEST_F(WatchTest, TheWatchedLapsAreTheRunsAndPlaceNowhere) {
    RaceOptions watch = options();
    watch.watch = true;
    const RaceResult seen = runHeadlessRace(watch);
    ASSERT_TRUE(seen.finished) << seen.error;
    ASSERT_EQ(seen.laps.size(), run_->laps.size());
    for (std::size_t lap = 0; lap < seen.laps.size(); ++lap)
        EXPECT_NEAR(seen.laps[lap], run_->laps[lap], 5) << "lap " << lap + 1;
    EXPECT_NEAR(seen.totalTime, run_->totalTime, 5);
    EXPECT_EQ(seen.finishRank, -1);
    EXPECT_FALSE(seen.recordsWritten);
    EXPECT_FALSE(seen.ghostRaced); // no second car
    EXPECT_EQ(seen.car.speed, 0);
}

// Watching reads the ghost and writes nothing: the records and the ghost file stay byte for
// byte (the run placed first, so a watched finish that placed would rewrite the records), and
// asked to save its run, a watching game refuses.
TEST_F(WatchTest, WatchingLeavesTheRecordsAndTheGhostAsTheyWere) {
    const std::string records = dir.read(kRecordsFile);
    const std::string ghost = dir.read(kGhostFile);
    ASSERT_FALSE(records.empty());
    ASSERT_FALSE(ghost.empty());

    auto game = gameOn(kCourse);
    ASSERT_EQ(game->startWatching(640, 480), 0);
    KeyTable keys;
    while (game->gameState() != GameState::kFinished && game->playerCar.raceTime() < 900000) {
        clock.advance(1);
        game->runIdleWork(keys);
    }
    ASSERT_EQ(game->gameState(), GameState::kFinished);
    EXPECT_EQ(game->finishRank(), -1);
    EXPECT_EQ(game->saveRunAsGhost(), -1);
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        EXPECT_EQ(game->runLog().eventCount(channel), 0) << "channel " << channel;
    EXPECT_EQ(dir.read(kRecordsFile), records);
    EXPECT_EQ(dir.read(kGhostFile), ghost);
}

// The watched car goes by its log alone: the driving keys held all the way change nothing.
TEST_F(WatchTest, TheKeysDoNotDriveTheWatchedCar) {
    struct Row {
        const char* name;
        int key; // held from the start, or -1 none
    };
    const Row rows[] = {{"no key", -1},      {"accelerator", vk::kX}, {"brake", vk::kZ},
                        {"left", vk::kLeft}, {"gear up", vk::kUp},    {"gear down", vk::kDown}};
    Vec3 alone{};
    for (const Row& row : rows) {
        clock.set(1000);
        auto game = gameOn(kCourse);
        ASSERT_EQ(game->startWatching(640, 480), 0);
        KeyTable keys;
        keys.setDown(row.key, true);
        for (int pass = 0; pass < kHoldPasses + 20000; ++pass) {
            clock.advance(1);
            game->runIdleWork(keys);
        }
        const Vec3 at = game->playerModel().position();
        if (row.key < 0) {
            alone = at;
            EXPECT_GT(at[0] * at[0] + at[1] * at[1], 1.0e4f); // it drove off by itself
            continue;
        }
        EXPECT_EQ(at[0], alone[0]) << row.name;
        EXPECT_EQ(at[1], alone[1]) << row.name;
    }
}

// A run that left the road is watched crawling where it crawled: the log's off-road channel
// slows the watched car, not a road test of its own, so nothing is recorded meanwhile. The run:
// flat out from the start along a strip 110 m long, off its end after a few seconds, then 2 km/h.
TEST_F(WatchTest, ARunThatLeftTheRoadCrawlsAgainAndRecordsNothing) {
    dir.write("strip.rod", "[Strip]\n#road\np000=-10 -6 0\np001=100 -6 0\np002=100 6 0\n"
                           "p003=-10 6 0\nt00=3\ngd=1 0 0\ngl0=50 -6 0\ngl1=50 6 0\n");
    constexpr int kPasses = 3000 + 30000; // to race time 30 s
    KeyTable keys;
    keys.setDown(vk::kX, true);
    auto driven = gameOn("Strip");
    driven->startRace(640, 480);
    for (int pass = 0; pass < kPasses; ++pass) {
        clock.advance(1);
        driven->runIdleWork(keys);
    }
    ASSERT_EQ(driven->runLog().eventCount(GhostLog::kOffRoad), 1); // it left the road, once
    ASSERT_LE(driven->playerCar.speed(), 2.0);
    ASSERT_EQ(saveGhost(dir.path(), driven->runLog()), 0);

    clock.set(1000);
    auto watched = gameOn("Strip");
    ASSERT_EQ(watched->startWatching(640, 480), 0);
    for (int pass = 0; pass < kPasses; ++pass) {
        clock.advance(1);
        watched->runIdleWork(keys);
    }
    EXPECT_LE(watched->playerCar.speed(), 2.0);
    // Within a metre (10 units) of the run: flat out without the crawl it would be hundreds on.
    EXPECT_NEAR(watched->playerModel().position()[0], driven->playerModel().position()[0], 10);
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        EXPECT_EQ(watched->runLog().eventCount(channel), 0) << "channel " << channel;
}

// A course without a ghost of its own cannot be watched: the game stays at the title with the
// chosen car; a course with one can, and its car (the run's) drives in the chosen car's place.
// The oval's ghost file copied under another course's file name still names the oval, and
// belongs to it alone.
TEST_F(WatchTest, OnlyACourseWithItsGhostCanBeWatched) {
    std::filesystem::copy_file(dir.file(kGhostFile), dir.file("Town Course.gst"));
    struct Row {
        const char* course;
        bool watchable;
    };
    const Row rows[] = {
        {"Beginner Oval", true}, {"Lakeside Sprint", false}, {"Town Course", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.course);
        auto game = gameOn(row.course, false, "Mistral 1.3");
        const int index = game->courseCatalogue.indexOfCourse(row.course);
        EXPECT_EQ(game->courseHasGhost(index), row.watchable ? 1 : 0);
        EXPECT_EQ(game->startWatching(640, 480), row.watchable ? 0 : -1);
        EXPECT_EQ(game->watching(), row.watchable);
        EXPECT_EQ(game->gameState(), row.watchable ? GameState::kRacing : GameState::kTitle);
        EXPECT_EQ(std::string(game->playerCar.spec().carname()),
                  row.watchable ? kCar : "Mistral 1.3");
        EXPECT_EQ(game->ghostEnabled(), row.watchable ? 0 : 1); // a second car only in a race
    }
    EXPECT_EQ(gameOn(kCourse)->courseHasGhost(-1), 0);

    RaceOptions watch = options();
    watch.course = "Lakeside Sprint";
    watch.watch = true;
    const RaceResult none = runHeadlessRace(watch);
    EXPECT_EQ(none.error, "the course \"Lakeside Sprint\" has no ghost to watch");
    EXPECT_EQ(none.passes, 0);
}

// After the watching, the car chosen for racing is the player's car again, with its
// transmission, and the ghost setting is as it was: the next race is the player's own, against
// the ghost when it was wanted.
TEST_F(WatchTest, TheChosenCarAndTheGhostSettingComeBack) {
    struct Row {
        bool automatic;
        bool ghostWanted;
    };
    for (const Row row : {Row{false, true}, Row{true, false}, Row{false, false}}) {
        SCOPED_TRACE(testing::Message()
                     << "automatic " << row.automatic << ", ghost wanted " << row.ghostWanted);
        auto game = gameOn(kCourse, row.automatic, "Falco GT");
        game->setGhostEnabled(row.ghostWanted);
        ASSERT_EQ(game->startWatching(640, 480), 0);
        EXPECT_TRUE(game->watching());
        KeyTable keys;
        for (int pass = 0; pass < 5000; ++pass) {
            clock.advance(1);
            game->runIdleWork(keys);
        }
        EXPECT_GT(game->playerCar.speed(), 0);
        EXPECT_EQ(std::string(game->playerCar.spec().carname()), kCar); // the run's car
        game->stopRace();
        EXPECT_FALSE(game->watching());
        EXPECT_EQ(game->gameState(), GameState::kTitle);
        EXPECT_EQ(std::string(game->playerCar.spec().carname()), "Falco GT");
        EXPECT_EQ(game->playerCar.spec().automatic(), row.automatic ? 1 : 0);
        EXPECT_EQ(game->playerCar.speed(), 0);
        EXPECT_EQ(game->ghostEnabled(), row.ghostWanted ? 1 : 0);

        game->startRace(640, 480);
        EXPECT_FALSE(game->watching());
        EXPECT_EQ(game->ghostEnabled(), row.ghostWanted ? 1 : 0);
        keys.setDown(vk::kX, true);
        for (int pass = 0; pass < 5000; ++pass) {
            clock.advance(1);
            game->runIdleWork(keys);
        }
        // The player's own race records the player's keys again.
        EXPECT_GT(game->runLog().eventCount(GhostLog::kAccelerator), 0);
        game->stopRace();
    }
}

} // namespace
} // namespace velnor
