// Inputs the fuzzers found faults with, kept so the faults stay mended: each file of
// tests/fixtures/fuzz is read as the game reads a file of its kind (run under ASan and UBSan in
// the sanitizer build).
#include "cars/car_catalogue.h"
#include "cars/car_model.h"
#include "race/ghost_file.h"
#include "race/ghost_log.h"
#include "race/record_book.h"
#include "test_dir.h"
#include "world/course_catalogue.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

TEST(FoundInputsTest, EveryKeptInputReadsWithoutFault) {
    int files = 0;
    for (const auto& found : std::filesystem::directory_iterator(VELNOR_FIXTURES "/fuzz")) {
        test::TempDir dir;
        const std::string extension = found.path().extension().string();
        const std::string name = extension == ".gst" ? "Oval.gst" : "found" + extension;
        std::filesystem::copy_file(found.path(), dir.file(name));
        ++files;
        SCOPED_TRACE(found.path().filename().string());
        if (extension == ".car") {
            auto cars = std::make_unique<CarCatalogue>(dir.path());
            cars->scanCars();
            cars->sortCars();
            for (int i = 0; i <= cars->lastIndex(); ++i)
                cars->loadCar(i);
        } else if (extension == ".rod") {
            auto courses = std::make_unique<CourseCatalogue>(dir.path());
            courses->scanCourses();
            for (int i = 0; i <= courses->lastIndex(); ++i)
                courses->loadCourse(i);
            EXPECT_GE(courses->count(), 0);
        } else if (extension == ".mod") {
            CarModel model;
            for (int type = 0; type < 7; ++type)
                loadModel(dir.file(name), type, kNoCarColour, model);
        } else if (extension == ".gst") {
            GhostLog log;
            log.setCourseName("Oval");
            loadGhost(dir.path(), log);
        } else if (extension == ".rec") {
            auto book = std::make_unique<RecordBook>();
            book->readRecords(dir.file(name), {});
        }
    }
    EXPECT_GE(files, 1);
}

} // namespace
} // namespace velnor
