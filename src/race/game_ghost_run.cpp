#include "race/game.h"

// The ghost as the race measures against it: replayed whole at the race start, so that the gap
// to it is known at every pass.
namespace velnor {

void Game::startGhostRun(std::uint32_t start) {
    recordAtStart_ = courseBest_[0];
    ghostRun_ = ghostEnabled_ ? replayGhost(ghostLog_, ghostCar_, course_.gate, start) : GhostRun{};
    ghostGap_.reset(ghostRun_.path);
}

void Game::followGhost() {
    if (!ghostEnabled_)
        return;
    const Vec3& car = playerModel_.position();
    ghostGap_.update(car[0], car[1], playerCar.raceTime());
}

std::optional<std::int32_t> Game::ghostGap() const {
    return ghostEnabled_ ? ghostGap_.gap() : std::nullopt;
}

} // namespace velnor
