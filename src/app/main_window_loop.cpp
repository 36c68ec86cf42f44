#include "app/game_view.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "hud/instrument_panel.h"
#include "platform/steady_clock.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

// The game loop while a race runs. Passes and frames go at their own paces: the race runs one pass
// for every millisecond of the game's clock, each with its own tick, so the same keys give the
// same race whatever a frame costs; frames are drawn at the display's rate, and between them the
// loop sleeps. After a slow frame the missed milliseconds' passes run at once.
namespace velnor {
namespace {

// The frame rate where the display does not say its own.
constexpr int kDefaultFramesPerSecond = 60;

} // namespace

int MainWindow::framesPerSecond() const {
    if (frameRate_ >= 0)
        return frameRate_;
    const QScreen* display = screen();
    const double rate = display ? display->refreshRate() : 0;
    return rate >= 20 && rate <= 1000 ? static_cast<int>(std::lround(rate))
                                      : kDefaultFramesPerSecond;
}

void MainWindow::syncPassClock() {
    passClock_.set(clock_.now());
    pacer_.reset(passClock_.now());
}

void MainWindow::startFrames() {
    frameGridStart_ = clock_.now();
    framesOnGrid_ = 0;
    scheduleFrame();
}

// The next frame on a steady grid of the frame period from the race's start; a frame that came
// late starts the grid anew rather than drawing the frames it missed in a burst.
void MainWindow::scheduleFrame() {
    if (game_->gameState() == GameState::kTitle || paused_)
        return; // the title and a pause sleep until an event
    const int fps = framesPerSecond();
    if (fps == 0) {
        frameTimer_.start(0);
        return;
    }
    ++framesOnGrid_;
    const std::uint32_t now = clock_.now();
    const auto due = frameGridStart_ + static_cast<std::uint32_t>(framesOnGrid_ * 1000 / fps);
    const auto wait = static_cast<std::int32_t>(due - now); // ticks wrap: signed difference
    if (wait < 0) {
        frameGridStart_ = now;
        framesOnGrid_ = 0;
    }
    frameTimer_.start(std::max(wait, std::int32_t{0}));
}

void MainWindow::drivingAction(Action action, ActionSource source, bool down, std::uint32_t tick) {
    if (down)
        held_.hold(action, source);
    else if (!held_.letGo(action, source))
        return; // another source still holds it
    const int key = drivingKeyOf(action);
    if (game_->gameState() == GameState::kTitle)
        keys_.setDown(key, down);
    else
        pacer_.queueKey(tick, key, down);
}

void MainWindow::releaseKeys() {
    pacer_.clearQueue();
    keys_.releaseAll();
    held_.clear();
}

void MainWindow::runDuePasses() {
    Game& game = *game_;
    const std::uint32_t now = clock_.now();
    for (;;) {
        const GameState state = game.gameState();
        if (state == GameState::kTitle || QApplication::activeModalWidget())
            return; // back at the title, or a question is open: the race waits
        if (!pacer_.nextPass(now, keys_))
            return;
        passClock_.set(pacer_.lastTick());
        if (autopilot_ && state == GameState::kRacing) {
            autopilot_->drive(game, keys_);
            if (autopilot_->gaveUp())
                autopilotGivesUp();
        }
        game.runIdleWork(keys_);
        soundCues_.afterPass(game);
    }
}

void MainWindow::redrawView() {
    if (view_)
        view_->drawSoon(); // its own window: the area and the panels are not painted again
    else
        client_->update();
}

void MainWindow::idlePass() {
    if (QApplication::activeModalWidget())
        return; // a question or dialog is open: the race waits
    const GameState state = game_->gameState();
    if (state == GameState::kTitle)
        return;
    runDuePasses();
    if (!instrumentPanel_ || game_->gameState() == GameState::kTitle)
        return;
    splits_.passesRun(*game_, passClock_.now());
    const InstrumentReadings readings = readingsOf(*game_);
    drawInstrumentPanel(instrumentPanel_->canvas(), readings);
    if (game_->gameState() == GameState::kRacing)
        drawClock(instrumentPanel_->canvas(), readings);
    redrawView();
    instrumentPanel_->update();
}

} // namespace velnor
