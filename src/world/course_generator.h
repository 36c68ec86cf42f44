#pragma once

#include "sim/road_conditions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velnor {

// The kinds of course the generator lays out. Every one is a closed road driven
// counter-clockwise from the origin, heading +x, with the start/finish gate 1 m behind the start.
enum class CourseKind : int {
    kRing = 0,         // a rounded rectangle, from sharp little rings to wide ones
    kHairpins = 1,     // a pair of 180° turns folded into one side
    kChicane = 2,      // left-right-left kinks in the straights
    kSBends = 3,       // runs of alternating bends
    kLongStraight = 4, // a long straight and fast corners
    kNarrow = 5,       // a road only a little wider than a bus, with chicanes
};
inline constexpr int kCourseKinds = 6;

const char* courseKindName(CourseKind kind);

// One generated course: the course file a player could have written (the header, a comment and
// the road section with its pieces and gate, lengths in metres) and the road conditions along it
// that the conditions dialog would set (grades and surfaces, or the defaults).
struct GeneratedCourse {
    std::string name; // the course's name in the file
    CourseKind kind = CourseKind::kRing;
    bool graded = false;  // the conditions hold grades (and rougher surfaces)
    double roadWidth = 0; // metres
    double lapLength = 0; // metres along the middle of the road
    int pieces = 0;       // road pieces in the file (the start line not counted)
    std::string text;     // the course file
    // The middle of the road where one piece meets the next, in world units, with the heading
    // there (degrees, counted on round the lap): the first is the start, the last the start again.
    struct Waypoint {
        float x, y, heading;
    };
    std::vector<Waypoint> middle;
    RoadConditions conditions;
};

// The course of `seed`: the same seed always gives the same course. The kind is seed mod 6, the
// grades come with every other kind cycle ((seed / 6) mod 2).
GeneratedCourse generateCourse(std::uint32_t seed);

} // namespace velnor
