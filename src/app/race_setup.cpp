#include "app/race_setup.h"

#include "app/car_selection_dialog.h"
#include "app/course_selection_dialog.h"
#include "race/game.h"

namespace velnor {

bool SelectionDialogs::chooseCar(Game& game) {
    return CarSelectionDialog(game, messages_, parent_).exec() == QDialog::Accepted;
}

bool SelectionDialogs::chooseCourse(Game& game) {
    CourseSelectionDialog dialog(game, messages_, parent_);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    watchChosen_ = accepted && dialog.watchChosen();
    return accepted;
}

bool FirstCarAndCourse::chooseCar(Game& game) {
    game.setGhostEnabled(true); // as the car selection does each time it opens
    return game.carCatalogue.count() > 0 && game.chooseCar(0, true) == 0;
}

bool FirstCarAndCourse::chooseCourse(Game& game) {
    return game.courseCatalogue.count() > 0 && game.chooseCourse(0) == 0;
}

} // namespace velnor
