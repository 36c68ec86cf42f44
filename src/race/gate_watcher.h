#pragma once

#include "world/start_finish_gate.h"

namespace velnor {

// Counts the crossings of the start/finish gate for one car, from its position (world units) and
// heading (degrees) at each pass: a lap counts when the car, heading the gate's way, leaves the
// zone's along range after having been in the zone heading forward. A car that was in the zone
// heading the other way (it turned about there) counts nothing at that crossing. The player's car
// and the ghost's replay use the same watcher, so both count laps alike.
class GateWatcher {
public:
    // Both flags cleared, as at the start of a race.
    void reset() { entered_ = reversed_ = 0; }

    // One look at the gate for a car at (x, y) heading `heading`; true when this pass completes a
    // lap (the flags are then cleared again).
    bool crossed(const StartFinishGate& gate, float x, float y, float heading);

    int entered() const { return entered_; }   // in the zone heading forward since the last lap
    int reversed() const { return reversed_; } // in the zone heading the other way
private:
    int entered_ = 0;
    int reversed_ = 0;
};

} // namespace velnor
