#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace velnor {

class KeyState;
class Vehicle;
class CarModel;

// The control events of one run with their race times (ms), and a few snapshots of the car, so
// that a second car can re-drive the run. Digital channels carry presses (1) and releases (0):
// 0 accelerator, 1 brake, 2 steer left, 3 steer right, 4 gear up, 5 gear down, 6 off the road.
// Analog channels carry values: 0 speed (km/h), 1 distance (m), 2 heading (degrees), sampled at
// every steering event.
//
// Each channel holds 1024 entries in buffers allocated once, at construction. While recording,
// a full channel stores nothing more; in replay, the index of a channel only moves forward and
// a query past the last entry answers "none" (-10000).
class GhostLog {
public:
    static constexpr int kDigitalChannels = 7;
    static constexpr int kAnalogChannels = 3;
    static constexpr int kCapacity = 1024;
    static constexpr std::int32_t kNone = -10000;   // "no such event"
    static constexpr double kEmptyValue = -10000.0; // an empty snapshot slot
    static constexpr int kNameSize = 32;

    enum Digital : int {
        kAccelerator = 0,
        kBrake = 1,
        kSteerLeft = 2,
        kSteerRight = 3,
        kGearUp = 4,
        kGearDown = 5,
        kOffRoad = 6,
    };
    enum Analog : int { kSpeed = 0, kDistance = 1, kHeading = 2 };

    GhostLog();
    GhostLog(const GhostLog& other);
    GhostLog& operator=(const GhostLog& other);

    // Empty buffers, indices -1, no names, finish time 0.
    void reset();
    void setCarName(std::string_view name);
    void setCourseName(std::string_view name);
    void setFinishTime(std::int32_t ms) { finishTime_ = ms; }
    const char* carName() const { return carName_; }
    const char* courseName() const { return courseName_; }
    std::int32_t finishTime() const { return finishTime_; }

    // Recording. Channel 6 stores only its changes: a press while pressed, or a release while
    // released, is not stored.
    void recordPress(std::int32_t time, int channel);
    void recordRelease(std::int32_t time, int channel);
    void recordValue(std::int32_t time, int channel, double value);
    // The driving keys of the player's car polled once, every change stored with the car's race
    // time; a steering change also stores the car's speed, distance and heading.
    void pollDrivingKeys(Vehicle& car, const KeyState& keys, std::uint32_t now);

    // Replay queries.
    std::int32_t nextEventTime(int channel) const;
    std::int32_t currentEventTime(int channel) const;
    // The current event's state: a press (1) on every call until the next event; a release (0)
    // and a gear change once; -1 when there is nothing to deliver.
    int takeState(int channel);
    void advance(int channel);
    std::int32_t nextValueTime(int channel) const;
    double currentValue(int channel) const;
    void advanceValue(int channel);

    // Stored entries, for writing the log out and reading it in.
    int eventCount(int channel) const {
        return eventIndex_[channel] < 0 ? 0 : eventIndex_[channel];
    }
    int valueCount(int channel) const {
        return valueIndex_[channel] < 0 ? 0 : valueIndex_[channel];
    }
    std::int32_t eventTime(int channel, int slot) const { return eventTimes(channel)[slot]; }
    std::int32_t eventState(int channel, int slot) const { return eventStates(channel)[slot]; }
    std::int32_t valueTime(int channel, int slot) const { return valueTimes(channel)[slot]; }
    double value(int channel, int slot) const { return values(channel)[slot]; }
    // Puts an entry straight into a slot (0-1023) when reading a file; indices stay as they are.
    void setEvent(int channel, int slot, std::int32_t time, std::int32_t state);
    void setValue(int channel, int slot, std::int32_t time, double value);

private:
    std::int32_t* eventTimes(int channel) const { return &eventTimes_[channel * kCapacity]; }
    std::int32_t* eventStates(int channel) const { return &eventStates_[channel * kCapacity]; }
    std::int32_t* valueTimes(int channel) const { return &valueTimes_[channel * kCapacity]; }
    double* values(int channel) const { return &values_[channel * kCapacity]; }
    void store(std::int32_t time, int channel, std::int32_t state);

    std::unique_ptr<std::int32_t[]> eventTimes_;
    std::unique_ptr<std::int32_t[]> eventStates_;
    std::unique_ptr<std::int32_t[]> valueTimes_;
    std::unique_ptr<double[]> values_;
    int eventIndex_[kDigitalChannels];
    int consumed_[kDigitalChannels];
    int holdLatch_;
    int valueIndex_[kAnalogChannels];
    char carName_[kNameSize];
    char courseName_[kNameSize];
    std::int32_t finishTime_;
};

// One pass of the ghost car without its drawing object: its step, the off-road crawl and the
// snapshots it reaches. The car's step distance says how far it went.
void ghostCarStep(Vehicle& ghostCar, GhostLog& log, std::uint32_t now);
// One pass of the ghost car: its step, the off-road crawl and the snapshots it reaches, and its
// drawing object moved and turned like the player's car.
void ghostStep(Vehicle& ghostCar, GhostLog& log, CarModel& ghostModel, std::uint32_t now);
// The recorded control events the ghost has reached, applied to its controls: at most one event
// per channel and pass.
void ghostInputs(Vehicle& ghostCar, GhostLog& log, std::uint32_t now);

// The displacement (world units) of a car that went `metres` along `heading` degrees, as the
// frame step and the ghost step move car bodies: single precision throughout.
struct Displacement {
    float dx;
    float dy;
};
Displacement displacementAlong(float heading, double metres);

} // namespace velnor
