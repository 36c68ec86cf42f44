#include "app/main_window.h"
#include "app/panel_widget.h"
#include "hud/race_panels.h"
#include "platform/message_boxes.h"

// The main window's side of the race's moments (RaceEvents): the panels laid over the 3D view,
// the music, the frames' timer and the autopilot.
namespace velnor {

void MainWindow::raceStarted() {
    if (autopilotWanted_ && !game_->watching()) // the ghost drives itself
        autopilot_.emplace();
    music_.playRaceMusic();
    soundCues_.raceStarted();
    delete instrumentPanel_;
    delete lapPanel_;
    delete resultPanel_;
    const QSize size = clientSize();
    instrumentPanel_ = new PanelWidget(client_, QRect(0, 0, size.width(), kPanelHeight));
    lapPanel_ = new PanelWidget(client_, QRect(0, 0, 100, 32));
    const int laps = game_->raceClock().lapTotal();
    resultPanel_ = new PanelWidget(client_, QRect(0, 0, 100, laps * 16 + 90));
    placeRacePanels();
    instrumentPanel_->show();
    lapPanel_->hide();
    resultPanel_->hide();
    splits_.raceStarted(client_, *game_);
    startFrames();
}

void MainWindow::lapCompleted(const LapCounter&) {
    soundCues_.lapCompleted(*game_);
    if (!lapPanel_)
        return;
    drawLapPanel(lapPanel_->canvas(), game_->raceClock());
    lapPanel_->show();
    lapPanel_->update();
    splits_.lapCompleted(*game_);
}

void MainWindow::raceFinished(const LapCounter&, int) {
    soundCues_.raceFinished(*game_);
    if (!resultPanel_)
        return;
    drawResultPanel(resultPanel_->canvas(), game_->raceClock(), game_->finishRank());
    resultPanel_->show();
    resultPanel_->update();
    splits_.raceFinished(*game_);
}

void MainWindow::lapPanelExpired() {
    if (lapPanel_)
        lapPanel_->hide();
    splits_.lapPanelExpired();
}

void MainWindow::modelFileMissing(const std::string& fileName) {
    messages_.message("ファイル " + fileName + " が開けません");
}

// A course the autopilot cannot drive: it lets go of the keys and says why; the race goes on in
// the player's hands.
void MainWindow::autopilotGivesUp() {
    const RouteMap::Trouble trouble = autopilot_->trouble();
    autopilot_.reset();
    releaseKeys();
    std::string reason;
    switch (trouble) {
    case RouteMap::Trouble::kNoGateAxis:
        reason =
            "スタート/ゴールラインが x 方向にも y 方向にも向いていないので、周回が数えられません。";
        break;
    case RouteMap::Trouble::kGateOffRoad:
        reason = "スタート/ゴールラインの上に、この車が通れる道がありません。";
        break;
    default:
        reason = "スタート/ゴールラインを通って一周する道がありません。";
        break;
    }
    messages_.message("オートパイロットはこのコースを走れません。\n" + reason);
}

void MainWindow::raceStopped() {
    frameTimer_.stop();
    dropPause();
    pacer_.applyQueued(keys_); // the keys as the player left them, at the title and after
    if (autopilot_) {
        autopilot_.reset();
        releaseKeys(); // the keys it held
    }
    showTitleScreen();
    delete instrumentPanel_;
    delete lapPanel_;
    delete resultPanel_;
    instrumentPanel_ = lapPanel_ = resultPanel_ = nullptr;
    splits_.raceStopped();
    soundCues_.afterPass(*game_); // at the title: the engines fall silent
    // The panels lay over the 3D view: the window as a whole is composed again, else what they
    // last showed stays on the screen over the title until the next resize.
    redrawView();
    update();
    music_.stop();
    if (!cursorShown_)
        toggleCursor();
}

} // namespace velnor
