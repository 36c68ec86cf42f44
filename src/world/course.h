#pragma once

#include "world/course_world.h"
#include "world/start_finish_gate.h"

namespace velnor {

// The active course of a race: its world and its gate, copied from the catalogue's load buffer
// when the course is chosen.
struct Course {
    CourseWorld world;
    StartFinishGate gate;
};

} // namespace velnor
