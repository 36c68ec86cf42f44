// Faults of the file system and of traded files: each time the game goes on and loses nothing.
#include "cars/car_catalogue.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "race/ghost_file.h"
#include "race/headless_race.h"
#include "test_dir.h"
#include "world/course_catalogue.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace velnor {
namespace {

using test::TempDir;

// The race fixtures in a folder that everyone can read.
void copyGame(const TempDir& dir) {
    std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                          std::filesystem::copy_options::recursive);
    chmod(dir.path().c_str(), 0755);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        chmod(entry.path().c_str(), 0644);
}

TEST(FaultsTest, AReadOnlyGameDirectoryLosesNothingAndTheGameGoesOn) {
    TempDir dir;
    copyGame(dir);
    dir.write("Velnor.rec", "[Oval]\n0 = 90000 90000 90000\n1 =\n2 =\n\n");
    chmod(dir.file("Velnor.rec").c_str(), 0444);
    const std::string cars = dir.read("cars.car");
    const std::string records = dir.read("Velnor.rec");
    chmod(dir.path().c_str(), 0555);
    // Each failure is a bit of the child's result.
    const int result = test::runUnprivileged([&] {
        int failures = 0;
        RaceOptions options;
        options.root = dir.path();
        options.car = "Tester";
        options.course = "Oval";
        options.autopilot = true;
        options.saveGhost = true;
        const RaceResult race = runHeadlessRace(options);
        failures |= race.finished ? 0 : 1;     // the race runs
        failures |= race.finishRank == 0 ? 0 : 2; // and places, in memory
        failures |= race.recordsWritten ? 4 : 0;  // but nothing is written
        failures |= race.ghostSaved ? 8 : 0;
        CarCatalogue catalogue(dir.path());
        catalogue.scanCars();
        catalogue.sortCars();
        failures |= catalogue.deleteCar(0) == -1 ? 0 : 16;
        failures |= catalogue.count() == 2 ? 0 : 32;
        failures |= catalogue.appendCar("Velnor.car") == -1 ? 0 : 64;
        return failures;
    });
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dir.read("cars.car"), cars);
    EXPECT_EQ(dir.read("Velnor.rec"), records);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Oval.gst")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Velnor.car")));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string()[0], '.'); // no temporary file left
}

TEST(FaultsTest, AHundredMegabyteCourseFile) {
    TempDir dir;
    {
        std::ofstream file(dir.file("huge.rod"), std::ios::binary);
        file << "[Huge]\ncomment = a hundred megabytes\n#road\n"
                "p000=-100 -5 0\np001=100 -5 0\np002=100 5 0\np003=-100 5 0\nt00=3\n"
                "gd=1 0 0\ngl0=-1 -5 0\ngl1=-1 5 0\n";
        const std::string filler = "c00=0.5 0.5 0.5 1 / repeated colour lines fill the file\n";
        for (std::size_t written = 0; written < 100u << 20; written += filler.size())
            file << filler;
        file << "[After]\n";
    }
    auto catalogue = std::make_unique<CourseCatalogue>(dir.path());
    catalogue->scanCourses();
    ASSERT_EQ(catalogue->count(), 2);
    ASSERT_EQ(catalogue->loadCourse(0), 0);
    EXPECT_TRUE(catalogue->loadedWorld().roadPiece(0).isUsed());
    EXPECT_EQ(catalogue->loadedWorld().roadPiece(0).colour()[0], 0.5f);
    ASSERT_EQ(catalogue->loadCourse(1), 0); // found by its stored position, 100 MB in
}

TEST(FaultsTest, NulBytesAndBrokenShiftJis) {
    TempDir dir;
    using namespace std::string_literals; // the texts hold NUL bytes
    dir.write("broken.car", "[\x83\x83\x83]\nweight = 1\0\0 00\ndisplacement = \xff\xfe 12\n"
                            "[\x81]\ntype = 1\n"
                            "[Ok]\nweight = 900\n"s);
    dir.write("nul.rod", "[N\0ul]\n#road\np000=1 2 3\n\0\0\0\n[Fine]\n"s);
    auto cars = std::make_unique<CarCatalogue>(dir.path());
    cars->scanCars();
    cars->sortCars();
    ASSERT_EQ(cars->count(), 3);
    for (int i = 0; i < cars->count(); ++i)
        EXPECT_EQ(cars->loadCar(i), 0) << i;
    ASSERT_EQ(cars->findCar("Ok"), 0);
    EXPECT_EQ(cars->workCar().spec().weight(), 900);
    auto courses = std::make_unique<CourseCatalogue>(dir.path());
    courses->scanCourses();
    EXPECT_EQ(courses->count(), 1); // "[N" ends at the NUL: no header; "[Fine]" is
}

} // namespace
} // namespace velnor
