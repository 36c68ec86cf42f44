#include "race/headless_race.h"

#include "platform/key_state.h"
#include "platform/pass_pacer.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"

#include <memory>

namespace velnor {
namespace {

// Keeps what the window would show: here only whether the records file was written.
class QuietEvents final : public RaceEvents {};

CarState stateOf(const Vehicle& car, const CarModel& model) {
    return {model.position()[0], model.position()[1], car.controls().heading(),
            car.speed(),         car.distance(),      car.controls().gearIndex() + 1};
}

int countPresses(const GhostLog& log, int channel) {
    int presses = 0;
    for (int slot = 0; slot < log.eventCount(channel); ++slot)
        presses += log.eventState(channel, slot) == 1;
    return presses;
}

// The car and the course of `options` chosen in `game`; false (with `result.error`) when either
// is not listed or cannot be read.
bool chooseCarAndCourse(Game& game, const RaceOptions& options, RaceResult& result) {
    const int carIndex = game.carCatalogue.indexOfCar(options.car);
    const bool carNeeded = !options.watch || !options.car.empty(); // watching needs none
    if (carNeeded && (carIndex < 0 || game.chooseCar(carIndex, !options.manual) != 0)) {
        result.error = carIndex < 0 ? "no car named \"" + options.car + "\""
                                    : std::string(game.carCatalogue.entry(carIndex).path) +
                                          ": cannot read the car \"" + options.car + "\"";
        return false;
    }
    const int courseIndex = game.courseCatalogue.indexOfCourse(options.course);
    if (courseIndex < 0 || game.chooseCourse(courseIndex) != 0) {
        result.error = courseIndex < 0 ? "no course named \"" + options.course + "\""
                                       : std::string(game.courseCatalogue.entry(courseIndex).path) +
                                             ": cannot read the course \"" + options.course + "\"";
        return false;
    }
    return true;
}

// The race (or the watching) of `options` started in `game` as the window starts it; false
// (with `result.error`) when it cannot be.
bool start(Game& game, const RaceOptions& options, RaceResult& result) {
    if (!chooseCarAndCourse(game, options, result))
        return false;
    game.setGhostEnabled(options.ghost);
    if (!options.watch) {
        game.startRace(640, 480);
    } else if (game.startWatching(640, 480) != 0) {
        result.error = "the course \"" + options.course + "\" has no ghost to watch";
        return false;
    }
    return true;
}

// The race's outcome as the game leaves it: laps, places, where the car and the ghost are.
void readOutcome(const Game& game, RaceResult& result) {
    for (int lap = 0; lap < game.raceClock().completedLaps() && lap < LapCounter::kMaxLaps; ++lap)
        result.laps.push_back(game.raceClock().lapTime(lap));
    if (result.finished) {
        result.totalTime = game.raceClock().totalTime();
        result.finishRank = game.finishRank();
        result.recordsWritten = game.recordsWritten();
    }
    result.raceTime = game.playerCar.raceTime();
    result.car = stateOf(game.playerCar, game.playerModel());
    result.offRoad = countPresses(game.runLog(), GhostLog::kOffRoad);
    result.ghostRaced = game.ghostEnabled() != 0;
    if (result.ghostRaced) {
        result.ghostCarName = game.ghostCar().spec().carname();
        result.ghost = stateOf(game.ghostCar(), game.ghostModel());
    }
}

// The driving keys that `keys` holds otherwise than `held`, written down at `raceTime`; `held`
// then follows.
void noteKeyChanges(const KeyTable& keys, KeyTable& held, std::int32_t raceTime,
                    std::vector<InputEvent>& changes) {
    for (const int key : vk::kDrivingKeys) {
        if (keys.isDown(key) == held.isDown(key))
            continue;
        changes.push_back({raceTime, key, keys.isDown(key)});
        held.setDown(key, keys.isDown(key));
    }
}

} // namespace

RaceResult runHeadlessRace(const RaceOptions& options, std::vector<TracePoint>* trace) {
    RaceResult result;
    ManualClock clock(options.startTick);
    QuietEvents events;
    auto game = std::make_unique<Game>(options.root, clock, events);
    game->scanFiles();
    if (!start(*game, options, result))
        return result;

    // The script's keys at their ticks: the start hold ends at race time 0.
    PassPacer pacer;
    pacer.reset(clock.now());
    const std::uint32_t raceZero = game->playerCar.startTick() + Vehicle::kStartHold;
    for (const InputEvent& input : options.inputs.events)
        pacer.queueKey(raceZero + static_cast<std::uint32_t>(input.time), input.virtualKey,
                       input.down);
    KeyTable keys;
    KeyTable held; // as the last pass left them
    Autopilot autopilot;
    const auto pass = [&] {
        pacer.nextPass(pacer.lastTick() + 1, keys);
        clock.set(pacer.lastTick());
        if (game->gameState() == GameState::kRacing && !options.watch) {
            if (options.autopilot)
                autopilot.drive(*game, keys);
            noteKeyChanges(keys, held, static_cast<std::int32_t>(pacer.lastTick() - raceZero),
                           result.keyChanges);
        }
        game->runIdleWork(keys);
        ++result.passes;
        if (trace) {
            const Vec3& at = game->playerModel().position();
            const Vec3& ghost = game->ghostModel().position();
            const bool raced = game->ghostEnabled() != 0;
            trace->push_back({at[0], at[1], game->playerCar.speed(), raced ? ghost[0] : 0.0f,
                              raced ? ghost[1] : 0.0f});
        }
    };
    const auto timeUp = [&] {
        const std::int32_t t = game->playerCar.raceTime();
        return t >= options.timeoutMs || (options.untilMs && t >= *options.untilMs);
    };

    while (game->gameState() == GameState::kRacing && !timeUp()) {
        pass();
        if (options.autopilot && autopilot.gaveUp()) { // a course it cannot drive: say why
            result.error = Autopilot::troubleText(autopilot.trouble());
            readOutcome(*game, result);
            return result;
        }
    }
    result.finished = game->gameState() == GameState::kFinished;
    while (result.finished && game->playerCar.speed() > 0 && !timeUp())
        pass(); // the roll-out under full brake

    readOutcome(*game, result);
    if (result.finished && options.saveGhost)
        result.ghostSaved = game->saveRunAsGhost() == 0;
    return result;
}

} // namespace velnor
