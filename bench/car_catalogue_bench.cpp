// Start-up cost of the car catalogue: scanning and sorting a game directory of 100 car files.
#include "cars/car_catalogue.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class CarFolder {
public:
    explicit CarFolder(int files) {
        char pattern[] = "/tmp/velnor-bench-XXXXXX";
        root_ = mkdtemp(pattern);
        for (int i = 0; i < files; ++i) {
            // Names in reverse so the sort has work to do.
            const std::string name = "Car " + std::to_string(1000 - i);
            std::filesystem::create_directories(root_ + "/set" + std::to_string(i % 10));
            std::ofstream file(root_ + "/set" + std::to_string(i % 10) + "/car" +
                               std::to_string(i) + ".car");
            file << "/ a car for the benchmark\r\n[" << name << "]\r\nwidth = 1695\r\n"
                 << "height = 1430\r\nwheel = 2600\r\nweight = 1250\r\ndisplacement = 1998\r\n"
                 << "compression = 10\r\npower = 155 6500\r\ntorque = 19.5 4500\r\n"
                 << "gear1 = 3.5\r\ngear2 = 2.1\r\ngear3 = 1.4\r\ngear4 = 1.0\r\n"
                 << "gear5 = 0.8\r\nslow = 4.1\r\ntire = 195/65R15\r\ntype = 0\r\n"
                 << "air = 0.0025\r\ncomment = a comfortable saloon\r\n";
        }
    }
    ~CarFolder() { std::filesystem::remove_all(root_); }
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

void BM_ScanAndSortCars(benchmark::State& state) {
    const CarFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        velnor::CarCatalogue catalogue(folder.root());
        catalogue.scanCars();
        catalogue.sortCars();
        benchmark::DoNotOptimize(catalogue.lastIndex());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScanAndSortCars)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_LoadCar(benchmark::State& state) {
    const CarFolder folder(100);
    velnor::CarCatalogue catalogue(folder.root());
    catalogue.scanCars();
    catalogue.sortCars();
    int index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(catalogue.loadCar(index));
        index = (index + 1) % catalogue.count();
    }
}
BENCHMARK(BM_LoadCar)->Unit(benchmark::kMicrosecond);

} // namespace
