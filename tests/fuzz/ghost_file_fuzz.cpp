// Ghost files from anywhere: loaded for their course and raced for a while.
#include "fuzz_file.h"
#include "cars/car_model.h"
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
    return 0;
}
