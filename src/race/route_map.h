#pragma once

#include "world/course.h"

#include <cstdint>
#include <vector>

namespace velnor {

// The course as the autopilot plans on it: a grid of cells (1 m, coarser on a very large course)
// over the road, each marked where the game's on-road test holds a car of the given width at the
// cell's centre, and from every cell the way to go. On the road the way is the shortest one to
// the start/finish gate that keeps off the edges and crosses the gate line forwards inside the
// gate's width; from the gate it goes round the ring again. Off the road, or on a stretch of road
// that leads nowhere, the way is the shortest one to the nearest road that leads to the gate.
class RouteMap {
public:
    // Why a course cannot be driven: the gate faces no axis; no road the car fits reaches the
    // gate line inside the gate's width; the road through the gate does not come round to it.
    enum class Trouble { kNone, kNoGateAxis, kGateOffRoad, kNoRing };

    static constexpr float kCell = 10;             // world units (1 m) per cell, at least
    static constexpr int kMaxCells = 1 << 19;      // a larger course gets coarser cells
    static constexpr float kBorder = 150;          // world units of ground mapped round the road
    static constexpr int kEdgeClearance = 4;       // cells from the edge the way keeps if it can
    static constexpr std::int32_t kUnreached = -1; // the distance of a cell with no way

    // Maps the course for a car `carWidth` (world units) wide.
    void build(const Course& course, float carWidth);

    Trouble trouble() const { return trouble_; }
    bool built() const { return !cells_.empty(); }
    // The cell at world (x, y); -1 outside the map.
    int cellAt(float x, float y) const;
    float centreX(int cell) const {
        return x0_ + (static_cast<float>(cell % columns_) + 0.5f) * size_;
    }
    float centreY(int cell) const {
        return y0_ + (static_cast<float>(cell / columns_) + 0.5f) * size_;
    }
    float cellSize() const { return size_; }
    // The game's test holds the car at the cell's centre.
    bool road(int cell) const { return (cells_[cell] & kRoad) != 0; }
    // On the road, and the road leads to the gate from here.
    bool onRoute(int cell) const { return toGo_[cell] != kUnreached; }
    // Cells (rounded down) from the cell to the nearest one the car does not fit; 0 off the road.
    int clearance(int cell) const { return edge_[cell]; }
    // The next cell of the way; -1 where there is none.
    int next(int cell);
    // The radius (world units) of the bend the way takes after this cell, over about 8 m either
    // side; a huge value on a straight.
    float bendRadius(int cell);

private:
    static constexpr std::uint8_t kRoad = 1;

    void layGrid(const Course& course);
    void markRoad(const Course& course, float carWidth);
    void measureClearance();
    // The gate line as a wall across the road, and the cells just before it (the seeds).
    bool placeGate(const StartFinishGate& gate, std::vector<int>& seeds);
    void findWays(const std::vector<int>& seeds);
    void findWaysBack();
    bool crossesWall(int from, int to) const;
    float along(int cell) const; // the cell's centre along the gate's axis, world units

    std::vector<std::uint8_t> cells_;
    std::vector<std::int32_t> edge_;
    std::vector<std::int32_t> toGo_;
    std::vector<std::int32_t> next_;
    std::vector<float> bend_; // negative until measured
    bool waysBack_ = false;   // off-road ways worked out
    int columns_ = 0;
    int rows_ = 0;
    float x0_ = 0;
    float y0_ = 0;
    float size_ = kCell;
    Trouble trouble_ = Trouble::kNone;

    // The gate as a wall: its axis, line, the side the car comes from (+1 or -1) and the stretch
    // across the road it blocks.
    int axis_ = -1;
    float line_ = 0;
    int sign_ = 1;
    float wallMin_ = 0;
    float wallMax_ = 0;
};

} // namespace velnor
