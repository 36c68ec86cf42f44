#include "world/course_file.h"

#include "platform/data_line.h"
#include "platform/number_text.h"
#include "world/course_world.h"
#include "world/start_finish_gate.h"

#include <array>
#include <climits>
#include <cmath>

namespace velnor {
namespace {

constexpr float kMetres = 10.0f; // world units per metre

// The character at `i`, or NUL past the end (as in the C string the game reads).
char at(std::string_view line, std::size_t i) {
    return i < line.size() ? line[i] : '\0';
}

// Two digit characters read as a number: 10 × (first − '0') + (second − '0').
int twoDigits(std::string_view line, std::size_t i) {
    return 10 * (at(line, i) - '0') + (at(line, i + 1) - '0');
}

int digit(std::string_view line, std::size_t i) {
    return at(line, i) - '0';
}

bool inRange(int value, int count) {
    return value >= 0 && value < count;
}

// A length of the file in world units; one that grows past the floats reads as 0.
float toWorld(float metres) {
    return finiteOrZero(metres * kMetres);
}

} // namespace

bool courseCommentLine(std::string_view line, std::string_view& text) {
    if (isHeaderLine(line) || !startsWithIgnoringCase(line, "comment") ||
        !valueAfterEquals(line, 7, text))
        return false;
    text = trimLeadingSpaces(text);
    return true;
}

void applyRoadRecord(std::string_view line, CourseWorld& world, StartFinishGate& gate) {
    const int piece = twoDigits(line, 1);
    switch (at(line, 0)) {
    case 'p': {
        std::array<float, 3> xyz;
        const int corner = digit(line, 3);
        if (!inRange(piece, CourseWorld::kRoadPieces) || !inRange(corner, 4) ||
            !numbersAfterEquals(line, 2, xyz))
            return;
        RoadPiece& target = world.roadPiece(piece);
        target.setVertex(corner, toWorld(xyz[0]), toWorld(xyz[1]), toWorld(xyz[2]));
        target.setUsed(1);
        return;
    }
    case 'c': {
        std::array<float, 4> rgba;
        if (inRange(piece, CourseWorld::kRoadPieces) && numbersAfterEquals(line, 2, rgba))
            world.roadPiece(piece).setColour(rgba[0], rgba[1], rgba[2], rgba[3]);
        return;
    }
    case 't': {
        std::array<float, 1> type;
        if (inRange(piece, CourseWorld::kRoadPieces) && numbersAfterEquals(line, 2, type))
            world.roadPiece(piece).setType(truncateToInt(type[0]));
        return;
    }
    case 'g': {
        std::array<float, 3> xyz;
        if (at(line, 1) == 'd') {
            if (numbersAfterEquals(line, 0, xyz))
                gate.direction = {xyz[0], xyz[1], xyz[2]};
        } else if (at(line, 1) == 'l') {
            const int end = digit(line, 2);
            if (!inRange(end, 2) || !numbersAfterEquals(line, 2, xyz))
                return;
            (end == 0 ? gate.end0 : gate.end1) = {toWorld(xyz[0]), toWorld(xyz[1]),
                                                  toWorld(xyz[2])};
        }
        return;
    }
    default:
        return;
    }
}

namespace {

// A block's pitch (y), counts (n) or copy with a new origin (m).
void applyBlockRecord(std::string_view line, CourseWorld& world) {
    const char kind = at(line, 0);
    const int index = twoDigits(line, 1);
    std::array<float, 4> v;
    if (!inRange(index, CourseWorld::kBlocks) || !numbersAfterEquals(line, 1, v))
        return;
    BuildingBlock& block = world.block(index);
    if (kind == 'y') {
        block.setPitch(toWorld(v[0]), toWorld(v[1]), toWorld(v[2]));
    } else if (kind == 'n') {
        block.setCounts(truncateToInt(v[0]), truncateToInt(v[1]), truncateToInt(v[2]));
    } else {
        const int target = truncateToInt(v[0]);
        if (!inRange(target, CourseWorld::kBlocks))
            return;
        if (target != index)
            world.block(target) = block;
        world.block(target).setOrigin(toWorld(v[1]), toWorld(v[2]), toWorld(v[3]));
    }
}

// A pillar's position (pp) or a box's corner (pb) of part `k`.
void placePart(std::string_view line, BuildingBlock& block, int k, const std::array<float, 4>& v) {
    if (at(line, 1) == 'p') {
        Cylinder& cylinder = block.cylinder(k);
        cylinder.setPosition(toWorld(v[0]), toWorld(v[2]), toWorld(v[1]));
        cylinder.setRotation(90.0f, 1.0f, 0.0f, 0.0f);
        cylinder.setUsed(1);
        return;
    }
    // The corner is the digit at position 5, which ends the name "pbBBkv"; courses also write
    // the name with one more digit ("pb00007" for corner 7), so the digit just before the "="
    // counts.
    const std::size_t equals = line.find('=', 1);
    if (equals == std::string_view::npos || equals < 6)
        return;
    const int corner = digit(line, equals - 1);
    if (!inRange(corner, Box::kCorners))
        return;
    block.box(k).setVertex(corner, toWorld(v[0]), toWorld(v[1]), toWorld(v[2]));
    block.box(k).setUsed(1);
}

} // namespace

void applyBuildingRecord(std::string_view line, CourseWorld& world) {
    const char kind = at(line, 0);
    const char part = at(line, 1);
    if (kind == 'y' || kind == 'n' || kind == 'm') {
        applyBlockRecord(line, world);
        return;
    }

    // The part forms: a second character of "p" (cylinder) or "b" (box).
    if (part != 'p' && part != 'b')
        return;
    const int index = twoDigits(line, 2);
    const int k = digit(line, 4);
    if (!inRange(index, CourseWorld::kBlocks) || !inRange(k, BuildingBlock::kParts))
        return;
    BuildingBlock& block = world.block(index);
    std::array<float, 4> v;
    if (!numbersAfterEquals(line, 1, v))
        return;
    switch (kind) {
    case 'p':
        placePart(line, block, k, v);
        return;
    case 'c':
        if (part == 'p')
            block.cylinder(k).setColour(v[0], v[1], v[2], v[3]);
        else
            block.box(k).setColour(v[0], v[1], v[2], v[3]);
        return;
    case 'r':
        if (part == 'p')
            block.cylinder(k).setRadius(toWorld(v[0]));
        return;
    case 'h':
        if (part == 'p') {
            Cylinder& cylinder = block.cylinder(k);
            const float half = toWorld(v[0]) / 2;
            cylinder.setHalfHeight(half);
            const Vec3& p = cylinder.position();
            cylinder.setPosition(p[0], finiteOrZero(p[1] + half), p[2]);
        }
        return;
    default:
        return;
    }
}

} // namespace velnor
