#include "race/ghost_log.h"

#include "cars/car_model.h"
#include "platform/fixed_text.h"
#include "sim/vehicle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velnor {

GhostLog::GhostLog()
    : eventTimes_(new std::int32_t[kDigitalChannels * kCapacity]),
      eventStates_(new std::int32_t[kDigitalChannels * kCapacity]),
      valueTimes_(new std::int32_t[kAnalogChannels * kCapacity]),
      values_(new double[kAnalogChannels * kCapacity]) {
    reset();
}

GhostLog::GhostLog(const GhostLog& other) : GhostLog() {
    *this = other;
}

GhostLog& GhostLog::operator=(const GhostLog& other) {
    if (this == &other)
        return *this;
    std::copy_n(other.eventTimes_.get(), kDigitalChannels * kCapacity, eventTimes_.get());
    std::copy_n(other.eventStates_.get(), kDigitalChannels * kCapacity, eventStates_.get());
    std::copy_n(other.valueTimes_.get(), kAnalogChannels * kCapacity, valueTimes_.get());
    std::copy_n(other.values_.get(), kAnalogChannels * kCapacity, values_.get());
    std::copy_n(other.eventIndex_, kDigitalChannels, eventIndex_);
    std::copy_n(other.consumed_, kDigitalChannels, consumed_);
    holdLatch_ = other.holdLatch_;
    std::copy_n(other.valueIndex_, kAnalogChannels, valueIndex_);
    std::memcpy(carName_, other.carName_, kNameSize);
    std::memcpy(courseName_, other.courseName_, kNameSize);
    finishTime_ = other.finishTime_;
    return *this;
}

void GhostLog::reset() {
    std::fill_n(eventTimes_.get(), kDigitalChannels * kCapacity, 0);
    std::fill_n(eventStates_.get(), kDigitalChannels * kCapacity, -1);
    std::fill_n(valueTimes_.get(), kAnalogChannels * kCapacity, 0);
    std::fill_n(values_.get(), kAnalogChannels * kCapacity, kEmptyValue);
    std::fill_n(eventIndex_, kDigitalChannels, -1);
    std::fill_n(consumed_, kDigitalChannels, 0);
    holdLatch_ = 0;
    std::fill_n(valueIndex_, kAnalogChannels, -1);
    carName_[0] = '\0';
    courseName_[0] = '\0';
    finishTime_ = 0;
}

void GhostLog::setCarName(std::string_view name) {
    copyText(carName_, name);
}
void GhostLog::setCourseName(std::string_view name) {
    copyText(courseName_, name);
}

void GhostLog::store(std::int32_t time, int channel, std::int32_t state) {
    int& index = eventIndex_[channel];
    if (index >= kCapacity)
        return; // the channel is full: nothing more is recorded
    eventTimes(channel)[index] = time;
    eventStates(channel)[index] = state;
    ++index;
}

void GhostLog::recordPress(std::int32_t time, int channel) {
    if (channel < 0 || channel >= kDigitalChannels)
        return;
    eventIndex_[channel] = std::max(eventIndex_[channel], 0);
    if (channel == kOffRoad) {
        if (holdLatch_)
            return;
        holdLatch_ = 1;
    }
    store(time, channel, 1);
}

void GhostLog::recordRelease(std::int32_t time, int channel) {
    if (channel < 0 || channel >= kDigitalChannels)
        return;
    eventIndex_[channel] = std::max(eventIndex_[channel], 0);
    if (channel == kOffRoad) {
        if (!holdLatch_)
            return;
        holdLatch_ = 0;
    }
    store(time, channel, 0);
}

void GhostLog::recordValue(std::int32_t time, int channel, double value) {
    if (channel < 0 || channel >= kAnalogChannels)
        return;
    int& index = valueIndex_[channel];
    if (index < 0)
        index = 0;
    if (index >= kCapacity)
        return;
    valueTimes(channel)[index] = time;
    values(channel)[index] = value;
    ++index;
}

void GhostLog::pollDrivingKeys(Vehicle& car, const KeyState& keys, std::uint32_t now) {
    const std::int32_t t = car.raceTime();
    const auto record = [&](int channel, int result) {
        if (result > 0)
            recordPress(t, channel);
        else
            recordRelease(t, channel);
    };
    const auto samples = [&] {
        recordValue(t, kSpeed, car.speed());
        recordValue(t, kDistance, car.distance());
        recordValue(t, kHeading, car.controls().heading());
    };
    car.pollKeys(keys, now, [&](Control control, int result) {
        switch (control) {
        case Control::kAccelerator:
            record(kAccelerator, result);
            break;
        case Control::kBrake:
            record(kBrake, result);
            break;
        case Control::kSteerLeft:
            record(kSteerLeft, result);
            samples();
            break;
        case Control::kSteerRight:
            record(kSteerRight, result);
            samples();
            break;
        case Control::kGearUp:
            recordPress(t, kGearUp);
            break;
        case Control::kGearDown:
            recordPress(t, kGearDown);
            break;
        case Control::kAutomaticGearbox:
            recordPress(t, result > 0 ? kGearUp : kGearDown);
            break;
        }
    });
}

std::int32_t GhostLog::nextEventTime(int channel) const {
    const int i = eventIndex_[channel];
    if (i >= kCapacity - 1 || eventStates(channel)[i + 1] == -1)
        return kNone;
    return eventTimes(channel)[i + 1];
}

std::int32_t GhostLog::currentEventTime(int channel) const {
    const int i = eventIndex_[channel];
    if (i < 0 || i >= kCapacity || eventStates(channel)[i] == -1)
        return kNone;
    return eventTimes(channel)[i];
}

int GhostLog::takeState(int channel) {
    const int i = eventIndex_[channel];
    if (i < 0 || i >= kCapacity || consumed_[channel])
        return -1;
    const int state = eventStates(channel)[i];
    if (state == 0 || channel == kGearUp || channel == kGearDown)
        consumed_[channel] = 1;
    return state;
}

void GhostLog::advance(int channel) {
    consumed_[channel] = 0;
    if (eventIndex_[channel] < kCapacity)
        ++eventIndex_[channel];
}

std::int32_t GhostLog::nextValueTime(int channel) const {
    const int i = valueIndex_[channel];
    if (i >= kCapacity - 1 || values(channel)[i + 1] == kEmptyValue)
        return kNone;
    return valueTimes(channel)[i + 1];
}

double GhostLog::currentValue(int channel) const {
    const int i = valueIndex_[channel];
    if (i < 0 || i >= kCapacity)
        return kEmptyValue;
    return values(channel)[i];
}

void GhostLog::advanceValue(int channel) {
    if (valueIndex_[channel] < kCapacity)
        ++valueIndex_[channel];
}

void GhostLog::setEvent(int channel, int slot, std::int32_t time, std::int32_t state) {
    if (channel < 0 || channel >= kDigitalChannels || slot < 0 || slot >= kCapacity)
        return;
    eventTimes(channel)[slot] = time;
    eventStates(channel)[slot] = state;
}

void GhostLog::setValue(int channel, int slot, std::int32_t time, double value) {
    if (channel < 0 || channel >= kAnalogChannels || slot < 0 || slot >= kCapacity)
        return;
    valueTimes(channel)[slot] = time;
    values(channel)[slot] = value;
}

Displacement displacementAlong(float heading, double metres) {
    const float angle = heading * 3.1415927f * 0.0055555557f;
    const float d = static_cast<float>(metres);
    return {10.0f * d * std::cos(angle), 10.0f * d * std::sin(angle)};
}

void ghostCarStep(Vehicle& ghostCar, GhostLog& log, std::uint32_t now) {
    ghostCar.step(now);
    const std::int32_t time = ghostCar.raceTime();

    const std::int32_t offRoad = log.nextEventTime(GhostLog::kOffRoad);
    if (offRoad != GhostLog::kNone && offRoad <= time)
        log.advance(GhostLog::kOffRoad);
    if (log.takeState(GhostLog::kOffRoad) == 1 && ghostCar.speed() > 2)
        ghostCar.setSpeed(2);

    // Each snapshot is applied once, in the pass that reaches it.
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel) {
        const std::int32_t at = log.nextValueTime(channel);
        if (at == GhostLog::kNone || at > time)
            continue;
        log.advanceValue(channel);
        const double value = log.currentValue(channel);
        if (value == GhostLog::kEmptyValue)
            continue;
        if (channel == GhostLog::kSpeed)
            ghostCar.setSpeed(value);
        else if (channel == GhostLog::kDistance)
            ghostCar.setDistance(value);
        else
            ghostCar.controls().setHeading(static_cast<float>(value));
    }
}

void ghostStep(Vehicle& ghostCar, GhostLog& log, CarModel& ghostModel, std::uint32_t now) {
    ghostCarStep(ghostCar, log, now);
    const float heading = ghostCar.controls().heading();
    const Displacement move = displacementAlong(heading, ghostCar.stepDistance());
    ghostModel.setHeading(heading);
    ghostModel.moveParts(move.dx, move.dy, 0);
}

void ghostInputs(Vehicle& ghostCar, GhostLog& log, std::uint32_t now) {
    const std::int32_t time = ghostCar.raceTime();
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel) {
        const std::int32_t next = log.nextEventTime(channel);
        if (next != GhostLog::kNone && next <= time)
            log.advance(channel);
    }
    // A held control: state 1 presses it at the tick of its event (race time counts from
    // 3000 ms after the car's reset), state 0 lets it go.
    DriverControls& controls = ghostCar.controls();
    using Press = void (DriverControls::*)(std::uint32_t, std::uint32_t);
    using Release = void (DriverControls::*)();
    const auto replay = [&](int channel, Press press, Release release) {
        switch (log.takeState(channel)) {
        case 0:
            (controls.*release)();
            break;
        case 1:
            (controls.*press)(static_cast<std::uint32_t>(log.currentEventTime(channel)) +
                                  ghostCar.startTick() + Vehicle::kStartHold,
                              now);
            break;
        }
    };
    replay(GhostLog::kAccelerator, &DriverControls::acceleratorPress,
           &DriverControls::acceleratorRelease);
    replay(GhostLog::kBrake, &DriverControls::brakePress, &DriverControls::brakeRelease);
    if (log.takeState(GhostLog::kGearUp) == 1)
        controls.gearUp();
    if (log.takeState(GhostLog::kGearDown) == 1)
        controls.gearDown();
    replay(GhostLog::kSteerLeft, &DriverControls::steerLeftPress,
           &DriverControls::steeringRelease);
    replay(GhostLog::kSteerRight, &DriverControls::steerRightPress,
           &DriverControls::steeringRelease);
}

} // namespace velnor
