// A course road that the autopilot must give up on: a 200 m straight through the start/finish
// gate that never comes back to it.
#pragma once

namespace velnor::test {

// The road and gate records (no header, no "#road" line): two 100 m pieces, 10 m wide, along x,
// and a gate across x = -0.1 m facing +x.
inline constexpr const char* kStraightRoadThroughTheGate =
    "p000=-100 -5 0\np001=0 -5 0\np002=0 5 0\np003=-100 5 0\n"
    "p010=0 -5 0\np011=100 -5 0\np012=100 5 0\np013=0 5 0\n"
    "gd=1 0 0\ngl0=-1 -5 0\ngl1=-1 5 0\n";

} // namespace velnor::test
