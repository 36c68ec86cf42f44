#pragma once

namespace velnor {

class Camera;
class CarModel;
class CourseWorld;

// What one frame of the race draws, and nothing else of the race: the course around the player's
// car, the two car models and the camera. The window builds it from the game for every frame.
// The world and the models are not const: drawing pulls the course's pieces in around the car and
// lowers a cylinder's sides to what can be drawn, and keeps both changes.
struct FrameView {
    CourseWorld& world;
    CarModel& playerModel;
    CarModel& ghostModel;
    bool ghostShown; // the ghost car is drawn (see-through) beside the player's
    const Camera& camera;
};

} // namespace velnor
