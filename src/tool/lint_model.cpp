#include "platform/data_line.h"
#include "platform/number_text.h"
#include "tool/lint_checks.h"

#include <map>

namespace velnor::lint {
namespace {

// The parts of a body type's section: its head (w, l), #body (s, p, c) and #tire (p, r, w).
enum class ModelBlock { kNone, kHead, kBody, kTyres };

// Whether the record's indexes name a body box, corner or tyre: false (with the message) when not.
bool indexesFit(int number, const std::string& line, ModelBlock block, Messages& messages) {
    const char letter = line[0];
    const int index = line.size() > 1 ? line[1] - '0' : -1;
    if (block == ModelBlock::kBody && letter == 'p') {
        const int corner = line.size() > 2 ? line[2] - '0' : -1;
        if (index < 0 || index > 4 || corner < 0 || corner > 7) {
            messages.push_back({number, "no body box (0-4) or corner (0-7): ignored"});
            return false;
        }
    } else if (block == ModelBlock::kBody && letter == 'c' && (index < 0 || index > 4)) {
        messages.push_back({number, "no body box (0-4): ignored"});
        return false;
    } else if (block == ModelBlock::kTyres) {
        const int limit = letter == 'w' ? 1 : 3;
        if (index < 0 || index > limit) {
            messages.push_back({number, letter == 'w' ? "tyre widths are set by w0 and w1 "
                                                        "only: ignored"
                                                      : "no tyre (0-3): ignored"});
            return false;
        }
    }
    return true;
}

// A record line inside a section (lower case).
void checkModelRecord(int number, const std::string& line, ModelBlock block, Messages& messages) {
    const char letter = line[0];
    std::string_view value;
    const bool hasValue = valueAfterEquals(line, 1, value);
    const std::string known = block == ModelBlock::kHead   ? "wl"
                              : block == ModelBlock::kBody ? "spc"
                                                           : "prw";
    if (known.find(letter) == std::string::npos) {
        messages.push_back({number, "no such record here: ignored"});
        return;
    }
    if (!hasValue) {
        messages.push_back({number, "no '=': ignored"});
        return;
    }
    int needed = 3;
    if (block == ModelBlock::kHead || (block == ModelBlock::kBody && letter == 's') ||
        (block == ModelBlock::kTyres && letter != 'p'))
        needed = 1;
    if (block == ModelBlock::kBody && letter == 'c')
        needed = 4;
    if (!indexesFit(number, line, block, messages))
        return;
    if (block == ModelBlock::kBody && letter == 's' && countNumbers(value) == 0) {
        messages.push_back({number, "s without a number: no panels are built"});
        return;
    }
    // Millimetres become world units at 0.01: no number that a float holds grows past it.
    checkNumbers(number, value, needed, 1, 0, messages);
}

} // namespace

Messages lintModelFile(const std::string& path, bool& ok) {
    Messages messages;
    std::map<std::string, int> sections;
    ModelBlock block = ModelBlock::kNone;
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
            block = ModelBlock::kHead;
            return;
        }
        if (block == ModelBlock::kNone)
            messages.push_back({number, "before the first section: ignored"});
        else if (line.find("#body") != std::string::npos)
            block = ModelBlock::kBody;
        else if (line.find("#tire") != std::string::npos)
            block = ModelBlock::kTyres;
        else
            checkModelRecord(number, line, block, messages);
    });
    return messages;
}

} // namespace velnor::lint
