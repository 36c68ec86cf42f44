#include "race/lap_counter.h"

#include <algorithm>
#include <cstdio>

namespace velnor {

void LapCounter::reset() {
    for (std::int32_t& time : times_)
        time = 0;
    completed_ = 0;
    laps_ = kRaceLaps;
}

void LapCounter::setTime(std::int32_t ms, int index) {
    const int slot = index >= 0 && index < kMaxLaps ? index : completed_;
    if (slot >= 0 && slot < kMaxLaps)
        times_[slot] = ms;
}

void LapCounter::setLaps(int n) {
    laps_ = n >= 0 && n <= 9 ? n : 9;
}

int LapCounter::completeLap() {
    ++completed_;
    return completed_ == laps_ ? 1 : 0;
}

namespace {
// end - start, held within 32 bits (times read from a file can be anything).
std::int32_t difference(std::int32_t end, std::int32_t start) {
    const std::int64_t ms = std::int64_t{end} - start;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, INT32_MIN, INT32_MAX));
}
} // namespace

std::int32_t LapCounter::lapTime(int index) const {
    if (index == 0)
        return times_[0];
    if (index > 0 && index < kMaxLaps)
        return difference(times_[index], times_[index - 1]);
    if (completed_ <= 1 || completed_ > kMaxLaps)
        return times_[0];
    return difference(times_[completed_ - 1], times_[completed_ - 2]);
}

std::string formatRaceTime(std::int32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d'%02d.%03d", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

std::string recordTimeText(const LapCounter& record) {
    return record.isEmpty() ? "--'--.---" : formatRaceTime(record.totalTime());
}

} // namespace velnor
