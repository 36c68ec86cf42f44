#include "race/ghost_gap.h"

#include <algorithm>
#include <cmath>

namespace velnor {

void GhostGap::reset(std::span<const GhostPathPoint> path) {
    path_ = path;
    segment_ = 0;
    share_ = 0;
    passes_ = 0;
    gap_.reset();
}

float GhostGap::distance(std::size_t i, float x, float y, float& share) const {
    const GhostPathPoint& a = path_[i];
    const GhostPathPoint& b = path_[i + 1];
    const float sx = b.x - a.x;
    const float sy = b.y - a.y;
    const float px = x - a.x;
    const float py = y - a.y;
    const float length2 = sx * sx + sy * sy;
    share = length2 > 0 ? std::clamp((px * sx + py * sy) / length2, 0.0f, 1.0f) : 0.0f;
    const float dx = px - share * sx;
    const float dy = py - share * sy;
    return dx * dx + dy * dy;
}

void GhostGap::walk(float x, float y) {
    float share = 0;
    float best = distance(segment_, x, y, share_);
    int moves = 0;
    while (segment_ + 1 < segments() && moves < kMaxWalk) {
        const float ahead = distance(segment_ + 1, x, y, share);
        if (!(ahead < best))
            break;
        best = ahead;
        share_ = share;
        ++segment_;
        ++moves;
    }
    const bool movedAhead = moves > 0;
    while (!movedAhead && segment_ > 0 && moves < kMaxWalk) {
        const float behind = distance(segment_ - 1, x, y, share);
        if (!(behind < best))
            break;
        best = behind;
        share_ = share;
        --segment_;
        ++moves;
    }
}

void GhostGap::scan(float x, float y, std::size_t from, std::size_t to) {
    float share = 0;
    float best = distance(segment_, x, y, share_);
    for (std::size_t i = from; i <= to; ++i) {
        const float d = distance(i, x, y, share);
        if (d < best) { // a tie keeps the match where it is
            best = d;
            segment_ = i;
            share_ = share;
        }
    }
}

void GhostGap::update(float x, float y, std::int32_t raceTimeMs) {
    if (raceTimeMs < 0 || path_.empty())
        return;
    if (path_.size() == 1) {
        gap_ = raceTimeMs - path_[0].time;
        return;
    }
    const auto toSegment = [&](double ms) {
        const double i = std::floor(ms / GhostRun::kPathStepMs);
        return static_cast<std::size_t>(std::clamp(i, 0.0, static_cast<double>(segments() - 1)));
    };
    if (!gap_) { // the first match: around the ghost's point at the player's race time
        const double at = static_cast<double>(raceTimeMs) - path_[0].time;
        segment_ = toSegment(at);
        scan(x, y, toSegment(at - kBehindMs), toSegment(at + kAheadMs));
        passes_ = 0;
    } else if (++passes_ >= kScanEvery) {
        const double at = matchedTime() - path_[0].time;
        scan(x, y, toSegment(at - kBehindMs), toSegment(at + kAheadMs));
        passes_ = 0;
    } else {
        walk(x, y);
    }
    gap_ = raceTimeMs - static_cast<std::int32_t>(std::lround(matchedTime()));
}

double GhostGap::matchedTime() const {
    if (path_.empty())
        return 0;
    if (path_.size() == 1)
        return path_[0].time;
    const GhostPathPoint& a = path_[segment_];
    const GhostPathPoint& b = path_[segment_ + 1];
    return a.time + static_cast<double>(share_) * (b.time - a.time);
}

} // namespace velnor
