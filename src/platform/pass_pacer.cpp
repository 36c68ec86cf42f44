#include "platform/pass_pacer.h"

#include <algorithm>

namespace velnor {

void PassPacer::reset(std::uint32_t tick) {
    lastTick_ = tick;
    queue_.clear();
}

void PassPacer::queueKey(std::uint32_t tick, int virtualKey, bool down) {
    // After every change queued at the same tick or before it; keys mostly come in time order,
    // so the place is looked for from the back.
    const auto atOrBefore =
        std::find_if(queue_.rbegin(), queue_.rend(), [&](const QueuedKey& queued) {
            return static_cast<std::int32_t>(queued.tick - tick) <= 0;
        });
    queue_.insert(atOrBefore.base(), {tick, virtualKey, down});
}

void PassPacer::applyQueued(KeyTable& keys) {
    for (const QueuedKey& queued : queue_)
        keys.setDown(queued.virtualKey, queued.down);
    queue_.clear();
}

bool PassPacer::nextPass(std::uint32_t now, KeyTable& keys) {
    if (ahead(now) < 1)
        return false;
    ++lastTick_;
    while (!queue_.empty() && ahead(queue_.front().tick) <= 0) {
        keys.setDown(queue_.front().virtualKey, queue_.front().down);
        queue_.pop_front();
    }
    return true;
}

} // namespace velnor
