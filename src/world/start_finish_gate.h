#pragma once

#include "world/scene_object.h"

namespace velnor {

// The start/finish line across the track, crossed in one of the four axis directions, and the
// gate zone: the strip of 100 units (10 m) just before the line. All bounds are inclusive.
struct StartFinishGate {
    static constexpr float kZoneLength = 100.0f;

    Vec3 direction{}; // (±1, 0, ·) or (0, ±1, ·), as written in the course file; z unused
    Vec3 end0{};      // one end of the line, world units
    Vec3 end1{};      // the other end

    // 0 an x gate, 1 a y gate, -1 none (the direction is not an axis).
    int gateAxis() const;
    // The along coordinate of the line (end0's); 0 without an axis.
    float gateLine() const;
    // The far end of the zone: 100 units before the line.
    float approachLine() const;
    float zoneAlongMin() const;
    float zoneAlongMax() const;
    float zoneAcrossMin() const;
    float zoneAcrossMax() const;
    // The heading (degrees, -180..180) lies strictly within 90° of the gate's direction.
    bool facesGate(float heading) const;

    // For a car at (x, y): the coordinate along the gate's axis, and across it.
    float along(float x, float y) const { return gateAxis() == 0 ? x : y; }
    float across(float x, float y) const { return gateAxis() == 0 ? y : x; }
};

} // namespace velnor
