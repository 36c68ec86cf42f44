#include "platform/key_state.h"
#include "race/input_script.h"

#include <gtest/gtest.h>

namespace velnor {
namespace {

TEST(InputScriptTest, EventsInTimeOrder) {
    const InputScript script = parseInputScript("# warm up in the hold\n"
                                                "-2000 X down\n"
                                                "\n"
                                                "5000 LEFT down   # into the curve\r\n"
                                                "4000 X up\n"
                                                "5000 LEFT up\n"
                                                "   6000   Z   down");
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(script.events.size(), 5u);
    EXPECT_EQ(script.events[0].time, -2000);
    EXPECT_EQ(script.events[0].virtualKey, vk::kX);
    EXPECT_TRUE(script.events[0].down);
    EXPECT_EQ(script.events[1].time, 4000);
    EXPECT_FALSE(script.events[1].down);
    EXPECT_TRUE(script.events[2].down); // two events at 5000 stay in the order written
    EXPECT_FALSE(script.events[3].down);
    EXPECT_EQ(script.events[4].virtualKey, vk::kZ);
    EXPECT_TRUE(parseInputScript("").ok());
}

TEST(InputScriptTest, BadLinesAreNamed) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"100 X down\n200 Q down\n", "2: unknown key \"Q\" (X Z LEFT RIGHT UP DOWN)"},
        {"1.5 X down\n", "1: the time \"1.5\" is not a whole number of milliseconds"},
        {"100 X pressed\n", "1: the state \"pressed\" is neither down nor up"},
        {"\n\n100 X\n", "3: expected TIME KEY STATE"},
        {"100 X down now\n", "1: unexpected text after the state"},
        {"100 x down\n", "1: unknown key \"x\" (X Z LEFT RIGHT UP DOWN)"},
    };
    for (const Case& c : cases) {
        const InputScript script = parseInputScript(c.text);
        EXPECT_EQ(script.error, c.error) << c.text;
        EXPECT_TRUE(script.events.empty());
    }
}

TEST(InputScriptTest, EveryKeyByItsName) {
    const InputScript script =
        parseInputScript("1 X down\n2 Z up\n3 LEFT down\n4 RIGHT down\n5 UP up\n6 DOWN down\n");
    ASSERT_TRUE(script.ok()) << script.error;
    const int keys[] = {vk::kX, vk::kZ, vk::kLeft, vk::kRight, vk::kUp, vk::kDown};
    const bool downs[] = {true, false, true, true, false, true};
    ASSERT_EQ(script.events.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(script.events[i].time, i + 1);
        EXPECT_EQ(script.events[i].virtualKey, keys[i]) << i;
        EXPECT_EQ(script.events[i].down, downs[i]) << i;
    }
}

TEST(InputScriptTest, TimesRunToOneMillisecondShortOfThe32BitLimits) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"2147483646 X down", true},   {"2147483647 X down", false},  {"-2147483647 X down", true},
        {"-2147483648 X down", false}, {"99999999999 X down", false}, {"12ms X down", false},
    };
    for (const Case& c : cases) {
        const InputScript script = parseInputScript(c.text);
        EXPECT_EQ(script.ok(), c.ok) << c.text;
        EXPECT_EQ(script.events.size(), c.ok ? 1u : 0u) << c.text;
    }
}

TEST(InputScriptTest, BlanksTabsAndCarriageReturnsSeparateTheWords) {
    const InputScript script = parseInputScript("\t7\tX\tdown\r\n \r\n8 Z up \t\r");
    ASSERT_TRUE(script.ok()) << script.error;
    ASSERT_EQ(script.events.size(), 2u);
    EXPECT_EQ(script.events[0].time, 7);
    EXPECT_EQ(script.events[1].virtualKey, vk::kZ);
    EXPECT_FALSE(script.events[1].down);
    // the line number counts every line, blank or comment
    EXPECT_EQ(parseInputScript("# a\n\n  \n1 X down\n2 X sideways\n").error,
              "5: the state \"sideways\" is neither down nor up");
}

TEST(InputScriptTest, EventsAreSortedByTimeOnly) {
    const InputScript script = parseInputScript("30 X down\n10 Z down\n20 X up\n10 LEFT down\n");
    ASSERT_EQ(script.events.size(), 4u);
    EXPECT_EQ(script.events[0].virtualKey, vk::kZ);
    EXPECT_EQ(script.events[1].virtualKey, vk::kLeft);
    EXPECT_EQ(script.events[2].time, 20);
    EXPECT_EQ(script.events[3].time, 30);
}

} // namespace
} // namespace velnor
