#pragma once

// Measuring rendered sound in tests: whole renders and the spectrum of one channel.
#include "race/sound/engine_synth.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace velnor::test {

// `buffers` buffers of `frames` stereo frames of `state`, one after the other, interleaved.
inline std::vector<float> renderBuffers(EngineSynth& synth, const SoundState& state,
                                        std::size_t buffers, std::size_t frames) {
    std::vector<float> out(2 * buffers * frames);
    for (std::size_t b = 0; b < buffers; ++b)
        synth.render(state, out.data() + 2 * b * frames, frames);
    return out;
}

// One channel (0 left, 1 right) of interleaved stereo, every `step`-th frame from `from`.
inline std::vector<double> channel(const std::vector<float>& stereo, int which,
                                   std::size_t from = 0, std::size_t step = 1) {
    std::vector<double> out;
    for (std::size_t i = 2 * from + which; i < stereo.size(); i += 2 * step)
        out.push_back(stereo[i]);
    return out;
}

// The magnitude of the Hann-windowed Fourier sum of `x` (sampled at `rate` Hz) at `hz`.
inline double magnitudeAt(const std::vector<double>& x, double rate, double hz) {
    const double w = 2 * M_PI * hz / rate;
    double re = 0, im = 0;
    const double n = static_cast<double>(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / n);
        re += hann * x[i] * std::cos(w * static_cast<double>(i));
        im -= hann * x[i] * std::sin(w * static_cast<double>(i));
    }
    return std::hypot(re, im);
}

// The frequency (Hz) of the strongest component of `x` between `low` and `high` Hz, searched
// every `resolution` Hz.
inline double strongestFrequency(const std::vector<double>& x, double rate, double low, double high,
                                 double resolution) {
    double best = low, bestMagnitude = -1;
    for (double hz = low; hz <= high; hz += resolution) {
        const double m = magnitudeAt(x, rate, hz);
        if (m > bestMagnitude) {
            bestMagnitude = m;
            best = hz;
        }
    }
    return best;
}

inline double energy(const std::vector<double>& x) {
    double e = 0;
    for (const double v : x)
        e += v * v;
    return e;
}

} // namespace velnor::test
