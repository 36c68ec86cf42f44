#pragma once

#include <cstdint>

namespace velnor {

// What the race wants heard at one moment: the continuous part, published by the game thread
// after every pass and read by the audio thread at every buffer. Plain numbers only, so that it
// can be copied word by word through the hand-over.
struct SoundState {
    float playerGain = 0;      // 1 while a race (or a watching) is on, 0 at the title: no engine
    float playerRpm = 0;       // engine speed, rpm
    float playerThrottle = 0;  // accelerator above its rest, 0 (rest) to 1 (the gear's limit)
    float ghostRpm = 0;        // the ghost's engine speed, rpm
    float ghostThrottle = 0;   // 0 to 1
    float ghostPan = 0;        // -1 (left) to 1 (right), from its place beside the camera
    float ghostGain = 0;       // 0 (not heard, or no ghost) to 1 (beside the player)
    float limitRpm = 8000;     // the engine's rev limit: at or above it the limiter cuts in
    std::uint32_t offRoad = 0; // 1 while the player's car is off the road (the rumble)
};

// The race's one-off sounds, in the order the race gives them.
enum class Cue : std::uint8_t {
    kCountBeep, // 3, 2, 1
    kGoBeep,    // GO
    kLapChime,  // a lap line other than the last
    kFinish,    // the finish line
    kOffRoad,   // the car left the road (the rumble starts)
    kBackOnRoad // the car came back onto the road (the rumble stops)
};

// Where the race sends its sounds: the live hand-over to the audio thread, or a recorder in tests.
class SoundSink {
public:
    virtual ~SoundSink() = default;
    // The continuous state after a pass.
    virtual void publish(const SoundState& state) = 0;
    // A cue at `raceTime` (ms since GO of the pass it fell on; negative before GO).
    virtual void cue(Cue cue, std::int32_t raceTime) = 0;
};

// A sink that is heard: the player's controls reach it too, from the game's thread.
class SoundOutput : public SoundSink {
public:
    // The race's sounds' volume, 0 (silence) to 1.
    virtual void setVolume(float volume) = 0;
    // Muted: silence, the sounds going on unheard.
    virtual void setMuted(bool muted) = 0;
    // Held (the race paused or waiting for a question): silence, and nothing moves on.
    virtual void setHeld(bool held) = 0;
};

// Hears nothing: where the sounds have no output.
class SilentOutput final : public SoundOutput {
public:
    void publish(const SoundState&) override {}
    void cue(Cue, std::int32_t) override {}
    void setVolume(float) override {}
    void setMuted(bool) override {}
    void setHeld(bool) override {}
};

} // namespace velnor
