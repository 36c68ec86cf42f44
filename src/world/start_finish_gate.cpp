#include "world/start_finish_gate.h"

#include <algorithm>

namespace velnor {
namespace {
bool isUnit(float value) {
    return value == 1.0f || value == -1.0f;
}
} // namespace

int StartFinishGate::gateAxis() const {
    if (isUnit(direction[0]))
        return 0;
    if (isUnit(direction[1]))
        return 1;
    return -1;
}

float StartFinishGate::gateLine() const {
    return gateAxis() < 0 ? 0 : along(end0[0], end0[1]);
}

float StartFinishGate::approachLine() const {
    // The +1 tests come first, so a direction with both components ±1 looks at y = 1 before
    // x = -1.
    if (direction[0] == 1.0f || direction[1] == 1.0f)
        return gateLine() - kZoneLength;
    if (direction[0] == -1.0f || direction[1] == -1.0f)
        return gateLine() + kZoneLength;
    return 0;
}

float StartFinishGate::zoneAlongMin() const {
    const float line = gateLine();
    const float approach = approachLine();
    return line == approach ? 0 : std::min(line, approach);
}

float StartFinishGate::zoneAlongMax() const {
    const float line = gateLine();
    const float approach = approachLine();
    return line == approach ? 0 : std::max(line, approach);
}

float StartFinishGate::zoneAcrossMin() const {
    return gateAxis() < 0 ? 0 : std::min(across(end0[0], end0[1]), across(end1[0], end1[1]));
}

float StartFinishGate::zoneAcrossMax() const {
    return gateAxis() < 0 ? 0 : std::max(across(end0[0], end0[1]), across(end1[0], end1[1]));
}

bool StartFinishGate::facesGate(float heading) const {
    switch (gateAxis()) {
    case 0:
        return direction[0] == 1.0f ? heading > -90 && heading < 90 : heading > 90 || heading < -90;
    case 1:
        return direction[1] == 1.0f ? heading > 0 && heading < 180 : heading > -180 && heading < 0;
    default:
        return false;
    }
}

} // namespace velnor
