#include "race/headless_race.h"

#include "platform/hand_steady_clock.h"
#include "platform/key_state.h"
#include "platform/pass_pacer.h"
#include "platform/tick_clock.h"
#include "race/autopilot.h"
#include "race/game.h"
#include "race/sound/race_sound_cues.h"

#include <memory>
#include <optional>

namespace velnor {
namespace {

// Shows nothing, as the window would show it; passes the lap line and the finish on to the
// race's sounds when they are listened to.
class QuietEvents final : public RaceEvents {
public:
    void hear(RaceSoundCues* sounds, const Game* game) {
        sounds_ = sounds;
        game_ = game;
    }
    void raceStarted() override {
        if (sounds_)
            sounds_->raceStarted();
    }
    void lapCompleted(const LapCounter& /*raceClock*/) override {
        if (sounds_)
            sounds_->lapCompleted(*game_);
    }
    void raceFinished(const LapCounter& /*raceClock*/, int /*finishRank*/) override {
        if (sounds_)
            sounds_->raceFinished(*game_);
    }

private:
    RaceSoundCues* sounds_ = nullptr;
    const Game* game_ = nullptr;
};

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
        const LapCounter& laps = game.ghostRun().laps;
        for (int lap = 0; lap < laps.completedLaps() && lap < LapCounter::kMaxLaps; ++lap)
            result.ghostLaps.push_back(laps.lapTime(lap));
        result.ghostTotal = game.ghostRun().finished ? laps.totalTime() : 0;
        result.ghostStatedFinish = game.ghostLog().finishTime();
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

// The loop of a headless race as the window runs it: the wall goes on a millisecond at a time,
// the game's clock with it except while a pause holds it, and every pass due by the game's clock
// runs, each with the key changes that came before it.
class HeadlessLoop {
public:
    HeadlessLoop(const RaceOptions& options, Game& game, ManualClock& passClock, RaceResult& result,
                 std::vector<TracePoint>* trace, RaceSoundCues* sounds)
        : options_(options), game_(game), passClock_(passClock), wall_(passClock.now()),
          result_(result), trace_(trace), sounds_(sounds),
          raceZero_(game.playerCar.startTick() + Vehicle::kStartHold) {
        pacer_.reset(passClock.now());
        keysCome();
    }

    // Races until the finish or the time is up; false when the autopilot gives up.
    bool race() {
        while (racing() && !timeUp()) {
            const std::int32_t t = game_.playerCar.raceTime();
            while (nextPause_ < options_.pauses.size() && options_.pauses[nextPause_].at <= t)
                pause(options_.pauses[nextPause_++]);
            millisecond();
            if (options_.autopilot && autopilot_.gaveUp())
                return false;
        }
        return true;
    }
    // The roll-out under full brake after the finish, until the car stands.
    void rollOut() {
        while (game_.playerCar.speed() > 0 && !timeUp())
            millisecond();
    }
    const Autopilot& autopilot() const { return autopilot_; }

private:
    bool racing() const { return game_.gameState() == GameState::kRacing; }
    bool timeUp() const {
        const std::int32_t t = game_.playerCar.raceTime();
        return t >= options_.timeoutMs || (options_.untilMs && t >= *options_.untilMs);
    }

    // One millisecond of the wall: the script's keys whose time has come, then the passes due
    // (one, unless the game's clock has jumped).
    void millisecond() {
        wall_.advance(1);
        keysCome();
        const GameState state = game_.gameState();
        while (game_.gameState() == state && !timeUp() && pacer_.nextPass(wall_.now(), keys_))
            pass();
    }

    // The script's key changes whose race time the game's clock has reached.
    void keysCome() {
        const std::vector<InputEvent>& events = options_.inputs.events;
        for (; nextKey_ < events.size(); ++nextKey_) {
            const std::uint32_t tick =
                raceZero_ + static_cast<std::uint32_t>(events[nextKey_].time);
            if (static_cast<std::int32_t>(tick - wall_.now()) > 0)
                return;
            keyComes(events[nextKey_]);
        }
    }

    // A key change arrives now, stamped by the system as the window's keys are.
    void keyComes(const InputEvent& input) {
        pacer_.queueKey(wall_.tickAt(wall_.stampNow()), input.virtualKey, input.down);
    }

    // P, the wall's milliseconds of the pause with the keys that change in it, and P again.
    void pause(const RacePause& pause) {
        wall_.hold();
        std::size_t next = 0;
        for (std::uint32_t into = 0;; ++into) {
            for (;
                 next < pause.keys.size() &&
                 (pause.keys[next].time <= static_cast<std::int64_t>(into) || into == pause.wallMs);
                 ++next)
                keyComes(pause.keys[next]);
            if (into == pause.wallMs)
                break;
            wall_.advance(1);
        }
        wall_.resume();
    }

    void pass() {
        passClock_.set(pacer_.lastTick());
        if (racing() && !options_.watch) {
            if (options_.autopilot)
                autopilot_.drive(game_, keys_);
            noteKeyChanges(keys_, held_, static_cast<std::int32_t>(pacer_.lastTick() - raceZero_),
                           result_.keyChanges);
        }
        game_.runIdleWork(keys_);
        if (sounds_)
            sounds_->afterPass(game_);
        ++result_.passes;
        if (trace_) {
            const Vec3& at = game_.playerModel().position();
            const Vec3& ghost = game_.ghostModel().position();
            const bool raced = game_.ghostEnabled() != 0;
            trace_->push_back({at[0], at[1], game_.playerCar.speed(), game_.ghostGap(),
                               raced ? ghost[0] : 0.0f, raced ? ghost[1] : 0.0f});
        }
    }

    const RaceOptions& options_;
    Game& game_;
    ManualClock& passClock_; // what the race reads: the tick of the pass being run
    HandSteadyClock wall_;   // the wall, and the game's clock that a pause holds
    RaceResult& result_;
    std::vector<TracePoint>* trace_;
    RaceSoundCues* sounds_;        // null when nobody listens
    const std::uint32_t raceZero_; // the tick at which the start hold ends
    PassPacer pacer_;
    KeyTable keys_;
    KeyTable held_; // as the last pass left them
    Autopilot autopilot_;
    std::size_t nextKey_ = 0;
    std::size_t nextPause_ = 0;
};

} // namespace

RaceResult runHeadlessRace(const RaceOptions& options, std::vector<TracePoint>* trace) {
    RaceResult result;
    ManualClock clock(options.startTick);
    QuietEvents events;
    auto game = std::make_unique<Game>(options.root, clock, events);
    std::optional<RaceSoundCues> sounds;
    if (options.sound) {
        sounds.emplace(*options.sound);
        events.hear(&*sounds, game.get());
    }
    game->scanFiles();
    if (!start(*game, options, result))
        return result;

    HeadlessLoop loop(options, *game, clock, result, trace, sounds ? &*sounds : nullptr);
    if (!loop.race()) { // a course the autopilot cannot drive: say why
        result.error = Autopilot::troubleText(loop.autopilot().trouble());
        readOutcome(*game, result);
        return result;
    }
    result.finished = game->gameState() == GameState::kFinished;
    if (result.finished)
        loop.rollOut();

    readOutcome(*game, result);
    if (result.finished && options.saveGhost)
        result.ghostSaved = game->saveRunAsGhost() == 0;
    return result;
}

} // namespace velnor
