#pragma once

#include "race/headless_race.h"

#include <gtest/gtest.h>

namespace velnor::test {

// The car where and as a race left it, field for field: two races that should be one race.
inline void expectSameCar(const CarState& got, const CarState& want) {
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.heading, want.heading);
    EXPECT_EQ(got.speed, want.speed);
    EXPECT_EQ(got.distance, want.distance);
    EXPECT_EQ(got.gear, want.gear);
}

} // namespace velnor::test
