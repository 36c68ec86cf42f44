#include "race/sound/race_sound_cues.h"

#include "race/game.h"
#include "world/camera.h"

#include <algorithm>
#include <cmath>

namespace velnor {
namespace {

// The accelerator above its rest as a share of the engaged gear's range: 0 to 1.
float throttleOf(const Vehicle& car) {
    const DriverControls& c = car.controls();
    const double range = c.acceleratorLimit(c.gearIndex()) - c.acceleratorRest();
    if (!(range > 0))
        return 0;
    return static_cast<float>(
        std::clamp((c.accelerator() - c.acceleratorRest()) / range, 0.0, 1.0));
}

} // namespace

void RaceSoundCues::raceStarted() {
    count_ = -1;
    offRoad_ = false;
}

std::int32_t RaceSoundCues::timeOfPass(const Game& game) {
    return static_cast<std::int32_t>(game.now() - game.playerCar.startTick() - Vehicle::kStartHold);
}

float RaceSoundCues::panOf(const Camera& camera, float x, float y, float ghostX, float ghostY) {
    // The eye stands at the camera's azimuth from its target and looks back across it: along
    // the azimuth + 180 degrees.
    const double angle = (camera.azimuth() + 180.0) * 3.14159265358979 / 180.0;
    // The right of a view along (cos a, sin a), z up: (sin a, -cos a).
    const double right = (ghostX - x) * std::sin(angle) - (ghostY - y) * std::cos(angle);
    return static_cast<float>(std::clamp(right / kPanDistance, -1.0, 1.0));
}

void RaceSoundCues::afterPass(const Game& game) {
    if (game.gameState() == GameState::kTitle) {
        if (count_ != kAtTitle) // the race stopped: the engines fall silent, the rumble ends
            sink_->publish(SoundState{});
        count_ = kAtTitle;
        offRoad_ = false;
        return;
    }
    const std::int32_t t = timeOfPass(game);
    const int count = game.playerCar.countdown(game.now());
    if (count != count_ && count >= 0 && count <= 3)
        sink_->cue(count == 3 ? Cue::kGoBeep : Cue::kCountBeep, t);
    count_ = count;
    if (game.offRoad() != offRoad_) {
        offRoad_ = game.offRoad();
        sink_->cue(offRoad_ ? Cue::kOffRoad : Cue::kBackOnRoad, t);
    }

    SoundState state;
    state.playerGain = 1;
    state.playerRpm = static_cast<float>(game.playerCar.engineSpeed());
    state.playerThrottle = throttleOf(game.playerCar);
    state.limitRpm = static_cast<float>(Vehicle::kRevLimit);
    state.offRoad = offRoad_ ? 1 : 0;
    if (game.ghostEnabled() != 0) {
        const Vec3& at = game.playerModel().position();
        const Vec3& ghost = game.ghostModel().position();
        // The ghost's engine speed is not kept by its replay: from its speed and gear.
        const Vehicle& g = game.ghostCar();
        state.ghostRpm = static_cast<float>(
            std::min(g.engineSpeedAt(g.speed(), g.controls().gearIndex()), Vehicle::kRevLimit));
        state.ghostThrottle = throttleOf(game.ghostCar());
        state.ghostPan = panOf(game.camera(), at[0], at[1], ghost[0], ghost[1]);
        const float distance = std::hypot(ghost[0] - at[0], ghost[1] - at[1]);
        state.ghostGain = 1.0f / (1.0f + distance / kHalfGainDistance);
    }
    sink_->publish(state);
}

void RaceSoundCues::lapCompleted(const Game& game) {
    sink_->cue(Cue::kLapChime, timeOfPass(game));
}

void RaceSoundCues::raceFinished(const Game& game) {
    sink_->cue(Cue::kFinish, timeOfPass(game));
}

} // namespace velnor
