#include "race/ghost_run.h"

#include "race/gate_watcher.h"
#include "race/ghost_log.h"
#include "sim/vehicle.h"

#include <algorithm>

namespace velnor {

std::int32_t lastLoggedTime(const GhostLog& log) {
    std::int32_t last = std::max(log.finishTime(), 0);
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        for (int slot = 0; slot < GhostLog::kCapacity && log.eventState(channel, slot) != -1;
             ++slot)
            last = std::max(last, log.eventTime(channel, slot));
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel)
        for (int slot = 0;
             slot < GhostLog::kCapacity && log.value(channel, slot) != GhostLog::kEmptyValue;
             ++slot)
            last = std::max(last, log.valueTime(channel, slot));
    return last;
}

GhostRun replayGhost(GhostLog log, Vehicle car, const StartFinishGate& gate,
                     std::uint32_t startTick, int laps) {
    using Limits = GhostReplayLimits;
    GhostRun run;
    laps = std::clamp(laps, 1, LapCounter::kMaxLaps);
    run.laps.setLaps(laps); // the counter itself holds at most 9 as its total
    const std::int32_t last = std::min(lastLoggedTime(log), Limits::kHardCapMs);
    std::int32_t end = std::min(last + Limits::kCoastMs, Limits::kHardCapMs);
    run.path.reserve(static_cast<std::size_t>(end / GhostRun::kPathStepMs + 1 +
                                              Limits::kAfterFinishMs / GhostRun::kPathStepMs));

    car.reset(startTick);
    GateWatcher watcher;
    float x = 0; // the drawing object's offset, summed as moveParts sums it
    float y = 0;
    for (std::uint32_t tick = startTick + 1;; ++tick) {
        ghostCarStep(car, log, tick);
        const float heading = car.controls().heading();
        const Displacement move = displacementAlong(heading, car.stepDistance());
        x += move.dx;
        y += move.dy;
        const std::int32_t time = car.raceTime();
        if (!run.finished && watcher.crossed(gate, x, y, heading)) {
            run.laps.setTime(time, -1);
            run.laps.completeLap();
            if (run.laps.completedLaps() == laps) {
                run.finished = true;
                end = time + Limits::kAfterFinishMs;
            }
        }
        if (time >= 0 && time % GhostRun::kPathStepMs == 0)
            run.path.push_back({time, x, y, static_cast<float>(car.speed())});
        if (time >= end)
            break;
        ghostInputs(car, log, tick);
    }
    return run;
}

} // namespace velnor
