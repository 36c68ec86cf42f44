#pragma once

namespace velnor {

class Camera;

// Makes the camera's view current in the OpenGL context: the viewport, a perspective projection
// of its field of view and clip planes, and the model-view matrix looking from the eye at the
// target. Turns on alpha blending, which the see-through ghost needs.
void applyCamera(const Camera& camera);

} // namespace velnor
