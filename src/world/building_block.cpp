#include "world/building_block.h"

#include <algorithm>

namespace velnor {

void BuildingBlock::reset() {
    pitch_ = {0, 0, 0};
    counts_ = {1, 1, 1};
    origin_ = {0, 0, 0};
    viewCentre_ = {0, 0, 0};
    for (Box& part : boxes_)
        part.reset();
    for (Cylinder& part : cylinders_)
        part.reset();
}

void BuildingBlock::setCounts(int i, int j, int k) {
    const int columns = std::clamp(i, 1, kMaxCells);
    counts_ = {columns, std::clamp(j, 1, kMaxCells / columns), std::clamp(k, 1, kMaxCells)};
}

void BuildingBlock::placeAt(float x, float y, float z) {
    for (Box& part : boxes_)
        part.setOffset(x, y, z);
    for (Cylinder& part : cylinders_)
        part.setOffset(x, y, z);
}

Vec3 BuildingBlock::cell(int i, int j) const {
    return {origin_[0] + static_cast<float>(i) * pitch_[0],
            origin_[1] + static_cast<float>(j) * pitch_[1], origin_[2]};
}

bool BuildingBlock::hasUsedPart() const {
    return std::any_of(std::begin(boxes_), std::end(boxes_),
                       [](const Box& part) { return part.isUsed(); }) ||
           std::any_of(std::begin(cylinders_), std::end(cylinders_),
                       [](const Cylinder& part) { return part.isUsed(); });
}

} // namespace velnor
