#include "race/gap_readout.h"

#include <cstdlib>

namespace velnor {

bool GapReadout::update(std::optional<std::int32_t> gap, std::uint32_t tick) {
    if (!gap) {
        const bool was = shown_.has_value();
        shown_.reset();
        return was;
    }
    if (!shown_) { // the first reading shows at once
        shown_ = gap;
        takenAt_ = tick;
        return true;
    }
    if (static_cast<std::int32_t>(tick - takenAt_) < static_cast<std::int32_t>(kIntervalMs))
        return false; // ticks wrap: signed difference
    takenAt_ = tick;
    if (std::abs(std::int64_t{*gap} - *shown_) < kHysteresisMs)
        return false;
    shown_ = gap;
    return true;
}

} // namespace velnor
