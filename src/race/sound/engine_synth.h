#pragma once

#include "race/sound/sound_state.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace velnor {

class SoundHandOver;

// The race's sounds synthesised: the player's and the ghost's engines, the cues and the off-road
// rumble, rendered buffer by buffer as interleaved stereo floats (left, right) in -1..1. Every
// buffer goes on from where the last one ended: the oscillators keep their phases, and the
// engines' pitch, loudness and timbre glide sample by sample from the last buffer's state to the
// new one, so a jump in the state never clicks. No allocation, no lock: safe in an audio callback.
class EngineSynth {
public:
    static constexpr float kIdleRpm = 800; // an engine below this is heard at its idle

    explicit EngineSynth(int sampleRate);

    // The master volume, 0 (exact silence) to 1; muted: silence, the sounds going on unheard.
    void setVolume(float volume);
    void setMuted(bool muted) { muted_ = muted; }
    // Held (the race paused): silence, and nothing moves on, so resuming goes on where it was.
    void setHeld(bool held) { held_ = held; }
    bool held() const { return held_; }

    // Starts a cue's sound (the rumble follows the state's off-road flag instead).
    void play(Cue cue);
    // `frames` stereo frames for `state` into `out` (2 * frames floats).
    void render(const SoundState& state, float* out, std::size_t frames);
    // The same from the hand-over: its controls, its latest state (or the last one read) and its
    // new cues (left in the ring while held).
    void render(SoundHandOver& handOver, float* out, std::size_t frames);

    int sampleRate() const { return sampleRate_; }

private:
    struct Engine {
        double phase = 0;       // cycles, 0..1
        float frequency = 0;    // Hz, as the last buffer ended
        float level = 0;        // amplitude, as the last buffer ended
        float harshness = 0;    // each harmonic's amplitude over the one below
        float gate = 1;         // the rev limiter's cut, smoothed
        double limiterTime = 0; // s spent at the limit (the cut's rhythm)
    };
    struct CueVoice {
        Cue cue = Cue::kCountBeep;
        std::uint32_t position = 0; // samples played
        bool active = false;
    };

    void renderEngine(Engine& engine, float rpm, float throttle, float limitRpm, float loudness,
                      float left, float right, float* out, std::size_t frames) const;
    void renderCues(float* out, std::size_t frames);
    static double cueLength(Cue cue); // s; 0 for the rumble's cues
    float cueSample(const CueVoice& voice) const;
    void renderRumble(bool offRoad, float* out, std::size_t frames);

    int sampleRate_;
    float volume_ = 1;
    float gain_ = 0; // the master gain as the last buffer ended
    bool muted_ = false;
    bool held_ = false;
    Engine player_;
    Engine ghost_;
    std::array<CueVoice, 4> cues_{};
    float rumbleLevel_ = 0;
    float rumbleLow1_ = 0; // the rumble's two low-pass stages
    float rumbleLow2_ = 0;
    std::uint32_t noise_ = 0x9E3779B9u;
    SoundState last_{};
};

} // namespace velnor
