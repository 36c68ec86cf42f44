#pragma once

#include <string_view>

// The records of a course file's two sections. Lengths in the file are metres; the world is in
// units of 0.1 m, so every coordinate, size and distance is multiplied by 10 (colours, the gate
// direction, counts and types are taken as written). Numbers missing from a record read as 0,
// and so does a number beyond the floats ("1e999"), as written or once in world units, so that
// nothing infinite reaches the geometry; a record whose form, index or digit is out of range is
// ignored.

namespace velnor {

class CourseWorld;
struct StartFinishGate;

// The "comment = text" line of a course: its text, or false when the line is none.
bool courseCommentLine(std::string_view line, std::string_view& text);

// A record of the "#road" section: pNNv= (a corner of road piece NN), cNN= (its colour), tNN=
// (its type), gd= (the gate direction), glE= (gate end E).
void applyRoadRecord(std::string_view line, CourseWorld& world, StartFinishGate& gate);

// A record of the "#build" section: ppBBk= (cylinder k of block BB: x, y, z with y and z
// swapped, upright), pbBBkv= (box k, corner v, the digit before the "=": pb00007= is corner 7 as
// well), cpBBk= and cbBBk= (colours), rpBBk= (radius),
// hpBBk= (height: half height, and the cylinder raised by it), yBB= (grid pitch), nBB= (grid
// counts), mBB=t x y z (block BB copied to block t and placed at x y z).
void applyBuildingRecord(std::string_view line, CourseWorld& world);

} // namespace velnor
