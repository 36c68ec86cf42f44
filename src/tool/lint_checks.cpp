#include "tool/lint_checks.h"

#include "platform/data_line.h"
#include "platform/fixed_text.h"
#include "platform/number_text.h"

#include <algorithm>
#include <cmath>

namespace velnor::lint {

int countNumbers(std::string_view value) {
    NumberScanner scanner(value);
    double number = 0;
    int count = 0;
    while (scanner.nextDouble(number))
        ++count;
    return count;
}

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

} // namespace velnor::lint
