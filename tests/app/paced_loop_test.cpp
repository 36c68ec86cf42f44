// The game loop's pace: a pass for every millisecond, whatever the frames. One key timeline is
// raced headless, in the window at 60 frames a second, and in the window at frames of every
// length from 1 ms to a quarter-second stall, as a busy loop under load has them; the key
// events reach the window stamped with the time they happened, between frames. All three give the
// same laps to the millisecond and the same ghost file byte for byte.
#include "app/fakes.h"
#include "app/main_window.h"
#include "app/race_setup.h"
#include "race/game.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>

namespace velnor {
namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int qtKeyOf(int virtualKey) {
    switch (virtualKey) {
    case vk::kX:
        return Qt::Key_X;
    case vk::kZ:
        return Qt::Key_Z;
    case vk::kLeft:
        return Qt::Key_Left;
    case vk::kRight:
        return Qt::Key_Right;
    case vk::kUp:
        return Qt::Key_Up;
    default:
        return Qt::Key_Down;
    }
}

// The car selection's and course selection's OK on the test car and the oval.
class TesterOnTheOval final : public RaceSetup {
public:
    bool chooseCar(Game& game) override {
        return game.chooseCar(game.carCatalogue.indexOfCar("Tester"), true) == 0;
    }
    bool chooseCourse(Game& game) override {
        return game.chooseCourse(game.courseCatalogue.indexOfCourse("Oval")) == 0;
    }
};

struct RaceRun {
    std::vector<std::int32_t> laps;
    std::string ghostFile;
};

class PacedLoop : public testing::Test {
protected:
    // A fresh copy of the race fixtures (the test car, the oval) for each run.
    std::string freshDir(const char* name) {
        const std::string path = dir.file(name);
        std::filesystem::copy(VELNOR_FIXTURES "/race", path,
                              std::filesystem::copy_options::recursive);
        return path;
    }

    // The key timeline: what the autopilot pressed in a headless race of three laps.
    std::vector<InputEvent> autopilotKeys() {
        RaceOptions options;
        options.root = freshDir("autopilot");
        options.car = "Tester";
        options.course = "Oval";
        options.autopilot = true;
        const RaceResult race = runHeadlessRace(options);
        EXPECT_TRUE(race.finished) << race.error;
        return race.keyChanges;
    }

    RaceRun headless(const std::vector<InputEvent>& keys) {
        RaceOptions options;
        options.root = freshDir("headless");
        options.car = "Tester";
        options.course = "Oval";
        options.inputs.events = keys;
        options.saveGhost = true;
        const RaceResult race = runHeadlessRace(options);
        EXPECT_TRUE(race.ghostSaved) << race.error;
        return {race.laps, fileBytes(options.root + "/Oval.gst")};
    }

    // The same keys in the window, on a clock that moves by `frameMs(i)` before frame i. Each key
    // event is sent after the clock has passed its time, before the frame that runs its pass,
    // stamped with the time it happened. After the finish the car rolls to a stand, and F3 saves
    // the run.
    template <class FrameLength>
    RaceRun inTheWindow(const char* name, const std::vector<InputEvent>& keys,
                        FrameLength frameMs) {
        const std::string root = freshDir(name);
        test::HandClock clock;
        test::FakeMessageBoxes messages;
        test::FakeMusicPlayer player;
        TesterOnTheOval setup;
        auto window = std::make_unique<MainWindow>(root, clock, messages, player, setup);
        window->show();
        window->startCommand();
        Game& game = window->game();
        const std::uint32_t raceZero = game.playerCar.startTick() + Vehicle::kStartHold;
        std::size_t next = 0;
        for (int frame = 0; frame < 100000; ++frame) {
            if (game.gameState() == GameState::kFinished && game.playerCar.speed() == 0)
                break;
            clock.advance(frameMs(frame));
            for (; next < keys.size() &&
                   static_cast<std::int32_t>(raceZero + keys[next].time - clock.now()) <= 0;
                 ++next) {
                const std::uint32_t tick = raceZero + static_cast<std::uint32_t>(keys[next].time);
                QKeyEvent event(keys[next].down ? QEvent::KeyPress : QEvent::KeyRelease,
                                qtKeyOf(keys[next].virtualKey), Qt::NoModifier);
                event.setTimestamp(clock.stampOf(tick));
                QApplication::sendEvent(window.get(), &event);
            }
            window->idlePass();
        }
        EXPECT_EQ(game.gameState(), GameState::kFinished) << name;
        RaceRun run;
        for (int lap = 0; lap < game.raceClock().completedLaps(); ++lap)
            run.laps.push_back(game.raceClock().lapTime(lap));
        const std::size_t shown = messages.shown.size(); // off screen: no OpenGL, said at start
        window->stopCommand(); // F3 after the finish: saved without a question
        EXPECT_EQ(messages.shown.size(), shown) << name;
        run.ghostFile = fileBytes(root + "/Oval.gst");
        messages.answers.assign(10, true);
        window.reset();
        return run;
    }

    test::TempDir dir;
};

TEST_F(PacedLoop, OneKeyTimelineGivesTheSameRaceHeadlessAndAtAnyFrameRate) {
    const std::vector<InputEvent> keys = autopilotKeys();
    ASSERT_GT(keys.size(), 20u); // it steered, not only held the accelerator
    const RaceRun tool = headless(keys);
    ASSERT_EQ(tool.laps.size(), 3u);
    ASSERT_FALSE(tool.ghostFile.empty());

    // 60 frames a second: 16, 17, 17 ms, 50 ms every three frames.
    const RaceRun sixty =
        inTheWindow("sixty", keys, [](int frame) { return frame % 3 == 0 ? 16 : 17; });
    // As fast as the loop goes on a busy machine: frames of 1 to 97 ms in a scrambled order,
    // and a stall of a quarter-second every 40th frame.
    const RaceRun busy = inTheWindow("busy", keys, [](int frame) {
        return frame % 40 == 39 ? 250 : 1 + (frame * 37 + 11) % 97;
    });
    for (const RaceRun* run : {&sixty, &busy}) {
        SCOPED_TRACE(run == &sixty ? "60 fps" : "frames of every length");
        EXPECT_EQ(run->laps, tool.laps);
        EXPECT_EQ(run->ghostFile, tool.ghostFile);
    }
}

// A key event counts from the millisecond its stamp says, up to a second back; a stamp that
// cannot be placed on the game's clock (older, or ahead of it: another clock's) counts at the
// time the event arrives. The window's race, with X going down in a long frame, covers the
// distance of the headless race with X down at the race time the stamp gives.
TEST_F(PacedLoop, AKeyCountsFromTheMillisecondItsStampSays) {
    struct Row {
        const char* name;
        std::int32_t age;    // ms before the end of the frame that sees it
        std::int32_t downAt; // race time from which X is held
    };
    // The race starts at tick 1000; 3 s of count and 1 s of race in frames of 10 ms, then a frame
    // of 2 s: it ends at race time 3000.
    const Row rows[] = {
        {"just now", 0, 3000},
        {"a quarter-second ago", 250, 2750},
        {"a second ago, the oldest placed", 1000, 2000},
        {"older: counts on arrival", 1001, 3000},
        {"ahead of the clock: counts on arrival", -5, 3000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::HandClock clock;
        test::FakeMessageBoxes messages;
        test::FakeMusicPlayer player;
        TesterOnTheOval setup;
        auto window =
            std::make_unique<MainWindow>(freshDir(row.name), clock, messages, player, setup);
        window->show();
        window->startCommand();
        Game& game = window->game();
        for (int i = 0; i < 400; ++i) {
            clock.advance(10);
            window->idlePass();
        }
        clock.advance(2000);
        QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
        x.setTimestamp(clock.stampOf(clock.now() - static_cast<std::uint32_t>(row.age)));
        QApplication::sendEvent(window.get(), &x);
        window->idlePass();
        ASSERT_EQ(game.playerCar.raceTime(), 3000);

        RaceOptions options;
        options.root = freshDir("headless");
        options.car = "Tester";
        options.course = "Oval";
        options.inputs.events = {{row.downAt, vk::kX, true}};
        options.untilMs = 3000;
        const RaceResult race = runHeadlessRace(options);
        EXPECT_EQ(race.raceTime, 3000);
        EXPECT_EQ(game.playerCar.distance(), race.car.distance);
        if (row.downAt < 3000) {
            EXPECT_GT(game.playerCar.distance(), 0);
        }
        std::filesystem::remove_all(options.root);
        messages.answers.assign(10, true);
        window.reset();
    }
}

} // namespace
} // namespace velnor
