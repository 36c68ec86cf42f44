#pragma once

#include "race/lap_counter.h"

#include <cstdint>
#include <vector>

namespace velnor {

class GhostLog;
class Vehicle;
struct StartFinishGate;

// Where the ghost car is at one moment of its replay.
struct GhostPathPoint {
    std::int32_t time; // race time, ms
    float x;           // world units, as the ghost's drawing object stands
    float y;
    float speed; // km/h
};

// A ghost replayed without a window, ahead of the race: its path and the laps it drove.
struct GhostRun {
    static constexpr std::int32_t kPathStepMs = 10;

    std::vector<GhostPathPoint> path; // the replay sampled every kPathStepMs from race time 0
    LapCounter laps;                  // its laps as the replay crossed the gate (may be fewer)
    bool finished = false;            // it completed the race's laps
    bool empty() const { return path.empty(); }
};

// How far a replay runs: past the finish, and at most, for a log that never finishes.
struct GhostReplayLimits {
    static constexpr std::int32_t kAfterFinishMs = 2000; // race time replayed past the finish
    static constexpr std::int32_t kCoastMs = 60000;      // past the log's last event or finish
    static constexpr std::int32_t kHardCapMs = 900000;   // never beyond this race time
};

// Replays `log` (as a ghost file gives it: at the start of its replay; a copy, as replaying
// consumes it) on `car` (a copy, reset at `startTick`) from the
// world origin, one pass for every millisecond, with the same calls in the same order and the
// same single-precision position arithmetic as the ghost car of a race, so that the path is
// where the race draws the ghost at each race time. Laps are counted at `gate` as the player's
// are; the replay ends `kAfterFinishMs` after the last of `laps` laps, or, for a log that never
// gets there, `kCoastMs` after its last event (or stated finish), and never after `kHardCapMs`.
GhostRun replayGhost(GhostLog log, Vehicle car, const StartFinishGate& gate,
                     std::uint32_t startTick, int laps = LapCounter::kRaceLaps);

// The latest race time at which `log` holds an event, a snapshot or its finish (0 when none).
std::int32_t lastLoggedTime(const GhostLog& log);

} // namespace velnor
