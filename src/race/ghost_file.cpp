#include "race/ghost_file.h"

#include "platform/atomic_file.h"
#include "platform/data_line.h"
#include "platform/directory_walk.h"
#include "platform/fixed_text.h"
#include "platform/line_reader.h"
#include "platform/number_text.h"
#include "race/ghost_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace velnor {
namespace {

bool isForbidden(unsigned char c) {
    return c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr;
}

// The text without the spaces and tabs around it.
std::string_view trimBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::string ghostPath(const std::string& root, const GhostLog& log) {
    return joinPath(root, ghostFileName(log.courseName()));
}

void appendInt(std::string& out, const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

} // namespace

std::string ghostFileName(const char* courseName) {
    std::string name(courseName);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (isShiftJisLeadByte(c) && i + 1 < name.size()) {
            ++i; // the second byte of a character may be any byte, "\" included
            continue;
        }
        if (isForbidden(c) || (i == 0 && c == '.'))
            name[i] = '_';
    }
    return name + ".gst";
}

int saveGhost(const std::string& root, const GhostLog& log) {
    int rows = 0; // digital rows: the events of the busiest channel
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        rows = std::max(rows, log.eventCount(channel));
    int valueRows = rows;
    for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel)
        valueRows = std::max(valueRows, log.valueCount(channel));

    std::string out;
    out.append("[").append(log.courseName()).append("]\n");
    out.append("carname = ").append(log.carName()).append("\n\n");
    for (int r = 0; r < rows; ++r) {
        for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel) {
            appendInt(out, "%8d ", log.eventTime(channel, r));
            appendInt(out, "%2d ", log.eventState(channel, r));
        }
        out += "\n";
    }
    out += "\n";
    for (int r = 0; r < valueRows; ++r) {
        for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel) {
            appendInt(out, "%8d ", log.valueTime(channel, r));
            out.append(formatFixed(log.value(channel, r), 6, 12)).append(" ");
        }
        out += "\n";
    }
    out += "\n";
    appendInt(out, "%d\n", log.finishTime());
    return replaceFile(ghostPath(root, log), out) ? 0 : -1;
}

int loadGhost(const std::string& root, GhostLog& log) {
    LineReader reader;
    if (!reader.open(ghostPath(root, log)))
        return -1;
    enum State { kOther, kEvents, kValues, kFinish };
    State state = kOther;
    int row = 0; // counts the event rows, and from the first snapshot row on those
    TextLine line;
    while (reader.next(line)) {
        const std::string_view text = line.text;
        if (isCommentLine(text))
            continue;
        if (isHeaderLine(text)) {
            state = headerName(text) == std::string_view(log.courseName()) ? kEvents : kOther;
            continue;
        }
        if (state == kEvents) {
            if (text.substr(0, 7) == "carname") {
                // The whole name, spaces inside it included ("Falco GT"); an empty value keeps
                // the name read before.
                std::string_view value;
                if (valueAfterEquals(text, 0, value)) {
                    value = trimBlanks(value);
                    if (!value.empty())
                        log.setCarName(value);
                }
                continue;
            }
            // A row: time and state of channels 0-6. Only a whole row is stored: the first
            // snapshot row reads as two numbers here (its value has a fractional part), and
            // storing those would append a bogus event to the accelerator's channel.
            int numbers[2 * GhostLog::kDigitalChannels];
            NumberScanner scanner(text);
            int read = 0;
            while (read < 2 * GhostLog::kDigitalChannels && scanner.nextInt(numbers[read]))
                ++read;
            if (read == 2 * GhostLog::kDigitalChannels) {
                for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
                    log.setEvent(channel, row, numbers[2 * channel], numbers[2 * channel + 1]);
                ++row; // rows past the capacity are counted but not stored
                continue;
            }
            state = kValues; // the first row that is no event row starts the snapshots
            row = 0;
        }
        if (state == kValues) {
            // Time and value of channels 0-2; again only a whole row is stored.
            NumberScanner scanner(text);
            int times[GhostLog::kAnalogChannels];
            double values[GhostLog::kAnalogChannels];
            int channel = 0;
            while (channel < GhostLog::kAnalogChannels && scanner.nextInt(times[channel]) &&
                   scanner.nextDouble(values[channel]))
                ++channel;
            if (channel == GhostLog::kAnalogChannels) {
                for (int c = 0; c < GhostLog::kAnalogChannels; ++c)
                    log.setValue(c, row, times[c], values[c]);
                ++row;
                continue;
            }
            state = kFinish; // the first line that is no snapshot row is the finish time
        }
        if (state == kFinish) {
            int finish = 0;
            if (NumberScanner(text).nextInt(finish)) {
                log.setFinishTime(finish);
                state = kOther;
            }
        }
    }
    return 0;
}

int ghostFileExists(const std::string& root, const GhostLog& log) {
    LineReader reader;
    return reader.open(ghostPath(root, log)) ? 1 : 0;
}

} // namespace velnor
