// Car files from anywhere: listed, sorted, every car loaded, one found by name, one shape loaded;
// then the last car rewritten (its section out of the file, the car as read appended) and the file
// listed again: the catalogue's own account of the edited file (names and header positions) is
// what a fresh scan of it finds.
#include "cars/car_catalogue.h"
#include "fuzz_file.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Listing = std::vector<std::pair<std::string, std::int32_t>>; // name, header position

Listing listingOf(const velnor::CarCatalogue& catalogue) {
    Listing listing;
    for (int i = 0; i <= catalogue.lastIndex(); ++i)
        listing.emplace_back(catalogue.entry(i).name, catalogue.entry(i).offset);
    std::sort(listing.begin(), listing.end());
    return listing;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velnor::fuzz::writeInput("fuzz.car", data, size);
    auto catalogue = std::make_unique<velnor::CarCatalogue>(velnor::fuzz::scratchDirectory());
    catalogue->scanCars();
    catalogue->sortCars();
    for (int i = 0; i <= catalogue->lastIndex(); ++i)
        catalogue->loadCar(i);
    if (catalogue->count() == 0)
        return 0;
    const int last = catalogue->lastIndex();
    catalogue->findCar(catalogue->entry(last).name);
    // A full list leaves cars of the file unlisted, which a rescan may list instead.
    if (catalogue->count() >= velnor::CarCatalogue::kCapacity || catalogue->loadCar(last) != 0 ||
        catalogue->rewriteCar(last) != 0)
        return 0;
    auto again = std::make_unique<velnor::CarCatalogue>(velnor::fuzz::scratchDirectory());
    again->scanCars();
    if (listingOf(*again) != listingOf(*catalogue))
        __builtin_trap(); // the catalogue no longer says where its cars are
    return 0;
}
