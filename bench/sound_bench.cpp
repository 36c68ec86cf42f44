// The sound's cost: one second of stereo at 48 kHz, rendered in 512-frame buffers as an audio
// callback asks for it, with both engines running, the limiter's neighbourhood, a cue and the
// rumble playing. Its time over one second is the share of a core the sound takes (kept under 2%).
#include "race/sound/engine_synth.h"
#include "race/sound/sound_hand_over.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace velnor {
namespace {

void BM_RenderOneSecondOfSound(benchmark::State& bench) {
    constexpr int kRate = 48000;
    constexpr std::size_t kFrames = 512;
    EngineSynth synth(kRate);
    SoundHandOver handOver;
    std::vector<float> out(2 * kFrames);
    float rpm = 1000;
    for (auto _ : bench) {
        for (std::size_t done = 0; done < kRate; done += kFrames) {
            SoundState state;
            rpm = rpm >= 7900 ? 1000 : rpm + 40;
            state.playerGain = 1;
            state.playerRpm = rpm;
            state.playerThrottle = 1;
            state.ghostRpm = 8000 - rpm * 0.5f;
            state.ghostThrottle = 0.5f;
            state.ghostGain = 0.6f;
            state.ghostPan = 0.3f;
            state.offRoad = 1;
            handOver.publish(state);
            if (done % (kFrames * 20) == 0)
                handOver.cue(Cue::kLapChime, 0);
            synth.render(handOver, out.data(), kFrames);
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::ClobberMemory();
    }
    bench.SetLabel("per second of sound (ms / 10 = % of a core)");
}
BENCHMARK(BM_RenderOneSecondOfSound)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velnor
