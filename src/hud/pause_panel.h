#pragma once

#include <QSize>

namespace velnor {

class Canvas;

// The label over the 3D view while the race is paused: "一時停止中" in red, and under it, smaller
// and grey, how to go on: "P で再開". Both centred on a white panel with a margin of 12 pixels
// across and 6 down.
inline constexpr int kPauseTitleHeight = 24; // font height of "一時停止中", pixels
inline constexpr int kPauseHintHeight = 14;  // font height of "P で再開"

// The size of the panel that holds both lines.
QSize pausePanelSize();
void drawPausePanel(Canvas& canvas);

} // namespace velnor
