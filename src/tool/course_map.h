#pragma once

#include "race/headless_race.h"

#include <QImage>
#include <vector>

namespace velnor {

class CourseWorld;
struct StartFinishGate;

// A top-down picture of a course for its author: the road pieces in their colours over the area
// the on-road test accepts for a car `carWidth` units wide (sampled with the game's own test, so
// gaps between pieces show), the buildings, the gate and its zone, the start and its heading, a
// scale bar, and a driven path coloured by speed (blue slow, red fast) when given.
QImage drawCourseMap(const CourseWorld& world, const StartFinishGate& gate, float carWidth,
                     const std::vector<TracePoint>& path);

} // namespace velnor
