#include "world/course_world.h"

namespace velnor {

void CourseWorld::resetWorld() {
    carPosition_ = {0, 0, 0};
    for (RoadPiece& piece : roadPieces_)
        piece.reset();
    ground_.reset();
    for (BuildingBlock& block : blocks_)
        block.reset();
}

void CourseWorld::moveCar(float dx, float dy, float dz) {
    carPosition_[0] += dx;
    carPosition_[1] += dy;
    carPosition_[2] += dz;
}

bool CourseWorld::onRoad(float x, float y, float width) const {
    for (const RoadPiece& piece : roadPieces_)
        if (piece.containsCarAt(x, y, width) == 0)
            return true;
    return false;
}

} // namespace velnor
