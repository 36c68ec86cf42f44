// Watching a course's ghost in the window: the course selection's button for it, enabled only
// for a course with a ghost file; the watching started from the title through the selection,
// its instrument and result panels against the game's own drawing, the car where the same
// watching puts it headless, the views, the keys that do nothing, and the ways back to the title.
#include "app/course_selection_dialog.h"
#include "app/dialog_layout.h"
#include "app/fakes.h"
#include "app/game_view.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/pictures.h"
#include "app/race_setup.h"
#include "hud/instrument_panel.h"
#include "hud/race_panels.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

using test::differences;
using test::grabbed;

// A strip of road with a gate across it, and no ghost.
constexpr char kStrip[] = "[Strip]\n#road\np000=-10 -6 0\np001=100 -6 0\np002=100 6 0\n"
                          "p003=-10 6 0\nt00=3\ngd=1 0 0\ngl0=50 -6 0\ngl1=50 6 0\n";

// Slowpoke with manual transmission, and the oval; watched or raced as `watch` says.
class WatchSetup final : public RaceSetup {
public:
    bool chooseCar(Game& game) override {
        return game.chooseCar(game.carCatalogue.indexOfCar("Slowpoke"), false) == 0;
    }
    bool chooseCourse(Game& game) override {
        return game.chooseCourse(game.courseCatalogue.indexOfCourse("Oval")) == 0;
    }
    bool watchChosen() const override { return watch; }

    bool watch = true;
};

class WatchWindowTest : public testing::Test {
protected:
    // The autopilot's run with "Tester" saved as the oval's ghost, and the same run watched
    // headless (where the window's watching must put the car pass by pass).
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        dir.write("strip.rod", kStrip);
        RaceOptions options;
        options.root = dir.path();
        options.car = "Tester";
        options.course = "Oval";
        options.autopilot = true;
        options.ghost = false;
        options.saveGhost = true;
        ASSERT_TRUE(runHeadlessRace(options).ghostSaved);
        options.watch = true;
        watchedHeadless = runHeadlessRace(options, &trace);
        ASSERT_TRUE(watchedHeadless.finished) << watchedHeadless.error;
        records = dir.read("Velnor.rec");
        ghost = dir.read("Oval.gst");

        window = std::make_unique<MainWindow>(dir.path(), clock, messages, player, setup);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        messages.answers.assign(10, true);
        window.reset();
    }

    // Turns of the game loop, the clock `ms` on before each.
    void passes(int count, int ms = 10) {
        for (int i = 0; i < count; ++i) {
            clock.advance(ms);
            window->idlePass();
        }
    }
    void keyDown(int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &down);
    }
    void press(int key) {
        keyDown(key);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &up);
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }
    // F2 with the setup's answers: the watching begins at this tick.
    void startWatching() {
        window->startCommand();
        ASSERT_TRUE(window->game().watching());
        startTick = window->game().playerCar.startTick();
    }
    // The headless watching's pass at the window's clock: the pass of tick `start + n` is the
    // n-th.
    const TracePoint& headlessNow() const {
        return trace.at(static_cast<std::size_t>(clock.now() - startTick) - 1);
    }
    std::int32_t raceNow() const {
        return static_cast<std::int32_t>(clock.now() - startTick - Vehicle::kStartHold);
    }
    int panelDifferences(PanelWidget* panel, const QImage& reference) {
        return differences(grabbed(panel), reference, panel->size(), window->devicePixelRatioF());
    }

    test::TempDir dir;
    test::HandClock clock;
    test::FakeMessageBoxes messages;
    test::FakeMusicPlayer player;
    WatchSetup setup;
    std::unique_ptr<MainWindow> window;
    RaceResult watchedHeadless;
    std::vector<TracePoint> trace;
    std::string records;
    std::string ghost;
    std::uint32_t startTick = 0;
};

// The button is enabled for the highlighted course exactly while it has a ghost file; pressed,
// it loads the course as OK does and asks for the watching. Disabled, it accepts nothing. It
// has a place of its own in the dialog, its text whole.
TEST_F(WatchWindowTest, TheCourseSelectionOffersTheGhostOfACourseThatHasOne) {
    Game& game = window->game();
    struct Row {
        const char* course;
        bool ghostFile;
        bool enabled;
    };
    const Row rows[] = {{"Oval", true, true}, {"Strip", true, false}, {"Oval", false, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.course << (row.ghostFile ? "" : ", no file"));
        if (!row.ghostFile)
            std::filesystem::remove(dir.file("Oval.gst"));
        CourseSelectionDialog dialog(game, messages, window.get());
        auto* list =
            qobject_cast<QListWidget*>(DialogLayout::control(dialog, CourseSelectionDialog::kList));
        auto* watch = qobject_cast<QPushButton*>(
            DialogLayout::control(dialog, CourseSelectionDialog::kWatch));
        ASSERT_NE(list, nullptr);
        ASSERT_NE(watch, nullptr);
        EXPECT_EQ(watch->text(), QString::fromUtf8("ゴーストを\n見る(&W)"));
        const auto rowOf = list->findItems(QString::fromLatin1(row.course), Qt::MatchExactly);
        ASSERT_EQ(rowOf.size(), 1);
        list->setCurrentItem(rowOf.front());
        EXPECT_EQ(watch->isEnabled(), row.enabled);

        for (const int id : {CourseSelectionDialog::kList, 1, 2, CourseSelectionDialog::kRecords,
                             CourseSelectionDialog::kComment})
            EXPECT_FALSE(
                DialogLayout::control(dialog, id)->geometry().intersects(watch->geometry()))
                << "control " << id;
        EXPECT_TRUE(dialog.rect().contains(watch->geometry()));
        EXPECT_LE(watch->sizeHint().width(), watch->width());

        dialog.show();
        QTest::mouseClick(watch, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), row.enabled ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.watchChosen(), row.enabled);
        if (row.enabled) {
            EXPECT_EQ(game.selectedCourse(), game.courseCatalogue.indexOfCourse("Oval"));
        }
    }

    // OK races, whatever the button offers.
    dir.write("Oval.gst", ghost);
    CourseSelectionDialog dialog(game, messages, window.get());
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.watchChosen());
}

// From the title through the selection: the ghost's car drives its run in the player's place,
// where the headless watching has it at every look, with the instrument panel showing its car,
// gear, speed, engine speed and the clock; held driving keys do nothing, the view key cycles the
// four views, and Esc returns to the title with the chosen car back.
TEST_F(WatchWindowTest, WatchingFromTheTitleAndEscBack) {
    startWatching();
    Game& game = window->game();
    ASSERT_EQ(game.gameState(), GameState::kRacing);
    EXPECT_EQ(game.ghostEnabled(), 0); // no second car
    ASSERT_NE(window->instrumentPanel(), nullptr);
    keyDown(Qt::Key_Z); // held all the way: the brake of the player, not of the ghost
    keyDown(Qt::Key_Left);
    for (const int look : {2000, 6000, 12000}) {
        passes((look - static_cast<int>(clock.now() - startTick)) / 10);
        settle();
        SCOPED_TRACE(testing::Message() << "at " << look << " ms");
        const Vec3& at = game.playerModel().position();
        EXPECT_EQ(at[0], headlessNow().x);
        EXPECT_EQ(at[1], headlessNow().y);
        EXPECT_EQ(game.playerCar.speed(), headlessNow().speed);

        InstrumentReadings readings = readingsOf(game);
        readings.carName = QStringLiteral("Tester"); // the ghost's car, not the chosen one
        readings.automatic = true;
        readings.lap = 1;
        readings.laps = 3;
        readings.raceTime = raceNow();
        Canvas instruments;
        instruments.create(QSize(window->client()->width(), MainWindow::kPanelHeight));
        drawInstrumentPanel(instruments, readings);
        drawClock(instruments, readings);
        EXPECT_EQ(panelDifferences(window->instrumentPanel(), instruments.image()), 0);
        EXPECT_EQ(test::screenDifferences(*window, window->instrumentPanel(), instruments.image()),
                  0);

        // The 3D view of the course: the sky along its top, the ground just above the panel.
        ASSERT_NE(window->view(), nullptr);
        const QImage frame = test::rgb(window->view()->grabFramebuffer());
        const int w = frame.width();
        const int aboveThePanel =
            frame.height() - qRound(MainWindow::kPanelHeight * window->devicePixelRatioF()) - 1;
        for (const int x : {0, w / 2, w - 1}) {
            EXPECT_EQ(frame.pixelColor(x, 0), QColor(204, 255, 255)) << "top, x " << x;
            EXPECT_NE(frame.pixelColor(x, aboveThePanel), QColor(204, 255, 255)) << "x " << x;
        }
    }
    EXPECT_GT(game.playerCar.speed(), 20); // it drives, held brake or not
    EXPECT_EQ(game.runLog().eventCount(GhostLog::kBrake), 0);

    // Four views in turn, then the first again.
    const int first = game.camera().nextMode();
    for (const int step : {1, 2, 3, 4}) {
        press(Qt::Key_Space);
        EXPECT_EQ(game.camera().nextMode(), (first + step) % 4) << "press " << step;
    }
    press(Qt::Key_Escape);
    EXPECT_EQ(game.gameState(), GameState::kTitle);
    EXPECT_FALSE(game.watching());
    EXPECT_EQ(window->instrumentPanel(), nullptr);
    EXPECT_EQ(std::string(game.playerCar.spec().carname()), "Slowpoke");
    EXPECT_EQ(game.playerCar.spec().automatic(), 0);
    EXPECT_TRUE(messages.shown.empty()); // nothing asked
}

// To the finish: the lap panel at each lap, the result panel with the run's laps and total and
// no place, the roll-out to a stand; S and F3 save nothing, and F3 returns to the title without
// a question. The records and the ghost stay as they were.
TEST_F(WatchWindowTest, TheWatchedRunFinishesAndPlacesNowhere) {
    startWatching();
    Game& game = window->game();
    int lapsSeen = 0;
    while (game.gameState() == GameState::kRacing && raceNow() < 900000) {
        passes(1, 50);
        if (window->lapPanel()->isVisible() && game.raceClock().completedLaps() > lapsSeen) {
            lapsSeen = game.raceClock().completedLaps();
            EXPECT_EQ(game.raceClock().lapTime(-1), watchedHeadless.laps.at(lapsSeen - 1));
        }
    }
    EXPECT_EQ(lapsSeen, 2);
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    settle();
    LapCounter laps;
    std::int32_t end = 0;
    for (const std::int32_t lap : watchedHeadless.laps) {
        end += lap;
        laps.setTime(end, -1);
        laps.completeLap();
    }
    Canvas result;
    result.create(QSize(100, 3 * 16 + 90));
    drawResultPanel(result, laps, -1);
    ASSERT_TRUE(window->resultPanel()->isVisible());
    EXPECT_EQ(panelDifferences(window->resultPanel(), result.image()), 0);
    // The run is the ghost's own: no splits against it or the course's record (which the run
    // set), and R, which restarts a race of the player's, does nothing.
    EXPECT_FALSE(window->splits().finishSplitPanel()->isVisible());

    passes(1000, 50);
    EXPECT_EQ(game.playerCar.speed(), 0);
    press(Qt::Key_R);
    EXPECT_TRUE(game.watching());
    EXPECT_EQ(game.gameState(), GameState::kFinished);
    press(Qt::Key_S);
    EXPECT_TRUE(messages.shown.empty()); // no offer to save
    window->stopCommand();               // F3
    EXPECT_EQ(game.gameState(), GameState::kTitle);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dir.read("Velnor.rec"), records);
    EXPECT_EQ(dir.read("Oval.gst"), ghost);
}

// F2 during a watching starts the selection without asking, and the race it starts is the
// player's own, against the ghost, with the chosen car.
TEST_F(WatchWindowTest, StartingARaceFromAWatching) {
    startWatching();
    passes(500);
    setup.watch = false;
    window->startCommand();
    Game& game = window->game();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(game.watching());
    EXPECT_EQ(game.gameState(), GameState::kRacing);
    EXPECT_EQ(std::string(game.playerCar.spec().carname()), "Slowpoke");
    EXPECT_EQ(game.ghostEnabled(), 1);
}

} // namespace
} // namespace velnor
