#pragma once

// The race's sounds as a test hears them: a sound output that writes down what it is sent.
#include "race/sound/sound_state.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velnor::test {

// Each cue with its race time, every state (the latest whole, the player's engine pass by pass),
// and the player's controls as they were last set.
class RecordingSoundOutput final : public SoundOutput {
public:
    struct Heard {
        Cue cue;
        std::int32_t time;
    };
    void publish(const SoundState& state) override {
        last = state;
        ++states;
        maxRpm = std::max(maxRpm, state.playerRpm);
        throttles.push_back(state.playerThrottle);
    }
    void cue(Cue cue, std::int32_t time) override { cues.push_back({cue, time}); }
    void setVolume(float level) override { volume = level; }
    void setMuted(bool on) override { muted = on; }
    void setHeld(bool on) override { held = on; }

    // The race times of the cues of one kind, from the `from`-th cue on.
    std::vector<std::int32_t> timesOf(Cue cue, std::size_t from = 0) const {
        std::vector<std::int32_t> times;
        for (std::size_t i = from; i < cues.size(); ++i)
            if (cues[i].cue == cue)
                times.push_back(cues[i].time);
        return times;
    }

    std::vector<Heard> cues;
    SoundState last;
    long states = 0;
    float maxRpm = 0;
    std::vector<float> throttles; // the player's, one a state in the order sent
    float volume = -1;            // never set
    bool muted = false;
    bool held = false;
};

} // namespace velnor::test
