#include "sim/car_spec.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace velnor {
namespace {

TEST(CarSpecTest, FreshRecordIsNamedVelnorAutomaticAndZero) {
    const CarSpec spec;
    EXPECT_STREQ(spec.carname(), "Velnor");
    EXPECT_STREQ(spec.comment(), "");
    EXPECT_EQ(spec.automatic(), 1);
    EXPECT_EQ(spec.type(), 0);
    for (const double value :
         {spec.width(), spec.height(), spec.wheelbase(), spec.weight(), spec.displacement(),
          spec.compression(), spec.power(), spec.torque(), spec.slow(), spec.tire(), spec.air()})
        EXPECT_EQ(value, 0.0);
    for (int i = 0; i < CarSpec::kGears; ++i)
        EXPECT_EQ(spec.gear(i), 0.0);
}

TEST(CarSpecTest, InitialiseKeepsTheComment) {
    CarSpec spec;
    spec.setComment("keep me");
    spec.setCarname("Other");
    spec.setWidth(1.7);
    spec.initialise();
    EXPECT_STREQ(spec.carname(), "Velnor");
    EXPECT_STREQ(spec.comment(), "keep me");
    EXPECT_EQ(spec.width(), 0.0);
}

// Each setter's test: a rejected value keeps the previous one.
struct SetterCase {
    const char* name;
    void (CarSpec::*set)(double);
    double (CarSpec::*get)() const;
    bool zeroAccepted;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const SetterCase& row, std::ostream* out) {
    *out << row.name;
}

class CarSpecSetterTest : public testing::TestWithParam<SetterCase> {};

TEST_P(CarSpecSetterTest, RejectsOutOfRangeAndNonFiniteValues) {
    const SetterCase& c = GetParam();
    CarSpec spec;
    (spec.*c.set)(2.5);
    EXPECT_EQ((spec.*c.get)(), 2.5);
    (spec.*c.set)(-1.0);
    EXPECT_EQ((spec.*c.get)(), 2.5);
    (spec.*c.set)(std::numeric_limits<double>::infinity());
    EXPECT_EQ((spec.*c.get)(), 2.5);
    (spec.*c.set)(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ((spec.*c.get)(), 2.5);
    (spec.*c.set)(0.0);
    EXPECT_EQ((spec.*c.get)(), c.zeroAccepted ? 0.0 : 2.5);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CarSpecSetterTest,
    testing::Values(
        SetterCase{"width", &CarSpec::setWidth, &CarSpec::width, false},
        SetterCase{"height", &CarSpec::setHeight, &CarSpec::height, false},
        SetterCase{"wheelbase", &CarSpec::setWheelbase, &CarSpec::wheelbase, false},
        SetterCase{"weight", &CarSpec::setWeight, &CarSpec::weight, false},
        SetterCase{"displacement", &CarSpec::setDisplacement, &CarSpec::displacement, false},
        SetterCase{"compression", &CarSpec::setCompression, &CarSpec::compression, false},
        SetterCase{"power", &CarSpec::setPower, &CarSpec::power, false},
        SetterCase{"torque", &CarSpec::setTorque, &CarSpec::torque, false},
        SetterCase{"slow", &CarSpec::setSlow, &CarSpec::slow, true},
        SetterCase{"tire", &CarSpec::setTire, &CarSpec::tire, false},
        SetterCase{"air", &CarSpec::setAir, &CarSpec::air, true}),
    [](const testing::TestParamInfo<SetterCase>& row) { return std::string(row.param.name); });

TEST(CarSpecTest, GearRatiosEndAtTheFirstZero) {
    CarSpec spec;
    const double ratios[] = {3.5, 2.1, 0, 1.0, 0.8, 0};
    for (int i = 0; i < 6; ++i)
        spec.setGear(i, ratios[i]);
    EXPECT_EQ(spec.usableGears(), 2);
    spec.setGear(6, 9.0);  // ignored
    spec.setGear(-1, 9.0); // ignored
    spec.setGear(0, -1.0); // ignored
    EXPECT_EQ(spec.gear(0), 3.5);
    EXPECT_EQ(spec.gear(6), 0.0);
    EXPECT_EQ(spec.gear(-1), 0.0);
}

TEST(CarSpecTest, AutomaticAcceptsOnlyOneAsAutomatic) {
    CarSpec spec;
    spec.setAutomatic(2);
    EXPECT_EQ(spec.automatic(), 0);
    spec.setAutomatic(1);
    EXPECT_EQ(spec.automatic(), 1);
    spec.setAutomatic(-1);
    EXPECT_EQ(spec.automatic(), 0);
}

TEST(CarSpecTest, TyreFromText) {
    struct Case {
        const char* text;
        double expected; // metres; the previous 0.5 when refused
    };
    const Case cases[] = {
        {"195/65R15", 0.381 + 2 * 0.12675},
        {"195/65r15", 0.381 + 2 * 0.12675},
        {"225/45ZR17", 17 * 0.0254 + 2 * 0.225 * 0.45},
        {"0.634", 0.634},
        {"  0.6345000", 0.6345},
        {"195/65-15", 0.5}, // no R: refused
        {"abc", 0.5},       // no number: 0, refused by the setter
        {"-0.6", 0.5},
    };
    for (const Case& c : cases) {
        CarSpec spec;
        spec.setTire(0.5);
        spec.setTireFromText(c.text);
        EXPECT_NEAR(spec.tire(), c.expected, 1e-12) << c.text;
    }
}

TEST(CarSpecTest, LongTextIsCutAtACharacterBoundary) {
    CarSpec spec;
    spec.setCarname(std::string(40, 'a'));
    EXPECT_EQ(std::string(spec.carname()), std::string(31, 'a'));

    // 30 ASCII bytes then a two-byte character: the character would end at byte 32, past the
    // 31 bytes the name field holds, so it is dropped whole.
    const std::string name = std::string(30, 'a') + "\x83\x5a" + "b";
    spec.setCarname(name);
    EXPECT_EQ(std::string(spec.carname()), std::string(30, 'a'));

    std::string comment;
    for (int i = 0; i < 40; ++i)
        comment += "\x83\x6f"; // バ, 80 bytes
    spec.setComment(comment);
    EXPECT_EQ(std::string(spec.comment()).size(), 62u);
}

} // namespace
} // namespace velnor
