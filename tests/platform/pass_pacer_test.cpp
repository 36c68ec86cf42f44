// The loop's schedule: a pass for every millisecond of the tick counter, and each key change at
// the pass of its own millisecond; and where a key event stamped by the display server falls on
// the game's clock.
#include "platform/pass_pacer.h"
#include "platform/steady_clock.h"

#include <chrono>
#include <gtest/gtest.h>
#include <vector>

namespace velnor {
namespace {

// The passes run by `now`, and whether X was down at each.
struct Passes {
    std::vector<std::uint32_t> ticks;
    std::vector<bool> xDown;
};

Passes runTo(PassPacer& pacer, KeyTable& keys, std::uint32_t now) {
    Passes passes;
    while (pacer.nextPass(now, keys)) {
        passes.ticks.push_back(pacer.lastTick());
        passes.xDown.push_back(keys.isDown(vk::kX));
    }
    return passes;
}

TEST(PassPacerTest, OnePassForEveryMillisecondEachWithItsTick) {
    struct Row {
        const char* name;
        std::uint32_t from, now;
        std::vector<std::uint32_t> ticks;
    };
    const Row rows[] = {
        {"a frame of 3 ms", 100, 103, {101, 102, 103}},
        {"no time gone: no pass", 100, 100, {}},
        {"the clock behind the passes: none", 100, 99, {}},
        {"across the wrap of the tick counter", 4294967294u, 1, {4294967295u, 0, 1}},
    };
    for (const Row& row : rows) {
        PassPacer pacer;
        KeyTable keys;
        pacer.reset(row.from);
        EXPECT_EQ(runTo(pacer, keys, row.now).ticks, row.ticks) << row.name;
    }
}

TEST(PassPacerTest, AKeyChangeCountsFromThePassOfItsMillisecond) {
    struct Row {
        const char* name;
        std::uint32_t downAt, upAt;
        std::vector<bool> xDown; // at the passes of ticks 11 to 16
    };
    const Row rows[] = {
        {"down at 12, up at 15", 12, 15, {false, true, true, true, false, false}},
        {"down and up at one tick: in the order queued",
         13,
         13,
         {false, false, false, false, false, false}},
        {"a tick whose pass has run counts at the next pass",
         3,
         16,
         {true, true, true, true, true, false}},
    };
    for (const Row& row : rows) {
        PassPacer pacer;
        KeyTable keys;
        pacer.reset(10);
        pacer.queueKey(row.downAt, vk::kX, true);
        pacer.queueKey(row.upAt, vk::kX, false);
        EXPECT_EQ(runTo(pacer, keys, 16).xDown, row.xDown) << row.name;
    }
    // Queued out of order (a late stamp): still applied by tick, and a release queued before a
    // press at the same tick stays before it.
    PassPacer pacer;
    KeyTable keys;
    pacer.reset(10);
    pacer.queueKey(15, vk::kX, false);
    pacer.queueKey(12, vk::kX, true);
    pacer.queueKey(15, vk::kX, true);
    EXPECT_EQ(runTo(pacer, keys, 16).xDown,
              (std::vector<bool>{false, true, true, true, true, true}));
    // A release stamped a millisecond before a press queued earlier goes before it.
    pacer.queueKey(18, vk::kX, true);
    pacer.queueKey(17, vk::kX, false);
    EXPECT_EQ(runTo(pacer, keys, 18).xDown, (std::vector<bool>{false, true}));
    // Forgotten when the keys are let go, and by a new race.
    pacer.queueKey(18, vk::kX, false);
    pacer.clearQueue();
    EXPECT_TRUE(pacer.queueEmpty());
    pacer.queueKey(20, vk::kZ, true);
    pacer.reset(30);
    runTo(pacer, keys, 40);
    EXPECT_FALSE(keys.isDown(vk::kZ));
}

// The race ends before the passes of some key changes: they set the keys as the player left
// them, in the order of their ticks, and are gone.
TEST(PassPacerTest, ChangesLeftAtTheEndOfARaceSetTheKeys) {
    PassPacer pacer;
    KeyTable keys;
    pacer.reset(10);
    pacer.queueKey(11, vk::kX, true);
    runTo(pacer, keys, 11);
    ASSERT_TRUE(keys.isDown(vk::kX));
    pacer.queueKey(14, vk::kZ, true);
    pacer.queueKey(13, vk::kX, false); // stamped before the Z queued earlier
    pacer.queueKey(15, vk::kZ, false);
    pacer.queueKey(15, vk::kZ, true); // at one tick: in the order queued
    pacer.applyQueued(keys);
    EXPECT_FALSE(keys.isDown(vk::kX));
    EXPECT_TRUE(keys.isDown(vk::kZ));
    EXPECT_TRUE(pacer.queueEmpty());
    EXPECT_EQ(pacer.lastTick(), 11u); // no pass ran
}

// A steady clock whose underlying time and monotonic stamps are set by hand: the monotonic clock
// stands 4294960000 ms ahead of the game's, so stamps wrap while the game's clock does not.
class StampedClock final : public SteadyClock {
public:
    std::int64_t ms = 5000;

protected:
    std::int64_t elapsed() const override { return ms; }
    std::uint32_t monotonicMs() const override {
        return 4294960000u + static_cast<std::uint32_t>(ms);
    }
};

TEST(SteadyClockTest, AKeyStampFallsOnTheGameClockUpToASecondBack) {
    struct Row {
        const char* name;
        std::int64_t stampAge; // ms before the monotonic now
        std::uint32_t tick;
    };
    const Row rows[] = {
        {"now", 0, 5000},
        {"40 ms ago", 40, 4960},
        {"a second ago", 1000, 4000},
        {"older than a second: now", 1001, 5000},
        {"ahead of now: now", -3, 5000},
    };
    for (const Row& row : rows) {
        StampedClock clock;
        const auto stamp = static_cast<std::uint32_t>(4294965000LL - row.stampAge); // wraps at -1
        EXPECT_EQ(clock.tickAt(stamp), row.tick) << row.name;
    }
    // Time held by a question does not count on the game's clock: a stamp 40 ms old after a
    // hold of 2 s falls 40 ms before the game's now, and while held, on now.
    StampedClock clock;
    clock.hold();
    clock.ms += 2000;
    EXPECT_EQ(clock.tickAt(4294960000u + 7000 - 40), 5000u);
    clock.resume();
    EXPECT_EQ(clock.now(), 5000u);
    EXPECT_EQ(clock.tickAt(4294960000u + 7000 - 40), 4960u);
}

// The game's clock counts the system's milliseconds forward from its start.
TEST(SteadyClockTest, ItCountsRealMillisecondsForward) {
    const SteadyClock clock;
    const std::uint32_t first = clock.now();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
    while (std::chrono::steady_clock::now() < until) {
    }
    const auto gone = static_cast<std::int32_t>(clock.now() - first);
    EXPECT_GE(gone, 19); // whole milliseconds: the start may have been late in its first one
    EXPECT_LT(gone, 1000);
}

// The system's own monotonic clock: a stamp half a second old falls half a second back.
TEST(SteadyClockTest, TheSystemsStampsAreItsMonotonicMilliseconds) {
    const SteadyClock clock;
    const auto monotonic =
        static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());
    const std::uint32_t tick = clock.tickAt(monotonic - 500);
    const auto back = static_cast<std::int32_t>(clock.now() - tick);
    EXPECT_GE(back, 500); // and a little more if the clock moved on meanwhile
    EXPECT_LT(back, 600);
}

} // namespace
} // namespace velnor
