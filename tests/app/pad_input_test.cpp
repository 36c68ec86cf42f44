// The pad's stick, triggers and buttons as the driving actions they hold: the dead zone and its
// hysteresis as a player feels them, the standard button layout, and one action held from several
// places at once.
#include "app/actions.h"
#include "app/pad_input.h"

#include <SDL2/SDL_gamecontroller.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace velnor {

// Failures name the changes, not their bytes.
void PrintTo(const PadChange& change, std::ostream* os) {
    *os << "{action " << static_cast<int>(change.action) << ", source "
        << static_cast<unsigned>(change.source) << (change.down ? ", down}" : ", up}");
}

namespace {

constexpr ActionSource kAxis = ActionSource::kPadAxis;
constexpr ActionSource kButton = ActionSource::kPadButton;
constexpr ActionSource kKeyboard = ActionSource::kKeyboard;

// Full travel of a stick or trigger is 32768 steps: the dead zone ends at 3/8 of it (12288),
// and an axis that pressed lets go only once back below 1/4 of it (8192).
struct AxisCase {
    const char* name;
    int axis;
    std::vector<int> values; // one after the other, from rest
    std::vector<PadChange> expected;
};

void PrintTo(const AxisCase& row, std::ostream* os) {
    *os << row.name;
}

class PadAxisTest : public testing::TestWithParam<AxisCase> {};

TEST_P(PadAxisTest, PressesAndLetsGoAsAKeyWould) {
    PadInput pad;
    std::vector<PadChange> changes;
    for (const int value : GetParam().values)
        for (const PadChange& change : pad.axis(GetParam().axis, value))
            changes.push_back(change);
    EXPECT_EQ(changes, GetParam().expected);
}

const PadChange kLeftDown{Action::kSteerLeft, kAxis, true};
const PadChange kLeftUp{Action::kSteerLeft, kAxis, false};
const PadChange kRightDown{Action::kSteerRight, kAxis, true};
const PadChange kRightUp{Action::kSteerRight, kAxis, false};
constexpr int kStickX = SDL_CONTROLLER_AXIS_LEFTX;

INSTANTIATE_TEST_SUITE_P(
    DeadZone, PadAxisTest,
    testing::Values(
        AxisCase{"StickTenPercentRightDoesNothing", kStickX, {3277}, {}},
        AxisCase{"StickTenPercentLeftDoesNothing", kStickX, {-3277}, {}},
        AxisCase{"StickSixtyPercentRightSteersRight", kStickX, {19661}, {kRightDown}},
        AxisCase{"StickSixtyPercentLeftSteersLeft", kStickX, {-19661}, {kLeftDown}},
        AxisCase{"JustShortOfThreeEighthsRightDoesNothing", kStickX, {12287}, {}},
        AxisCase{"ThreeEighthsRightSteers", kStickX, {12288}, {kRightDown}},
        AxisCase{"JustShortOfThreeEighthsLeftDoesNothing", kStickX, {-12287}, {}},
        AxisCase{"ThreeEighthsLeftSteers", kStickX, {-12288}, {kLeftDown}},
        AxisCase{"FullLeftSteersLeft", kStickX, {-32768}, {kLeftDown}},
        AxisCase{"BackToAQuarterStillSteers", kStickX, {19661, 8192}, {kRightDown}},
        AxisCase{"BelowAQuarterLetsGo", kStickX, {19661, 8191}, {kRightDown, kRightUp}},
        AxisCase{"BelowAQuarterLeftLetsGo", kStickX, {-19661, -8191}, {kLeftDown, kLeftUp}},
        AxisCase{"BackToTheMiddleLetsGo", kStickX, {-32768, 0}, {kLeftDown, kLeftUp}},
        AxisCase{"RestingNearTheEdgeDoesNotFlicker",
                 kStickX,
                 {12288, 9000, 12500, 8500, 13000, 8192},
                 {kRightDown}},
        AxisCase{"WanderingInsideTheDeadZoneDoesNothing", kStickX, {11000, 12000, 9000, 12287}, {}},
        AxisCase{"AgainPastTheDeadZoneAfterLettingGo",
                 kStickX,
                 {20000, 5000, 11000, 20000},
                 {kRightDown, kRightUp, kRightDown}},
        AxisCase{"SwungFromLeftToRightLetsGoFirst",
                 kStickX,
                 {-32768, 32767},
                 {kLeftDown, kLeftUp, kRightDown}},
        AxisCase{"SwungFromRightToLeftLetsGoFirst",
                 kStickX,
                 {32767, -32768},
                 {kRightDown, kRightUp, kLeftDown}},
        AxisCase{"RightTriggerAccelerates",
                 SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
                 {32767, 0},
                 {{Action::kAccelerator, kAxis, true}, {Action::kAccelerator, kAxis, false}}},
        AxisCase{
            "RightTriggerAtTenPercentDoesNothing", SDL_CONTROLLER_AXIS_TRIGGERRIGHT, {3277}, {}},
        AxisCase{"LeftTriggerBrakes",
                 SDL_CONTROLLER_AXIS_TRIGGERLEFT,
                 {19661, 8191},
                 {{Action::kBrake, kAxis, true}, {Action::kBrake, kAxis, false}}},
        AxisCase{"LeftStickUpAndDownDoNothing", SDL_CONTROLLER_AXIS_LEFTY, {-32768, 32767}, {}},
        AxisCase{"RightStickDoesNothing", SDL_CONTROLLER_AXIS_RIGHTX, {-32768, 32767}, {}}),
    [](const auto& row) { return std::string(row.param.name); });

// The standard layout as printed on a common pad.
struct ButtonCase {
    const char* name;
    int button;
    Action action; // Action::kCount: none
};

void PrintTo(const ButtonCase& row, std::ostream* os) {
    *os << row.name;
}

class StandardPadButtonTest : public testing::TestWithParam<ButtonCase> {};

TEST_P(StandardPadButtonTest, HoldsItsActionWhileDown) {
    PadInput pad;
    const Bindings standard = Bindings::standard();
    const ButtonCase& row = GetParam();
    const std::vector<PadChange> down = pad.button(row.button, true, standard);
    const std::vector<PadChange> up = pad.button(row.button, false, standard);
    if (row.action == Action::kCount) {
        EXPECT_TRUE(down.empty());
        EXPECT_TRUE(up.empty());
        return;
    }
    EXPECT_EQ(down, (std::vector<PadChange>{{row.action, kButton, true}}));
    EXPECT_EQ(up, (std::vector<PadChange>{{row.action, kButton, false}}));
}

INSTANTIATE_TEST_SUITE_P(
    Layout, StandardPadButtonTest,
    testing::Values(
        ButtonCase{"AAccelerates", SDL_CONTROLLER_BUTTON_A, Action::kAccelerator},
        ButtonCase{"BBrakes", SDL_CONTROLLER_BUTTON_B, Action::kBrake},
        ButtonCase{"XSaves", SDL_CONTROLLER_BUTTON_X, Action::kSaveGhost},
        ButtonCase{"YNextView", SDL_CONTROLLER_BUTTON_Y, Action::kNextView},
        ButtonCase{"BackRestarts", SDL_CONTROLLER_BUTTON_BACK, Action::kRestart},
        ButtonCase{"StartPauses", SDL_CONTROLLER_BUTTON_START, Action::kPause},
        ButtonCase{"RightShoulderShiftsUp", SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, Action::kShiftUp},
        ButtonCase{"LeftShoulderShiftsDown", SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                   Action::kShiftDown},
        ButtonCase{"DpadLeftSteersLeft", SDL_CONTROLLER_BUTTON_DPAD_LEFT, Action::kSteerLeft},
        ButtonCase{"DpadRightSteersRight", SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Action::kSteerRight},
        ButtonCase{"DpadUpNothing", SDL_CONTROLLER_BUTTON_DPAD_UP, Action::kCount},
        ButtonCase{"DpadDownNothing", SDL_CONTROLLER_BUTTON_DPAD_DOWN, Action::kCount},
        ButtonCase{"GuideNothing", SDL_CONTROLLER_BUTTON_GUIDE, Action::kCount},
        ButtonCase{"LeftStickClickNothing", SDL_CONTROLLER_BUTTON_LEFTSTICK, Action::kCount},
        ButtonCase{"OutOfRangeNothing", 99, Action::kCount},
        ButtonCase{"NegativeNothing", -1, Action::kCount}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PadButtonTest, LetsGoOfWhatItPressedEvenIfReassignedMeanwhile) {
    PadInput pad;
    Bindings bindings = Bindings::standard();
    pad.button(SDL_CONTROLLER_BUTTON_A, true, bindings);
    bindings.padButton[static_cast<int>(Action::kAccelerator)] = -1;
    bindings.padButton[static_cast<int>(Action::kBrake)] = SDL_CONTROLLER_BUTTON_A;
    EXPECT_EQ(pad.button(SDL_CONTROLLER_BUTTON_A, false, bindings),
              (std::vector<PadChange>{{Action::kAccelerator, kButton, false}}));
}

TEST(PadButtonTest, ASecondDownWithoutAnUpChangesNothing) {
    PadInput pad;
    const Bindings standard = Bindings::standard();
    pad.button(SDL_CONTROLLER_BUTTON_A, true, standard);
    EXPECT_TRUE(pad.button(SDL_CONTROLLER_BUTTON_A, true, standard).empty());
    EXPECT_EQ(pad.button(SDL_CONTROLLER_BUTTON_A, false, standard).size(), 1u);
    EXPECT_TRUE(pad.button(SDL_CONTROLLER_BUTTON_A, false, standard).empty());
}

TEST(PadInputTest, GoneItLetsGoOfEverythingItHeldOnce) {
    PadInput pad;
    const Bindings standard = Bindings::standard();
    pad.button(SDL_CONTROLLER_BUTTON_A, true, standard);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, standard);
    pad.button(SDL_CONTROLLER_BUTTON_B, true, standard);
    pad.button(SDL_CONTROLLER_BUTTON_B, false, standard);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_EQ(pad.letGoAll(), (std::vector<PadChange>{{Action::kAccelerator, kButton, false},
                                                      {Action::kSteerLeft, kButton, false},
                                                      {Action::kBrake, kAxis, false},
                                                      {Action::kSteerLeft, kAxis, false}}));
    EXPECT_TRUE(pad.letGoAll().empty());
    // Nothing is held any more: the stick coming back lets go of nothing.
    EXPECT_TRUE(pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0).empty());
}

// One action held from several sources: let go only when the last of them lets go.
TEST(HeldActionsTest, AnActionIsLetGoWhenNoSourceHoldsIt) {
    HeldActions held;
    EXPECT_TRUE(held.hold(Action::kSteerLeft, kKeyboard));
    EXPECT_FALSE(held.hold(Action::kSteerLeft, kButton));
    EXPECT_FALSE(held.hold(Action::kSteerLeft, kAxis));
    EXPECT_FALSE(held.letGo(Action::kSteerLeft, kKeyboard));
    EXPECT_FALSE(held.letGo(Action::kSteerLeft, kAxis));
    EXPECT_TRUE(held.isHeld(Action::kSteerLeft));
    EXPECT_TRUE(held.letGo(Action::kSteerLeft, kButton));
    EXPECT_FALSE(held.isHeld(Action::kSteerLeft));
    // Let go by one that never held it: still no holder.
    EXPECT_TRUE(held.letGo(Action::kSteerLeft, kAxis));
}

TEST(HeldActionsTest, TheSourcesOfOneActionDoNotHoldAnother) {
    HeldActions held;
    held.hold(Action::kAccelerator, kKeyboard);
    EXPECT_TRUE(held.hold(Action::kBrake, kButton));
    EXPECT_TRUE(held.letGo(Action::kBrake, kButton));
    EXPECT_TRUE(held.isHeld(Action::kAccelerator));
}

} // namespace
} // namespace velnor
