#pragma once

#include <cstdint>

namespace velnor {

// The game's time base: a millisecond count that wraps at 2^32. Differences of two readings are
// taken as unsigned or signed 32-bit numbers, so they stay right across the wrap.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual std::uint32_t now() const = 0;
};

// A clock that only moves when told to: for tests, benchmarks and headless races.
class ManualClock final : public TickClock {
public:
    explicit ManualClock(std::uint32_t start = 0) : tick_(start) {}
    std::uint32_t now() const override { return tick_; }
    void set(std::uint32_t tick) { tick_ = tick; }
    void advance(std::uint32_t milliseconds) { tick_ += milliseconds; }

private:
    std::uint32_t tick_;
};

} // namespace velnor
