#include "race/autopilot.h"

#include "platform/key_state.h"
#include "race/game.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velnor {
namespace {

Vec3 along(const Vec3& from, float heading, float distance) {
    const double angle = heading * std::numbers::pi / 180;
    return {static_cast<float>(from[0] + distance * std::cos(angle)),
            static_cast<float>(from[1] + distance * std::sin(angle)), from[2]};
}

// Degrees per second the car turns at `kmh` (the rate of the steering keys).
double turnRate(double kmh) {
    if (kmh > 10)
        return 160 / kmh + 40;
    return kmh > 1 ? 20 : 0;
}

} // namespace

// The pieces that can hold the car, with their extent (and the test's margin) for a quick
// rejection of probes far from them.
void Autopilot::takeRoad(const Game& game) {
    world_ = &game.course.world;
    // Probes are a car wider than the car, so that the line it picks keeps clear of the edges.
    carWidth_ = game.playerModel.bodyWidth() + 2 * kEdgeClearance;
    pieceCount_ = 0;
    const float reach = RoadPiece::kMargin + carWidth_ / 2 + 1;
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        const RoadPiece& piece = world_->roadPiece(i);
        if (!piece.isUsed() || piece.pieceType() < kRoadGrey)
            continue;
        Bounds b{piece.vertexX(0), piece.vertexX(0), piece.vertexY(0), piece.vertexY(0)};
        for (int v = 1; v < 4; ++v) {
            b.xmin = std::min(b.xmin, piece.vertexX(v));
            b.xmax = std::max(b.xmax, piece.vertexX(v));
            b.ymin = std::min(b.ymin, piece.vertexY(v));
            b.ymax = std::max(b.ymax, piece.vertexY(v));
        }
        // The test's side lines may reach beyond the corners: widen by the piece's own size.
        const float spread = std::max(b.xmax - b.xmin, b.ymax - b.ymin);
        bounds_[pieceCount_] = {b.xmin - reach, b.xmax + reach, b.ymin - reach - spread,
                                b.ymax + reach + spread};
        pieces_[pieceCount_++] = i;
    }
}

bool Autopilot::onRoad(const Vec3& point) const {
    for (int k = 0; k < pieceCount_; ++k) {
        const Bounds& b = bounds_[k];
        if (point[0] < b.xmin || point[0] > b.xmax || point[1] < b.ymin || point[1] > b.ymax)
            continue;
        if (world_->roadPiece(pieces_[k]).containsCarAt(point[0], point[1], carWidth_) == 0)
            return true;
    }
    return false;
}

float Autopilot::roadAhead(const Vec3& from, float heading, float reach) const {
    float distance = 0;
    while (distance + kProbeStep <= reach && onRoad(along(from, heading, distance + kProbeStep)))
        distance += kProbeStep;
    return distance;
}

float Autopilot::roadDistance(const Vec3& from, float heading, float reach) const {
    for (float distance = kProbeStep; distance <= reach; distance += kProbeStep)
        if (onRoad(along(from, heading, distance)))
            return distance;
    return 1e9f;
}

float Autopilot::chooseDirection(const Vec3& position, float heading, bool offRoad) const {
    float best = 0;
    float bestScore = offRoad ? -1e9f : -1;
    const int steps = static_cast<int>(kFanDegrees / kFanStep);
    for (int i = 0; i <= 2 * steps; ++i) {
        const int k = (i + 1) / 2 * (i % 2 == 0 ? -1 : 1); // 0, 1, -1, 2, -2 ...: straight first
        const float offset = static_cast<float>(k) * kFanStep;
        const float score = offRoad ? -roadDistance(position, heading + offset, kSideReach)
                                    : roadAhead(position, heading + offset, kSideReach);
        if (score > bestScore) {
            bestScore = score;
            best = offset;
        }
    }
    return best;
}

void Autopilot::drive(const Game& game, KeyTable& keys) {
    if (world_ != &game.course.world ||
        carWidth_ != game.playerModel.bodyWidth() + 2 * kEdgeClearance)
        takeRoad(game);
    const Vehicle& car = game.playerCar;
    const Vec3& position = game.playerModel.position();
    const float heading = car.controls().heading();
    const std::int32_t now = car.raceTime();
    const bool offRoad = !onRoad(position);

    // Steering: a key is held for the time the turn takes at this speed (a key pressed and let
    // go in every other pass would never turn the car), then the fan is asked again.
    if (steerKey_ != 0 && now >= steerUntil_)
        steerKey_ = 0;
    if (steerKey_ == 0) {
        const float turn = chooseDirection(position, heading, offRoad);
        const double rate = turnRate(car.speed());
        if (std::fabs(turn) >= kFanStep && rate > 0) {
            steerKey_ = turn > 0 ? vk::kLeft : vk::kRight;
            steerUntil_ = now + static_cast<std::int32_t>(std::fabs(turn) / rate * 1000);
        }
    }
    keys.setDown(vk::kLeft, steerKey_ == vk::kLeft);
    keys.setDown(vk::kRight, steerKey_ == vk::kRight);

    // A speed from which the car stops within the road straight ahead.
    const float ahead = offRoad ? 0 : roadAhead(position, heading, kAheadReach);
    const double allowed = std::max(15.0, std::sqrt(2 * kBraking * ahead / 10.0) * 3.6); // km/h
    keys.setDown(vk::kX, car.speed() < allowed);
    keys.setDown(vk::kZ, car.speed() > allowed + 10);

    // A manual gearbox shifts where the automatic one would; a shift key goes up between two
    // presses.
    keys.setDown(vk::kUp, false);
    keys.setDown(vk::kDown, false);
    if (car.spec().automatic() == 0) {
        const DriverControls& controls = car.controls();
        if (shiftKeyDown_) {
            shiftKeyDown_ = false;
        } else if (car.engineSpeed() > Vehicle::kAutoUpshift &&
                   controls.gearIndex() < controls.gearCount() - 1) {
            keys.setDown(vk::kUp, true);
            shiftKeyDown_ = true;
        } else if (car.engineSpeed() < Vehicle::kAutoDownshift && controls.gearIndex() > 0 &&
                   now > 0) {
            keys.setDown(vk::kDown, true);
            shiftKeyDown_ = true;
        }
    }
}

} // namespace velnor
