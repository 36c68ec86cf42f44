// The synthesiser: the engine's pitch at its firing frequency, a sweep without clicks, the rev
// limiter's cut, silence when it must be silent, the hold that keeps its place, the ghost's pan.
#include "race/sound/engine_synth.h"
#include "race/sound/sound_test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velnor {
namespace {

using test::channel;
using test::energy;
using test::renderBuffers;

SoundState engineAt(float rpm, float throttle) {
    SoundState state;
    state.playerGain = 1;
    state.playerRpm = rpm;
    state.playerThrottle = throttle;
    return state;
}

// The strongest component between 15 and 600 Hz: every Hz, then every 0.02 Hz around the best.
double fundamentalOf(const std::vector<double>& x, double rate) {
    const double coarse = test::strongestFrequency(x, rate, 15, 600, 1.0);
    return test::strongestFrequency(x, rate, coarse - 1, coarse + 1, 0.02);
}

double largestStep(const std::vector<double>& x) {
    double step = 0;
    for (std::size_t i = 1; i < x.size(); ++i)
        step = std::max(step, std::abs(x[i] - x[i - 1]));
    return step;
}

// A four-stroke four-cylinder engine fires twice a turn: 1000 rpm is 33.3 Hz, 3000 rpm 100 Hz,
// 7000 rpm 233.3 Hz. One second at each, in buffers of an audio callback's sizes; at 48 kHz the
// spectrum is taken of every sixth sample (the harmonics all lie below 4 kHz).
TEST(EngineSynthTest, TheEngineSoundsAtItsFiringFrequency) {
    struct Case {
        float rpm;
        float throttle;
        int rate;
        std::size_t frames;
        double hz;
    };
    const Case cases[] = {{1000, 0, 8000, 100, 33.333},  {3000, 0.5f, 8000, 80, 100.0},
                          {7000, 1, 8000, 128, 233.333}, {1000, 1, 48000, 512, 33.333},
                          {3000, 1, 48000, 480, 100.0},  {7000, 0, 48000, 256, 233.333}};
    for (const Case& c : cases) {
        EngineSynth synth(c.rate);
        const std::size_t buffers = static_cast<std::size_t>(c.rate) / c.frames;
        const auto out = renderBuffers(synth, engineAt(c.rpm, c.throttle), buffers, c.frames);
        const std::size_t step = c.rate == 48000 ? 6 : 1;
        const double hz =
            fundamentalOf(channel(out, 0, 0, step), c.rate / static_cast<double>(step));
        EXPECT_NEAR(hz, c.hz, c.hz * 0.02) << c.rpm << " rpm at " << c.rate << " Hz";
    }
}

// The pitch glides with the engine: a sweep from 1000 to 7000 rpm in small buffers, and the
// accelerator jumping between rest and full at every buffer, change the signal by no more from one
// sample to the next than a steady full-throttle tone at the sweep's top does on its own.
TEST(EngineSynthTest, NoJumpInTheStateClicks) {
    constexpr int kRate = 48000;
    constexpr std::size_t kFrames = 64;
    EngineSynth steady(kRate);
    const double ownStep =
        largestStep(channel(renderBuffers(steady, engineAt(7000, 1), 750, kFrames), 0, kFrames));

    EngineSynth sweep(kRate);
    std::vector<float> swept(2 * kFrames);
    double sweepStep = 0, toggleStep = 0;
    double last = 0;
    for (int b = 0; b < 1500; ++b) { // 2 s, rising 6000 rpm in steps of 4 rpm per buffer
        sweep.render(engineAt(1000.0f + 4.0f * static_cast<float>(b), 1), swept.data(), kFrames);
        for (std::size_t i = 0; i < kFrames; ++i) {
            if (b > 0 || i > 0)
                sweepStep = std::max(sweepStep, std::abs(swept[2 * i] - last));
            last = swept[2 * i];
        }
    }
    EngineSynth toggling(kRate);
    for (int b = 0; b < 750; ++b) {
        toggling.render(engineAt(7000, static_cast<float>(b % 2)), swept.data(), kFrames);
        for (std::size_t i = 0; i < kFrames; ++i) {
            if (b > 0 || i > 0)
                toggleStep = std::max(toggleStep, std::abs(swept[2 * i] - last));
            last = swept[2 * i];
        }
    }
    EXPECT_GT(ownStep, 0.0);
    EXPECT_LE(sweepStep, ownStep * 1.01);
    EXPECT_LE(toggleStep, ownStep * 1.01);
}

// The share of a channel's energy in its quietest and loudest 5 ms of a second.
std::pair<double, double> quietestAndLoudest(const std::vector<double>& x, std::size_t window) {
    double low = 1e300, high = 0;
    for (std::size_t start = 0; start + window <= x.size(); start += window) {
        const std::vector<double> part(x.begin() + static_cast<std::ptrdiff_t>(start),
                                       x.begin() + static_cast<std::ptrdiff_t>(start + window));
        low = std::min(low, energy(part));
        high = std::max(high, energy(part));
    }
    return {low, high};
}

// At the car's limit the limiter cuts the engine in short bursts; just below it the engine sounds
// on unbroken.
TEST(EngineSynthTest, TheRevLimiterIsHeardAtTheLimitOnly) {
    struct Case {
        float rpm;
        bool cut;
    };
    for (const Case c : {Case{7990, false}, Case{8000, true}, Case{8000.5f, true}}) {
        EngineSynth synth(48000);
        SoundState state = engineAt(c.rpm, 1);
        state.limitRpm = 8000;
        const auto out = channel(renderBuffers(synth, state, 100, 480), 0, 4800);
        const auto [low, high] = quietestAndLoudest(out, 240);
        if (c.cut)
            EXPECT_LT(low, 0.05 * high) << c.rpm;
        else
            EXPECT_GT(low, 0.5 * high) << c.rpm;
    }
}

// The accelerator makes the engine louder and richer in harmonics (the second harmonic against the
// fundamental at 3000 rpm: 200 Hz against 100 Hz).
TEST(EngineSynthTest, TheAcceleratorMakesItLouderAndHarsher) {
    const auto measure = [](float throttle) {
        EngineSynth synth(8000);
        const auto x = channel(renderBuffers(synth, engineAt(3000, throttle), 100, 80), 0, 800);
        return std::pair{energy(x),
                         test::magnitudeAt(x, 8000, 200) / test::magnitudeAt(x, 8000, 100)};
    };
    const auto [restEnergy, restHarmonic] = measure(0);
    const auto [fullEnergy, fullHarmonic] = measure(1);
    EXPECT_GT(fullEnergy, 2.0 * restEnergy);
    EXPECT_GT(fullHarmonic, 2.0 * restHarmonic);
}

// Off the road a rumble is heard: noise so low that each sample nearly repeats the one before
// (white noise would not), coming and going without a click; the rumble alone is the render with
// it less the render without it.
TEST(EngineSynthTest, OffTheRoadARumbleComesAndGoes) {
    EngineSynth with(48000), without(48000);
    std::vector<double> rumble;
    for (int b = 0; b < 300; ++b) { // on 1 s, off 1 s, on 1 s in 480-frame buffers
        SoundState state = engineAt(2000, 0.3f);
        const auto quiet = renderBuffers(without, state, 1, 480);
        state.offRoad = (b / 100) % 2 == 0 ? 1u : 0u;
        const auto heard = renderBuffers(with, state, 1, 480);
        for (std::size_t i = 0; i < heard.size(); i += 2)
            rumble.push_back(static_cast<double>(heard[i]) - quiet[i]);
    }
    const std::vector<double> steady(rumble.begin() + 24000, rumble.begin() + 48000);
    double lagged = 0;
    for (std::size_t i = 1; i < steady.size(); ++i)
        lagged += steady[i] * steady[i - 1];
    EXPECT_GT(energy(steady) / static_cast<double>(steady.size()), 1e-4); // heard
    EXPECT_GT(lagged / energy(steady), 0.99);
    const std::vector<double> off(rumble.begin() + 48000 + 14400, rumble.begin() + 96000);
    EXPECT_LT(energy(off), 1e-6 * energy(steady)); // gone
    EXPECT_LE(largestStep(rumble), 1.5 * largestStep(steady));
}

// A cue alone (the render with it less the render without): its pitch in its first 0.15 s, and
// whether anything of it is left after 1.2 s.
std::pair<double, double> cueAlone(Cue cue) {
    EngineSynth with(8000), without(8000);
    with.play(cue);
    const SoundState state = engineAt(1500, 0);
    const auto a = renderBuffers(with, state, 150, 80);
    const auto b = renderBuffers(without, state, 150, 80);
    std::vector<double> alone;
    for (std::size_t i = 0; i < a.size(); i += 2)
        alone.push_back(static_cast<double>(a[i]) - b[i]);
    const std::vector<double> start(alone.begin(), alone.begin() + 1200);
    const std::vector<double> after(alone.begin() + 9600, alone.end());
    return {test::strongestFrequency(start, 8000, 300, 3000, 5), energy(after)};
}

// The count's beep, the higher GO, the lap's chime and the finish's: each heard, each ended within
// a second and a fifth, GO above the count, the chime and the finish not the count's.
TEST(EngineSynthTest, TheCuesAreShortAndTellApart) {
    const auto [count, countLeft] = cueAlone(Cue::kCountBeep);
    const auto [go, goLeft] = cueAlone(Cue::kGoBeep);
    const auto [lap, lapLeft] = cueAlone(Cue::kLapChime);
    const auto [finish, finishLeft] = cueAlone(Cue::kFinish);
    EXPECT_GT(go, 1.5 * count);
    EXPECT_GT(std::abs(lap - count), 50.0);
    EXPECT_GT(std::abs(finish - lap), 50.0);
    for (const double left : {countLeft, goLeft, lapLeft, finishLeft})
        EXPECT_LT(left, 1e-9);
}

bool silent(const std::vector<float>& x) {
    return std::all_of(x.begin(), x.end(), [](float v) { return v == 0.0f; });
}

// Zero volume, mute and the hold are exact silence, with both engines, a cue and the rumble going;
// the same with none of them is not. Volume and mute fade out over one buffer (no click); the
// hold silences at once.
TEST(EngineSynthTest, SilenceIsExact) {
    struct Case {
        const char* name;
        float volume;
        bool muted;
        bool held;
        bool silent;
    };
    const Case cases[] = {{"heard", 1, false, false, false},
                          {"quiet", 0.01f, false, false, false},
                          {"zero volume", 0, false, false, true},
                          {"muted", 1, true, false, true},
                          {"held", 1, false, true, true}};
    SoundState state = engineAt(5000, 1);
    state.ghostRpm = 4000;
    state.ghostGain = 1;
    state.offRoad = 1;
    for (const Case& c : cases) {
        EngineSynth synth(48000);
        synth.play(Cue::kFinish);
        renderBuffers(synth, state, 4, 256);
        synth.setVolume(c.volume);
        synth.setMuted(c.muted);
        synth.setHeld(c.held);
        if (!c.held)
            renderBuffers(synth, state, 1, 256); // the fade
        EXPECT_EQ(silent(renderBuffers(synth, state, 8, 256)), c.silent) << c.name;
    }
    EngineSynth fresh(48000);
    fresh.setVolume(0);
    fresh.play(Cue::kGoBeep);
    EXPECT_TRUE(silent(renderBuffers(fresh, state, 8, 256)));
    // At the title (no race: no engine, no ghost, no rumble) the engines are not heard idling.
    EngineSynth title(48000);
    EXPECT_TRUE(silent(renderBuffers(title, SoundState{}, 8, 256)));
}

// After a hold the engines and a chime go on where they were: once the fade-in buffer is over,
// the sound is the same, sample for sample, as if there had been no hold.
TEST(EngineSynthTest, AHoldKeepsThePlace) {
    const SoundState state = engineAt(4321, 0.7f);
    EngineSynth straight(48000), paused(48000);
    renderBuffers(straight, state, 10, 300);
    renderBuffers(paused, state, 10, 300);
    straight.play(Cue::kLapChime);
    paused.play(Cue::kLapChime);
    renderBuffers(straight, state, 1, 300);
    renderBuffers(paused, state, 1, 300);
    paused.setHeld(true);
    EXPECT_TRUE(silent(renderBuffers(paused, state, 7, 300)));
    paused.setHeld(false);
    // The fade-in: the straight run's buffer scaled by a ramp from 1/300 to 1.
    const auto fadeIn = renderBuffers(paused, state, 1, 300);
    const auto same = renderBuffers(straight, state, 1, 300);
    EXPECT_FALSE(silent(fadeIn));
    for (std::size_t i = 0; i < fadeIn.size(); ++i)
        ASSERT_NEAR(fadeIn[i], same[i] * static_cast<float>(i / 2 + 1) / 300.0f, 1e-6) << i;
    EXPECT_EQ(renderBuffers(paused, state, 5, 300), renderBuffers(straight, state, 5, 300));
}

// The ghost's share of the left channel's energy, cos^2((pan + 1) pi / 4), and the sum of both
// channels the same wherever it is (constant power). The ghost alone: the render with it less the
// render without it.
TEST(EngineSynthTest, TheGhostIsHeardFromItsSide) {
    struct Case {
        float pan;
        double leftShare;
    };
    const Case cases[] = {{-1, 1.0},        {-0.5f, 0.853553}, {0, 0.5},
                          {0.5f, 0.146447}, {1, 0.0},          {3, 0.0}};
    double firstTotal = 0;
    for (const Case& c : cases) {
        SoundState with = engineAt(3000, 0.5f);
        with.ghostRpm = 5000;
        with.ghostThrottle = 1;
        with.ghostGain = 1;
        with.ghostPan = c.pan;
        SoundState without = with;
        without.ghostGain = 0;
        EngineSynth a(48000), b(48000);
        const auto on = renderBuffers(a, with, 50, 480);
        const auto off = renderBuffers(b, without, 50, 480);
        std::vector<float> ghost(on.size());
        for (std::size_t i = 0; i < on.size(); ++i)
            ghost[i] = on[i] - off[i];
        const double left = energy(channel(ghost, 0, 480));
        const double right = energy(channel(ghost, 1, 480));
        EXPECT_NEAR(left / (left + right), c.leftShare, 0.01) << c.pan;
        if (firstTotal == 0)
            firstTotal = left + right;
        EXPECT_NEAR(left + right, firstTotal, firstTotal * 0.02) << c.pan;
    }
}

} // namespace
} // namespace velnor
