#include "race/route_map.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <utility>

namespace velnor {
namespace {

constexpr int kStraight = 10;     // the cost of a step to a side neighbour
constexpr int kDiagonal = 14;     // and to a corner neighbour (10 √2)
constexpr float kTestMargin = 20; // world units the game's test reaches beyond a piece, and more

bool takesPart(const RoadPiece& piece) {
    return piece.isUsed() && piece.pieceType() >= kRoadGrey;
}

using Queue = std::priority_queue<std::pair<std::int32_t, int>,
                                  std::vector<std::pair<std::int32_t, int>>, std::greater<>>;

} // namespace

void RouteMap::build(const Course& course, float carWidth) {
    trouble_ = Trouble::kNone;
    waysBack_ = false;
    layGrid(course);
    markRoad(course, carWidth);
    measureClearance();
    std::vector<int> seeds;
    if (!placeGate(course.gate, seeds))
        return;
    findWays(seeds);
    for (const int seed : seeds)
        if (next_[seed] >= 0 && onRoute(next_[seed]))
            return;
    trouble_ = Trouble::kNoRing;
}

// A grid over every piece that can hold a car, with a border of ground round it.
void RouteMap::layGrid(const Course& course) {
    float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool any = false;
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        const RoadPiece& piece = course.world.roadPiece(i);
        if (!takesPart(piece))
            continue;
        for (int v = 0; v < 4; ++v) {
            const float x = piece.vertexX(v);
            const float y = piece.vertexY(v);
            xmin = any ? std::min(xmin, x) : x;
            xmax = any ? std::max(xmax, x) : x;
            ymin = any ? std::min(ymin, y) : y;
            ymax = any ? std::max(ymax, y) : y;
            any = true;
        }
    }
    x0_ = xmin - kBorder;
    y0_ = ymin - kBorder;
    size_ = kCell;
    const auto count = [&](float extent) {
        return static_cast<int>(std::ceil(extent / size_)) + 1;
    };
    while (static_cast<double>(count(xmax + kBorder - x0_)) * count(ymax + kBorder - y0_) >
           kMaxCells)
        size_ *= 1.5f;
    columns_ = count(xmax + kBorder - x0_);
    rows_ = count(ymax + kBorder - y0_);
    const std::size_t cells = static_cast<std::size_t>(columns_) * rows_;
    cells_.assign(cells, 0);
    edge_.assign(cells, 0);
    toGo_.assign(cells, kUnreached);
    next_.assign(cells, -1);
    bend_.assign(cells, -1);
}

int RouteMap::cellAt(float x, float y) const {
    const float fx = std::floor((x - x0_) / size_);
    const float fy = std::floor((y - y0_) / size_);
    if (!(fx >= 0 && fy >= 0 && fx < static_cast<float>(columns_) &&
          fy < static_cast<float>(rows_)))
        return -1;
    return static_cast<int>(fy) * columns_ + static_cast<int>(fx);
}

// Each piece marks the cells near it where it holds the car by the game's own test.
void RouteMap::markRoad(const Course& course, float carWidth) {
    for (int i = 0; i < CourseWorld::kRoadPieces; ++i) {
        const RoadPiece& piece = course.world.roadPiece(i);
        if (!takesPart(piece))
            continue;
        float xmin = piece.vertexX(0), xmax = xmin, ymin = piece.vertexY(0), ymax = ymin;
        for (int v = 1; v < 4; ++v) {
            xmin = std::min(xmin, piece.vertexX(v));
            xmax = std::max(xmax, piece.vertexX(v));
            ymin = std::min(ymin, piece.vertexY(v));
            ymax = std::max(ymax, piece.vertexY(v));
        }
        const int first = std::max(cellAt(xmin - kTestMargin, ymin - kTestMargin), 0);
        const int last = cellAt(xmax + kTestMargin, ymax + kTestMargin);
        const int c0 = first % columns_;
        const int c1 = last < 0 ? columns_ - 1 : last % columns_;
        const int r1 = last < 0 ? rows_ - 1 : last / columns_;
        for (int r = first / columns_; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) {
                const int cell = r * columns_ + c;
                if (!road(cell) && piece.containsCarAt(centreX(cell), centreY(cell), carWidth) == 0)
                    cells_[cell] |= kRoad;
            }
    }
}

// The distance of every road cell from the nearest cell off the road (two chamfer sweeps).
void RouteMap::measureClearance() {
    constexpr std::int32_t kFar = 1 << 28;
    std::vector<std::int32_t> d(cells_.size());
    for (std::size_t i = 0; i < cells_.size(); ++i)
        d[i] = road(static_cast<int>(i)) ? kFar : 0;
    const auto relax = [&](int r, int c, int dr, int dc, int cost) {
        const int rr = r + dr;
        const int cc = c + dc;
        const std::int32_t from = (rr < 0 || cc < 0 || rr >= rows_ || cc >= columns_)
                                      ? 0
                                      : d[static_cast<std::size_t>(rr) * columns_ + cc];
        std::int32_t& to = d[static_cast<std::size_t>(r) * columns_ + c];
        to = std::min(to, from + cost);
    };
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < columns_; ++c) {
            relax(r, c, 0, -1, kStraight);
            relax(r, c, -1, 0, kStraight);
            relax(r, c, -1, -1, kDiagonal);
            relax(r, c, -1, 1, kDiagonal);
        }
    for (int r = rows_ - 1; r >= 0; --r)
        for (int c = columns_ - 1; c >= 0; --c) {
            relax(r, c, 0, 1, kStraight);
            relax(r, c, 1, 0, kStraight);
            relax(r, c, 1, 1, kDiagonal);
            relax(r, c, 1, -1, kDiagonal);
        }
    for (std::size_t i = 0; i < d.size(); ++i)
        edge_[i] = d[i] / kStraight;
}

float RouteMap::along(int cell) const {
    return axis_ == 0 ? centreX(cell) : centreY(cell);
}

bool RouteMap::placeGate(const StartFinishGate& gate, std::vector<int>& seeds) {
    axis_ = gate.gateAxis();
    if (axis_ < 0) {
        trouble_ = Trouble::kNoGateAxis;
        return false;
    }
    line_ = gate.gateLine();
    sign_ = gate.direction[axis_] > 0 ? 1 : -1;
    const auto cellBeside = [&](float across, float side) {
        const float at = line_ + static_cast<float>(sign_) * side * size_;
        return axis_ == 0 ? cellAt(at, across) : cellAt(across, at);
    };
    const auto roadAt = [&](float across) {
        const int before = cellBeside(across, -0.75f);
        const int after = cellBeside(across, 0.75f);
        return before >= 0 && road(before) && after >= 0 && road(after);
    };
    // The wall reaches across the whole road the gate stands on.
    const float lo = gate.zoneAcrossMin();
    const float hi = gate.zoneAcrossMax();
    const int steps = columns_ + rows_;
    wallMin_ = lo;
    for (int i = 0; i < steps && roadAt(wallMin_ - size_); ++i)
        wallMin_ -= size_;
    wallMax_ = hi;
    for (int i = 0; i < steps && roadAt(wallMax_ + size_); ++i)
        wallMax_ += size_;
    // A probe stands for the whole cell it falls in, whose centre may lie half a cell beyond it:
    // without the half cell the outermost row of road beside the gate is left open, and the way
    // from just past the line turns back across it round the gate's end.
    wallMin_ -= size_ / 2;
    wallMax_ += size_ / 2;
    // The seeds: road cells just before the line whose centres lie within the gate's width.
    for (float across = lo; across <= hi + size_; across += size_) {
        const int cell = cellBeside(std::min(across, hi), -0.75f);
        if (cell < 0 || !road(cell) || toGo_[cell] == 0)
            continue;
        const float c = axis_ == 0 ? centreY(cell) : centreX(cell);
        if (c < lo || c > hi)
            continue;
        toGo_[cell] = 0;
        next_[cell] = cellBeside(c, 0.75f);
        seeds.push_back(cell);
    }
    if (seeds.empty())
        trouble_ = Trouble::kGateOffRoad;
    return !seeds.empty();
}

bool RouteMap::crossesWall(int from, int to) const {
    const bool before = static_cast<float>(sign_) * (along(from) - line_) <= 0;
    const bool after = static_cast<float>(sign_) * (along(to) - line_) <= 0;
    if (before == after)
        return false;
    const float a = axis_ == 0 ? centreY(from) : centreX(from);
    const float b = axis_ == 0 ? centreY(to) : centreX(to);
    return a >= wallMin_ && a <= wallMax_ && b >= wallMin_ && b <= wallMax_;
}

// Spreads the shortest ways from the cells in `queue` to their eight neighbours, cell by cell:
// `stepCost(from, to, diagonal)` is the cost of one step, negative where the way may not go.
// `dist` holds each cell's cost so far and `next` the cell its way goes on to.
template <typename StepCost>
void spreadWays(Queue& queue, std::vector<std::int32_t>& dist, std::vector<std::int32_t>& next,
                int rows, int columns, StepCost stepCost) {
    while (!queue.empty()) {
        const auto [d, cell] = queue.top();
        queue.pop();
        if (d > dist[cell])
            continue;
        const int r = cell / columns;
        const int c = cell % columns;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int rr = r + dr;
                const int cc = c + dc;
                if ((dr == 0 && dc == 0) || rr < 0 || cc < 0 || rr >= rows || cc >= columns)
                    continue;
                const int to = rr * columns + cc;
                const std::int32_t step = stepCost(cell, to, dr != 0 && dc != 0);
                if (step < 0)
                    continue;
                const std::int32_t cost = d + step;
                if (dist[to] != RouteMap::kUnreached && dist[to] <= cost)
                    continue;
                dist[to] = cost;
                next[to] = cell;
                queue.emplace(cost, to);
            }
    }
}

// The shortest ways to the seeds over the road, dearer near the edges, never through the wall.
void RouteMap::findWays(const std::vector<int>& seeds) {
    Queue queue;
    for (const int seed : seeds)
        queue.emplace(0, seed);
    spreadWays(queue, toGo_, next_, rows_, columns_, [this](int from, int to, bool diagonal) {
        if (!road(to) || crossesWall(from, to))
            return -1;
        return (diagonal ? kDiagonal : kStraight) * (1 + std::max(0, kEdgeClearance - edge_[to]));
    });
}

// Off the road, and on road that leads nowhere: the shortest way to the nearest cell that leads to
// the gate, over anything.
void RouteMap::findWaysBack() {
    waysBack_ = true;
    std::vector<std::int32_t> dist(cells_.size(), kUnreached);
    Queue queue;
    for (std::size_t i = 0; i < cells_.size(); ++i)
        if (toGo_[i] != kUnreached) {
            dist[i] = 0;
            queue.emplace(0, static_cast<int>(i));
        }
    spreadWays(queue, dist, next_, rows_, columns_,
               [](int, int, bool diagonal) { return diagonal ? kDiagonal : kStraight; });
}

int RouteMap::next(int cell) {
    if (cell < 0)
        return -1;
    if (!onRoute(cell) && !waysBack_ && trouble_ == Trouble::kNone)
        findWaysBack();
    return next_[cell];
}

float RouteMap::bendRadius(int cell) {
    if (bend_[cell] >= 0)
        return bend_[cell];
    constexpr float kChord = 80; // world units along the way for each of the two chords
    const auto ahead = [&](int from, float& length) {
        length = 0;
        int at = from;
        for (int i = 0; i < 64 && length < kChord; ++i) {
            const int to = next(at);
            if (to < 0)
                return -1;
            length += std::hypot(centreX(to) - centreX(at), centreY(to) - centreY(at));
            at = to;
        }
        return at;
    };
    float first = 0, second = 0;
    const int middle = ahead(cell, first);
    const int end = middle < 0 ? -1 : ahead(middle, second);
    float radius = 1e9f;
    if (end >= 0) {
        const float ax = centreX(middle) - centreX(cell), ay = centreY(middle) - centreY(cell);
        const float bx = centreX(end) - centreX(middle), by = centreY(end) - centreY(middle);
        const float turn = std::fabs(std::atan2(ax * by - ay * bx, ax * bx + ay * by));
        if (turn > 1e-3f)
            radius = (first + second) / 2 / turn;
    }
    bend_[cell] = radius;
    return radius;
}

} // namespace velnor
