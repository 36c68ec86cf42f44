// Model files from anywhere: every body type loaded, painted and moved.
#include "cars/car_model.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = velnor::fuzz::writeInput("Velnor.mod", data, size);
    velnor::CarModel model;
    for (int type = -1; type <= 7; ++type) {
        velnor::loadModel(path, type, velnor::CarColour{0.5f, 0.5f, 0.5f}, model);
        model.moveParts(1, 2, 0);
        model.setHeading(30);
    }
    return 0;
}
