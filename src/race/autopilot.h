#pragma once

#include "world/course_world.h"

#include <array>
#include <cstdint>

namespace velnor {

class Game;
class KeyTable;

// A driver for headless races. It looks along a fan of directions around the car's heading for
// the one with the longest run of road, and holds the steering key just long enough to turn that
// way; it keeps a speed from which it could stop within the road it sees straight ahead (braking
// as the car brakes: the brake grows with the time it is held, so a heavy car needs longer). It
// sees the road as the pieces really are: a probe counts when a strip as wide as the car plus a
// clearance on either side lies within the road pieces (the game's own test is looser about a
// piece's surroundings, and would lure it off the road). Off the road, as the game's test tells,
// it turns towards the nearest road and crawls back. With a manual gearbox it shifts where the
// automatic one would.
class Autopilot {
public:
    static constexpr float kFanDegrees = 60;    // the fan reaches this far to either side
    static constexpr float kFanStep = 5;        // degrees between two directions
    static constexpr float kProbeStep = 20;     // world units (2 m) between two probes of a ray
    static constexpr float kSideReach = 600;    // how far the fan looks (60 m)
    static constexpr float kAheadReach = 1000;  // how far the straight-ahead ray looks (100 m)
    static constexpr float kEdgeClearance = 10; // world units (1 m) kept from the road's edges

    // Sets the six driving keys for this pass.
    void drive(const Game& game, KeyTable& keys);

private:
    struct Bounds {
        float xmin, xmax, ymin, ymax;
    };

    // Distance (world units) from `from` along `heading` that stays on the road, up to `reach`.
    float roadAhead(const Vec3& from, float heading, float reach) const;
    // Distance to the first probe on the road, or a huge value when there is none within reach.
    float roadDistance(const Vec3& from, float heading, float reach) const;
    // The car across `heading` at `point` lies within the road pieces.
    bool roadHolds(const Vec3& point, float heading) const;
    bool insidePiece(float x, float y) const;
    // The game's own on-road test of the car where it stands.
    bool onRoad(const Game& game) const;
    // The highest speed (km/h) from which the car stops within `metres` under the brake.
    double stoppableSpeed(double metres) const;
    void takeRoad(const Game& game);
    // The heading change (degrees) towards the best direction.
    float chooseDirection(const Vec3& position, float heading, bool offRoad) const;

    const CourseWorld* world_ = nullptr;
    float carWidth_ = 0;
    std::array<Bounds, CourseWorld::kRoadPieces> bounds_{};
    std::array<int, CourseWorld::kRoadPieces> pieces_{}; // the pieces that can hold the car
    int pieceCount_ = 0;
    // Stopping distance (m) from each whole km/h, for the car and road of this race.
    std::array<double, 301> stopping_{};

    int steerKey_ = 0;            // the steering key held, 0 none
    std::int32_t steerUntil_ = 0; // race time up to which it stays held
    bool shiftKeyDown_ = false;
};

} // namespace velnor
