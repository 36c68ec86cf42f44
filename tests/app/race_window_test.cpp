// A whole race as the player sees it in the game's window: started with F2 through the selection
// dialogs, three laps driven by the autopilot's keys, every panel compared with what the game's
// drawing functions draw for that moment, the run saved as the ghost and raced against in the next
// race, and the same keys driven through the headless race to the same lap times.

#include "app/fakes.h"
#include "app/game_view.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/pictures.h"
#include "app/race_setup.h"
#include "hud/instrument_panel.h"
#include "hud/pause_panel.h"
#include "hud/race_panels.h"
#include "hud/split_panels.h"
#include "race/headless_race.h"
#include "test_dir.h"
#include "text/text_codec.h"
#include "tool/tool.h"

#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <set>

namespace velnor {
namespace {

using test::differences;
using test::grabbed;

// A car whose name has two words, the first of them another car's name ("Tester"), and which is
// livelier than that car: a ghost read as the wrong car drives differently and is named otherwise.
constexpr char kSportCar[] = "\n[Tester Sport]\n"
                             "width = 1700\nheight = 1400\nwheel = 2600\nweight = 900\n"
                             "displacement = 2400\npower = 190 6500\ntorque = 24 4500\n"
                             "gear1 = 3.5\ngear2 = 2.1\ngear3 = 1.4\ngear4 = 1.0\ngear5 = 0.8\n"
                             "slow = 4\ntire = 0.6\ntype = 0\nair = 0.0025\n";

// The keys the autopilot holds.
constexpr std::array<int, 6> kDrivingKeys = {vk::kX,     vk::kZ,  vk::kLeft,
                                             vk::kRight, vk::kUp, vk::kDown};

constexpr int kPassMs = 1; // one pass a turn of the loop: each key change is seen at its pass
const QColor kSky(204, 255, 255);

// Where and when the player's car crossed the line for the last time.
struct Finish {
    std::int32_t raceTime = 0; // ms
    double distance = 0;       // m
    Vec3 at{};                 // world units
};

class RaceInTheWindow : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        std::ofstream(dir.file("cars.car"), std::ios::app) << kSportCar;
        window = std::make_unique<MainWindow>(dir.path(), clock, messages, player, dialogs);
        window->setSoundOutput(sound);
        dialogs.setParent(window.get());
        window->show();
    }

    void TearDown() override {
        messages.answers.assign(10, true); // let the window close whatever state it is in
        window.reset();
    }

    // F2, then each dialog answered as it comes up: `car` picked with the arrow keys, AT, the
    // first course. The dialogs run loops of their own inside the start command; a poll, armed
    // anew before it types, answers each once.
    void startThroughDialogs(const QString& car) {
        window->activateWindow(); // F2 is the menu's: it acts in the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        std::set<QString> answered;
        bool polling = true;
        // A poll still armed when this ends goes with `pending`, before what it refers to.
        QObject pending;
        std::function<void()> poll = [&] {
            if (!polling)
                return;
            // Armed first: typing may open the next dialog here.
            QTimer::singleShot(20, &pending, poll);
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || answered.count(modal->windowTitle()))
                return;
            answered.insert(modal->windowTitle());
            QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
            if (auto* list = qobject_cast<QListWidget*>(target); list && list->count() > 1)
                for (int i = 0; i < list->count() && list->currentItem()->text() != car; ++i)
                    QTest::keyClick(target, Qt::Key_Down);
            QTest::keyClick(target, modal->windowTitle() ==
                                            QString::fromUtf8("オートマチック/マニュアルの選択")
                                        ? Qt::Key_Space // AT has the focus
                                        : Qt::Key_Return);
        };
        QTimer::singleShot(20, &pending, poll);
        QTest::keyClick(window.get(), Qt::Key_F2);
        polling = false;
        EXPECT_EQ(answered.size(), 3u);
        ASSERT_EQ(window->game().gameState(), GameState::kRacing);
        ASSERT_EQ(QString::fromLatin1(window->game().playerCar.spec().carname()), car);
        keysHeld.fill(false);
    }

    // Race time by the clock: ms since the start hold ended.
    std::int32_t raceNow() {
        return static_cast<std::int32_t>(clock.now() - window->game().playerCar.startTick() -
                                         Vehicle::kStartHold);
    }

    // One turn of the game loop, the clock a millisecond on: one pass; every change of the driving
    // keys is written down at the race time of the pass that made it.
    void pass() {
        clock.advance(kPassMs);
        window->idlePass();
        for (std::size_t i = 0; i < kDrivingKeys.size(); ++i) {
            const bool down = window->keys().isDown(kDrivingKeys[i]);
            if (down != keysHeld[i])
                keyTimeline.events.push_back({raceNow(), kDrivingKeys[i], down});
            keysHeld[i] = down;
        }
    }

    void press(int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &up);
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }

    qreal ratio() const { return window->devicePixelRatioF(); }

    // The item of the "設定" menu with this text, or null.
    QAction* settingsItem(const QString& text) const {
        for (QAction* menu : window->menuBar()->actions())
            if (menu->menu())
                for (QAction* item : menu->menu()->actions())
                    if (item->text() == text)
                        return item;
        return nullptr;
    }

    // (Only once the race is over: the events handled while waiting run passes of the loop.)
    int screenDifferences(QWidget* area, const QImage& reference) {
        return test::screenDifferences(*window, area, reference);
    }

    // What the player sees of a panel, two ways. A grab of any widget makes Qt deliver the resize
    // that every panel of the window still has pending from its creation, to the hidden ones as
    // well, and a panel that blanked itself on that resize would look right to every later look.
    // So until every panel has been shown once the test reads the picture each panel paints (its
    // canvas, side by side with the reference); after that it grabs the panels as shown.
    static int paintedDifferences(PanelWidget* panel, const QImage& reference) {
        const QRect painted(QPoint(0, 0), panel->size()); // the canvas has a spare row and column
        return differences(panel->canvas().image().copy(painted), reference, panel->size(), 1);
    }
    int shownDifferences(PanelWidget* panel, const QImage& reference) {
        return differences(grabbed(panel), reference, panel->size(), ratio());
    }

    // The instrument panel as the game should draw it: the car named `carName`, AT, the lap of
    // three under way; gear, speed and engine speed as the car has them; with the race clock while
    // racing.
    QImage instrumentsFor(int lap, std::optional<std::int32_t> clockMs) {
        InstrumentReadings readings = readingsOf(window->game());
        readings.carName = carName;
        readings.lap = lap;
        readings.laps = 3;
        readings.automatic = true;
        readings.countdown = -1;
        Canvas instruments;
        instruments.create(QSize(window->client()->width(), MainWindow::kPanelHeight));
        drawInstrumentPanel(instruments, readings);
        if (clockMs) {
            readings.raceTime = *clockMs;
            drawClock(instruments, readings);
        }
        return instruments.image();
    }

    // The race clock of the laps ended at `ends` (race times by the clock).
    static LapCounter lapsEndedAt(const std::vector<std::int32_t>& ends) {
        LapCounter laps;
        for (const std::int32_t end : ends) {
            laps.setTime(end, -1);
            laps.completeLap();
        }
        return laps;
    }

    // While racing: the instrument panel reads the car's name, the lap under way and the race
    // clock; the 3D view has the sky along its top and the ground just above the panel.
    void lookAtTheRace(int lapsDone) {
        EXPECT_EQ(
            paintedDifferences(window->instrumentPanel(), instrumentsFor(lapsDone + 1, raceNow())),
            0);
        const QImage frame = test::rgb(window->view()->grabFramebuffer());
        const int w = frame.width();
        const int aboveThePanel = frame.height() - qRound(MainWindow::kPanelHeight * ratio()) - 1;
        for (const int x : {0, w / 4, w / 2, 3 * w / 4, w - 1}) {
            EXPECT_EQ(frame.pixelColor(x, 0), kSky) << "top, x " << x;
            EXPECT_NE(frame.pixelColor(x, aboveThePanel), kSky) << "above the panel, x " << x;
        }
    }

    // The lap panel, shown, has the time of the lap just ended.
    void lookAtTheLapPanel(const std::vector<std::int32_t>& ends) {
        ASSERT_TRUE(window->lapPanel()->isVisible());
        Canvas lapPanel;
        lapPanel.create(QSize(100, 32));
        drawLapPanel(lapPanel, lapsEndedAt(ends));
        EXPECT_EQ(paintedDifferences(window->lapPanel(), lapPanel.image()), 0);
    }

    // The autopilot drives the race to the finish. Laps end at the race times in `lapEnds`.
    Finish driveToTheFinish(std::vector<std::int32_t>& lapEnds) {
        Game& game = window->game();
        bool looked = false;
        for (int i = 0; i < 600000 && game.gameState() == GameState::kRacing; ++i) {
            pass();
            if (game.raceClock().completedLaps() > static_cast<int>(lapEnds.size())) {
                lapEnds.push_back(raceNow());
                if (game.gameState() == GameState::kRacing) {
                    SCOPED_TRACE(testing::Message() << "lap " << lapEnds.size());
                    lookAtTheLapPanel(lapEnds);
                }
            }
            if (!looked && raceNow() >= 10000) { // well into the first lap
                lookAtTheRace(static_cast<int>(lapEnds.size()));
                looked = true;
            }
        }
        return {raceNow(), game.playerCar.distance(), game.playerModel().position()};
    }

    test::TempDir dir;
    test::HandClock clock;
    test::FakeMessageBoxes messages;
    test::FakeMusicPlayer player;
    test::RecordingSoundOutput sound;
    SelectionDialogs dialogs{messages};
    std::unique_ptr<MainWindow> window;
    InputScript keyTimeline;                          // the driving keys as the autopilot held them
    QString carName = QStringLiteral("Tester Sport"); // the car the instrument panel names
    std::array<bool, kDrivingKeys.size()> keysHeld{};
};

TEST_F(RaceInTheWindow, ThreeLapsTheGhostOfThemAndTheSameLapsHeadless) {
    window->setAutopilot(true);
    ASSERT_NO_FATAL_FAILURE(startThroughDialogs(QStringLiteral("Tester Sport")));
    Game& game = window->game();
    const std::uint32_t startTick = game.playerCar.startTick();
    std::vector<std::int32_t> lapEnds;
    const Finish finish = driveToTheFinish(lapEnds);
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    ASSERT_EQ(lapEnds.size(), 3u);
    EXPECT_EQ(finish.raceTime, lapEnds[2]);

    // Each lap's time is the clock from the end of the lap before (or from GO!) to its end; the
    // result panel shows them, their total and first place (the course had no records).
    const std::int32_t expectedLaps[] = {lapEnds[0], lapEnds[1] - lapEnds[0],
                                         lapEnds[2] - lapEnds[1]};
    for (int lap = 0; lap < 3; ++lap)
        EXPECT_EQ(game.raceClock().lapTime(lap), expectedLaps[lap]) << "lap " << lap + 1;
    EXPECT_EQ(game.raceClock().totalTime(), lapEnds[2]);
    EXPECT_EQ(game.finishRank(), 0);
    ASSERT_TRUE(window->resultPanel()->isVisible());
    Canvas result;
    result.create(QSize(100, 3 * 16 + MainWindow::kPanelHeight));
    drawResultPanel(result, lapsEndedAt(lapEnds), 0);
    EXPECT_EQ(paintedDifferences(window->resultPanel(), result.image()), 0);
    EXPECT_EQ(shownDifferences(window->resultPanel(), result.image()), 0);

    // Rolled out to a stand, S saves the run as the course's ghost; Enter goes to the title,
    // drawn whole over the client area.
    for (int i = 0; i < 30000 && game.playerCar.speed() > 0; ++i)
        pass();
    ASSERT_EQ(game.playerCar.speed(), 0);
    EXPECT_EQ(shownDifferences(window->instrumentPanel(), instrumentsFor(3, std::nullopt)), 0);
    EXPECT_EQ(shownDifferences(window->resultPanel(), result.image()), 0); // still up
    EXPECT_EQ(screenDifferences(window->resultPanel(), result.image()), 0);
    messages.answers = {true};
    press(Qt::Key_S);
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{"? この走りをゴーストカーとして保存しますか？",
                                        "i 保存しました。"}));
    press(Qt::Key_Return);
    ASSERT_EQ(game.gameState(), GameState::kTitle);
    settle();
    const QSize client = window->client()->size();
    const QImage title = test::referenceTitle(dir.path(), client);
    EXPECT_EQ(differences(window->view()->grabFramebuffer(), title, client, ratio()), 0);
    EXPECT_EQ(differences(grabbed(window->client()), title, client, ratio()), 0);
    EXPECT_EQ(screenDifferences(window->client(), title), 0); // nothing of the race left over it

    // The next race, another car, no autopilot: the ghost is the car of the run and is where
    // that car was when the run's clock stopped.
    const InputScript run = keyTimeline;
    window->setAutopilot(false);
    ASSERT_NO_FATAL_FAILURE(startThroughDialogs(QStringLiteral("Tester")));
    ASSERT_EQ(game.ghostEnabled(), 1);
    EXPECT_STREQ(game.ghostCar().spec().carname(), "Tester Sport");
    EXPECT_EQ(game.ghostLog().finishTime(), finish.raceTime);
    while (game.ghostCar().raceTime() < finish.raceTime && game.gameState() == GameState::kRacing)
        pass();
    ASSERT_EQ(game.ghostCar().raceTime(), finish.raceTime);
    EXPECT_NEAR(game.ghostCar().distance(), finish.distance, 0.5); // m
    const Vec3& ghostAt = game.ghostModel().position();
    EXPECT_NEAR(std::hypot(ghostAt[0] - finish.at[0], ghostAt[1] - finish.at[1]), 0,
                5.0); // half a metre

    // The keys the autopilot held, driven through the headless race: the same laps to the ms.
    RaceOptions options;
    options.root = dir.path();
    options.car = "Tester Sport";
    options.course = game.courseCatalogue.entry(game.selectedCourse()).name;
    options.inputs = run;
    options.startTick = startTick;
    options.ghost = false; // as the first race ran
    const RaceResult headless = runHeadlessRace(options);
    ASSERT_TRUE(headless.finished) << headless.error;
    ASSERT_EQ(headless.laps.size(), 3u);
    for (int lap = 0; lap < 3; ++lap)
        EXPECT_EQ(headless.laps[lap], expectedLaps[lap]) << "lap " << lap + 1;
}

// A whole race against the ghost as the player sees it. The slower car's run is saved as the
// ghost, and the livelier car races it: the gap over the view says how far ahead it is, in green,
// and agrees at each lap line with the laps' own clocks; under each lap's time its split to the
// ghost's same lap; at the finish each lap and the total against the ghost and the record. P
// pauses in lap 2 (the clock holds, the label says so) and P goes on. R after the finish races
// again at once against the same ghost.
TEST_F(RaceInTheWindow, TheGapTheSplitsAndThePauseAgainstTheGhost) {
    window->setAutopilot(true);
    carName = QStringLiteral("Tester");
    ASSERT_NO_FATAL_FAILURE(startThroughDialogs(carName));
    Game& game = window->game();
    EXPECT_EQ(window->splits().gapPanel()->isVisible(), false); // no ghost: no gap
    std::vector<std::int32_t> ghostEnds;
    driveToTheFinish(ghostEnds);
    ASSERT_EQ(ghostEnds.size(), 3u);
    EXPECT_FALSE(window->splits().finishSplitPanel()->isVisible()); // nothing to compare with
    EXPECT_EQ(sound.last.playerGain, 1.0f); // the engine heard, no ghost's beside it
    EXPECT_EQ(sound.last.ghostGain, 0.0f);
    for (int i = 0; i < 30000 && game.playerCar.speed() > 0; ++i)
        pass();
    messages.answers = {true};
    press(Qt::Key_S);
    press(Qt::Key_Return);
    ASSERT_EQ(game.gameState(), GameState::kTitle);
    EXPECT_EQ(sound.last.playerGain, 0.0f); // at the title no engine is heard

    const std::size_t firstCue = sound.cues.size(); // the sounds of the race against the ghost
    carName = QStringLiteral("Tester Sport");
    ASSERT_NO_FATAL_FAILURE(startThroughDialogs(carName));
    ASSERT_EQ(game.ghostEnabled(), 1);
    // The ghost's replay crossed the line where its run did (a millisecond either way).
    const LapCounter ghostLaps = game.ghostRun().laps;
    ASSERT_EQ(ghostLaps.completedLaps(), 3);
    for (int lap = 0; lap < 3; ++lap)
        EXPECT_NEAR(ghostLaps.time(lap), ghostEnds[static_cast<std::size_t>(lap)], 2) << lap;

    std::vector<std::int32_t> lapEnds;
    bool pausedOnce = false;
    bool gapSeen = false;
    for (int i = 0; i < 600000 && game.gameState() == GameState::kRacing; ++i) {
        pass();
        const int laps = game.raceClock().completedLaps();
        if (laps > static_cast<int>(lapEnds.size()) && game.gameState() == GameState::kRacing) {
            lapEnds.push_back(raceNow());
            SCOPED_TRACE(testing::Message() << "lap " << laps);
            // At the line the gap is the difference of the two clocks there.
            ASSERT_TRUE(game.ghostGap());
            EXPECT_NEAR(*game.ghostGap(), lapEnds.back() - ghostLaps.time(laps - 1), 20);
            PanelWidget* split = window->splits().lapSplitPanel();
            ASSERT_TRUE(split->isVisible());
            Canvas reference;
            reference.create(split->size());
            drawLapSplitPanel(reference,
                              game.raceClock().lapTime(laps - 1) - ghostLaps.lapTime(laps - 1));
            EXPECT_EQ(paintedDifferences(split, reference.image()), 0);
        }
        if (!gapSeen && raceNow() >= 20000) {
            // Well into lap 1, the livelier car is ahead: a green gap over the view, as read.
            gapSeen = true;
            const std::optional<std::int32_t> shown = window->splits().shownGap();
            ASSERT_TRUE(shown);
            EXPECT_LT(*shown, -100);
            EXPECT_NEAR(*shown, *game.ghostGap(), 300); // read within the last quarter second
            // Both engines heard, each at its own engine speed.
            EXPECT_EQ(sound.last.playerRpm, static_cast<float>(game.playerCar.engineSpeed()));
            EXPECT_GT(sound.last.ghostGain, 0.0f);
            EXPECT_GT(sound.last.ghostRpm, 1000.0f);
            PanelWidget* gap = window->splits().gapPanel();
            ASSERT_TRUE(gap->isVisible());
            Canvas reference;
            reference.create(gap->size());
            drawGapPanel(reference, *shown);
            EXPECT_EQ(paintedDifferences(gap, reference.image()), 0);
            // Switched off in the menu it goes at once and stays away; on again, it is back
            // at the next reading.
            QAction* gapItem = settingsItem(QString::fromUtf8("ゴーストとの差を表示(&G)"));
            ASSERT_TRUE(gapItem && gapItem->isChecked());
            gapItem->trigger();
            EXPECT_FALSE(gap->isVisible());
            for (int wait = 0; wait < 500; ++wait)
                pass();
            EXPECT_FALSE(gap->isVisible());
            gapItem->trigger();
            for (int wait = 0; wait < 250; ++wait)
                pass();
            EXPECT_TRUE(gap->isVisible());
        }
        if (!pausedOnce && lapEnds.size() == 1 && raceNow() >= lapEnds[0] + 5000) {
            // P in lap 2: nothing moves while the wall's seconds go by; the label says why.
            pausedOnce = true;
            press(Qt::Key_P);
            ASSERT_TRUE(window->paused());
            const std::int32_t heldAt = raceNow();
            const double distance = game.playerCar.distance();
            for (int wait = 0; wait < 50; ++wait) {
                clock.advance(100);
                window->idlePass();
            }
            EXPECT_EQ(raceNow(), heldAt);
            EXPECT_EQ(game.playerCar.distance(), distance);
            Canvas label;
            label.create(pausePanelSize());
            drawPausePanel(label);
            EXPECT_EQ(shownDifferences(window->pausePanel(), label.image()), 0);
            // Every sound holds; M silences the music and the sounds, M again brings them back.
            EXPECT_TRUE(sound.held);
            press(Qt::Key_M);
            EXPECT_TRUE(sound.muted);
            EXPECT_EQ(player.volume, 0.0f);
            press(Qt::Key_M);
            EXPECT_FALSE(sound.muted);
            EXPECT_EQ(player.volume, 1.0f);
            press(Qt::Key_P);
            EXPECT_FALSE(sound.held);
            EXPECT_FALSE(window->paused());
            EXPECT_FALSE(window->pausePanel()->isVisible());
        }
    }
    ASSERT_TRUE(pausedOnce && gapSeen);
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    ASSERT_EQ(lapEnds.size(), 2u);
    lapEnds.push_back(raceNow());

    // The cues fell on the passes the panels changed on: the count's at -2000 and -1000 (the
    // first on the race's first pass), GO at 0, a chime at each lap line, the finish's at the
    // finish. The pause moved none of them.
    const std::vector<std::int32_t> counts = sound.timesOf(Cue::kCountBeep, firstCue);
    ASSERT_EQ(counts.size(), 3u);
    EXPECT_LT(counts[0], -2000);
    EXPECT_EQ(counts[1], -2000);
    EXPECT_EQ(counts[2], -1000);
    EXPECT_EQ(sound.timesOf(Cue::kGoBeep, firstCue), std::vector<std::int32_t>{0});
    EXPECT_EQ(sound.timesOf(Cue::kLapChime, firstCue),
              (std::vector<std::int32_t>{lapEnds[0], lapEnds[1]}));
    EXPECT_EQ(sound.timesOf(Cue::kFinish, firstCue), std::vector<std::int32_t>{lapEnds[2]});

    // The finish: the splits beside the result panel, against the ghost and the record, which is
    // the ghost's run (the course had none before it). Worked out from the two runs' clocks.
    PanelWidget* finish = window->splits().finishSplitPanel();
    ASSERT_TRUE(finish->isVisible());
    EXPECT_FALSE(window->splits().gapPanel()->isVisible());
    EXPECT_EQ(finish->x(), window->resultPanel()->x() + window->resultPanel()->width() + 8);
    EXPECT_EQ(finish->y(), window->resultPanel()->y());
    std::vector<SplitRow> rows;
    for (int lap = 0; lap < 3; ++lap) {
        const auto at = static_cast<std::size_t>(lap);
        const std::int32_t mine = lapEnds[at] - (lap ? lapEnds[at - 1] : 0);
        const std::int32_t theirs = ghostLaps.lapTime(lap);
        const std::int32_t record = ghostEnds[at] - (lap ? ghostEnds[at - 1] : 0);
        rows.push_back({mine, mine - theirs, mine - record});
    }
    rows.push_back({lapEnds[2], lapEnds[2] - ghostLaps.totalTime(), lapEnds[2] - ghostEnds[2]});
    EXPECT_LT(rows.back().vsGhost.value(), 0); // ahead of the ghost over the race
    Canvas reference;
    reference.create(finish->size());
    drawFinishSplitPanel(reference, rows, 3);
    EXPECT_EQ(paintedDifferences(finish, reference.image()), 0);
    EXPECT_EQ(shownDifferences(finish, reference.image()), 0);
    // The splits switched off in the menu go at once; the result panel stays.
    QAction* splitsItem = settingsItem(QString::fromUtf8("スプリットを表示(&L)"));
    ASSERT_TRUE(splitsItem && splitsItem->isChecked());
    splitsItem->trigger();
    EXPECT_FALSE(finish->isVisible());
    EXPECT_TRUE(window->resultPanel()->isVisible());
    splitsItem->trigger();

    // R: at once the same race again, the same car, against the same ghost; the panels of the
    // last race gone.
    press(Qt::Key_R);
    ASSERT_EQ(game.gameState(), GameState::kRacing);
    EXPECT_STREQ(game.playerCar.spec().carname(), "Tester Sport");
    EXPECT_EQ(game.ghostEnabled(), 1);
    EXPECT_EQ(game.ghostRun().laps.totalTime(), ghostLaps.totalTime());
    EXPECT_FALSE(window->splits().finishSplitPanel()->isVisible());
    EXPECT_FALSE(window->resultPanel()->isVisible());
    EXPECT_EQ(raceNow(), -Vehicle::kStartHold);
}

// The key timeline as an inputs file of `velnor-tool race` reads it: "TIME KEY STATE" a line.
std::string inputsFileText(const InputScript& timeline) {
    static constexpr std::pair<int, const char*> kNames[] = {
        {vk::kX, "X"},         {vk::kZ, "Z"},   {vk::kLeft, "LEFT"},
        {vk::kRight, "RIGHT"}, {vk::kUp, "UP"}, {vk::kDown, "DOWN"}};
    std::string text = "# the keys the autopilot held in the window, by race time\n";
    for (const InputEvent& event : timeline.events) {
        const char* name = "?";
        for (const auto& [key, keyName] : kNames)
            if (key == event.virtualKey)
                name = keyName;
        text += std::to_string(event.time) + " " + name + (event.down ? " down\n" : " up\n");
    }
    return text;
}

// What `velnor-tool race` reports of a race (its --json sheet).
QJsonObject toolRace(const QStringList& arguments) {
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int status =
        runTool(QStringList{"velnor-tool", "--json"} + arguments, outStream, errStream);
    outStream.flush();
    errStream.flush();
    EXPECT_EQ(status, 0) << err.toStdString();
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

// The window and the headless race are one game. The keys the autopilot held in the window,
// written to an inputs file, raced by the tool with its own clock: the same laps and total to the
// millisecond, and the car rolls to a stand at the same spot. The window's race starts 12 345 ms
// later on its clock than the tool's (tick 13 345 against 1000): only race times may count, not
// the ticks they fall on.
TEST_F(RaceInTheWindow, ItsKeysWrittenAsAnInputsFileRaceTheSameInTheTool) {
    clock.advance(12345);
    window->setAutopilot(true);
    ASSERT_NO_FATAL_FAILURE(startThroughDialogs(QStringLiteral("Tester Sport")));
    Game& game = window->game();
    ASSERT_EQ(game.playerCar.startTick(), 13345u);
    std::vector<std::int32_t> lapEnds;
    driveToTheFinish(lapEnds);
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    for (int i = 0; i < 30000 && game.playerCar.speed() > 0; ++i)
        pass();
    ASSERT_EQ(game.playerCar.speed(), 0);
    ASSERT_GT(keyTimeline.events.size(), 10u); // the autopilot steered, not just held X down

    const std::string inputs = dir.file("window-keys.txt");
    std::ofstream(inputs) << inputsFileText(keyTimeline);
    const QString course = fromShiftJis(game.courseCatalogue.entry(game.selectedCourse()).name);
    const QStringList race = QStringList{"--dir", QString::fromStdString(dir.path()), "race"} +
                             QStringList{"--car", "Tester Sport", "--course", course} +
                             QStringList{"--inputs", QString::fromStdString(inputs), "--no-ghost"};
    // At the tool's own start tick (1000), and 7296 ms before the tick counter wraps
    // (2^32 - 4294960000), so that the wrap falls 4296 ms after GO.
    const QStringList startTicks[] = {{}, {"--start-tick", "4294960000"}};
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "the tool's start tick" : "across the wrap");
        const QJsonObject sheet = toolRace(race + startTicks[run]);
        ASSERT_TRUE(sheet["finished"].toBool());
        const QJsonArray laps = sheet["laps"].toArray();
        ASSERT_EQ(laps.size(), 3);
        for (int lap = 0; lap < 3; ++lap)
            EXPECT_EQ(laps[lap].toInt(), game.raceClock().lapTime(lap)) << "lap " << lap + 1;
        EXPECT_EQ(sheet["totalTime"].toInt(), game.raceClock().totalTime());
        // The window's race, and the tool's before this one, are in the records file: a race of
        // the same total ranks behind them.
        EXPECT_EQ(sheet["finishRank"].toInt(), 1 + run);
        const Vec3& stand = game.playerModel().position();
        EXPECT_FLOAT_EQ(static_cast<float>(sheet["car"]["x"].toDouble()), stand[0]);
        EXPECT_FLOAT_EQ(static_cast<float>(sheet["car"]["y"].toDouble()), stand[1]);
    }
}

} // namespace
} // namespace velnor
