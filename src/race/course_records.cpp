#include "race/game.h"

// The game's records: read at start-up, the chosen course's best three to beat, and the place a
// finished race wins among them, written back to the records file.
namespace velnor {

void Game::readRecords() {
    records_.readRecords(recordsPath(), courseCatalogue.entries());
}

void Game::takeCourseBest(int index) {
    for (int place = 0; place < RecordBook::kPlaces; ++place)
        courseBest[place] = records_.place(index, place);
}

void Game::placeFinishedRace() {
    finishRank = updateCourseRecords(raceClock, courseBest, selectedCourse, records_,
                                     courseCatalogue.entries(), recordsPath(), &recordsWritten);
}

} // namespace velnor
