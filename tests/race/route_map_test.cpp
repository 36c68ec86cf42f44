// The autopilot's map of a course: which cells hold the car, how far each is from the edge, the
// way round the ring through the gate, and the way back to the road from off it.
#include "autopilot_courses.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/route_map.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace velnor {
namespace {

using test::GameDir;
using test::ringRoad;

// A course of the road records given, loaded by the game and mapped for a car `carWidth` world
// units wide.
struct MappedCourse {
    MappedCourse(const std::string& road, float carWidth)
        : dir("[Map]\n#road\n" + road), clock(1000),
          game(std::make_unique<Game>(dir.dir.path(), clock, events)) {
        game->scanFiles();
        EXPECT_EQ(game->chooseCourse(game->courseCatalogue.indexOfCourse("Map")), 0);
        map.build(game->course(), carWidth);
    }
    GameDir dir;
    ManualClock clock;
    RaceEvents events;
    std::unique_ptr<Game> game;
    RouteMap map;
};

// One piece along x, -100 .. 100 m by -5 .. 5 m, and a gate across it: a road that leads nowhere.
const char* const kStraight = "p000=100 -5 0\np001=-100 -5 0\np002=-100 5 0\np003=100 5 0\n"
                              "gd=1 0 0\ngl0=-1 -5 0\ngl1=-1 5 0\n";

struct FitCase {
    const char* name;
    float width;  // of the car, world units
    int rows;     // of cells across the road that hold it
    float across; // the largest |y| of a cell centre that holds it
};

class RoadCellsTest : public testing::TestWithParam<FitCase> {};

// The game holds a car on a piece while its width across y lies within the piece and 0.5 m (5
// units) beyond, and its centre along x within the piece and 0.5 m beyond: on the straight
// (y -50 .. 50, x -1000 .. 1000) a car w wide fits where |y| <= 55 - w / 2 and |x| <= 1005. The
// grid starts 15 m (150 units) before the road, at x = -1150, y = -200, so the cell centres lie at
// x = -1145 + 10 c, y = -195 + 10 r: the columns from x = -1005 to 1005 (202 of them) and, for a
// car 2 m wide, the rows from y = -45 to 45 (10).
TEST_P(RoadCellsTest, TheMapMarksExactlyTheCellsWhereTheCarFits) {
    const FitCase& row = GetParam();
    MappedCourse course(kStraight, row.width);
    const RouteMap& map = course.map;
    ASSERT_TRUE(map.built());
    int marked = 0;
    for (int cell = 0; map.cellAt(map.centreX(cell), map.centreY(cell)) == cell; ++cell) {
        const float x = map.centreX(cell), y = map.centreY(cell);
        const bool fits = std::fabs(x) <= 1005 && std::fabs(y) <= row.across;
        EXPECT_EQ(map.road(cell), fits) << "at (" << x << ", " << y << ")";
        if (!map.road(cell)) {
            EXPECT_EQ(map.clearance(cell), 0) << "at (" << x << ", " << y << ")";
        }
        marked += map.road(cell) ? 1 : 0;
    }
    EXPECT_EQ(marked, 202 * row.rows);
}

INSTANTIATE_TEST_SUITE_P(Widths, RoadCellsTest,
                         testing::Values(FitCase{"NoWidth", 0, 12, 55},     // |y| <= 55
                                         FitCase{"TwoMetres", 20, 10, 45},  // |y| <= 45
                                         FitCase{"ThreeMetres", 30, 8, 35}, // |y| <= 40
                                         FitCase{"TenMetres", 100, 2, 5},   // |y| <= 5
                                         FitCase{"ElevenMetres", 110, 0, -1}),
                         [](const auto& row) { return std::string(row.param.name); });

// The map reaches 15 m round the road's corners and ends after a whole cell: on the straight it
// starts at (-1150, -200) and has ceil(2300 / 10) + 1 = 231 columns and ceil(400 / 10) + 1 = 41
// rows of 1 m, so it ends at x = 1160, y = 210.
TEST(RouteMapGridTest, TheGridCoversTheRoadAndFifteenMetresRound) {
    MappedCourse course(kStraight, 20);
    const RouteMap& map = course.map;
    EXPECT_FLOAT_EQ(map.cellSize(), 10);
    EXPECT_EQ(map.cellAt(-1150, -200), 0);
    EXPECT_FLOAT_EQ(map.centreX(0), -1145);
    EXPECT_FLOAT_EQ(map.centreY(0), -195);
    EXPECT_EQ(map.cellAt(-1150.5f, -195), -1);
    EXPECT_EQ(map.cellAt(-1145, -200.5f), -1);
    EXPECT_EQ(map.cellAt(1159, 0), map.cellAt(-1141, 0) + 230);
    EXPECT_EQ(map.cellAt(1161, 0), -1);
    EXPECT_EQ(map.cellAt(0, 209), map.cellAt(0, -191) + 40 * 231);
    EXPECT_EQ(map.cellAt(0, 211), -1);
    EXPECT_FLOAT_EQ(map.centreX(map.cellAt(13, 27)), 15);
    EXPECT_FLOAT_EQ(map.centreY(map.cellAt(13, 27)), 25);
}

// Pieces sheared along x, one corner alone the farthest to the right and the one across alone the
// farthest to the left: (110, -5), (-100, -5), (-110, 5), (100, 5) m, and the same turned over,
// (100, -5), (-110, -5), (-100, 5), (110, 5). The game's test takes a piece's length along x from
// the corners farthest apart, -1100 .. 1100, so a car 2 m wide fits where |x| <= 1105 and
// |y| <= 45; the map reaches 15 m beyond, from x = -1250 to past 1250.
TEST(RouteMapGridTest, EveryCornerOfAShearedPieceCounts) {
    for (const char* road : {"p000=110 -5 0\np001=-100 -5 0\np002=-110 5 0\np003=100 5 0\n",
                             "p000=100 -5 0\np001=-110 -5 0\np002=-100 5 0\np003=110 5 0\n"}) {
        MappedCourse course(road, 20);
        const RouteMap& map = course.map;
        EXPECT_EQ(map.cellAt(-1250, -200), 0) << road;
        EXPECT_GE(map.cellAt(1259, 0), 0) << road;
        int marked = 0;
        for (int cell = 0; map.cellAt(map.centreX(cell), map.centreY(cell)) == cell; ++cell) {
            const float x = map.centreX(cell), y = map.centreY(cell);
            EXPECT_EQ(map.road(cell), std::fabs(x) <= 1105 && std::fabs(y) <= 45)
                << road << "at (" << x << ", " << y << ")";
            marked += map.road(cell) ? 1 : 0;
        }
        EXPECT_EQ(marked, 222 * 10) << road; // x = -1105 .. 1105, y = -45 .. 45
    }
}

struct SizeCase {
    const char* name;
    double side;    // metres of the piece along x
    double across;  // and along y
    float cellSize; // world units
};

class RouteMapCellSizeTest : public testing::TestWithParam<SizeCase> {};

// At most 2^19 = 524288 cells: a square piece of 690 m maps to (7200 / 10 + 1)^2 = 519841 cells
// of 1 m; one of 700 m would need (7300 / 10 + 1)^2 = 534361 and takes cells of 1.5 m instead
// ((ceil(7300 / 15) + 1)^2 = 238144). A piece of 993 m by 481 m takes exactly 2^19 cells of
// 1 m: (10230 / 10 + 1) (5110 / 10 + 1) = 1024 x 512.
TEST_P(RouteMapCellSizeTest, AVeryLargeCourseGetsCoarserCells) {
    const SizeCase& row = GetParam();
    char road[160];
    std::snprintf(road, sizeof road, "p000=%g 0 0\np001=0 0 0\np002=0 %g 0\np003=%g %g 0\n",
                  row.side, row.across, row.side, row.across);
    MappedCourse course(road, 20);
    EXPECT_FLOAT_EQ(course.map.cellSize(), row.cellSize);
}

INSTANTIATE_TEST_SUITE_P(Sides, RouteMapCellSizeTest,
                         testing::Values(SizeCase{"SixHundredNinetyMetres", 690, 690, 10},
                                         SizeCase{"SevenHundredMetres", 700, 700, 15},
                                         SizeCase{"ExactlyTheMostCells", 993, 481, 10}),
                         [](const auto& row) { return std::string(row.param.name); });

// The ring the way tests run on: 100 m by 66 m outside (x -40 .. 60 m, y -6 .. 60 m), a road of
// 12 m, for a car of 2 m. Its bottom side holds the car where |y| <= 60 + 5 - 10 = 55, its left
// side where -405 <= x <= -275 (the game's test looks across y only; along x it allows the
// piece and 0.5 m). The grid starts at (-550, -210): cell centres at x = -545 + 10 c,
// y = -205 + 10 r.
std::string wideRing(const char* gate) {
    return ringRoad(-40, 60, 60, 12) + gate;
}
constexpr float kCar = 20;

// The number of whole cells from a cell to the nearest one off the road, steps across a corner
// counting 1.4: across the bottom side (rows y = -55 .. 55) 1, 2, .. 6, 6, .. 1, and near each
// inside corner of the ring (the infield's corner cells are (-265, 65), (465, 65), (465, 475) and
// (-265, 475): the sides hold the car up to x = -275 and from 475, the bottom up to y = 55 and
// the top from 485), two steps across the corner (2.8) and four (5.6) from it: 2 and 5. Their
// outer edges are 9 or more cells away.
TEST(RouteMapClearanceTest, CountsWholeCellsToTheNearestEdge) {
    MappedCourse course(wideRing("gd=1 0 0\ngl0=-1 -6 0\ngl1=-1 6 0\n"), kCar);
    const RouteMap& map = course.map;
    const int across[] = {0, 1, 2, 3, 4, 5, 6, 6, 5, 4, 3, 2, 1, 0};
    for (int i = 0; i < 14; ++i) {
        const float y = -65 + 10 * static_cast<float>(i);
        EXPECT_EQ(map.clearance(map.cellAt(105, y)), across[i]) << "y " << y;
    }
    // The four inside corners, each from its own side: the corner cell off the road, then two and
    // four steps across the corner into the road.
    struct Corner {
        float x, y;   // the infield's corner cell
        float dx, dy; // a step across the corner into the road
    };
    for (const Corner& c : {Corner{-265, 65, -10, -10}, Corner{465, 65, 10, -10},
                            Corner{465, 475, 10, 10}, Corner{-265, 475, -10, 10}}) {
        EXPECT_EQ(map.clearance(map.cellAt(c.x, c.y)), 0) << c.x << ", " << c.y;
        EXPECT_EQ(map.clearance(map.cellAt(c.x + 2 * c.dx, c.y + 2 * c.dy)), 2)
            << c.x << ", " << c.y;
        EXPECT_EQ(map.clearance(map.cellAt(c.x + 4 * c.dx, c.y + 4 * c.dy)), 5)
            << c.x << ", " << c.y;
    }
}

struct GateCase {
    const char* name;
    const char* gate;
    int axis;             // 0: the gate's line runs across x, 1: across y
    float line;           // along the axis, world units
    int sign;             // +1: the lap counts crossing it towards larger values
    float lo, hi;         // the gate's width across
    float roadLo, roadHi; // the road's width across at the line
    float x, y;           // where the way is followed from: 10 m on beyond the line
};

class RouteMapWayTest : public testing::TestWithParam<GateCase> {};

// From 10 m beyond the gate the way goes on round the whole ring (past the far ends of all four
// sides) and comes back to cross the gate's line forwards within the gate's width; it never
// crosses the line anywhere else on the road nor backwards. Each step goes to a neighbouring cell
// of the road that leads to the gate, and the way keeps at least 4 cells from the edges (the road
// has 6 either side of its middle) once it has got there, cutting the corners to exactly that.
TEST_P(RouteMapWayTest, LeadsRoundTheRingAndCrossesTheGateForwards) {
    const GateCase& row = GetParam();
    MappedCourse course(wideRing(row.gate), kCar);
    RouteMap& map = course.map;
    ASSERT_EQ(map.trouble(), RouteMap::Trouble::kNone);
    const auto along = [&](int cell) {
        return row.axis == 0 ? map.centreX(cell) : map.centreY(cell);
    };
    const auto across = [&](int cell) {
        return row.axis == 0 ? map.centreY(cell) : map.centreX(cell);
    };
    int cell = map.cellAt(row.x, row.y);
    float xmin = 1e9f, xmax = -1e9f, ymin = 1e9f, ymax = -1e9f;
    int nearest = 99;
    bool settled = false; // the way has come 4 cells from the edge
    bool crossed = false;
    for (int step = 0; step < 1000 && !crossed; ++step) {
        ASSERT_GE(cell, 0);
        ASSERT_TRUE(map.road(cell) && map.onRoute(cell)) << step;
        settled = settled || map.clearance(cell) >= 4;
        if (settled)
            nearest = std::min(nearest, map.clearance(cell));
        xmin = std::min(xmin, map.centreX(cell));
        xmax = std::max(xmax, map.centreX(cell));
        ymin = std::min(ymin, map.centreY(cell));
        ymax = std::max(ymax, map.centreY(cell));
        const int to = map.next(cell);
        ASSERT_GE(to, 0) << step;
        ASSERT_NE(to, cell);
        EXPECT_LE(std::fabs(map.centreX(to) - map.centreX(cell)), 10);
        EXPECT_LE(std::fabs(map.centreY(to) - map.centreY(cell)), 10);
        const float before = static_cast<float>(row.sign) * (along(cell) - row.line);
        const float after = static_cast<float>(row.sign) * (along(to) - row.line);
        if ((before < 0) != (after < 0) && across(cell) >= row.roadLo &&
            across(cell) <= row.roadHi) {
            EXPECT_LT(before, 0) << "crossed backwards at step " << step;
            EXPECT_GE(across(cell), row.lo) << step;
            EXPECT_LE(across(cell), row.hi) << step;
            EXPECT_GE(across(to), row.lo) << step;
            EXPECT_LE(across(to), row.hi) << step;
            crossed = true;
        }
        cell = to;
    }
    EXPECT_TRUE(crossed);
    EXPECT_LT(xmin, -280); // the left side: x -400 .. -280
    EXPECT_GT(xmax, 480);  // the right side: x 480 .. 600
    EXPECT_LT(ymin, 60);   // the bottom side: y -60 .. 60
    EXPECT_GT(ymax, 480);  // the top side: y 480 .. 600
    EXPECT_EQ(nearest, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Gates, RouteMapWayTest,
    testing::Values(
        GateCase{"AlongXForwards", "gd=1 0 0\ngl0=-1 -6 0\ngl1=-1 6 0\n", 0, -10, 1, -60, 60, -60,
                 60, 95, 5},
        GateCase{"AlongXBackwards", "gd=-1 0 0\ngl0=-1 -6 0\ngl1=-1 6 0\n", 0, -10, -1, -60, 60,
                 -60, 60, -105, 5},
        GateCase{"UpAlongY", "gd=0 1 0\ngl0=48 20 0\ngl1=60 20 0\n", 1, 200, 1, 480, 600, 470, 610,
                 545, 305},
        GateCase{"DownAlongY", "gd=0 -1 0\ngl0=48 20 0\ngl1=60 20 0\n", 1, 200, -1, 480, 600, 470,
                 610, 545, 95},
        // A gate 4 m wide on the 12 m road: the way crosses within it, and not beside it.
        GateCase{"NarrowGate", "gd=1 0 0\ngl0=-1 -2 0\ngl1=-1 2 0\n", 0, -10, 1, -20, 20, -60, 60,
                 95, 45}),
    [](const auto& row) { return std::string(row.param.name); });

struct BackCase {
    const char* name;
    float x, y;         // off the road
    float roadX, roadY; // the centre of the nearest cell of the road
    int steps;
};

class RouteMapWayBackTest : public testing::TestWithParam<BackCase> {};

// Off the road the way leads straight to the nearest cell of the road that holds the car: from
// 9.5 m below the bottom side (cell (105, -145)) up to its lowest row that holds the car, y = -55,
// nine cells; from the infield beside the left side (cell (-185, 205)) left to its last column,
// x = -275, nine cells; from outside the left side (cell (-495, 205)) right to x = -405, nine.
TEST_P(RouteMapWayBackTest, LeadsStraightToTheNearestRoad) {
    const BackCase& row = GetParam();
    MappedCourse course(wideRing("gd=1 0 0\ngl0=-1 -6 0\ngl1=-1 6 0\n"), kCar);
    RouteMap& map = course.map;
    int cell = map.cellAt(row.x, row.y);
    ASSERT_GE(cell, 0);
    ASSERT_FALSE(map.road(cell));
    int steps = 0;
    while (cell >= 0 && !map.onRoute(cell) && steps < 100) {
        cell = map.next(cell);
        ++steps;
    }
    ASSERT_GE(cell, 0);
    EXPECT_FLOAT_EQ(map.centreX(cell), row.roadX);
    EXPECT_FLOAT_EQ(map.centreY(cell), row.roadY);
    EXPECT_EQ(steps, row.steps);
}

INSTANTIATE_TEST_SUITE_P(Places, RouteMapWayBackTest,
                         testing::Values(BackCase{"BelowTheBottomSide", 100, -150, 105, -55, 9},
                                         BackCase{"InTheInfield", -190, 200, -275, 205, 9},
                                         BackCase{"LeftOfTheLeftSide", -500, 200, -405, 205, 9}),
                         [](const auto& row) { return std::string(row.param.name); });

// The bend after a cell is measured over two chords of the way, each the first run of whole steps
// of at least 8 m: their mean length over the angle between them. Round the ring's bottom right
// corner the way runs along y = 25 (4 cells from the infield), cuts the corner with one step
// across it, to (495, 35), and goes on up x = 505:
//   from (405, 25): 8 steps to (485, 25), 80; then 2 across and 6 up to (505, 105), 88.28;
//     chords (80, 0) and (20, 80), 1.3258 rad apart: 84.14 / 1.3258 = 63.464;
//   from (415, 25): 7 steps and 1 across to (495, 35), 84.14; 1 across and 7 up, 84.14; chords
//     (80, 10) and (10, 80), atan2(6300, 1600) = 1.3221 rad apart: 63.643;
// (205, 25) on the bottom side and (395, 515) on the top one see straight way both ways: a huge
// radius.
TEST(RouteMapBendTest, MeasuresTheBendOfTheWayOverEightMetresEitherSide) {
    MappedCourse course(wideRing("gd=1 0 0\ngl0=-1 -6 0\ngl1=-1 6 0\n"), kCar);
    RouteMap& map = course.map;
    ASSERT_FLOAT_EQ(map.centreX(map.next(map.cellAt(405, 25))), 415);
    EXPECT_NEAR(map.bendRadius(map.cellAt(405, 25)), 63.4643, 0.001);
    EXPECT_NEAR(map.bendRadius(map.cellAt(415, 25)), 63.6434, 0.001);
    EXPECT_NEAR(map.bendRadius(map.cellAt(415, 25)), 63.6434, 0.001); // measured once, kept
    EXPECT_GT(map.bendRadius(map.cellAt(205, 25)), 1e8);
    EXPECT_GT(map.bendRadius(map.cellAt(395, 515)), 1e8);
}

} // namespace
} // namespace velnor
