#pragma once

#include <cstdint>

namespace velnor {

// A one-shot deadline on the tick clock: start it for some milliseconds, and `expired` answers
// true once, in the first call at or after the due tick. The due tick is compared as a signed
// difference, so a deadline that falls after the wrap of the tick counter is still met on time.
class DeadlineTimer {
public:
    void start(std::uint32_t now, std::uint32_t milliseconds) {
        due_ = now + milliseconds;
        active_ = true;
    }
    void stop() { active_ = false; }
    bool isActive() const { return active_; }

    bool expired(std::uint32_t now) {
        if (!active_ || static_cast<std::int32_t>(now - due_) < 0)
            return false;
        active_ = false;
        return true;
    }

private:
    std::uint32_t due_ = 0;
    bool active_ = false;
};

} // namespace velnor
