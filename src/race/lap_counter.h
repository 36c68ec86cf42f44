#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

namespace velnor {

// The lap times of one race: the race being driven, each of a course's best three, each stored
// record. Times are race times in ms, cumulative from "GO!" to the end of each lap. A counter whose
// total is 0 or less is empty.
class LapCounter {
public:
    static constexpr int kMaxLaps = 10;
    static constexpr int kRaceLaps = 3;

    LapCounter() { reset(); }

    // All times 0, no lap completed, 3 laps.
    void reset();
    // Stores `ms` as the end of lap `index` (0-9); any other index means the lap being completed.
    void setTime(std::int32_t ms, int index);
    // The number of laps: n when 0-9, else 9.
    void setLaps(int n);
    // Counts a lap; 1 when that was the last lap of the race.
    int completeLap();

    int completedLaps() const { return completed_; }
    int lapTotal() const { return laps_; }
    std::int32_t time(int index) const { return times_[index]; } // cumulative, index 0-9

    // The time of lap `index` alone (0-9); any other index: the lap just completed.
    std::int32_t lapTime(int index) const;
    int lapMinutes(int index) const { return lapTime(index) / 60000; }
    int lapSeconds(int index) const { return lapTime(index) / 1000 % 60; }
    int lapMillis(int index) const { return lapTime(index) % 1000; }

    std::int32_t totalTime() const { return laps_ > 0 ? times_[laps_ - 1] : 0; }
    int totalMinutes() const { return totalTime() / 60000; }
    int totalSeconds() const { return totalTime() / 1000 % 60; }
    int totalMillis() const { return totalTime() % 1000; }
    bool isEmpty() const { return totalTime() <= 0; }

private:
    std::int32_t times_[kMaxLaps];
    std::int32_t completed_;
    std::int32_t laps_;
};

static_assert(std::is_trivially_copyable_v<LapCounter>, "a record is a copy of a race's counter");

// A time as the game shows it: "%02d'%02d.%03d", minutes not wrapped at 60.
std::string formatRaceTime(std::int32_t ms);
// A kept race as the record lists show it: its total time, or "--'--.---" for an empty place.
std::string recordTimeText(const LapCounter& record);

} // namespace velnor
