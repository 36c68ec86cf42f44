// The synthesiser's one-off sounds and the off-road rumble.
#include "race/sound/engine_synth.h"

#include <cmath>

namespace velnor {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kCueLoudness = 0.25f;
constexpr float kRumbleLoudness = 0.5f;
constexpr float kRumbleSmoothing = 0.03f; // s the rumble takes to come and go
constexpr float kRumbleCutoff = 90.0f;    // Hz, each of its two low-pass stages

float tone(double hz, double t) {
    return static_cast<float>(std::sin(kTwoPi * hz * t));
}

// 1 rising over the first 5 ms, falling to 0 over the last `release` s of `length` s; 0 after.
float shape(double t, double length, double release) {
    if (t >= length)
        return 0;
    if (t < 0.005)
        return static_cast<float>(t / 0.005);
    if (t > length - release)
        return static_cast<float>((length - t) / release);
    return 1;
}

} // namespace

double EngineSynth::cueLength(Cue cue) {
    switch (cue) {
    case Cue::kCountBeep:
        return 0.15;
    case Cue::kGoBeep:
        return 0.40;
    case Cue::kLapChime:
        return 0.70;
    case Cue::kFinish:
        return 1.0;
    default:
        return 0; // the rumble follows the state
    }
}

float EngineSynth::cueSample(const CueVoice& voice) const {
    const double t = static_cast<double>(voice.position) / sampleRate_;
    switch (voice.cue) {
    case Cue::kCountBeep: // 3, 2, 1: A5
        return tone(880, t) * shape(t, 0.15, 0.02);
    case Cue::kGoBeep: // GO: an octave higher and longer
        return tone(1760, t) * shape(t, 0.40, 0.05);
    case Cue::kLapChime: { // C6 and G6, dying away
        const float decay = static_cast<float>(std::exp(-t / 0.2));
        return (tone(1046.5, t) + 0.5f * tone(1568.0, t)) * 0.67f * decay * shape(t, 0.70, 0.05);
    }
    case Cue::kFinish: { // C5 E5 G5 rising, then C6 held
        static constexpr double kNotes[4] = {523.25, 659.25, 783.99, 1046.5};
        const int note = t < 0.48 ? static_cast<int>(t / 0.16) : 3;
        const double start = 0.16 * note;
        const double length = note < 3 ? 0.16 : 0.52;
        return tone(kNotes[note], t) * shape(t - start, length, 0.02);
    }
    default:
        return 0;
    }
}

void EngineSynth::renderCues(float* out, std::size_t frames) {
    for (CueVoice& voice : cues_) {
        for (std::size_t i = 0; i < frames && voice.active; ++i) {
            const double t = static_cast<double>(voice.position) / sampleRate_;
            if (t >= cueLength(voice.cue)) {
                voice.active = false;
                break;
            }
            const float s = cueSample(voice) * kCueLoudness;
            out[2 * i] += s;
            out[2 * i + 1] += s;
            ++voice.position;
        }
    }
}

void EngineSynth::renderRumble(bool offRoad, float* out, std::size_t frames) {
    const float target = offRoad ? kRumbleLoudness : 0.0f;
    if (target == 0 && rumbleLevel_ < 1e-5f) {
        rumbleLevel_ = 0;
        return;
    }
    const float rate = static_cast<float>(sampleRate_);
    const float levelCoefficient = 1.0f - std::exp(-1.0f / (kRumbleSmoothing * rate));
    const float lowCoefficient =
        1.0f - static_cast<float>(std::exp(-kTwoPi * kRumbleCutoff / rate));
    for (std::size_t i = 0; i < frames; ++i) {
        noise_ ^= noise_ << 13; // xorshift32: white noise
        noise_ ^= noise_ >> 17;
        noise_ ^= noise_ << 5;
        const float white = static_cast<float>(noise_) / 2147483648.0f - 1.0f;
        rumbleLow1_ += (white - rumbleLow1_) * lowCoefficient;
        rumbleLow2_ += (rumbleLow1_ - rumbleLow2_) * lowCoefficient;
        rumbleLevel_ += (target - rumbleLevel_) * levelCoefficient;
        const float s = rumbleLow2_ * 4.0f * rumbleLevel_; // the low-pass leaves about a quarter
        out[2 * i] += s;
        out[2 * i + 1] += s;
    }
}

} // namespace velnor
