#include "hud/note_panel.h"

#include "hud/canvas.h"
#include "hud/text.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velnor {
namespace {
constexpr int kMarginX = 8;
constexpr int kMarginY = 4;
} // namespace

QString fittedNote(const QString& text, int maxWidth) {
    const QFontMetrics metrics(makeFont(kNoteFontHeight));
    return metrics.elidedText(text, Qt::ElideRight, std::max(0, maxWidth - 2 * kMarginX));
}

QSize notePanelSize(const QString& text) {
    const QFontMetrics metrics(makeFont(kNoteFontHeight));
    return {metrics.horizontalAdvance(text) + 2 * kMarginX, metrics.height() + 2 * kMarginY};
}

void drawNotePanel(Canvas& canvas, const QString& text, QColor colour) {
    canvas.clear();
    QPainter painter(&canvas.image());
    drawText(painter, text, canvas.clientSize().width() / 2, kMarginY, Align::kCentre, colour,
             kNoteFontHeight);
}

} // namespace velnor
