#pragma once

#include <string>

namespace velnor {

class LapCounter;

// What the race tells the window at its moments: the window shows and hides its panels, plays
// music and shows messages there. The headless race leaves them empty or prints them.
class RaceEvents {
public:
    virtual ~RaceEvents() = default;

    // A race has begun (panels created, race music started).
    virtual void raceStarted() {}
    // A lap other than the last was completed: show the lap panel for 3 s.
    virtual void lapCompleted(const LapCounter& /*raceClock*/) {}
    // The last lap was completed: show the result panel with the place won (-1: none).
    virtual void raceFinished(const LapCounter& /*raceClock*/, int /*finishRank*/) {}
    // The lap panel's 3 s are over: hide it.
    virtual void lapPanelExpired() {}
    // The model file could not be read for the player's car (the race goes on).
    virtual void modelFileMissing(const std::string& /*fileName*/) {}
    // The race was stopped: back to the title screen, music stopped.
    virtual void raceStopped() {}
};

} // namespace velnor
