// Car files from anywhere: listed, sorted, every car loaded, one found by name, one shape loaded.
#include "cars/car_catalogue.h"
#include "fuzz_file.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velnor::fuzz::writeInput("fuzz.car", data, size);
    auto catalogue = std::make_unique<velnor::CarCatalogue>(velnor::fuzz::scratchDirectory());
    catalogue->scanCars();
    catalogue->sortCars();
    for (int i = 0; i <= catalogue->lastIndex(); ++i)
        catalogue->loadCar(i);
    if (catalogue->count() > 0)
        catalogue->findCar(catalogue->entry(catalogue->lastIndex()).name);
    return 0;
}
