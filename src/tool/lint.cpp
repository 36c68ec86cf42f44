#include "tool/lint.h"

#include "platform/data_line.h"
#include "platform/fixed_text.h"
#include "platform/line_reader.h"
#include "platform/number_text.h"
#include "race/ghost_log.h"
#include "race/lap_counter.h"
#include "sim/car_spec.h"
#include "world/course_world.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace velnor {
namespace {

using Messages = std::vector<LintMessage>;

std::string extensionOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return lowerCase(path.substr(dot + 1));
}

// How many numbers a value holds, as formatted scanning reads them.
int countNumbers(std::string_view value) {
    NumberScanner scanner(value);
    double number = 0;
    int count = 0;
    while (scanner.nextDouble(number))
        ++count;
    return count;
}

// The `needed` numbers of a record's value as the course and model readers take them: too few
// (the missing ones read as 0); a word such as "nan" or "inf", where reading stops; a number
// beyond the floats, as written or once multiplied by `scale` into world units (the numbers from
// `scaledFrom` on), which reads as 0.
void checkNumbers(int number, std::string_view value, int needed, float scale, int scaledFrom,
                  Messages& messages) {
    NumberScanner scanner(value);
    int read = 0;
    for (; read < needed; ++read) {
        const std::string_view before = scanner.rest();
        float v = 0;
        if (!scanner.nextFloat(v))
            break;
        const float world = read >= scaledFrom ? v * scale : v;
        if (std::isfinite(world))
            continue;
        const std::string_view written =
            trimLeadingSpaces(before.substr(0, before.size() - scanner.rest().size()));
        messages.push_back({number, std::string(written) +
                                        (std::isfinite(v) ? " is too large once in world units"
                                                          : " is too large a number") +
                                        ": read as 0"});
    }
    if (read == needed)
        return;
    std::string_view rest = scanner.rest();
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(" \t")));
    const std::string_view word = rest.substr(0, rest.find_first_of(" \t"));
    const std::string_view bare =
        word.substr(!word.empty() && (word[0] == '+' || word[0] == '-') ? 1 : 0);
    if (startsWithIgnoringCase(bare, "nan") || startsWithIgnoringCase(bare, "inf"))
        messages.push_back(
            {number, std::string(word) + " is no number: it and the numbers after it read as 0"});
    else
        messages.push_back({number, "fewer than " + std::to_string(needed) +
                                        " numbers: the missing ones read as 0"});
}

// The lines of a file with the complaints every data file shares: long lines and NUL bytes.
template <typename Check> bool eachLine(const std::string& path, Messages& messages, Check check) {
    LineReader reader;
    if (!reader.open(path))
        return false;
    TextLine line;
    int number = 0;
    while (reader.next(line)) {
        ++number;
        if (line.truncated)
            messages.push_back(
                {number, "longer than 1022 bytes: the rest of the line is not read"});
        if (line.hasNul)
            messages.push_back({number, "a NUL byte ends the line: what follows it is not read"});
        check(number, line.text);
    }
    return true;
}

// Names of sections that hold the name of an earlier one in the same file: loading the earlier
// one reads on into them.
void checkContainment(const std::vector<std::pair<int, std::string>>& headers,
                      const std::string& kind, Messages& messages) {
    for (std::size_t i = 0; i < headers.size(); ++i)
        for (std::size_t j = i + 1; j < headers.size(); ++j)
            if (headers[j].second != headers[i].second &&
                headers[j].second.find(headers[i].second) != std::string::npos)
                messages.push_back({headers[j].first, "this header holds the name of the " + kind +
                                                          " \"" + headers[i].second + "\" (line " +
                                                          std::to_string(headers[i].first) +
                                                          "): loading that " + kind +
                                                          " reads on into this one"});
}

void checkHeaderName(int number, std::string_view line, std::size_t limit, Messages& messages) {
    const std::string_view name = headerName(line);
    if (name.size() > limit)
        messages.push_back(
            {number, "the name is longer than " + std::to_string(limit) +
                         " bytes: it is cut to \"" +
                         std::string(name.substr(0, shiftJisPrefixLength(name, limit))) + "\""});
    if (!line.empty() && line.back() != ']')
        messages.push_back(
            {number, "the name runs to the line's last character: \"" + std::string(name) + "\""});
}

// ---- car files

struct CarKey {
    const char* key;
    bool positive; // the setter wants more than 0 (else at least 0)
};

void checkCarValue(int number, const std::string& key, std::string_view value, bool positive,
                   double factor, Messages& messages) {
    if (countNumbers(value) == 0) {
        messages.push_back({number, key + ": no number, read as 0" +
                                        (positive ? ", which is refused" : std::string())});
        return;
    }
    const double v = scanDouble(value) * factor;
    if (!std::isfinite(v) || (positive ? v <= 0 : v < 0))
        messages.push_back(
            {number,
             key + ": " +
                 std::string(trimTrailingSpaces(value.substr(value.find_first_not_of(' ')))) +
                 " is refused (it must be " + (positive ? "above 0" : "0 or more") +
                 "); the value before it stays"});
}

Messages lintCarFile(const std::string& path, bool& ok) {
    Messages messages;
    std::vector<std::pair<int, std::string>> headers;
    bool inCar = false;
    static const CarKey kNumbers[] = {
        {"width", true},        {"height", true},      {"wheel", true}, {"weight", true},
        {"displacement", true}, {"compression", true}, {"power", true}, {"torque", true},
        {"slow", false},        {"air", false}};
    ok = eachLine(path, messages, [&](int number, std::string_view raw) {
        const std::string_view line = trimTrailingSpaces(raw);
        if (isCommentLine(line))
            return;
        if (isHeaderLine(line)) {
            if (line[0] != '[')
                messages.push_back({number, "holds both '[' and ']': read as the header of a car "
                                            "named \"" +
                                                std::string(headerName(line)) + "\""});
            checkHeaderName(number, line, 31, messages);
            headers.emplace_back(number, std::string(headerName(line)));
            inCar = true;
            return;
        }
        if (!inCar) {
            messages.push_back({number, "before the first car: ignored"});
            return;
        }
        if (line[0] == ' ') {
            messages.push_back({number, "begins with a space: not read as a key"});
            return;
        }
        std::string_view value;
        for (const CarKey& k : kNumbers) {
            if (!startsWithIgnoringCase(line, k.key))
                continue;
            if (!valueAfterEquals(line, std::string_view(k.key).size(), value))
                messages.push_back({number, std::string(k.key) + " without '=': ignored"});
            else
                checkCarValue(number, k.key, value, k.positive, 1, messages);
            return;
        }
        if (startsWithIgnoringCase(line, "gear")) {
            if (!valueAfterEquals(line, 5, value)) {
                messages.push_back({number, "gear without '=': ignored"});
                return;
            }
            const char n = line.size() > 4 ? line[4] : '\0';
            if (n < '1' || n > '6')
                messages.push_back({number, "no such gear (gear1 to gear6): ignored"});
            else
                checkCarValue(number, std::string("gear") + n, value, false, 1, messages);
            return;
        }
        if (startsWithIgnoringCase(line, "tire")) {
            if (!valueAfterEquals(line, 4, value)) {
                messages.push_back({number, "tire without '=': ignored"});
                return;
            }
            CarSpec probe;
            probe.setTire(1234);
            const std::size_t start = value.find_first_not_of(" \t");
            const std::string_view word =
                start == std::string_view::npos
                    ? std::string_view()
                    : value.substr(start, value.find_first_of(" \t", start) - start);
            probe.setTireFromText(word);
            if (probe.tire() == 1234)
                messages.push_back(
                    {number, word.find('/') != std::string_view::npos
                                 ? "tire: a size designation without R is refused"
                                 : "tire: the diameter must be above 0 metres; refused"});
            return;
        }
        if (startsWithIgnoringCase(line, "type")) {
            if (!valueAfterEquals(line, 4, value)) {
                messages.push_back({number, "type without '=': ignored"});
                return;
            }
            const double type = scanDouble(value);
            if (type != std::trunc(type))
                messages.push_back({number, "type: cut to the whole number " +
                                                std::to_string(static_cast<long long>(type))});
            if (type < 0 || type >= kBodyTypeCount)
                messages.push_back({number, "type: no body shape for it (0 to 6): the car is "
                                            "not drawn"});
            return;
        }
        if (startsWithIgnoringCase(line, "color")) {
            if (!valueAfterEquals(line, 5, value)) {
                messages.push_back({number, "color without '=': ignored"});
                return;
            }
            NumberScanner scanner(value);
            int channel = 0;
            int read = 0;
            bool clamped = false;
            while (read < 3 && scanner.nextInt(channel)) {
                clamped = clamped || channel < 0 || channel > 255;
                ++read;
            }
            if (read < 3)
                messages.push_back({number, "color: fewer than three numbers; the missing ones "
                                            "read as 0"});
            if (clamped)
                messages.push_back({number, "color: a value outside 0-255 is clamped"});
            return;
        }
        if (startsWithIgnoringCase(line, "comment")) {
            if (valueAfterEquals(line, 7, value)) {
                if (trimLeadingSpaces(value).size() > 63)
                    messages.push_back({number, "comment longer than 63 bytes: it is cut"});
            }
            return;
        }
        messages.push_back({number, "unknown key: ignored"});
    });
    checkContainment(headers, "car", messages);
    return messages;
}

// ---- course files

Messages lintCourseFile(const std::string& path, bool& ok) {
    Messages messages;
    std::vector<std::pair<int, std::string>> headers;
    enum State { kNone, kCourse, kRoad, kBuild };
    State state = kNone;
    std::set<std::pair<int, int>> placedCylinders; // (block, part) given a position
    // Lengths are metres in the file: world units are 10 to the metre.
    constexpr float kMetres = 10;
    const auto missing = [&](int number, std::string_view line, std::size_t from, int needed,
                             float scale = 1, int scaledFrom = 0) {
        std::string_view value;
        if (!valueAfterEquals(line, from, value)) {
            messages.push_back({number, "no '=': ignored"});
            return true;
        }
        checkNumbers(number, value, needed, scale, scaledFrom, messages);
        return false;
    };
    const auto digit = [](std::string_view line, std::size_t i) {
        return i < line.size() ? line[i] - '0' : -48;
    };
    const auto twoDigits = [&](std::string_view line, std::size_t i) {
        return 10 * digit(line, i) + digit(line, i + 1);
    };
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
            if (valueAfterEquals(line, 7, value)) {
                if (trimLeadingSpaces(value).size() > 255)
                    messages.push_back({number, "comment longer than 255 bytes: it is cut"});
            }
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
        if (state == kNone || state == kCourse) {
            messages.push_back({number, state == kNone ? "before the first course: ignored"
                                                       : "outside #road and #build: ignored"});
            return;
        }
        if (state == kRoad) {
            const int piece = twoDigits(line, 1);
            switch (line[0]) {
            case 'p':
                if (piece < 0 || piece >= CourseWorld::kRoadPieces)
                    messages.push_back(
                        {number, "no road piece " + std::to_string(piece) + " (0-49): ignored"});
                else if (digit(line, 3) < 0 || digit(line, 3) > 3)
                    messages.push_back({number, "the corner is the digit after the piece number "
                                                "(0-3): ignored"});
                else
                    missing(number, line, 2, 3, kMetres);
                return;
            case 'c':
            case 't':
                if (piece < 0 || piece >= CourseWorld::kRoadPieces) {
                    messages.push_back(
                        {number, "no road piece " + std::to_string(piece) + " (0-49): ignored"});
                    return;
                }
                if (missing(number, line, 2, line[0] == 'c' ? 4 : 1))
                    return;
                if (line[0] == 't') {
                    std::array<float, 1> type;
                    numbersAfterEquals(line, 2, type);
                    const int k = truncateToInt(type[0]);
                    if (k < 0 || k >= 5)
                        messages.push_back({number, "no road type " + std::to_string(k) +
                                                        " (0-4): it is stored as 3"});
                }
                return;
            case 'g':
                if (line.size() > 1 && line[1] == 'd') {
                    if (missing(number, line, 0, 3))
                        return;
                    std::string_view value;
                    valueAfterEquals(line, 0, value);
                    std::array<float, 3> d;
                    scanNumbers(value, d);
                    const bool axis = std::fabs(d[0]) == 1 || std::fabs(d[1]) == 1;
                    if (!axis)
                        messages.push_back({number, "the gate's direction is no axis ((+-1, 0) or "
                                                    "(0, +-1)): no lap is ever counted"});
                } else if (line.size() > 1 && line[1] == 'l' && digit(line, 2) >= 0 &&
                           digit(line, 2) <= 1) {
                    missing(number, line, 2, 3, kMetres);
                } else {
                    messages.push_back({number, "not a gate record (gd=, gl0=, gl1=): ignored"});
                }
                return;
            default:
                messages.push_back({number, "not a road record (p, c, t, g): ignored"});
                return;
            }
        }
        // The building section.
        const char kind = line[0];
        if (kind == 'y' || kind == 'n' || kind == 'm') {
            const int block = twoDigits(line, 1);
            if (block < 0 || block >= CourseWorld::kBlocks) {
                messages.push_back(
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
                    messages.push_back({number, "a count below 1 is taken as 1"});
                const int columns = std::max(truncateToInt(v[0]), 1);
                const int rows = std::max(truncateToInt(v[1]), 1);
                BuildingBlock taken;
                taken.setCounts(columns, rows, truncateToInt(v[2]));
                if (taken.counts()[0] != columns || taken.counts()[1] != rows)
                    messages.push_back(
                        {number, "a grid of " + std::to_string(columns) + " x " +
                                     std::to_string(rows) + " cells is more than one block " +
                                     "places (" + std::to_string(BuildingBlock::kMaxCells) +
                                     "): read as " + std::to_string(taken.counts()[0]) + " x " +
                                     std::to_string(taken.counts()[1])});
            }
            if (kind == 'm' &&
                (truncateToInt(v[0]) < 0 || truncateToInt(v[0]) >= CourseWorld::kBlocks))
                messages.push_back({number, "no building block to copy to (0-9): ignored"});
            return;
        }
        if (std::string_view("pcrh").find(kind) == std::string_view::npos) {
            messages.push_back({number, "not a building record: ignored"});
            return;
        }
        const char part = line.size() > 1 ? line[1] : '\0';
        if (part != 'p' && part != 'b') {
            messages.push_back(
                {number, "the second letter must be p (pillar) or b (box): ignored"});
            return;
        }
        if ((kind == 'r' || kind == 'h') && part == 'b') {
            messages.push_back({number, "boxes have no radius or height line: ignored"});
            return;
        }
        const int block = twoDigits(line, 2);
        const int k = digit(line, 4);
        if (block < 0 || block >= CourseWorld::kBlocks || k < 0 || k >= BuildingBlock::kParts) {
            messages.push_back({number, "no such block (0-9) or part (0-3): ignored"});
            return;
        }
        if (kind == 'p' && part == 'b') {
            const std::size_t equals = line.find('=');
            if (equals == std::string_view::npos || equals < 6 || digit(line, equals - 1) < 0 ||
                digit(line, equals - 1) > 7) {
                messages.push_back(
                    {number, "the box corner is the digit before '=' (0-7): ignored"});
                return;
            }
        }
        if (kind == 'p' && part == 'p')
            placedCylinders.insert({block, k});
        if (kind == 'h' && !placedCylinders.count({block, k}))
            messages.push_back({number, "height before the pillar's position: the pp line that "
                                        "follows undoes its raise"});
        // Colours are as written; positions, radii and heights are lengths.
        missing(number, line, 1, kind == 'c' ? 4 : (kind == 'p' ? 3 : 1),
                kind == 'c' ? 1 : kMetres);
    });
    checkContainment(headers, "course", messages);
    return messages;
}

// ---- the model file

Messages lintModelFile(const std::string& path, bool& ok) {
    Messages messages;
    std::map<std::string, int> sections;
    enum Block { kNone, kHead, kBody, kTyres };
    Block block = kNone;
    ok = eachLine(path, messages, [&](int number, std::string_view raw) {
        const std::string line = lowerCase(trimTrailingSpaces(raw));
        if (isCommentLine(line))
            return;
        if (line.find("[type") != std::string::npos) {
            const auto [at, fresh] = sections.emplace(line, number);
            if (!fresh)
                messages.push_back({number, "the section " + line + " was begun at line " +
                                                std::to_string(at->second) +
                                                ": the game reads only the first"});
            else if (line.size() < 7 || line.back() != ']' || (line[5] == '0' && line.size() > 7) ||
                     line.find_first_not_of("0123456789", 5) != line.size() - 1)
                messages.push_back({number, "not a section header [typeN]: no body type reads it"});
            block = kHead;
            return;
        }
        if (block == kNone) {
            messages.push_back({number, "before the first section: ignored"});
            return;
        }
        if (line.find("#body") != std::string::npos) {
            block = kBody;
            return;
        }
        if (line.find("#tire") != std::string::npos) {
            block = kTyres;
            return;
        }
        const char letter = line[0];
        const int index = line.size() > 1 ? line[1] - '0' : -1;
        std::string_view value;
        const bool hasValue = valueAfterEquals(line, 1, value);
        const std::string known = block == kHead ? "wl" : block == kBody ? "spc" : "prw";
        if (known.find(letter) == std::string::npos) {
            messages.push_back({number, "no such record here: ignored"});
            return;
        }
        if (!hasValue) {
            messages.push_back({number, "no '=': ignored"});
            return;
        }
        int needed = 3;
        if (block == kHead || (block == kBody && letter == 's') ||
            (block == kTyres && letter != 'p'))
            needed = 1;
        if (block == kBody && letter == 'c')
            needed = 4;
        if (block == kBody && letter == 'p') {
            const int corner = line.size() > 2 ? line[2] - '0' : -1;
            if (index < 0 || index > 4 || corner < 0 || corner > 7) {
                messages.push_back({number, "no body box (0-4) or corner (0-7): ignored"});
                return;
            }
        } else if (block == kBody && letter == 'c' && (index < 0 || index > 4)) {
            messages.push_back({number, "no body box (0-4): ignored"});
            return;
        } else if (block == kTyres) {
            const int limit = letter == 'w' ? 1 : 3;
            if (index < 0 || index > limit) {
                messages.push_back({number, letter == 'w' ? "tyre widths are set by w0 and w1 "
                                                            "only: ignored"
                                                          : "no tyre (0-3): ignored"});
                return;
            }
        }
        if (block == kBody && letter == 's' && countNumbers(value) == 0) {
            messages.push_back({number, "s without a number: no panels are built"});
            return;
        }
        // Millimetres become world units at 0.01: no number that a float holds grows past it.
        checkNumbers(number, value, needed, 1, 0, messages);
    });
    return messages;
}

// ---- ghosts and records

Messages lintGhostFile(const std::string& path, bool& ok) {
    Messages messages;
    enum State { kOther, kEvents, kValues, kFinish, kDone };
    State state = kOther;
    int rows = 0;
    ok = eachLine(path, messages, [&](int number, std::string_view line) {
        if (isCommentLine(line))
            return;
        if (isHeaderLine(line)) {
            checkHeaderName(number, line, 31, messages);
            state = kEvents;
            rows = 0;
            return;
        }
        if (state == kEvents && line.substr(0, 7) == "carname") {
            std::string_view value;
            if (valueAfterEquals(line, 0, value)) {
                const std::size_t start = value.find_first_not_of(" \t");
                const std::string_view rest =
                    start == std::string_view::npos ? std::string_view() : value.substr(start);
                const std::string_view word = rest.substr(0, rest.find_first_of(" \t"));
                if (word.size() < rest.size())
                    messages.push_back({number, "the car name is read up to its first blank: \"" +
                                                    std::string(word) + "\""});
                if (word.size() > 31)
                    messages.push_back({number, "the car name is longer than 31 bytes: it is cut"});
            }
            return;
        }
        const int count = countNumbers(line);
        if (state == kEvents) {
            NumberScanner scanner(line);
            int ints = 0;
            int value = 0;
            while (ints < 14 && scanner.nextInt(value))
                ++ints;
            if (ints == 14) {
                if (++rows == GhostLog::kCapacity + 1)
                    messages.push_back(
                        {number, "more than 1024 event rows: the rest are not read"});
                return;
            }
            state = kValues;
            rows = 0;
        }
        if (state == kValues) {
            if (count >= 6 && line.find('.') != std::string_view::npos) {
                if (++rows == GhostLog::kCapacity + 1)
                    messages.push_back({number, "more than 1024 snapshot rows: the rest are not "
                                                "read"});
                return;
            }
            state = kFinish;
        }
        if (state == kFinish) {
            state = count >= 1 ? kDone : kFinish;
            if (count == 0)
                messages.push_back({number, "expected the finish time: ignored"});
            return;
        }
        if (state == kDone)
            messages.push_back({number, "after the finish time: ignored"});
    });
    return messages;
}

Messages lintRecordsFile(const std::string& path, bool& ok) {
    Messages messages;
    bool inSection = false;
    ok = eachLine(path, messages, [&](int number, std::string_view line) {
        if (isCommentLine(line))
            return;
        if (isHeaderLine(line)) {
            checkHeaderName(number, line, 31, messages);
            inSection = true;
            return;
        }
        if (line[0] < '0' || line[0] > '2') {
            messages.push_back({number, "not a place line (0 =, 1 =, 2 =): ignored"});
            return;
        }
        if (!inSection)
            messages.push_back({number, "before the first course: it goes to the first listed "
                                        "course"});
        std::string_view value;
        if (!valueAfterEquals(line, 1, value)) {
            messages.push_back({number, "no '=': ignored"});
            return;
        }
        NumberScanner scanner(value);
        std::vector<int> laps;
        int lap = 0;
        while (scanner.nextInt(lap))
            laps.push_back(lap);
        const auto zero = std::find(laps.begin(), laps.end(), 0);
        if (zero != laps.end() && zero + 1 != laps.end())
            messages.push_back({number, "the lap times after a 0 are not read"});
        else if (laps.size() > static_cast<std::size_t>(LapCounter::kMaxLaps))
            messages.push_back({number, "more than ten lap times: the rest are not read"});
        if (std::any_of(laps.begin(), laps.end(), [](int ms) { return ms < 0; }))
            messages.push_back({number, "a negative lap time: the place is written without it"});
    });
    return messages;
}

} // namespace

std::vector<LintMessage> lintFile(const std::string& path, std::string& error) {
    const std::string extension = extensionOf(path);
    bool ok = true;
    Messages messages;
    if (extension == "car")
        messages = lintCarFile(path, ok);
    else if (extension == "rod")
        messages = lintCourseFile(path, ok);
    else if (extension == "mod")
        messages = lintModelFile(path, ok);
    else if (extension == "gst")
        messages = lintGhostFile(path, ok);
    else if (extension == "rec")
        messages = lintRecordsFile(path, ok);
    else
        error = "not a car, course, model, ghost or records file (.car .rod .mod .gst .rec)";
    if (!ok)
        error = "cannot be read";
    std::stable_sort(messages.begin(), messages.end(),
                     [](const LintMessage& a, const LintMessage& b) { return a.line < b.line; });
    return messages;
}

} // namespace velnor
