#include "race/gap_readout.h"
#include "race/splits.h"

#include <climits>
#include <gtest/gtest.h>

namespace velnor {
namespace {

// A counter with the given cumulative lap ends, each lap completed.
LapCounter raceOf(std::initializer_list<std::int32_t> ends) {
    LapCounter race;
    for (const std::int32_t end : ends) {
        race.setTime(end, -1);
        race.completeLap();
    }
    return race;
}

// A stored record: cumulative times put in their slots, no lap "completed" (as read from a file).
LapCounter recordOf(std::int32_t a, std::int32_t b, std::int32_t c) {
    LapCounter record;
    record.setTime(a, 0);
    record.setTime(b, 1);
    record.setTime(c, 2);
    return record;
}

TEST(SplitsTest, EachLapAndTheTotalAgainstTheGhostAndTheRecord) {
    // Laps 50.000, 47.000, 46.500 (total 143.500) against the ghost's 49.500, 47.250, 46.500
    // (143.250) and the record's 51.000, 46.000, 46.000 (143.000).
    const LapCounter race = raceOf({50000, 97000, 143500});
    const LapCounter ghost = raceOf({49500, 96750, 143250});
    const LapCounter record = recordOf(51000, 97000, 143000);
    const std::vector<SplitRow> rows = raceSplits(race, ghost, record);
    ASSERT_EQ(rows.size(), 4u);
    const struct {
        std::int32_t time, vsGhost, vsRecord;
    } expected[] = {{50000, 500, -1000}, {47000, -250, 1000}, {46500, 0, 500}, {143500, 250, 500}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].time, expected[i].time);
        EXPECT_EQ(rows[i].vsGhost, expected[i].vsGhost);
        EXPECT_EQ(rows[i].vsRecord, expected[i].vsRecord);
    }
}

TEST(SplitsTest, WhatTheOthersDoNotHaveHasNoDifference) {
    const LapCounter race = raceOf({50000, 97000, 143500});
    // A ghost whose replay crossed the line only twice, and a course without a record.
    const LapCounter ghost = raceOf({49000, 97500});
    const std::vector<SplitRow> rows = raceSplits(race, ghost, LapCounter());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].vsGhost, 1000);
    EXPECT_EQ(rows[1].vsGhost, -1500);
    EXPECT_FALSE(rows[2].vsGhost);
    EXPECT_FALSE(rows[3].vsGhost); // no total without the ghost's last lap
    for (const SplitRow& row : rows)
        EXPECT_FALSE(row.vsRecord);
}

TEST(SplitsTest, ARaceNotFinishedHasItsLapsAndNoTotal) {
    const LapCounter race = raceOf({50000});
    const std::vector<SplitRow> rows =
        raceSplits(race, raceOf({49500, 96750, 143250}), recordOf(51000, 97000, 143000));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].vsGhost, 500);
    EXPECT_EQ(rows[0].vsRecord, -1000);
    EXPECT_TRUE(raceSplits(LapCounter(), LapCounter(), LapCounter()).empty());
}

TEST(SplitsTest, ARaceOfOneLapHasItsLapAndItsTotal) {
    LapCounter race;
    race.setLaps(1);
    race.setTime(50000, -1);
    race.completeLap();
    LapCounter ghost = race;
    ghost.setTime(49000, 0);
    const std::vector<SplitRow> rows = raceSplits(race, ghost, LapCounter());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].vsGhost, 1000);
    EXPECT_EQ(rows[1].time, 50000);
    EXPECT_EQ(rows[1].vsGhost, 1000);
    LapCounter none;
    none.setLaps(0); // a counter of no laps has no rows, not even a total
    EXPECT_TRUE(raceSplits(none, ghost, LapCounter()).empty());
}

TEST(SplitsTest, NoLapBeyondTheCountersTen) {
    // Lap 11 of a counter of ten would read the lap just completed: there is none.
    const LapCounter race = raceOf({1000, 2000, 3000});
    EXPECT_FALSE(lapDifference(race, race, 11, LapCounter::kMaxLaps));
    EXPECT_EQ(lapDifference(race, race, 11, LapCounter::kMaxLaps - 1), 0);
    EXPECT_FALSE(lapDifference(race, race, 3, -1));
}

TEST(SplitsTest, ARecordFromAFileCannotOverflowTheDifference) {
    const LapCounter race = raceOf({50000, 97000, 143500});
    const LapCounter record = recordOf(INT32_MIN + 1, 1, INT32_MAX);
    const std::vector<SplitRow> rows = raceSplits(race, LapCounter(), record);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].vsRecord, INT32_MAX); // 50000 - (INT32_MIN + 1), held
    EXPECT_EQ(rows[3].vsRecord, 143500 - INT32_MAX);
}

TEST(GapReadoutTest, ShowsAtOnceThenAFewTimesASecondBeyondTheHysteresis) {
    GapReadout readout;
    EXPECT_FALSE(readout.update(std::nullopt, 0));
    EXPECT_TRUE(readout.update(1230, 1000)); // the first reading
    EXPECT_EQ(readout.shown(), 1230);
    const struct {
        std::uint32_t tick;
        std::int32_t gap;
        bool changed;
        std::int32_t shown;
    } steps[] = {
        {1249, 1500, false, 1230}, // too soon: 249 ms after the last reading
        {1250, 1249, false, 1230}, // a reading, 19 ms from what is shown: held
        {1499, 1400, false, 1230}, // too soon again (the reading at 1250 counts)
        {1500, 1250, true, 1250},  // 20 ms: shown
        {1750, 1235, false, 1250}, // -15
        {2000, 1230, true, 1230},  // -20
        {2250, -10, true, -10},    // through zero in one reading
        {2500, 5, false, -10},     // wavering around zero: the sign holds
        {2750, -25, false, -10},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.tick);
        EXPECT_EQ(readout.update(step.gap, step.tick), step.changed);
        EXPECT_EQ(readout.shown(), step.shown);
    }
    EXPECT_TRUE(readout.update(std::nullopt, 3000)); // the ghost is gone: nothing shown
    EXPECT_FALSE(readout.shown());
}

TEST(GapReadoutTest, TheIntervalHoldsAcrossTheTickCountersWrap) {
    GapReadout readout;
    readout.update(0, 0xFFFFFF00u);
    EXPECT_FALSE(readout.update(500, 0xFFFFFF00u + 100)); // 100 ms later, though past the wrap
    EXPECT_TRUE(readout.update(500, 0xFFFFFF00u + 300));  // 300 ms later
}

} // namespace
} // namespace velnor
