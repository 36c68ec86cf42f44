// The pause (P), the pause when the window loses the focus, and the quick restart (R) in the
// window, off screen on a clock moved by hand: a pass for every 10 ms a turn of the loop.
#include "app/fakes.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/pictures.h"
#include "app/race_setup.h"
#include "game_test_access.h"
#include "hud/canvas.h"
#include "hud/pause_panel.h"
#include "race/ghost_file.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

using test::FakeMessageBoxes;
using test::FakeMusicPlayer;
using test::HandClock;

// The test car, automatic or manual, on the oval; whether the course's ghost is wanted, as the
// car selection's G leaves it.
class TesterOnTheOval final : public RaceSetup {
public:
    bool chooseCar(Game& game) override {
        game.setGhostEnabled(ghost);
        return game.chooseCar(game.carCatalogue.indexOfCar("Tester"), automatic) == 0;
    }
    bool chooseCourse(Game& game) override {
        return game.chooseCourse(game.courseCatalogue.indexOfCourse("Oval")) == 0;
    }

    bool automatic = true;
    bool ghost = true;
};

class PauseWindowTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        player.playable = {"title.mp3",   "velnor1.mp3", "velnor2.mp3",
                           "velnor3.mp3", "velnor4.mp3", "velnor5.mp3"};
        window = std::make_unique<MainWindow>(dir.path(), clock, messages, player, setup);
        window->setSoundOutput(sound);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        shownAtStart = messages.shown.size(); // off screen there may be no OpenGL: said once
    }

    void TearDown() override {
        messages.answers.assign(10, true); // let the window close whatever state it is in
        window.reset();
    }

    Game& game() { return window->game(); }
    std::int32_t raceTime() { return game().playerCar.raceTime(); }

    // Turns of the game loop, the clock advancing `ms` before each.
    void passes(int count, int ms = 10) {
        for (int i = 0; i < count; ++i) {
            clock.advance(ms);
            window->idlePass();
        }
    }

    // A key going down or up now, stamped by the system as the display server stamps it.
    void key(int qtKey, bool down) {
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier);
        event.setTimestamp(clock.stampOf(clock.now()));
        QApplication::sendEvent(window.get(), &event);
    }
    void press(int qtKey) {
        key(qtKey, true);
        key(qtKey, false);
    }

    // Drives one lap by moving the car over the gate.
    void driveLap() {
        for (const float x : {-50.0f, 0.0f}) {
            const Vec3 at = game().playerModel().position();
            GameTestAccess::playerModel(game()).moveParts(x - at[0], -at[1], 0);
            GameTestAccess::course(game()).world.moveCar(x - at[0], -at[1], 0);
            passes(1);
        }
    }

    // Three laps, and the roll-out to a stand.
    void finishRace() {
        passes(400);
        for (int lap = 0; lap < 3; ++lap) {
            driveLap();
            passes(100);
        }
        ASSERT_EQ(game().gameState(), GameState::kFinished);
        passes(500);
        ASSERT_EQ(game().playerCar.speed(), 0);
    }

    // Another window takes the focus, or the window takes it back.
    void focus(bool ours) {
        if (ours) {
            QApplication::setActiveWindow(window.get());
        } else {
            other.show();
            QApplication::setActiveWindow(&other);
        }
        QEvent change(QEvent::ActivationChange);
        QApplication::sendEvent(window.get(), &change);
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }

    test::TempDir dir;
    HandClock clock;
    FakeMessageBoxes messages;
    FakeMusicPlayer player;
    test::RecordingSoundOutput sound;
    TesterOnTheOval setup;
    std::unique_ptr<MainWindow> window;
    QWidget other;
    std::size_t shownAtStart = 0;
};

// P holds the race where it is, in the count and racing: a minute of the pause, with turns of
// the loop in it, moves nothing; P again goes on from the same millisecond. The frames stop, the
// music holds and the label shows meanwhile.
TEST_F(PauseWindowTest, PHoldsTheRaceAndPAgainGoesOn) {
    struct Row {
        const char* name;
        int passesBefore;
        std::int32_t pausedAt; // race time
    };
    for (const Row& row : {Row{"in the count", 100, -2000}, Row{"racing", 450, 1500}}) {
        SCOPED_TRACE(row.name);
        window->startCommand();
        key(Qt::Key_X, true);
        passes(row.passesBefore);
        clock.advance(7); // a press between two turns: the passes due until it run first
        press(Qt::Key_P);
        ASSERT_TRUE(window->paused());
        EXPECT_EQ(raceTime(), row.pausedAt + 7);
        EXPECT_FALSE(window->framesRunning());
        EXPECT_TRUE(player.paused);
        ASSERT_NE(window->pausePanel(), nullptr);
        EXPECT_TRUE(window->pausePanel()->isVisible());
        const double distance = game().playerCar.distance();

        passes(6000); // a minute
        EXPECT_EQ(raceTime(), row.pausedAt + 7);
        EXPECT_EQ(game().playerCar.distance(), distance);

        press(Qt::Key_P);
        EXPECT_FALSE(window->paused());
        EXPECT_TRUE(window->framesRunning());
        EXPECT_FALSE(player.paused);
        EXPECT_EQ(player.resumes, player.pauses);
        EXPECT_FALSE(window->pausePanel()->isVisible());
        passes(1);
        EXPECT_EQ(raceTime(), row.pausedAt + 17);
        key(Qt::Key_X, false);
        messages.answers = {true};
        window->stopCommand();
    }
}

// P means nothing at the title or after the finish.
TEST_F(PauseWindowTest, POnlyPausesARace) {
    press(Qt::Key_P);
    EXPECT_FALSE(window->paused());
    window->startCommand();
    finishRace();
    press(Qt::Key_P);
    EXPECT_FALSE(window->paused());
    EXPECT_TRUE(window->framesRunning());
    EXPECT_EQ(player.pauses, 0);
}

// The lap panel's three seconds leave the pause out: it goes 3 s of race time after the lap.
TEST_F(PauseWindowTest, TheLapPanelsTimeLeavesThePauseOut) {
    window->startCommand();
    passes(400);
    driveLap();
    ASSERT_TRUE(window->lapPanel()->isVisible());
    passes(100); // 1 s of it
    press(Qt::Key_P);
    passes(500); // 5 s paused
    EXPECT_TRUE(window->lapPanel()->isVisible());
    press(Qt::Key_P);
    passes(198); // 2.98 s since the lap
    EXPECT_TRUE(window->lapPanel()->isVisible());
    passes(3); // 3.01 s
    EXPECT_FALSE(window->lapPanel()->isVisible());
}

// The label shows what the pause panel draws, centred across the view above the lap panel's
// place; the lap panel, shown with it, keeps its own place.
TEST_F(PauseWindowTest, TheLabelShowsItsDrawingAboveTheLapPanel) {
    window->startCommand();
    passes(400);
    driveLap();
    const QRect lapPanel = window->lapPanel()->geometry();
    press(Qt::Key_P);
    settle();
    PanelWidget* label = window->pausePanel();
    ASSERT_NE(label, nullptr);
    Canvas reference;
    reference.create(pausePanelSize());
    drawPausePanel(reference);
    EXPECT_EQ(label->size(), pausePanelSize());
    EXPECT_EQ(test::differences(test::grabbed(label), reference.image(), label->size(),
                                window->devicePixelRatioF()),
              0);
    // "一時停止中" in red, "P で再開" in grey wholly under it.
    const QImage& drawn = reference.image();
    int lowestRed = -1;
    int highestGrey = label->height();
    for (int y = 0; y < label->height(); ++y)
        for (int x = 0; x < label->width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            if (c == QColor(255, 0, 0))
                lowestRed = y;
            if (c == QColor(128, 128, 128))
                highestGrey = std::min(highestGrey, y);
        }
    EXPECT_GE(lowestRed, 0);
    EXPECT_LT(lowestRed, highestGrey);
    EXPECT_LT(highestGrey, label->height());

    EXPECT_EQ(window->lapPanel()->geometry(), lapPanel);
    EXPECT_TRUE(window->lapPanel()->isVisible());
    const QSize area = window->client()->size();
    EXPECT_EQ(label->x(), (area.width() - label->width()) / 2);
    EXPECT_LT(label->geometry().bottom(), lapPanel.top());
    EXPECT_GE(label->y(), 0);

    // At another size too.
    window->resize(800, 600);
    settle();
    const QSize larger = window->client()->size();
    EXPECT_EQ(label->x(), (larger.width() - label->width()) / 2);
    EXPECT_LT(label->geometry().bottom(), window->lapPanel()->geometry().top());
}

// Keys changed during the pause count from the first pass after it; a key held through it stays
// held. The window's race is the headless race with those changes there.
TEST_F(PauseWindowTest, KeysChangedDuringThePauseCountAtTheResume) {
    struct Row {
        const char* name;
        bool downBefore;  // X pressed at race time 500, after its pass: it counts at 501's
        bool downInPause; // X's state set during the pause
        std::vector<InputEvent> headless;
    };
    const std::vector<Row> rows = {
        {"pressed", false, true, {{1001, vk::kX, true}}},
        {"let go", true, false, {{501, vk::kX, true}, {1001, vk::kX, false}}},
        {"held through", true, true, {{501, vk::kX, true}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->startCommand();
        passes(350); // race time 500
        if (row.downBefore)
            key(Qt::Key_X, true);
        passes(50);
        press(Qt::Key_P); // at race time 1000
        passes(30);
        if (row.downInPause != row.downBefore)
            key(Qt::Key_X, row.downInPause);
        passes(30);
        press(Qt::Key_P);
        passes(200); // to race time 3000
        ASSERT_EQ(raceTime(), 3000);

        RaceOptions options;
        options.root = dir.file(row.name);
        std::filesystem::copy(VELNOR_FIXTURES "/race", options.root,
                              std::filesystem::copy_options::recursive);
        options.car = "Tester";
        options.course = "Oval";
        options.inputs.events = row.headless;
        options.untilMs = 3000;
        const RaceResult race = runHeadlessRace(options);
        EXPECT_GT(race.car.distance, 0.1); // the accelerator was held for a while
        EXPECT_EQ(game().playerCar.distance(), race.car.distance);
        EXPECT_EQ(game().playerCar.speed(), race.car.speed);
        if (row.downInPause)
            key(Qt::Key_X, false);
        messages.answers = {true};
        window->stopCommand();
    }
}

// F3, F2 and R still ask while paused. No: still paused, and the clock still held (the
// question's own hold nests in the pause's). Yes: the pause is over, and the clock and the
// sounds run again.
TEST_F(PauseWindowTest, QuestionsWhilePaused) {
    struct Row {
        const char* name;
        void (MainWindow::*command)();
        GameState after; // on yes
    };
    const Row rows[] = {{"F3", &MainWindow::stopCommand, GameState::kTitle},
                        {"F2", &MainWindow::startCommand, GameState::kRacing},
                        {"R", &MainWindow::restartCommand, GameState::kRacing}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->startCommand();
        passes(400);
        press(Qt::Key_P);
        const std::int32_t pausedAt = raceTime();

        messages.answers = {false};
        QEvent blocked(QEvent::WindowBlocked); // as a real question holds the clock
        QApplication::sendEvent(window.get(), &blocked);
        (window.get()->*row.command)();
        clock.advance(5000);
        QEvent unblocked(QEvent::WindowUnblocked);
        QApplication::sendEvent(window.get(), &unblocked);
        EXPECT_EQ(messages.shown.back(), "? 中断しますか？");
        EXPECT_TRUE(window->paused());
        EXPECT_TRUE(window->pausePanel()->isVisible());
        EXPECT_TRUE(sound.held);
        passes(100);
        EXPECT_EQ(raceTime(), pausedAt);

        messages.answers = {true};
        (window.get()->*row.command)();
        EXPECT_EQ(game().gameState(), row.after);
        EXPECT_FALSE(window->paused());
        EXPECT_EQ(window->pausePanel(), nullptr);
        EXPECT_FALSE(player.paused);
        EXPECT_FALSE(sound.held); // the next race is heard
        if (row.after == GameState::kTitle) {
            EXPECT_EQ(player.played.back(), "title.mp3");
            window->startCommand();
        } else {
            EXPECT_EQ(player.played.back().rfind("velnor", 0), 0u);
        }
        ASSERT_EQ(raceTime(), -3000);
        passes(1); // a new race, on a clock that runs
        EXPECT_EQ(raceTime(), -2990);
        EXPECT_TRUE(window->framesRunning());
        messages.answers = {true};
        window->stopCommand();
    }
}

// With the option on, the race pauses when another window takes the focus, and stays paused
// when the focus comes back, until P. With it off, or at the title, nothing pauses; nor does a
// dialog of the game's own, for which the race waits anyway.
TEST_F(PauseWindowTest, PauseWhenTheWindowLosesTheFocus) {
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "on" : "off");
        window->setPauseOnFocusLoss(on);
        focus(false);
        EXPECT_FALSE(window->paused()); // the title
        focus(true);
        window->startCommand();
        passes(400);
        focus(false);
        EXPECT_EQ(window->paused(), on);
        passes(100);
        EXPECT_EQ(raceTime(), on ? 1000 : 2000);
        focus(true);
        passes(1);
        EXPECT_EQ(window->paused(), on);
        if (on) {
            press(Qt::Key_P);
            passes(1);
            EXPECT_EQ(raceTime(), 1010);
        }
        messages.answers = {true};
        window->stopCommand();
    }

    window->setPauseOnFocusLoss(true);
    window->startCommand();
    passes(400);
    QDialog dialog(window.get());
    QTimer::singleShot(50, &dialog, [&] {
        focus(false); // the dialog has it
        dialog.accept();
    });
    dialog.exec();
    EXPECT_FALSE(window->paused());
}

TEST_F(PauseWindowTest, TheFocusOptionInTheSettingsMenu) {
    QAction* option = nullptr;
    for (QAction* menu : window->menuBar()->actions())
        if (menu->text() == QString::fromUtf8("設定(&O)"))
            for (QAction* item : menu->menu()->actions())
                if (item->text() == QString::fromUtf8("フォーカスを失ったら一時停止(&P)"))
                    option = item;
    ASSERT_NE(option, nullptr);
    EXPECT_TRUE(option->isCheckable());
    EXPECT_FALSE(option->isChecked()); // off by default
    EXPECT_FALSE(window->pauseOnFocusLoss());
    option->trigger();
    EXPECT_TRUE(window->pauseOnFocusLoss());
    option->trigger();
    EXPECT_FALSE(window->pauseOnFocusLoss());
    window->setPauseOnFocusLoss(true); // as from the settings file
    EXPECT_TRUE(option->isChecked());
}

// R after the finish: at once a new race with the same car, transmission and course, from the
// start line, its music the next of the list. At the title R does nothing.
TEST_F(PauseWindowTest, RAfterTheFinishStartsTheSameRaceAgain) {
    press(Qt::Key_R);
    EXPECT_EQ(game().gameState(), GameState::kTitle);
    for (const bool automatic : {true, false}) {
        SCOPED_TRACE(automatic ? "automatic" : "manual");
        setup.automatic = automatic;
        window->startCommand();
        finishRace();
        const std::size_t musicBefore = player.played.size();
        GameTestAccess::course(game()).world.moveCar(123, -45, 0); // wherever it stopped
        press(Qt::Key_R);
        ASSERT_EQ(game().gameState(), GameState::kRacing);
        EXPECT_EQ(messages.shown.size(), shownAtStart); // no question
        EXPECT_EQ(std::string(game().playerCar.spec().carname()), "Tester");
        EXPECT_EQ(game().playerCar.spec().automatic(), automatic ? 1 : 0);
        EXPECT_EQ(game().selectedCourse(), game().courseCatalogue.indexOfCourse("Oval"));
        EXPECT_EQ(raceTime(), -3000);
        EXPECT_EQ(game().playerCar.startTick(), clock.now());
        EXPECT_EQ(game().course().world.carPosition(), (Vec3{0, 0, 0}));
        EXPECT_EQ(game().raceClock().completedLaps(), 0);
        ASSERT_EQ(player.played.size(), musicBefore + 1);
        EXPECT_NE(player.played.back(), "title.mp3");
        // It races as a race started by F2: three laps to the finish.
        finishRace();
        messages.answers = {true};
        press(Qt::Key_Escape);
    }
}

// R while racing asks "中断しますか？": no, the race goes on untouched; yes, the race anew.
TEST_F(PauseWindowTest, RWhileRacingAsksFirst) {
    window->startCommand();
    passes(500);
    const std::uint32_t start = game().playerCar.startTick();
    messages.answers = {false};
    press(Qt::Key_R);
    EXPECT_EQ(messages.shown.back(), "? 中断しますか？");
    EXPECT_EQ(game().playerCar.startTick(), start);
    EXPECT_EQ(raceTime(), 2000);
    passes(1);
    EXPECT_EQ(raceTime(), 2010);

    messages.answers = {true};
    press(Qt::Key_R);
    EXPECT_EQ(game().gameState(), GameState::kRacing);
    EXPECT_EQ(game().playerCar.startTick(), clock.now());
    EXPECT_EQ(raceTime(), -3000);
}

// A key let go in the last frame of a race, before the pass of its millisecond, is up after it:
// at the title, and in the race that R or F2 starts next (not held down into it).
TEST_F(PauseWindowTest, AKeyLetGoAsTheRaceEndsIsUpAfterIt) {
    struct Row {
        const char* name;
        void (MainWindow::*command)();
        GameState after;
    };
    const Row rows[] = {{"F3", &MainWindow::stopCommand, GameState::kTitle},
                        {"R", &MainWindow::restartCommand, GameState::kRacing},
                        {"F2", &MainWindow::startCommand, GameState::kRacing}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->startCommand();
        key(Qt::Key_X, true);
        passes(500);
        ASSERT_TRUE(window->keys().isDown(vk::kX));
        clock.advance(5);
        key(Qt::Key_X, false);
        messages.answers = {true};
        (window.get()->*row.command)();
        ASSERT_EQ(game().gameState(), row.after);
        EXPECT_FALSE(window->keys().isDown(vk::kX));
        if (row.after == GameState::kRacing) {
            passes(600);
            EXPECT_EQ(game().playerCar.distance(), 0);
            messages.answers = {true};
            window->stopCommand();
        }
    }
}

// The ghost of the restarted race: a run saved with S always (even when the race had none);
// otherwise as the race before had it, the course's ghost if wanted and there is one.
TEST_F(PauseWindowTest, TheGhostOfTheRestartedRace) {
    struct Row {
        const char* name;
        bool ghostFile; // the oval has a ghost before the race
        bool wanted;    // the car selection left the ghost on
        bool save;      // S after the finish
        bool ghostRaced;
    };
    const Row rows[] = {
        {"saved, no ghost before", false, true, true, true},
        {"saved, the ghost switched off", true, false, true, true},
        {"not saved, the ghost switched off", true, false, false, false},
        {"not saved, no ghost", false, true, false, false},
        {"not saved, the old ghost", true, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(dir.file("Oval.gst"));
        if (row.ghostFile)
            dir.write("Oval.gst", "[Oval]\ncarname = Slowpoke\n\n\n\n5000\n");
        setup.ghost = row.wanted;
        window->startCommand();
        finishRace();
        const std::int32_t finish = game().runLog().finishTime();
        if (row.save) {
            messages.answers = {true};
            press(Qt::Key_S);
            ASSERT_EQ(messages.shown.back().rfind("i ", 0), 0u) << messages.shown.back();
        }
        press(Qt::Key_R);
        ASSERT_EQ(game().gameState(), GameState::kRacing);
        EXPECT_EQ(game().ghostEnabled() != 0, row.ghostRaced);
        if (row.ghostRaced) {
            EXPECT_EQ(game().ghostLog().finishTime(), row.save ? finish : 5000);
        }
        messages.answers = {true};
        window->stopCommand();
    }
}

} // namespace
} // namespace velnor
