// The race's rules as the player sees them on the oval: how far the car moves in the world for the
// metres it drives, the crawl off the road, the engine speed the panel shows after a frame, and a
// race started a few seconds before the tick counter wraps. Expected numbers are worked out by
// hand from the model's formulas (derivations beside each case).
#include "game_test_access.h"
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/ghost_log.h"
#include "test_dir.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace velnor {
namespace {

// The tick `ms` milliseconds after the wrap of the 32-bit counter (negative: before it).
constexpr std::uint32_t afterWrap(std::int64_t ms) {
    return static_cast<std::uint32_t>((std::int64_t{1} << 32) + ms);
}

class QuietEvents final : public RaceEvents {
public:
    void raceStarted() override { ++started; }
    void lapCompleted(const LapCounter&) override { ++laps; }
    void raceFinished(const LapCounter&, int) override {}
    void lapPanelExpired() override { ++panelsExpired; }
    void modelFileMissing(const std::string&) override { ++modelsMissing; }
    void raceStopped() override {}
    int laps = 0, panelsExpired = 0, modelsMissing = 0, started = 0;
};

// The race fixtures: the oval (gate at x = -10, its zone x -110 to -10 and y -60 to 60, the road
// along y = 0 near the start, the infield at y = 300) and the test car, which is the 1000 kg
// example car with five gears (3.5, 2.1, 1.4, 1.0, 0.8; final 4.0; 0.6 m tyres).
class RaceRulesTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
    }

    // A race on the oval with the test car, started at `startTick`.
    Game& race(std::uint32_t startTick = 1000, int width = 800, int height = 600) {
        clock.set(startTick);
        game = std::make_unique<Game>(dir.path(), clock, events);
        game->scanFiles();
        EXPECT_EQ(game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true), 0);
        EXPECT_EQ(game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval")), 0);
        game->setGhostEnabled(false);
        game->startRace(width, height);
        return *game;
    }

    // Puts the car at (x, y) facing `heading` and runs one frame step at tick `tick`.
    int frameAt(float x, float y, float heading, std::uint32_t tick) {
        const Vec3 at = game->playerModel().position();
        GameTestAccess::playerModel(*game).moveParts(x - at[0], y - at[1], 0);
        GameTestAccess::course(*game).world.moveCar(x - at[0], y - at[1], 0);
        game->playerCar.controls().setHeading(heading);
        clock.set(tick);
        return game->frameStep(tick);
    }

    test::TempDir dir;
    ManualClock clock;
    QuietEvents events;
    std::unique_ptr<Game> game;
};

// Derivation: the world is measured in tenths of a metre, so d metres along heading h move the car
// by 10 d cos h and 10 d sin h: 1 m at 30° is (8.660254, 5); 2 m at -135° is (-14.142136,
// -14.142136).
TEST(WorldUnitsTest, AMetreDrivenIsTenUnitsAlongTheHeading) {
    struct Row {
        float heading;
        double metres;
        float dx, dy;
    };
    const Row rows[] = {{0, 1, 10, 0},
                        {90, 2.5, 0, 25},
                        {30, 1, 8.660254f, 5},
                        {-135, 2, -14.142136f, -14.142136f},
                        {180, 0.4444, -4.444f, 0}};
    for (const Row& row : rows) {
        const Displacement move = displacementAlong(row.heading, row.metres);
        EXPECT_NEAR(move.dx, row.dx, 1e-4) << row.heading;
        EXPECT_NEAR(move.dy, row.dy, 1e-4) << row.heading;
    }
}

TEST_F(RaceRulesTest, TheCarMovesTenWorldUnitsForEveryMetreItDrives) {
    Game& g = race();
    KeyTable keys;
    keys.setDown(vk::kX, true);
    for (int pass = 0; pass < 800; ++pass) { // 3 s of hold, 5 s down the straight
        clock.advance(10);
        g.runIdleWork(keys);
    }
    const Vec3& car = g.playerModel().position();
    const Vec3& course = g.course().world.carPosition();
    ASSERT_GT(g.playerCar.distance(), 20.0);
    EXPECT_NEAR(car[0], 10 * g.playerCar.distance(), 1e-3 * car[0]);
    EXPECT_NEAR(car[1], 0, 1e-3);
    EXPECT_NEAR(course[0], car[0], 1e-3);
}

// The view and its light go with the car: after the car has driven a curve, the camera's target
// and the light have moved by exactly as much as the car, and the target kept its height.
TEST_F(RaceRulesTest, TheViewAndTheLightFollowTheCar) {
    Game& g = race();
    const auto copy = [](const auto& v) { return std::array<float, 3>{v[0], v[1], v[2]}; };
    const auto carAtStart = copy(g.playerModel().position());
    const auto targetAtStart = copy(g.camera().target());
    const auto lightAtStart = copy(g.camera().light());
    KeyTable keys;
    keys.setDown(vk::kX, true);
    keys.setDown(vk::kLeft, true); // a curve, so that both x and y change
    for (int pass = 0; pass < 700; ++pass) {
        clock.advance(10);
        g.runIdleWork(keys);
    }
    const Vec3& car = g.playerModel().position();
    const float dx = car[0] - carAtStart[0];
    const float dy = car[1] - carAtStart[1];
    ASSERT_GT(std::fabs(dx), 10.0f);
    ASSERT_GT(std::fabs(dy), 10.0f);
    EXPECT_NEAR(g.camera().target()[0] - targetAtStart[0], dx, 1e-2);
    EXPECT_NEAR(g.camera().target()[1] - targetAtStart[1], dy, 1e-2);
    EXPECT_NEAR(g.camera().target()[2], targetAtStart[2], 1e-4);
    EXPECT_NEAR(g.camera().light()[0] - lightAtStart[0], dx, 1e-2);
    EXPECT_NEAR(g.camera().light()[1] - lightAtStart[1], dy, 1e-2);
}

// Off the road the car is cut to 2 km/h in the frame, whatever it did before; at 2 km/h or below
// it is left alone. The frames take no time, so only the cut changes the speed.
TEST_F(RaceRulesTest, OffTheRoadTheSpeedIsCutToTwo) {
    struct Row {
        const char* name;
        float y; // 0 the road, 300 the infield
        double kmh;
        double after;
    };
    const Row rows[] = {{"80 off the road", 300, 80, 2},     {"2.5 off the road", 300, 2.5, 2},
                        {"2.01 off the road", 300, 2.01, 2}, {"2 off the road", 300, 2, 2},
                        {"1.5 off the road", 300, 1.5, 1.5}, {"80 on the road", 0, 80, 80}};
    for (const Row& row : rows) {
        Game& g = race();
        g.playerCar.controls().acceleratorKey(true, 1000); // not at rest: the car may roll
        frameAt(100, row.y, 0, 4000);
        g.playerCar.setSpeed(row.kmh);
        frameAt(100, row.y, 0, 4000);
        EXPECT_EQ(g.playerCar.speed(), row.after) << row.name;
    }
}

// Derivation: at the first gear's accelerator limit (a0 + 0.08) the test car pulls 549.7606 kgf;
// at 36 km/h it rolls 15 kgf and the air takes 0.0025 × 1.4 × 1.7 × 36² = 7.7112 kgf, so
// a = (549.7606 − 15 − 7.7112) / 1000 × 9.8 = 5.165084 m/s², and 100 ms later the car does
// 36 + 0.36 a = 37.859430 km/h. First gear turns 3.5 × 4 × 100 / (6π × 0.6) = 123.787178 rpm per
// km/h: the panel reads 4686.51 rpm after that frame, not the 4456.34 of the speed before it.
TEST_F(RaceRulesTest, AfterAFrameTheEngineSpeedIsThatOfTheNewSpeed) {
    Game& g = race();
    g.playerCar.controls().acceleratorKey(true, 1000);
    g.playerCar.controls().acceleratorKey(true, 6000); // at the first gear's limit
    frameAt(100, 0, 0, 4000);
    g.playerCar.setSpeed(36);
    frameAt(100, 0, 0, 4000);
    frameAt(100, 0, 0, 4100);
    EXPECT_NEAR(g.playerCar.speed(), 37.859430, 1e-5);
    EXPECT_NEAR(g.playerCar.engineSpeed(), 4686.51, 0.01);
}

// A race started 5 s before the wrap: "GO!" is 2 s before it. Lap 1 ends 1 s before the wrap, so
// the lap panel's 3 s end 2 s after it: the panel stays up across the wrap and goes at that tick.
TEST_F(RaceRulesTest, TheLapPanelStaysItsThreeSecondsAcrossTheWrap) {
    race(afterWrap(-5000));
    frameAt(-50, 0, 0, afterWrap(-1010));
    frameAt(0, 0, 0, afterWrap(-1000)); // lap 1
    ASSERT_EQ(events.laps, 1);
    EXPECT_EQ(game->raceClock().time(0), 1000);
    for (std::int64_t ms = -990; ms < 2000; ms += 10)
        frameAt(100, 0, 0, afterWrap(ms));
    EXPECT_EQ(events.panelsExpired, 0);
    frameAt(100, 0, 0, afterWrap(1999));
    EXPECT_EQ(events.panelsExpired, 0);
    frameAt(100, 0, 0, afterWrap(2000));
    EXPECT_EQ(events.panelsExpired, 1);
}

// Lap 1 runs from "GO!" 2 s before the wrap to 20 s after it: 22 s; lap 2 ends 30 s later.
TEST_F(RaceRulesTest, ALapCompletedAcrossTheWrapTakesItsTrueTime) {
    race(afterWrap(-5000));
    frameAt(-50, 0, 0, afterWrap(19990));
    frameAt(0, 0, 0, afterWrap(20000));
    frameAt(-50, 0, 0, afterWrap(49990));
    frameAt(0, 0, 0, afterWrap(50000));
    ASSERT_EQ(game->raceClock().completedLaps(), 2);
    EXPECT_EQ(game->raceClock().lapTime(0), 22000);
    EXPECT_EQ(game->raceClock().lapTime(1), 30000);
}

// The same keys by race time, in a race started at tick 1000 and in one started 5 s before the
// wrap: the accelerator is held from the countdown and the left arrow from 1 s to 3 s after
// "GO!", so the wrap (2 s after "GO!") falls while both are held. The car ends the same.
TEST_F(RaceRulesTest, KeysHeldAcrossTheWrapDriveTheSame) {
    const auto drive = [&](std::uint32_t start) {
        Game& g = race(start);
        KeyTable keys;
        for (int pass = 0; pass < 900; ++pass) {
            clock.advance(10);
            const std::int32_t t = g.playerCar.raceTime();
            keys.setDown(vk::kX, t < 6000);
            keys.setDown(vk::kLeft, t >= 1000 && t < 3000);
            g.runIdleWork(keys);
        }
        return std::tuple{g.playerCar.controls().heading(), g.playerCar.speed(),
                          g.playerCar.distance(), g.playerCar.controls().accelerator()};
    };
    const auto plain = drive(1000);
    const auto wrapped = drive(afterWrap(-5000));
    EXPECT_GT(std::get<0>(plain), 30.0f); // it did turn
    EXPECT_GT(std::get<2>(plain), 10.0);
    EXPECT_EQ(wrapped, plain);
}

// A gate across x = -10 whose line runs from y = 0 to y = 100: its zone is x -110 to -10 (both
// included) and y 0 to 100 (both included), lopsided about the road's middle on purpose.
StartFinishGate lopsidedGate() {
    StartFinishGate gate;
    gate.direction = {1, 0, 0};
    gate.end0 = {-10, 0, 0};
    gate.end1 = {-10, 100, 0};
    return gate;
}

// A lap counts when the car, heading through the gate, has been in the zone and is then beyond
// the line within the zone's width; every bound of the zone belongs to it.
TEST_F(RaceRulesTest, TheGateZoneAndItsBoundsDecideWhetherALapCounts) {
    struct Row {
        const char* name;
        float inX, inY;   // the frame in (or near) the zone
        float outX, outY; // the next frame
        int laps;
    };
    const Row rows[] = {
        {"through the middle", -50, 50, 0, 50, 1},
        {"along the edge y = 0", -50, 0, 0, 0, 1},
        {"along the edge y = 100", -50, 100, 0, 100, 1},
        {"just beside the edge y = 0", -50, -1, 0, -1, 0},
        {"just beside the edge y = 100", -50, 101, 0, 101, 0},
        {"in at the zone's far end, x = -110", -110, 50, 0, 50, 1},
        {"short of the zone, x = -111", -111, 50, 0, 50, 0},
        {"in on the line itself, x = -10", -10, 50, -9, 50, 1},
        {"out beside the zone", -50, 50, 0, 101, 0},
    };
    for (const Row& row : rows) {
        race();
        GameTestAccess::course(*game).gate = lopsidedGate();
        frameAt(row.inX, row.inY, 0, 10000);
        frameAt(row.outX, row.outY, 0, 10010);
        EXPECT_EQ(game->raceClock().completedLaps(), row.laps) << row.name;
        EXPECT_EQ(events.laps, row.laps) << row.name;
        events.laps = 0;
    }
}

// Heading the other way cancels the next crossing only when it happens inside the zone.
TEST_F(RaceRulesTest, OnlyTurningAboutInsideTheZoneCancelsTheLap) {
    struct Row {
        const char* name;
        float backX, backY; // where the car faces backwards for a frame
        int laps;
    };
    const Row rows[] = {
        {"inside the zone", -50, 50, 0},
        {"beside the zone", -50, 150, 1},
        {"behind the zone", -150, 50, 1},
        {"on the zone's corner", -110, 100, 0},
    };
    for (const Row& row : rows) {
        race();
        GameTestAccess::course(*game).gate = lopsidedGate();
        frameAt(-50, 50, 0, 10000);
        frameAt(row.backX, row.backY, 180, 10010);
        frameAt(-50, 50, 0, 10020);
        frameAt(0, 50, 0, 10030);
        EXPECT_EQ(game->raceClock().completedLaps(), row.laps) << row.name;
        EXPECT_EQ(game->gateReversed(), 0) << row.name;
        EXPECT_EQ(game->gateEntered(), 0) << row.name;
    }
}

// "GO!" is 3 s after the start at tick 1000: tick 5234 is race time 1234. The run's log keeps the
// time the car left the road and the time it came back, as race times.
TEST_F(RaceRulesTest, TheRunLogsLeavingAndRegainingTheRoadAtTheirRaceTimes) {
    race();
    frameAt(100, 0, 0, 4500);
    frameAt(100, 300, 0, 5234);
    frameAt(100, 300, 0, 5300);
    frameAt(100, 0, 0, 6000);
    const GhostLog& log = game->runLog();
    ASSERT_EQ(log.eventCount(GhostLog::kOffRoad), 2);
    EXPECT_EQ(log.eventTime(GhostLog::kOffRoad, 0), 1234);
    EXPECT_EQ(log.eventState(GhostLog::kOffRoad, 0), 1);
    EXPECT_EQ(log.eventTime(GhostLog::kOffRoad, 1), 2000);
    EXPECT_EQ(log.eventState(GhostLog::kOffRoad, 1), 0);
}

// The lap panel is up for 3000 ms from the tick of the lap: gone at +3000, not at +2999.
TEST_F(RaceRulesTest, TheLapPanelGoesExactlyThreeSecondsAfterTheLap) {
    race();
    frameAt(-50, 0, 0, 20000);
    frameAt(0, 0, 0, 20010); // lap 1
    ASSERT_EQ(events.laps, 1);
    EXPECT_TRUE(game->lapPanelTimer().isActive());
    frameAt(100, 0, 0, 23009);
    EXPECT_EQ(events.panelsExpired, 0);
    frameAt(100, 0, 0, 23010);
    EXPECT_EQ(events.panelsExpired, 1);
}

// The car and course selections: a car or course that cannot be read changes nothing and says
// -1; the course chosen is the one whose records are the best three to beat.
TEST_F(RaceRulesTest, ChoosingTheCarAndTheCourse) {
    // A second course, "Loop": the oval under another name, after it in the catalogue, with a
    // record of its own.
    std::string oval = dir.read("oval.rod");
    oval.replace(oval.find("[Oval]"), 6, "[Loop]");
    dir.write("zloop.rod", oval);
    dir.write("Velnor.rec", "[Oval]\n0 = 1000 1000 1000\n\n[Loop]\n0 = 2000 2000 2000\n\n");
    race();
    const int loop = game->courseCatalogue.indexOfCourse("Loop");
    ASSERT_EQ(loop, 1);
    EXPECT_EQ(game->chooseCourse(loop), 0);
    EXPECT_EQ(game->selectedCourse(), 1);
    // the race's course is the course as loaded, whatever records come with it
    const CourseWorld& loaded = game->courseCatalogue.loadedWorld();
    EXPECT_EQ(game->course().world.carPosition(), loaded.carPosition());
    EXPECT_EQ(game->course().world.roadPiece(0).colour(), loaded.roadPiece(0).colour());
    EXPECT_EQ(game->course().world.roadPiece(0).offset(), loaded.roadPiece(0).offset());
    EXPECT_EQ(game->courseBest()[0].totalTime(), 6000);
    EXPECT_EQ(game->chooseCourse(2), -1);
    EXPECT_EQ(game->chooseCourse(-1), -1);
    EXPECT_EQ(game->selectedCourse(), 1);
    EXPECT_EQ(game->courseBest()[0].totalTime(), 6000);
    game->startRace(800, 600); // the run is recorded for the course chosen
    EXPECT_STREQ(game->runLog().courseName(), "Loop");
    EXPECT_EQ(game->chooseCourse(0), 0);
    EXPECT_EQ(game->selectedCourse(), 0);
    EXPECT_EQ(game->courseBest()[0].totalTime(), 3000);

    // The car list is sorted by name: "Slowpoke" before "Tester", though the file has them the
    // other way round.
    const int slowpoke = game->carCatalogue.indexOfCar("Slowpoke");
    EXPECT_EQ(slowpoke, 0);
    EXPECT_EQ(game->carCatalogue.indexOfCar("Tester"), 1);
    EXPECT_EQ(game->chooseCar(slowpoke, false), 0);
    EXPECT_STREQ(game->playerCar.spec().carname(), "Slowpoke");
    EXPECT_EQ(game->playerCar.spec().automatic(), 0);
    EXPECT_EQ(game->chooseCar(5, true), -1);
    EXPECT_STREQ(game->playerCar.spec().carname(), "Slowpoke");
    EXPECT_EQ(game->playerCar.spec().automatic(), 0);
    EXPECT_EQ(game->chooseCar(slowpoke, true), 0);
    EXPECT_EQ(game->playerCar.spec().automatic(), 1);
}

// The world is flat: however the car drives, it, the view's target and the light keep their
// heights, and the drawn car is turned to the car's heading about the vertical.
TEST_F(RaceRulesTest, TheDrawnCarTurnsWithTheCarAndNothingLeavesTheGround) {
    Game& g = race();
    const float carHeight = g.playerModel().position()[2];
    const float worldHeight = g.course().world.carPosition()[2];
    const float targetHeight = g.camera().target()[2];
    const float lightHeight = g.camera().light()[2];
    KeyTable keys;
    keys.setDown(vk::kX, true);
    keys.setDown(vk::kRight, true);
    for (int pass = 0; pass < 600; ++pass) {
        clock.advance(10);
        g.runIdleWork(keys);
    }
    g.frameStep(clock.now()); // a frame with no time passed: the keys' last turn is drawn
    const float heading = g.playerCar.controls().heading();
    ASSERT_LT(heading, -20.0f); // it did turn right
    const Rotation turned{heading, 0, 0, 1};
    EXPECT_EQ(g.playerModel().bodyBox(0).rotation(), turned);
    EXPECT_EQ(g.playerModel().position()[2], carHeight);
    EXPECT_EQ(g.course().world.carPosition()[2], worldHeight);
    EXPECT_EQ(g.camera().target()[2], targetHeight);
    EXPECT_EQ(g.camera().light()[2], lightHeight);
    // the eye swings round behind the car
    EXPECT_NEAR(g.camera().azimuth(), heading + 180.0, 1e-4);
}

// After the finish the car is braked to a stand: in every pass in which it still moves, however
// slowly, the accelerator is let go and the brake applied; once it stands, its controls are left
// as they are.
TEST_F(RaceRulesTest, AfterTheFinishTheCarIsBrakedUntilItStandsAndThenLeftAlone) {
    Game& g = race();
    for (int lap = 0; lap < 3; ++lap) {
        frameAt(-50, 0, 0, 10000 + 20000 * lap);
        frameAt(0, 0, 0, 10010 + 20000 * lap);
    }
    ASSERT_EQ(g.gameState(), GameState::kFinished);
    DriverControls& controls = g.playerCar.controls();
    KeyTable keys;
    // Two passes 10 ms apart each: the brake is pressed in the first and has grown by the second.
    struct Row {
        const char* name;
        double kmh;
        bool accelerating; // the accelerator held for half a second before
        bool braked;
    };
    const Row rows[] = {{"rolling at 30", 30, true, true},
                        {"creeping at 0.5", 0.5, true, true},
                        {"standing", 0, false, false}};
    std::uint32_t tick = 80000;
    for (const Row& row : rows) {
        controls.brakeRelease();
        controls.acceleratorRelease();
        if (row.accelerating) {
            controls.acceleratorKey(true, tick);
            tick += 500;
            controls.acceleratorKey(true, tick);
            ASSERT_GT(controls.accelerator(), controls.acceleratorRest()) << row.name;
        }
        g.playerCar.setSpeed(row.kmh);
        for (int pass = 0; pass < 2; ++pass) {
            tick += 10;
            clock.set(tick);
            g.runIdleWork(keys);
        }
        if (row.braked) {
            EXPECT_GT(controls.brake(), controls.brakeRest()) << row.name;
            EXPECT_EQ(controls.accelerator(), controls.acceleratorRest()) << row.name;
        } else {
            EXPECT_EQ(controls.brake(), controls.brakeRest()) << row.name;
            EXPECT_EQ(g.playerCar.speed(), 0) << row.name;
        }
    }
}

// A new game is on the title, wants a ghost for its first race and has the first course chosen;
// a race's view stands on the 90-pixel instrument panel and fills the rest of the window.
TEST_F(RaceRulesTest, ANewGameAndTheRaceView) {
    Game fresh(dir.path(), clock, events);
    EXPECT_EQ(fresh.gameState(), GameState::kTitle);
    EXPECT_EQ(fresh.ghostEnabled(), 1);
    EXPECT_EQ(fresh.selectedCourse(), 0);
    EXPECT_EQ(fresh.root(), dir.path());
    fresh.setGhostEnabled(false);
    EXPECT_EQ(fresh.ghostEnabled(), 0);
    fresh.setGhostEnabled(true);
    EXPECT_EQ(fresh.ghostEnabled(), 1);

    Game& g = race();
    EXPECT_EQ(g.gameState(), GameState::kRacing);
    EXPECT_EQ(events.started, 1);
    EXPECT_EQ(g.camera().viewport(), (std::array<float, 4>{0, 90, 800, 600}));
}

// A race started after another starts afresh: no laps, no lap panel, the gate not entered, the
// view back behind the car at the start, the run's log empty but for the car's and course's names.
TEST_F(RaceRulesTest, ASecondRaceStartsAfresh) {
    Game& g = race();
    frameAt(100, 300, 0, 10000); // off the road
    frameAt(-50, 0, 0, 10030);
    frameAt(0, 0, 0, 10040); // lap 1
    frameAt(-50, 0, 0, 10050);
    ASSERT_EQ(g.raceClock().completedLaps(), 1);
    ASSERT_TRUE(g.lapPanelTimer().isActive());
    ASSERT_EQ(g.gateEntered(), 1);
    frameAt(-50, 0, 180, 10060);
    ASSERT_EQ(g.gateReversed(), 1);
    g.nextView();
    g.stopRace();
    EXPECT_EQ(g.gameState(), GameState::kTitle);

    clock.set(20000);
    ASSERT_EQ(g.chooseCar(g.carCatalogue.indexOfCar("Tester"), true), 0); // the stop reset it
    g.startRace(800, 600);
    EXPECT_EQ(g.gameState(), GameState::kRacing);
    EXPECT_EQ(g.raceClock().completedLaps(), 0);
    EXPECT_EQ(g.raceClock().time(0), 0);
    EXPECT_FALSE(g.lapPanelTimer().isActive());
    EXPECT_EQ(g.gateEntered(), 0);
    EXPECT_EQ(g.gateReversed(), 0);
    EXPECT_EQ(g.camera().viewDistance(), 160);
    EXPECT_EQ(g.camera().target(), (Vec3{0, 0, 20}));
    EXPECT_EQ(g.runLog().eventCount(GhostLog::kOffRoad), 0); // one in the first race
    EXPECT_STREQ(g.runLog().carName(), "Tester");
    EXPECT_STREQ(g.runLog().courseName(), "Oval");
    EXPECT_EQ(g.playerCar.startTick(), 20000u);
    EXPECT_EQ(events.modelsMissing, 0); // the model file is there
}

// A ghost is raced as its file has it, with nothing of the ghost raced before: on the oval the
// ghost pressed the accelerator at 100 ms and let it go at 900 ms; on "Loop" (the oval under
// another name) it pressed it at 200 ms only.
TEST_F(RaceRulesTest, EachRaceLoadsItsCoursesGhostAlone) {
    std::string oval = dir.read("oval.rod");
    oval.replace(oval.find("[Oval]"), 6, "[Loop]");
    dir.write("zloop.rod", oval);
    const std::string idle = " 0 -1 0 -1 0 -1 0 -1 0 -1 0 -1\n";
    dir.write("Oval.gst",
              "[Oval]\ncarname = Tester\n\n100 1" + idle + "900 0" + idle + "\n\n5000\n");
    dir.write("Loop.gst", "[Loop]\ncarname = Slowpoke\n\n200 1" + idle + "\n\n7000\n");
    race();
    game->setGhostEnabled(true);
    game->startRace(800, 600);
    ASSERT_EQ(game->ghostEnabled(), 1);
    EXPECT_EQ(game->ghostLog().finishTime(), 5000);
    EXPECT_STREQ(game->ghostCar().spec().carname(), "Tester");

    ASSERT_EQ(game->chooseCourse(game->courseCatalogue.indexOfCourse("Loop")), 0);
    game->startRace(800, 600);
    ASSERT_EQ(game->ghostEnabled(), 1);
    EXPECT_STREQ(game->ghostLog().courseName(), "Loop");
    EXPECT_STREQ(game->ghostLog().carName(), "Slowpoke");
    EXPECT_STREQ(game->ghostCar().spec().carname(), "Slowpoke");
    EXPECT_EQ(game->ghostLog().finishTime(), 7000);
    GhostLog replay = game->ghostLog();
    EXPECT_EQ(replay.nextEventTime(GhostLog::kAccelerator), 200);
    replay.advance(GhostLog::kAccelerator);
    EXPECT_EQ(replay.nextEventTime(GhostLog::kAccelerator), GhostLog::kNone); // not the oval's 900
    // The ghost is drawn as its own car, a hatchback (body type 3: the body's first corner
    // 1950 mm ahead), see-through; the player's sedan's is 2250 mm ahead. Models are in 0.1 m.
    EXPECT_FLOAT_EQ(game->ghostModel().bodyBox(0).vertex(0)[0], 19.5f);
    EXPECT_FLOAT_EQ(game->playerModel().bodyBox(0).vertex(0)[0], 22.5f);
    EXPECT_EQ(game->ghostModel().bodyBox(0).colour()[3], 0.4f);
    EXPECT_EQ(game->playerModel().bodyBox(0).colour()[3], 1.0f);

    // A course without a ghost file races without a ghost, and says so.
    std::filesystem::remove(dir.file("Loop.gst"));
    game->startRace(800, 600);
    EXPECT_EQ(game->ghostEnabled(), 0);
}

// The run is saved as the course's ghost (0), but never over another course's ghost (-1).
TEST_F(RaceRulesTest, SavingTheRunAsTheCoursesGhost) {
    Game& g = race();
    dir.write("Oval.gst", "[Elsewhere]\ncarname = Tester\n\n\n\n1\n");
    EXPECT_EQ(g.saveRunAsGhost(), -1);
    EXPECT_EQ(dir.read("Oval.gst"), "[Elsewhere]\ncarname = Tester\n\n\n\n1\n");
    std::filesystem::remove(dir.file("Oval.gst"));
    EXPECT_EQ(g.saveRunAsGhost(), 0);
    EXPECT_EQ(dir.read("Oval.gst").substr(0, 7), "[Oval]\n");
}

} // namespace
} // namespace velnor
