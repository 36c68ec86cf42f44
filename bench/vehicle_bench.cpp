// The per-frame cost of the simulated car: one step, the engine speed and the key poll, as the
// racing state runs them every pass.
#include "platform/key_state.h"
#include "platform/tick_clock.h"
#include "sim/vehicle.h"

#include <benchmark/benchmark.h>

namespace {

velnor::Vehicle benchCar() {
    velnor::Vehicle car(0);
    velnor::CarSpec& spec = car.spec();
    spec.setWidth(1.695);
    spec.setHeight(1.43);
    spec.setWeight(1250);
    spec.setDisplacement(1998);
    spec.setSlow(4.1);
    spec.setTire(0.6345);
    spec.setAir(0.0025);
    const double ratios[] = {3.5, 2.1, 1.4, 1.0, 0.8};
    for (int i = 0; i < 5; ++i)
        spec.setGear(i, ratios[i]);
    car.reset(0);
    return car;
}

void BM_VehicleStepAndKeyPoll(benchmark::State& state) {
    velnor::Vehicle car = benchCar();
    velnor::ManualClock clock(0);
    velnor::KeyTable keys;
    keys.setDown(velnor::vk::kX, true);
    std::uint32_t pass = 0;
    for (auto _ : state) {
        clock.advance(1);
        // Steer now and then, so the steering ramps are part of the cost.
        keys.setDown(velnor::vk::kLeft, (++pass & 1023) < 100);
        car.step(clock.now());
        car.computeEngineSpeed(clock.now());
        benchmark::DoNotOptimize(car.pollKeys(keys, clock.now()));
        if (car.raceTime() > 600000) { // ten minutes of race time, then a new start
            car.reset(clock.now());
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VehicleStepAndKeyPoll);

} // namespace
