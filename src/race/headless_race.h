#pragma once

#include "race/input_script.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velnor {

// A whole race without a window, on a manual clock, through the game's own code: the car and the
// course chosen as the selection dialogs choose them, the race started, pass after pass of the
// game loop fed from an input script or the autopilot, and after the finish the passes that bring
// the car to a stand. The passes run one for every millisecond, as in the window.
struct RaceOptions {
    std::string root = ".";              // the game directory
    std::string car;                     // name, Shift-JIS bytes
    std::string course;                  // name, Shift-JIS bytes
    bool manual = false;                 // manual transmission
    bool autopilot = false;              // the autopilot drives (else the script)
    InputScript inputs;                  // key events by race time
    std::uint32_t startTick = 1000;      // the clock at the start
    std::optional<std::int32_t> untilMs; // stop at this race time
    std::int32_t timeoutMs = 900000;     // give up at this race time
    bool ghost = true;                   // race the course's ghost, if it has one
    bool saveGhost = false;              // save the run as the course's ghost after a finish
    // Watch the course's ghost drive its run alone instead of racing: the car (if named) is
    // only chosen, the keys, the autopilot and `ghost` do nothing, and nothing is saved. A
    // course without a ghost gives an error.
    bool watch = false;
};

// Where the car was at one pass, and the ghost beside it (where there is none: 0, 0).
struct TracePoint {
    float x; // world units
    float y;
    double speed; // km/h
    float ghostX = 0;
    float ghostY = 0;
};

struct CarState {
    float x = 0; // world units
    float y = 0;
    float heading = 0;   // degrees
    double speed = 0;    // km/h
    double distance = 0; // m
    int gear = 1;        // 1-based
};

struct RaceResult {
    // A car or course that could not be found or read, or a course the autopilot cannot drive;
    // empty on success.
    std::string error;
    bool finished = false;
    std::vector<std::int32_t> laps; // single-lap times of the completed laps, ms
    std::int32_t totalTime = 0;
    int finishRank = -1;
    long passes = 0;
    std::int32_t raceTime = 0;
    CarState car;
    int offRoad = 0; // times the car left the road
    bool ghostRaced = false;
    std::string ghostCarName; // Shift-JIS bytes
    CarState ghost;
    bool recordsWritten = false;
    bool ghostSaved = false;
    // Every change of the driving keys while racing, by race time, in the order made: the
    // script's or the autopilot's, as an inputs file would give them.
    std::vector<InputEvent> keyChanges;
};

// `trace`, when given, receives the car's position and speed at every pass.
RaceResult runHeadlessRace(const RaceOptions& options, std::vector<TracePoint>* trace = nullptr);

} // namespace velnor
