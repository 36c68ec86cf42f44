#include "race/sound/engine_synth.h"

#include "race/sound/sound_hand_over.h"

#include <algorithm>
#include <cmath>

namespace velnor {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kHarmonics = 8;
constexpr float kPlayerLoudness = 0.30f;
constexpr float kGhostLoudness = 0.12f; // at gain 1, beside the player
// The limiter's rhythm at the limit: the engine heard for the first part of each period, cut to
// a murmur for the rest; the cut is smoothed over a couple of milliseconds.
constexpr double kLimiterPeriod = 0.060; // s
constexpr double kLimiterOn = 0.035;     // s
constexpr float kLimiterCut = 0.08f;
constexpr float kGateSmoothing = 0.002f; // s

// Firing frequency of a four-stroke four-cylinder engine: two firings per turn, Hz.
float firingFrequency(float rpm) {
    return std::max(rpm, EngineSynth::kIdleRpm) / 60.0f * 2.0f;
}

} // namespace

EngineSynth::EngineSynth(int sampleRate) : sampleRate_(sampleRate > 0 ? sampleRate : 48000) {}

void EngineSynth::setVolume(float volume) {
    volume_ = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
}

void EngineSynth::play(Cue cue) {
    if (cueLength(cue) <= 0)
        return; // the rumble follows the state
    CueVoice* voice = &cues_[0];
    for (CueVoice& v : cues_) { // a free voice, else the one that has played longest
        if (!v.active) {
            voice = &v;
            break;
        }
        if (v.position > voice->position)
            voice = &v;
    }
    *voice = {cue, 0, true};
}

void EngineSynth::render(SoundHandOver& handOver, float* out, std::size_t frames) {
    setVolume(handOver.volume());
    setMuted(handOver.muted());
    setHeld(handOver.held());
    if (held_) { // the cues wait in the ring, the state where it is
        render(last_, out, frames);
        return;
    }
    handOver.read(last_); // a state being written keeps the last one read
    Cue cue{};
    while (handOver.takeCue(cue))
        play(cue);
    render(last_, out, frames);
}

void EngineSynth::render(const SoundState& state, float* out, std::size_t frames) {
    std::fill(out, out + 2 * frames, 0.0f);
    if (held_ || frames == 0) {
        gain_ = 0; // resuming fades in
        return;
    }
    constexpr float kCentre = 0.70710678f;
    const float playerGain =
        std::isfinite(state.playerGain) ? std::clamp(state.playerGain, 0.0f, 1.0f) : 0.0f;
    renderEngine(player_, state.playerRpm, state.playerThrottle, state.limitRpm,
                 kPlayerLoudness * playerGain, kCentre, kCentre, out, frames);
    const float pan = std::isfinite(state.ghostPan) ? std::clamp(state.ghostPan, -1.0f, 1.0f) : 0;
    const double angle = (pan + 1.0) * kTwoPi / 8.0; // constant power: cos^2 + sin^2 = 1
    const float ghostGain = std::isfinite(state.ghostGain)
                                ? std::clamp(state.ghostGain, 0.0f, 1.0f) * kGhostLoudness
                                : 0.0f;
    renderEngine(ghost_, state.ghostRpm, state.ghostThrottle, state.limitRpm, ghostGain,
                 static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)), out,
                 frames);
    renderCues(out, frames);
    renderRumble(state.offRoad != 0, out, frames);

    const float target = muted_ ? 0.0f : volume_;
    const float step = (target - gain_) / static_cast<float>(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const float g = gain_ + step * static_cast<float>(i + 1);
        out[2 * i] = std::clamp(out[2 * i] * g, -1.0f, 1.0f);
        out[2 * i + 1] = std::clamp(out[2 * i + 1] * g, -1.0f, 1.0f);
    }
    gain_ = target;
}

void EngineSynth::renderEngine(Engine& engine, float rpm, float throttle, float limitRpm,
                               float loudness, float left, float right, float* out,
                               std::size_t frames) const {
    if (!std::isfinite(rpm))
        rpm = 0;
    throttle = std::isfinite(throttle) ? std::clamp(throttle, 0.0f, 1.0f) : 0.0f;
    const float frequency = firingFrequency(std::min(rpm, 20000.0f));
    const float level = loudness * (0.35f + 0.65f * throttle);
    const float harshness = 0.25f + 0.45f * throttle;
    if (engine.frequency <= 0) // the first buffer starts at its state
        engine.frequency = frequency;
    const bool limiting = rpm >= limitRpm;
    const float n = static_cast<float>(frames);
    const float df = (frequency - engine.frequency) / n;
    const float dl = (level - engine.level) / n;
    const float dh = (harshness - engine.harshness) / n;
    const double dt = 1.0 / sampleRate_;
    const float gateCoefficient =
        1.0f - std::exp(-1.0f / (kGateSmoothing * static_cast<float>(sampleRate_)));
    for (std::size_t i = 0; i < frames; ++i) {
        const float k = static_cast<float>(i + 1);
        const float f = engine.frequency + df * k;
        const float h = engine.harshness + dh * k;
        float gateTarget = 1.0f;
        if (limiting) {
            gateTarget =
                std::fmod(engine.limiterTime, kLimiterPeriod) < kLimiterOn ? 1 : kLimiterCut;
            engine.limiterTime += dt;
        }
        engine.gate += (gateTarget - engine.gate) * gateCoefficient;
        // The harmonics by the sine recurrence sin((k+1)x) = 2 cos x sin kx - sin((k-1)x).
        const double x = kTwoPi * engine.phase;
        const float s1 = static_cast<float>(std::sin(x));
        const float c2 = 2.0f * static_cast<float>(std::cos(x));
        float below = 0, current = s1, sum = s1, weight = 1, total = 1;
        for (int harmonic = 2; harmonic <= kHarmonics; ++harmonic) {
            const float next = c2 * current - below;
            below = current;
            current = next;
            weight *= h;
            total += weight;
            sum += weight * current;
        }
        const float sample = sum / total * (engine.level + dl * k) * engine.gate;
        out[2 * i] += sample * left;
        out[2 * i + 1] += sample * right;
        engine.phase += f * dt;
        engine.phase -= std::floor(engine.phase);
    }
    if (!limiting)
        engine.limiterTime = 0;
    engine.frequency = frequency;
    engine.level = level;
    engine.harshness = harshness;
}

} // namespace velnor
