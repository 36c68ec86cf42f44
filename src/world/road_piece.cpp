#include "world/road_piece.h"

#include <algorithm>
#include <cmath>

namespace velnor {

void RoadPiece::reset() {
    Box::reset();
    for (auto& flags : extent_)
        flags = {0, 0, 0};
    viewCentre_ = {0, 0, 0};
    carWidth_ = 0;
    pieceType_ = kRoadGrey; // the reset type leaves the colour black
}

void RoadPiece::setType(int type) {
    switch (type) {
    case kMarkingWhite:
    case kMarkingWhiteAlt:
        setColour(1.0f, 1.0f, 1.0f, 1.0f);
        break;
    case kMarkingOrange:
        setColour(1.0f, 0.627f, 0.0f, 1.0f);
        break;
    case kRoadBrown:
        setColour(0.635f, 0.415f, 0.062f, 1.0f);
        break;
    default:
        type = kRoadGrey;
        setColour(0.8f, 0.8f, 0.8f, 1.0f);
        break;
    }
    pieceType_ = type;
}

void RoadPiece::setExtent(int i, int fx, int fy, int fz) {
    if (validCorner(i))
        extent_[i] = {fx, fy, fz};
}

int RoadPiece::containsCarAt(float cx, float cy, float width) const {
    if (!isUsed() || pieceType_ < kRoadGrey)
        return -1;
    const float ylo = cy - width / 2;
    const float yhi = cy + width / 2;
    const auto x = [this](int i) { return vertices_[i][0]; };
    const auto y = [this](int i) { return vertices_[i][1]; };

    // A side parallel to y has no slope: decide by the quadrilateral itself.
    if (x(0) == x(1) || x(2) == x(3))
        return containsCarAcrossVerticalSide(cx, ylo, yhi);

    // The piece's length along x: the corner pair across the sides that lies farthest apart.
    static constexpr int kPairs[4][2] = {{3, 0}, {2, 0}, {3, 1}, {2, 1}};
    const int* widest = kPairs[0];
    for (const auto& pair : kPairs)
        if (std::fabs(x(pair[0]) - x(pair[1])) > std::fabs(x(widest[0]) - x(widest[1])))
            widest = pair;
    const float xmin = std::min(x(widest[0]), x(widest[1]));
    const float xmax = std::max(x(widest[0]), x(widest[1]));
    if (cx < xmin - kMargin || cx > xmax + kMargin)
        return 1;

    const float m01 = (y(0) - y(1)) / (x(0) - x(1));
    const float b01 = (x(1) * y(0) - x(0) * y(1)) / (x(1) - x(0));
    const float m23 = (y(2) - y(3)) / (x(2) - x(3));
    const float b23 = (x(3) * y(2) - x(2) * y(3)) / (x(3) - x(2));
    const float ya = m01 * cx + b01;
    const float yb = m23 * cx + b23;
    const float ymin = std::min(ya, yb);
    const float ymax = std::max(ya, yb);
    if (ylo < ymin - kMargin || ylo > ymax + kMargin)
        return 1;
    if (yhi < ymin - kMargin || yhi > ymax + kMargin)
        return 1;
    return 0;
}

// The car is on the piece when its segment across y lies within the quadrilateral's cross-section
// at x = cx, with the margin on every side. Every division is by a nonzero edge length.
int RoadPiece::containsCarAcrossVerticalSide(float cx, float ylo, float yhi) const {
    float xmin = vertices_[0][0];
    float xmax = xmin;
    for (int i = 1; i < 4; ++i) {
        xmin = std::min(xmin, vertices_[i][0]);
        xmax = std::max(xmax, vertices_[i][0]);
    }
    if (!(cx >= xmin - kMargin && cx <= xmax + kMargin))
        return 1;
    const float at = std::clamp(cx, xmin, xmax); // within the margin: the nearest cross-section

    bool crossed = false;
    float ymin = 0;
    float ymax = 0;
    const auto take = [&](float yv) {
        ymin = crossed ? std::min(ymin, yv) : yv;
        ymax = crossed ? std::max(ymax, yv) : yv;
        crossed = true;
    };
    for (int i = 0; i < 4; ++i) {
        const Vec3& a = vertices_[i];
        const Vec3& b = vertices_[(i + 1) % 4];
        if (a[0] == b[0]) {
            if (a[0] == at) {
                take(a[1]);
                take(b[1]);
            }
        } else if (at >= std::min(a[0], b[0]) && at <= std::max(a[0], b[0])) {
            take(a[1] + (b[1] - a[1]) * (at - a[0]) / (b[0] - a[0]));
        }
    }
    if (!crossed)
        return 1;
    const bool inside = ylo >= ymin - kMargin && yhi <= ymax + kMargin;
    return inside ? 0 : 1;
}

} // namespace velnor
