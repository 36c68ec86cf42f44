#pragma once

#include "race/ghost_run.h"

#include <cstdint>
#include <string>

namespace velnor {

// A course's ghost replayed without a window as a race against it would replay it at its start:
// the course chosen as the course selection chooses it, its ghost file read, the car the file
// names found (or the car that stands in for it), the replay run.
struct GhostReplay {
    // A course that is not listed or cannot be read, or a course without a ghost; empty on
    // success. Names the file concerned (and the line where one line is at fault).
    std::string error;
    std::string file;              // the ghost file read (or looked for)
    std::string namedCar;          // the car the file names, Shift-JIS bytes
    std::string car;               // the car that drives it: the named one when it is listed
    bool standIn = false;          // no listed car has the name, nor its first word
    std::int32_t statedFinish = 0; // the finish time the file states, ms
    // The race time of the last entry of the first channel to fill all its GhostLog::kCapacity
    // entries (the run went on unrecorded from there); -1 when no channel is full.
    std::int32_t fullFrom = -1;
    GhostRun run;
};

GhostReplay replayCourseGhost(const std::string& root, const std::string& course);

} // namespace velnor
