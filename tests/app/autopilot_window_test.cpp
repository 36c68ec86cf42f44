// The window's --autopilot on a course it cannot drive: the player reads why, once, and the race
// is left in the player's hands with every key up.
#include "app/fakes.h"
#include "app/main_window.h"
#include "app/race_setup.h"
#include "platform/key_state.h"
#include "race/straight_road.h"
#include "test_dir.h"

#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

TEST(AutopilotWindowTest, ACourseWithoutAClosedRoadThroughTheGateIsGivenUpWithAMessage) {
    test::TempDir dir;
    for (const char* file : {"cars.car", "Velnor.mod"})
        std::filesystem::copy_file(VELNOR_FIXTURES "/race/" + std::string(file), dir.file(file));
    dir.write("straight.rod",
              std::string("[Straight On]\n#road\n") + test::kStraightRoadThroughTheGate);
    test::HandClock clock;
    test::FakeMessageBoxes messages;
    test::FakeMusicPlayer player;
    FirstCarAndCourse setup;
    auto window = std::make_unique<MainWindow>(dir.path(), clock, messages, player, setup);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->setAutopilot(true);
    window->startCommand();
    ASSERT_EQ(window->game().gameState(), GameState::kRacing);
    for (int i = 0; i < 500; ++i) { // 5 s: past the start hold
        clock.advance(10);
        window->idlePass();
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "  オートパイロットはこのコースを走れません。\n"
                                 "スタート/ゴールラインを通って一周する道がありません。");
    EXPECT_EQ(window->game().gameState(), GameState::kRacing); // in the player's hands now
    for (const int key : {vk::kX, vk::kZ, vk::kLeft, vk::kRight, vk::kUp, vk::kDown})
        EXPECT_FALSE(window->keys().isDown(key)) << key;
    EXPECT_EQ(window->game().playerCar.speed(), 0);
    messages.answers.assign(10, true);
    window.reset();
}

} // namespace
} // namespace velnor
