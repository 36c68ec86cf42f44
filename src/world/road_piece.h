#pragma once

#include "world/box.h"

namespace velnor {

// Road piece types: 0-2 are markings drawn on the road (never holding the car), 3 and 4 road
// surfaces.
enum RoadPieceType : int {
    kMarkingWhite = 0,
    kMarkingWhiteAlt = 1,
    kMarkingOrange = 2,
    kRoadGrey = 3,
    kRoadBrown = 4,
};

// One flat quadrilateral of road: corners 0-3 of the box in drawing order round its edge; edges
// 0-1 and 2-3 are its two sides for the on-road test.
class RoadPiece : public Box {
public:
    // The on-road test's margin on every side, world units (0.5 m).
    static constexpr float kMargin = 5.0f;

    RoadPiece() { reset(); }

    void reset();

    // Stores the type and its colour; a type outside 0-4 is stored as 3.
    void setType(int type);
    int pieceType() const { return pieceType_; }

    // Per corner (0-7) and axis: when drawn, that coordinate follows the car ± 1000 (the ground).
    void setExtent(int i, int fx, int fy, int fz);
    const std::array<int, 3>& extent(int i) const { return extent_[i]; }

    void setViewCentre(const Vec3& centre) { viewCentre_ = centre; }
    const Vec3& viewCentre() const { return viewCentre_; }
    void setCarWidth(float width) { carWidth_ = width; }
    float carWidth() const { return carWidth_; }

    // 0 the car (at viewCentre, carWidth wide across y) is on this piece, 1 it is not, -1 the
    // piece takes no part (unused, or a marking).
    int containsCar() const { return containsCarAt(viewCentre_[0], viewCentre_[1], carWidth_); }
    // The same test for a car at (x, y), `width` wide.
    int containsCarAt(float x, float y, float width) const;

private:
    int containsCarAcrossVerticalSide(float cx, float ylo, float yhi) const;

    std::array<int, 3> extent_[kCorners];
    Vec3 viewCentre_;
    float carWidth_;
    int pieceType_;
};

} // namespace velnor
