#pragma once

#include "world/building_block.h"
#include "world/road_piece.h"

#include <type_traits>

namespace velnor {

// The geometry of one course: the player car's position, 50 road pieces, the ground and ten
// building blocks. A plain value, copied whole from the catalogue's load buffer into the race.
class CourseWorld {
public:
    static constexpr int kRoadPieces = 50;
    static constexpr int kBlocks = 10;

    CourseWorld() { resetWorld(); }

    void resetWorld();
    void moveCar(float dx, float dy, float dz);

    const Vec3& carPosition() const { return carPosition_; }
    RoadPiece& roadPiece(int i) { return roadPieces_[i]; }
    const RoadPiece& roadPiece(int i) const { return roadPieces_[i]; }
    RoadPiece& ground() { return ground_; }
    const RoadPiece& ground() const { return ground_; }
    BuildingBlock& block(int i) { return blocks_[i]; }
    const BuildingBlock& block(int i) const { return blocks_[i]; }

    // Whether a car at (x, y), `width` wide across y, stands on at least one road piece.
    bool onRoad(float x, float y, float width) const;

private:
    Vec3 carPosition_;
    RoadPiece roadPieces_[kRoadPieces];
    RoadPiece ground_;
    BuildingBlock blocks_[kBlocks];
};

static_assert(std::is_trivially_copyable_v<CourseWorld>, "a course world is copied whole");

} // namespace velnor
