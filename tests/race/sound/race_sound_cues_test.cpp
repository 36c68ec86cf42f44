// The race's sounds from a whole headless race: the countdown's beeps on the passes where the
// panel's count changes, a chime at each lap line, the finish, the rumble on leaving the road; the
// race itself the same whether it is heard or not. And where the ghost is heard from.
#include "game_test_access.h"
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/headless_race.h"
#include "race/same_race.h"
#include "race/sound/race_sound_cues.h"
#include "race/sound/recording_output.h"
#include "test_dir.h"
#include "world/camera.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numeric>

namespace velnor {
namespace {

class RaceSoundCuesTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
    }
    RaceOptions race(const char* course) const {
        RaceOptions options;
        options.root = dir.path();
        options.car = "Tester";
        options.course = course;
        return options;
    }
    test::TempDir dir;
};

void expectSameRace(const RaceResult& a, const RaceResult& b) {
    EXPECT_EQ(a.finished, b.finished);
    EXPECT_EQ(a.laps, b.laps);
    EXPECT_EQ(a.totalTime, b.totalTime);
    EXPECT_EQ(a.passes, b.passes);
    EXPECT_EQ(a.raceTime, b.raceTime);
    test::expectSameCar(a.car, b.car);
    EXPECT_EQ(a.offRoad, b.offRoad);
    EXPECT_EQ(a.keyChanges.size(), b.keyChanges.size());
}

// The autopilot's race on the oval, heard and not. The clock starts at tick 1000 and a pass runs
// every millisecond: the first pass (race time -2999) shows "3", "2" comes at -2000, "1" at -1000
// and "GO!" at 0. A lap's chime falls on the pass of its line, at the sum of the laps so far; the
// finish at the total.
TEST_F(RaceSoundCuesTest, AWholeRaceSoundsItsCuesOnTheirPasses) {
    RaceOptions options = race("Oval");
    options.autopilot = true;
    const RaceResult silent = runHeadlessRace(options);
    test::RecordingSoundOutput sink;
    options.sound = &sink;
    const RaceResult heard = runHeadlessRace(options);
    ASSERT_TRUE(heard.finished) << heard.error;
    expectSameRace(heard, silent);

    EXPECT_EQ(sink.timesOf(Cue::kCountBeep), (std::vector<std::int32_t>{-2999, -2000, -1000}));
    EXPECT_EQ(sink.timesOf(Cue::kGoBeep), std::vector<std::int32_t>{0});
    ASSERT_GE(heard.laps.size(), 2u);
    std::vector<std::int32_t> lines(heard.laps.size());
    std::partial_sum(heard.laps.begin(), heard.laps.end(), lines.begin());
    EXPECT_EQ(sink.timesOf(Cue::kFinish), std::vector<std::int32_t>{heard.totalTime});
    EXPECT_EQ(lines.back(), heard.totalTime);
    lines.pop_back(); // the last line is the finish's
    EXPECT_EQ(sink.timesOf(Cue::kLapChime), lines);
    EXPECT_EQ(static_cast<int>(sink.timesOf(Cue::kOffRoad).size()), heard.offRoad);
    // The state after every pass, the engine heard revving.
    EXPECT_EQ(sink.states, heard.passes);
    EXPECT_GT(sink.maxRpm, 3000.0f);
    // Held long enough, the accelerator stands at the gear's limit: the throttle heard is full.
    EXPECT_EQ(*std::max_element(sink.throttles.begin(), sink.throttles.end()), 1.0f);
}

// On the strip (see the headless race's tests) the car runs off the road's end once and stays
// off: one rumble, starting on the pass the race counts it, past the end; nothing else changes.
TEST_F(RaceSoundCuesTest, LeavingTheRoadStartsTheRumble) {
    dir.write("strip.rod", "[Strip]\n#road\np000=-10 -6 0\np001=100 -6 0\np002=100 6 0\n"
                           "p003=-10 6 0\nt00=3\ngd=1 0 0\ngl0=50 -6 0\ngl1=50 6 0\n");
    RaceOptions options = race("Strip");
    options.inputs = parseInputScript("-3000 X down\n");
    options.untilMs = 30000;
    std::vector<TracePoint> quietTrace, trace;
    const RaceResult silent = runHeadlessRace(options, &quietTrace);
    test::RecordingSoundOutput sink;
    options.sound = &sink;
    const RaceResult heard = runHeadlessRace(options, &trace);
    ASSERT_TRUE(heard.error.empty()) << heard.error;
    expectSameRace(heard, silent);
    ASSERT_EQ(heard.offRoad, 1);
    const std::vector<std::int32_t> off = sink.timesOf(Cue::kOffRoad);
    ASSERT_EQ(off.size(), 1u);
    EXPECT_TRUE(sink.timesOf(Cue::kBackOnRoad).empty());
    // After n passes the race time is n - 3000: the pass at time t is trace[t + 2999].
    const std::size_t pass = static_cast<std::size_t>(off[0] + 2999);
    ASSERT_LT(pass, trace.size());
    EXPECT_GT(trace[pass].x, 1000.0f);                   // past the road's end
    EXPECT_GT(trace[pass - 1].speed, trace[pass].speed); // the crawl begins on this pass
    EXPECT_GT(trace[pass - 1].speed, 2.0);
}

// The engine is heard by how far the accelerator is down from its rest. Pressed at -3000, the
// accelerator climbs from its rest at a steady rate: twice as far down at -2800 as at -2900 (200
// ms against 100), and let go at -2000 it is back at its rest (nothing) on that pass.
TEST_F(RaceSoundCuesTest, TheThrottleHeardIsTheAcceleratorAboveItsRest) {
    RaceOptions options = race("Oval");
    options.inputs = parseInputScript("-3000 X down\n-2000 X up\n");
    options.untilMs = -1000;
    test::RecordingSoundOutput sink;
    options.sound = &sink;
    const RaceResult result = runHeadlessRace(options);
    ASSERT_TRUE(result.error.empty()) << result.error;
    ASSERT_GE(sink.throttles.size(), 1500u);
    const auto at = [&](int time) { return sink.throttles[static_cast<std::size_t>(time + 2999)]; };
    EXPECT_GT(at(-2900), 0.0f);
    EXPECT_LT(at(-2001), 1.0f);
    EXPECT_NEAR(at(-2800) / at(-2900), 2.0f, 0.02f);
    EXPECT_NEAR(at(-2400) / at(-2900), 6.0f, 0.06f);
    for (int time = -2000; time < -1500; ++time)
        EXPECT_EQ(at(time), 0.0f) << time;
}

// The ghost's engine as the player hears it beside their own: the course's ghost (the autopilot's
// run, saved) is under way 3 s after GO, its accelerator down and its engine turning; put 30
// m to the right of the player's car, which the camera looks along +x from behind, it is heard
// fully right at half its gain; 10 m to the left and 3 m ahead, fully left at 1 / (1 + 0.35).
// Without a ghost nothing of it is heard; at the title, nothing at all.
TEST_F(RaceSoundCuesTest, TheGhostIsHeardByItsPlaceAndItsOwnEngine) {
    RaceOptions save = race("Oval");
    save.autopilot = true;
    save.saveGhost = true;
    ASSERT_TRUE(runHeadlessRace(save).finished);

    ManualClock clock(1000);
    RaceEvents events;
    Game game(dir.path(), clock, events);
    game.scanFiles();
    ASSERT_EQ(game.chooseCar(game.carCatalogue.indexOfCar("Tester"), true), 0);
    ASSERT_EQ(game.chooseCourse(game.courseCatalogue.indexOfCourse("Oval")), 0);
    game.setGhostEnabled(true);
    game.startRace(640, 480);
    ASSERT_EQ(game.ghostEnabled(), 1);
    KeyTable keys;
    for (int pass = 0; pass < 6000; ++pass) { // to race time 3000: the ghost is under way
        clock.advance(1);
        game.runIdleWork(keys);
    }
    test::RecordingSoundOutput sink;
    RaceSoundCues cues(sink);
    // The player's car well away from the origin, where a sum of places would pass for a
    // difference.
    GameTestAccess::playerModel(game).moveParts(700, -400, 0);
    Camera& camera = GameTestAccess::camera(game);
    camera.setViewMode(0);
    camera.followHeading(0); // behind the car, looking along +x

    const auto placeGhost = [&](float dx, float dy) {
        const Vec3 at = game.playerModel().position();
        const Vec3 ghost = game.ghostModel().position();
        GameTestAccess::ghostModel(game).moveParts(at[0] + dx - ghost[0], at[1] + dy - ghost[1], 0);
        cues.afterPass(game);
        return sink.last;
    };
    const SoundState right = placeGhost(0, -300);
    EXPECT_FLOAT_EQ(right.ghostPan, 1.0f);
    EXPECT_FLOAT_EQ(right.ghostGain, 0.5f);
    EXPECT_GT(right.ghostThrottle, 0.0f); // its accelerator is down
    EXPECT_LE(right.ghostThrottle, 1.0f);
    EXPECT_GT(right.ghostRpm, 0.0f);
    const SoundState left = placeGhost(30, 100);
    EXPECT_FLOAT_EQ(left.ghostPan, -1.0f);
    EXPECT_NEAR(left.ghostGain, 1.0f / (1.0f + 104.403f / 300.0f), 1e-4f); // hypot(30, 100)
    EXPECT_EQ(left.playerGain, 1.0f);

    game.setGhostEnabled(false);
    cues.afterPass(game);
    EXPECT_EQ(sink.last.ghostGain, 0.0f);
    EXPECT_EQ(sink.last.ghostRpm, 0.0f);
    // Back at the title the engines fall silent, said once.
    game.stopRace();
    cues.afterPass(game);
    EXPECT_EQ(sink.last.playerGain, 0.0f);
    EXPECT_EQ(sink.last.playerRpm, 0.0f);
    const long states = sink.states;
    cues.afterPass(game);
    EXPECT_EQ(sink.states, states);
}

// The ghost's side by the way the camera looks: behind the car (it follows the car's heading; 0
// degrees along +x, 90 along +y, z up), 10 m or more to the right is fully right, to the left
// fully left, ahead or behind in the middle; the listener anywhere on the course.
TEST(RaceSoundPanTest, TheGhostIsPannedByItsSide) {
    struct Case {
        float heading;
        float x, y;   // the listener
        float gx, gy; // the ghost
        float pan;
    };
    const Case cases[] = {
        {0, 0, 0, 0, -100, 1},
        {0, 0, 0, 0, 100, -1},
        {0, 0, 0, 0, -50, 0.5f},
        {0, 0, 0, 300, 0, 0},
        {0, 0, 0, -300, 0, 0},
        {90, 0, 0, 100, 0, 1},
        {90, 0, 0, -40, 0, -0.4f},
        {180, 0, 0, 0, 100, 1},
        {270, 0, 0, -500, 0, 1},
        {0, 0, 0, 0, -1000, 1},
        {90, 500, 200, 530, 900, 0.3f},
        {0, -700, 40, -900, 10, 0.3f},
        {180, 1000, 1000, 1000, 1060, 0.6f},
        {0, 0, 0, 0, 1000, -1},
    };
    for (const Case& c : cases) {
        Camera camera;
        camera.setViewMode(0);
        camera.followHeading(c.heading);
        EXPECT_NEAR(RaceSoundCues::panOf(camera, c.x, c.y, c.gx, c.gy), c.pan, 1e-4)
            << c.heading << " " << c.x << " " << c.y << " " << c.gx << " " << c.gy;
    }
}

// What is heard on the right is seen on the right: in each of the four views, the car anywhere
// and heading anyway, the ghost's pan has the sign of its place across the drawn picture, worked
// out from the eye, target and up vector the frame is drawn with (the picture's right is the line
// of sight crossed with up).
TEST(RaceSoundPanTest, TheGhostIsHeardOnTheSideItIsSeenOn) {
    int checked = 0;
    for (int view = 0; view < Camera::kViews; ++view)
        for (const float heading : {0.0f, 37.0f, 90.0f, 200.0f, 300.0f}) {
            Camera camera;
            camera.moveTarget(350, -120, 0); // the car, away from the origin
            camera.setViewMode(view);
            camera.followHeading(heading);
            const Camera::View drawn = camera.applyCamera();
            const Vec3 sight = {drawn.target[0] - drawn.eye[0], drawn.target[1] - drawn.eye[1],
                                drawn.target[2] - drawn.eye[2]};
            const Vec3 right = {sight[1] * drawn.up[2] - sight[2] * drawn.up[1],
                                sight[2] * drawn.up[0] - sight[0] * drawn.up[2],
                                sight[0] * drawn.up[1] - sight[1] * drawn.up[0]};
            for (int around = 0; around < 8; ++around) {
                const double a = around * 0.785398163 + 0.3;
                const float gx = drawn.target[0] + static_cast<float>(60 * std::cos(a));
                const float gy = drawn.target[1] + static_cast<float>(60 * std::sin(a));
                const double across = (gx - drawn.eye[0]) * right[0] +
                                      (gy - drawn.eye[1]) * right[1] +
                                      (drawn.target[2] - drawn.eye[2]) * right[2];
                const float pan =
                    RaceSoundCues::panOf(camera, drawn.target[0], drawn.target[1], gx, gy);
                if (std::abs(pan) < 0.05f)
                    continue; // straight ahead or behind
                ++checked;
                EXPECT_EQ(pan > 0, across > 0)
                    << "view " << view << " heading " << heading << " around " << around;
            }
        }
    EXPECT_GT(checked, 120);
}

} // namespace
} // namespace velnor
