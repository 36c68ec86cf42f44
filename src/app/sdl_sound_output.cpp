#include "app/sdl_sound_output.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <algorithm>
#include <cstring>
#include <limits>

namespace velnor {
namespace {

SampleFormat sampleFormatOf(Uint16 format) {
    switch (format) {
    case AUDIO_S16SYS:
        return SampleFormat::kS16;
    case AUDIO_S32SYS:
        return SampleFormat::kS32;
    case AUDIO_F32SYS:
        return SampleFormat::kF32;
    default:
        return SampleFormat::kOther;
    }
}

std::size_t bytesOf(SampleFormat format) {
    return format == SampleFormat::kS16 ? 2 : 4;
}

// `value` (-1..1, and beyond where the sounds add up) added to an integer sample in place, scaled
// by its full scale and saturating at its ends. Samples are copied through memcpy: the stream's
// bytes need not be aligned for the sample's type.
template <typename Sample> void addInteger(std::uint8_t* at, float value) {
    constexpr double kLowest = std::numeric_limits<Sample>::min();
    constexpr double kHighest = std::numeric_limits<Sample>::max();
    Sample sample;
    std::memcpy(&sample, at, sizeof sample);
    const double sum = static_cast<double>(sample) + static_cast<double>(value) * kHighest;
    sample = static_cast<Sample>(std::clamp(sum, kLowest, kHighest));
    std::memcpy(at, &sample, sizeof sample);
}

void addSample(std::uint8_t* at, SampleFormat format, float value) {
    switch (format) {
    case SampleFormat::kS16:
        addInteger<std::int16_t>(at, value);
        return;
    case SampleFormat::kS32:
        addInteger<std::int32_t>(at, value);
        return;
    case SampleFormat::kF32: {
        float sample;
        std::memcpy(&sample, at, sizeof sample);
        sample += value;
        std::memcpy(at, &sample, sizeof sample);
        return;
    }
    case SampleFormat::kOther:
        return;
    }
}

} // namespace

void mixInto(const float* sound, std::size_t frames, void* stream, SampleFormat format,
             int channels) {
    if (format == SampleFormat::kOther || channels < 1)
        return;
    const std::size_t sampleBytes = bytesOf(format);
    auto* at = static_cast<std::uint8_t*>(stream);
    for (std::size_t f = 0; f < frames; ++f, at += sampleBytes * channels) {
        const float left = sound[2 * f];
        const float right = sound[2 * f + 1];
        if (channels == 1) {
            addSample(at, format, 0.5f * (left + right));
        } else {
            addSample(at, format, left);
            addSample(at + sampleBytes, format, right);
        }
    }
}

SdlSoundOutput::SdlSoundOutput() {
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || rate <= 0 || channels < 1)
        return; // no audio device: silence
    format_ = sampleFormatOf(format);
    if (format_ == SampleFormat::kOther)
        return;
    channels_ = channels;
    frameBytes_ = bytesOf(format_) * static_cast<std::size_t>(channels);
    synth_.emplace(rate);
    Mix_SetPostMix(&SdlSoundOutput::postMix, this);
}

SdlSoundOutput::~SdlSoundOutput() {
    if (synth_)
        Mix_SetPostMix(nullptr, nullptr); // under the audio lock: no callback runs after this
}

void SdlSoundOutput::postMix(void* self, std::uint8_t* stream, int bytes) {
    if (bytes > 0)
        static_cast<SdlSoundOutput*>(self)->mix(stream, static_cast<std::size_t>(bytes));
}

void SdlSoundOutput::mix(std::uint8_t* stream, std::size_t bytes) {
    std::size_t frames = bytes / frameBytes_;
    framesMixed_.fetch_add(frames, std::memory_order_relaxed);
    while (frames > 0) {
        const std::size_t chunk = std::min(frames, kChunkFrames);
        synth_->render(handOver_, scratch_.data(), chunk);
        mixInto(scratch_.data(), chunk, stream, format_, channels_);
        stream += chunk * frameBytes_;
        frames -= chunk;
    }
}

} // namespace velnor
