#include "hud/split_panels.h"

#include "hud/canvas.h"
#include "hud/text.h"

#include <QPainter>
#include <cstdlib>

namespace velnor {
namespace {

const QColor kGrey(128, 128, 128);
const QColor kBehind(255, 0, 0);
const QColor kAhead(0, 160, 0);

// |ms| in hundredths of a second, rounded half up.
std::int64_t hundredths(std::int32_t ms) {
    return (std::abs(std::int64_t{ms}) + 5) / 10;
}

void drawDifference(QPainter& painter, std::optional<std::int32_t> ms, int x, int y, int height) {
    if (ms)
        drawText(painter, gapText(*ms), x, y, Align::kCentre, gapColour(*ms), height);
    else
        drawText(painter, QStringLiteral("--"), x, y, Align::kCentre, kGrey, height);
}

} // namespace

QString gapText(std::int32_t ms) {
    const std::int64_t h = hundredths(ms);
    const QString digits =
        QStringLiteral("%1.%2").arg(h / 100).arg(static_cast<int>(h % 100), 2, 10, QLatin1Char('0'));
    if (h == 0)
        return digits;
    return (ms > 0 ? QStringLiteral("+") : QString(QChar(0x2212))) + digits;
}

QColor gapColour(std::int32_t ms) {
    if (hundredths(ms) == 0)
        return kGrey;
    return ms > 0 ? kBehind : kAhead;
}

void drawGapPanel(Canvas& canvas, std::int32_t gapMs) {
    canvas.clear();
    QPainter painter(&canvas.image());
    drawText(painter, gapText(gapMs), 50, 6, Align::kCentre, gapColour(gapMs), 16);
}

void drawLapSplitPanel(Canvas& canvas, std::optional<std::int32_t> vsGhost) {
    canvas.clear();
    QPainter painter(&canvas.image());
    drawDifference(painter, vsGhost, 50, 4, 14);
}

void drawFinishSplitPanel(Canvas& canvas, const std::vector<SplitRow>& rows, int laps) {
    canvas.clear();
    QPainter painter(&canvas.image());
    constexpr int kGhostColumn = 40;
    constexpr int kRecordColumn = 120;
    drawText(painter, QStringLiteral("GHOST"), kGhostColumn, 6, Align::kCentre, kGrey, 14);
    drawText(painter, QStringLiteral("RECORD"), kRecordColumn, 6, Align::kCentre, kGrey, 14);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        // The laps level with the result's lap times, the total with its total.
        const int y = i < laps ? 34 + 16 * i : 40 + 16 * laps;
        drawDifference(painter, rows[static_cast<std::size_t>(i)].vsGhost, kGhostColumn, y, 14);
        drawDifference(painter, rows[static_cast<std::size_t>(i)].vsRecord, kRecordColumn, y, 14);
    }
}

} // namespace velnor
