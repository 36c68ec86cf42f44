#include "tool/lint.h"

#include "platform/data_line.h"
#include "tool/lint_checks.h"

#include <algorithm>

namespace velnor {
namespace {

std::string extensionOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return lowerCase(path.substr(dot + 1));
}

} // namespace

std::vector<LintMessage> lintFile(const std::string& path, std::string& error) {
    const std::string extension = extensionOf(path);
    bool ok = true;
    std::vector<LintMessage> messages;
    if (extension == "car")
        messages = lint::lintCarFile(path, ok);
    else if (extension == "rod")
        messages = lint::lintCourseFile(path, ok);
    else if (extension == "mod")
        messages = lint::lintModelFile(path, ok);
    else if (extension == "gst")
        messages = lint::lintGhostFile(path, ok);
    else if (extension == "rec")
        messages = lint::lintRecordsFile(path, ok);
    else
        error = "not a car, course, model, ghost or records file (.car .rod .mod .gst .rec)";
    if (!ok)
        error = "cannot be read";
    std::stable_sort(messages.begin(), messages.end(),
                     [](const LintMessage& a, const LintMessage& b) { return a.line < b.line; });
    return messages;
}

} // namespace velnor
