#include "world/building_block.h"
#include "world/course_world.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(BuildingBlockTest, GridCellsFromOriginPitchAndCounts) {
    BuildingBlock block;
    block.setCounts(3, 2, 0);
    EXPECT_EQ(block.counts(), (std::array<int, 3>{3, 2, 1}));
    block.setPitch(200, 300, 0);
    block.setOrigin(1000, 0, 0);
    EXPECT_EQ(block.cell(0, 0), (Vec3{1000, 0, 0}));
    EXPECT_EQ(block.cell(2, 1), (Vec3{1400, 300, 0}));
    block.setCounts(-5, 0, 1);
    EXPECT_EQ(block.counts(), (std::array<int, 3>{1, 1, 1}));
}

TEST(BuildingBlockTest, PlaceAtMovesEveryPart) {
    BuildingBlock block;
    block.box(0).setUsed(1);
    EXPECT_TRUE(block.hasUsedPart());
    block.placeAt(10, 20, 30);
    for (int k = 0; k < BuildingBlock::kParts; ++k) {
        EXPECT_EQ(block.box(k).offset(), (Vec3{10, 20, 30}));
        EXPECT_EQ(block.cylinder(k).offset(), (Vec3{10, 20, 30}));
    }
}

TEST(CourseWorldTest, ResetClearsEverything) {
    CourseWorld world;
    world.moveCar(5, 6, 0);
    world.roadPiece(49).setUsed(1);
    world.block(9).cylinder(3).setUsed(1);
    world.block(9).setCounts(4, 4, 4);
    world.resetWorld();
    EXPECT_EQ(world.carPosition(), (Vec3{0, 0, 0}));
    EXPECT_FALSE(world.roadPiece(49).isUsed());
    EXPECT_FALSE(world.block(9).hasUsedPart());
    EXPECT_EQ(world.block(9).counts(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(world.block(9).cylinder(3).sides(), 16);
}

} // namespace
} // namespace velnor
