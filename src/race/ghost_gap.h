#pragma once

#include "race/ghost_run.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velnor {

// The live gap to the ghost: the player's race time minus the ghost's race time at the point of
// its replayed path nearest to the player's car (projected onto the path's segments, the time
// interpolated along the segment). Positive: the player is behind the ghost. It compares times
// at places, not distances driven, so a cut corner counts the time it saved and a spin the time
// it cost.
//
// The match is searched near the last one only: every pass a walk to the neighbouring segment
// that is closer, and every kScanEvery passes the nearest segment within a window of path time
// (kBehindMs before the match, kAheadMs after it). The window keeps the match on this lap at the
// start/finish line and on this branch where the road crosses itself; the scan moves it onto
// the far side of a corner cut across, where the walk alone would stay on the old branch (a
// local minimum of the distance).
class GhostGap {
public:
    static constexpr std::int32_t kBehindMs = 4000;
    static constexpr std::int32_t kAheadMs = 8000;
    static constexpr int kScanEvery = 64;
    static constexpr int kMaxWalk = 32; // segments the walk moves at most in one pass

    // Follows `path` (a replay's: a point every GhostRun::kPathStepMs; it must outlive the
    // tracker and not move) from scratch; no gap yet.
    void reset(std::span<const GhostPathPoint> path);
    // The player's car at (x, y) world units at race time `raceTimeMs`; before "GO!" (a negative
    // race time) nothing happens.
    void update(float x, float y, std::int32_t raceTimeMs);

    // ms, nullopt without a path or before the first update at race time 0 or later.
    std::optional<std::int32_t> gap() const { return gap_; }
    // The ghost's race time (ms) at the matched point; meaningful once there is a gap.
    double matchedTime() const;

private:
    std::size_t segments() const { return path_.size() - 1; }
    // Squared distance from (x, y) to segment `i` (points i and i + 1), with the projection's
    // share of the segment in `share` (0-1).
    float distance(std::size_t i, float x, float y, float& share) const;
    void walk(float x, float y);
    void scan(float x, float y, std::size_t from, std::size_t to);

    std::span<const GhostPathPoint> path_;
    std::size_t segment_ = 0; // the matched segment
    float share_ = 0;         // where on it
    int passes_ = 0;          // updates since the last scan
    std::optional<std::int32_t> gap_;
};

} // namespace velnor
