#include "race/game.h"

// The game's records: read at start-up, the chosen course's best three to beat, and the place a
// finished race wins among them, written back to the records file.
namespace velnor {

void Game::readRecords() {
    records_.readRecords(recordsPath(), courseCatalogue.entries());
}

void Game::takeCourseBest(int index) {
    for (int place = 0; place < RecordBook::kPlaces; ++place)
        courseBest_[place] = records_.place(index, place);
}

void Game::placeFinishedRace() {
    finishRank_ = updateCourseRecords(raceClock_, courseBest_, selectedCourse_, records_,
                                      courseCatalogue.entries(), recordsPath(), &recordsWritten_);
}

} // namespace velnor
