#pragma once

#include <array>
#include <cstdint>

namespace velnor {

// Virtual key codes of the keys the game reads (the Windows codes, kept so that key tables and
// recorded inputs mean the same everywhere).
namespace vk {
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kX = 0x58; // accelerator
inline constexpr int kZ = 0x5A; // brake
// The keys that drive the car, held or let go at each pass.
inline constexpr std::array<int, 6> kDrivingKeys = {kX, kZ, kLeft, kRight, kUp, kDown};
} // namespace vk

// The down state of keys at the moment they are polled.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool isDown(int virtualKey) const = 0;
};

// A table of key states set from outside: by key press and release events in the game, by a
// script in tests and in headless races.
class KeyTable final : public KeyState {
public:
    bool isDown(int virtualKey) const override {
        return virtualKey >= 0 && virtualKey < kKeys && down_[virtualKey];
    }
    void setDown(int virtualKey, bool down) {
        if (virtualKey >= 0 && virtualKey < kKeys)
            down_[virtualKey] = down;
    }
    void releaseAll() { down_.fill(false); }

private:
    static constexpr int kKeys = 256;
    std::array<bool, kKeys> down_{};
};

} // namespace velnor
