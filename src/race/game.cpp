#include "race/game.h"

#include "platform/data_line.h"
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
    readRecords();
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
    takeCourseBest(index);
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

int Game::saveRunAsGhost() const {
    return saveGhost(root_, runLog);
}

} // namespace velnor
