#pragma once

#include "platform/key_state.h"

#include <cstdint>
#include <deque>

namespace velnor {

// The schedule of the game loop while a race runs: one pass for every millisecond of the tick
// counter, in order, each with its own tick, however long the frames between them take; and every
// key press or release taken at the pass of the millisecond it happened, not at the end of the
// frame that saw it. So the same key timeline gives the same race at any frame rate and on any
// machine, in the window and headless alike.
class PassPacer {
public:
    // The passes have run up to `tick`: the next one is at tick + 1. Forgets queued keys.
    void reset(std::uint32_t tick);
    // The tick of the last pass run.
    std::uint32_t lastTick() const { return lastTick_; }

    // A key went down or up at `tick`. It is set in the key table just before the pass of that
    // tick; a key change at a tick whose pass has run already counts at the next pass. Changes at
    // one tick apply in the order they were queued.
    void queueKey(std::uint32_t tick, int virtualKey, bool down);
    // Forgets the key changes not yet applied (the keys are being let go).
    void clearQueue() { queue_.clear(); }
    // Sets every change not yet applied in `keys`, in order, and forgets them: the race has ended
    // before their passes, and the keys are as the player left them (else a key let go in the
    // race's last frame would stay down into the next race).
    void applyQueued(KeyTable& keys);
    bool queueEmpty() const { return queue_.empty(); }

    // Whether a pass is due by `now`. If one is, it becomes the last pass (its tick is
    // `lastTick()`), the key changes due at it are set in `keys`, and the caller runs it.
    bool nextPass(std::uint32_t now, KeyTable& keys);

private:
    struct QueuedKey {
        std::uint32_t tick;
        int virtualKey;
        bool down;
    };

    // Milliseconds from the last pass to `tick`, negative when it has passed. Ticks wrap at 2^32:
    // differences are taken as signed 32-bit numbers.
    std::int32_t ahead(std::uint32_t tick) const {
        return static_cast<std::int32_t>(tick - lastTick_);
    }

    std::uint32_t lastTick_ = 0;
    std::deque<QueuedKey> queue_; // by tick, in the order queued at one tick
};

} // namespace velnor
