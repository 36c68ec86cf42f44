#pragma once

#include "world/box.h"
#include "world/cylinder.h"

#include <array>

namespace velnor {

// Up to four boxes and four cylinders repeated on a grid: cell (i, j), 0 <= i < counts[0] and
// 0 <= j < counts[1], lies at (origin.x + i·pitch.x, origin.y + j·pitch.y, origin.z), and every
// used part appears once in every cell with that cell as its offset. Scenery only.
class BuildingBlock {
public:
    static constexpr int kParts = 4;

    BuildingBlock() { reset(); }

    void reset();

    void setPitch(float x, float y, float z) { pitch_ = {x, y, z}; }
    void setCounts(int i, int j, int k); // each value below 1 is taken as 1
    void setOrigin(float x, float y, float z) { origin_ = {x, y, z}; }
    void setViewCentre(const Vec3& centre) { viewCentre_ = centre; }
    // Sets the offset of all four boxes and all four cylinders.
    void placeAt(float x, float y, float z);

    // The position of cell (i, j).
    Vec3 cell(int i, int j) const;
    // At least one box or cylinder is used.
    bool hasUsedPart() const;

    const Vec3& pitch() const { return pitch_; }                 // z kept but not used
    const std::array<int, 3>& counts() const { return counts_; } // third kept but not used
    const Vec3& origin() const { return origin_; }
    const Vec3& viewCentre() const { return viewCentre_; }
    Box& box(int k) { return boxes_[k]; }
    const Box& box(int k) const { return boxes_[k]; }
    Cylinder& cylinder(int k) { return cylinders_[k]; }
    const Cylinder& cylinder(int k) const { return cylinders_[k]; }

private:
    Vec3 pitch_;
    std::array<int, 3> counts_;
    Vec3 origin_;
    Vec3 viewCentre_;
    Box boxes_[kParts];
    Cylinder cylinders_[kParts];
};

} // namespace velnor
