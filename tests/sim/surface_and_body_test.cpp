// What the surface a stretch of road is made of and the shape of a car's body do to the car on
// the road: the rolling resistance each surface proposes, the air resistance each body type
// proposes, as the speed a coasting car loses. The expected speeds are worked out by hand from the
// model's force sum (derivations beside each table), not by the game's helpers.
#include "sim/car_spec.h"
#include "sim/example_car.h"
#include "sim/road_conditions.h"
#include "sim/vehicle.h"

#include <cstring>
#include <gtest/gtest.h>

namespace velnor {
namespace {

using test::exampleCar;

// The example car with its rest values taken on level asphalt (μr 0.015, so the accelerator at
// rest pushes with 15 kgf), rolling at `kmh` with the accelerator at rest: its speed 100 ms later.
double coastedSpeed(Vehicle car, double kmh) {
    car.step(3000); // the end of the start hold, standing
    car.setSpeed(kmh);
    car.step(3000); // no time passes: the acceleration at `kmh` is worked out
    return car.step(3100);
}

// Derivation (W 1000 kg, air switched off): a = (15 − 1000 × μr) / 1000 × 9.8 m/s², and 100 ms
// add a × 0.36 km/h to 60 km/h.
//   dry sand        μr 0.25:  a = −2.303 → 59.17092
//   sand or lime    μr 0.17:  a = −1.519 → 59.45316
//   fresh gravel    μr 0.13:  a = −1.127 → 59.59428
//   stony, bumpy    μr 0.08:  a = −0.637 → 59.77068
//   kept fine grit  μr 0.03:  a = −0.147 → 59.94708
//   asphalt         μr 0.015: a = 0      → 60
TEST(SurfaceAndBodyTest, EachSurfaceSlowsACoastingCarByItsOwnRollingResistance) {
    struct Row {
        const char* name;
        int surface;
        double kmhAfter;
    };
    const Row rows[] = {
        {"dry sand", 0, 59.17092},       {"sand or lime", 1, 59.45316},
        {"fresh gravel", 2, 59.59428},   {"stony and bumpy", 3, 59.77068},
        {"well kept grit", 4, 59.94708}, {"asphalt", 5, 60.0},
    };
    for (const Row& row : rows) {
        Vehicle car = exampleCar();
        car.spec().setAir(0.0);
        car.roadConditions().setRolling(proposedRollingCoefficient(row.surface), 0);
        EXPECT_NEAR(coastedSpeed(car, 60), row.kmhAfter, 1e-9) << row.name;
    }
}

// Derivation (level asphalt, so only the air slows the car): at 100 km/h the air takes
// μa × 1.4 m × 1.7 m × 100² kgf, a = −that / 1000 × 9.8, and 100 ms add a × 0.36 km/h.
//   sedan, hatchback μa 0.0025: 59.5 kgf  → 99.790084
//   van, one-box     μa 0.0035: 83.3 kgf  → 99.7061176
//   coupé            μa 0.0015: 35.7 kgf  → 99.8740504
//   truck, bus       μa 0.0045: 107.1 kgf → 99.6221512
TEST(SurfaceAndBodyTest, EachBodyTypeLosesSpeedToTheAirByItsOwnCoefficient) {
    struct Row {
        const char* name;
        int bodyType;
        double kmhAfter;
    };
    const Row rows[] = {
        {"sedan", kSedan, 99.790084},     {"van", kVan, 99.7061176},
        {"one-box", kOneBox, 99.7061176}, {"hatchback", kHatchback, 99.790084},
        {"coupe", kCoupe, 99.8740504},    {"truck", kTruck, 99.6221512},
        {"bus", kBus, 99.6221512},
    };
    for (const Row& row : rows) {
        Vehicle car = exampleCar();
        car.spec().setAir(proposedAirCoefficient(row.bodyType));
        EXPECT_NEAR(coastedSpeed(car, 100), row.kmhAfter, 1e-9) << row.name;
    }
}

// A choice outside the lists proposes nothing: no resistance and no name, at either end. (The
// names are Shift-JIS: they are compared, never printed.)
TEST(SurfaceAndBodyTest, ChoicesOutsideTheListsProposeNothing) {
    for (const int outside : {-1, kSurfaceCount, kSurfaceCount + 1}) {
        EXPECT_EQ(proposedRollingCoefficient(outside), 0.0) << outside;
        EXPECT_EQ(std::strlen(surfaceLabel(outside)), 0u) << outside;
    }
    for (const int outside : {-1, kBodyTypeCount, kBodyTypeCount + 1}) {
        EXPECT_EQ(proposedAirCoefficient(outside), 0.0) << outside;
        EXPECT_EQ(std::strlen(bodyTypeLabel(outside)), 0u) << outside;
    }
    // The first and the last of each list have a name of their own.
    EXPECT_GT(std::strlen(surfaceLabel(0)), 0u);
    EXPECT_GT(std::strlen(surfaceLabel(kSurfaceCount - 1)), 0u);
    EXPECT_NE(std::strcmp(surfaceLabel(0), surfaceLabel(kSurfaceCount - 1)), 0);
    EXPECT_GT(std::strlen(bodyTypeLabel(0)), 0u);
    EXPECT_GT(std::strlen(bodyTypeLabel(kBodyTypeCount - 1)), 0u);
    EXPECT_NE(std::strcmp(bodyTypeLabel(0), bodyTypeLabel(kBodyTypeCount - 1)), 0);
    EXPECT_EQ(std::strcmp(bodyTypeLabel(kOneBox), "1BOX"), 0);
}

// Each of the seven body types the dialogs offer has a name of its own.
TEST(SurfaceAndBodyTest, EachBodyTypeHasANameOfItsOwn) {
    const int types[] = {kSedan, kVan, kOneBox, kHatchback, kCoupe, kTruck, kBus};
    for (int i = 0; i < kBodyTypeCount; ++i) {
        EXPECT_EQ(types[i], i) << "the body types are numbered 0-6 in the dialog's order";
        EXPECT_GT(std::strlen(bodyTypeLabel(types[i])), 0u) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(std::strcmp(bodyTypeLabel(types[i]), bodyTypeLabel(types[j])), 0)
                << i << " " << j;
    }
}

// The gearbox is automatic for 1 and manual for any other value, and reads back as 1 or 0.
TEST(SurfaceAndBodyTest, TheGearboxIsAutomaticForOneAndManualOtherwise) {
    CarSpec spec;
    for (const int value : {1, 0, 2, -1}) {
        spec.setAutomatic(value);
        EXPECT_EQ(spec.automatic(), value == 1 ? 1 : 0) << value;
    }
}

// Entry 0 is reachable from anywhere in the list: editing it while the car is on a later entry
// edits entry 0, not the current one; and stepping back from the second entry reaches the first.
TEST(SurfaceAndBodyTest, TheFirstRoadConditionIsEditedWhereverTheCarIs) {
    RoadConditions road;
    road.next();
    road.next(); // on entry 2
    road.setRolling(0.08, 0);
    road.setGradePercent(5, 0);
    road.setSurface(3, 0);
    road.setStart(0.5, 1); // half a metre is a start like any other
    road.setStart(120, 2);
    EXPECT_EQ(road.rolling(0), 0.08);
    EXPECT_EQ(road.rolling(), 0.015);
    EXPECT_EQ(road.grade(), 0.0);
    EXPECT_EQ(road.surface(), 0);
    EXPECT_EQ(road.start(1), 0.5);
    // Asking for an entry outside the list reads the current one.
    EXPECT_EQ(road.start(RoadConditions::kCount), 120.0);
    EXPECT_EQ(road.rolling(-1), 0.015);
    road.previous();
    road.previous();
    EXPECT_EQ(road.currentIndex(), 0);
    EXPECT_EQ(road.surface(), 3);
    EXPECT_EQ(road.rolling(), 0.08);
}

// A start of 0 on a later entry ends the list there: setting it back to 0 is accepted, and a car
// then never passes to that entry however far it drives.
TEST(SurfaceAndBodyTest, AStartSetBackToZeroEndsTheListAgain) {
    Vehicle car = exampleCar();
    car.roadConditions().setStart(50, 1);
    car.roadConditions().setStart(0, 1);
    EXPECT_EQ(car.roadConditions().start(1), 0.0);
    car.step(3000);
    car.setDistance(200);
    car.setSpeed(36);
    car.step(3100);
    EXPECT_EQ(car.roadConditions().currentIndex(), 0);
}

// Ten entries, each starting 10 m after the one before: a car already 95 m along passes one entry
// a frame and ends on the tenth, the last one the list has.
TEST(SurfaceAndBodyTest, ACarReachesTheTenthRoadCondition) {
    Vehicle car = exampleCar();
    for (int i = 1; i < RoadConditions::kCount; ++i)
        car.roadConditions().setStart(10.0 * i, i);
    car.step(3000);
    car.setSpeed(36);
    car.setDistance(95);
    for (std::uint32_t t = 3001; t <= 3012; ++t)
        car.step(t);
    EXPECT_EQ(car.roadConditions().currentIndex(), RoadConditions::kCount - 1);
    EXPECT_EQ(car.roadConditions().start(), 90.0);
}

// Six gear ratios are six usable gears; a seventh ratio or gear does not exist, asking for one
// gives 0 and setting one changes nothing else of the car.
TEST(SurfaceAndBodyTest, ACarHasSixGearsAndNoMore) {
    Vehicle car = exampleCar({3.5, 2.1, 1.4, 1.0, 0.8, 0.7});
    CarSpec& spec = car.spec();
    spec.setTorque(20);
    EXPECT_EQ(spec.usableGears(), 6);
    spec.setGear(6, 9.0);
    spec.setGear(-1, 9.0);
    EXPECT_EQ(spec.gear(6), 0.0);
    EXPECT_EQ(spec.gear(-1), 0.0);
    EXPECT_EQ(spec.slow(), 4.0);
    EXPECT_EQ(spec.torque(), 20.0);
    EXPECT_EQ(spec.gear(5), 0.7);
    EXPECT_EQ(spec.usableGears(), 6);
}

// Derivation: "195/R15" leaves the aspect ratio out, so the section height is 0 and the diameter
// is the rim's alone, 15 × 0.0254 = 0.381 m. "195R/65" has its R before the slash, where it does
// not count: refused, the tyre stays as it was.
TEST(SurfaceAndBodyTest, TyreDesignationsWithTheRimLetterInOddPlaces) {
    CarSpec spec;
    spec.setTire(0.6);
    spec.setTireFromText("195R/65");
    EXPECT_EQ(spec.tire(), 0.6);
    spec.setTireFromText("195/R15");
    EXPECT_NEAR(spec.tire(), 0.381, 1e-12);
}

} // namespace
} // namespace velnor
