#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

namespace velnor {

// The one font of all 2D text: a fixed-pitch Japanese gothic of `height` pixels ("ＭＳ ゴシック",
// else IPAGothic, else any monospace Japanese font).
QFont makeFont(int height);

// Where a text stands relative to its reference point: always by its top edge; by its left edge,
// its centre or its right edge across.
enum class Align { kLeft, kCentre, kRight };

// Draws `text` at (x, y) in `colour`, opaque on the canvas's white (the text cell is filled).
void drawText(QPainter& painter, const QString& text, int x, int y, Align align, QColor colour,
              int fontHeight, QColor background = Qt::white);

} // namespace velnor
