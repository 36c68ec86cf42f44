// The main window's pause and quick restart: P holds the race (its clock, its music, its frames)
// under a label until P again, the window's losing the focus can do the same, and R starts the
// same race again without the dialogs.
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "hud/pause_panel.h"
#include "platform/message_boxes.h"
#include "platform/steady_clock.h"

#include <QAction>
#include <QApplication>
#include <algorithm>

namespace velnor {
namespace {

// The lap panel's height: the pause label stands this far and more above its middle.
constexpr int kLapPanelHalf = 16;
constexpr int kGapAboveLapPanel = 8;

} // namespace

void MainWindow::createPauseActions() {
    pauseOnFocusLossAction_ =
        new QAction(QString::fromUtf8("フォーカスを失ったら一時停止(&P)"), this);
    pauseOnFocusLossAction_->setCheckable(true);
    pauseOnFocusLossAction_->setChecked(pauseOnFocusLoss_);
    connect(pauseOnFocusLossAction_, &QAction::toggled, this,
            [this](bool on) { pauseOnFocusLoss_ = on; });
}

void MainWindow::setPauseOnFocusLoss(bool on) {
    pauseOnFocusLoss_ = on;
    if (pauseOnFocusLossAction_)
        pauseOnFocusLossAction_->setChecked(on);
}

void MainWindow::pauseCommand() {
    if (game_->gameState() != GameState::kRacing)
        return;
    if (paused_)
        resumeRace();
    else
        pauseRace();
}

void MainWindow::pauseRace() {
    if (paused_ || game_->gameState() != GameState::kRacing)
        return;
    idlePass(); // the passes due until now and their frame: the race stands as at the press
    if (game_->gameState() != GameState::kRacing)
        return; // it finished in them
    // Every pass up to the held tick has run: a key changed during the pause is queued at that
    // tick and counts from the first pass after the pause.
    clock_.hold();
    paused_ = true;
    frameTimer_.stop();
    music_.pause();
    soundOutput_->setHeld(true);
    if (!pausePanel_) {
        pausePanel_ = new PanelWidget(client_, QRect(QPoint(0, 0), pausePanelSize()));
        drawPausePanel(pausePanel_->canvas());
    }
    placePausePanel();
    pausePanel_->show();
    pausePanel_->raise();
    pausePanel_->update();
}

void MainWindow::resumeRace() {
    if (!paused_)
        return;
    paused_ = false;
    pausePanel_->hide();
    clock_.resume();
    music_.resume();
    soundOutput_->setHeld(false);
    redrawView();
    startFrames();
}

void MainWindow::dropPause() {
    if (paused_) {
        paused_ = false;
        clock_.resume();
        soundOutput_->setHeld(false);
    }
    delete pausePanel_;
    pausePanel_ = nullptr;
}

// Centred across the 3D view, above the lap panel's place (the time of a lap just completed
// shows with it), and never above the view's top.
void MainWindow::placePausePanel() {
    if (!pausePanel_)
        return;
    const QSize area = clientSize();
    const int lapPanelTop = (area.height() - kPanelHeight) / 2 - kLapPanelHalf;
    const int top = lapPanelTop - kGapAboveLapPanel - pausePanel_->height();
    pausePanel_->move((area.width() - pausePanel_->width()) / 2, std::max(0, top));
}

void MainWindow::pauseForFocusLoss() {
    // A question or dialog of the game's own takes the focus while the race already waits for
    // it: no pause that would outlast it.
    if (pauseOnFocusLoss_ && game_->gameState() == GameState::kRacing &&
        !QApplication::activeModalWidget())
        pauseRace();
}

void MainWindow::restartCommand() {
    if (game_->watching())
        return; // a run being watched is not a race of the player's
    switch (game_->gameState()) {
    case GameState::kTitle:
        return;
    case GameState::kRacing:
        if (!messages_.question(kAbortQuestion))
            return;
        break;
    case GameState::kFinished:
        break;
    }
    restartRace();
}

void MainWindow::restartRace() {
    const int course = game_->selectedCourse();
    const bool ghost = raceGhostWanted_ || runSaved_;
    const Vehicle car = raceCar_;
    stopRace();
    // The course is read again: the race moved the car about in the copy it drove on.
    game_->playerCar = car;
    if (game_->chooseCourse(course) != 0) {
        messages_.message("ファイル " + std::string(game_->courseCatalogue.entry(course).path) +
                          " が開けません");
        music_.playTitleMusic();
        return;
    }
    game_->setGhostEnabled(ghost);
    startRace();
}

} // namespace velnor
