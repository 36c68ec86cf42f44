#include "platform/key_state.h"
#include "race/game.h"

// The race's rules for one pass of the game loop: the car's step, the on-road test, the gate
// crossings that count laps and finish the race.
namespace velnor {

void Game::runIdleWork(const KeyState& keys) {
    const std::uint32_t tick = now();
    switch (gameState) {
    case GameState::kRacing:
        frameStep(tick);
        runLog.pollDrivingKeys(playerCar, keys, tick);
        if (ghostEnabled) {
            ghostStep(ghostCar, ghostLog, ghostModel, tick);
            ghostInputs(ghostCar, ghostLog, tick);
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
    playerCar.step(now);
    playerCar.computeEngineSpeed(now);

    const float heading = playerCar.controls().heading();
    const Displacement move = displacementAlong(heading, playerCar.stepDistance());
    camera.followHeading(heading);
    camera.moveLight(move.dx, move.dy, 0);
    course.world.moveCar(move.dx, move.dy, 0);
    playerModel.setHeading(heading);
    playerModel.moveParts(move.dx, move.dy, 0);
    camera.moveTarget(move.dx, move.dy, 0);

    // The on-road test at the car's position of this frame.
    const Vec3& at = course.world.carPosition();
    const std::int32_t t = playerCar.raceTime();
    if (!course.world.onRoad(at[0], at[1], playerModel.bodyWidth())) {
        runLog.recordPress(t, GhostLog::kOffRoad);
        if (playerCar.speed() > 2)
            playerCar.setSpeed(2);
    } else {
        runLog.recordRelease(t, GhostLog::kOffRoad);
    }

    int finished = 0;
    watchGate(now, finished);
    if (finished)
        return 1;
    if (lapPanelTimer.expired(now))
        events_.lapPanelExpired();
    return 0;
}

void Game::watchGate(std::uint32_t now, int& finished) {
    const StartFinishGate& gate = course.gate;
    const Vec3& car = playerModel.position();
    const float across = gate.across(car[0], car[1]);
    const float along = gate.along(car[0], car[1]);
    const bool inAcross = across >= gate.zoneAcrossMin() && across <= gate.zoneAcrossMax();
    const bool inAlong = along >= gate.zoneAlongMin() && along <= gate.zoneAlongMax();

    if (!gate.facesGate(playerCar.controls().heading())) {
        if (inAcross && inAlong)
            gateReversed = 1;
        return;
    }
    if (!inAcross)
        return;
    if (inAlong) {
        gateEntered = 1;
        return;
    }
    if (!gateEntered)
        return;
    if (gateReversed) { // turned about in the zone: this crossing counts nothing
        gateEntered = gateReversed = 0;
        return;
    }
    raceClock.setTime(playerCar.raceTime(), -1);
    if (raceClock.completeLap() == 1) {
        placeFinishedRace();
        runLog.setFinishTime(raceClock.totalTime());
        events_.raceFinished(raceClock, finishRank);
        gameState = GameState::kFinished;
        gateEntered = 0;
        finished = 1;
        return;
    }
    events_.lapCompleted(raceClock);
    lapPanelTimer.start(now, kLapPanelMilliseconds);
    gateEntered = 0;
}

} // namespace velnor
