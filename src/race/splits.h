#pragma once

#include "race/lap_counter.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velnor {

// One line of the splits: a lap's time (or the race's total) and how it compares with the ghost's
// same lap and with the course record's. A difference is this race's time minus the other's, in
// ms: negative is ahead. Where the other has no such lap, there is no difference.
struct SplitRow {
    std::int32_t time = 0;
    std::optional<std::int32_t> vsGhost;
    std::optional<std::int32_t> vsRecord;
};

// Lap `index` (0-based) of `race` against the same lap of `other`: nothing when `other` does not
// have that lap. `otherLaps` is how many laps `other` has.
std::optional<std::int32_t> lapDifference(const LapCounter& race, const LapCounter& other,
                                          int otherLaps, int index);

// How many laps a stored record has: all of its laps when it holds a race, else none.
int recordLaps(const LapCounter& record);

// The splits of a race: one row for each lap it completed, then (when it finished) one for the
// total. `ghost` is the ghost's run as replayed, with its completed laps; `record` the course's
// best race as it stood when the race started (empty when the course had none).
std::vector<SplitRow> raceSplits(const LapCounter& race, const LapCounter& ghost,
                                 const LapCounter& record);

} // namespace velnor
