#pragma once

#include "race/gap_readout.h"

#include <QSize>
#include <cstdint>
#include <optional>

class QWidget;

namespace velnor {

class Game;
class PanelWidget;

// What the race shows of the ghost and the record besides the game's own panels, each in a place
// of its own and each of the two kinds switched on and off by the player: the live gap to the
// ghost at the top of the view; the splits: the lap's difference to the ghost's same lap under
// the lap panel, and at the finish each lap and the total against the ghost and the course
// record beside the result panel.
class SplitDisplay {
public:
    ~SplitDisplay() { removePanels(); }

    bool gapShown() const { return gapShown_; }
    bool splitsShown() const { return splitsShown_; }
    // Switched off, what is on show goes at once; switched on, it shows from the next reading
    // or lap line.
    void setGapShown(bool shown);
    void setSplitsShown(bool shown);

    // The game's moments, after the game's own panels have had theirs.
    void raceStarted(QWidget* client, const Game& game);
    // The passes of one turn of the loop have run: the gap is read again.
    void passesRun(const Game& game, std::uint32_t tick);
    void lapCompleted(const Game& game);
    void lapPanelExpired();
    void raceFinished(const Game& game);
    void raceStopped() { removePanels(); }
    // The panels where they belong in a client area of `size` whose bottom `panelHeight` pixels
    // are the instrument panel.
    void place(QSize size, int panelHeight);

    // The gap as the player reads it now (none shown: no value).
    std::optional<std::int32_t> shownGap() const { return readout_.shown(); }
    PanelWidget* gapPanel() const { return gapPanel_; }
    PanelWidget* lapSplitPanel() const { return lapSplitPanel_; }
    PanelWidget* finishSplitPanel() const { return finishSplitPanel_; }

private:
    void removePanels();

    bool gapShown_ = true;
    bool splitsShown_ = true;
    GapReadout readout_;
    PanelWidget* gapPanel_ = nullptr;
    PanelWidget* lapSplitPanel_ = nullptr;
    PanelWidget* finishSplitPanel_ = nullptr;
};

} // namespace velnor
