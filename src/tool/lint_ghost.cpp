#include "platform/data_line.h"
#include "platform/number_text.h"
#include "race/ghost_log.h"
#include "tool/lint_checks.h"

namespace velnor::lint {
namespace {

// The car name is one word of up to 31 bytes.
void checkGhostCarName(int number, std::string_view line, Messages& messages) {
    std::string_view value;
    if (!valueAfterEquals(line, 0, value))
        return;
    const std::size_t start = value.find_first_not_of(" \t");
    const std::string_view rest =
        start == std::string_view::npos ? std::string_view() : value.substr(start);
    const std::string_view word = rest.substr(0, rest.find_first_of(" \t"));
    if (word.size() < rest.size())
        messages.push_back(
            {number, "the car name is read up to its first blank: \"" + std::string(word) + "\""});
    if (word.size() > 31)
        messages.push_back({number, "the car name is longer than 31 bytes: it is cut"});
}

// A ghost's rows after its header: key event rows (14 whole numbers), snapshot rows (six or more
// numbers with a decimal point), then the finish time, and nothing after it.
class GhostRows {
public:
    explicit GhostRows(Messages& messages) : messages_(messages) {}

    void startSection() {
        state_ = kEvents;
        rows_ = 0;
    }
    bool inEvents() const { return state_ == kEvents; }
    void line(int number, std::string_view line);

private:
    enum State { kOther, kEvents, kValues, kFinish, kDone };

    Messages& messages_;
    State state_ = kOther;
    int rows_ = 0; // rows of the current kind so far
};

void GhostRows::line(int number, std::string_view line) {
    const int count = countNumbers(line);
    if (state_ == kEvents) {
        NumberScanner scanner(line);
        int ints = 0;
        int value = 0;
        while (ints < 14 && scanner.nextInt(value))
            ++ints;
        if (ints == 14) {
            if (++rows_ == GhostLog::kCapacity + 1)
                messages_.push_back({number, "more than 1024 event rows: the rest are not read"});
            return;
        }
        state_ = kValues;
        rows_ = 0;
    }
    if (state_ == kValues) {
        if (count >= 6 && line.find('.') != std::string_view::npos) {
            if (++rows_ == GhostLog::kCapacity + 1)
                messages_.push_back({number, "more than 1024 snapshot rows: the rest are not "
                                             "read"});
            return;
        }
        state_ = kFinish;
    }
    if (state_ == kFinish) {
        state_ = count >= 1 ? kDone : kFinish;
        if (count == 0)
            messages_.push_back({number, "expected the finish time: ignored"});
        return;
    }
    if (state_ == kDone)
        messages_.push_back({number, "after the finish time: ignored"});
}

} // namespace

Messages lintGhostFile(const std::string& path, bool& ok) {
    Messages messages;
    GhostRows rows(messages);
    ok = eachLine(path, messages, [&](int number, std::string_view line) {
        if (isCommentLine(line))
            return;
        if (isHeaderLine(line)) {
            checkHeaderName(number, line, 31, messages);
            rows.startSection();
            return;
        }
        if (rows.inEvents() && line.substr(0, 7) == "carname")
            checkGhostCarName(number, line, messages);
        else
            rows.line(number, line);
    });
    return messages;
}

} // namespace velnor::lint
