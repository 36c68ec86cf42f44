#include "sim/road_conditions.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace velnor {
namespace {

TEST(RoadConditionsTest, NextAndPreviousStopAtTheEnds) {
    RoadConditions road;
    road.previous();
    EXPECT_EQ(road.currentIndex(), 0);
    for (int i = 0; i < 12; ++i)
        road.next();
    EXPECT_EQ(road.currentIndex(), 9);
    road.previous();
    EXPECT_EQ(road.currentIndex(), 8);
    road.selectFirst();
    EXPECT_EQ(road.currentIndex(), 0);
}

TEST(RoadConditionsTest, GradeInPercentAndDegrees) {
    RoadConditions road;
    road.setGradePercent(5.0, 0);
    EXPECT_NEAR(road.grade(0), 0.04996, 1e-5);
    EXPECT_NEAR(road.grade(0) * 180.0 / std::numbers::pi, 2.862, 1e-3);
    road.setGradeDegrees(-3.0, 1);
    EXPECT_NEAR(road.grade(1), -3.0 * std::numbers::pi / 180.0, 1e-15);
}

TEST(RoadConditionsTest, IndexOutsideTheListMeansTheCurrentEntry) {
    RoadConditions road;
    road.next();
    road.next(); // current 2
    road.setStart(120.0, 10);
    road.setRolling(0.08, -1);
    road.setSurface(3, 99);
    EXPECT_EQ(road.start(2), 120.0);
    EXPECT_EQ(road.rolling(), 0.08);
    EXPECT_EQ(road.surface(), 3);
    EXPECT_EQ(road.start(0), 0.0);
}

TEST(RoadConditionsTest, RejectedValuesKeepTheEntry) {
    RoadConditions road;
    road.setStart(50.0, 1);
    road.setStart(-1.0, 1);
    road.setRolling(-0.1, 1);
    EXPECT_EQ(road.start(1), 50.0);
    EXPECT_EQ(road.rolling(1), 0.015);
    road.setRolling(0.0, 1);
    EXPECT_EQ(road.rolling(1), 0.0);
}

} // namespace
} // namespace velnor
