#include "race/game.h"
#include "race/ghost_file.h"

// Watching a course's ghost drive its run alone: its car takes the player's place (the camera,
// the instrument panel and the gate follow it as they follow the player), its log drives it
// instead of the keys, and the car chosen for racing waits until the watching ends.
namespace velnor {

int Game::courseHasGhost(int index) const {
    if (index < 0 || index > courseCatalogue.lastIndex())
        return 0;
    GhostLog log;
    log.setCourseName(courseCatalogue.entry(index).name);
    return ghostFileExists(root_, log);
}

int Game::startWatching(int clientWidth, int clientHeight) {
    if (watching_ || gameState_ != GameState::kTitle)
        return -1; // one thing at a time: a race or a watching is stopped first
    GhostLog run;
    run.setCourseName(selectedCourseName());
    if (loadGhost(root_, run) != 0)
        return -1; // no ghost to watch: the title stays
    // The ghost's car found as a race finds it, in the player's place.
    chosenCar_ = playerCar;
    ghostWanted_ = ghostEnabled_;
    findGhostCar(run.carName());
    playerCar = carCatalogue.workCar();
    watching_ = true;
    ghostEnabled_ = 0; // no second car beside it
    startRace(clientWidth, clientHeight);
    ghostLog_ = run; // replayed from its start, as the race's ghost is
    return 0;
}

void Game::endWatching() {
    playerCar = chosenCar_;
    ghostEnabled_ = ghostWanted_;
    watching_ = false;
}

} // namespace velnor
