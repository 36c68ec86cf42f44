#include "platform/data_line.h"
#include "platform/number_text.h"
#include "race/lap_counter.h"
#include "tool/lint_checks.h"

#include <algorithm>

namespace velnor::lint {

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

} // namespace velnor::lint
