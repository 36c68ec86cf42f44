#include "platform/data_line.h"
#include "platform/number_text.h"
#include "tool/lint_checks.h"
#include "world/course_world.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace velnor::lint {
namespace {

// Lengths are metres in the file: world units are 10 to the metre.
constexpr float kMetres = 10;

int digit(std::string_view line, std::size_t i) {
    return i < line.size() ? line[i] - '0' : -48;
}

int twoDigits(std::string_view line, std::size_t i) {
    return 10 * digit(line, i) + digit(line, i + 1);
}

// The records of the #road and #build sections of one course file.
class CourseRecords {
public:
    explicit CourseRecords(Messages& messages) : messages_(messages) {}

    void roadLine(int number, std::string_view line);
    void buildingLine(int number, std::string_view line);

private:
    // A value without '=' (true: the line is ignored), else its `needed` numbers checked.
    bool missing(int number, std::string_view line, std::size_t from, int needed, float scale = 1,
                 int scaledFrom = 0);
    void pieceLine(int number, std::string_view line);
    void gateLine(int number, std::string_view line);
    void blockLine(int number, std::string_view line);
    void partLine(int number, std::string_view line);

    Messages& messages_;
    std::set<std::pair<int, int>> placedCylinders_; // (block, part) given a position
};

bool CourseRecords::missing(int number, std::string_view line, std::size_t from, int needed,
                            float scale, int scaledFrom) {
    std::string_view value;
    if (!valueAfterEquals(line, from, value)) {
        messages_.push_back({number, "no '=': ignored"});
        return true;
    }
    checkNumbers(number, value, needed, scale, scaledFrom, messages_);
    return false;
}

void CourseRecords::roadLine(int number, std::string_view line) {
    switch (line[0]) {
    case 'p':
    case 'c':
    case 't':
        pieceLine(number, line);
        return;
    case 'g':
        gateLine(number, line);
        return;
    default:
        messages_.push_back({number, "not a road record (p, c, t, g): ignored"});
        return;
    }
}

// A road piece's corner (p), colour (c) or type (t).
void CourseRecords::pieceLine(int number, std::string_view line) {
    const int piece = twoDigits(line, 1);
    if (piece < 0 || piece >= CourseWorld::kRoadPieces) {
        messages_.push_back(
            {number, "no road piece " + std::to_string(piece) + " (0-49): ignored"});
        return;
    }
    if (line[0] == 'p') {
        if (digit(line, 3) < 0 || digit(line, 3) > 3)
            messages_.push_back({number, "the corner is the digit after the piece number "
                                         "(0-3): ignored"});
        else
            missing(number, line, 2, 3, kMetres);
        return;
    }
    if (missing(number, line, 2, line[0] == 'c' ? 4 : 1))
        return;
    if (line[0] == 't') {
        std::array<float, 1> type;
        numbersAfterEquals(line, 2, type);
        const int k = truncateToInt(type[0]);
        if (k < 0 || k >= 5)
            messages_.push_back(
                {number, "no road type " + std::to_string(k) + " (0-4): it is stored as 3"});
    }
}

void CourseRecords::gateLine(int number, std::string_view line) {
    if (line.size() > 1 && line[1] == 'd') {
        if (missing(number, line, 0, 3))
            return;
        std::string_view value;
        valueAfterEquals(line, 0, value);
        std::array<float, 3> d;
        scanNumbers(value, d);
        const bool axis = std::fabs(d[0]) == 1 || std::fabs(d[1]) == 1;
        if (!axis)
            messages_.push_back({number, "the gate's direction is no axis ((+-1, 0) or "
                                         "(0, +-1)): no lap is ever counted"});
    } else if (line.size() > 1 && line[1] == 'l' && digit(line, 2) >= 0 && digit(line, 2) <= 1) {
        missing(number, line, 2, 3, kMetres);
    } else {
        messages_.push_back({number, "not a gate record (gd=, gl0=, gl1=): ignored"});
    }
}

void CourseRecords::buildingLine(int number, std::string_view line) {
    const char kind = line[0];
    if (kind == 'y' || kind == 'n' || kind == 'm')
        blockLine(number, line);
    else if (std::string_view("pcrh").find(kind) == std::string_view::npos)
        messages_.push_back({number, "not a building record: ignored"});
    else
        partLine(number, line);
}

// A building block's pitch (y), counts (n) or copy (m).
void CourseRecords::blockLine(int number, std::string_view line) {
    const char kind = line[0];
    const int block = twoDigits(line, 1);
    if (block < 0 || block >= CourseWorld::kBlocks) {
        messages_.push_back(
            {number, "no building block " + std::to_string(block) + " (0-9): ignored"});
        return;
    }
    // The pitch and the origin are lengths; the counts and the block copied to are not.
    if (missing(number, line, 1, kind == 'm' ? 4 : 3, kind == 'n' ? 1 : kMetres,
                kind == 'm' ? 1 : 0))
        return;
    std::array<float, 4> v;
    numbersAfterEquals(line, 1, v);
    if (kind == 'n') {
        if (v[0] < 1 || v[1] < 1 || v[2] < 1)
            messages_.push_back({number, "a count below 1 is taken as 1"});
        const int columns = std::max(truncateToInt(v[0]), 1);
        const int rows = std::max(truncateToInt(v[1]), 1);
        BuildingBlock taken;
        taken.setCounts(columns, rows, truncateToInt(v[2]));
        if (taken.counts()[0] != columns || taken.counts()[1] != rows)
            messages_.push_back({number, "a grid of " + std::to_string(columns) + " x " +
                                             std::to_string(rows) +
                                             " cells is more than one block " + "places (" +
                                             std::to_string(BuildingBlock::kMaxCells) +
                                             "): read as " + std::to_string(taken.counts()[0]) +
                                             " x " + std::to_string(taken.counts()[1])});
    }
    if (kind == 'm' && (truncateToInt(v[0]) < 0 || truncateToInt(v[0]) >= CourseWorld::kBlocks))
        messages_.push_back({number, "no building block to copy to (0-9): ignored"});
}

// A pillar's or box's position (p), colour (c), radius (r) or height (h).
void CourseRecords::partLine(int number, std::string_view line) {
    const char kind = line[0];
    const char part = line.size() > 1 ? line[1] : '\0';
    if (part != 'p' && part != 'b') {
        messages_.push_back({number, "the second letter must be p (pillar) or b (box): ignored"});
        return;
    }
    if ((kind == 'r' || kind == 'h') && part == 'b') {
        messages_.push_back({number, "boxes have no radius or height line: ignored"});
        return;
    }
    const int block = twoDigits(line, 2);
    const int k = digit(line, 4);
    if (block < 0 || block >= CourseWorld::kBlocks || k < 0 || k >= BuildingBlock::kParts) {
        messages_.push_back({number, "no such block (0-9) or part (0-3): ignored"});
        return;
    }
    if (kind == 'p' && part == 'b') {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals < 6 || digit(line, equals - 1) < 0 ||
            digit(line, equals - 1) > 7) {
            messages_.push_back({number, "the box corner is the digit before '=' (0-7): ignored"});
            return;
        }
    }
    if (kind == 'p' && part == 'p')
        placedCylinders_.insert({block, k});
    if (kind == 'h' && !placedCylinders_.count({block, k}))
        messages_.push_back({number, "height before the pillar's position: the pp line that "
                                     "follows undoes its raise"});
    // Colours are as written; positions, radii and heights are lengths.
    missing(number, line, 1, kind == 'c' ? 4 : (kind == 'p' ? 3 : 1), kind == 'c' ? 1 : kMetres);
}

} // namespace

Messages lintCourseFile(const std::string& path, bool& ok) {
    Messages messages;
    std::vector<std::pair<int, std::string>> headers;
    enum State { kNone, kCourse, kRoad, kBuild };
    State state = kNone;
    CourseRecords records(messages);
    ok = eachLine(path, messages, [&](int number, std::string_view line) {
        if (isCommentLine(line))
            return;
        if (isHeaderLine(line)) {
            checkHeaderName(number, line, 31, messages);
            headers.emplace_back(number, std::string(headerName(line)));
            state = kCourse;
            return;
        }
        if (startsWithIgnoringCase(line, "comment") && state != kNone) {
            std::string_view value;
            if (valueAfterEquals(line, 7, value) && trimLeadingSpaces(value).size() > 255)
                messages.push_back({number, "comment longer than 255 bytes: it is cut"});
            if (state == kCourse)
                return;
        }
        if (line.find("#road") != std::string_view::npos && state != kNone) {
            state = kRoad;
            return;
        }
        if (line.find("#build") != std::string_view::npos && state != kNone) {
            state = kBuild;
            return;
        }
        if (state == kNone || state == kCourse)
            messages.push_back({number, state == kNone ? "before the first course: ignored"
                                                       : "outside #road and #build: ignored"});
        else if (state == kRoad)
            records.roadLine(number, line);
        else
            records.buildingLine(number, line);
    });
    checkContainment(headers, "course", messages);
    return messages;
}

} // namespace velnor::lint
