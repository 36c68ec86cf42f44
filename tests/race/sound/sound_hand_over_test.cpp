// The hand-over between the game thread and the audio thread, hammered by both at once: a state
// is read whole or not at all, the cues arrive in their order, none lost unaccounted.
#include "race/sound/engine_synth.h"
#include "race/sound/sound_hand_over.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace velnor {
namespace {

// Every field of publication `n` follows from `n` (all exact in a float below 2^24).
SoundState stateNumber(std::uint32_t n) {
    SoundState s;
    const float f = static_cast<float>(n);
    s.playerGain = f + 4;
    s.playerRpm = f;
    s.playerThrottle = f * 0.5f;
    s.ghostRpm = f + 1;
    s.ghostThrottle = f + 2;
    s.ghostPan = -f;
    s.ghostGain = f + 3;
    s.limitRpm = f * 2;
    s.offRoad = n;
    return s;
}

TEST(SoundHandOverTest, NothingIsReadBeforeTheFirstState) {
    SoundHandOver handOver;
    SoundState state = stateNumber(7);
    EXPECT_FALSE(handOver.read(state));
    EXPECT_EQ(state.offRoad, 7u);
    Cue cue{};
    EXPECT_FALSE(handOver.takeCue(cue));
    handOver.publish(stateNumber(9));
    ASSERT_TRUE(handOver.read(state));
    EXPECT_EQ(state.offRoad, 9u);
    EXPECT_EQ(state.ghostPan, -9.0f);
}

TEST(SoundHandOverTest, AFullRingDropsTheNewCues) {
    SoundHandOver handOver;
    for (std::size_t i = 0; i < SoundHandOver::kCueSlots + 3; ++i)
        handOver.cue(i % 2 ? Cue::kLapChime : Cue::kCountBeep, 0);
    EXPECT_EQ(handOver.droppedCues(), 3u);
    Cue cue{};
    for (std::size_t i = 0; i < SoundHandOver::kCueSlots; ++i) {
        ASSERT_TRUE(handOver.takeCue(cue));
        EXPECT_EQ(cue, i % 2 ? Cue::kLapChime : Cue::kCountBeep);
    }
    EXPECT_FALSE(handOver.takeCue(cue));
}

// The game thread publishes 300000 states and pushes 200000 cues in a fixed cycle; the audio
// thread reads and takes all the while. Every state read is one publication whole, never older
// than the one before; the cues come in their cycle, and those taken and those dropped make the
// whole.
TEST(SoundHandOverTest, TwoThreadsNeverTearAState) {
    constexpr std::uint32_t kStates = 300000;
    constexpr std::uint32_t kCues = 200000;
    SoundHandOver handOver;
    std::atomic<bool> done{false};
    std::uint32_t torn = 0, backwards = 0, reads = 0, outOfOrder = 0, taken = 0;
    std::thread audio([&] {
        std::uint32_t last = 0, expected = 0;
        bool finished = false;
        while (!finished) {
            finished = done.load(std::memory_order_acquire);
            SoundState s;
            if (handOver.read(s)) {
                ++reads;
                const SoundState should = stateNumber(s.offRoad);
                torn += std::memcmp(&s, &should, sizeof s) != 0;
                backwards += s.offRoad < last;
                last = s.offRoad;
            }
            Cue cue{};
            while (handOver.takeCue(cue)) {
                outOfOrder += static_cast<std::uint32_t>(cue) != expected % 6;
                expected = static_cast<std::uint32_t>(cue) + 1;
                ++taken;
            }
        }
    });
    std::uint32_t pushed = 0;
    for (std::uint32_t n = 1; n <= kStates; ++n) {
        handOver.publish(stateNumber(n));
        if (pushed < kCues) { // a dropped cue is pushed again, so that the cycle stays whole
            const std::uint32_t dropped = handOver.droppedCues();
            handOver.cue(static_cast<Cue>(pushed % 6), 0);
            pushed += handOver.droppedCues() == dropped;
        }
    }
    while (pushed < kCues) {
        const std::uint32_t dropped = handOver.droppedCues();
        handOver.cue(static_cast<Cue>(pushed % 6), 0);
        pushed += handOver.droppedCues() == dropped;
    }
    done.store(true, std::memory_order_release);
    audio.join();
    EXPECT_GT(reads, 0u);
    EXPECT_EQ(torn, 0u);
    EXPECT_EQ(backwards, 0u);
    EXPECT_EQ(outOfOrder, 0u);
    EXPECT_EQ(taken, kCues);
}

// The synthesiser plays what the hand-over brings: nothing published and no cue is the engine at
// its idle; a cue taken from the ring is heard.
TEST(SoundHandOverTest, TheSynthesiserPlaysTheCuesHandedOver) {
    SoundHandOver quiet, beeping;
    beeping.cue(Cue::kGoBeep, 0);
    EngineSynth a(48000), b(48000);
    std::vector<float> x(2 * 512), y(2 * 512);
    for (int i = 0; i < 4; ++i) {
        a.render(quiet, x.data(), 512);
        b.render(beeping, y.data(), 512);
    }
    EXPECT_NE(x, y);
    Cue cue{};
    EXPECT_FALSE(beeping.takeCue(cue));
}

// The player's controls reach the synthesiser through the hand-over: zero volume and mute are
// silence; held is silence that leaves the cues waiting in the ring until the hold ends.
TEST(SoundHandOverTest, TheControlsGoThroughTheHandOver) {
    struct Case {
        const char* name;
        float volume;
        bool muted;
        bool held;
        bool silent;
        bool cueWaits;
    };
    const Case cases[] = {{"heard", 1, false, false, false, false},
                          {"zero volume", 0, false, false, true, false},
                          {"muted", 0.5f, true, false, true, false},
                          {"held", 1, false, true, true, true}};
    for (const Case& c : cases) {
        SoundHandOver handOver;
        SoundState state;
        state.playerGain = 1;
        state.playerRpm = 3000;
        handOver.publish(state);
        handOver.setVolume(c.volume);
        handOver.setMuted(c.muted);
        handOver.setHeld(c.held);
        handOver.cue(Cue::kLapChime, 0);
        EngineSynth synth(48000);
        std::vector<float> out(2 * 256);
        synth.render(handOver, out.data(), 256);
        const bool silent = std::all_of(out.begin(), out.end(), [](float v) { return v == 0; });
        EXPECT_EQ(silent, c.silent) << c.name;
        Cue cue{};
        EXPECT_EQ(handOver.takeCue(cue), c.cueWaits) << c.name;
    }
}

} // namespace
} // namespace velnor
