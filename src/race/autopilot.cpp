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

// The pieces that can hold the car, with their extent for a quick rejection of far probes.
void Autopilot::takeRoad(const Game& game) {
    world_ = &game.course().world;
    // Probes are a car wider than the car, so that the line it picks keeps clear of the edges.
    carWidth_ = game.playerModel().bodyWidth() + 2 * kEdgeClearance;
    pieceCount_ = 0;
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
        bounds_[pieceCount_] = b;
        pieces_[pieceCount_++] = i;
    }

    // Braking as the car brakes: the brake, in kg added to the weight in the rolling term,
    // grows at 50 000 kg a second from the moment the key goes down.
    const Vehicle& car = game.playerCar;
    const double weight = std::max(car.spec().weight(), 1.0);
    const double rolling = car.roadConditions().rolling(0);
    for (std::size_t kmh = 0; kmh < stopping_.size(); ++kmh) {
        double v = static_cast<double>(kmh) / 3.6; // m/s
        double metres = 0;
        for (double t = 0; v > 0 && t < 120; t += 0.01) {
            const double decel =
                (weight + DriverControls::kBrakeRate * 1000 * t) * rolling / weight * 9.8;
            metres += v * 0.01;
            v -= decel * 0.01;
        }
        stopping_[kmh] = metres;
    }
}

double Autopilot::stoppableSpeed(double metres) const {
    std::size_t kmh = 0;
    while (kmh + 1 < stopping_.size() && stopping_[kmh + 1] <= metres)
        ++kmh;
    return static_cast<double>(kmh);
}

bool Autopilot::onRoad(const Game& game) const {
    const Vec3& at = game.playerModel().position();
    return world_->onRoad(at[0], at[1], game.playerModel().bodyWidth());
}

// Inside the convex quadrilateral of one of the pieces that hold a car.
bool Autopilot::insidePiece(float x, float y) const {
    for (int k = 0; k < pieceCount_; ++k) {
        const Bounds& b = bounds_[k];
        if (x < b.xmin || x > b.xmax || y < b.ymin || y > b.ymax)
            continue;
        const RoadPiece& piece = world_->roadPiece(pieces_[k]);
        int positive = 0;
        int negative = 0;
        for (int v = 0; v < 4; ++v) {
            const int w = (v + 1) % 4;
            const float cross = (piece.vertexX(w) - piece.vertexX(v)) * (y - piece.vertexY(v)) -
                                (piece.vertexY(w) - piece.vertexY(v)) * (x - piece.vertexX(v));
            positive += cross >= 0;
            negative += cross <= 0;
        }
        if (positive == 4 || negative == 4)
            return true;
    }
    return false;
}

bool Autopilot::roadHolds(const Vec3& point, float heading) const {
    const Vec3 left = along(point, heading + 90, carWidth_ / 2);
    const Vec3 right = along(point, heading - 90, carWidth_ / 2);
    return insidePiece(point[0], point[1]) && insidePiece(left[0], left[1]) &&
           insidePiece(right[0], right[1]);
}

float Autopilot::roadAhead(const Vec3& from, float heading, float reach) const {
    float distance = 0;
    while (distance + kProbeStep <= reach &&
           roadHolds(along(from, heading, distance + kProbeStep), heading))
        distance += kProbeStep;
    return distance;
}

float Autopilot::roadDistance(const Vec3& from, float heading, float reach) const {
    for (float distance = kProbeStep; distance <= reach; distance += kProbeStep)
        if (insidePiece(along(from, heading, distance)[0], along(from, heading, distance)[1]))
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
    if (world_ != &game.course().world ||
        carWidth_ != game.playerModel().bodyWidth() + 2 * kEdgeClearance)
        takeRoad(game);
    const Vehicle& car = game.playerCar;
    const Vec3& position = game.playerModel().position();
    const float heading = car.controls().heading();
    const std::int32_t now = car.raceTime();
    const bool offRoad = !onRoad(game);

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
    const double allowed = std::max(15.0, stoppableSpeed(ahead / 10.0)); // km/h
    keys.setDown(vk::kX, car.speed() < allowed - 2);
    keys.setDown(vk::kZ, car.speed() > allowed);

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
