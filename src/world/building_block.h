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
    // The most cells one block places. Every cell of a block may be in view at once (pitch 0, or
    // a grid within 100 m of the car) and each draws up to four boxes and four cylinders in
    // fixed-function GL: about 6 µs a box and 11 µs a cylinder with Mesa's software renderer,
    // so 64 cells are about 4 ms of a 16 ms frame, and a course's ten blocks stay short of a
    // freeze. The bundled Town Course's largest block has 10 cells.
    static constexpr int kMaxCells = 64;

    BuildingBlock() { reset(); }

    void reset();

    void setPitch(float x, float y, float z) { pitch_ = {x, y, z}; }
    // Each value below 1 is taken as 1; then i is held to kMaxCells and j to what fits beside
    // it (i × j <= kMaxCells), and the unused k to kMaxCells.
    void setCounts(int i, int j, int k);
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
