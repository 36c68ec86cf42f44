// One pass of the racing state with a ghost: the frame step (motion, the on-road test of 50
// pieces, the gate), the key poll with its logging, the ghost's step and its inputs.
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

void BM_RacingPassWithGhost(benchmark::State& state) {
    // The test oval, its test car and a ghost recorded there by the autopilot.
    char pattern[] = "/tmp/velnor-bench-XXXXXX";
    const std::string root = mkdtemp(pattern);
    std::filesystem::copy(VELNOR_FIXTURES "/race", root, std::filesystem::copy_options::recursive);
    velnor::ManualClock clock(1000);
    velnor::RaceEvents events;
    auto game = std::make_unique<velnor::Game>(root, clock, events);
    game->scanFiles();
    game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true);
    game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
    velnor::KeyTable keys;
    {
        velnor::Autopilot autopilot;
        game->setGhostEnabled(false);
        game->startRace(640, 480);
        while (game->playerCar.raceTime() < 60000) {
            clock.advance(10);
            autopilot.drive(*game, keys);
            game->runIdleWork(keys);
        }
        game->saveRunAsGhost();
        game->stopRace();
    }

    // The player holds the accelerator down the straight; the ghost drives its lap.
    game->chooseCar(game->carCatalogue.indexOfCar("Tester"), true);
    game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
    game->setGhostEnabled(true);
    game->startRace(640, 480);
    keys.releaseAll();
    keys.setDown(velnor::vk::kX, true);
    for (auto _ : state) {
        clock.advance(1);
        game->runIdleWork(keys);
        if (game->ghostCar().raceTime() > 50000) { // start again before the ghost's log runs out
            state.PauseTiming();
            game->chooseCourse(game->courseCatalogue.indexOfCourse("Oval"));
            game->startRace(640, 480);
            state.ResumeTiming();
        }
    }
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_RacingPassWithGhost);

} // namespace
