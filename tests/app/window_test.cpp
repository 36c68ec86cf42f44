#include "app/fakes.h"
#include "app/game_view.h"
#include "app/ghost_toggle.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/pictures.h"
#include "app/quit_signals.h"
#include "app/race_setup.h"
#include "app/title_screen.h"
#include "game_test_access.h"
#include "hud/instrument_panel.h"
#include "hud/race_panels.h"
#include "race/ghost_file.h"
#include "race/headless_race.h"
#include "test_dir.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace velnor {
namespace {

using test::differences;
using test::FakeMessageBoxes;
using test::FakeMusicPlayer;
using test::grabbed;
using test::HandClock;
using test::referenceTitle;
using test::rgb;

// Whether process `pid` has a handler of its own for `signal` (its SigCgt mask in /proc).
bool catchesSignal(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// The first car, automatic, and the first course; or the car dialog cancelled when asked to.
class TestSetup final : public RaceSetup {
public:
    bool chooseCar(Game& game) override { return !cancelCar && first_.chooseCar(game); }
    bool chooseCourse(Game& game) override { return first_.chooseCourse(game); }

    bool cancelCar = false;

private:
    FirstCarAndCourse first_;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        if (titlePicture) {
            // A picture whose every row and column differs, so any shift or cut shows.
            QImage picture(500, 300, QImage::Format_RGB32);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    picture.setPixel(x, y, qRgb(x % 251, y % 241, (x + y) % 256));
            ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("title.bmp")), "BMP"));
        }
        player.playable = {"title.mp3",   "velnor1.mp3", "velnor2.mp3",
                           "velnor3.mp3", "velnor4.mp3", "velnor5.mp3"};
        window = std::make_unique<MainWindow>(dir.path(), clock, messages, player, setup);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        messages.answers.assign(10, true); // let the window close whatever state it is in
        window.reset();
    }

    // Turns of the game loop, the clock advancing `ms` before each: `ms` passes a turn.
    void passes(int count, int ms = 10) {
        for (int i = 0; i < count; ++i) {
            clock.advance(ms);
            window->idlePass();
        }
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(window.get(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(window.get(), &up);
    }

    // Drives one lap by moving the car over the gate (the standing car and the gate as the
    // frame step sees them).
    void driveLap() {
        Game& game = window->game();
        for (const float x : {-50.0f, 0.0f}) {
            const Vec3 at = game.playerModel().position();
            GameTestAccess::playerModel(game).moveParts(x - at[0], -at[1], 0);
            GameTestAccess::course(game).world.moveCar(x - at[0], -at[1], 0);
            passes(1);
        }
    }

    // Drives through the three laps.
    void finishRace() {
        passes(400); // past the start hold
        for (int lap = 0; lap < 3; ++lap) {
            driveLap();
            passes(100);
        }
    }

    // Lets the window handle what the last steps posted (repaints, deleted widgets).
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }

    // Device pixels per logical pixel of the window (QT_SCALE_FACTOR).
    qreal ratio() const { return window->devicePixelRatioF(); }

    // Device pixels of the 3D view (or its stand-in) that differ from the title screen drawn
    // afresh.
    int titleDifferences() {
        const QSize size = window->client()->size();
        const QImage reference = referenceTitle(dir.path(), size);
        const QImage shown =
            window->view() ? window->view()->grabFramebuffer() : grabbed(window->client());
        return differences(shown, reference, size, ratio());
    }

    int screenDifferences(QWidget* area, const QImage& reference) {
        return test::screenDifferences(*window, area, reference);
    }

    // With VELNOR_SCREENSHOTS naming a folder: the window as the display shows it, saved there
    // as `name`.png (to look at by eye).
    void saveScreenshot(const char* name) {
        const QString folder = qEnvironmentVariable("VELNOR_SCREENSHOTS");
        if (folder.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        settle();
        QTest::qWait(100);
        window->screen()->grabWindow(window->winId()).save(folder + "/" + name + ".png");
    }

    // Device pixels of a panel, with what lies over it, that differ from `reference`.
    int panelDifferences(PanelWidget* panel, const QImage& reference) {
        return differences(grabbed(panel), reference, panel->size(), ratio());
    }

    test::TempDir dir;
    HandClock clock;
    FakeMessageBoxes messages;
    FakeMusicPlayer player;
    TestSetup setup;
    std::unique_ptr<MainWindow> window;
    bool titlePicture = false; // a title.bmp in the game directory
};

TEST_F(WindowTest, TheWindowAndItsMenu) {
    EXPECT_EQ(window->windowTitle(), "Velnor");
    EXPECT_EQ(window->size(), QSize(640, 480));
    QStringList texts;
    for (QAction* menu : window->menuBar()->actions()) {
        texts << menu->text();
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                texts << item->text() + "\t" + item->shortcut().toString();
    }
    EXPECT_EQ(texts,
              (QStringList{
                  QString::fromUtf8("ゲーム(&G)"), QString::fromUtf8("開始(&S)...\tF2"),
                  QString::fromUtf8("停止(&P)\tF3"),
                  QString::fromUtf8("アプリケーションの終了(&X)\t"), QString::fromUtf8("設定(&O)"),
                  QString::fromUtf8("キー設定(&K)...\t"), QString::fromUtf8("全画面表示(&F)\tF11"),
                  QString::fromUtf8("フォーカスを失ったら一時停止(&P)\t"),
                  QString::fromUtf8("ゴーストとの差を表示(&G)\t"),
                  QString::fromUtf8("スプリットを表示(&L)\t"), QString::fromUtf8("音量(&V)...\t"),
                  QString::fromUtf8("消音(&M)\t"), QString::fromUtf8("ヘルプ(&H)"),
                  QString::fromUtf8("バージョン情報(&A) ...\t")}));
}

TEST_F(WindowTest, TheTitleScreen) {
    ASSERT_EQ(window->game().gameState(), GameState::kTitle);
    EXPECT_EQ(player.played, std::vector<std::string>{"title.mp3"}); // at the first paint
    const QImage frame = window->view()->grabFramebuffer();
    if (const char* out = std::getenv("VELNOR_TITLE_SCREENSHOT"))
        window->grab().save(out);
    // No title.bmp in this game directory: white, with the two texts at the bottom.
    EXPECT_EQ(frame.pixelColor(320, 200), QColor(Qt::white));
    bool text = false;
    for (int x = 20; x < 200 && !text; ++x)
        for (int y = frame.height() - 24; y < frame.height() - 6; ++y)
            text = text || frame.pixelColor(x, y) == QColor(51, 51, 255);
    EXPECT_TRUE(text);
}

TEST_F(WindowTest, CommandsOnTheTitleScreen) {
    window->stopCommand(); // F3 does nothing here
    EXPECT_EQ(window->game().gameState(), GameState::kTitle);
    EXPECT_TRUE(messages.shown.empty());
    window->close(); // no question on the title screen
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, StartingAndAbortingARace) {
    window->startCommand();
    Game& game = window->game();
    ASSERT_EQ(game.gameState(), GameState::kRacing);
    ASSERT_NE(window->instrumentPanel(), nullptr);
    EXPECT_EQ(window->instrumentPanel()->geometry(),
              QRect(0, window->view()->height() - 90, window->view()->width(), 90));
    EXPECT_FALSE(window->lapPanel()->isVisible());
    EXPECT_EQ(window->resultPanel()->height(), 3 * 16 + 90);
    passes(50);

    // F2 while racing, Cancel: the race goes on untouched.
    const std::uint32_t start = game.playerCar.startTick();
    messages.answers = {false};
    window->startCommand();
    EXPECT_EQ(messages.shown.back(), "? 中断しますか？");
    EXPECT_EQ(game.gameState(), GameState::kRacing);
    EXPECT_EQ(game.playerCar.startTick(), start);

    // Closing while racing asks; Cancel keeps the window.
    messages.answers = {false};
    window->close();
    EXPECT_EQ(messages.shown.back(), "? 終了しますか？");
    EXPECT_TRUE(window->isVisible());

    // F3, OK: back to the title, the title music again.
    messages.answers = {true};
    window->stopCommand();
    EXPECT_EQ(game.gameState(), GameState::kTitle);
    EXPECT_EQ(window->instrumentPanel(), nullptr);
    EXPECT_EQ(player.played.back(), "title.mp3");
}

TEST_F(WindowTest, TheTitleScreenAfterARaceFitsTheWindowResizedMeanwhile) {
    window->startCommand();
    passes(10);
    window->resize(720, 540);
    QApplication::processEvents();
    messages.answers = {true};
    window->stopCommand();
    ASSERT_EQ(window->game().gameState(), GameState::kTitle);
    EXPECT_EQ(window->mainCanvas().clientSize(), window->client()->size());
}

TEST_F(WindowTest, AfterTheFinishTheRunCanBeSavedAtAStandstill) {
    window->startCommand();
    finishRace();
    Game& game = window->game();
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    EXPECT_TRUE(window->resultPanel()->isVisible());

    game.playerCar.setSpeed(30); // still rolling: 'S' is ignored
    press(Qt::Key_S);
    EXPECT_TRUE(messages.shown.empty());
    passes(300);
    ASSERT_EQ(game.playerCar.speed(), 0);

    messages.answers = {true};
    press(Qt::Key_S);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0], "? この走りをゴーストカーとして保存しますか？");
    EXPECT_EQ(messages.shown[1], "i 保存しました。");
    EXPECT_TRUE(std::filesystem::exists(dir.file("Oval.gst")));

    // A ghost exists now: the question names the overwrite.
    messages.answers = {true};
    press(Qt::Key_S);
    EXPECT_EQ(messages.shown[2], "? この走りをゴーストカーとして保存しますか？\n"
                                 "ただし、このコースの古いゴーストカーは消去されます。");
    EXPECT_EQ(messages.shown[3], "i 上書き保存しました。");

    // Esc returns to the title without saving; closing asks nothing now.
    std::filesystem::remove(dir.file("Oval.gst"));
    press(Qt::Key_Escape);
    EXPECT_EQ(game.gameState(), GameState::kTitle);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Oval.gst")));
}

// With --autopilot the autopilot holds the driving keys of the window: a whole race runs through
// the window's own loop to the result panel, and the window and the headless race are one game
// (the same passes give the same lap times to the millisecond).
TEST_F(WindowTest, TheAutopilotDrivesAWholeRaceInTheWindowAsHeadless) {
    window->setAutopilot(true);
    window->startCommand();
    Game& game = window->game();
    ASSERT_EQ(game.gameState(), GameState::kRacing);
    for (int i = 0; i < 90000 && game.gameState() == GameState::kRacing; ++i)
        passes(1);
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    settle();
    EXPECT_TRUE(window->resultPanel()->isVisible());

    RaceOptions options;
    options.root = dir.path();
    options.car = game.playerCar.spec().carname();
    options.course = game.courseCatalogue.entry(game.selectedCourse()).name;
    options.autopilot = true;
    const RaceResult headless = runHeadlessRace(options);
    ASSERT_TRUE(headless.finished) << headless.error;
    ASSERT_EQ(headless.laps.size(), 3u);
    for (int lap = 0; lap < 3; ++lap)
        EXPECT_EQ(game.raceClock().lapTime(lap), headless.laps[lap]) << "lap " << lap + 1;

    // Back at the title the autopilot has let go of every key it held.
    press(Qt::Key_Return);
    EXPECT_EQ(game.gameState(), GameState::kTitle);
    for (const int key : {vk::kX, vk::kZ, vk::kLeft, vk::kRight, vk::kUp, vk::kDown})
        EXPECT_FALSE(window->keys().isDown(key)) << key;
}

TEST_F(WindowTest, F3AfterTheFinishSavesTheGhostWithoutAsking) {
    window->startCommand();
    finishRace();
    ASSERT_EQ(window->game().gameState(), GameState::kFinished);
    window->stopCommand();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.file("Oval.gst")));
    EXPECT_EQ(window->game().gameState(), GameState::kTitle);
}

TEST_F(WindowTest, KeysDriveTheCarAndAreLetGoWhenTheWindowLosesTheFocus) {
    window->startCommand();
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &x);
    passes(10); // the press counts from the pass of its millisecond on
    EXPECT_TRUE(window->keys().isDown(vk::kX));
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(window.get(), &repeat); // auto-repeat: still held
    passes(10);
    EXPECT_TRUE(window->keys().isDown(vk::kX));
    passes(480);
    EXPECT_GT(window->game().playerCar.speed(), 10);

    QEvent deactivate(QEvent::ActivationChange);
    window->setWindowState(window->windowState()); // keep the state
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    QApplication::sendEvent(window.get(), &deactivate);
    EXPECT_FALSE(window->keys().isDown(vk::kX));
}

// The 3D view is a window of its own: keys that come to it (typed with the pointer over it)
// drive the car as the main window's do, and are let go as theirs are.
TEST_F(WindowTest, KeysThatComeToTheViewDriveTheCar) {
    window->startCommand();
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    QCoreApplication::sendEvent(window->view(), &x);
    passes(10);
    EXPECT_TRUE(window->keys().isDown(vk::kX));
    QKeyEvent letGo(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier);
    QCoreApplication::sendEvent(window->view(), &letGo);
    passes(10);
    EXPECT_FALSE(window->keys().isDown(vk::kX));
}

TEST_F(WindowTest, TimeInAModalQuestionDoesNotCount) {
    window->startCommand();
    passes(400);
    Game& game = window->game();
    const std::int32_t before = game.playerCar.raceTime();
    QEvent blocked(QEvent::WindowBlocked);
    QApplication::sendEvent(window.get(), &blocked);
    clock.advance(60000); // a minute reading the question
    QEvent unblocked(QEvent::WindowUnblocked);
    QApplication::sendEvent(window.get(), &unblocked);
    passes(1);
    EXPECT_EQ(game.playerCar.raceTime(), before + 10);
}

TEST_F(WindowTest, AViewOfNoHeightDrawsNothing) {
    window->startCommand();
    passes(10);
    const QImage before = window->view()->grabFramebuffer();
    window->game().setViewport(0, 90, 640, 0); // as when the window is minimised
    GameTestAccess::camera(window->game()).moveTarget(500, 0, 0);
    EXPECT_EQ(window->view()->grabFramebuffer(), before);
}

TEST_F(WindowTest, RaceMusicInTurnAndTheOnceOnlyFailures) {
    for (int race = 0; race < 6; ++race) {
        window->startCommand();
        window->stopCommand();
    }
    std::vector<std::string> races;
    for (const std::string& file : player.played)
        if (file != "title.mp3")
            races.push_back(file);
    EXPECT_EQ(races, (std::vector<std::string>{"velnor1.mp3", "velnor2.mp3", "velnor3.mp3",
                                               "velnor4.mp3", "velnor5.mp3", "velnor1.mp3"}));

    // Without any race music: the first start tries all five, later starts none.
    player.playable = {"velnor9.mp3"};
    player.opened.clear();
    window->startCommand();
    EXPECT_EQ(player.opened.size(), 5u + 0u);
    window->stopCommand(); // the title music fails once ...
    window->startCommand();
    window->stopCommand();
    EXPECT_EQ(player.opened.size(), 6u); // ... and is not tried again either
    EXPECT_TRUE(window->music().raceMusicDisabled);
    EXPECT_TRUE(window->music().titleMusicDisabled);
}

TEST_F(WindowTest, ARenderedFrame) {
    window->startCommand();
    passes(400);
    Game& game = window->game();
    game.setGhostEnabled(true); // the player's car again, see-through, a little ahead
    GameTestAccess::ghostModel(game) = game.playerModel();
    GameTestAccess::ghostModel(game).makeTranslucent();
    GameTestAccess::ghostModel(game).moveParts(60, 0, 0);
    passes(1);
    const QImage frame = window->view()->grabFramebuffer();
    if (const char* out = std::getenv("VELNOR_SCREENSHOT"))
        window->grab().save(out);
    const int w = frame.width();
    const int h = frame.height();
    const QColor sky = frame.pixelColor(w / 2, 5);
    EXPECT_EQ(sky, QColor(204, 255, 255)) << sky.name().toStdString();
    EXPECT_EQ(qAlpha(frame.pixel(w / 2, 5)), 255);
    // The road under the car: grey, lit.
    const int aboveThePanel = h - qRound(100 * ratio()); // 10 pixels above it
    const QColor road = frame.pixelColor(w / 2, aboveThePanel);
    EXPECT_EQ(road.red(), road.green());
    EXPECT_EQ(road.green(), road.blue());
    EXPECT_GT(road.red(), 100);
    // The red car in the middle, opaque; the ghost ahead of it mixed with the sky behind it.
    int carPixels = 0;
    int ghostPixels = 0;
    for (int y = h / 4; y < aboveThePanel; ++y) {
        const QColor c = frame.pixelColor(w / 2, y);
        carPixels += c.red() > 120 && c.green() < 60 && c.blue() < 60;
        ghostPixels += c.red() > c.green() + 30 && c.green() > 90 && c.blue() > 90;
    }
    EXPECT_GT(carPixels, 10);
    EXPECT_GT(ghostPixels, 3);
}

// The 3D view fills the client area above the instrument panel in the framebuffer's own pixels,
// whatever the device pixel ratio (run by CTest at 1, 1.5 and 2): the car, seen from behind, in
// the middle across, the ground reaching the panel's top edge at both sides.
TEST_F(WindowTest, TheViewFillsItsAreaAtAnyPixelRatio) {
    for (const QSize size : {QSize(640, 480), QSize(800, 560)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        window->resize(size);
        settle();
        window->startCommand();
        passes(400);
        if (size != QSize(640, 480)) { // and resized while racing
            window->resize(size + QSize(40, 30));
            settle();
            passes(1);
        }
        const QImage frame = rgb(window->view()->grabFramebuffer());
        const QSize client = window->client()->size();
        const qreal r = ratio();
        ASSERT_EQ(frame.size(), QSize(qRound(client.width() * r), qRound(client.height() * r)));
        const int w = frame.width();
        const int aboveThePanel = frame.height() - qRound(90 * r) - 1;
        int left = w;
        int right = -1;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < w; ++x) {
                const QColor c = frame.pixelColor(x, y);
                if (c.red() > 120 && c.green() < 60 && c.blue() < 60) { // the red car
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        ASSERT_LE(left, right) << "no car in sight";
        EXPECT_NEAR((left + right) / 2.0, w / 2.0, 2 * r);
        const QColor sky(204, 255, 255);
        EXPECT_EQ(frame.pixelColor(w / 2, 0), sky);
        for (const int x : {2, w / 4, 3 * w / 4, w - 3})
            EXPECT_NE(frame.pixelColor(x, aboveThePanel), sky) << "x " << x;
        messages.answers = {true};
        window->stopCommand();
    }
}

// A turn of the loop asks for a frame; the view draws it when the events queued meanwhile are
// handled, once however many passes asked for it, and again after the next pass asks.
TEST_F(WindowTest, TheViewDrawsOneFrameForThePassesQueuedBeforeIt) {
    window->startCommand();
    settle();
    int frames = 0;
    QObject::connect(window->view(), &QOpenGLWindow::frameSwapped, [&frames] { ++frames; });
    const auto drawQueued = [this] {
        QCoreApplication::sendPostedEvents(window->view(), QEvent::UpdateRequest);
    };
    passes(20);
    EXPECT_EQ(frames, 0) << "drawn inside the passes";
    drawQueued();
    EXPECT_EQ(frames, 1);
    drawQueued();
    EXPECT_EQ(frames, 1) << "drawn again without a pass asking";
    passes(1);
    drawQueued();
    EXPECT_EQ(frames, 2);
}

// The display shows, where the 3D view lies, the frame the view draws: the view's window is not
// hidden under the client area, nor shows an older picture. (The panels over it: below.)
TEST_F(WindowTest, TheDisplayShowsTheViewsFrame) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "no display to look at";
    window->startCommand();
    passes(400);
    settle();
    const QImage frame = rgb(window->view()->grabFramebuffer());
    QWidget* client = window->client();
    const QPoint at = client->mapTo(window.get(), QPoint(0, 0));
    const int viewHeight = client->height() - MainWindow::kPanelHeight; // above the panel
    const auto shownNow = [&] {
        const QImage shown =
            rgb(window->screen()
                    ->grabWindow(window->winId(), at.x(), at.y(), client->width(), viewHeight)
                    .toImage());
        // The rows wholly above the panel (at a fractional ratio the area's edges are rounded).
        const int rows = static_cast<int>(viewHeight * ratio()) - 1;
        const QRect common = QRect(0, 0, frame.width(), rows) & shown.rect();
        return common.height() == rows && shown.copy(common) == frame.copy(common);
    };
    bool same = shownNow();
    for (int i = 0; i < 50 && !same; ++i) { // the display catches up with the last frame
        QTest::qWait(20);
        same = shownNow();
    }
    EXPECT_TRUE(same);
}

// The lap panel after each lap but the last, the result panel at the finish and the instrument
// panel after it show exactly what the panels draw for that moment, at any window size.
TEST_F(WindowTest, PanelsShowWhatWasDrawnIntoThem) {
    struct Row {
        QSize size;
        bool lookAtLaps; // looking at a panel makes Qt lay out its siblings, the result panel too
    };
    for (const Row row : {Row{QSize(640, 480), false}, Row{QSize(640, 480), true},
                          Row{QSize(900, 640), true}, Row{QSize(560, 420), true}}) {
        const QSize size = row.size;
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height()
                                        << (row.lookAtLaps ? "" : ", the result alone"));
        window->resize(size);
        settle();
        window->startCommand();
        Game& game = window->game();
        ASSERT_EQ(game.gameState(), GameState::kRacing);
        passes(400); // past the start hold
        for (int lap = 1; lap <= 2; ++lap) {
            driveLap();
            settle();
            ASSERT_TRUE(window->lapPanel()->isVisible()) << "lap " << lap;
            if (!row.lookAtLaps) {
                passes(400);
                continue;
            }
            Canvas lapPanel;
            lapPanel.create(QSize(100, 32));
            drawLapPanel(lapPanel, game.raceClock());
            EXPECT_EQ(panelDifferences(window->lapPanel(), lapPanel.image()), 0) << "lap " << lap;
            EXPECT_EQ(screenDifferences(window->lapPanel(), lapPanel.image()), 0) << "lap " << lap;
            if (lap == 1 && size == QSize(640, 480))
                saveScreenshot("lap_panel");
            passes(400); // past the lap panel's 3 s
            EXPECT_FALSE(window->lapPanel()->isVisible());
        }
        driveLap();
        settle();
        ASSERT_EQ(game.gameState(), GameState::kFinished);
        ASSERT_TRUE(window->resultPanel()->isVisible());
        Canvas result;
        result.create(QSize(100, 3 * 16 + 90));
        drawResultPanel(result, game.raceClock(), game.finishRank());
        EXPECT_EQ(panelDifferences(window->resultPanel(), result.image()), 0);
        EXPECT_EQ(screenDifferences(window->resultPanel(), result.image()), 0);
        if (row.lookAtLaps && size == QSize(640, 480))
            saveScreenshot("result_panel");

        // Three laps driven of three: the instrument panel stays at the last lap.
        passes(1);
        settle();
        const InstrumentReadings readings = readingsOf(game);
        EXPECT_EQ(readings.lap, 3);
        EXPECT_EQ(readings.laps, 3);
        Canvas instruments;
        instruments.create(QSize(window->client()->width(), 90));
        drawInstrumentPanel(instruments, readings);
        EXPECT_EQ(window->instrumentPanel()->geometry(),
                  QRect(0, window->client()->height() - 90, window->client()->width(), 90));
        EXPECT_EQ(panelDifferences(window->instrumentPanel(), instruments.image()), 0);
        EXPECT_EQ(screenDifferences(window->instrumentPanel(), instruments.image()), 0);
        press(Qt::Key_Return);
        ASSERT_EQ(game.gameState(), GameState::kTitle);
    }
}

// A ghost that cannot be written (here a folder stands where the file would go) is not reported
// as saved: the player is told which file failed, and the run stays so it can be saved again,
// with S or F3, once the cause is gone.
TEST_F(WindowTest, AGhostThatCannotBeSavedSaysSoAndKeepsTheRun) {
    window->startCommand();
    finishRace();
    Game& game = window->game();
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    passes(300);
    ASSERT_EQ(game.playerCar.speed(), 0);
    const std::string ghost = dir.file("Oval.gst");
    std::filesystem::create_directory(ghost);
    const std::string failed = "  ファイル Oval.gst に書き込めません。\n"
                               "ゴーストカーは保存されていません。";

    struct Row {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> shown;
    };
    const std::vector<Row> rows = {
        {"S", [&] { press(Qt::Key_S); }, {"? この走りをゴーストカーとして保存しますか？", failed}},
        {"F3", [&] { window->stopCommand(); }, {failed}},
        {"F3 again", [&] { window->stopCommand(); }, {failed}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        messages.shown.clear();
        messages.answers = {true};
        row.act();
        EXPECT_EQ(messages.shown, row.shown);
        EXPECT_EQ(game.gameState(), GameState::kFinished); // the run is still there
        EXPECT_TRUE(std::filesystem::is_directory(ghost));
    }

    // The cause gone, F3 saves the same run and returns to the title.
    std::filesystem::remove(ghost);
    messages.shown.clear();
    window->stopCommand();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(game.gameState(), GameState::kTitle);
    ASSERT_TRUE(std::filesystem::is_regular_file(ghost));
    GhostLog saved;
    saved.reset();
    saved.setCourseName("Oval");
    ASSERT_EQ(loadGhost(dir.path(), saved), 0);
    EXPECT_EQ(saved.finishTime(), game.runLog().finishTime());
    EXPECT_GT(saved.finishTime(), 0);
}

// Keys held with Alt or Ctrl belong to the menu and the accelerators: none of the race keys acts.
TEST_F(WindowTest, RaceKeysWithAltOrCtrlDoNothing) {
    window->startCommand();
    Game& game = window->game();
    passes(400);
    const Qt::KeyboardModifiers held[] = {Qt::AltModifier, Qt::ControlModifier,
                                          Qt::AltModifier | Qt::ControlModifier};
    for (const Qt::KeyboardModifiers modifiers : held) {
        const int view = game.camera().nextMode();
        press(Qt::Key_Space, modifiers); // next view
        EXPECT_EQ(game.camera().nextMode(), view);
        press(Qt::Key_Delete, modifiers); // cursor
        EXPECT_NE(window->client()->cursor().shape(), Qt::BlankCursor);
    }
    finishRace();
    ASSERT_EQ(game.gameState(), GameState::kFinished);
    passes(300);
    ASSERT_EQ(game.playerCar.speed(), 0);
    for (const Qt::KeyboardModifiers modifiers : held) {
        for (const int key :
             {Qt::Key_S, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            SCOPED_TRACE(QKeySequence(key | modifiers).toString().toStdString());
            const int view = game.camera().nextMode();
            messages.shown.clear();
            press(key, modifiers);
            EXPECT_TRUE(messages.shown.empty()); // no question to save
            EXPECT_EQ(game.gameState(), GameState::kFinished);
            EXPECT_EQ(game.camera().nextMode(), view);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("Oval.gst")));
    // Without them the keys act: Shift is no menu key.
    press(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(game.gameState(), GameState::kTitle);
}

// G in the selection lists switches the ghost; Alt+G and Ctrl+G are left to the menu.
TEST_F(WindowTest, GInTheListsWithAltOrCtrlLeavesTheGhostAlone) {
    Game& game = window->game();
    QListWidget list;
    GhostToggle toggle(game, messages, &list);
    list.installEventFilter(&toggle);
    game.setGhostEnabled(true);
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::AltModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        QKeyEvent g(QEvent::KeyPress, Qt::Key_G, modifiers);
        QApplication::sendEvent(&list, &g);
        EXPECT_EQ(game.ghostEnabled(), 1);
        EXPECT_TRUE(messages.shown.empty());
    }
    QKeyEvent g(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier);
    QApplication::sendEvent(&list, &g);
    EXPECT_EQ(game.ghostEnabled(), 0);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"i ゴーストカーを表示しません"});
}

class WindowWithTitlePicture : public WindowTest {
protected:
    WindowWithTitlePicture() { titlePicture = true; }
};

// Whatever the way out of a race and however the window was resized on the way, the title
// screen comes back whole and in place: the picture centred in the client area as it is now,
// nothing left of the race's panels.
TEST_F(WindowWithTitlePicture, TheTitleIsWholeAfterEveryWayOutOfARace) {
    enum class Way { kF3Racing, kF3Finished, kEnterFinished, kEscFinished, kF2Finished };
    struct Row {
        const char* name;
        Way way;
        std::vector<QSize> whileRacing;    // window sizes one after the other during the race
        std::vector<QSize> afterTheFinish; // ... and after the finish
    };
    const QSize start(640, 480);
    const QSize big(820, 600);
    const QSize small(520, 400);
    const std::vector<Row> rows = {
        {"F3 while racing", Way::kF3Racing, {}, {}},
        {"F3 while racing, grown", Way::kF3Racing, {big}, {}},
        {"F3 while racing, grown and back", Way::kF3Racing, {big, start}, {}},
        {"F3 after the finish", Way::kF3Finished, {}, {}},
        {"F3 after the finish, shrunk then", Way::kF3Finished, {}, {small}},
        {"Enter after the finish", Way::kEnterFinished, {}, {}},
        {"Enter after the finish, grown and back", Way::kEnterFinished, {big, start}, {}},
        {"Enter after the finish, grown racing, back after", Way::kEnterFinished, {big}, {start}},
        {"Esc after the finish", Way::kEscFinished, {}, {}},
        {"Esc after the finish, shrunk then", Way::kEscFinished, {small}, {big}},
        {"F2 after the finish, the car not chosen", Way::kF2Finished, {big}, {start}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->resize(start);
        settle();
        window->startCommand();
        Game& game = window->game();
        ASSERT_EQ(game.gameState(), GameState::kRacing);
        passes(10);
        for (const QSize size : row.whileRacing) {
            window->resize(size);
            settle();
            passes(1);
        }
        if (row.way != Way::kF3Racing) {
            finishRace();
            ASSERT_EQ(game.gameState(), GameState::kFinished);
            settle();
            for (const QSize size : row.afterTheFinish) {
                window->resize(size);
                settle();
                passes(1);
            }
        }
        switch (row.way) {
        case Way::kF3Racing:
            messages.answers = {true};
            window->stopCommand();
            break;
        case Way::kF3Finished:
            window->stopCommand();
            break;
        case Way::kEnterFinished:
            press(Qt::Key_Return);
            break;
        case Way::kEscFinished:
            press(Qt::Key_Escape);
            break;
        case Way::kF2Finished:
            setup.cancelCar = true;
            window->startCommand();
            setup.cancelCar = false;
            break;
        }
        ASSERT_EQ(game.gameState(), GameState::kTitle);
        settle();
        EXPECT_EQ(window->mainCanvas().clientSize(), window->client()->size());
        EXPECT_EQ(titleDifferences(), 0);
        // Nothing of the race lies over the title.
        EXPECT_EQ(differences(grabbed(window->client()),
                              referenceTitle(dir.path(), window->client()->size()),
                              window->client()->size(), ratio()),
                  0);
        EXPECT_EQ(screenDifferences(window->client(),
                                    referenceTitle(dir.path(), window->client()->size())),
                  0);
        if (row.way == Way::kEnterFinished && row.whileRacing.size() == 2)
            saveScreenshot("title_after_enter_resized");
    }
}

// The game as a player meets it: F2, the car with the keyboard, AT, the course, then X held.
TEST(EndToEndTest, FromF2ToTheCarMoving) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                          std::filesystem::copy_options::recursive);
    HandClock clock;
    FakeMessageBoxes messages;
    FakeMusicPlayer player;
    SelectionDialogs dialogs(messages);
    MainWindow window(dir.path(), clock, messages, player, dialogs);
    dialogs.setParent(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // The dialogs open one after the other inside the start command, each in a loop of its
    // own; a poll, armed anew before it types, answers each as it comes up, once.
    std::set<QString> answered;
    bool polling = true;
    // Whatever poll is still armed when this ends goes with `pending`, before what it refers to.
    QObject pending;
    std::function<void()> poll = [&] {
        if (!polling)
            return;
        QTimer::singleShot(20, &pending, poll); // armed first: typing may open the next dialog here
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || answered.count(modal->windowTitle()))
            return;
        const QString title = modal->windowTitle();
        answered.insert(title);
        QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
        if (title == QString::fromUtf8("自動車の選択")) {
            QTest::keyClick(target, Qt::Key_Down); // Slowpoke -> Tester
            QTest::keyClick(target, Qt::Key_Return);
        } else if (title == QString::fromUtf8("オートマチック/マニュアルの選択")) {
            QTest::keyClick(target, Qt::Key_Space); // AT has the focus
        } else if (title == QString::fromUtf8("コースの選択")) {
            QTest::keyClick(target, Qt::Key_Return);
        }
    };
    QTimer::singleShot(20, &pending, poll);
    QTest::keyClick(&window, Qt::Key_F2);
    polling = false;
    QTest::qWait(50); // the poll still armed runs and stops while what it refers to lives
    EXPECT_EQ(answered.size(), 3u);
    for (int i = 0; i < 50 && window.game().gameState() != GameState::kRacing; ++i)
        QTest::qWait(20);
    ASSERT_EQ(window.game().gameState(), GameState::kRacing);
    EXPECT_STREQ(window.game().playerCar.spec().carname(), "Tester");
    EXPECT_EQ(window.game().playerCar.spec().automatic(), 1);

    const auto speedText = [&] {
        const QImage& panel = window.instrumentPanel()->canvas().image();
        return panel.copy(QRect(420, 50, 60, 18));
    };
    for (int i = 0; i < 100; ++i) {
        clock.advance(10);
        window.idlePass();
    }
    const QImage standing = speedText();
    QTest::keyPress(&window, Qt::Key_X);
    for (int i = 0; i < 500; ++i) {
        clock.advance(10);
        window.idlePass();
    }
    QTest::keyRelease(&window, Qt::Key_X);
    EXPECT_GT(window.game().playerCar.speed(), 20);
    EXPECT_NE(speedText(), standing); // "000" became the speed
    messages.answers.assign(5, true);
}

// The system asks the game to end in the middle of a race: the window closes at once, without
// the question the menu's exit asks, and the records written at the finish stay as written.
TEST_F(WindowTest, ASignalToEndClosesARaceWithoutAQuestion) {
    QuitSignals quitSignals;
    ASSERT_TRUE(quitSignals.isInstalled());
    quitSignals.setOnQuit([&] { window->quitWithoutQuestion(); });
    window->startCommand();
    passes(50);
    ASSERT_EQ(window->game().gameState(), GameState::kRacing);
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
    EXPECT_TRUE(messages.shown.empty());
}

// The game itself, told to end by the system (logout, kill, Ctrl+C in its terminal), closes as
// its menu's exit does and ends with status 0.
TEST(QuitSignalsTest, TheGameEndsOnSigtermAndSigint) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "the game needs a display";
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        test::TempDir dir;
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        QProcess game;
        game.setWorkingDirectory(QString::fromStdString(dir.path()));
        game.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        // The settings it writes when it closes go to the test's folder, not the user's.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.path()));
        game.setProcessEnvironment(environment);
        game.start(QStringLiteral(VELNOR_GAME), {"--dir", QString::fromStdString(dir.path())});
        ASSERT_TRUE(game.waitForStarted(10000));
        const qint64 pid = game.processId();
        // Ready once the process has a handler of its own for the signal (before that, the
        // signal's default action would end it whatever the game does).
        bool ready = catchesSignal(pid, signal);
        for (int i = 0; i < 500 && !ready && game.state() == QProcess::Running; ++i) {
            QTest::qWait(20);
            ready = catchesSignal(pid, signal);
        }
        ASSERT_TRUE(ready) << "the game never set up a handler for the signal";
        ::kill(static_cast<pid_t>(pid), signal);
        const bool ended = game.waitForFinished(10000);
        if (!ended) {
            game.kill();
            game.waitForFinished();
        }
        ASSERT_TRUE(ended) << "the game went on running";
        EXPECT_EQ(game.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(game.exitCode(), 0);
    }
}

// Run by CTest a second time on a display without OpenGL: the game says so and goes on.
class WithoutOpenGL : public WindowTest {
protected:
    void SetUp() override {
        if (qEnvironmentVariable("QT_XCB_GL_INTEGRATION") != "none")
            GTEST_SKIP() << "only on a display without OpenGL";
        ASSERT_FALSE(openGlAvailable());
        WindowTest::SetUp();
    }
};

TEST_F(WithoutOpenGL, TheGameSaysSoAndGoesOn) {
    EXPECT_EQ(messages.shown, std::vector<std::string>{"  レンダリングコンテキスト作成失敗"});
    EXPECT_EQ(window->view(), nullptr);
    // The title screen and its music still come.
    QApplication::processEvents();
    EXPECT_EQ(player.played, std::vector<std::string>{"title.mp3"});
    EXPECT_EQ(window->client()->grab().toImage().pixelColor(320, 200), QColor(Qt::white));

    // A race runs, with its panels, and is stopped again.
    window->startCommand();
    ASSERT_EQ(window->game().gameState(), GameState::kRacing);
    passes(50);
    window->client()->repaint();
    EXPECT_TRUE(window->instrumentPanel()->isVisible());
    messages.answers = {true};
    window->stopCommand();
    EXPECT_EQ(window->game().gameState(), GameState::kTitle);
}

} // namespace
} // namespace velnor
