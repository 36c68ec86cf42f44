#pragma once

#include <string>
#include <vector>

namespace velnor {

// One thing the game will do with a line that its author may not expect: ignore it, cut it or
// clamp it.
struct LintMessage {
    int line; // 1-based; 0 for the file as a whole
    std::string text;
};

// Checks a car (.car), course (.rod), model (.mod), ghost (.gst) or records (.rec) file, by its
// extension, and lists what the game ignores, cuts or clamps. `error` is set when the file
// cannot be read or its kind is unknown.
std::vector<LintMessage> lintFile(const std::string& path, std::string& error);

} // namespace velnor
