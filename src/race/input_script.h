#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velnor {

// One key event of a scripted race: at race time `time` (ms, negative during the start hold) the
// key goes down or up.
struct InputEvent {
    std::int32_t time;
    int virtualKey;
    bool down;
};

// A script of key events, one a line: "TIME KEY STATE" with KEY one of X Z LEFT RIGHT UP DOWN and
// STATE "down" or "up"; "#" starts a comment. Events are kept in time order (events at one time in
// the order written).
struct InputScript {
    std::vector<InputEvent> events;
    std::string error; // "LINE: what is wrong" for the first bad line; empty when all is well

    bool ok() const { return error.empty(); }
};

InputScript parseInputScript(std::string_view text);

} // namespace velnor
