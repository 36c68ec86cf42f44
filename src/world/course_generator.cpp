#include "world/course_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace velnor {
namespace {

constexpr double kMaxArc = 30;       // degrees of bend per road piece
constexpr double kMaxStraight = 100; // metres of straight per road piece
constexpr double kOverlap = 1.5;     // metres each piece reaches into the next
constexpr int kMaxPieces = 49;       // road pieces; the 50th is the start line
constexpr double kGap = 3;           // metres kept between two stretches of road that do not meet

// A small generator of our own (splitmix64), so that a seed gives the same course everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double uniform(double low, double high) {
        return low + (high - low) * static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
    }
    bool chance(double share) { return uniform(0, 1) < share; }

private:
    std::uint64_t nextBits() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

// A straight (angle 0) or a bend: degrees, positive to the left, round a radius in metres.
struct Segment {
    double length = 0;
    double angle = 0;
    double radius = 0;
};

struct Point {
    double x, y, h; // metres, degrees
};

struct Piece {
    Point from, to;
    double along; // metres from the start to the piece's middle
};

// The path's pieces; the lap length in `length`.
std::vector<Piece> walk(const std::vector<Segment>& path, double& length) {
    std::vector<Piece> pieces;
    Point at{0, 0, 0};
    length = 0;
    for (const Segment& s : path) {
        const double extent = s.angle == 0 ? s.length : std::fabs(s.angle);
        const int parts = std::max(
            1, static_cast<int>(std::ceil(extent / (s.angle == 0 ? kMaxStraight : kMaxArc))));
        for (int i = 0; i < parts; ++i) {
            Point to = at;
            double step = 0;
            const double rad = at.h * std::numbers::pi / 180;
            if (s.angle == 0) {
                step = s.length / parts;
                to.x += step * std::cos(rad);
                to.y += step * std::sin(rad);
            } else {
                const double side =
                    s.angle > 0 ? 1 : -1; // the centre lies to the left of a left bend
                const double cx = at.x - side * s.radius * std::sin(rad);
                const double cy = at.y + side * s.radius * std::cos(rad);
                to.h = at.h + s.angle / parts;
                const double rad1 = to.h * std::numbers::pi / 180;
                to.x = cx + side * s.radius * std::sin(rad1);
                to.y = cy - side * s.radius * std::cos(rad1);
                step = s.radius * std::fabs(s.angle / parts) * std::numbers::pi / 180;
            }
            pieces.push_back({at, to, length + step / 2});
            length += step;
            at = to;
        }
    }
    return pieces;
}

// The end of the path when the two stretches that close it (heading 180° and -90°) are empty.
Point pathEnd(const std::vector<Segment>& path) {
    double length = 0;
    const std::vector<Piece> pieces = walk(path, length);
    return pieces.back().to;
}

using Quad = std::array<std::array<double, 2>, 4>;

// Corners 0-1 along the right edge, 2-3 back along the left, each reaching into the next piece.
Quad quadOf(const Piece& piece, double half) {
    const auto corner = [&](const Point& p, double side, double reach) {
        const double rad = p.h * std::numbers::pi / 180;
        return std::array<double, 2>{p.x + reach * std::cos(rad) + side * half * std::sin(rad),
                                     p.y + reach * std::sin(rad) - side * half * std::cos(rad)};
    };
    return {corner(piece.from, 1, -kOverlap), corner(piece.to, 1, kOverlap),
            corner(piece.to, -1, kOverlap), corner(piece.from, -1, -kOverlap)};
}

double segmentDistance(const std::array<double, 2>& a, const std::array<double, 2>& b,
                       const std::array<double, 2>& c, const std::array<double, 2>& d) {
    const auto pointToSegment = [](const std::array<double, 2>& p, const std::array<double, 2>& s,
                                   const std::array<double, 2>& e) {
        const double dx = e[0] - s[0], dy = e[1] - s[1];
        const double len = dx * dx + dy * dy;
        const double t =
            len > 0 ? std::clamp(((p[0] - s[0]) * dx + (p[1] - s[1]) * dy) / len, 0.0, 1.0) : 0;
        return std::hypot(p[0] - s[0] - t * dx, p[1] - s[1] - t * dy);
    };
    const auto cross = [](const std::array<double, 2>& o, const std::array<double, 2>& p,
                          const std::array<double, 2>& q) {
        return (p[0] - o[0]) * (q[1] - o[1]) - (p[1] - o[1]) * (q[0] - o[0]);
    };
    if (cross(a, b, c) * cross(a, b, d) < 0 && cross(c, d, a) * cross(c, d, b) < 0)
        return 0; // the edges cross
    return std::min({pointToSegment(a, c, d), pointToSegment(b, c, d), pointToSegment(c, a, b),
                     pointToSegment(d, a, b)});
}

bool boxesMeet(const Quad& a, const Quad& b) {
    for (int axis = 0; axis < 2; ++axis) {
        const auto [a0, a1] = std::minmax({a[0][axis], a[1][axis], a[2][axis], a[3][axis]});
        const auto [b0, b1] = std::minmax({b[0][axis], b[1][axis], b[2][axis], b[3][axis]});
        if (a1 < b0 || b1 < a0)
            return false;
    }
    return true;
}

// Two stretches of road far apart along the lap keep a gap between them.
bool roadsKeepApart(const std::vector<Piece>& pieces, double lap, double width) {
    std::vector<Quad> quads;
    for (const Piece& piece : pieces)
        quads.push_back(quadOf(piece, width / 2 + kGap / 2));
    for (std::size_t i = 0; i < pieces.size(); ++i)
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            const double apart = std::fabs(pieces[i].along - pieces[j].along);
            if (std::min(apart, lap - apart) < 30 + 2 * width || !boxesMeet(quads[i], quads[j]))
                continue;
            for (int e = 0; e < 4; ++e)
                for (int f = 0; f < 4; ++f)
                    if (segmentDistance(quads[i][e], quads[i][(e + 1) % 4], quads[j][f],
                                        quads[j][(f + 1) % 4]) == 0)
                        return false;
        }
    return true;
}

// Bends that leave the heading as it was: a chicane, a run of S-bends, a pair of hairpins.
void addFeature(std::vector<Segment>& path, CourseKind kind, Random& random, double width) {
    const double tight = width / 2 + kGap;
    switch (kind) {
    case CourseKind::kChicane:
    case CourseKind::kNarrow: {
        const double angle = random.uniform(20, 50) * (random.chance(0.5) ? 1 : -1);
        const double radius = random.uniform(tight + 4, 40);
        path.insert(path.end(), {{0, angle, radius},
                                 {0, -2 * angle, radius},
                                 {0, angle, radius},
                                 {random.uniform(20, 60), 0, 0}});
        break;
    }
    case CourseKind::kSBends: {
        const double radius = random.uniform(tight + 6, 50);
        const double angle = random.uniform(30, 70);
        path.insert(path.end(), {{0, angle, radius},
                                 {0, -2 * angle, radius},
                                 {0, 2 * angle, radius},
                                 {0, -angle, radius},
                                 {random.uniform(20, 50), 0, 0}});
        break;
    }
    case CourseKind::kHairpins: {
        const double radius = random.uniform(tight + 1, tight + 12);
        path.insert(path.end(), {{0, 180, radius},
                                 {random.uniform(20, 50), 0, 0},
                                 {0, -180, radius},
                                 {random.uniform(20, 40), 0, 0}});
        break;
    }
    default:
        path.push_back({random.uniform(20, 80), 0, 0});
        break;
    }
}

// The path of one attempt: a rounded rectangle with the kind's bends in its first two sides; the
// third and fourth sides (indices returned) are left empty for closing it.
std::vector<Segment> layout(CourseKind kind, Random& random, double width, std::size_t& top,
                            std::size_t& left) {
    const bool longStraight = kind == CourseKind::kLongStraight;
    const double corner = longStraight ? random.uniform(30, 70)
                          : kind == CourseKind::kRing && random.chance(0.5)
                              ? width / 2 + random.uniform(1, 4) // sharp, nearly square corners
                              : random.uniform(width / 2 + 6, 45);
    std::vector<Segment> path{
        {longStraight ? random.uniform(250, 450) : random.uniform(30, 120), 0, 0}};
    if (!longStraight && kind != CourseKind::kRing)
        addFeature(path, kind, random, width);
    path.push_back({0, 90, corner});
    path.push_back({random.uniform(20, 80), 0, 0});
    if (kind == CourseKind::kHairpins || kind == CourseKind::kSBends || random.chance(0.3))
        addFeature(path, kind == CourseKind::kRing ? CourseKind::kLongStraight : kind, random,
                   width);
    path.push_back({0, 90, corner});
    top = path.size();
    path.push_back({0, 0, 0});
    path.push_back({0, 90, corner});
    left = path.size();
    path.push_back({0, 0, 0});
    path.push_back({0, 90, corner});
    path.push_back({20, 0, 0}); // the last 20 m run straight into the start, through the gate
    return path;
}

// Ten road conditions at growing distances: grades of up to 6% either way on surfaces from
// asphalt to fresh gravel, or the defaults (level asphalt).
RoadConditions conditionsFor(bool graded, Random& random) {
    RoadConditions road;
    if (!graded)
        return road;
    static constexpr std::array<double, 4> kRolling = {0.015, 0.03, 0.08, 0.13};
    static constexpr std::array<int, 4> kSurface = {5, 4, 3, 2};
    double start = 0;
    for (int i = 0; i < RoadConditions::kCount; ++i) {
        const int surface = random.chance(0.6) ? 0 : static_cast<int>(random.uniform(1, 4));
        if (i > 0) {
            start += random.uniform(80, 400);
            road.setStart(start, i);
        }
        road.setSurface(kSurface[surface], i);
        road.setRolling(kRolling[surface], i);
        road.setGradePercent(random.uniform(-6, 6), i);
    }
    return road;
}

std::string courseText(const GeneratedCourse& course, const std::vector<Piece>& pieces) {
    std::string text = "[" + course.name + "]\ncomment = " + courseKindName(course.kind) +
                       (course.graded ? ", graded" : ", level") + "\n#road\n";
    char line[96];
    const double half = course.roadWidth / 2;
    std::vector<Quad> quads;
    for (const Piece& piece : pieces)
        quads.push_back(quadOf(piece, half));
    quads.push_back({{{-1, -half}, {-0.5, -half}, {-0.5, half}, {-1, half}}}); // the start line
    for (std::size_t n = 0; n < quads.size(); ++n) {
        for (int v = 0; v < 4; ++v) {
            std::snprintf(line, sizeof line, "p%02zu%d=%.3f %.3f 0\n", n, v, quads[n][v][0],
                          quads[n][v][1]);
            text += line;
        }
        std::snprintf(line, sizeof line, "t%02zu=%d\n", n, n + 1 == quads.size() ? 1 : 3);
        text += line;
    }
    std::snprintf(line, sizeof line, "gd=1 0 0\ngl0=-1 %.3f 0\ngl1=-1 %.3f 0\n", -half, half);
    return text + line;
}

} // namespace

const char* courseKindName(CourseKind kind) {
    static constexpr std::array<const char*, kCourseKinds> kNames = {
        "ring", "hairpins", "chicane", "S-bends", "long straight", "narrow road"};
    const int index = static_cast<int>(kind);
    return index >= 0 && index < kCourseKinds ? kNames[index] : "";
}

GeneratedCourse generateCourse(std::uint32_t seed) {
    GeneratedCourse course;
    course.kind = static_cast<CourseKind>(seed % kCourseKinds);
    course.graded = (seed / kCourseKinds) % 2 == 1;
    course.name = "Generated " + std::to_string(seed);
    Random random(seed);
    std::vector<Piece> pieces;
    for (int attempt = 0;; ++attempt) {
        course.roadWidth =
            course.kind == CourseKind::kNarrow ? random.uniform(5, 6.5) : random.uniform(8, 14);
        std::size_t top = 0, left = 0;
        std::vector<Segment> path = layout(course.kind, random, course.roadWidth, top, left);
        const Point open = pathEnd(path);
        path[top].length = open.x;  // heading 180°: closes the gap along x
        path[left].length = open.y; // heading -90°: along y
        if ((open.x < 20 || open.y < 20) && attempt < 1000)
            continue;
        pieces = walk(path, course.lapLength);
        if (static_cast<int>(pieces.size()) <= kMaxPieces &&
            (roadsKeepApart(pieces, course.lapLength, course.roadWidth) || attempt > 200))
            break;
    }
    course.pieces = static_cast<int>(pieces.size());
    for (const Piece& piece : pieces)
        course.middle.push_back({static_cast<float>(piece.from.x * 10),
                                 static_cast<float>(piece.from.y * 10),
                                 static_cast<float>(piece.from.h)});
    course.middle.push_back({static_cast<float>(pieces.back().to.x * 10),
                             static_cast<float>(pieces.back().to.y * 10),
                             static_cast<float>(pieces.back().to.h)});
    course.conditions = conditionsFor(course.graded, random);
    course.text = courseText(course, pieces);
    return course;
}

} // namespace velnor
