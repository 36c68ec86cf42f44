#pragma once

#include <cstdint>
#include <optional>

namespace velnor {

// The gap to the ghost as the player reads it: the live gap changes at every pass, and a number
// that changed as often would flicker. The shown gap is taken a few times a second, and only when
// it has moved by more than a hundredth or two from what is shown (so a gap that wavers around
// one value, or around zero, does not flip its sign back and forth).
class GapReadout {
public:
    static constexpr std::uint32_t kIntervalMs = 250; // four readings a second
    static constexpr std::int32_t kHysteresisMs = 20;

    // Nothing shown.
    void reset() { shown_.reset(); }
    // The live gap (ms; none without a ghost or before the start) at `tick` of the race's clock.
    // True when the shown gap changed and must be drawn again.
    bool update(std::optional<std::int32_t> gap, std::uint32_t tick);
    std::optional<std::int32_t> shown() const { return shown_; }

private:
    std::optional<std::int32_t> shown_;
    std::uint32_t takenAt_ = 0; // the tick of the last reading
};

} // namespace velnor
