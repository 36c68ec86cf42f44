#include "hud/pause_panel.h"

#include "hud/canvas.h"
#include "hud/text.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace velnor {
namespace {

constexpr int kMarginX = 12;
constexpr int kMarginY = 6;
constexpr int kLineGap = 4; // between the two lines

QString title() {
    return QString::fromUtf8("一時停止中");
}

QString hint() {
    return QString::fromUtf8("P で再開");
}

} // namespace

QSize pausePanelSize() {
    const QFontMetrics big(makeFont(kPauseTitleHeight));
    const QFontMetrics small(makeFont(kPauseHintHeight));
    const int width = std::max(big.horizontalAdvance(title()), small.horizontalAdvance(hint()));
    return {width + 2 * kMarginX, big.height() + kLineGap + small.height() + 2 * kMarginY};
}

void drawPausePanel(Canvas& canvas) {
    canvas.clear();
    QPainter painter(&canvas.image());
    const int middle = canvas.clientSize().width() / 2;
    drawText(painter, title(), middle, kMarginY, Align::kCentre, QColor(255, 0, 0),
             kPauseTitleHeight);
    const int below = kMarginY + QFontMetrics(makeFont(kPauseTitleHeight)).height() + kLineGap;
    drawText(painter, hint(), middle, below, Align::kCentre, QColor(128, 128, 128),
             kPauseHintHeight);
}

} // namespace velnor
