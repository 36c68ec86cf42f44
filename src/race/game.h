#pragma once

#include "cars/car_catalogue.h"
#include "cars/car_model.h"
#include "platform/deadline_timer.h"
#include "race/gate_watcher.h"
#include "race/ghost_gap.h"
#include "race/ghost_log.h"
#include "race/ghost_run.h"
#include "race/lap_counter.h"
#include "race/race_events.h"
#include "race/record_book.h"
#include "sim/vehicle.h"
#include "world/camera.h"
#include "world/course.h"
#include "world/course_catalogue.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velnor {

class KeyState;
class TickClock;

enum class GameState : int { kTitle = 0, kRacing = 1, kFinished = 2 };

// Everything the game keeps for its whole run: the cars, the run being recorded and the ghost
// being raced, the race clock and the course's best three, the catalogues, the active course,
// the camera and the car drawing objects; and the race itself: starting and stopping it, and the
// work of one pass of the game loop. No window: what the window does at the race's moments goes
// through `RaceEvents`.
class Game {
public:
    static constexpr const char* kModelFile = "Velnor.mod";
    static constexpr std::uint32_t kLapPanelMilliseconds = 3000;
    // The instrument panel's height in pixels; the 3D view is drawn above it.
    static constexpr int kPanelHeight = 90;

    // `root` is the game directory. The clock and the events outlive the game.
    Game(std::string root, const TickClock& clock, RaceEvents& events);

    // What the window's creation does: list the cars (sorted) and the courses, read the records.
    void scanFiles();

    // The car selection's OK: car `index` becomes the player's car, with automatic or manual
    // transmission. -1 (nothing changes) if the car cannot be read.
    int chooseCar(int index, bool automatic);
    // The course selection's OK: course `index` becomes the active course and its records the
    // best three to beat. -1 (nothing changes) if the course cannot be read.
    int chooseCourse(int index);

    // Starts a race for the chosen car and course; the race view has the given client size.
    void startRace(int clientWidth, int clientHeight);
    // Ends the race and returns to the title state.
    void stopRace();
    // One pass of the game loop in the current state.
    void runIdleWork(const KeyState& keys);
    // The frame step of the race world; 1 in the frame in which the race finishes.
    int frameStep(std::uint32_t now);
    // Saves the run just driven as the course's ghost; -1 (nothing written) while watching.
    int saveRunAsGhost() const;

    // Watching (watch.cpp): the selected course's ghost drives its run alone in the player's
    // place, from the count to the finish and its roll-out, as it drives beside the player in a
    // race. Its car becomes the player's car for the while; the car chosen for racing comes back
    // when `stopRace` ends the watching. No run is recorded and the records stay as they are.
    // -1 (nothing changes) if the course has no ghost to watch. The view has the given size.
    int startWatching(int clientWidth, int clientHeight);
    // Whether the race running (or finished) is a ghost being watched.
    bool watching() const { return watching_; }
    // 1 if listed course `index` has a ghost file that can be read, else 0.
    int courseHasGhost(int index) const;

    // Whether the next race is run against the course's ghost (the ghost menu item and the car
    // selection switch it); a race started without a ghost to load switches it off.
    void setGhostEnabled(bool enabled) { ghostEnabled_ = enabled ? 1 : 0; }
    // The view key: the camera moves on to its next view.
    void nextView() { camera_.setViewMode(-1); }
    // The 3D view's place in the window in device pixels, bottom-left origin.
    void setViewport(float left, float bottom, float width, float height) {
        camera_.setViewport(left, bottom, width, height);
    }

    const std::string& root() const { return root_; }
    std::uint32_t now() const;
    // The best three of every listed course, slot for slot with the course catalogue.
    const RecordBook& records() const { return records_; }
    // The records file of the game directory.
    std::string recordsPath() const { return recordsFilePath(root_); }

    // The state of the race, written only by the operations above and the frame step.
    GameState gameState() const { return gameState_; }
    // The player's car was off the road at the last racing pass's on-road test.
    bool offRoad() const { return offRoad_; }
    int ghostEnabled() const { return ghostEnabled_; }
    int selectedCourse() const { return selectedCourse_; }
    int finishRank() const { return finishRank_; }
    bool recordsWritten() const { return recordsWritten_; }
    const Vehicle& ghostCar() const { return ghostCar_; }
    const GhostLog& runLog() const { return runLog_; }
    const GhostLog& ghostLog() const { return ghostLog_; }
    const LapCounter& raceClock() const { return raceClock_; }
    const std::array<LapCounter, 3>& courseBest() const { return courseBest_; }
    const Course& course() const { return course_; }
    const Camera& camera() const { return camera_; }
    const CarModel& playerModel() const { return playerModel_; }
    const CarModel& ghostModel() const { return ghostModel_; }
    const DeadlineTimer& lapPanelTimer() const { return lapPanelTimer_; }
    // The ghost of this race replayed at its start (empty when no ghost runs), the live gap to it
    // (ms, the player behind when positive; nullopt without a ghost or before "GO!"), and the
    // course's best race as it stood when this race started (empty when there was none).
    const GhostRun& ghostRun() const { return ghostRun_; }
    std::optional<std::int32_t> ghostGap() const;
    const LapCounter& recordAtStart() const { return recordAtStart_; }
    int gateEntered() const { return gateWatcher_.entered(); }
    int gateReversed() const { return gateWatcher_.reversed(); }

    // What the 3D view draws, writable because drawing keeps its own figures in them (the road
    // pieces stretched towards the view, the cars' parts as placed for the frame).
    CourseWorld& worldToDraw() { return course_.world; }
    CarModel& playerModelToDraw() { return playerModel_; }
    CarModel& ghostModelToDraw() { return ghostModel_; }

    // The player's car, which the car selection and the car editor also fill and edit in place,
    // and the catalogues, which list the files and whose car editor rewrites car files.
    Vehicle playerCar;
    CarCatalogue carCatalogue;
    CourseCatalogue courseCatalogue;

private:
    friend struct GameTestAccess; // tests put the car and the camera where a case needs them

    void findGhostCar(std::string_view name);
    // The course name of the selected course ("" if there is none).
    const char* selectedCourseName() const;
    // The car chosen for racing and the ghost setting back as they were before the watching.
    void endWatching();
    void testOnRoad();
    void watchGate(std::uint32_t now, int& finished);
    // At the race start, after both cars' reset at `start`: the ghost replayed, the gap tracker
    // on its path, the record to beat kept.
    void startGhostRun(std::uint32_t start);
    // Each racing pass after the frame step: the gap at the player's position.
    void followGhost();
    // The records file into the book, for the listed courses.
    void readRecords();
    // Course `index`'s records become the best three to beat.
    void takeCourseBest(int index);
    // Places the race just finished among the course's best three, sets `finishRank_` and
    // `recordsWritten_`, and writes the records file when it placed.
    void placeFinishedRace();

    GameState gameState_ = GameState::kTitle;
    int ghostEnabled_ = 1;        // a ghost is wanted for the next race, and runs in this one
    int selectedCourse_ = 0;      // catalogue index of the active course
    int finishRank_ = 0;          // place won by the last finished race, -1 none
    bool recordsWritten_ = false; // the last finish placed and the records file was written
    bool offRoad_ = false;        // the last on-road test found the car off the road

    Vehicle ghostCar_;
    GhostLog runLog_;
    GhostLog ghostLog_;
    LapCounter raceClock_;
    std::array<LapCounter, 3> courseBest_;
    Course course_;
    Camera camera_;
    CarModel playerModel_;
    CarModel ghostModel_;
    DeadlineTimer lapPanelTimer_;
    GateWatcher gateWatcher_; // the player's car at the start/finish gate
    GhostRun ghostRun_;
    GhostGap ghostGap_;
    LapCounter recordAtStart_;

    bool watching_ = false; // the player's car is the ghost's, driven by `ghostLog_`
    Vehicle chosenCar_;     // while watching: the car chosen for racing
    int ghostWanted_ = 1;   // while watching: `ghostEnabled_` as it was

    std::string root_;
    RecordBook records_;
    const TickClock& clock_;
    RaceEvents& events_;
};

} // namespace velnor
