#pragma once

#include "platform/line_reader.h"
#include "tool/lint.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the checks of every kind of file share. Each kind has its own file (lint_car.cpp,
// lint_course.cpp, lint_model.cpp, lint_ghost.cpp, lint_records.cpp); lint.cpp picks one by the
// file's extension.
namespace velnor::lint {

using Messages = std::vector<LintMessage>;

// Each kind's check: the messages for the file at `path`; `ok` false when it cannot be read.
Messages lintCarFile(const std::string& path, bool& ok);
Messages lintCourseFile(const std::string& path, bool& ok);
Messages lintModelFile(const std::string& path, bool& ok);
Messages lintGhostFile(const std::string& path, bool& ok);
Messages lintRecordsFile(const std::string& path, bool& ok);

// How many numbers a value holds, as formatted scanning reads them.
int countNumbers(std::string_view value);

// The `needed` numbers of a record's value as the course and model readers take them: too few
// (the missing ones read as 0); a word such as "nan" or "inf", where reading stops; a number
// beyond the floats, as written or once multiplied by `scale` into world units (the numbers from
// `scaledFrom` on), which reads as 0.
void checkNumbers(int number, std::string_view value, int needed, float scale, int scaledFrom,
                  Messages& messages);

// Names of sections that hold the name of an earlier one in the same file: loading the earlier
// one reads on into them. `headers` are (line, name) in file order.
void checkContainment(const std::vector<std::pair<int, std::string>>& headers,
                      const std::string& kind, Messages& messages);

// A section header's name: cut at `limit` bytes, or running to the end of the line.
void checkHeaderName(int number, std::string_view line, std::size_t limit, Messages& messages);

// The lines of a file with the complaints every data file shares: long lines and NUL bytes.
// `check(number, text)` sees each line, numbered from 1. False when the file cannot be read.
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

} // namespace velnor::lint
