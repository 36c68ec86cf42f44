#include "race/splits.h"

#include <algorithm>

namespace velnor {
namespace {

// a - b held within 32 bits (a record's times come from a file and can be anything).
std::int32_t difference(std::int32_t a, std::int32_t b) {
    const std::int64_t ms = std::int64_t{a} - b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, INT32_MIN, INT32_MAX));
}

std::optional<std::int32_t> totalDifference(const LapCounter& race, const LapCounter& other,
                                            int otherLaps) {
    if (otherLaps < race.lapTotal() || other.lapTotal() != race.lapTotal())
        return std::nullopt;
    return difference(race.totalTime(), other.totalTime());
}

} // namespace

std::optional<std::int32_t> lapDifference(const LapCounter& race, const LapCounter& other,
                                          int otherLaps, int index) {
    if (index < 0 || index >= otherLaps || index >= LapCounter::kMaxLaps)
        return std::nullopt;
    return difference(race.lapTime(index), other.lapTime(index));
}

int recordLaps(const LapCounter& record) {
    return record.isEmpty() ? 0 : record.lapTotal();
}

std::vector<SplitRow> raceSplits(const LapCounter& race, const LapCounter& ghost,
                                 const LapCounter& record) {
    std::vector<SplitRow> rows;
    const int laps = std::min(race.completedLaps(), LapCounter::kMaxLaps);
    const int ghostLaps = ghost.completedLaps();
    const int bestLaps = recordLaps(record);
    for (int lap = 0; lap < laps; ++lap)
        rows.push_back({race.lapTime(lap), lapDifference(race, ghost, ghostLaps, lap),
                        lapDifference(race, record, bestLaps, lap)});
    if (laps > 0 && laps == race.lapTotal())
        rows.push_back({race.totalTime(), totalDifference(race, ghost, ghostLaps),
                        totalDifference(race, record, bestLaps)});
    return rows;
}

} // namespace velnor
