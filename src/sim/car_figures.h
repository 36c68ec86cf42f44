#pragma once

#include "sim/vehicle.h"

#include <optional>
#include <vector>

namespace velnor {

// What one gear of a car can do, from its data alone.
struct GearFigures {
    int gear = 0; // 1-based
    double ratio = 0.0;
    double acceleratorLimit = 0.0;     // highest accelerator value in this gear
    double driveForceAtLimit = 0.0;    // kgf at that limit
    double accelerationFromRest = 0.0; // m/s² at that limit from standstill, no brake
    double revLimitSpeed = 0.0;        // km/h at 8000 rpm
};

// A standing start through the car's own code: automatic gearbox, the accelerator held from the
// Reset on, 10 ms passes of step, engine speed and key poll, for 120 s of race time.
struct StandingStart {
    struct Sample {
        double time;        // race time, s
        double speed;       // km/h
        double engineSpeed; // rpm
        int gear;           // 1-based
    };
    std::optional<double> to50; // s of race time at the first pass at or above 50 km/h
    std::optional<double> to100;
    std::optional<double> to150;
    double speedAt60 = 0.0;      // km/h at the first pass at or after 60 s
    bool topGearReached = false; // the top usable gear was engaged
    std::vector<Sample> samples; // one a pass
};

// The figures a car author checks a car by, for the car as loaded on its default road.
struct CarFigures {
    int gearCount = 0;
    double restAccelerator = 0.0;    // a0
    double restBrake = 0.0;          // b0
    double frontalArea = 0.0;        // m²
    double airResistanceAt100 = 0.0; // kgf
    std::vector<GearFigures> gears;  // the usable gears
    StandingStart acceleration;
};

inline constexpr std::uint32_t kStandingStartPass = 10;        // ms between passes
inline constexpr std::int32_t kStandingStartDuration = 120000; // ms of race time

StandingStart runStandingStart(const Vehicle& car);
CarFigures computeCarFigures(const Vehicle& car);

} // namespace velnor
