// The course world's costs: the on-road test of one frame (every road piece asked whether the car
// stands on it), and start-up: scanning 100 course files, loading the largest course.
#include "world/course_catalogue.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Fifty pieces round an oval, 4 m wide, like a real course.
velnor::CourseWorld ovalWorld() {
    velnor::CourseWorld world;
    constexpr int kPieces = velnor::CourseWorld::kRoadPieces;
    for (int i = 0; i < kPieces; ++i) {
        const double a0 = 2 * M_PI * i / kPieces;
        const double a1 = 2 * M_PI * (i + 1) / kPieces;
        velnor::RoadPiece& piece = world.roadPiece(i);
        const auto at = [](double angle, double radius) {
            return std::pair{static_cast<float>(radius * std::cos(angle) * 1.6),
                             static_cast<float>(radius * std::sin(angle))};
        };
        const auto [x0, y0] = at(a0, 1000);
        const auto [x1, y1] = at(a1, 1000);
        const auto [x2, y2] = at(a1, 1040);
        const auto [x3, y3] = at(a0, 1040);
        piece.setVertex(0, x0, y0, 0);
        piece.setVertex(1, x1, y1, 0);
        piece.setVertex(2, x2, y2, 0);
        piece.setVertex(3, x3, y3, 0);
        piece.setUsed(1);
        piece.setType(i % 5 == 0 ? 4 : 3);
    }
    return world;
}

void BM_OnRoadTestOfOneFrame(benchmark::State& state) {
    velnor::CourseWorld world = ovalWorld();
    float angle = 0;
    for (auto _ : state) {
        angle += 0.001f;
        const velnor::Vec3 car = {1632 * std::cos(angle), 1020 * std::sin(angle), 0};
        benchmark::DoNotOptimize(world.onRoad(car[0], car[1], 17));
    }
}
BENCHMARK(BM_OnRoadTestOfOneFrame);

class CourseFolder {
public:
    CourseFolder() {
        char pattern[] = "/tmp/velnor-bench-XXXXXX";
        root_ = mkdtemp(pattern);
        for (int i = 0; i < 100; ++i) {
            std::ofstream file(root_ + "/course" + std::to_string(i) + ".rod");
            file << "/ a course for the benchmark\r\n[Course " << i << "]\r\n"
                 << "comment = fifty pieces and ten blocks\r\n#road\r\n";
            const int pieces = i == 99 ? 50 : 10; // the last one is the largest
            for (int p = 0; p < pieces; ++p) {
                char nn[8];
                std::snprintf(nn, sizeof nn, "%02d", p);
                for (int v = 0; v < 4; ++v)
                    file << "p" << nn << v << "=" << p * 10 + (v == 1 || v == 2 ? 10 : 0) << " "
                         << (v < 2 ? -4 : 4) << " 0\r\n";
                file << "t" << nn << "=" << 3 + p % 2 << "\r\n";
            }
            file << "gd=1 0 0\r\ngl0=50 -5 0\r\ngl1=50 5 0\r\n#build\r\n";
            for (int b = 0; b < (i == 99 ? 10 : 2); ++b) {
                for (int v = 0; v < 8; ++v)
                    file << "pb0" << b << "0" << v << "=" << (v % 4 < 2 ? 2 : -2) << " "
                         << (v % 4 == 0 || v % 4 == 3 ? 10 : 6) << " " << (v < 4 ? 3 : 0) << "\r\n";
                file << "cb0" << b << "0=0.9 0.8 0.6 1\r\npp0" << b << "0=0 8 0\r\nrp0" << b
                     << "0=0.5\r\nhp0" << b << "0=4\r\ny0" << b << "=20 0 0\r\nn0" << b
                     << "=5 1 1\r\nm0" << b << "=" << b << " " << b * 30 << " 20 0\r\n";
            }
        }
    }
    ~CourseFolder() { std::filesystem::remove_all(root_); }
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

void BM_ScanHundredCourseFiles(benchmark::State& state) {
    const CourseFolder folder;
    for (auto _ : state) {
        auto catalogue = std::make_unique<velnor::CourseCatalogue>(folder.root());
        catalogue->scanCourses();
        benchmark::DoNotOptimize(catalogue->lastIndex());
    }
}
BENCHMARK(BM_ScanHundredCourseFiles)->Unit(benchmark::kMicrosecond);

void BM_LoadLargestCourse(benchmark::State& state) {
    const CourseFolder folder;
    auto catalogue = std::make_unique<velnor::CourseCatalogue>(folder.root());
    catalogue->scanCourses();
    const int largest = catalogue->indexOfCourse("Course 99");
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogue->loadCourse(largest));
}
BENCHMARK(BM_LoadLargestCourse)->Unit(benchmark::kMicrosecond);

} // namespace
