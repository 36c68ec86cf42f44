#include "world/road_piece.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace velnor {
namespace {

using Corners = std::initializer_list<std::pair<float, float>>;

RoadPiece piece(Corners corners, int type = kRoadGrey) {
    RoadPiece result;
    int i = 0;
    for (const auto& [x, y] : corners)
        result.setVertex(i++, x, y, 0);
    result.setUsed(1);
    result.setType(type);
    result.setCarWidth(18);
    return result;
}

int carAt(RoadPiece p, float x, float y) {
    p.setViewCentre({x, y, 0});
    return p.containsCar();
}

TEST(RoadPieceTest, RectangleWithItsMargin) {
    struct Case {
        float x, y;
        int expected;
    };
    const Case cases[] = {
        {500, 50, 0}, {500, 103, 1}, // yhi 112 > 100 + 5
        {500, 96, 0}, {500, 4, 0},   {500, 3, 1},   {-4, 50, 0},
        {-6, 50, 1},  {1004, 50, 0}, {1006, 50, 1},
    };
    // The same rectangle numbered two ways: the widest pair differs, the answers do not.
    for (const Corners corners : {Corners{{0, 0}, {1000, 0}, {1000, 100}, {0, 100}},
                                  Corners{{1000, 100}, {0, 100}, {0, 0}, {1000, 0}}}) {
        const RoadPiece rectangle = piece(corners);
        for (const Case& c : cases)
            EXPECT_EQ(carAt(rectangle, c.x, c.y), c.expected) << c.x << ", " << c.y;
    }
}

TEST(RoadPieceTest, ShearedPieceTakesTheWidestPairWhicheverWayRound) {
    // Pair (2, 1) is the widest, with x1 > x2: x2 is the lower end.
    const RoadPiece sheared = piece({{0, 0}, {1200, 0}, {-200, 100}, {100, 100}});
    EXPECT_EQ(carAt(sheared, -190, 90), 0);
    EXPECT_EQ(carAt(sheared, 1190, 10), 0);
    EXPECT_EQ(carAt(sheared, -210, 90), 1);
}

TEST(RoadPieceTest, MarkingsAndUnusedPiecesTakeNoPart) {
    for (const int type : {0, 1, 2})
        EXPECT_EQ(carAt(piece({{0, 0}, {1000, 0}, {1000, 100}, {0, 100}}, type), 500, 50), -1);
    RoadPiece unused = piece({{0, 0}, {1000, 0}, {1000, 100}, {0, 100}});
    unused.setUsed(0);
    EXPECT_EQ(carAt(unused, 500, 50), -1);
    EXPECT_EQ(carAt(RoadPiece(), 0, 0), -1);
}

TEST(RoadPieceTest, TypesAndTheirColours) {
    RoadPiece p;
    EXPECT_EQ(p.pieceType(), 3);
    EXPECT_EQ(p.colour(), (Colour{0, 0, 0, 1})); // the reset type leaves the colour black
    struct Case {
        int type;
        int stored;
        Colour colour;
    };
    const Case cases[] = {
        {0, 0, {1, 1, 1, 1}},
        {2, 2, {1, 0.627f, 0, 1}},
        {4, 4, {0.635f, 0.415f, 0.062f, 1}},
        {7, 3, {0.8f, 0.8f, 0.8f, 1}},
        {-1, 3, {0.8f, 0.8f, 0.8f, 1}},
    };
    for (const Case& c : cases) {
        p.setType(c.type);
        EXPECT_EQ(p.pieceType(), c.stored) << c.type;
        EXPECT_EQ(p.colour(), c.colour) << c.type;
    }
}

TEST(RoadPieceTest, SidesParallelToYAreDecidedByTheQuadrilateral) {
    // Corners numbered so that edges 0-1 and 2-3 run along y.
    const RoadPiece upright = piece({{0, 0}, {0, 1000}, {100, 1000}, {100, 0}});
    struct Case {
        float x, y;
        int expected;
    };
    const Case cases[] = {
        {50, 500, 0}, {50, 4, 0}, {50, 3, 1}, {-4, 500, 0}, {-6, 500, 1}, {104, 500, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(carAt(upright, c.x, c.y), c.expected) << c.x << ", " << c.y;

    // A trapezoid with one vertical side: the cross-section narrows towards +x.
    const RoadPiece trapezoid = piece({{0, 0}, {0, 200}, {400, 150}, {400, 50}});
    EXPECT_EQ(carAt(trapezoid, 350, 100), 0);
    EXPECT_EQ(carAt(trapezoid, 350, 180), 1);
    // All four corners on one point: never a division by zero, never "on".
    EXPECT_EQ(carAt(piece({{5, 5}, {5, 5}, {5, 5}, {5, 5}}), 5, 5), 1);
}

// The margin is 5 units (0.5 m) on every side, edges included: a car 18 units wide at y holds
// y - 9 to y + 9, so on a piece from y 0 to 100 it is on at y = 4 (reaching -5) and at y = 96
// (reaching 105), off a quarter of a unit further out; the same along x, without the half width.
TEST(RoadPieceTest, TheMarginIsHalfAMetreOnEverySideEdgesIncluded) {
    struct Case {
        const char* piece;
        float x, y;
        int expected;
    };
    // A rectangle x 0..1000, y 0..100; an upright one x 200..300, y 0..1000 (sides along y); a
    // slanted one whose sides climb 1 in 10: y = x / 10 and y = 100 + x / 10 (at x = 500: 50 to
    // 150).
    const RoadPiece rectangle = piece({{0, 0}, {1000, 0}, {1000, 100}, {0, 100}});
    const RoadPiece upright = piece({{200, 0}, {200, 1000}, {300, 1000}, {300, 0}});
    const RoadPiece slanted = piece({{0, 0}, {1000, 100}, {1000, 200}, {0, 100}});
    const Case cases[] = {
        {"rectangle", 500, 4, 0},      {"rectangle", 500, 3.75f, 1},   {"rectangle", 500, 96, 0},
        {"rectangle", 500, 96.25f, 1}, {"rectangle", -5, 50, 0},       {"rectangle", -5.25f, 50, 1},
        {"rectangle", 1005, 50, 0},    {"rectangle", 1005.25f, 50, 1}, {"upright", 250, 4, 0},
        {"upright", 250, 3.75f, 1},    {"upright", 250, 996, 0},       {"upright", 250, 996.25f, 1},
        {"upright", 195, 500, 0},      {"upright", 194.75f, 500, 1},   {"upright", 305, 500, 0},
        {"upright", 305.25f, 500, 1},  {"slanted", 500, 54, 0},        {"slanted", 500, 53.75f, 1},
        {"slanted", 500, 146, 0},      {"slanted", 500, 146.25f, 1},   {"slanted", 500, 100, 0},
        {"slanted", 900, 140, 0},      {"slanted", 900, 60, 1},        {"slanted", 100, 190, 1},
    };
    for (const Case& c : cases) {
        const RoadPiece& p = std::string_view(c.piece) == "rectangle" ? rectangle
                             : std::string_view(c.piece) == "upright" ? upright
                                                                      : slanted;
        EXPECT_EQ(carAt(p, c.x, c.y), c.expected) << c.piece << " " << c.x << ", " << c.y;
        EXPECT_EQ(p.containsCarAt(c.x, c.y, 18), c.expected)
            << c.piece << " " << c.x << ", " << c.y;
    }
}

// Pieces of other shapes: a trapezoid wider at its far side (the longest stretch along x is the
// far side's, -200 to 1200, tied with the pair across from 0 to 1200: the first found, 0 to 1200,
// is the piece's length), and pieces with only one side parallel to y.
TEST(RoadPieceTest, TrapezoidsAndPiecesWithOneSideAlongY) {
    struct Case {
        const char* name;
        Corners corners;
        float x, y;
        int expected;
    };
    const Case cases[] = {
        {"wide far side, inside", {{0, 0}, {1000, 0}, {1200, 100}, {-200, 100}}, 500, 50, 0},
        {"wide far side, near its right end",
         {{0, 0}, {1000, 0}, {1200, 100}, {-200, 100}},
         1100,
         50,
         0},
        {"wide far side, near its left end",
         {{0, 0}, {1000, 0}, {1200, 100}, {-200, 100}},
         -100,
         50,
         1},
        {"left side along y, inside", {{0, 0}, {0, 100}, {400, 160}, {380, -40}}, 200, 50, 0},
        {"left side along y, beyond", {{0, 0}, {0, 100}, {400, 160}, {380, -40}}, 200, 300, 1},
        {"right side along y, inside", {{0, 0}, {20, 300}, {100, 300}, {100, 0}}, 50, 150, 0},
        {"right side along y, beyond", {{0, 0}, {20, 300}, {100, 300}, {100, 0}}, 50, 500, 1},
        // corner 0 lies farthest along x: at x = 290 the piece runs from y 0 to 500
        {"corner 0 farthest out", {{300, 0}, {280, 1000}, {200, 1000}, {200, 0}}, 290, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(carAt(piece(c.corners), c.x, c.y), c.expected) << c.name;
}

// A car of no width (a point) is held anywhere from 5 units before the piece's edge to 5 beyond it:
// on the rectangle y 0..100 from y = -5 to y = 105, on the upright piece y 0..1000 from -5 to 1005.
TEST(RoadPieceTest, APointIsHeldUpToTheMarginOnEitherSide) {
    const RoadPiece rectangle = piece({{0, 0}, {1000, 0}, {1000, 100}, {0, 100}});
    const RoadPiece upright = piece({{200, 0}, {200, 1000}, {300, 1000}, {300, 0}});
    struct Case {
        const RoadPiece* piece;
        float x, y;
        int expected;
    };
    const Case cases[] = {
        {&rectangle, 500, -5.25f, 1}, {&rectangle, 500, -5, 0},  {&rectangle, 500, 2, 0},
        {&rectangle, 500, 98, 0},     {&rectangle, 500, 105, 0}, {&rectangle, 500, 105.25f, 1},
        {&upright, 250, -5.25f, 1},   {&upright, 250, -5, 0},    {&upright, 250, 2, 0},
        {&upright, 250, 998, 0},      {&upright, 250, 1005, 0},  {&upright, 250, 1005.25f, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.piece->containsCarAt(c.x, c.y, 0), c.expected) << c.x << ", " << c.y;
}

// Pieces with a side along y, probed where only a corner reaches: the cross-section at a corner
// that sticks out alone is that corner's y. And a piece far from the origin: only its own four
// corners make its outline.
TEST(RoadPieceTest, APointBesideACornerThatSticksOutAlone) {
    struct Case {
        const char* name;
        Corners corners;
        float x, y;
        int expected;
    };
    const Case cases[] = {
        {"right corner alone at x 400, y 160",
         {{0, 0}, {0, 100}, {400, 160}, {380, -40}},
         402,
         160,
         0},
        {"left corner alone at x 0, y 60", {{400, 0}, {400, 100}, {0, 60}, {20, -40}}, -2, 60, 0},
        {"far from the origin, inside",
         {{-100, 2000}, {-100, 3000}, {100, 3000}, {100, 2000}},
         -50,
         2500,
         0},
        {"far from the origin, short of it",
         {{-100, 2000}, {-100, 3000}, {100, 3000}, {100, 2000}},
         -50,
         1600,
         1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(piece(c.corners).containsCarAt(c.x, c.y, 0), c.expected) << c.name;
}

} // namespace
} // namespace velnor
