#pragma once

#include "race/route_map.h"

#include <cstdint>

namespace velnor {

class Game;
class KeyTable;
class Vehicle;

// A driver for headless races and the window's --autopilot. At the first pass of a race it maps
// the course for its car (see RouteMap): the way round the ring through the start/finish gate,
// and from anywhere off the road the way back to it. Then, pass by pass, it steers towards the
// farthest point of the way ahead that it can see along a straight line over the road, holding
// the steering key just long enough to turn that way, and keeps a speed from which it can slow
// down, braking as the car brakes (the brake grows with the time it is held, so a heavy car needs
// longer), to what each bend ahead allows at the car's turning rate. Off the road it turns
// towards the nearest road and crawls back to it. With a manual gearbox it shifts where the
// automatic one would. A course without a closed road through the gate it does not drive: it
// lets go of every key and gives up, with the reason.
class Autopilot {
public:
    static constexpr std::int32_t kPlanMs = 40;     // race time between two looks at the speed
    static constexpr std::int32_t kLookMs = 20;     // and at the way, with no steering key held
    static constexpr std::int32_t kMaxHoldMs = 250; // the longest a steering key is held unasked
    static constexpr float kAimDegrees = 1;         // a smaller turn is not worth a key press
    static constexpr double kLowestSpeed = 12;      // km/h: slower, the car turns less sharply
    static constexpr double kBendMargin = 0.9;      // share of a bend's radius the car may need

    // Sets the six driving keys for this pass.
    void drive(const Game& game, KeyTable& keys);

    // The course cannot be driven: every key is up and stays up.
    bool gaveUp() const { return map_.trouble() != RouteMap::Trouble::kNone; }
    RouteMap::Trouble trouble() const { return map_.trouble(); }
    // Why, in a sentence for the tool's output.
    static const char* troubleText(RouteMap::Trouble trouble);

    // The highest speed (km/h) at which the car turns round a bend of `radius` world units with
    // the steering key held (never below kLowestSpeed).
    static double bendSpeed(float radius);
    // Metres the car needs to slow from `from` to `to` km/h under the brake, starting from the
    // brake value `brake` (kg), for the car and road condition given.
    static double slowingDistance(const Vehicle& car, double from, double to, double brake,
                                  int condition);

private:
    void takeRoad(const Game& game);
    void steer(const Game& game, int cell, bool offRoad);
    // Whether the car, at `kmh`, must brake now for a bend on the way ahead.
    bool mustBrake(const Vehicle& car, int cell, double kmh);
    void planSpeed(const Game& game, int cell, bool offRoad);
    void shift(const Vehicle& car, KeyTable& keys);

    RouteMap map_;
    const void* course_ = nullptr; // the course, car width and start of the mapped race
    float width_ = 0;
    std::uint32_t startTick_ = 0;

    int steerKey_ = 0;            // the steering key held, 0 none
    std::int32_t steerUntil_ = 0; // race time up to which it stays held
    double aim_ = 0;              // degrees from the heading to the point steered at
    std::int32_t nextPlan_ = 0;   // race time of the next look at the speed
    std::int32_t nextLook_ = 0;   // and at the way
    bool accelerate_ = false;
    bool brake_ = false;
    bool shiftKeyDown_ = false;
};

} // namespace velnor
