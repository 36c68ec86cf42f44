#include "platform/key_state.h"
#include "race/game.h"

// The race's rules for one pass of the game loop: the car's step, the on-road test, the gate
// crossings that count laps and finish the race.
namespace velnor {

void Game::runIdleWork(const KeyState& keys) {
    const std::uint32_t tick = now();
    switch (gameState_) {
    case GameState::kRacing:
        frameStep(tick);
        if (watching_) { // the ghost's recorded controls instead of the keys, and no second car
            ghostInputs(playerCar, ghostLog_, tick);
            break;
        }
        followGhost();
        runLog_.pollDrivingKeys(playerCar, keys, tick);
        if (ghostEnabled_) {
            ghostStep(ghostCar_, ghostLog_, ghostModel_, tick);
            ghostInputs(ghostCar_, ghostLog_, tick);
        }
        break;
    case GameState::kFinished:
        frameStep(tick);
        if (playerCar.speed() > 0) { // roll out under full brake
            playerCar.controls().brakeApply(tick);
            playerCar.controls().acceleratorRelease();
        }
        break;
    case GameState::kTitle:
        break;
    }
}

int Game::frameStep(std::uint32_t now) {
    // A ghost being watched steps as it does beside the player: its off-road crawl and its
    // snapshots come from its log, so the on-road test below leaves it alone.
    if (watching_)
        ghostCarStep(playerCar, ghostLog_, now);
    else
        playerCar.step(now);
    playerCar.computeEngineSpeed(now);

    const float heading = playerCar.controls().heading();
    const Displacement move = displacementAlong(heading, playerCar.stepDistance());
    camera_.followHeading(heading);
    camera_.moveLight(move.dx, move.dy, 0);
    course_.world.moveCar(move.dx, move.dy, 0);
    playerModel_.setHeading(heading);
    playerModel_.moveParts(move.dx, move.dy, 0);
    camera_.moveTarget(move.dx, move.dy, 0);

    if (!watching_)
        testOnRoad();

    int finished = 0;
    watchGate(now, finished);
    if (finished)
        return 1;
    if (lapPanelTimer_.expired(now))
        events_.lapPanelExpired();
    return 0;
}

// The on-road test at the car's position of this frame: off the road the car crawls, and the
// run records each leaving and coming back.
void Game::testOnRoad() {
    const Vec3& at = course_.world.carPosition();
    const std::int32_t t = playerCar.raceTime();
    offRoad_ = !course_.world.onRoad(at[0], at[1], playerModel_.bodyWidth());
    if (offRoad_) {
        runLog_.recordPress(t, GhostLog::kOffRoad);
        if (playerCar.speed() > 2)
            playerCar.setSpeed(2);
    } else {
        runLog_.recordRelease(t, GhostLog::kOffRoad);
    }
}

void Game::watchGate(std::uint32_t now, int& finished) {
    const Vec3& car = playerModel_.position();
    if (!gateWatcher_.crossed(course_.gate, car[0], car[1], playerCar.controls().heading()))
        return;
    raceClock_.setTime(playerCar.raceTime(), -1);
    if (raceClock_.completeLap() == 1) {
        if (watching_) { // no place among the records: they are not touched
            finishRank_ = -1;
            recordsWritten_ = false;
        } else {
            placeFinishedRace();
            runLog_.setFinishTime(raceClock_.totalTime());
        }
        events_.raceFinished(raceClock_, finishRank_);
        gameState_ = GameState::kFinished;
        finished = 1;
        return;
    }
    events_.lapCompleted(raceClock_);
    lapPanelTimer_.start(now, kLapPanelMilliseconds);
}

} // namespace velnor
