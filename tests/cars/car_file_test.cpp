#include "cars/car_file.h"
#include "sim/car_spec.h"

#include <gtest/gtest.h>
#include <string>

namespace velnor {
namespace {

CarSpec applied(std::initializer_list<const char*> lines, CarColour* colourOut = nullptr) {
    CarSpec spec;
    CarColour colour = kNoCarColour;
    for (const char* line : lines)
        applyCarKeyLine(line, spec, colour);
    if (colourOut)
        *colourOut = colour;
    return spec;
}

TEST(CarFileTest, KeyLinesSetTheirFields) {
    const CarSpec spec = applied({
        "width = 1695",
        "Height=1430",
        "wheelbase = 2500",
        "WEIGHT = 1200.5",
        "displacement = 1998",
        "compression = 10.5",
        "power = 150 6000",
        "torque = 19.5 4500",
        "gear1 = 3.5",
        "gear2=2.1",
        "gear6 = 0.7",
        "slow = 4.1",
        "tire = 195/65R15 extra",
        "type = 3.9",
        "air = 0.0025",
    });
    EXPECT_DOUBLE_EQ(spec.width(), 1.695);
    EXPECT_DOUBLE_EQ(spec.height(), 1.43);
    EXPECT_DOUBLE_EQ(spec.wheelbase(), 2.5);
    EXPECT_EQ(spec.weight(), 1200.5);
    EXPECT_EQ(spec.displacement(), 1998);
    EXPECT_EQ(spec.compression(), 10.5);
    EXPECT_EQ(spec.power(), 150);
    EXPECT_EQ(spec.torque(), 19.5);
    EXPECT_EQ(spec.gear(0), 3.5);
    EXPECT_EQ(spec.gear(1), 2.1);
    EXPECT_EQ(spec.gear(5), 0.7);
    EXPECT_EQ(spec.slow(), 4.1);
    EXPECT_NEAR(spec.tire(), 0.6345, 1e-12);
    EXPECT_EQ(spec.type(), 3);
    EXPECT_EQ(spec.air(), 0.0025);
}

TEST(CarFileTest, KeyMatchingQuirks) {
    struct Case {
        const char* line;
        double width;
        double wheelbase;
    };
    const Case cases[] = {
        {"widthX = 1695", 1.695, 0}, // the key is only the first characters
        {"wheel = 2500", 0, 2.5},    {" width = 1695", 0, 0}, // a leading space hides the key
        {"width 1695", 0, 0},                                 // no "="
        {"width = -5", 0, 0},                                 // rejected by the setter
        {"width = abc", 0, 0},                                // no number: 0, rejected
        {"WIDTH=1695", 1.695, 0},                             // without regard to case
    };
    for (const Case& c : cases) {
        const CarSpec spec = applied({c.line});
        EXPECT_DOUBLE_EQ(spec.width(), c.width) << c.line;
        EXPECT_DOUBLE_EQ(spec.wheelbase(), c.wheelbase) << c.line;
    }
}

TEST(CarFileTest, GearIndexIsTheCharacterAfterGear) {
    EXPECT_EQ(applied({"gear7 = 2"}).usableGears(), 0);
    EXPECT_EQ(applied({"gear0 = 2"}).usableGears(), 0);
    EXPECT_EQ(applied({"gear = 2"}).usableGears(), 0);
    EXPECT_EQ(applied({"gear1=2"}).gear(0), 2.0);
    EXPECT_EQ(applied({"gear1 = 3", "gear1 ="}).gear(0), 0.0); // a missing value reads as 0
}

TEST(CarFileTest, ColourIsThreeWholeNumbersClamped) {
    CarColour colour;
    applied({"color = 255 0 51"}, &colour);
    EXPECT_EQ(colour, (CarColour{1.0f, 0.0f, 0.2f}));
    applied({"color = 300 -4"}, &colour);
    EXPECT_EQ(colour, (CarColour{1.0f, 0.0f, 0.0f}));
    applied({"color ="}, &colour); // no number at all: black, as every missing channel
    EXPECT_EQ(colour, (CarColour{0.0f, 0.0f, 0.0f}));
    applied({"width = 1"}, &colour);
    EXPECT_EQ(colour, kNoCarColour);
}

TEST(CarFileTest, TyreAndTypeFormsAsStored) {
    EXPECT_DOUBLE_EQ(applied({"tire = 0.634000"}).tire(), 0.634);
    EXPECT_EQ(applied({"tire = 195/65"}).tire(), 0.0); // no R: refused
    EXPECT_EQ(applied({"type = -2.7"}).type(), -2);
    EXPECT_EQ(applied({"type = 1e30"}).type(), 2147483647);
}

TEST(CarFileTest, WrittenSectionInTheGamesOrderAndFormats) {
    CarSpec spec = applied({"width = 1695", "height = 1430", "wheel = 2500", "weight = 1200",
                            "displacement = 1998", "compression = 10", "power = 150",
                            "torque = 19.5", "gear1 = 3.5", "gear2 = 2.1", "slow = 4",
                            "tire = 0.634", "type = 4", "air = 0.0015"});
    spec.setCarname("Kite");
    std::string expected = "[Kite]\n"
                           "width = 1695.000000\nheight = 1430.000000\nwheel = 2500.000000\n"
                           "weight = 1200.000000\ndisplacement = 1998.000000\n"
                           "compression = 10.000000\npower = 150.000000\ntorque = 19.500000\n"
                           "gear1 = 3.500000\ngear2 = 2.100000\ngear3 = 0.000000\n"
                           "gear4 = 0.000000\ngear5 = 0.000000\ngear6 = 0.000000\n"
                           "slow = 4.000000\ntire = 0.634000\ntype = 4\nair = 0.001500\n";
    EXPECT_EQ(formatCarSection(spec), expected);
    spec.setComment("fast");
    EXPECT_EQ(formatCarSection(spec), expected + "comment = fast\n");
    // A line end typed into a field must not start a line of its own in the file.
    spec.setComment("fast\nweight = 1");
    EXPECT_EQ(formatCarSection(spec), expected + "comment = fastweight = 1\n");
}

TEST(CarFileTest, SummaryTextByteForByte) {
    CarListing listing;
    for (const char* line : {"displacement = 1998", "weight = 1200", "power = 150 6000",
                             "comment =   A quick coupe", "width = 5"})
        listing.noteLine(line);
    const std::string expected = "\x91\x8d\x94r\x8b"
                                 "C\x97\xca      1998 [cc]\n"
                                 "\x91\x8d\x8f"
                                 "d\x97\xca        1200 [kg]\n"
                                 "\x8d\xc5\x91\xe5\x8fo\x97\xcd       150 [ps] /  6000 [rpm]\n"
                                 "\x8d\xc5\x91\xe5\x83g\x83\x8b\x83N     0.0 [kg\x81"
                                 "Em] /     0 [rpm]\n"
                                 "A quick coupe";
    EXPECT_EQ(listing.summary(), expected);
}

TEST(CarFileTest, ListingCommentKeepsSixtyThreeBytes) {
    CarListing listing;
    listing.noteLine("comment = " + std::string(100, 'c'));
    EXPECT_EQ(listing.comment, std::string(63, 'c'));
    listing.noteLine("comment no equals");
    EXPECT_EQ(listing.comment, std::string(63, 'c'));
}

TEST(CarFileTest, AppendedSummary) {
    CarSpec spec;
    spec.setDisplacement(1997.6);
    EXPECT_EQ(appendedCarSummary(spec), "\x91\x8d\x94r\x8b"
                                        "C\x97\xca 1998 cc");
    spec.setComment("mine");
    EXPECT_EQ(appendedCarSummary(spec), "mine");
}

} // namespace
} // namespace velnor
