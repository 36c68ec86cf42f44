#pragma once

#include "platform/tick_clock.h"

#include <chrono>

namespace velnor {

// The game's clock: milliseconds of the system's steady clock, wrapping at 2^32 like any tick
// count, that can be held. While held (a modal question or dialog is open) it stands still, and
// when it goes on the time held does not count: the car does not jump ahead by the seconds the
// player spent reading a message.
class SteadyClock : public TickClock {
public:
    SteadyClock();

    std::uint32_t now() const override;
    // Holds are counted, so nested modal windows resume only when the last one closes.
    void hold();
    void resume();

    // The tick at which something happened that the system stamped with `stamp`, the
    // milliseconds of its monotonic clock (as the display server stamps key events), wrapping
    // at 2^32. A stamp from another clock, or more than kMaxEventAge old or ahead of now,
    // cannot be placed: it counts as now.
    std::uint32_t tickAt(std::uint32_t stamp) const;
    static constexpr std::uint32_t kMaxEventAge = 1000;

protected:
    // Milliseconds of the underlying clock since the game's clock started; a seam for tests.
    virtual std::int64_t elapsed() const;
    // The system's monotonic clock in milliseconds, wrapping at 2^32; a seam for tests.
    virtual std::uint32_t monotonicMs() const;

private:
    std::chrono::steady_clock::time_point origin_;
    std::int64_t heldAt_ = 0;
    std::int64_t heldTotal_ = 0;
    int holds_ = 0;
};

} // namespace velnor
