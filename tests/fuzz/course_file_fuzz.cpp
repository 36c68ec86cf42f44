// Course files from anywhere: listed, every course loaded, the on-road test and gate asked.
#include "fuzz_file.h"
#include "world/course_catalogue.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velnor::fuzz::writeInput("fuzz.rod", data, size);
    auto catalogue = std::make_unique<velnor::CourseCatalogue>(velnor::fuzz::scratchDirectory());
    catalogue->scanCourses();
    for (int i = 0; i <= catalogue->lastIndex(); ++i) {
        if (catalogue->loadCourse(i) != 0)
            continue;
        const velnor::CourseWorld& world = catalogue->loadedWorld();
        for (int p = 0; p < velnor::CourseWorld::kRoadPieces; ++p)
            world.roadPiece(p).containsCarAt(0, 0, 17);
        const velnor::StartFinishGate& gate = catalogue->loadedGate();
        gate.zoneAlongMin();
        gate.facesGate(45);
    }
    return 0;
}
