#include "platform/data_line.h"
#include "platform/fixed_text.h"
#include "platform/number_text.h"
#include "sim/car_spec.h"
#include "tool/lint_checks.h"

#include <cmath>

namespace velnor::lint {
namespace {

struct CarKey {
    const char* key;
    bool positive; // the setter wants more than 0 (else at least 0)
};

// The keys whose value is one number.
constexpr CarKey kNumberKeys[] = {{"width", true},  {"height", true},       {"wheel", true},
                                  {"weight", true}, {"displacement", true}, {"compression", true},
                                  {"power", true},  {"torque", true},       {"slow", false},
                                  {"air", false}};

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

void checkGear(int number, std::string_view line, std::string_view value, Messages& messages) {
    const char n = line.size() > 4 ? line[4] : '\0';
    if (n < '1' || n > '6')
        messages.push_back({number, "no such gear (gear1 to gear6): ignored"});
    else
        checkCarValue(number, std::string("gear") + n, value, false, 1, messages);
}

void checkTire(int number, std::string_view /*line*/, std::string_view value, Messages& messages) {
    CarSpec probe;
    probe.setTire(1234);
    const std::size_t start = value.find_first_not_of(" \t");
    const std::string_view word =
        start == std::string_view::npos
            ? std::string_view()
            : value.substr(start, value.find_first_of(" \t", start) - start);
    probe.setTireFromText(word);
    if (probe.tire() == 1234)
        messages.push_back({number, word.find('/') != std::string_view::npos
                                        ? "tire: a size designation without R is refused"
                                        : "tire: the diameter must be above 0 metres; refused"});
}

void checkType(int number, std::string_view /*line*/, std::string_view value, Messages& messages) {
    const double type = scanDouble(value);
    if (type != std::trunc(type))
        messages.push_back({number, "type: cut to the whole number " +
                                        std::to_string(static_cast<long long>(type))});
    if (type < 0 || type >= kBodyTypeCount)
        messages.push_back({number, "type: no body shape for it (0 to 6): the car is "
                                    "not drawn"});
}

void checkColor(int number, std::string_view /*line*/, std::string_view value, Messages& messages) {
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
}

// A key checked by a function of its own: where its '=' is looked for from, and the check.
struct WordKey {
    const char* key;
    std::size_t valueFrom; // where to look for '='
    void (*check)(int number, std::string_view line, std::string_view value, Messages& messages);
};

const WordKey kWordKeys[] = {
    {"gear", 5, checkGear},
    {"tire", 4, checkTire},
    {"type", 4, checkType},
    {"color", 5, checkColor},
};

// A line inside a car's section.
void checkCarKey(int number, std::string_view line, Messages& messages) {
    if (line[0] == ' ') {
        messages.push_back({number, "begins with a space: not read as a key"});
        return;
    }
    std::string_view value;
    for (const CarKey& k : kNumberKeys) {
        if (!startsWithIgnoringCase(line, k.key))
            continue;
        if (!valueAfterEquals(line, std::string_view(k.key).size(), value))
            messages.push_back({number, std::string(k.key) + " without '=': ignored"});
        else
            checkCarValue(number, k.key, value, k.positive, 1, messages);
        return;
    }
    for (const WordKey& k : kWordKeys) {
        if (!startsWithIgnoringCase(line, k.key))
            continue;
        if (!valueAfterEquals(line, k.valueFrom, value))
            messages.push_back({number, std::string(k.key) + " without '=': ignored"});
        else
            k.check(number, line, value, messages);
        return;
    }
    if (startsWithIgnoringCase(line, "comment")) {
        if (valueAfterEquals(line, 7, value) && trimLeadingSpaces(value).size() > 63)
            messages.push_back({number, "comment longer than 63 bytes: it is cut"});
        return;
    }
    messages.push_back({number, "unknown key: ignored"});
}

} // namespace

Messages lintCarFile(const std::string& path, bool& ok) {
    Messages messages;
    std::vector<std::pair<int, std::string>> headers;
    bool inCar = false;
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
        if (!inCar)
            messages.push_back({number, "before the first car: ignored"});
        else
            checkCarKey(number, line, messages);
    });
    checkContainment(headers, "car", messages);
    return messages;
}

} // namespace velnor::lint
