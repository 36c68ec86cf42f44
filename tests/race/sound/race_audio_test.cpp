// A whole race heard as an audio device hears it: the race's sounds go through the hand-over to a
// synthesiser that renders each pass's millisecond, as the audio thread would take it. The cues
// are found in the sound itself: a second synthesiser renders the same race without them, and
// where the two recordings part is where a cue sounds.
#include "race/headless_race.h"
#include "race/sound/engine_synth.h"
#include "race/sound/sound_hand_over.h"
#include "test_dir.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numeric>

namespace velnor {
namespace {

constexpr int kRate = 48000;
constexpr std::size_t kFramesAPass = kRate / 1000; // one pass is a millisecond

// The fake audio output. After every pass (its state published) both synthesisers render that
// pass's millisecond; a sound in one that the other lacks, after at least 20 ms in which the two
// were the same, is a cue beginning: the pass it began on is written down.
class TwoRecordings final : public SoundSink {
public:
    void publish(const SoundState& state) override {
        withCues_.publish(state);
        withoutCues_.publish(state);
        std::array<float, 2 * kFramesAPass> heard{}, plain{};
        synth_.render(withCues_, heard.data(), kFramesAPass);
        plainSynth_.render(withoutCues_, plain.data(), kFramesAPass);
        for (std::size_t i = 0; i < heard.size(); ++i) {
            if (heard[i] == plain[i]) {
                ++sameFor_;
                continue;
            }
            if (sameFor_ >= 2 * 20 * kFramesAPass)
                onsets.push_back(pass_);
            sameFor_ = 0;
        }
        ++pass_;
    }
    void cue(Cue cue, std::int32_t raceTime) override { withCues_.cue(cue, raceTime); }

    std::vector<long> onsets; // the passes (0: the race's first) a cue began to sound on

private:
    SoundHandOver withCues_;
    SoundHandOver withoutCues_;
    EngineSynth synth_{kRate};
    EngineSynth plainSynth_{kRate};
    long pass_ = 0;
    std::size_t sameFor_ = 1u << 30; // the race starts after silence
};

// The autopilot's race on the oval, the clock from tick 1000: the first pass is at race time
// -2999, so the pass at race time t is pass t + 2999. Heard: the first count on the first pass,
// then -2000, -1000, GO at 0, a chime at each lap line and the finish, each on its pass.
TEST(RaceAudioTest, TheCuesSoundOnTheirPassesThroughTheHandOver) {
    test::TempDir dir;
    std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                          std::filesystem::copy_options::recursive);
    RaceOptions options;
    options.root = dir.path();
    options.car = "Tester";
    options.course = "Oval";
    options.autopilot = true;
    TwoRecordings output;
    options.sound = &output;
    const RaceResult race = runHeadlessRace(options);
    ASSERT_TRUE(race.finished) << race.error;
    ASSERT_EQ(race.laps.size(), 3u);
    ASSERT_EQ(race.offRoad, 0); // no rumble to tell apart from the cues

    std::vector<long> expected = {0, -2000 + 2999, -1000 + 2999, 0 + 2999};
    std::int32_t line = 0;
    for (const std::int32_t lap : race.laps) {
        line += lap;
        expected.push_back(line + 2999);
    }
    EXPECT_EQ(output.onsets, expected);
}

} // namespace
} // namespace velnor
