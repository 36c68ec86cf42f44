#pragma once

namespace velnor {

// Road surfaces; only the rolling-resistance coefficient enters the motion.
inline constexpr int kSurfaceCount = 6;

// The rolling-resistance coefficient proposed for a surface (0 dry sand ... 5 asphalt); 0 outside
// 0-5.
double proposedRollingCoefficient(int surface);

// The name of a surface as the conditions dialog shows it, in Shift-JIS; empty outside 0-5.
const char* surfaceLabel(int surface);

// One stretch of road, from `start` metres on.
struct RoadCondition {
    double start = 0.0;     // m from the start position; 0 on any entry but the first ends the list
    int surface = 0;        // 0-5, kept so the dialog can show the choice again
    double rolling = 0.015; // rolling-resistance coefficient, dimensionless
    double grade = 0.0;     // rad, positive uphill
};

// The ten road conditions along the course that a run uses, and the one the car is on now.
// Entry indices outside 0-9 given to a setter mean the current entry.
class RoadConditions {
public:
    static constexpr int kCount = 10;

    RoadConditions() { reset(); }

    void reset();
    void selectFirst() { current_ = 0; }
    void next();
    void previous();
    int currentIndex() const { return current_; }

    void setStart(double metres, int index);        // >= 0
    void setSurface(int surface, int index);        // any value
    void setRolling(double coefficient, int index); // >= 0
    void setGradeDegrees(double degrees, int index);
    void setGradePercent(double percent, int index); // grade = atan(percent / 100)

    double start(int index) const { return entry(index).start; }
    double rolling(int index) const { return entry(index).rolling; }
    double grade(int index) const { return entry(index).grade; }
    double start() const { return entries_[current_].start; }
    double rolling() const { return entries_[current_].rolling; }
    double grade() const { return entries_[current_].grade; }
    int surface() const { return entries_[current_].surface; }

private:
    const RoadCondition& entry(int index) const;
    RoadCondition& target(int index);

    RoadCondition entries_[kCount];
    int current_ = 0;
};

} // namespace velnor
