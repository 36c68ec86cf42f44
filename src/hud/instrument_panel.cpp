#include "hud/instrument_panel.h"

#include "hud/canvas.h"
#include "hud/text.h"
#include "race/game.h"
#include "text/text_codec.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velnor {
namespace {

const QColor kGrey(128, 128, 128);
const QColor kRed(255, 51, 51);
const QColor kOrange(255, 167, 25);
const QColor kAmber(255, 204, 51);

QString sprintf(const char* format, auto... values) {
    return QString::asprintf(format, values...);
}

} // namespace

void drawPanelRect(QPainter& painter, int left, int top, int right, int bottom, int penWidth,
                   QColor pen, QColor fill) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // As a Windows rectangle: the outline inside (left, top) .. (right - 1, bottom - 1).
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), pen);
    painter.fillRect(QRect(QPoint(left + penWidth, top + penWidth),
                           QPoint(right - 1 - penWidth, bottom - 1 - penWidth)),
                     fill);
    painter.restore();
}

InstrumentReadings readingsOf(const Game& game) {
    const Vehicle& car = game.playerCar;
    InstrumentReadings r;
    r.carName = fromShiftJis(car.spec().carname());
    // The lap being driven; once the last is done, the last (3 / 3, not 4 / 3).
    r.laps = game.raceClock().lapTotal();
    r.lap = std::min(game.raceClock().completedLaps() + 1, r.laps);
    r.automatic = car.spec().automatic() != 0;
    r.gear = car.controls().gearIndex() + 1;
    r.speed = car.speed();
    r.engineSpeed = car.engineSpeed();
    r.countdown = car.countdown(game.now());
    r.raceTime = car.raceTime();
    return r;
}

void drawInstrumentPanel(Canvas& canvas, const InstrumentReadings& r) {
    canvas.clear();
    QPainter painter(&canvas.image());
    const int width = canvas.clientSize().width();
    const int off = panelOffset(width);

    drawText(painter, r.carName, off + 620, 70, Align::kRight, kGrey, 14);
    drawText(painter, sprintf("%d / %d", r.lap, r.laps), off + 620, 6, Align::kRight, kGrey, 14);
    drawText(painter, sprintf(r.automatic ? "AT %d" : "MT %d", r.gear), off + 380, 52, Align::kLeft,
             kRed, 14);
    drawText(painter, sprintf("%03.0f", r.speed), off + 450, 52, Align::kCentre, kRed, 14);
    drawText(painter, QStringLiteral("[km/h]"), off + 486, 56, Align::kCentre, kOrange, 11);
    drawText(painter, QStringLiteral("[rpm]"), off + 540, 40, Align::kCentre, kOrange, 11);

    // The engine-speed bar: 400 pixels for 0 to 8000 rpm, at least to the 1000 rpm mark.
    const int frameRight = static_cast<int>((width - 640) * 0.5 + 520);
    drawPanelRect(painter, off + 120, 15, frameRight, 35, 1, kAmber, Qt::white);
    for (int i = 0; i <= 8; ++i)
        drawText(painter, QString::number(i), i * 400 / 8 + off + 120, 38, Align::kCentre, kOrange,
                 10);
    const double rpm = r.engineSpeed;
    const int right = rpm > 1000 ? off + 120 + static_cast<int>(rpm / 8000 * 400) : off + 170;
    drawPanelRect(painter, off + 120, 15, right, 35, 1, kAmber, kAmber);
}

void drawClock(Canvas& canvas, const InstrumentReadings& r) {
    QPainter painter(&canvas.image());
    const int x = panelOffset(canvas.clientSize().width()) + 320;
    const int count = r.countdown;
    if (count >= 0 && count <= 3) {
        static const char* const kTexts[4] = {"3", "2", "1", "GO!"};
        drawText(painter, QString::fromLatin1(kTexts[count]), x, 65, Align::kCentre,
                 QColor(0, 0, 255), 21);
        return;
    }
    drawText(painter, QLatin1Char(' ') + QString::fromStdString(formatRaceTime(r.raceTime)), x, 70,
             Align::kCentre, kGrey, 12);
}

} // namespace velnor
