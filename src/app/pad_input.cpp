#include "app/pad_input.h"

namespace velnor {
namespace {

int indexOf(Action action) {
    return static_cast<int>(action);
}

unsigned bitOf(ActionSource source) {
    return static_cast<unsigned>(source);
}

bool valid(Action action) {
    return indexOf(action) >= 0 && indexOf(action) < kActionCount;
}

} // namespace

bool HeldActions::hold(Action action, ActionSource source) {
    if (!valid(action))
        return false;
    unsigned& holders = holders_[indexOf(action)];
    const bool first = holders == 0;
    holders |= bitOf(source);
    return first;
}

bool HeldActions::letGo(Action action, ActionSource source) {
    if (!valid(action))
        return false;
    unsigned& holders = holders_[indexOf(action)];
    holders &= ~bitOf(source);
    return holders == 0;
}

bool HeldActions::isHeld(Action action) const {
    return valid(action) && holders_[indexOf(action)] != 0;
}

std::vector<PadChange> PadInput::button(int button, bool down, const Bindings& bindings) {
    if (button < 0 || button >= kButtons)
        return {};
    Action& held = pressedAs_[button];
    if (down) {
        if (held != Action::kCount)
            return {}; // already down
        held = bindings.actionOfPadButton(button);
        if (held == Action::kCount)
            return {};
        return {{held, ActionSource::kPadButton, true}};
    }
    const Action action = held;
    held = Action::kCount;
    if (action == Action::kCount)
        return {};
    return {{action, ActionSource::kPadButton, false}};
}

void PadInput::axisSide(Action action, int side, int value, std::vector<PadChange>& changes) {
    const int travel = side * value; // how far towards this side
    bool& held = axisHeld_[indexOf(action)];
    if (!held && travel >= kPressAt) {
        held = true;
        changes.push_back({action, ActionSource::kPadAxis, true});
    } else if (held && travel < kHoldAt) {
        held = false;
        changes.push_back({action, ActionSource::kPadAxis, false});
    }
}

std::vector<PadChange> PadInput::axis(int axis, int value) {
    std::vector<PadChange> changes;
    switch (axis) {
    case kLeftStickX:
        // The side let go comes first when the stick swings from one side to the other.
        if (value >= 0) {
            axisSide(Action::kSteerLeft, -1, value, changes);
            axisSide(Action::kSteerRight, 1, value, changes);
        } else {
            axisSide(Action::kSteerRight, 1, value, changes);
            axisSide(Action::kSteerLeft, -1, value, changes);
        }
        break;
    case kRightTrigger:
        axisSide(Action::kAccelerator, 1, value, changes);
        break;
    case kLeftTrigger:
        axisSide(Action::kBrake, 1, value, changes);
        break;
    default:
        break;
    }
    return changes;
}

std::vector<PadChange> PadInput::letGoAll() {
    std::vector<PadChange> changes;
    for (Action& held : pressedAs_) {
        if (held != Action::kCount)
            changes.push_back({held, ActionSource::kPadButton, false});
        held = Action::kCount;
    }
    for (int i = 0; i < kActionCount; ++i) {
        if (axisHeld_[i])
            changes.push_back({static_cast<Action>(i), ActionSource::kPadAxis, false});
        axisHeld_[i] = false;
    }
    return changes;
}

} // namespace velnor
