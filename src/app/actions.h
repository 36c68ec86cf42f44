#pragma once

#include "platform/key_state.h"

#include <array>

namespace velnor {

// What the player's keys and pad buttons do in a race. The driving actions are held: the game
// reads them at every pass through their virtual key codes, which the ghost files record. The
// race actions act once when pressed.
enum class Action : int {
    kAccelerator = 0,
    kBrake,
    kSteerLeft,
    kSteerRight,
    kShiftUp,
    kShiftDown,
    kNextView,     // the next camera view (racing and finished)
    kToggleCursor, // hide or show the mouse cursor (racing)
    kSaveGhost,    // save the run as the course's ghost (finished, standing)
    kRestart,      // the same race again
    kPause,        // pause or resume the race
    kMute,         // silence the music and the sounds, or hear them again (any state)
    kCount
};

inline constexpr int kActionCount = static_cast<int>(Action::kCount);

// The virtual key of a driving action as the game polls it, or -1 for a race action.
constexpr int drivingKeyOf(Action action) {
    switch (action) {
    case Action::kAccelerator:
        return vk::kX;
    case Action::kBrake:
        return vk::kZ;
    case Action::kSteerLeft:
        return vk::kLeft;
    case Action::kSteerRight:
        return vk::kRight;
    case Action::kShiftUp:
        return vk::kUp;
    case Action::kShiftDown:
        return vk::kDown;
    default:
        return -1;
    }
}

// The keys and pad buttons assigned to the actions: one each, -1 for none. Keys are Qt key codes;
// pad buttons are the game controller's button numbers (SDL_GameControllerButton). The pad's
// sticks and triggers act besides the buttons: the left stick and the d-pad steer, the right
// trigger accelerates and the left trigger brakes.
struct Bindings {
    std::array<int, kActionCount> key{};
    std::array<int, kActionCount> padButton{};

    // The standard assignment: the keys the game has always had, and a common pad layout.
    static Bindings standard();
    // The action of a key or a pad button, or Action::kCount for none.
    Action actionOfKey(int qtKey) const;
    Action actionOfPadButton(int button) const;
};

} // namespace velnor
