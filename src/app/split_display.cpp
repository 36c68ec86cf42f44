#include "app/split_display.h"

#include "app/panel_widget.h"
#include "hud/split_panels.h"
#include "race/game.h"

namespace velnor {

void SplitDisplay::setGapShown(bool shown) {
    gapShown_ = shown;
    if (!shown && gapPanel_)
        gapPanel_->hide();
    readout_.reset(); // a gap switched on again shows at its next reading
}

void SplitDisplay::setSplitsShown(bool shown) {
    splitsShown_ = shown;
    if (shown)
        return;
    if (lapSplitPanel_)
        lapSplitPanel_->hide();
    if (finishSplitPanel_)
        finishSplitPanel_->hide();
}

void SplitDisplay::raceStarted(QWidget* client, const Game& game) {
    removePanels();
    readout_.reset();
    gapPanel_ = new PanelWidget(client, QRect(0, 0, 100, 28));
    lapSplitPanel_ = new PanelWidget(client, QRect(0, 0, 100, 22));
    const int laps = game.raceClock().lapTotal();
    finishSplitPanel_ = new PanelWidget(client, QRect(0, 0, kSplitPanelWidth, laps * 16 + 90));
    for (PanelWidget* panel : {gapPanel_, lapSplitPanel_, finishSplitPanel_})
        panel->hide();
    place(client->size(), Game::kPanelHeight);
}

void SplitDisplay::passesRun(const Game& game, std::uint32_t tick) {
    if (!gapPanel_ || !gapShown_ || game.gameState() != GameState::kRacing)
        return;
    if (!readout_.update(game.ghostGap(), tick))
        return;
    if (const auto shown = readout_.shown()) {
        drawGapPanel(gapPanel_->canvas(), *shown);
        gapPanel_->show();
        gapPanel_->update();
    } else {
        gapPanel_->hide();
    }
}

void SplitDisplay::lapCompleted(const Game& game) {
    if (!lapSplitPanel_ || !splitsShown_ || game.ghostRun().empty())
        return;
    const LapCounter& race = game.raceClock();
    const LapCounter& ghost = game.ghostRun().laps;
    drawLapSplitPanel(lapSplitPanel_->canvas(),
                      lapDifference(race, ghost, ghost.completedLaps(), race.completedLaps() - 1));
    lapSplitPanel_->show();
    lapSplitPanel_->update();
}

void SplitDisplay::lapPanelExpired() {
    if (lapSplitPanel_)
        lapSplitPanel_->hide();
}

void SplitDisplay::raceFinished(const Game& game) {
    if (gapPanel_)
        gapPanel_->hide(); // the splits tell the rest
    if (lapSplitPanel_)
        lapSplitPanel_->hide();
    const bool ghost = !game.ghostRun().empty();
    if (!finishSplitPanel_ || !splitsShown_ || game.watching() ||
        (!ghost && game.recordAtStart().isEmpty()))
        return; // a run being watched is the ghost's own: nothing to compare it with
    const LapCounter none;
    const std::vector<SplitRow> rows = raceSplits(
        game.raceClock(), ghost ? game.ghostRun().laps : none, game.recordAtStart());
    drawFinishSplitPanel(finishSplitPanel_->canvas(), rows, game.raceClock().lapTotal());
    finishSplitPanel_->show();
    finishSplitPanel_->update();
}

void SplitDisplay::place(QSize size, int panelHeight) {
    const int w = size.width();
    const int middle = (size.height() - panelHeight) / 2;
    if (gapPanel_)
        gapPanel_->move(w / 2 - 50, 8);
    if (lapSplitPanel_)
        lapSplitPanel_->move(w / 2 - 50, middle + 16 + 4); // under the 32-high lap panel
    if (finishSplitPanel_) // right of the 100-wide result panel, level with it
        finishSplitPanel_->move(w / 2 + 50 + 8, middle - finishSplitPanel_->height() / 2);
}

void SplitDisplay::removePanels() {
    delete gapPanel_;
    delete lapSplitPanel_;
    delete finishSplitPanel_;
    gapPanel_ = lapSplitPanel_ = finishSplitPanel_ = nullptr;
}

} // namespace velnor
