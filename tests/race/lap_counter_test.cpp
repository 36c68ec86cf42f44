#include "race/lap_counter.h"

#include <climits>
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

// A counter holding laps of `ms` each (single-lap times), all of them completed.
LapCounter raceOf(std::initializer_list<std::int32_t> laps) {
    LapCounter counter;
    counter.setLaps(static_cast<int>(laps.size()));
    std::int32_t total = 0;
    for (const std::int32_t ms : laps) {
        total += ms;
        counter.setTime(total, -1);
        counter.completeLap();
    }
    return counter;
}

// Laps of 1'23.456, 0'59.500 and 61'02.999: the race ends at 83456 + 59500 + 3662999 = 3805955 ms,
// which is 63 minutes (3780000), 25 seconds and 955 ms.
TEST(LapCounterTest, EachLapAndTheTotalInMinutesSecondsAndMilliseconds) {
    const LapCounter race = raceOf({83456, 59500, 3662999});
    struct Row {
        int lap;
        std::int32_t ms;
        int minutes, seconds, millis;
    };
    const Row rows[] = {
        {0, 83456, 1, 23, 456},
        {1, 59500, 0, 59, 500},
        {2, 3662999, 61, 2, 999},
        {-1, 3662999, 61, 2, 999}, // the lap just completed
    };
    for (const Row& row : rows) {
        EXPECT_EQ(race.lapTime(row.lap), row.ms) << row.lap;
        EXPECT_EQ(race.lapMinutes(row.lap), row.minutes) << row.lap;
        EXPECT_EQ(race.lapSeconds(row.lap), row.seconds) << row.lap;
        EXPECT_EQ(race.lapMillis(row.lap), row.millis) << row.lap;
    }
    EXPECT_EQ(race.totalTime(), 3805955);
    EXPECT_EQ(race.totalMinutes(), 63);
    EXPECT_EQ(race.totalSeconds(), 25);
    EXPECT_EQ(race.totalMillis(), 955);
    EXPECT_EQ(recordTimeText(race), "63'25.955");
}

TEST(LapCounterTest, TheRaceIsOverWhenTheLastLapIsCompletedAndNotBefore) {
    for (int laps = 1; laps <= 9; ++laps) {
        LapCounter race;
        race.setLaps(laps);
        for (int lap = 1; lap < laps; ++lap)
            EXPECT_EQ(race.completeLap(), 0) << lap << " of " << laps;
        EXPECT_EQ(race.completeLap(), 1) << laps;
        EXPECT_EQ(race.completedLaps(), laps);
        EXPECT_EQ(race.completeLap(), 0) << "a lap beyond " << laps;
    }
    LapCounter standard;
    EXPECT_EQ(standard.lapTotal(), 3);
    EXPECT_EQ(standard.completeLap(), 0);
    EXPECT_EQ(standard.completeLap(), 0);
    EXPECT_EQ(standard.completeLap(), 1);
}

TEST(LapCounterTest, LapCountsFromNoneToNine) {
    struct Row {
        int asked, kept;
    };
    const Row rows[] = {{0, 0}, {1, 1}, {3, 3}, {9, 9}, {10, 9}, {-1, 9}, {100, 9}};
    for (const Row& row : rows) {
        LapCounter counter;
        counter.setLaps(row.asked);
        EXPECT_EQ(counter.lapTotal(), row.kept) << row.asked;
    }
}

TEST(LapCounterTest, ATimeForNoLapSlotEndsTheLapBeingDriven) {
    LapCounter counter;
    counter.setTime(500, 10); // slots are 0-9: this is the lap being driven, the first
    EXPECT_EQ(counter.time(0), 500);
    counter.completeLap();
    counter.setTime(1700, -1);
    EXPECT_EQ(counter.time(1), 1700);
    counter.completeLap();
    counter.setTime(900, 9);
    EXPECT_EQ(counter.time(9), 900);
    EXPECT_EQ(counter.lapTime(9), 900); // slot 8 is still 0
    counter.setTime(250, 8);
    EXPECT_EQ(counter.lapTime(9), 650);
    EXPECT_EQ(counter.lapTime(10), 1200); // no lap slot: the lap just completed, 1700 - 500
    // slot 0 is a lap slot like the others, whatever lap is being driven
    counter.setTime(300, 0);
    EXPECT_EQ(counter.time(0), 300);
    EXPECT_EQ(counter.time(2), 0);
}

TEST(LapCounterTest, AResetCounterIsAnEmptyRaceOfThreeLaps) {
    LapCounter counter = raceOf({1000, 2000, 3000, 4000});
    counter.reset();
    EXPECT_EQ(counter.lapTotal(), 3);
    EXPECT_EQ(counter.completedLaps(), 0);
    for (int i = 0; i < LapCounter::kMaxLaps; ++i)
        EXPECT_EQ(counter.time(i), 0) << i;
    EXPECT_TRUE(counter.isEmpty());
}

TEST(LapCounterTest, ACounterWithATotalOfZeroOrLessIsEmpty) {
    struct Row {
        std::int32_t total;
        bool empty;
        const char* shown;
    };
    const Row rows[] = {{1, false, "00'00.001"},
                        {0, true, "--'--.---"},
                        {-5, true, "--'--.---"},
                        {60000, false, "01'00.000"}};
    for (const Row& row : rows) {
        LapCounter counter;
        counter.setLaps(1);
        counter.setTime(row.total, 0);
        EXPECT_EQ(counter.isEmpty(), row.empty) << row.total;
        EXPECT_EQ(recordTimeText(counter), row.shown) << row.total;
    }
    LapCounter noLaps;
    noLaps.setTime(5000, 0);
    noLaps.setLaps(0);
    EXPECT_EQ(noLaps.totalTime(), 0);
    EXPECT_TRUE(noLaps.isEmpty());
}

TEST(LapCounterTest, TheLapJustCompletedBeforeTheSecondLapAndAfterTheTenthIsTheFirst) {
    LapCounter counter;
    counter.setLaps(9);
    counter.setTime(4000, -1);
    EXPECT_EQ(counter.lapTime(-1), 4000); // none completed yet
    counter.completeLap();
    EXPECT_EQ(counter.lapTime(-1), 4000);
    for (int lap = 2; lap <= 10; ++lap) {
        // lap n ends 1000 (n - 1) n / 2 ms after the first, so it takes n - 1 seconds
        counter.setTime(4000 + 1000 * (lap - 1) * lap / 2, -1);
        counter.completeLap();
    }
    // the tenth lap ran from 4000 + 36000 to 4000 + 45000: 9000 ms
    EXPECT_EQ(counter.completedLaps(), 10);
    EXPECT_EQ(counter.lapTime(-1), 9000);
    counter.setTime(777777, -1); // the eleventh lap has no slot: its time is not kept
    EXPECT_EQ(counter.completedLaps(), 10);
    EXPECT_EQ(counter.lapTime(-1), 9000);
    counter.completeLap();
    EXPECT_EQ(counter.lapTime(-1), 4000);
    // past the tenth lap a time has no slot: it is not kept, and the laps stay counted
    counter.setTime(123456, -1);
    EXPECT_EQ(counter.completedLaps(), 11);
    EXPECT_EQ(counter.time(9), 49000);
}

TEST(LapCounterTest, ALapTimeFromAFileIsHeldWithin32Bits) {
    LapCounter counter;
    counter.setTime(-2000000000, 0);
    counter.setTime(2000000000, 1);
    EXPECT_EQ(counter.lapTime(1), INT32_MAX); // 4000000000 does not fit
    counter.setTime(2000000000, 0);
    counter.setTime(-2000000000, 1);
    EXPECT_EQ(counter.lapTime(1), INT32_MIN);
}

} // namespace
} // namespace velnor
