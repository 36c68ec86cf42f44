#include "race/input_script.h"

#include "platform/key_state.h"
#include "platform/number_text.h"

#include <algorithm>
#include <climits>

namespace velnor {
namespace {

struct KeyName {
    std::string_view name;
    int virtualKey;
};
constexpr KeyName kKeys[] = {{"X", vk::kX},         {"Z", vk::kZ},   {"LEFT", vk::kLeft},
                             {"RIGHT", vk::kRight}, {"UP", vk::kUp}, {"DOWN", vk::kDown}};

// The next blank-separated word of `rest`, removed from it.
std::string_view nextWord(std::string_view& rest) {
    const std::size_t start = rest.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest = rest.substr(start);
    const std::size_t end = std::min(rest.find_first_of(" \t\r"), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest = rest.substr(end);
    return word;
}

// The reason `line` is not an event, or empty when `event` was read from it.
std::string readEvent(std::string_view line, InputEvent& event) {
    const std::string_view time = nextWord(line);
    const std::string_view key = nextWord(line);
    const std::string_view state = nextWord(line);
    if (time.empty())
        return {};
    if (key.empty() || state.empty())
        return "expected TIME KEY STATE";
    if (!nextWord(line).empty())
        return "unexpected text after the state";
    NumberScanner scanner(time);
    int ms = 0;
    if (!scanner.nextInt(ms) || !scanner.rest().empty() || ms == INT_MAX || ms == INT_MIN)
        return "the time \"" + std::string(time) + "\" is not a whole number of milliseconds";
    const auto found = std::find_if(std::begin(kKeys), std::end(kKeys),
                                    [&](const KeyName& k) { return k.name == key; });
    if (found == std::end(kKeys))
        return "unknown key \"" + std::string(key) + "\" (X Z LEFT RIGHT UP DOWN)";
    if (state != "down" && state != "up")
        return "the state \"" + std::string(state) + "\" is neither down nor up";
    event = {ms, found->virtualKey, state == "down"};
    return {};
}

} // namespace

InputScript parseInputScript(std::string_view text) {
    InputScript script;
    int number = 0;
    while (!text.empty() || number == 0) {
        ++number;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text = end < text.size() ? text.substr(end + 1) : std::string_view();
        line = line.substr(0, std::min(line.find('#'), line.size()));
        InputEvent event{};
        const std::string problem = readEvent(line, event);
        if (!problem.empty()) {
            script.error = std::to_string(number) + ": " + problem;
            script.events.clear();
            return script;
        }
        if (line.find_first_not_of(" \t\r") != std::string_view::npos)
            script.events.push_back(event);
        if (text.empty())
            break;
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.time < b.time; });
    return script;
}

} // namespace velnor
