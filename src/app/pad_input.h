#pragma once

#include "app/actions.h"

#include <array>
#include <vector>

namespace velnor {

// Where a driving action is held from. One action may be held by several at once (the keyboard,
// its pad button, a stick or trigger): it is let go only when the last of them lets go.
enum class ActionSource : unsigned {
    kKeyboard = 1,
    kPadButton = 2,
    kPadAxis = 4, // a stick or trigger past its dead zone
};

// Which sources hold each action.
class HeldActions {
public:
    // `source` holds `action`; true when no source held it before.
    bool hold(Action action, ActionSource source);
    // `source` lets go of `action`; true when no source holds it now (also when none did).
    bool letGo(Action action, ActionSource source);
    bool isHeld(Action action) const;
    void clear() { holders_.fill(0); }

private:
    std::array<unsigned, kActionCount> holders_{};
};

// One change of what the pad holds.
struct PadChange {
    Action action;
    ActionSource source;
    bool down;

    bool operator==(const PadChange&) const = default;
};

// A game controller's buttons, stick and triggers as actions. Buttons act through the bindings;
// the left stick's x axis steers, the right trigger accelerates and the left trigger brakes, each
// as a key would be pressed when it is pushed past the dead zone and let go when it comes back
// well inside it, so that a stick resting near the edge does not flicker on and off.
class PadInput {
public:
    // Axes by their numbers in SDL's game controller API; values -32768 .. 32767 for the
    // stick (negative to the left), 0 .. 32767 for the triggers.
    static constexpr int kLeftStickX = 0;
    static constexpr int kLeftTrigger = 4;
    static constexpr int kRightTrigger = 5;
    // An axis presses at 3/8 of its travel and lets go below 1/4 of it.
    static constexpr int kPressAt = 12288;
    static constexpr int kHoldAt = 8192;
    static constexpr int kButtons = 32; // button numbers 0 .. kButtons - 1

    // Button `button` pressed or let go. A button lets go of the action it pressed, even if the
    // bindings changed meanwhile.
    std::vector<PadChange> button(int button, bool down, const Bindings& bindings);
    // Axis `axis` now at `value`.
    std::vector<PadChange> axis(int axis, int value);
    // The pad is gone: everything it held is let go (buttons first, then axes).
    std::vector<PadChange> letGoAll();

private:
    // One direction of an axis: the action it holds past the dead zone, +1 or -1 for the side.
    void axisSide(Action action, int side, int value, std::vector<PadChange>& changes);

    std::array<Action, kButtons> pressedAs_ = filled(); // what each button holds
    std::array<bool, kActionCount> axisHeld_{};

    static std::array<Action, kButtons> filled() {
        std::array<Action, kButtons> none;
        none.fill(Action::kCount);
        return none;
    }
};

} // namespace velnor
