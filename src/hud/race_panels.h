#pragma once

namespace velnor {

class Canvas;
class LapCounter;

// The time of the lap just completed, for the 100 × 32 lap panel.
void drawLapPanel(Canvas& canvas, const LapCounter& raceClock);
// "FINISH", the lap times, the total and the place won (0-2; -1 none), for the result panel.
void drawResultPanel(Canvas& canvas, const LapCounter& raceClock, int finishRank);

} // namespace velnor
