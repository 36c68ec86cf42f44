// The game controller in the game's window, through SDL's virtual joystick: connected and named,
// a whole race driven through it by the autopilot's inputs to the same lap times, and pulled out
// mid-race with every control let go while the race goes on.
#include "app/fakes.h"
#include "app/main_window.h"
#include "app/race_setup.h"
#include "platform/key_state.h"
#include "race/autopilot_courses.h"

#include <QTest>
#include <SDL2/SDL.h>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace velnor {
namespace {

constexpr std::array<int, 6> kDrivingKeys = {vk::kX,     vk::kZ,  vk::kLeft,
                                             vk::kRight, vk::kUp, vk::kDown};

// A game controller as SDL sees a real one: the standard buttons and axes.
class VirtualPad {
public:
    explicit VirtualPad(const char* name) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = name;
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        if (index_ >= 0)
            joystick_ = SDL_JoystickOpen(index_);
    }
    ~VirtualPad() { detach(); }

    bool attached() const { return joystick_ != nullptr; }
    void button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    // `value` as the game controller reports it: -32768 .. 32767 for a stick, 0 .. 32767 for a
    // trigger (whose raw axis spans the whole range, at rest at -32768).
    void axis(SDL_GameControllerAxis axis, int value) {
        const bool trigger =
            axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
        const int raw = trigger ? 2 * value - 32768 : value;
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(raw));
    }
    void detach() {
        if (!joystick_)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

private:
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

class PadInTheWindow : public testing::Test {
protected:
    void SetUp() override { open(); }

    void TearDown() override { close(); }

    void open() {
        window = std::make_unique<MainWindow>(game.dir.path(), clock, messages, player, setup);
        window->show();
        window->activateWindow(); // the pad acts in the window with the focus, as the keys
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void close() {
        messages.answers.assign(10, true);
        window.reset();
    }

    // A pad attached and noticed by the window.
    std::unique_ptr<VirtualPad> attach(const char* name = "Test Pad") {
        auto pad = std::make_unique<VirtualPad>(name);
        window->pollGamepad();
        return pad;
    }

    std::int32_t raceNow() const {
        return static_cast<std::int32_t>(clock.now() - window->game().playerCar.startTick() -
                                         Vehicle::kStartHold);
    }

    // One millisecond of the race: the pad's news, then the pass.
    void pass() {
        clock.advance(1);
        window->pollGamepad();
        window->idlePass();
    }

    bool anyDrivingKeyDown() const {
        for (const int key : kDrivingKeys)
            if (window->keys().isDown(key))
                return true;
        return false;
    }

    test::GameDir game{test::rectangularRing("Ring", -12, 22, 20, 8)};
    test::HandClock clock;
    test::FakeMessageBoxes messages;
    test::FakeMusicPlayer player;
    FirstCarAndCourse setup; // Stella 2.0, automatic, the ring
    std::unique_ptr<MainWindow> window;
};

TEST_F(PadInTheWindow, ItsNameIsShownAsPlainTextWhenItConnectsAndWhenItGoes) {
    ASSERT_EQ(SDL_NumJoysticks(), 0) << "a controller is attached to this machine";
    EXPECT_TRUE(window->padNote().isEmpty());
    // Markup, format directives and control characters are shown as they are, on one line.
    auto pad = attach("Pad <b>One</b>\nTwo\x1b[31m %s%n");
    ASSERT_TRUE(pad->attached()) << SDL_GetError();
    EXPECT_EQ(window->padNote(),
              QString::fromUtf8("コントローラ接続: Pad <b>One</b> Two [31m %s%n"));
    pad->detach();
    pass(); // the pad read, and a pass: a key counts from the pass of its millisecond
    EXPECT_EQ(window->padNote(),
              QString::fromUtf8("コントローラ切断: Pad <b>One</b> Two [31m %s%n"));
    // A name of 100 characters: its first 63 and "…".
    const std::string longName(100, 'n');
    pad = attach(longName.c_str());
    EXPECT_EQ(window->padNote(), QString::fromUtf8("コントローラ接続: ") +
                                     QString(63, QLatin1Char('n')) + QChar(0x2026));
}

TEST_F(PadInTheWindow, TheFirstConnectedDrivesAndTheNextTakesOverWhenItGoes) {
    auto first = attach("First Pad");
    auto second = attach("Second Pad");
    ASSERT_TRUE(first->attached() && second->attached()) << SDL_GetError();
    EXPECT_EQ(window->padNote(), QString::fromUtf8("コントローラ接続: First Pad"));
    window->startCommand();
    second->button(SDL_CONTROLLER_BUTTON_A, true);
    pass();
    EXPECT_FALSE(window->keys().isDown(vk::kX));
    second->button(SDL_CONTROLLER_BUTTON_A, false);
    first->button(SDL_CONTROLLER_BUTTON_B, true);
    pass();
    EXPECT_TRUE(window->keys().isDown(vk::kZ));
    first->detach();
    pass();
    EXPECT_FALSE(window->keys().isDown(vk::kZ));
    EXPECT_EQ(window->padNote(), QString::fromUtf8("コントローラ接続: Second Pad"));
    second->button(SDL_CONTROLLER_BUTTON_A, true);
    pass();
    EXPECT_TRUE(window->keys().isDown(vk::kX));
}

// The standard layout as the race reads it: each driving button holds its key while down.
TEST_F(PadInTheWindow, EachDrivingButtonHoldsItsKey) {
    auto pad = attach();
    ASSERT_TRUE(pad->attached()) << SDL_GetError();
    window->startCommand();
    ASSERT_EQ(window->game().gameState(), GameState::kRacing);
    const struct {
        SDL_GameControllerButton button;
        int key;
    } rows[] = {{SDL_CONTROLLER_BUTTON_A, vk::kX},
                {SDL_CONTROLLER_BUTTON_B, vk::kZ},
                {SDL_CONTROLLER_BUTTON_DPAD_LEFT, vk::kLeft},
                {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, vk::kRight},
                {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, vk::kUp},
                {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, vk::kDown}};
    for (const auto& row : rows) {
        pad->button(row.button, true);
        pass();
        for (const int key : kDrivingKeys)
            EXPECT_EQ(window->keys().isDown(key), key == row.key) << row.button << " " << key;
        pad->button(row.button, false);
        pass();
        EXPECT_FALSE(anyDrivingKeyDown()) << row.button;
    }
    const int view = window->game().camera().nextMode();
    pad->button(SDL_CONTROLLER_BUTTON_Y, true);
    pass();
    EXPECT_NE(window->game().camera().nextMode(), view); // Y: the next view
}

// As the keys: another window with the focus gets nothing from the pad.
TEST_F(PadInTheWindow, OnlyTheWindowWithTheFocusHearsThePad) {
    auto pad = attach();
    ASSERT_TRUE(pad->attached()) << SDL_GetError();
    window->startCommand();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    pad->button(SDL_CONTROLLER_BUTTON_A, true);
    pass();
    EXPECT_FALSE(window->keys().isDown(vk::kX));
    pad->button(SDL_CONTROLLER_BUTTON_A, false);
    pass(); // else the pad's state is A down before and after: no event
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    pad->button(SDL_CONTROLLER_BUTTON_A, true);
    pass();
    EXPECT_TRUE(window->keys().isDown(vk::kX));
}

// The keyboard, a button and the stick on one action: it is let go when the last one lets go.
TEST_F(PadInTheWindow, AnActionHeldByTwoIsLetGoWhenNeitherHoldsIt) {
    auto pad = attach();
    ASSERT_TRUE(pad->attached()) << SDL_GetError();
    window->startCommand();
    const auto key = [&](QEvent::Type type) {
        QKeyEvent event(type, Qt::Key_X, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    };
    key(QEvent::KeyPress);
    pad->button(SDL_CONTROLLER_BUTTON_A, true);
    pass();
    pad->button(SDL_CONTROLLER_BUTTON_A, false);
    pass();
    EXPECT_TRUE(window->keys().isDown(vk::kX)); // the key still holds it
    pad->axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pass();
    key(QEvent::KeyRelease);
    EXPECT_TRUE(window->keys().isDown(vk::kX)); // the trigger still holds it
    pad->axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    pass();
    EXPECT_FALSE(window->keys().isDown(vk::kX));

    pad->axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pass();
    pad->axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pass();
    EXPECT_TRUE(window->keys().isDown(vk::kLeft)); // the d-pad still holds it
    pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    pass();
    EXPECT_FALSE(window->keys().isDown(vk::kLeft));
}

// A driving key of the autopilot's that went down or up at a race time.
struct KeyChange {
    std::int32_t time; // ms
    int key;
    bool down;
};

// The autopilot's race in the window, one pass a millisecond, with every change of the driving
// keys it made; the lap times it drove.
std::vector<std::int32_t> autopilotRace(MainWindow& window, test::HandClock& clock,
                                        std::vector<KeyChange>& changes) {
    window.setAutopilot(true);
    window.startCommand();
    std::array<bool, kDrivingKeys.size()> held{};
    while (window.game().gameState() == GameState::kRacing &&
           window.game().playerCar.raceTime() < 300000) {
        clock.advance(1);
        window.idlePass();
        const std::int32_t now = static_cast<std::int32_t>(
            clock.now() - window.game().playerCar.startTick() - Vehicle::kStartHold);
        for (std::size_t i = 0; i < kDrivingKeys.size(); ++i) {
            const bool down = window.keys().isDown(kDrivingKeys[i]);
            if (down != held[i])
                changes.push_back({now, kDrivingKeys[i], down});
            held[i] = down;
        }
    }
    std::vector<std::int32_t> laps;
    for (int lap = 0; lap < window.game().raceClock().completedLaps(); ++lap)
        laps.push_back(window.game().raceClock().lapTime(lap));
    return laps;
}

// The autopilot's keys played on the pad: the trigger for the accelerator, the B button to brake,
// the stick to the left and the d-pad to the right (the autopilot at times holds both), the
// shoulder buttons to shift.
void playOnThePad(VirtualPad& pad, const KeyChange& change) {
    switch (change.key) {
    case vk::kX:
        pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, change.down ? 32767 : 0);
        break;
    case vk::kZ:
        pad.button(SDL_CONTROLLER_BUTTON_B, change.down);
        break;
    case vk::kLeft:
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, change.down ? -32768 : 0);
        break;
    case vk::kRight:
        pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, change.down);
        break;
    case vk::kUp:
        pad.button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, change.down);
        break;
    default:
        pad.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, change.down);
        break;
    }
}

TEST_F(PadInTheWindow, TheAutopilotsInputsOnThePadDriveTheSameLaps) {
    std::vector<KeyChange> changes;
    const std::vector<std::int32_t> keyLaps = autopilotRace(*window, clock, changes);
    ASSERT_EQ(keyLaps.size(), 3u);
    ASSERT_GT(changes.size(), 10u); // it steered, not just held the accelerator
    close();
    open();

    auto pad = attach();
    ASSERT_TRUE(pad->attached()) << SDL_GetError();
    window->startCommand();
    std::size_t next = 0;
    while (window->game().gameState() == GameState::kRacing && raceNow() < 300000) {
        clock.advance(1);
        for (; next < changes.size() && changes[next].time <= raceNow(); ++next)
            playOnThePad(*pad, changes[next]);
        window->pollGamepad();
        window->idlePass();
    }
    ASSERT_EQ(window->game().gameState(), GameState::kFinished);
    ASSERT_EQ(window->game().raceClock().completedLaps(), 3);
    for (int lap = 0; lap < 3; ++lap)
        EXPECT_EQ(window->game().raceClock().lapTime(lap), keyLaps[lap]) << "lap " << lap + 1;
}

TEST_F(PadInTheWindow, PulledOutMidRaceItLetsGoOfEverythingAndTheRaceGoesOn) {
    auto pad = attach();
    ASSERT_TRUE(pad->attached()) << SDL_GetError();
    window->startCommand();
    // Down the straight on the trigger and the A button, a shoulder button held too; at the end
    // of it the stick and the d-pad on the point of steering.
    pad->axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pad->button(SDL_CONTROLLER_BUTTON_A, true);
    pad->button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    while (raceNow() < 2000)
        pass();
    pad->axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pass();
    for (const int key : {vk::kX, vk::kUp, vk::kLeft})
        ASSERT_TRUE(window->keys().isDown(key)) << key;
    ASSERT_GT(window->game().playerCar.speed(), 10);
    pad->detach();
    pass();
    EXPECT_FALSE(anyDrivingKeyDown());
    EXPECT_EQ(window->padNote(), QString::fromUtf8("コントローラ切断: Test Pad"));
    const std::int32_t raceTime = window->game().playerCar.raceTime();
    const double distance = window->game().playerCar.distance();
    const double speed = window->game().playerCar.speed();
    for (int i = 0; i < 500; ++i)
        pass();
    EXPECT_EQ(window->game().gameState(), GameState::kRacing);
    EXPECT_EQ(window->game().playerCar.raceTime(), raceTime + 500);
    EXPECT_GT(window->game().playerCar.distance(), distance); // it rolls on
    EXPECT_LT(window->game().playerCar.speed(), speed);       // without the accelerator
    EXPECT_FALSE(anyDrivingKeyDown());
}

} // namespace
} // namespace velnor
