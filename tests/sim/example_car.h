#pragma once

#include "sim/vehicle.h"

#include <cstdint>
#include <initializer_list>

namespace velnor::test {

// The worked example car: 1000 kg, 2000 cc, final ratio 4.0, 0.6 m tyres, 1.7 m x 1.4 m,
// μa 0.0025, first gear 3.5; the other ratios are given.
inline Vehicle exampleCar(std::initializer_list<double> gears = {3.5, 2.1, 1.4, 1.0, 0.8},
                          std::uint32_t now = 0) {
    Vehicle car(now);
    CarSpec& spec = car.spec();
    spec.setCarname("Example");
    spec.setWeight(1000);
    spec.setDisplacement(2000);
    spec.setSlow(4.0);
    spec.setTire(0.6);
    spec.setAir(0.0025);
    spec.setWidth(1.7);
    spec.setHeight(1.4);
    int i = 0;
    for (const double ratio : gears)
        spec.setGear(i++, ratio);
    car.reset(now);
    return car;
}

} // namespace velnor::test
