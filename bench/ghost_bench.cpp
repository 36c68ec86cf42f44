// The ghost measured against: the live gap's cost per racing pass beside the cost of the whole
// pass (the same race and the same keys), and the replay of a ten-lap ghost at a race's start.
//
// Gap per pass: BM_RacingPassWithGap runs the whole racing pass of an autopilot race against its
// own ghost on the test oval, with the run's own keys (the frame step, the gap, the key poll, the
// ghost's step and inputs); BM_RacingPassWithoutGap the same race with the gap tracker given no
// path (it then returns at once). The ratio of the two is the gap's price. BM_GapUpdate runs the
// gap tracker alone over the player's positions of that race.
#include "game_test_access.h"
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"
#include "race/gate_watcher.h"
#include "race/ghost_gap.h"
#include "race/ghost_run.h"
#include "race/headless_race.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

// The race fixtures in a temporary game directory, with the autopilot's three laps of the oval
// saved as its ghost, the keys of that run and the positions of the player driving them again.
struct OvalWithGhost {
    std::string root;
    velnor::RaceResult run;
    std::vector<velnor::TracePoint> trace;

    OvalWithGhost() {
        char pattern[] = "/tmp/velnor-bench-XXXXXX";
        root = mkdtemp(pattern);
        std::filesystem::copy(VELNOR_FIXTURES "/race", root,
                              std::filesystem::copy_options::recursive);
        velnor::RaceOptions options;
        options.root = root;
        options.car = "Tester";
        options.course = "Oval";
        options.autopilot = true;
        options.ghost = false;
        options.saveGhost = true;
        run = velnor::runHeadlessRace(options);
        options.autopilot = false;
        options.ghost = true;
        options.saveGhost = false;
        options.inputs.events = run.keyChanges;
        velnor::runHeadlessRace(options, &trace);
    }
    ~OvalWithGhost() { std::filesystem::remove_all(root); }
};

const OvalWithGhost& oval() {
    static const OvalWithGhost shared;
    return shared;
}

void BM_GapUpdate(benchmark::State& state) {
    const OvalWithGhost& race = oval();
    velnor::GhostLog log;
    auto clock = velnor::ManualClock(1000);
    velnor::RaceEvents events;
    auto game = std::make_unique<velnor::Game>(race.root, clock, events);
    game->scanFiles();
    game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true);
    game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
    game->setGhostEnabled(true);
    game->startRace(640, 480);
    velnor::GhostGap gap;
    gap.reset(game->ghostRun().path);
    std::size_t pass = 3000; // race time 0
    for (auto _ : state) {
        if (pass >= race.trace.size()) {
            gap.reset(game->ghostRun().path);
            pass = 3000;
        }
        const velnor::TracePoint& at = race.trace[pass];
        gap.update(at.x, at.y, static_cast<std::int32_t>(pass + 1) - 3000);
        benchmark::DoNotOptimize(gap.gap());
        ++pass;
    }
}
BENCHMARK(BM_GapUpdate)->Unit(benchmark::kNanosecond);

void racingPass(benchmark::State& state, bool withGap) {
    const OvalWithGhost& race = oval();
    velnor::ManualClock clock(1000);
    velnor::RaceEvents events;
    auto game = std::make_unique<velnor::Game>(race.root, clock, events);
    game->scanFiles();
    velnor::KeyTable keys;
    std::size_t next = 0; // the next key change of the run
    const auto start = [&] {
        clock.set(1000);
        game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true);
        game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
        game->setGhostEnabled(true);
        game->startRace(640, 480);
        if (!withGap)
            velnor::GameTestAccess::ghostGap(*game).reset({});
        keys.releaseAll();
        next = 0;
    };
    start();
    for (auto _ : state) {
        if (game->gameState() != velnor::GameState::kRacing) {
            state.PauseTiming();
            start();
            state.ResumeTiming();
        }
        clock.advance(1);
        const auto raceTime = static_cast<std::int32_t>(clock.now() - 1000 - 3000);
        while (next < race.run.keyChanges.size() && race.run.keyChanges[next].time <= raceTime) {
            keys.setDown(race.run.keyChanges[next].virtualKey, race.run.keyChanges[next].down);
            ++next;
        }
        game->runIdleWork(keys);
    }
}
void BM_RacingPassWithGap(benchmark::State& state) {
    racingPass(state, true);
}
BENCHMARK(BM_RacingPassWithGap)->Unit(benchmark::kNanosecond);
void BM_RacingPassWithoutGap(benchmark::State& state) {
    racingPass(state, false);
}
BENCHMARK(BM_RacingPassWithoutGap)->Unit(benchmark::kNanosecond);

// Ten laps of the oval by the autopilot, recorded as a ghost log: the race's own gate is moved
// off every axis after the autopilot has mapped the course (so the race never ends), and the laps
// are counted at the real gate. The autopilot's keys fill a channel's 1024 entries in the fourth
// lap: from there the log holds nothing more, and its replay drives three laps and then coasts on
// to 60 s past the last event. The replay's cost goes with the race time replayed (counters:
// recordedMs, replayedMs, and the cost per replayed ms).
struct TenLaps {
    velnor::GhostLog log;
    velnor::Vehicle car;
    velnor::StartFinishGate gate;
    std::int32_t finish = 0;
    int busiest = 0; // entries of the busiest channel (1024 at most: then it stopped recording)

    TenLaps() {
        const OvalWithGhost& race = oval();
        velnor::ManualClock clock(1000);
        velnor::RaceEvents events;
        auto game = std::make_unique<velnor::Game>(race.root, clock, events);
        game->scanFiles();
        game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true);
        game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
        game->setGhostEnabled(false);
        car = game->carCatalogue.workCar(); // the ghost car as a race against the log loads it
        game->startRace(640, 480);
        gate = game->course().gate;
        velnor::Autopilot autopilot;
        velnor::KeyTable keys;
        velnor::GateWatcher watcher;
        int laps = 0;
        while (laps < 10 && game->playerCar.raceTime() < 1200000) {
            clock.advance(1);
            autopilot.drive(*game, keys);
            game->runIdleWork(keys);
            velnor::GameTestAccess::course(*game).gate.direction = {0.5f, 0, 0};
            const velnor::Vec3& at = game->playerModel().position();
            if (watcher.crossed(gate, at[0], at[1], game->playerCar.controls().heading()))
                ++laps;
        }
        finish = game->playerCar.raceTime();
        // The recorded entries into a log at the start of its replay, as a ghost file gives it.
        const velnor::GhostLog& recorded = game->runLog();
        for (int channel = 0; channel < velnor::GhostLog::kDigitalChannels; ++channel) {
            busiest = std::max(busiest, recorded.eventCount(channel));
            for (int slot = 0; slot < recorded.eventCount(channel); ++slot)
                log.setEvent(channel, slot, recorded.eventTime(channel, slot),
                             recorded.eventState(channel, slot));
        }
        for (int channel = 0; channel < velnor::GhostLog::kAnalogChannels; ++channel)
            for (int slot = 0; slot < recorded.valueCount(channel); ++slot)
                log.setValue(channel, slot, recorded.valueTime(channel, slot),
                             recorded.value(channel, slot));
        log.setFinishTime(finish);
    }
};

void BM_ReplayTenLapGhost(benchmark::State& state) {
    static const TenLaps ten;
    velnor::GhostRun run;
    for (auto _ : state) {
        run = velnor::replayGhost(ten.log, ten.car, ten.gate, 1000, 10);
        benchmark::DoNotOptimize(run.path.data());
    }
    state.counters["recordedMs"] = ten.finish;
    state.counters["replayedMs"] = run.path.empty() ? 0 : run.path.back().time;
    state.counters["replayedLaps"] = run.laps.completedLaps();
    state.counters["busiestChannel"] = ten.busiest;
    state.counters["nsPerReplayedMs"] = benchmark::Counter(
        run.path.empty() ? 0 : static_cast<double>(state.iterations()) * run.path.back().time,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReplayTenLapGhost)->Unit(benchmark::kMillisecond);

} // namespace
