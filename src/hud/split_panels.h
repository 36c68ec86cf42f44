#pragma once

#include "race/splits.h"

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace velnor {

class Canvas;

// A difference to the ghost or a record as the player reads it, in seconds to the hundredth:
// "+1.23" behind, "−0.45" (a true minus sign) ahead, "0.00" level.
QString gapText(std::int32_t ms);
// Red behind, green ahead, grey level: the colour of gapText(ms).
QColor gapColour(std::int32_t ms);

// The gap panel, 100 × 28 at the top of the view: the shown gap to the ghost.
void drawGapPanel(Canvas& canvas, std::int32_t gapMs);
// The lap split panel, 100 × 22 under the lap panel: the lap just completed against the ghost's
// same lap ("--" where the ghost did not complete it).
void drawLapSplitPanel(Canvas& canvas, std::optional<std::int32_t> vsGhost);
// The finish splits beside the result panel, kSplitPanelWidth wide and as high as the result
// panel, its rows level with the result's: for each lap and the total, the difference to the
// ghost and to the course record ("--" where there is none).
void drawFinishSplitPanel(Canvas& canvas, const std::vector<SplitRow>& rows, int laps);
inline constexpr int kSplitPanelWidth = 160;

} // namespace velnor
