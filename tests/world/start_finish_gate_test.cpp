#include "world/start_finish_gate.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

StartFinishGate gate(Vec3 direction, Vec3 end0, Vec3 end1) {
    StartFinishGate g;
    g.direction = direction;
    g.end0 = end0;
    g.end1 = end1;
    return g;
}

struct Zone {
    float alongMin, alongMax, acrossMin, acrossMax;
};

void expectZone(const StartFinishGate& g, Zone zone) {
    EXPECT_EQ(g.zoneAlongMin(), zone.alongMin);
    EXPECT_EQ(g.zoneAlongMax(), zone.alongMax);
    EXPECT_EQ(g.zoneAcrossMin(), zone.acrossMin);
    EXPECT_EQ(g.zoneAcrossMax(), zone.acrossMax);
}

TEST(StartFinishGateTest, XGateTowardsPlusX) {
    const StartFinishGate g = gate({1, 0, 0}, {-10, -50, 0}, {-10, 50, 0});
    EXPECT_EQ(g.gateAxis(), 0);
    EXPECT_EQ(g.gateLine(), -10);
    EXPECT_EQ(g.approachLine(), -110);
    expectZone(g, {-110, -10, -50, 50});
    EXPECT_TRUE(g.facesGate(0));
    EXPECT_TRUE(g.facesGate(89.9f));
    EXPECT_FALSE(g.facesGate(90));
    EXPECT_FALSE(g.facesGate(-90));
    EXPECT_EQ(g.along(-10, 3), -10); // on the line: still in the zone
    EXPECT_EQ(g.across(-10, 3), 3);
}

TEST(StartFinishGateTest, XGateTowardsMinusX) {
    const StartFinishGate g = gate({-1, 0, 0}, {-10, -50, 0}, {-10, 50, 0});
    expectZone(g, {-10, 90, -50, 50});
    EXPECT_TRUE(g.facesGate(180));
    EXPECT_TRUE(g.facesGate(-179));
    EXPECT_FALSE(g.facesGate(0));
}

TEST(StartFinishGateTest, YGateTowardsMinusY) {
    const StartFinishGate g = gate({0, -1, 0}, {-40, 30, 0}, {40, 30, 0});
    EXPECT_EQ(g.gateAxis(), 1);
    expectZone(g, {30, 130, -40, 40});
    EXPECT_TRUE(g.facesGate(-90));
    EXPECT_FALSE(g.facesGate(90));
    EXPECT_FALSE(g.facesGate(-180));
    EXPECT_EQ(g.along(7, 30), 30);
    EXPECT_TRUE(gate({0, 1, 0}, {}, {}).facesGate(90));
}

TEST(StartFinishGateTest, OnlyEndZeroPlacesTheLine) {
    const StartFinishGate g = gate({1, 0, 0}, {500, -50, 0}, {520, 50, 0});
    EXPECT_EQ(g.gateLine(), 500);
}

TEST(StartFinishGateTest, NoAxisNoZoneNoLap) {
    const StartFinishGate g = gate({0.5f, 0, 0}, {100, -50, 0}, {100, 50, 0});
    EXPECT_EQ(g.gateAxis(), -1);
    expectZone(g, {0, 0, 0, 0});
    for (const float heading : {0.0f, 90.0f, 180.0f, -90.0f})
        EXPECT_FALSE(g.facesGate(heading));
}

TEST(StartFinishGateTest, BothComponentsUnitPutTheZoneBeyondTheLine) {
    // The axis is x, but the +1 of y is tested before the -1 of x.
    const StartFinishGate g = gate({-1, 1, 0}, {200, 0, 0}, {200, 50, 0});
    EXPECT_EQ(g.gateAxis(), 0);
    EXPECT_EQ(g.approachLine(), 100);
}

// Each of the four gates, its line through (200, 300): the zone is the 100 units before the line
// in the direction of travel, between the line's ends; the car faces the gate when its heading is
// strictly within 90° of the gate's direction.
TEST(StartFinishGateTest, TheFourGatesTheirZonesAndTheHeadingsThatFaceThem) {
    struct Row {
        const char* name;
        Vec3 direction;
        Vec3 end1; // end0 is (200, 300)
        int axis;
        float line, approach;
        Zone zone;
        float facing[2]; // headings that face the gate
        float turned[3]; // headings that do not
    };
    const Row rows[] = {
        {"towards +x",
         {1, 0, 0},
         {200, 360, 0},
         0,
         200,
         100,
         {100, 200, 300, 360},
         {-89.9f, 89.9f},
         {90, -90, 180}},
        {"towards -x",
         {-1, 0, 0},
         {200, 240, 0},
         0,
         200,
         300,
         {200, 300, 240, 300},
         {90.1f, -90.1f},
         {90, -90, 0}},
        {"towards +y",
         {0, 1, 0},
         {150, 300, 0},
         1,
         300,
         200,
         {200, 300, 150, 200},
         {0.1f, 179.9f},
         {0, 180, -90}},
        {"towards -y",
         {0, -1, 0},
         {260, 300, 0},
         1,
         300,
         400,
         {300, 400, 200, 260},
         {-0.1f, -179.9f},
         {0, -180, 90}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const StartFinishGate g = gate(row.direction, {200, 300, 0}, row.end1);
        EXPECT_EQ(g.gateAxis(), row.axis);
        EXPECT_EQ(g.gateLine(), row.line);
        EXPECT_EQ(g.approachLine(), row.approach);
        expectZone(g, row.zone);
        for (const float heading : row.facing)
            EXPECT_TRUE(g.facesGate(heading)) << heading;
        for (const float heading : row.turned)
            EXPECT_FALSE(g.facesGate(heading)) << heading;
    }
}

TEST(StartFinishGateTest, OnlyAUnitComponentMakesAnAxis) {
    struct Row {
        Vec3 direction;
        int axis;
    };
    const Row rows[] = {{{1, 0, 0}, 0},  {{-1, 0, 0}, 0}, {{0, 1, 0}, 1},
                        {{0, -1, 0}, 1}, {{2, 0, 0}, -1}, {{0, 2, 0}, -1},
                        {{0, 0, 1}, -1}, {{0, 0, 0}, -1}, {{1, 1, 0}, 0}};
    for (const Row& row : rows) {
        const StartFinishGate g = gate(row.direction, {50, 60, 0}, {50, 90, 0});
        EXPECT_EQ(g.gateAxis(), row.axis) << row.direction[0] << " " << row.direction[1];
        if (row.axis < 0) {
            EXPECT_EQ(g.gateLine(), 0);
            EXPECT_EQ(g.approachLine(), 0);
            expectZone(g, {0, 0, 0, 0});
        }
    }
}

// Gates whose zones straddle the axis: the zone of a +x gate at x = 50 runs from -50 to 50, that of
// a -x gate at x = -50 from -50 to 50.
TEST(StartFinishGateTest, ZonesAcrossTheOrigin) {
    expectZone(gate({1, 0, 0}, {50, -20, 0}, {50, 20, 0}), {-50, 50, -20, 20});
    expectZone(gate({-1, 0, 0}, {-50, -20, 0}, {-50, 20, 0}), {-50, 50, -20, 20});
    expectZone(gate({0, 1, 0}, {-20, 50, 0}, {20, 50, 0}), {-50, 50, -20, 20});
    expectZone(gate({0, -1, 0}, {-20, -50, 0}, {20, -50, 0}), {-50, 50, -20, 20});
}

} // namespace
} // namespace velnor
