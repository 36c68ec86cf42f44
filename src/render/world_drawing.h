#pragma once

namespace velnor {

class CourseWorld;

// The course near the car: building blocks, road pieces, the ground and the grid lines, within
// 1000 units (100 m) of the car in x and y. Every piece and block keeps the car as its view
// centre, and the corners that follow the car (extent flags, as the ground's) keep where they
// were drawn.
void drawWorld(CourseWorld& world);

} // namespace velnor
