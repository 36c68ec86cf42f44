#include "race/lap_counter.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(LapCounterTest, ARaceOfThreeLaps) {
    LapCounter race;
    EXPECT_TRUE(race.isEmpty());
    EXPECT_EQ(race.lapTime(-1), 0);
    race.setTime(61000, -1);
    EXPECT_EQ(race.completeLap(), 0);
    EXPECT_EQ(race.lapTime(-1), 61000);
    race.setTime(120500, -1);
    EXPECT_EQ(race.completeLap(), 0);
    EXPECT_EQ(race.lapTime(-1), 59500);
    race.setTime(180750, -1);
    EXPECT_EQ(race.completeLap(), 1);
    EXPECT_EQ(race.lapTime(-1), 60250);
    EXPECT_EQ(race.completedLaps(), 3);
    EXPECT_EQ(race.lapTotal(), 3);
    EXPECT_EQ(race.lapTime(0), 61000);
    EXPECT_EQ(race.lapTime(2), 60250);
    EXPECT_EQ(race.totalTime(), 180750);
    EXPECT_EQ(race.totalMinutes(), 3);
    EXPECT_EQ(race.totalSeconds(), 0);
    EXPECT_EQ(race.totalMillis(), 750);
    EXPECT_EQ(race.lapSeconds(1), 59);
    EXPECT_EQ(race.lapMillis(1), 500);
}

TEST(LapCounterTest, SlotsAndLapCountsStayInRange) {
    LapCounter counter;
    counter.setLaps(12);
    EXPECT_EQ(counter.lapTotal(), 9);
    counter.setLaps(-1);
    EXPECT_EQ(counter.lapTotal(), 9);
    counter.setLaps(0);
    EXPECT_EQ(counter.totalTime(), 0);
    EXPECT_TRUE(counter.isEmpty());
    for (int i = 0; i < 12; ++i) {
        counter.setTime(1000 * (i + 1), -1); // past slot 9 nothing is written
        counter.completeLap();
    }
    EXPECT_EQ(counter.time(9), 10000);
    EXPECT_EQ(counter.lapTime(-1), 1000 * 1); // beyond ten laps: the first lap's time
}

TEST(LapCounterTest, TimesAsShown) {
    EXPECT_EQ(formatRaceTime(83456), "01'23.456");
    EXPECT_EQ(formatRaceTime(3723004), "62'03.004");
    EXPECT_EQ(formatRaceTime(0), "00'00.000");
}

} // namespace
} // namespace velnor
