#include "platform/number_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace velnor {
namespace {

TEST(NumberTextTest, ReadsLikeFormattedScanning) {
    struct Case {
        const char* text;
        bool found;
        double value;
        const char* rest;
    };
    const Case cases[] = {
        {"1695", true, 1695, ""},   {"  -3.25e2 rest", true, -325, " rest"},
        {"+.5", true, 0.5, ""},     {"5.", true, 5, ""},
        {"12abc", true, 12, "abc"}, {"1e", true, 1, "e"},
        {"1e+", true, 1, "e+"},     {"\t7\n", true, 7, "\n"},
        {"abc", false, 0, "abc"},   {"", false, 0, ""},
        {"-", false, 0, "-"},       {".", false, 0, "."},
        {"inf", false, 0, "inf"},   {"nan", false, 0, "nan"},
        {"0x1A", true, 0, "x1A"},   {"1e-999", true, 0, ""},
    };
    for (const Case& c : cases) {
        NumberScanner scanner(c.text);
        double value = 0;
        EXPECT_EQ(scanner.nextDouble(value), c.found) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        if (c.found) {
            EXPECT_EQ(scanner.rest(), c.rest) << c.text;
        }
    }
}

TEST(NumberTextTest, HugeNumbersReadAsInfinityOrTheIntegerLimit) {
    double real = 0;
    NumberScanner("1e999").nextDouble(real);
    EXPECT_TRUE(std::isinf(real));
    int whole = 0;
    NumberScanner("99999999999999999999").nextInt(whole);
    EXPECT_EQ(whole, std::numeric_limits<int>::max());
    NumberScanner("-99999999999999999999").nextInt(whole);
    EXPECT_EQ(whole, std::numeric_limits<int>::min());
}

TEST(NumberTextTest, IntegersStopAtThePoint) {
    NumberScanner scanner("12.5 3");
    int value = 0;
    EXPECT_TRUE(scanner.nextInt(value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(scanner.nextInt(value));
    EXPECT_EQ(value, 12);
}

TEST(NumberTextTest, FormatsFixedDecimals) {
    EXPECT_EQ(formatFixed(1695.0), "1695.000000");
    EXPECT_EQ(formatFixed(0.634), "0.634000");
    EXPECT_EQ(formatFixed(1998.0f, 0, 5), " 1998");
    EXPECT_EQ(formatFixed(0.0, 1, 5), "  0.0");
    EXPECT_EQ(formatFixed(123456.0, 0, 5), "123456");
    EXPECT_EQ(formatFixed(2.5, 0), "2"); // round half to even, as printf
    EXPECT_EQ(formatFixed(-0.25, 1), "-0.2");
}

} // namespace
} // namespace velnor
