#include "game_test_access.h"
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

class CountingEvents final : public RaceEvents {
public:
    void raceStarted() override { ++started; }
    void lapCompleted(const LapCounter&) override { ++laps; }
    void raceFinished(const LapCounter&, int rank) override {
        ++finished;
        finishRank = rank;
    }
    void lapPanelExpired() override { ++panelsExpired; }
    void modelFileMissing(const std::string&) override { ++modelMissing; }
    void raceStopped() override { ++stopped; }

    int started = 0, laps = 0, finished = 0, panelsExpired = 0, modelMissing = 0, stopped = 0;
    int finishRank = -2;
};

// A copy of the race fixtures (the oval, two cars, the model file) to race in.
class RaceTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
    }

    // A game on the oval with the test car, started at `startTick`.
    std::unique_ptr<Game> startedGame(std::uint32_t startTick = 1000, bool ghost = false) {
        clock.set(startTick);
        auto game = std::make_unique<Game>(dir.path(), clock, events);
        game->scanFiles();
        EXPECT_EQ(game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true), 0);
        EXPECT_EQ(game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval")), 0);
        game->setGhostEnabled(ghost);
        game->startRace(640, 480);
        return game;
    }

    // Puts the standing car at (x, y) facing `heading`, and runs one frame step there.
    int frameAt(Game& game, float x, float y, float heading) {
        const Vec3 at = game.playerModel().position();
        GameTestAccess::playerModel(game).moveParts(x - at[0], y - at[1], 0);
        GameTestAccess::course(game).world.moveCar(x - at[0], y - at[1], 0);
        game.playerCar.controls().setHeading(heading);
        clock.advance(10);
        return game.frameStep(clock.now());
    }

    RaceOptions autopilotRace() const {
        RaceOptions options;
        options.root = dir.path();
        options.car = "Tester";
        options.course = "Oval";
        options.autopilot = true;
        return options;
    }

    test::TempDir dir;
    ManualClock clock;
    CountingEvents events;
};

TEST_F(RaceTest, LapsCountWhenTheCarLeavesTheGateZoneForwards) {
    auto game = startedGame();
    clock.advance(4000); // past the start hold
    // The gate lies at x = -10, its zone from x = -110 up to the line, y -60 to 60.
    EXPECT_EQ(frameAt(*game, -200, 0, 0), 0);
    EXPECT_EQ(game->gateEntered(), 0);
    frameAt(*game, -50, 0, 0);
    EXPECT_EQ(game->gateEntered(), 1);
    frameAt(*game, -10, 0, 0); // on the line: still inside
    EXPECT_EQ(game->raceClock().completedLaps(), 0);
    frameAt(*game, -9, 0, 0);
    EXPECT_EQ(game->raceClock().completedLaps(), 1);
    EXPECT_EQ(game->gateEntered(), 0);
    EXPECT_EQ(events.laps, 1);
    EXPECT_TRUE(game->lapPanelTimer().isActive());
    EXPECT_EQ(game->raceClock().time(0), game->playerCar.raceTime());

    // Across the zone's width, nothing happens.
    frameAt(*game, -50, 200, 0);
    EXPECT_EQ(game->gateEntered(), 0);

    // Turning about inside the zone cancels the next crossing.
    frameAt(*game, -50, 0, 0);
    frameAt(*game, -50, 0, 180);
    EXPECT_EQ(game->gateReversed(), 1);
    frameAt(*game, -50, 0, 0);
    frameAt(*game, 20, 0, 0);
    EXPECT_EQ(game->raceClock().completedLaps(), 1);
    EXPECT_EQ(game->gateEntered(), 0);
    EXPECT_EQ(game->gateReversed(), 0);

    // A heading of exactly 90° is not forward through an x gate.
    frameAt(*game, -50, 0, 90);
    EXPECT_EQ(game->gateEntered(), 0);
    EXPECT_EQ(game->gateReversed(), 1);
}

TEST_F(RaceTest, TheLapPanelGoesAfterThreeSecondsAndRestartsWithTheNextLap) {
    auto game = startedGame();
    clock.advance(4000);
    frameAt(*game, -50, 0, 0);
    frameAt(*game, 0, 0, 0); // lap 1
    clock.advance(2000);
    frameAt(*game, -50, 0, 0);
    frameAt(*game, 0, 0, 0); // lap 2, 2 s later: the 3 s start again
    clock.advance(2500);
    frameAt(*game, 100, 0, 0);
    EXPECT_EQ(events.panelsExpired, 0);
    clock.advance(500);
    frameAt(*game, 100, 0, 0);
    EXPECT_EQ(events.panelsExpired, 1);
    frameAt(*game, 100, 0, 0);
    EXPECT_EQ(events.panelsExpired, 1); // once
}

TEST_F(RaceTest, TheThirdLapFinishesTheRaceInTheSameFrame) {
    auto game = startedGame();
    clock.advance(4000);
    for (int lap = 1; lap <= 3; ++lap) {
        clock.advance(30000);
        frameAt(*game, -50, 0, 0);
        const int finished = frameAt(*game, 0, 0, 0);
        EXPECT_EQ(finished, lap == 3 ? 1 : 0);
    }
    EXPECT_EQ(game->gameState(), GameState::kFinished);
    EXPECT_EQ(events.laps, 2); // no lap panel for the last lap
    EXPECT_EQ(events.finished, 1);
    EXPECT_EQ(game->finishRank(), 0);
    EXPECT_TRUE(game->recordsWritten());
    EXPECT_EQ(game->runLog().finishTime(), game->raceClock().totalTime());
    const std::string records = dir.read("Velnor.rec");
    EXPECT_EQ(records.substr(0, records.find('\n', 7) + 1), "[Oval]\n0 = 31020 30020 30020\n");

    // The finished state brakes the car to a stand.
    game->playerCar.setSpeed(80);
    KeyTable keys;
    for (int i = 0; i < 500 && game->playerCar.speed() > 0; ++i) {
        clock.advance(10);
        game->runIdleWork(keys);
    }
    EXPECT_EQ(game->playerCar.speed(), 0);
    game->stopRace();
    EXPECT_EQ(game->gameState(), GameState::kTitle);
    EXPECT_EQ(events.stopped, 1);
    EXPECT_STREQ(game->playerCar.spec().carname(), "Velnor"); // fully reset
}

TEST_F(RaceTest, LeavingTheRoadCutsTheSpeedToACrawl) {
    auto game = startedGame();
    clock.advance(4000);
    frameAt(*game, 100, 0, 0);
    game->playerCar.controls().acceleratorKey(true, clock.now()); // not at rest: it may move
    game->playerCar.setSpeed(80);
    frameAt(*game, 100, 300, 0); // the infield
    EXPECT_EQ(game->playerCar.speed(), 2);
    game->playerCar.setSpeed(1.5);
    frameAt(*game, 100, 300, 0);
    EXPECT_NEAR(game->playerCar.speed(), 1.5, 0.2); // below the crawl: left alone
    frameAt(*game, 100, 300, 0);
    frameAt(*game, 100, 0, 0); // back on the road
    frameAt(*game, 100, 0, 0);
    const GhostLog& log = game->runLog();
    ASSERT_EQ(log.eventCount(GhostLog::kOffRoad), 2);
    EXPECT_EQ(log.eventState(GhostLog::kOffRoad, 0), 1);
    EXPECT_EQ(log.eventState(GhostLog::kOffRoad, 1), 0);
}

TEST_F(RaceTest, AMarkingIsNoRoad) {
    auto game = startedGame();
    clock.advance(4000);
    // The white line down the first straight lies on road pieces 0 and 1; alone it holds no car.
    EXPECT_EQ(game->course().world.roadPiece(20).pieceType(), 0);
    GameTestAccess::course(*game).world.roadPiece(0).setUsed(0);
    GameTestAccess::course(*game).world.roadPiece(1).setUsed(0);
    frameAt(*game, 100, 0, 0);
    EXPECT_EQ(game->runLog().eventCount(GhostLog::kOffRoad), 1);
}

TEST_F(RaceTest, TheAutopilotDrivesThreeLapsAndTheRecordIsKept) {
    const RaceResult race = runHeadlessRace(autopilotRace());
    ASSERT_TRUE(race.error.empty()) << race.error;
    EXPECT_TRUE(race.finished);
    ASSERT_EQ(race.laps.size(), 3u);
    EXPECT_EQ(race.totalTime, race.laps[0] + race.laps[1] + race.laps[2]);
    EXPECT_EQ(race.finishRank, 0);
    EXPECT_TRUE(race.recordsWritten);
    EXPECT_EQ(race.offRoad, 0);
    EXPECT_EQ(race.car.speed, 0); // rolled to a stand
    // and the race ends there, a few seconds after the finish, not at the time-out
    EXPECT_GT(race.raceTime, race.totalTime);
    EXPECT_LT(race.raceTime, race.totalTime + 30000);
    // A slower car does not beat it: place 1, and the records file holds both.
    RaceOptions slower = autopilotRace();
    slower.car = "Slowpoke";
    slower.manual = true;
    const RaceResult second = runHeadlessRace(slower);
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.finishRank, 1);
    RecordBook book;
    CatalogueEntry oval;
    std::strcpy(oval.name, "Oval");
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), {&oval, 1}), 0);
    EXPECT_EQ(book.place(0, 0).totalTime(), race.totalTime);
    EXPECT_EQ(book.place(0, 1).totalTime(), second.totalTime);
}

TEST_F(RaceTest, ARaceAcrossTheWrapOfTheTickCounter) {
    const RaceResult plain = runHeadlessRace(autopilotRace());
    std::filesystem::remove(dir.file("Velnor.rec"));
    RaceOptions wrapping = autopilotRace();
    // The counter wraps 2 s after "GO!", in the first lap: every lap ends after the wrap.
    wrapping.startTick = 0xFFFFFFFFu - 5000u;
    const RaceResult wrapped = runHeadlessRace(wrapping);
    EXPECT_TRUE(wrapped.finished);
    EXPECT_EQ(wrapped.laps, plain.laps);
    EXPECT_EQ(wrapped.car.x, plain.car.x);
    EXPECT_EQ(wrapped.passes, plain.passes);
}

// A hash of everything a race leaves that could differ: bit patterns, not rounded values.
std::uint64_t hashOf(const RaceResult& race) {
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&](const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            hash ^= static_cast<const unsigned char*>(data)[i];
            hash *= 1099511628211ull;
        }
    };
    for (const auto value : {race.car.speed, race.car.distance})
        mix(&value, sizeof value);
    for (const auto value : {race.car.x, race.car.y, race.car.heading})
        mix(&value, sizeof value);
    mix(race.laps.data(), race.laps.size() * sizeof race.laps[0]);
    mix(&race.passes, sizeof race.passes);
    return hash;
}

TEST_F(RaceTest, TheSameInputsOnTheSameClockGiveTheSameRace) {
    RaceOptions options = autopilotRace();
    options.autopilot = false;
    options.inputs = parseInputScript("-1000 X down\n5000 LEFT down\n5600 LEFT up\n"
                                      "9000 Z down\n9500 Z up\n12000 RIGHT down\n13000 RIGHT up\n");
    options.untilMs = 20000;
    const RaceResult first = runHeadlessRace(options);
    const RaceResult second = runHeadlessRace(options);
    EXPECT_GT(first.car.distance, 50);
    EXPECT_EQ(hashOf(first), hashOf(second));
    options.inputs.events[1].time += 10;
    EXPECT_NE(hashOf(runHeadlessRace(options)), hashOf(first));
}

TEST_F(RaceTest, AGhostIsSavedLoadedAndRaced) {
    RaceOptions record = autopilotRace();
    record.saveGhost = true;
    const RaceResult recorded = runHeadlessRace(record);
    ASSERT_TRUE(recorded.ghostSaved);
    ASSERT_TRUE(std::filesystem::exists(dir.file("Oval.gst")));

    // The next race on the course races the ghost.
    auto game = startedGame(1000, true);
    EXPECT_EQ(game->ghostEnabled(), 1);
    EXPECT_STREQ(game->ghostLog().carName(), "Tester");
    EXPECT_STREQ(game->ghostCar().spec().carname(), "Tester");
    EXPECT_FLOAT_EQ(game->ghostModel().bodyBox(0).colour()[3], 0.4f);

    // Without a ghost file the race runs without one and says so.
    std::filesystem::remove(dir.file("Oval.gst"));
    auto alone = startedGame(1000, true);
    EXPECT_EQ(alone->ghostEnabled(), 0);
}

// The ghost races the car that drove the run, whichever car the player takes next: every bundled
// car (all of whose names hold a space) drives a short run on the bundled oval, the run is saved,
// and the next race is started with another car.
TEST(GhostCarTest, EveryBundledCarRacesAsTheGhostOfItsOwnRun) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_FIXTURES "/../../data", dir.path(),
                          std::filesystem::copy_options::recursive);
    ManualClock clock(1000);
    CountingEvents events;
    auto owner = std::make_unique<Game>(dir.path(), clock, events);
    Game& game = *owner;
    game.scanFiles();
    const int cars = game.carCatalogue.count();
    ASSERT_GE(cars, 2);
    const int oval = game.courseCatalogue.indexOfCourse("Beginner Oval");
    ASSERT_GE(oval, 0);

    for (int driver = 0; driver < cars; ++driver) {
        const int next = (driver + 1) % cars;
        SCOPED_TRACE(game.carCatalogue.entry(driver).name);
        ASSERT_EQ(game.chooseCar(driver, true), 0);
        const CarSpec run = game.playerCar.spec();
        ASSERT_EQ(game.chooseCourse(oval), 0);
        game.setGhostEnabled(false);
        game.startRace(640, 480);
        KeyTable keys;
        keys.setDown(vk::kX, true);
        for (int pass = 0; pass < 500; ++pass) {
            clock.advance(10);
            game.runIdleWork(keys);
        }
        ASSERT_EQ(game.saveRunAsGhost(), 0);
        game.stopRace();

        ASSERT_EQ(game.chooseCar(next, true), 0);
        ASSERT_STRNE(game.playerCar.spec().carname(), run.carname());
        ASSERT_EQ(game.chooseCourse(oval), 0);
        game.setGhostEnabled(true);
        game.startRace(640, 480);
        ASSERT_EQ(game.ghostEnabled(), 1);
        const CarSpec& ghost = game.ghostCar().spec();
        EXPECT_STREQ(ghost.carname(), run.carname());
        EXPECT_EQ(ghost.weight(), run.weight());
        EXPECT_EQ(ghost.displacement(), run.displacement());
        EXPECT_EQ(ghost.power(), run.power());
        EXPECT_EQ(ghost.gear(0), run.gear(0));
        EXPECT_EQ(ghost.tire(), run.tire());
        EXPECT_EQ(ghost.type(), run.type());
        game.stopRace();
    }
}

// The car line of a ghost file names the car by its whole name; a name no car has falls back to
// its first word, the way older files named their car.
TEST_F(RaceTest, TheGhostsCarIsFoundByItsWholeNameThenByItsFirstWord) {
    dir.write("more.car", "[Tester 2]\nweight = 1111\ndisplacement = 2500\n");
    struct Row {
        const char* name;
        const char* line; // as the ghost file gives it
        const char* car;  // the ghost's car
        double weight;
    };
    const Row rows[] = {
        {"whole name with a space", "carname = Tester 2", "Tester 2", 1111},
        {"spaces around the name", "carname =   Tester 2  ", "Tester 2", 1111},
        {"no such car: its first word", "carname = Tester Deluxe", "Tester", 1000},
        {"one word", "carname = Tester", "Tester", 1000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        dir.write("Oval.gst", std::string("[Oval]\n") + row.line + "\n\n\n\n5000\n");
        clock.set(1000);
        auto owner = std::make_unique<Game>(dir.path(), clock, events);
        Game& game = *owner;
        game.scanFiles();
        ASSERT_EQ(game.chooseCar(game.carCatalogue.indexOfCar("Slowpoke"), true), 0);
        ASSERT_EQ(game.chooseCourse(game.courseCatalogue.indexOfCourse("Oval")), 0);
        game.startRace(640, 480);
        ASSERT_EQ(game.ghostEnabled(), 1);
        EXPECT_STREQ(game.ghostCar().spec().carname(), row.car);
        EXPECT_EQ(game.ghostCar().spec().weight(), row.weight);
    }
}

// How far the ghost ends from the run it replays: a run driven by the autopilot for a minute at
// 10 ms passes and saved as the ghost, then replayed beside a player standing at the start.
TEST_F(RaceTest, TheGhostRetracesTheRecordedRun) {
    constexpr std::int32_t kRunMs = 60000;
    CarState run;
    {
        auto game = startedGame();
        KeyTable keys;
        Autopilot autopilot;
        while (game->playerCar.raceTime() < kRunMs) {
            clock.advance(10);
            autopilot.drive(*game, keys);
            game->runIdleWork(keys);
        }
        ASSERT_EQ(game->gameState(), GameState::kRacing);
        ASSERT_EQ(game->saveRunAsGhost(), 0);
        const Vec3& at = game->playerModel().position();
        run = {at[0], at[1], 0, game->playerCar.speed(), game->playerCar.distance(), 0};
    }
    struct Error {
        double metres; // between the ghost's position and the run's
        double ms;     // the ghost behind (+) or ahead (-) of the run along the road
    };
    const auto replay = [&](std::uint32_t frameMs) {
        auto game = startedGame(1000, true);
        EXPECT_EQ(game->ghostEnabled(), 1);
        KeyTable standing;
        while (game->ghostCar().raceTime() < kRunMs) {
            clock.advance(frameMs);
            game->runIdleWork(standing);
        }
        const Vec3& ghost = game->ghostModel().position();
        const double metres = std::hypot(ghost[0] - run.x, ghost[1] - run.y) / 10;
        const double ms = (run.distance - game->ghostCar().distance()) / (run.speed / 3.6) * 1000;
        return Error{metres, ms};
    };
    const Error same = replay(10);
    const Error other = replay(7);
    RecordProperty("ghostMetresAt10ms", std::to_string(same.metres));
    RecordProperty("ghostMetresAt7ms", std::to_string(other.metres));
    std::printf("after %d s the ghost is %.2f m (%.0f ms) from the run at 10 ms passes, "
                "%.2f m (%.0f ms) at 7 ms passes\n",
                kRunMs / 1000, same.metres, same.ms, other.metres, other.ms);
    EXPECT_LT(same.metres, 0.5);
    EXPECT_LT(other.metres, 2.0);
}

TEST_F(RaceTest, AMissingModelFileIsReportedAndTheRaceGoesOn) {
    std::filesystem::remove(dir.file("Velnor.mod"));
    auto game = startedGame();
    EXPECT_EQ(events.modelMissing, 1);
    EXPECT_EQ(game->gameState(), GameState::kRacing);
    EXPECT_EQ(game->playerModel().bodyWidth(), 0);
}

} // namespace
} // namespace velnor
