#include "race/game.h"

#include "platform/data_line.h"
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/ghost_file.h"

namespace velnor {

Game::Game(std::string root, const TickClock& clock, RaceEvents& events)
    : playerCar(clock.now()), ghostCar(clock.now()), courseCatalogue(root), carCatalogue(root),
      root_(std::move(root)), clock_(clock), events_(events) {}

std::uint32_t Game::now() const {
    return clock_.now();
}

void Game::scanFiles() {
    carCatalogue.scanCars();
    carCatalogue.sortCars();
    courseCatalogue.scanCourses();
    records_.readRecords(recordsPath(), courseCatalogue.entries());
}

int Game::chooseCar(int index, bool automatic) {
    if (carCatalogue.loadCar(index) != 0)
        return -1;
    playerCar = carCatalogue.workCar();
    playerCar.spec().setAutomatic(automatic ? 1 : 0);
    return 0;
}

int Game::chooseCourse(int index) {
    if (courseCatalogue.loadCourse(index) != 0)
        return -1;
    course.world = courseCatalogue.loadedWorld();
    course.gate = courseCatalogue.loadedGate();
    selectedCourse = index;
    for (int place = 0; place < RecordBook::kPlaces; ++place)
        courseBest[place] = records_.place(index, place);
    return 0;
}

void Game::startRace(int clientWidth, int clientHeight) {
    gameState = GameState::kRacing;
    if (carCatalogue.loadModel(kModelFile, playerCar.spec().type()) != 0)
        events_.modelFileMissing(kModelFile);
    playerModel = carCatalogue.model();
    camera.reset();
    raceClock.reset();
    camera.setViewport(0, kPanelHeight, static_cast<float>(clientWidth),
                       static_cast<float>(clientHeight));
    lapPanelTimer.stop();
    gateEntered = gateReversed = 0;

    const char* courseName = selectedCourse >= 0 && selectedCourse <= courseCatalogue.lastIndex()
                                 ? courseCatalogue.entry(selectedCourse).name
                                 : "";
    runLog.reset();
    runLog.setCarName(playerCar.spec().carname());
    runLog.setCourseName(courseName);
    if (ghostEnabled) {
        ghostLog.reset();
        ghostLog.setCourseName(courseName);
        if (loadGhost(root_, ghostLog) != 0) {
            ghostEnabled = 0; // no ghost for this course
        } else {
            ghostEnabled = 1;
            findGhostCar(ghostLog.carName());
            ghostCar = carCatalogue.workCar();
            carCatalogue.loadModel(kModelFile, ghostCar.spec().type());
            ghostModel = carCatalogue.model();
            ghostModel.makeTranslucent();
        }
    }
    events_.raceStarted();
    const std::uint32_t start = now();
    playerCar.reset(start);
    if (ghostEnabled)
        ghostCar.reset(start);
}

// Loads the ghost's car into `workCar`: the car of that whole name, else (as older ghost files
// named their car by its first word only) the car named by the first word. Without either, the
// car loaded last stands in.
void Game::findGhostCar(std::string_view name) {
    if (carCatalogue.findCar(name) == 0)
        return;
    const std::string_view word = firstWord(name);
    if (word != name)
        carCatalogue.findCar(word);
}

void Game::stopRace() {
    gameState = GameState::kTitle;
    events_.raceStopped();
    playerCar.fullReset(now());
}

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
        finishRank = updateCourseRecords(raceClock, courseBest, selectedCourse, records_,
                                         courseCatalogue.entries(), recordsPath(), &recordsWritten);
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

int Game::saveRunAsGhost() const {
    return saveGhost(root_, runLog);
}

} // namespace velnor
