#include "hud/race_panels.h"

#include "hud/canvas.h"
#include "hud/text.h"
#include "race/lap_counter.h"

#include <QPainter>

namespace velnor {
namespace {
QString timeText(std::int32_t ms) {
    return QString::fromStdString(formatRaceTime(ms));
}
const QColor kGrey(128, 128, 128);
} // namespace

void drawLapPanel(Canvas& canvas, const LapCounter& clock) {
    canvas.clear();
    QPainter painter(&canvas.image());
    drawText(painter, timeText(clock.lapTime(-1)), 50, 6, Align::kCentre, kGrey, 16);
}

void drawResultPanel(Canvas& canvas, const LapCounter& clock, int finishRank) {
    canvas.clear();
    QPainter painter(&canvas.image());
    const int laps = clock.lapTotal();
    drawText(painter, QStringLiteral("FINISH"), 50, 6, Align::kCentre, QColor(255, 0, 0), 14);
    for (int i = 0; i < laps; ++i)
        drawText(painter, timeText(clock.lapTime(i)), 50, 34 + 16 * i, Align::kCentre, kGrey, 14);
    drawText(painter, timeText(clock.totalTime()), 50, 40 + 16 * laps, Align::kCentre, kGrey, 14);
    static const char* const kPlaces[3] = {"1st", "2nd", "3rd"};
    if (finishRank >= 0 && finishRank <= 2)
        drawText(painter, QString::fromLatin1(kPlaces[finishRank]), 50, 72 + 16 * laps,
                 Align::kCentre, QColor(0, 0, 255), 14);
}

} // namespace velnor
