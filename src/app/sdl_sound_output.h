#pragma once

#include "race/sound/engine_synth.h"
#include "race/sound/sound_hand_over.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace velnor {

// The sample formats the mixer's device may take, in the machine's byte order.
enum class SampleFormat { kS16, kS32, kF32, kOther };

// Adds `frames` frames of interleaved stereo `sound` (-1..1) into `stream`, a buffer of the
// device's `channels` channels in `format`: one channel takes the mean of the two sides, more than
// two have the sound in the first two (front left and right) and the others left alone. Integer
// samples saturate instead of wrapping; a format it does not know is left as it is.
void mixInto(const float* sound, std::size_t frames, void* stream, SampleFormat format,
             int channels);

// The race's sounds through SDL_mixer's output, added over the music in the mixer's own callback
// (its post-mix hook), on SDL's audio thread. It takes the audio the music player opened: made
// after it and gone before it closes the audio. Without an audio device it takes nothing and
// stays silent; the race is the same either way. The game's thread reaches it only through its
// hand-over, so neither side ever waits for the other.
class SdlSoundOutput {
public:
    SdlSoundOutput();
    ~SdlSoundOutput();
    SdlSoundOutput(const SdlSoundOutput&) = delete;
    SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;

    // Where the game sends the race's sounds and the player's controls.
    SoundOutput& output() { return handOver_; }
    // Whether there is an audio device the sounds are played on.
    bool active() const { return synth_.has_value(); }
    // Frames mixed since the start: how far the audio thread has gone.
    std::uint64_t framesMixed() const { return framesMixed_.load(std::memory_order_relaxed); }

private:
    static constexpr std::size_t kChunkFrames = 512; // rendered at a time into the scratch
    static void postMix(void* self, std::uint8_t* stream, int bytes);
    void mix(std::uint8_t* stream, std::size_t bytes);

    SoundHandOver handOver_;
    std::optional<EngineSynth> synth_; // none without an audio device
    SampleFormat format_ = SampleFormat::kOther;
    int channels_ = 2;
    std::size_t frameBytes_ = 4;
    std::array<float, 2 * kChunkFrames> scratch_{};
    std::atomic<std::uint64_t> framesMixed_{0};
};

} // namespace velnor
