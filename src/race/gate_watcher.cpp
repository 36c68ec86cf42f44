#include "race/gate_watcher.h"

namespace velnor {

bool GateWatcher::crossed(const StartFinishGate& gate, float x, float y, float heading) {
    const float across = gate.across(x, y);
    const float along = gate.along(x, y);
    const bool inAcross = across >= gate.zoneAcrossMin() && across <= gate.zoneAcrossMax();
    const bool inAlong = along >= gate.zoneAlongMin() && along <= gate.zoneAlongMax();

    if (!gate.facesGate(heading)) {
        if (inAcross && inAlong)
            reversed_ = 1;
        return false;
    }
    if (!inAcross)
        return false;
    if (inAlong) {
        entered_ = 1;
        return false;
    }
    if (!entered_)
        return false;
    if (reversed_) { // turned about in the zone: this crossing counts nothing
        entered_ = reversed_ = 0;
        return false;
    }
    entered_ = 0;
    return true;
}

} // namespace velnor
