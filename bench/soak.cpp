// The soak: races on the bundled game, back to back through one Game as the window drives it
// (start, passes, the roll-out, saving the ghost, stop), at 1 ms passes, with the autopilot, until
// the race time adds up to the hours asked for. The tick counter is started so that it wraps
// half way. At the end: the memory then and at the start, and whether the records file and the
// last ghost read back whole. Run by hand: build/velnor_soak [hours] (default 3).
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"
#include "race/ghost_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Resident memory of this process, in KiB.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    const double hours = argc > 1 ? std::atof(argv[1]) : 3.0;
    const std::int64_t totalMs = static_cast<std::int64_t>(hours * 3600 * 1000);
    char pattern[] = "/tmp/velnor-soak-XXXXXX";
    const std::string root = mkdtemp(pattern);
    std::filesystem::copy(VELNOR_DATA, root, std::filesystem::copy_options::recursive);

    // Half way through, the 32-bit millisecond counter wraps.
    velnor::ManualClock clock(static_cast<std::uint32_t>(0x100000000LL - totalMs / 2));
    velnor::RaceEvents events;
    auto game = std::make_unique<velnor::Game>(root, clock, events);
    game->scanFiles();
    velnor::KeyTable keys;
    const long memoryAtStart = residentKiB();
    const auto started = std::chrono::steady_clock::now();

    std::int64_t raceMs = 0;
    long races = 0, finished = 0, passes = 0, wraps = 0;
    std::uint32_t previousTick = clock.now();
    while (raceMs < totalMs) {
        const int car = static_cast<int>(races % game->carCatalogue.count());
        const int course = static_cast<int>((races / game->carCatalogue.count()) %
                                            game->courseCatalogue.count());
        game->setGhostEnabled(true);
        if (game->chooseCar(car, races % 2 == 0) != 0 || game->chooseCourse(course) != 0) {
            std::fprintf(stderr, "soak: cannot choose car %d or course %d\n", car, course);
            return 1;
        }
        game->startRace(640, 480);
        velnor::Autopilot autopilot;
        keys.releaseAll();
        const std::int32_t limit = 15 * 60 * 1000;
        while (game->gameState() != velnor::GameState::kTitle) {
            clock.advance(1);
            wraps += clock.now() < previousTick;
            previousTick = clock.now();
            if (game->gameState() == velnor::GameState::kRacing)
                autopilot.drive(*game, keys);
            game->runIdleWork(keys);
            ++passes;
            const bool rolledOut =
                game->gameState() == velnor::GameState::kFinished && game->playerCar.speed() == 0;
            if (rolledOut || game->playerCar.raceTime() > limit) {
                if (rolledOut) {
                    ++finished;
                    game->saveRunAsGhost();
                }
                raceMs += game->playerCar.raceTime() + velnor::Vehicle::kStartHold;
                game->stopRace();
            }
        }
        ++races;
    }

    // The files the races left must read back.
    velnor::RecordBook records;
    const int recordsRead =
        records.readRecords(game->recordsPath(), game->courseCatalogue.entries());
    int ghosts = 0;
    for (const velnor::CatalogueEntry& entry : game->courseCatalogue.entries()) {
        velnor::GhostLog log;
        log.setCourseName(entry.name);
        if (velnor::loadGhost(root, log) == 0 && log.finishTime() > 0)
            ++ghosts;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soak: %.2f h of race time in %ld races (%ld finished), %ld passes, %ld tick "
                "wrap(s), %.0f s of machine time\n",
                static_cast<double>(raceMs) / 3600000.0, races, finished, passes, wraps, seconds);
    std::printf("soak: resident memory %ld KiB at the start, %ld KiB at the end\n", memoryAtStart,
                residentKiB());
    std::printf("soak: records file read back %s; %d of %d courses have a ghost that reads back\n",
                recordsRead == 0 ? "whole" : "with errors", ghosts,
                game->courseCatalogue.count());
    std::filesystem::remove_all(root);
    return recordsRead == 0 && finished == races ? 0 : 1;
}
