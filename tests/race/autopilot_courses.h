// Courses for the autopilot's tests: a game directory with the bundled cars, and rectangular rings
// of four straight pieces.
#pragma once

#include "test_dir.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace velnor::test {

// A game directory with the bundled cars and model file and the courses given.
struct GameDir {
    explicit GameDir(const std::string& courses) {
        for (const char* file : {"Velnor.car", "Velnor.mod"})
            std::filesystem::copy_file(VELNOR_FIXTURES "/../../data/" + std::string(file),
                                       dir.file(file));
        dir.write("courses.rod", courses);
    }
    TempDir dir;
};

// The road records of a rectangular ring of four straight pieces, `width` m wide, whose outer
// edges span x0 .. x1 and -width/2 .. top (metres): the bottom side runs through the origin.
inline std::string ringRoad(double x0, double x1, double top, double width) {
    const double b0 = -width / 2, b1 = width / 2;
    std::string text;
    char line[80];
    const auto corners = [&](int n, double xa, double xb, double ya, double yb, bool alongX) {
        // Corners 0-1 and 2-3 are the sides that run along x, as the on-road test wants.
        const double c[4][2] = {{xb, alongX ? ya : yb},
                                {xa, alongX ? ya : yb},
                                {xa, alongX ? yb : ya},
                                {xb, alongX ? yb : ya}};
        for (int v = 0; v < 4; ++v) {
            std::snprintf(line, sizeof line, "p%02d%d=%g %g 0\n", n, v, c[v][0], c[v][1]);
            text += line;
        }
    };
    corners(0, x0, x1, b0, b1, true);
    corners(1, x1 - width, x1, b0, top, false);
    corners(2, x0, x1, top - width, top, true);
    corners(3, x0, x0 + width, b0, top, false);
    return text;
}

// The ring above as a course, the gate 1 m behind the origin across the bottom side, facing +x.
inline std::string rectangularRing(const std::string& name, double x0, double x1, double top,
                                   double width) {
    char gate[80];
    std::snprintf(gate, sizeof gate, "gd=1 0 0\ngl0=-1 %g 0\ngl1=-1 %g 0\n", -width / 2, width / 2);
    return "[" + name + "]\n#road\n" + ringRoad(x0, x1, top, width) + gate;
}

} // namespace velnor::test
