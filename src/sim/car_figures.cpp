#include "sim/car_figures.h"

#include "platform/key_state.h"
#include "platform/tick_clock.h"

#include <cmath>

namespace velnor {

StandingStart runStandingStart(const Vehicle& car) {
    Vehicle vehicle = car;
    vehicle.spec().setAutomatic(1);
    ManualClock clock;
    KeyTable keys;
    keys.setDown(vk::kX, true);
    vehicle.reset(clock.now());

    StandingStart run;
    const int topGear = vehicle.controls().gearCount() - 1;
    bool at60 = false;
    while (vehicle.raceTime() < kStandingStartDuration) {
        clock.advance(kStandingStartPass);
        const double speed = vehicle.step(clock.now());
        vehicle.computeEngineSpeed(clock.now());
        vehicle.pollKeys(keys, clock.now());

        const double time = vehicle.raceTime() * 0.001;
        const auto mark = [&](std::optional<double>& when, double threshold) {
            if (!when && speed >= threshold)
                when = time;
        };
        mark(run.to50, 50.0);
        mark(run.to100, 100.0);
        mark(run.to150, 150.0);
        if (!at60 && vehicle.raceTime() >= 60000) {
            run.speedAt60 = speed;
            at60 = true;
        }
        if (topGear >= 0 && vehicle.controls().gearIndex() == topGear)
            run.topGearReached = true;
        run.samples.push_back(
            {time, speed, vehicle.engineSpeed(), vehicle.controls().gearIndex() + 1});
    }
    return run;
}

CarFigures computeCarFigures(const Vehicle& car) {
    Vehicle vehicle = car;
    vehicle.reset(0);
    const CarSpec& spec = vehicle.spec();
    const DriverControls& controls = vehicle.controls();

    CarFigures figures;
    figures.gearCount = controls.gearCount();
    figures.restAccelerator = controls.acceleratorRest();
    figures.restBrake = controls.brakeRest();
    figures.frontalArea = spec.width() * spec.height();
    figures.airResistanceAt100 = spec.air() * figures.frontalArea * 100.0 * 100.0;

    const RoadConditions& road = vehicle.roadConditions();
    const double resistance = spec.weight() * (road.rolling() + std::sin(road.grade()));
    for (int i = 0; i < figures.gearCount; ++i) {
        GearFigures gear;
        gear.gear = i + 1;
        gear.ratio = spec.gear(i);
        gear.acceleratorLimit = controls.acceleratorLimit(i);
        gear.driveForceAtLimit = vehicle.driveForceAt(gear.acceleratorLimit, i);
        gear.accelerationFromRest =
            spec.weight() > 0.0 ? (gear.driveForceAtLimit - resistance) / spec.weight() * 9.8 : 0.0;
        const double rpmPerKmh = vehicle.engineSpeedAt(1.0, i);
        gear.revLimitSpeed = rpmPerKmh > 0.0 ? Vehicle::kRevLimit / rpmPerKmh : 0.0;
        figures.gears.push_back(gear);
    }
    figures.acceleration = runStandingStart(car);
    return figures;
}

} // namespace velnor
