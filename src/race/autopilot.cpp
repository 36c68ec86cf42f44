#include "race/autopilot.h"

#include "platform/key_state.h"
#include "race/game.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velnor {
namespace {

constexpr double kGravity = 9.8; // m/s²

// Degrees per second the car turns at `kmh` (the rate of the steering keys).
double turnRate(double kmh) {
    if (kmh > 10)
        return 160 / kmh + 40;
    return kmh > 1 ? 20 : 0;
}

// `degrees` brought into -180 .. 180.
double wrapped(double degrees) {
    while (degrees > 180)
        degrees -= 360;
    while (degrees < -180)
        degrees += 360;
    return degrees;
}

// The road conditions the car may meet within `metres` from here: the current one and those that
// begin within reach (a list ends at an entry that begins at 0).
template <typename Visit> void conditionsAhead(const Vehicle& car, double metres, Visit visit) {
    const RoadConditions& road = car.roadConditions();
    int index = road.currentIndex();
    visit(index);
    while (index + 1 < RoadConditions::kCount && road.start(index + 1) != 0 &&
           road.start(index + 1) <= car.distance() + metres)
        visit(++index);
}

} // namespace

const char* Autopilot::troubleText(RouteMap::Trouble trouble) {
    switch (trouble) {
    case RouteMap::Trouble::kNoGateAxis:
        return "the autopilot gives up: the start/finish gate faces neither along x nor along y, "
               "so no lap can ever count";
    case RouteMap::Trouble::kGateOffRoad:
        return "the autopilot gives up: no road the car fits crosses the start/finish line within "
               "the gate";
    case RouteMap::Trouble::kNoRing:
        return "the autopilot gives up: the road through the start/finish gate does not come "
               "round to it again (no closed road through the gate)";
    case RouteMap::Trouble::kNone:
        break;
    }
    return "";
}

double Autopilot::bendSpeed(float radius) {
    // At v km/h above 10 the car turns round a circle of v / 3.6 / ((160 / v + 40) π / 180)
    // metres; solved for v.
    const double metres = radius / 10.0 * kBendMargin;
    const double q = 3.6 * std::numbers::pi / 180 * metres;
    const double kmh = (40 * q + std::sqrt(1600 * q * q + 640 * q)) / 2;
    return std::max(kmh, kLowestSpeed);
}

// The brake adds its value to the weight in the rolling term and grows by kBrakeRate a
// millisecond while held; the air only helps and is left out. With the brake growing linearly the
// speed falls as v(t) = v0 - A t - B t².
double Autopilot::slowingDistance(const Vehicle& car, double from, double to, double brake,
                                  int condition) {
    const double weight = std::max(car.spec().weight(), 1.0);
    const double rolling = car.roadConditions().rolling(condition);
    // The accelerator at rest drives (first gear the most) or, downhill, holds back (the gear
    // engaged now the least: the gearbox only shifts down while the car slows).
    const double rest =
        (car.controls().acceleratorRest() > 0 ? car.spec().gear(0)
                                              : car.spec().gear(car.controls().gearIndex())) *
        car.controls().acceleratorRest() * car.spec().slow() * car.spec().displacement() * 0.9 /
        (2 * std::numbers::pi) / std::max(car.spec().tire(), 1e-3) / weight;
    const double a = kGravity * (rolling * (1 + brake / weight) +
                                 std::sin(car.roadConditions().grade(condition)) - rest);
    const double b = kGravity * rolling * DriverControls::kBrakeRate * 1000 / weight / 2;
    const double v0 = from / 3.6;
    const double drop = (from - to) / 3.6;
    if (drop <= 0)
        return 0;
    if (b < 1e-9)
        return a > 0 ? (v0 * v0 - to * to / 12.96) / (2 * a) : 1e9;
    const double t = (-a + std::sqrt(a * a + 4 * b * drop)) / (2 * b);
    return v0 * t - a * t * t / 2 - b * t * t * t / 3;
}

void Autopilot::takeRoad(const Game& game) {
    course_ = &game.course();
    width_ = game.playerModel().bodyWidth();
    startTick_ = game.playerCar.startTick();
    map_.build(game.course(), width_);
    steerKey_ = 0;
    nextPlan_ = nextLook_ = game.playerCar.raceTime();
}

// Towards the farthest point of the way, up to a reach that grows with the speed, to which a
// straight line runs over the road; off the road towards the way back a few metres ahead.
void Autopilot::steer(const Game& game, int cell, bool offRoad) {
    const Vehicle& car = game.playerCar;
    const Vec3& at = game.playerModel().position();
    const float size = map_.cellSize();
    const double reach = std::clamp(car.speed() / 3.6 * 1.0, 5.0, 30.0) * 10;
    const auto seen = [&](int target) {
        const float dx = map_.centreX(target) - at[0];
        const float dy = map_.centreY(target) - at[1];
        const int samples = static_cast<int>(std::hypot(dx, dy) / (size / 2)) + 1;
        for (int i = 1; i <= samples; ++i) {
            const float f = static_cast<float>(i) / static_cast<float>(samples);
            const int on = map_.cellAt(at[0] + f * dx, at[1] + f * dy);
            if (on < 0 || !map_.onRoute(on) || map_.clearance(on) < 1)
                return false;
        }
        return true;
    };
    int target = cell;
    int point = cell;
    double travelled = 0;
    for (int i = 0; i < 64 && travelled < reach; ++i) {
        const int to = map_.next(point);
        if (to < 0)
            break;
        travelled += std::hypot(map_.centreX(to) - map_.centreX(point),
                                map_.centreY(to) - map_.centreY(point));
        point = to;
        if (offRoad ? i < 4 : seen(point))
            target = point;
        else if (!offRoad && i >= 2)
            break;
    }
    if (target == cell && map_.next(cell) >= 0)
        target = map_.next(cell);
    const double bearing = std::atan2(map_.centreY(target) - at[1], map_.centreX(target) - at[0]);
    aim_ = wrapped(bearing * 180 / std::numbers::pi - car.controls().heading());
}

bool Autopilot::mustBrake(const Vehicle& car, int cell, double kmh) {
    const double brake = car.controls().brake();
    int slippery = car.roadConditions().currentIndex(); // the condition it stops worst on
    double longest = 0;
    conditionsAhead(car, 300, [&](int index) {
        const double metres = slowingDistance(car, kmh, 0, brake, index);
        if (metres > longest) {
            longest = metres;
            slippery = index;
        }
    });
    const double margin = kmh / 3.6 * 0.1 + 2; // metres: a look every kPlanMs, a pass late
    const double reach = (longest + margin) * 10;
    double travelled = 0;
    for (int point = cell, i = 0; point >= 0 && travelled < reach && i < 600; ++i) {
        const double allowed = bendSpeed(map_.bendRadius(point));
        if (allowed < kmh &&
            slowingDistance(car, kmh, allowed, brake, slippery) + margin >= travelled / 10)
            return true;
        const int to = map_.next(point);
        if (to < 0 || !map_.onRoute(to))
            break;
        travelled += std::hypot(map_.centreX(to) - map_.centreX(point),
                                map_.centreY(to) - map_.centreY(point));
        point = to;
    }
    return false;
}

void Autopilot::planSpeed(const Game& game, int cell, bool offRoad) {
    const Vehicle& car = game.playerCar;
    const double kmh = car.speed();
    if (offRoad) { // the game holds the car to a crawl: keep it crawling
        accelerate_ = true;
        brake_ = false;
        return;
    }
    // Facing well away from the way, the car turns first.
    const double aimed = std::fabs(aim_) > 30 ? kLowestSpeed + 3 : 1e9;
    accelerate_ = kmh + 3 < aimed && !mustBrake(car, cell, kmh + 4);
    brake_ = kmh > kLowestSpeed && (kmh > aimed + 3 || mustBrake(car, cell, kmh));
}

// A manual gearbox shifts where the automatic one would; a shift key goes up between two presses.
void Autopilot::shift(const Vehicle& car, KeyTable& keys) {
    keys.setDown(vk::kUp, false);
    keys.setDown(vk::kDown, false);
    if (car.spec().automatic() != 0)
        return;
    const DriverControls& controls = car.controls();
    if (shiftKeyDown_) {
        shiftKeyDown_ = false;
    } else if (car.engineSpeed() > Vehicle::kAutoUpshift &&
               controls.gearIndex() < controls.gearCount() - 1) {
        keys.setDown(vk::kUp, true);
        shiftKeyDown_ = true;
    } else if (car.engineSpeed() < Vehicle::kAutoDownshift && controls.gearIndex() > 0 &&
               car.raceTime() > 0) {
        keys.setDown(vk::kDown, true);
        shiftKeyDown_ = true;
    }
}

void Autopilot::drive(const Game& game, KeyTable& keys) {
    const Vehicle& car = game.playerCar;
    if (course_ != &game.course() || width_ != game.playerModel().bodyWidth() ||
        startTick_ != car.startTick() || !map_.built())
        takeRoad(game);
    if (gaveUp()) {
        for (const int key : vk::kDrivingKeys)
            keys.setDown(key, false);
        return;
    }
    const Vec3& at = game.playerModel().position();
    const std::int32_t now = car.raceTime();
    const int cell = map_.cellAt(at[0], at[1]);
    const bool offRoad = cell < 0 || !map_.onRoute(cell);

    // Steering: a key is held for the time the turn takes at this speed (a key pressed and let
    // go in every other pass would never turn the car), then the way is asked again.
    if (steerKey_ != 0 && now >= steerUntil_)
        steerKey_ = 0;
    if (steerKey_ == 0 && cell >= 0 && now >= nextLook_) {
        steer(game, cell, offRoad);
        nextLook_ = now + kLookMs;
        const double rate = turnRate(car.speed());
        if (std::fabs(aim_) >= kAimDegrees && rate > 0) {
            steerKey_ = aim_ > 0 ? vk::kLeft : vk::kRight;
            const double ms = std::min(std::fabs(aim_) / rate * 1000, double{kMaxHoldMs});
            steerUntil_ = now + std::max(static_cast<std::int32_t>(ms), std::int32_t{1});
        }
    }
    keys.setDown(vk::kLeft, steerKey_ == vk::kLeft);
    keys.setDown(vk::kRight, steerKey_ == vk::kRight);

    if (now >= nextPlan_ || offRoad) {
        planSpeed(game, cell, offRoad);
        nextPlan_ = now + kPlanMs;
    }
    keys.setDown(vk::kX, accelerate_);
    keys.setDown(vk::kZ, brake_);
    shift(car, keys);
}

} // namespace velnor
