#include "app/actions.h"

#include <Qt>

namespace velnor {
namespace {

// Game controller buttons by their numbers in SDL's game controller API.
namespace pad {
constexpr int kA = 0;
constexpr int kB = 1;
constexpr int kX = 2;
constexpr int kY = 3;
constexpr int kBack = 4;
constexpr int kStart = 6;
constexpr int kLeftShoulder = 9;
constexpr int kRightShoulder = 10;
constexpr int kDpadLeft = 13;
constexpr int kDpadRight = 14;
} // namespace pad

template <std::size_t N> Action find(const std::array<int, N>& table, int code) {
    if (code < 0)
        return Action::kCount;
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == code)
            return static_cast<Action>(i);
    return Action::kCount;
}

} // namespace

Bindings Bindings::standard() {
    Bindings b;
    const auto set = [&b](Action action, int key, int button) {
        b.key[static_cast<int>(action)] = key;
        b.padButton[static_cast<int>(action)] = button;
    };
    set(Action::kAccelerator, Qt::Key_X, pad::kA);
    set(Action::kBrake, Qt::Key_Z, pad::kB);
    set(Action::kSteerLeft, Qt::Key_Left, pad::kDpadLeft);
    set(Action::kSteerRight, Qt::Key_Right, pad::kDpadRight);
    set(Action::kShiftUp, Qt::Key_Up, pad::kRightShoulder);
    set(Action::kShiftDown, Qt::Key_Down, pad::kLeftShoulder);
    set(Action::kNextView, Qt::Key_Space, pad::kY);
    set(Action::kToggleCursor, Qt::Key_Delete, -1);
    set(Action::kSaveGhost, Qt::Key_S, pad::kX);
    set(Action::kRestart, Qt::Key_R, pad::kBack);
    set(Action::kPause, Qt::Key_P, pad::kStart);
    set(Action::kMute, Qt::Key_M, -1);
    return b;
}

Action Bindings::actionOfKey(int qtKey) const {
    return find(key, qtKey);
}

Action Bindings::actionOfPadButton(int button) const {
    return find(padButton, button);
}

} // namespace velnor
