#include "race/sound/sound_hand_over.h"

#include <cstring>

namespace velnor {

void SoundHandOver::publish(const SoundState& state) {
    std::uint32_t words[kWords];
    std::memcpy(words, &state, sizeof words);
    const std::uint32_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed); // odd: a write in progress
    std::atomic_thread_fence(std::memory_order_release);
    for (std::size_t i = 0; i < kWords; ++i)
        words_[i].store(words[i], std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
}

bool SoundHandOver::read(SoundState& state) const {
    constexpr int kTries = 4;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        if (before == 0)
            return false; // nothing published yet
        if (before & 1u)
            continue;
        std::uint32_t words[kWords];
        for (std::size_t i = 0; i < kWords; ++i)
            words[i] = words_[i].load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (sequence_.load(std::memory_order_relaxed) != before)
            continue;
        std::memcpy(&state, words, sizeof words);
        return true;
    }
    return false;
}

void SoundHandOver::cue(Cue cue, std::int32_t /*raceTime*/) {
    const std::uint32_t head = head_.load(std::memory_order_relaxed);
    if (head - tail_.load(std::memory_order_acquire) >= kCueSlots) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    cues_[head % kCueSlots].store(static_cast<std::uint8_t>(cue), std::memory_order_relaxed);
    head_.store(head + 1, std::memory_order_release);
}

bool SoundHandOver::takeCue(Cue& cue) {
    const std::uint32_t tail = tail_.load(std::memory_order_relaxed);
    if (tail == head_.load(std::memory_order_acquire))
        return false;
    cue = static_cast<Cue>(cues_[tail % kCueSlots].load(std::memory_order_relaxed));
    tail_.store(tail + 1, std::memory_order_release);
    return true;
}

} // namespace velnor
