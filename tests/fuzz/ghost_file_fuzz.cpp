// Ghost files from anywhere: loaded for their course and raced for a while, then saved again and
// found as the course's ghost. Whatever a course is called (the car's name read from the file
// stands in for it), its ghost file is a file of the game directory itself.
#include "cars/car_model.h"
#include "fuzz_file.h"
#include "race/ghost_file.h"
#include "race/ghost_log.h"
#include "sim/vehicle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velnor::fuzz::writeInput("Oval.gst", data, size);
    static velnor::GhostLog log; // allocated once, as in the game
    log.reset();
    log.setCourseName("Oval");
    if (velnor::loadGhost(velnor::fuzz::scratchDirectory(), log) != 0)
        return 0;
    velnor::Vehicle car(0);
    car.spec().setWeight(1000);
    car.spec().setDisplacement(2000);
    car.spec().setSlow(4);
    car.spec().setTire(0.6);
    car.spec().setGear(0, 3.5);
    car.spec().setGear(1, 2.1);
    car.reset(0);
    velnor::CarModel model;
    for (std::uint32_t now = 0; now < 20000; now += 50) {
        velnor::ghostStep(car, log, model, now);
        velnor::ghostInputs(car, log, now);
    }
    if (velnor::saveGhost(velnor::fuzz::scratchDirectory(), log) == 0 &&
        velnor::ghostFileExists(velnor::fuzz::scratchDirectory(), log) != 1)
        __builtin_trap(); // a saved ghost is not found
    // (A course without a name has the file ".gst": its name does not begin with a ".", the
    // extension does.)
    const std::string file = velnor::ghostFileName(log.carName());
    if (file.find('/') != std::string::npos || (file[0] == '.' && file != ".gst"))
        __builtin_trap(); // the file of a course's ghost lies elsewhere, or is hidden
    return 0;
}
