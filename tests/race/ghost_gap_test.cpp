// The live gap on made-up paths whose answer is known by construction: a ghost driving a figure
// eight or a circle at a steady pace, and a player following the same line (or one beside it)
// a fixed time later. Race times in ms, positions in world units.
#include "race/ghost_gap.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace velnor {
namespace {

struct Point {
    double x, y;
};
using Curve = std::function<Point(double ms)>; // where the ghost is at a race time

// The ghost's path sampled as a replay samples it.
std::vector<GhostPathPoint> sample(const Curve& curve, std::int32_t untilMs) {
    std::vector<GhostPathPoint> path;
    for (std::int32_t t = 0; t <= untilMs; t += GhostRun::kPathStepMs) {
        const Point p = curve(t);
        path.push_back({t, static_cast<float>(p.x), static_cast<float>(p.y), 100});
    }
    return path;
}

// A figure eight (x = R sin a, y = R sin a cos a) gone round once in `periodMs`: the road
// crosses itself at the origin at a = 0 and a = pi, half a period apart, at right angles.
Curve figureEight(double radius, double periodMs) {
    return [=](double ms) {
        const double a = 2 * std::numbers::pi * ms / periodMs;
        return Point{radius * std::sin(a), radius * std::sin(a) * std::cos(a)};
    };
}

// A circle gone round once in `periodMs`, starting (and passing its lap line) at (radius, 0).
Curve circle(double radius, double periodMs) {
    return [=](double ms) {
        const double a = 2 * std::numbers::pi * ms / periodMs;
        return Point{radius * std::cos(a), radius * std::sin(a)};
    };
}

// The point `offset` units to the left of the curve at `ms` (the normal from the local tangent).
Point beside(const Curve& curve, double ms, double offset) {
    const Point a = curve(ms - 1);
    const Point b = curve(ms + 1);
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    const Point p = curve(ms);
    return {p.x - offset * dy / length, p.y + offset * dx / length};
}

// The player drives the ghost's own line `delayMs` later, `offset` units beside it, one update
// per millisecond from race time 0; the gap must read `delayMs` (within 2 ms) at every pass.
// Where the road crosses itself, and where the second lap passes the first, a point beside the
// line lies nearer the other branch: a search not held near the last match jumps there.
TEST(GhostGapTest, FollowingTheLineLaterReadsTheDelayEverywhere) {
    struct Row {
        const char* name;
        Curve curve;
        std::int32_t pathMs;
        std::int32_t delayMs;
        double offset;
    };
    const Row rows[] = {
        // A 30 s figure eight of 600 units: the crossing is passed every 15 s, at 126 units/s.
        {"figure eight, on the line, 1 s behind", figureEight(600, 30000), 70000, 1000, 0},
        {"figure eight, 20 units left, 1 s behind", figureEight(600, 30000), 70000, 1000, 20},
        {"figure eight, 20 units right, 2.5 s behind", figureEight(600, 30000), 70000, 2500, -20},
        // Laps of 20 s round a circle of 300 units: the lap line is passed every 20 s.
        {"circle, 30 units inside, 0.5 s behind", circle(300, 20000), 65000, 500, 30},
        {"circle, 30 units outside, 3 s behind", circle(300, 20000), 65000, 3000, -30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<GhostPathPoint> path = sample(row.curve, row.pathMs);
        GhostGap gap;
        gap.reset(path);
        int wrong = 0;
        for (std::int32_t t = 0; t + row.delayMs <= row.pathMs - 100; ++t) {
            const std::int32_t raceTime = t + row.delayMs;
            const Point p = beside(row.curve, t, row.offset);
            gap.update(static_cast<float>(p.x), static_cast<float>(p.y), raceTime);
            ASSERT_TRUE(gap.gap().has_value());
            if (std::abs(*gap.gap() - row.delayMs) > 2 && ++wrong <= 3)
                ADD_FAILURE() << "at race time " << raceTime << " the gap is " << *gap.gap();
        }
        EXPECT_EQ(wrong, 0);
    }
}

// Ahead of the ghost the gap is negative, and it is the time, not the distance: on a circle the
// ghost drives at 94 units/s, so 1.5 s ahead is -1500 ms wherever the player is across the line.
TEST(GhostGapTest, AheadOfTheGhostTheGapIsNegative) {
    const Curve curve = circle(300, 20000);
    const std::vector<GhostPathPoint> path = sample(curve, 40000);
    for (const double offset : {0.0, 40.0, -40.0}) {
        GhostGap gap;
        gap.reset(path);
        for (std::int32_t t = 0; t <= 20000; ++t) {
            const Point p = beside(curve, t + 1500, offset);
            gap.update(static_cast<float>(p.x), static_cast<float>(p.y), t);
        }
        ASSERT_TRUE(gap.gap().has_value());
        EXPECT_NEAR(*gap.gap(), -1500, 2) << offset;
    }
}

// A hairpin of two straight legs 150 units apart joined by a half circle, driven at 0.1 units/ms
// (36 km/h): leg one (0, 0) to (600, 0) in 6000 ms, the half circle round (600, 75) in
// 75 pi / 0.1 = 2356.19 ms, leg two back from (600, 150). The player cuts straight across from
// (400, 0) at 4000 ms to (400, 150), where the ghost is at 6000 + 2356.19 + 2000 = 10356.19 ms,
// in 150 / 0.1 = 1500 ms: 4856.19 ms saved. On the cut, the nearest point of leg one stays a
// local minimum of the distance however near leg two comes. The same again with 9 s more of leg
// one before it (from (-900, 0)), so that the cut comes where the match's window no longer
// reaches back to the path's start.
TEST(GhostGapTest, ACutAcrossAHairpinCountsTheTimeSaved) {
    const double halfCircleMs = 75 * std::numbers::pi / 0.1;
    const Curve hairpin = [=](double ms) {
        if (ms <= 6000) // leg one, and before it the lead-in along the same line
            return Point{ms * 0.1, 0};
        if (ms <= 6000 + halfCircleMs) {
            const double a = -std::numbers::pi / 2 + (ms - 6000) / halfCircleMs * std::numbers::pi;
            return Point{600 + 75 * std::cos(a), 75 + 75 * std::sin(a)};
        }
        return Point{600 - (ms - 6000 - halfCircleMs) * 0.1, 150};
    };
    const double saved = 6000 + halfCircleMs + 2000 - 4000 - 1500;
    ASSERT_NEAR(saved, 4856.19, 0.01);
    for (const std::int32_t lead : {0, 9000}) {
        SCOPED_TRACE(lead);
        const Curve course = [=](double ms) { return hairpin(ms - lead); };
        const std::vector<GhostPathPoint> path = sample(course, 14000 + lead);
        GhostGap gap;
        gap.reset(path);
        for (std::int32_t t = 0; t + saved <= 13900 + lead; ++t) {
            const Point p = t <= 4000 + lead  ? course(t)
                            : t < 5500 + lead ? Point{400, (t - 4000 - lead) * 0.1}
                                              : course(t + saved);
            gap.update(static_cast<float>(p.x), static_cast<float>(p.y), t);
            if (t <= 4000 + lead) {
                ASSERT_NEAR(*gap.gap(), 0, 2) << t;
            } else if (t >= 5600 + lead) { // a tenth of a second to look round
                ASSERT_NEAR(*gap.gap(), -saved, 2) << t;
            }
        }
    }
}

// No gap before "GO!" nor without a path; a reset forgets the last one.
TEST(GhostGapTest, ThereIsNoGapBeforeTheStartOrWithoutAPath) {
    const std::vector<GhostPathPoint> path = sample(circle(300, 20000), 20000);
    GhostGap gap;
    gap.reset(path);
    gap.update(300, 0, -1);
    EXPECT_FALSE(gap.gap().has_value());
    gap.update(300, 0, 0);
    ASSERT_TRUE(gap.gap().has_value());
    EXPECT_EQ(*gap.gap(), 0);
    gap.reset(path);
    EXPECT_FALSE(gap.gap().has_value());
    gap.reset({});
    gap.update(300, 0, 500);
    EXPECT_FALSE(gap.gap().has_value());
}

} // namespace
} // namespace velnor
