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

} // namespace
} // namespace velnor
