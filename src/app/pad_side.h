#pragma once

#include "app/sdl_gamepad.h"

#include <QString>
#include <QTimer>

namespace velnor {

class PanelWidget;

// The window's game controller: the pad, the timer that polls it, and the note that says which
// controller came or went.
struct PadSide {
    // How often the pad is polled: at every pass's pace while racing with a controller, else
    // only to notice controllers coming and going.
    static constexpr int kRacingPollMs = 10;
    static constexpr int kIdlePollMs = 250;
    // How long the note stays (wall-clock time: it is no part of the race).
    static constexpr int kNoteMs = 3000;

    SdlGamepad gamepad;
    QTimer pollTimer;
    QTimer noteTimer;
    PanelWidget* note = nullptr; // a child of the client area
    QString noteText;            // as shown
};

} // namespace velnor
