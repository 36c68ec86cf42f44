#pragma once

#include <QColor>
#include <QSize>
#include <QString>

namespace velnor {

class Canvas;

// A one-line note over the 3D view or the title, such as a game controller coming or going: the
// text, plain and on one line, in the panels' font, centred with a margin of 8 pixels across and
// 4 down.
inline constexpr int kNoteFontHeight = 14;

// `text` cut short with "…" where a panel of it would be wider than `maxWidth` pixels.
QString fittedNote(const QString& text, int maxWidth);
// The size of the panel that holds `text`.
QSize notePanelSize(const QString& text);
void drawNotePanel(Canvas& canvas, const QString& text, QColor colour);

} // namespace velnor
