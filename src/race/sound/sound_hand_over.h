#pragma once

#include "race/sound/sound_state.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace velnor {

// The lock-free way from the game thread (one producer) to the audio thread (one consumer):
// neither side ever waits for the other.
//
// The continuous state goes through a sequence lock over atomic words. The writer makes the
// sequence odd (relaxed), a release fence orders that before the words, the words are stored
// relaxed, and the sequence is made even again with a release store. The reader loads the
// sequence with acquire, loads the words relaxed, an acquire fence orders them before the second,
// relaxed load of the sequence; equal even sequences mean the words are one publication whole.
// A reader that meets a write in progress retries a few times and then keeps the state it read
// last (never waits); every access is atomic, so there is no data race either way.
//
// The cues go through a fixed ring of single-producer single-consumer slots: the producer
// writes the slot then stores the head with release; the consumer loads the head with acquire,
// reads the slot, then stores the tail with release, which the producer loads with acquire
// before reusing that slot. No allocation, no lock; a full ring drops the new cue (and counts it).
class SoundHandOver final : public SoundOutput {
public:
    static constexpr std::size_t kCueSlots = 64; // a power of two

    // Game thread.
    void publish(const SoundState& state) override;
    void cue(Cue cue, std::int32_t raceTime) override;

    // Audio thread: the latest whole state into `state`; false (and `state` untouched) when none
    // has been published yet or a write kept overlapping the read.
    bool read(SoundState& state) const;
    // Audio thread: the oldest cue not yet taken; false when there is none.
    bool takeCue(Cue& cue);

    std::uint32_t droppedCues() const { return dropped_.load(std::memory_order_relaxed); }

    // The player's controls, set from any thread and taken by the synthesiser at its next buffer
    // (each on its own: relaxed is enough). Volume 0 to 1; mute; held while the race is paused.
    void setVolume(float volume) override { volume_.store(volume, std::memory_order_relaxed); }
    void setMuted(bool muted) override { muted_.store(muted, std::memory_order_relaxed); }
    void setHeld(bool held) override { held_.store(held, std::memory_order_relaxed); }
    float volume() const { return volume_.load(std::memory_order_relaxed); }
    bool muted() const { return muted_.load(std::memory_order_relaxed); }
    bool held() const { return held_.load(std::memory_order_relaxed); }

private:
    static constexpr std::size_t kWords = sizeof(SoundState) / sizeof(std::uint32_t);
    static_assert(sizeof(SoundState) % sizeof(std::uint32_t) == 0, "the state is whole words");

    std::atomic<std::uint32_t> sequence_{0};
    std::array<std::atomic<std::uint32_t>, kWords> words_{};

    std::array<std::atomic<std::uint8_t>, kCueSlots> cues_{};
    alignas(64) std::atomic<std::uint32_t> head_{0}; // next slot the producer writes
    alignas(64) std::atomic<std::uint32_t> tail_{0}; // next slot the consumer reads
    std::atomic<std::uint32_t> dropped_{0};
    std::atomic<float> volume_{1.0f};
    std::atomic<bool> muted_{false};
    std::atomic<bool> held_{false};
};

} // namespace velnor
