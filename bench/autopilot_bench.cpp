// What the autopilot costs beside the pass it drives, on the window's schedule (a pass every
// millisecond) on the test oval: the same race twice, once with the autopilot choosing the keys
// (BM_PassWithAutopilot) and once replaying the keys it chose (BM_PassAlone). The autopilot's
// cost is the difference of the two times; the ratio autopilot / pass is that over the pass
// alone. Its mapping of the course at the start of each race counts in it.
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"

#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr std::array<int, 6> kKeys = {velnor::vk::kX,     velnor::vk::kZ,  velnor::vk::kLeft,
                                      velnor::vk::kRight, velnor::vk::kUp, velnor::vk::kDown};

struct Oval {
    Oval() {
        char pattern[] = "/tmp/velnor-bench-XXXXXX";
        root = mkdtemp(pattern);
        std::filesystem::copy(VELNOR_FIXTURES "/race", root,
                              std::filesystem::copy_options::recursive);
        game = std::make_unique<velnor::Game>(root, clock, events);
        game->scanFiles();
    }
    ~Oval() { std::filesystem::remove_all(root); }
    void start() {
        game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true);
        game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
        game->setGhostEnabled(false);
        game->startRace(640, 480);
    }
    std::string root;
    velnor::ManualClock clock{1000};
    velnor::RaceEvents events;
    std::unique_ptr<velnor::Game> game;
};

// The keys of every pass of one race, as the autopilot held them.
std::vector<std::array<bool, 6>> keysOfOneRace() {
    Oval oval;
    oval.start();
    velnor::Autopilot autopilot;
    velnor::KeyTable keys;
    std::vector<std::array<bool, 6>> held;
    while (oval.game->gameState() == velnor::GameState::kRacing) {
        oval.clock.advance(1);
        autopilot.drive(*oval.game, keys);
        std::array<bool, 6> now{};
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            now[k] = keys.isDown(kKeys[k]);
        held.push_back(now);
        oval.game->runIdleWork(keys);
    }
    return held;
}

void BM_PassAlone(benchmark::State& state) {
    const std::vector<std::array<bool, 6>> held = keysOfOneRace();
    Oval oval;
    oval.start();
    velnor::KeyTable keys;
    std::size_t pass = 0;
    for (auto _ : state) {
        if (pass == held.size()) {
            state.PauseTiming();
            oval.start();
            pass = 0;
            state.ResumeTiming();
        }
        oval.clock.advance(1);
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            keys.setDown(kKeys[k], held[pass][k]);
        oval.game->runIdleWork(keys);
        ++pass;
    }
    state.counters["passNs"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PassAlone)->Unit(benchmark::kNanosecond);

void BM_PassWithAutopilot(benchmark::State& state) {
    Oval oval;
    oval.start();
    auto autopilot = std::make_unique<velnor::Autopilot>();
    velnor::KeyTable keys;
    for (auto _ : state) {
        if (oval.game->gameState() != velnor::GameState::kRacing) {
            state.PauseTiming();
            oval.start();
            autopilot = std::make_unique<velnor::Autopilot>();
            state.ResumeTiming();
        }
        oval.clock.advance(1);
        autopilot->drive(*oval.game, keys);
        oval.game->runIdleWork(keys);
    }
    state.counters["passNs"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PassWithAutopilot)->Unit(benchmark::kNanosecond);

} // namespace
