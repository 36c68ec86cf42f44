#pragma once

#include "race/input_script.h"
#include "race/sound/sound_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velnor {

// The player pausing the race: P pressed when the race has run to race time `at`, and pressed
// again `wallMs` milliseconds of wall time later. Meanwhile the game's clock holds, as in the
// window, and the race time leaves the pause out.
struct RacePause {
    std::int32_t at = 0;      // race time, ms (negative during the start hold)
    std::uint32_t wallMs = 0; // how long the race stays paused
    // Key changes during the pause, their `time` the ms after P was pressed (0 to `wallMs`; later
    // ones come at its end): they count from the first pass after it.
    std::vector<InputEvent> keys;
};

// A whole race without a window, on a clock set by hand, through the game's own code: the car and
// the course chosen as the selection dialogs choose them, the race started, pass after pass of the
// game loop fed from an input script or the autopilot, and after the finish the passes that bring
// the car to a stand. The passes run one for every millisecond of the game's clock, as in the
// window; the script's keys come when the game's clock reaches their race time, stamped by the
// wall as the window's keys are.
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
    std::vector<RacePause> pauses;       // in the order of their race times, while racing
    // Watch the course's ghost drive its run alone instead of racing: the car (if named) is
    // only chosen, the keys, the autopilot and `ghost` do nothing, and nothing is saved. A
    // course without a ghost gives an error.
    bool watch = false;
    // Where the race's sounds go, pass by pass, if anywhere; hearing the race changes nothing in
    // it.
    SoundSink* sound = nullptr;
};

// Where the car was at one pass, and the ghost beside it (where there is none: 0, 0).
struct TracePoint {
    float x; // world units
    float y;
    double speed;                    // km/h
    std::optional<std::int32_t> gap; // ms behind the ghost (Game::ghostGap) after the pass
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
    // The ghost's laps as its replay at the start drove them (single-lap times, ms), its total
    // when it completed the race, and the finish time its file states.
    std::vector<std::int32_t> ghostLaps;
    std::int32_t ghostTotal = 0;
    std::int32_t ghostStatedFinish = 0;
    bool recordsWritten = false;
    bool ghostSaved = false;
    // Every change of the driving keys while racing, by race time, in the order made: the
    // script's or the autopilot's, as an inputs file would give them.
    std::vector<InputEvent> keyChanges;
};

// `trace`, when given, receives the car's position and speed at every pass.
RaceResult runHeadlessRace(const RaceOptions& options, std::vector<TracePoint>* trace = nullptr);

} // namespace velnor
