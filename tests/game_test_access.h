#pragma once

#include "race/game.h"

namespace velnor {

// The test-only way into a game's race state, for the cases that must put the car, the ghost or
// the camera somewhere the race itself would take long to reach. Nothing but tests uses it.
struct GameTestAccess {
    static CarModel& playerModel(Game& game) { return game.playerModel_; }
    static CarModel& ghostModel(Game& game) { return game.ghostModel_; }
    static Course& course(Game& game) { return game.course_; }
    static Camera& camera(Game& game) { return game.camera_; }
    static GhostGap& ghostGap(Game& game) { return game.ghostGap_; }
};

} // namespace velnor
