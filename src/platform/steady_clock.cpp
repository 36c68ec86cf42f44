#include "platform/steady_clock.h"

namespace velnor {

SteadyClock::SteadyClock() : origin_(std::chrono::steady_clock::now()) {}

std::int64_t SteadyClock::elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 origin_)
        .count();
}

std::uint32_t SteadyClock::monotonicMs() const {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::uint32_t SteadyClock::tickAt(std::uint32_t stamp) const {
    const std::uint32_t age = monotonicMs() - stamp; // unsigned: a stamp ahead of now is huge
    return now() - (age <= kMaxEventAge && holds_ == 0 ? age : 0);
}

std::uint32_t SteadyClock::now() const {
    const std::int64_t ms = holds_ > 0 ? heldAt_ : elapsed();
    return static_cast<std::uint32_t>(ms - heldTotal_);
}

void SteadyClock::hold() {
    if (holds_++ == 0)
        heldAt_ = elapsed();
}

void SteadyClock::resume() {
    if (holds_ == 0)
        return;
    if (--holds_ == 0)
        heldTotal_ += elapsed() - heldAt_;
}

} // namespace velnor
