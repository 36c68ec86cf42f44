#pragma once

#include "race/sound/sound_state.h"

#include <cstdint>

namespace velnor {

class Camera;
class Game;

// The race's side of its sounds: fed by the game loop after every pass (and by the window's or
// the headless race's RaceEvents at a lap and at the finish), it sends the cues on the pass where
// the race shows them and publishes the engines' state. It decides nothing about the race and
// changes nothing in it.
class RaceSoundCues {
public:
    // Full pan this far to the side of the player's car, world units (10 m).
    static constexpr float kPanDistance = 100.0f;
    // The ghost at this distance is heard at half its gain, world units (30 m).
    static constexpr float kHalfGainDistance = 300.0f;

    explicit RaceSoundCues(SoundSink& sink) : sink_(&sink) {}
    // From now on the sounds go to `sink`.
    void setSink(SoundSink& sink) { sink_ = &sink; }

    // A new race (or watching) has started: the countdown and the road are heard afresh.
    void raceStarted();
    // After each pass of the game loop: the countdown's beeps on the passes where its count
    // changes, the rumble on leaving and regaining the road, and the engines' state.
    void afterPass(const Game& game);
    // From RaceEvents::lapCompleted and RaceEvents::raceFinished, on their pass.
    void lapCompleted(const Game& game);
    void raceFinished(const Game& game);

    // Where the ghost at (`ghostX`, `ghostY`) is heard from: -1 (left) to 1 (right) of a
    // listener at (`x`, `y`) (the player's car) looking the way `camera` looks, so that the ghost
    // is heard on the side of the screen it is seen on, in every view.
    static float panOf(const Camera& camera, float x, float y, float ghostX, float ghostY);

private:
    static std::int32_t timeOfPass(const Game& game);
    static constexpr int kAtTitle = -2; // `count_` after a pass at the title

    SoundSink* sink_;      // never null
    int count_ = -1;       // the countdown as the last pass showed it
    bool offRoad_ = false; // as the last pass left the car
};

} // namespace velnor
