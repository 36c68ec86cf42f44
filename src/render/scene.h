#pragma once

namespace velnor {

struct FrameView;

// One frame of the race in the current OpenGL context: the sky, the light, the camera, the cars
// (the ghost see-through) and the course around the player's car. Nothing is drawn into a view
// of no height. The picture is left opaque whatever the clear colour's alpha.
void drawFrame(const FrameView& frame);

} // namespace velnor
