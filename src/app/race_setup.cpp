#include "app/race_setup.h"

#include "race/game.h"

namespace velnor {

bool FirstCarAndCourse::chooseCar(Game& game) {
    game.ghostEnabled = 1; // as the car selection does each time it opens
    return game.carCatalogue.count() > 0 && game.chooseCar(0, true) == 0;
}

bool FirstCarAndCourse::chooseCourse(Game& game) {
    return game.courseCatalogue.count() > 0 && game.chooseCourse(0) == 0;
}

} // namespace velnor
