#pragma once

#include "platform/steady_clock.h"

namespace velnor {

// The game's clock on a wall clock set by hand: its milliseconds go on only when told, and
// holding and resuming leave the held time out as on the system's clock. A headless race runs on
// it, so that a pause is left out of the race by the same holding as in the window. The system's
// stamps of events are the wall's own milliseconds.
class HandSteadyClock final : public SteadyClock {
public:
    // The wall, and the game's clock with it, starts at `start` milliseconds.
    explicit HandSteadyClock(std::uint32_t start) : wall_(start) {}

    void advance(std::int64_t ms) { wall_ += ms; }
    // The stamp the system gives an event that happens now.
    std::uint32_t stampNow() const { return monotonicMs(); }

protected:
    std::int64_t elapsed() const override { return wall_; }
    std::uint32_t monotonicMs() const override { return static_cast<std::uint32_t>(wall_); }

private:
    std::int64_t wall_;
};

} // namespace velnor
