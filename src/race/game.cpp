#include "race/game.h"

#include "platform/data_line.h"
#include "platform/tick_clock.h"
#include "race/ghost_file.h"

namespace velnor {

Game::Game(std::string root, const TickClock& clock, RaceEvents& events)
    : playerCar(clock.now()), carCatalogue(root), courseCatalogue(root), ghostCar_(clock.now()),
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
    course_.world = courseCatalogue.loadedWorld();
    course_.gate = courseCatalogue.loadedGate();
    selectedCourse_ = index;
    takeCourseBest(index);
    return 0;
}

void Game::startRace(int clientWidth, int clientHeight) {
    gameState_ = GameState::kRacing;
    offRoad_ = false;
    if (carCatalogue.loadModel(kModelFile, playerCar.spec().type()) != 0)
        events_.modelFileMissing(kModelFile);
    playerModel_ = carCatalogue.model();
    camera_.reset();
    raceClock_.reset();
    camera_.setViewport(0, kPanelHeight, static_cast<float>(clientWidth),
                        static_cast<float>(clientHeight));
    lapPanelTimer_.stop();
    gateWatcher_.reset();

    const char* courseName = selectedCourseName();
    runLog_.reset();
    runLog_.setCarName(playerCar.spec().carname());
    runLog_.setCourseName(courseName);
    if (ghostEnabled_) {
        ghostLog_.reset();
        ghostLog_.setCourseName(courseName);
        if (loadGhost(root_, ghostLog_) != 0) {
            ghostEnabled_ = 0; // no ghost for this course
        } else {
            ghostEnabled_ = 1;
            findGhostCar(ghostLog_.carName());
            ghostCar_ = carCatalogue.workCar();
            carCatalogue.loadModel(kModelFile, ghostCar_.spec().type());
            ghostModel_ = carCatalogue.model();
            ghostModel_.makeTranslucent();
        }
    }
    events_.raceStarted();
    const std::uint32_t start = now();
    playerCar.reset(start);
    if (ghostEnabled_)
        ghostCar_.reset(start);
    startGhostRun(start);
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

const char* Game::selectedCourseName() const {
    return selectedCourse_ >= 0 && selectedCourse_ <= courseCatalogue.lastIndex()
               ? courseCatalogue.entry(selectedCourse_).name
               : "";
}

void Game::stopRace() {
    gameState_ = GameState::kTitle;
    events_.raceStopped();
    if (watching_)
        endWatching(); // the chosen car comes back as it was chosen
    else
        playerCar.fullReset(now());
}

int Game::saveRunAsGhost() const {
    if (watching_)
        return -1; // the run watched is the ghost's own: nothing to save
    return saveGhost(root_, runLog_);
}

} // namespace velnor
