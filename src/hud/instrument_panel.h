#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

class QPainter;

namespace velnor {

class Canvas;
class Game;

// What the instrument panel shows.
struct InstrumentReadings {
    QString carName;
    int lap = 1;  // the lap being driven
    int laps = 3; // of the race
    bool automatic = true;
    int gear = 1;              // 1-based
    double speed = 0;          // km/h
    double engineSpeed = 0;    // rpm
    int countdown = -1;        // 0-3 during the start, else -1
    std::int32_t raceTime = 0; // ms
};

InstrumentReadings readingsOf(const Game& game);

// The strip along the bottom of the race view: car name, lap, gear, speed and the engine-speed
// bar, laid out for 640 pixels and centred in wider panels.
void drawInstrumentPanel(Canvas& canvas, const InstrumentReadings& readings);
// The countdown ("3", "2", "1", "GO!") or the running race clock, over the instrument panel.
void drawClock(Canvas& canvas, const InstrumentReadings& readings);
// A rectangle with a pen of `penWidth` pixels, from (left, top) to (right, bottom), the right and
// bottom edges excluded.
void drawPanelRect(QPainter& painter, int left, int top, int right, int bottom, int penWidth,
                   QColor pen, QColor fill);

// The shift of the 640-pixel design in a panel `width` pixels wide.
inline int panelOffset(int width) {
    return (width - 640) / 2;
}

} // namespace velnor
