// The generated courses: a seed gives its course again, every kind comes round, and every course
// is a road a car really drives: read through the course file reader, a car taken along the middle
// of the road three times round stays on it by the game's own test and the gate counts three laps.
#include "game_test_access.h"
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "test_dir.h"
#include "world/course_generator.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>

namespace velnor {
namespace {

TEST(CourseGeneratorTest, ASeedGivesTheSameCourseAgain) {
    for (const std::uint32_t seed : {0u, 7u, 123u, 199u}) {
        const GeneratedCourse a = generateCourse(seed);
        const GeneratedCourse b = generateCourse(seed);
        EXPECT_EQ(a.text, b.text) << seed;
        for (int i = 0; i < RoadConditions::kCount; ++i) {
            EXPECT_EQ(a.conditions.start(i), b.conditions.start(i));
            EXPECT_EQ(a.conditions.grade(i), b.conditions.grade(i));
            EXPECT_EQ(a.conditions.rolling(i), b.conditions.rolling(i));
        }
    }
    EXPECT_NE(generateCourse(0).text, generateCourse(6).text); // two rings
}

// Kinds come in turn with the seed; every second round of six has grades in its conditions
// (on fresh gravel at most: a rolling resistance of 0.13), the others are level asphalt.
TEST(CourseGeneratorTest, KindsAndGradesComeInTurn) {
    std::set<std::string> kinds;
    for (std::uint32_t seed = 0; seed < 24; ++seed) {
        const GeneratedCourse course = generateCourse(seed);
        EXPECT_EQ(static_cast<int>(course.kind), static_cast<int>(seed % 6));
        kinds.insert(courseKindName(course.kind));
        EXPECT_EQ(course.graded, (seed / 6) % 2 == 1) << seed;
        bool anyGrade = false;
        for (int i = 0; i < RoadConditions::kCount; ++i) {
            anyGrade = anyGrade || course.conditions.grade(i) != 0;
            EXPECT_LE(std::fabs(course.conditions.grade(i)), std::atan(0.06) + 1e-12);
            EXPECT_LE(course.conditions.rolling(i), 0.13);
        }
        EXPECT_EQ(anyGrade, course.graded) << seed;
        // A narrow road is 5 to 6.5 m wide, the others 8 to 14 m.
        const bool narrow = course.kind == CourseKind::kNarrow;
        EXPECT_GE(course.roadWidth, narrow ? 5 : 8) << seed;
        EXPECT_LE(course.roadWidth, narrow ? 6.5 : 14) << seed;
        EXPECT_LE(course.pieces, 49) << seed; // and the start line makes 50
    }
    EXPECT_EQ(kinds.size(), 6u);
}

float wrapped(float degrees) {
    while (degrees > 180)
        degrees -= 360;
    while (degrees <= -180)
        degrees += 360;
    return degrees;
}

// The widest bundled car (the bus, 2.3 m) is carried along the middle of the road in steps of at
// most 1 m, three times round: not one step off the road, and the third crossing of the gate
// finishes the race.
TEST(CourseGeneratorTest, EveryCourseIsARingThroughTheGateThatTheWidestCarDrives) {
    test::TempDir dir;
    for (const char* file : {"Velnor.car", "Velnor.mod"})
        std::filesystem::copy_file(VELNOR_FIXTURES "/../../data/" + std::string(file),
                                   dir.file(file));
    std::string text;
    std::vector<GeneratedCourse> courses;
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        courses.push_back(generateCourse(seed));
        text += courses.back().text;
    }
    dir.write("generated.rod", text);
    ManualClock clock(1000);
    RaceEvents events;
    auto game = std::make_unique<Game>(dir.path(), clock, events);
    game->scanFiles();
    ASSERT_EQ(game->courseCatalogue.count(), 100);
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        const GeneratedCourse& course = courses[seed];
        ASSERT_EQ(game->chooseCar(game->carCatalogue.indexOfCar("City Liner"), true), 0);
        ASSERT_EQ(game->chooseCourse(game->courseCatalogue.indexOfCourse(course.name)), 0);
        game->setGhostEnabled(false);
        game->startRace(640, 480);
        clock.advance(4000);
        int steps = 0;
        for (int lap = 0; lap < 3 && game->gameState() == GameState::kRacing; ++lap)
            for (std::size_t i = 0; i + 1 < course.middle.size(); ++i) {
                const auto& a = course.middle[i];
                const auto& b = course.middle[i + 1];
                const int parts =
                    static_cast<int>(std::ceil(std::hypot(b.x - a.x, b.y - a.y) / 10)) + 1;
                for (int k = 0; k < parts && game->gameState() == GameState::kRacing; ++k) {
                    const float f = static_cast<float>(k) / static_cast<float>(parts);
                    const float x = a.x + f * (b.x - a.x);
                    const float y = a.y + f * (b.y - a.y);
                    const Vec3 at = game->playerModel().position();
                    GameTestAccess::playerModel(*game).moveParts(x - at[0], y - at[1], 0);
                    GameTestAccess::course(*game).world.moveCar(x - at[0], y - at[1], 0);
                    game->playerCar.controls().setHeading(
                        wrapped(a.heading + f * (b.heading - a.heading)));
                    clock.advance(10);
                    game->frameStep(clock.now());
                    ++steps;
                }
            }
        EXPECT_EQ(game->runLog().eventCount(GhostLog::kOffRoad), 0)
            << "seed " << seed << " (" << courseKindName(course.kind) << ")";
        EXPECT_EQ(game->gameState(), GameState::kFinished)
            << "seed " << seed << ": " << game->raceClock().completedLaps() << " laps";
        EXPECT_GT(steps, 3 * static_cast<int>(course.lapLength) / 2);
        game->stopRace();
    }
}

} // namespace
} // namespace velnor
