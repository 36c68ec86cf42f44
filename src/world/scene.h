#pragma once

namespace velnor {

class CourseWorld;
class Game;

// One frame of the race in the current OpenGL context: the sky, the light, the camera, the cars
// (the ghost see-through) and the course around the player's car. Nothing is drawn into a view
// of no height. The picture is left opaque whatever the clear colour's alpha.
void drawFrame(Game& game);
// The course near the car: building blocks, road pieces, the ground and the grid lines, within
// 1000 units (100 m) of the car in x and y.
void drawWorld(CourseWorld& world);

} // namespace velnor
