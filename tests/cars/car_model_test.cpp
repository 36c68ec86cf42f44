#include "cars/car_model.h"
#include "test_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace velnor {
namespace {

// Loads `bodyType` from a model file with `contents`.
CarModel loaded(const std::string& contents, int bodyType, CarColour colour = kNoCarColour,
                int* result = nullptr) {
    test::TempDir dir;
    dir.write("Velnor.mod", contents);
    CarModel model;
    const int status = loadModel(dir.file("Velnor.mod"), bodyType, colour, model);
    if (result)
        *result = status;
    return model;
}

const char* const kSedan = "[type0]\n"
                           "w=1700\n"
                           "l=4500\n"
                           "#body\n"
                           "p00=2250 850 1000\n"
                           "p07=2250 -850 300\n"
                           "p11=-1000 700 1400\n"
                           "p13=900 -700 1400\n"
                           "p16=-1000 -700 1000\n"
                           "c0=0.8 0 0 1\n"
                           "s=1\n"
                           "#tire\n"
                           "p0=1300 750 300\n"
                           "p1=-1300 750 300\n"
                           "r0=300\n"
                           "w0=100\n"
                           "r2=320\n"
                           "w2=120\n"
                           "r7=300\n"
                           "p5=0 0 0\n";

TEST(CarModelTest, ASectionOfTheModelFile) {
    int result = -2;
    const CarModel model = loaded(kSedan, 0, kNoCarColour, &result);
    EXPECT_EQ(result, 0);
    EXPECT_FLOAT_EQ(model.bodyWidth(), 17.0f);
    EXPECT_FLOAT_EQ(model.bodyLength(), 45.0f);
    EXPECT_TRUE(model.bodyBox(0).isUsed());
    EXPECT_FLOAT_EQ(model.bodyBox(0).vertexX(0), 22.5f);
    EXPECT_FLOAT_EQ(model.bodyBox(0).vertexY(7), -8.5f);
    EXPECT_EQ(model.bodyBox(0).colour(), (Colour{0.8f, 0, 0, 1}));

    // Tyres 0 and 2 mirrored across the centre line; hubs one unit smaller and a bit wider.
    EXPECT_FLOAT_EQ(model.tyre(0).position()[1], 7.5f);
    EXPECT_FLOAT_EQ(model.tyre(2).position()[1], -7.5f);
    EXPECT_FLOAT_EQ(model.tyre(0).radius(), 3.0f);
    EXPECT_FLOAT_EQ(model.hub(0).radius(), 2.0f);
    EXPECT_FLOAT_EQ(model.tyre(0).halfHeight(), 1.0f);
    EXPECT_FLOAT_EQ(model.hub(0).halfHeight(), 1.0625f);
    EXPECT_EQ(model.tyre(0).colour(), (Colour{0.1f, 0.1f, 0, 1}));
    EXPECT_EQ(model.hub(2).colour(), (Colour{0.5f, 0.5f, 0.5f, 1}));
    // r2 after p0 changes tyre and hub 2 only; w2 is ignored.
    EXPECT_FLOAT_EQ(model.tyre(2).radius(), 3.2f);
    EXPECT_FLOAT_EQ(model.hub(2).radius(), 2.2f);
    EXPECT_FLOAT_EQ(model.tyre(2).halfHeight(), 1.0f);
    EXPECT_TRUE(model.tyre(3).isUsed());

    // Panels round body box 1, 1/16 unit outside it.
    const Box& front = model.panel(0); // corners S3, S2, S6, S7 shifted +x
    EXPECT_TRUE(front.isUsed());
    EXPECT_FLOAT_EQ(front.vertexX(0), 9.0625f);
    EXPECT_FLOAT_EQ(front.vertexY(0), -7.0f);
    EXPECT_EQ(front.vertex(4), front.vertex(0)); // a flat quadrilateral
    EXPECT_EQ(front.colour(), (Colour{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_FLOAT_EQ(model.panel(3).vertexX(0), -0.0625f); // S0 shifted -x
}

TEST(CarModelTest, SectionHeaders) {
    const std::string body = "#body\np00=100 0 0\n";
    EXPECT_TRUE(loaded("[TYPE2]\n" + body, 2).bodyBox(0).isUsed());
    EXPECT_FALSE(loaded("[type02]\n" + body, 2).bodyBox(0).isUsed());
    // The own header met again is ignored; another one ends the section.
    const CarModel again = loaded("[type1]\n#body\n[type1]\np00=1 0 0\n[type2]\np10=1 0 0\n", 1);
    EXPECT_TRUE(again.bodyBox(0).isUsed());
    EXPECT_FALSE(again.bodyBox(1).isUsed());
    int result = -2;
    const CarModel none = loaded("[type3]\n" + body, 5, kNoCarColour, &result);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(none.bodyBox(0).isUsed());
    EXPECT_EQ(none.bodyWidth(), 0.0f);
}

TEST(CarModelTest, PanelsAndColours) {
    const CarModel boxFour = loaded("[type0]\n#body\np40=1000 1000 1000\ns=4\nc0=0 1 0 1\n", 0);
    EXPECT_TRUE(boxFour.bodyBox(4).isUsed()); // a source of panels, never drawn
    EXPECT_TRUE(boxFour.panel(1).isUsed());
    EXPECT_FLOAT_EQ(boxFour.panel(1).vertexY(0), 10.0625f); // S0 shifted +y
    EXPECT_FALSE(loaded("[type0]\n#body\np00=1 1 1\n", 0).panel(0).isUsed());
    EXPECT_FALSE(loaded("[type0]\n#body\ns=\n", 0).panel(0).isUsed()); // no number: -1

    // The car's own colour paints body boxes 0-3, opaque; panels keep theirs.
    const CarModel red = loaded(kSedan, 0, CarColour{1, 0, 0});
    EXPECT_EQ(red.bodyBox(0).colour(), (Colour{1, 0, 0, 1}));
    EXPECT_EQ(red.bodyBox(3).colour(), (Colour{1, 0, 0, 1}));
    EXPECT_EQ(red.panel(0).colour(), (Colour{0.2f, 0.2f, 0.2f, 1}));
}

TEST(CarModelTest, NumbersOutOfRangeReadAsZero) {
    // 1e999 is beyond every float: it reads as 0, whatever the record, and nothing infinite
    // reaches the car's shape. "nan" is no number: reading stops there.
    const CarModel model = loaded("[type0]\n"
                                  "w=1e999\n"
                                  "l=-1e999\n"
                                  "#body\n"
                                  "p00=1e999 850 -1e999\n"
                                  "p01=100 nan 300\n"
                                  "c0=1e999 0.5 1 1\n"
                                  "p13=1000 700 1400\n"
                                  "s=1e999\n" // panels round body box 0
                                  "#tire\n"
                                  "p0=1e999 750 300\n"
                                  "r0=1e999\n"
                                  "w0=1e999\n",
                                  0);
    EXPECT_EQ(model.bodyWidth(), 0.0f);
    EXPECT_EQ(model.bodyLength(), 0.0f);
    EXPECT_EQ(model.bodyBox(0).vertexX(0), 0.0f);
    EXPECT_FLOAT_EQ(model.bodyBox(0).vertexY(0), 8.5f);
    EXPECT_EQ(model.bodyBox(0).vertexZ(0), 0.0f);
    EXPECT_FLOAT_EQ(model.bodyBox(0).vertexX(1), 1.0f);
    EXPECT_EQ(model.bodyBox(0).vertexY(1), 0.0f);
    EXPECT_EQ(model.bodyBox(0).vertexZ(1), 0.0f);
    EXPECT_EQ(model.bodyBox(0).colour(), (Colour{0, 0.5f, 1, 1}));
    EXPECT_TRUE(model.panel(0).isUsed());
    EXPECT_FLOAT_EQ(model.panel(3).vertexX(0), -0.0625f); // box 0's corner 0 shifted -x
    for (const int t : {0, 2}) {
        EXPECT_EQ(model.tyre(t).position()[0], 0.0f) << t;
        EXPECT_FLOAT_EQ(model.tyre(t).position()[1], t == 0 ? 7.5f : -7.5f) << t;
        EXPECT_FLOAT_EQ(model.tyre(t).position()[2], 3.0f) << t;
    }
    EXPECT_EQ(model.tyre(0).radius(), 0.0f);
    EXPECT_FLOAT_EQ(model.hub(0).radius(), -1.0f); // one unit smaller, as always
    EXPECT_EQ(model.tyre(2).halfHeight(), 0.0f);
    EXPECT_FLOAT_EQ(model.hub(2).halfHeight(), 0.0625f);
}

TEST(CarModelTest, AMissingFileLeavesTheModelAsItWas) {
    CarModel model = loaded(kSedan, 0);
    EXPECT_EQ(loadModel("/nonexistent/Velnor.mod", 0, kNoCarColour, model), -1);
    EXPECT_FLOAT_EQ(model.bodyWidth(), 17.0f);
}

TEST(CarModelTest, GroupOperationsMoveTurnAndFadeTheWholeCar) {
    CarModel model = loaded(kSedan, 0);
    model.moveParts(100, 5, 0);
    model.setHeading(90);
    model.makeTranslucent();
    EXPECT_EQ(model.position(), (Vec3{100, 5, 0}));
    EXPECT_EQ(model.tyre(3).offset(), (Vec3{100, 5, 0}));
    EXPECT_EQ(model.panel(2).rotation(), (Rotation{90, 0, 0, 1}));
    EXPECT_FLOAT_EQ(model.hub(1).colour()[3], 0.4f);
    EXPECT_FLOAT_EQ(model.bodyBox(4).colour()[3], 1.0f); // never drawn, never touched
    model.resetParts();
    EXPECT_EQ(model.position(), (Vec3{0, 0, 0}));
    EXPECT_EQ(model.bodyWidth(), 0.0f);
}

} // namespace
} // namespace velnor
