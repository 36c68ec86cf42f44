#pragma once

#include "cars/car_file.h"
#include "cars/car_model.h"
#include "sim/vehicle.h"
#include "world/catalogue_entry.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velnor {

// The cars stored in car files (extension "car") anywhere below the game directory: listed once
// at start-up, sorted by name, read one at a time into `workCar`, and added, removed and rewritten
// by the car selection dialog. Every change to a file is one safe replacement of the whole file,
// so a failure leaves both the file and the catalogue as they were.
class CarCatalogue {
public:
    static constexpr int kCapacity = 100;

    // `root` is the game directory; entry paths are relative to it.
    explicit CarCatalogue(std::string root = ".");

    // Lists every car file below the game directory (sort afterwards).
    void scanCars();
    // Lists every car of one file; -1 if it cannot be opened. Cars past the capacity are not
    // listed.
    int listCarFile(const std::string& path);
    // Sorts the entries by name, byte by byte (capital letters before small ones).
    void sortCars();
    // Reads car `index` into `workCar` and `carColour`; -1 if there is no such car or its file
    // (or its section) is gone, `workCar` then being in its reset state.
    int loadCar(int index);
    // loadCar of the first listed car whose name equals `name` byte for byte; -1 if none.
    int findCar(std::string_view name);
    // Index of the first listed car named `name`, -1 if none.
    int indexOfCar(std::string_view name) const;
    // Adds `workCar` at the end of the file `path` (created if absent) and as the last entry. Its
    // name and comment are written as `makeTextsWritable` makes them, and listed the same way.
    int appendCar(const std::string& path);
    // Removes car `index` from its file and from the catalogue: its header line and every line up
    // to the next header the listing would find. -1 if the file no longer holds the car.
    int deleteCar(int index);
    // Replaces car `index` by `workCar`: its section leaves the file, the new one goes at the end
    // of the same file, then the list is sorted. -1 if the file no longer holds the car.
    // Every change goes only to files inside the game directory (a file linked in from elsewhere
    // is read, never written: -1), and a link to a file stays a link.
    int rewriteCar(int index);
    // Reads the body shape of `bodyType` from the model file `fileName` of the game directory
    // into `model`, painted in the colour of the car loaded last.
    int loadModel(const std::string& fileName, int bodyType);

    int lastIndex() const { return lastIndex_; }
    int count() const { return lastIndex_ + 1; }
    const CatalogueEntry& entry(int index) const { return entries_[index]; }
    Vehicle& workCar() { return workCar_; }
    const Vehicle& workCar() const { return workCar_; }
    const CarColour& carColour() const { return carColour_; }
    const CarModel& model() const { return model_; }
    const std::string& root() const { return root_; }

private:
    int editFile(int removeIndex, const std::string& path, bool append);
    void removeEntry(int index);

    std::string root_;
    std::int32_t lastIndex_ = -1;
    CarColour carColour_ = kNoCarColour;
    CarModel model_;
    CatalogueEntry entries_[kCapacity];
    Vehicle workCar_;
};

} // namespace velnor
