#include "race/ghost_file.h"

#include "platform/atomic_file.h"
#include "platform/data_line.h"
#include "platform/directory_walk.h"
#include "platform/fixed_text.h"
#include "platform/line_reader.h"
#include "platform/number_text.h"
#include "race/ghost_log.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace velnor {
namespace {

// A byte a portable file name cannot hold.
bool isForbidden(unsigned char c) {
    return c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr;
}

// The characters of a name as forEachCharacter walks them, except that a lead byte before a byte
// below 0x40 (which no character has second: "/", ":", a control byte) makes no character: each of
// the two bytes is visited on its own, and a "/" after a stray lead byte is escaped as any other.
template <typename Visit> void forEachNameCharacter(std::string_view name, Visit visit) {
    forEachCharacter(name, [&](std::size_t i, std::size_t length) {
        if (length == 2 && static_cast<unsigned char>(name[i + 1]) < 0x40) {
            visit(i, 1);
            visit(i + 1, 1);
        } else {
            visit(i, length);
        }
    });
}

// A course name that is a file name as it stands: no forbidden byte and no leading ".".
bool standsAsFileName(std::string_view name) {
    if (!name.empty() && name[0] == '.')
        return false;
    bool fits = true;
    forEachNameCharacter(name, [&](std::size_t i, std::size_t length) {
        if (length == 1 && isForbidden(static_cast<unsigned char>(name[i])))
            fits = false;
    });
    return fits;
}

std::string ghostPath(const std::string& root, const GhostLog& log) {
    return joinPath(root, ghostFileName(log.courseName()));
}

// Whose ghost a file holds, by its section headers.
enum class Owner {
    kNobody,     // no such file, or a file without any section
    kCourse,     // it has a section named after the course
    kOther,      // its sections name other courses only
    kUnreadable, // it is there but cannot be read
};

Owner ownerOf(const std::string& path, std::string_view courseName) {
    LineReader reader;
    if (!reader.open(path)) {
        struct stat info {};
        return stat(path.c_str(), &info) != 0 && errno == ENOENT ? Owner::kNobody
                                                                 : Owner::kUnreadable;
    }
    Owner owner = Owner::kNobody;
    TextLine line;
    while (reader.next(line)) {
        if (isCommentLine(line.text) || !isHeaderLine(line.text))
            continue;
        if (headerName(line.text) == courseName)
            return Owner::kCourse;
        owner = Owner::kOther;
    }
    return owner;
}

void appendInt(std::string& out, const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

// The file name older versions gave a course's ghost: "_" for each byte a file name cannot hold
// and for a leading ".".
std::string olderGhostFileName(std::string_view name) {
    std::string file(name);
    forEachCharacter(name, [&](std::size_t i, std::size_t length) {
        if (length == 1 &&
            (isForbidden(static_cast<unsigned char>(name[i])) || (i == 0 && name[i] == '.')))
            file[i] = '_';
    });
    return file + ".gst";
}

// A "carname" line: the whole name, spaces inside it included ("Falco GT"); an empty value keeps
// the name read before.
void readCarName(std::string_view text, GhostLog& log) {
    std::string_view value;
    if (valueAfterEquals(text, 0, value)) {
        value = trimBlanks(value);
        if (!value.empty())
            log.setCarName(value);
    }
}

// An event row: time and state of channels 0-6, stored as row `row`. Only a whole row is stored
// (true): the first snapshot row reads as two numbers here (its value has a fractional part), and
// storing those would append a bogus event to the accelerator's channel.
bool readEventRow(std::string_view text, GhostLog& log, int row) {
    int numbers[2 * GhostLog::kDigitalChannels];
    NumberScanner scanner(text);
    int read = 0;
    while (read < 2 * GhostLog::kDigitalChannels && scanner.nextInt(numbers[read]))
        ++read;
    if (read != 2 * GhostLog::kDigitalChannels)
        return false;
    for (int channel = 0; channel < GhostLog::kDigitalChannels; ++channel)
        log.setEvent(channel, row, numbers[2 * channel], numbers[2 * channel + 1]);
    return true;
}

// A snapshot row: time and value of channels 0-2; again only a whole row is stored (true).
bool readSnapshotRow(std::string_view text, GhostLog& log, int row) {
    NumberScanner scanner(text);
    int times[GhostLog::kAnalogChannels];
    double values[GhostLog::kAnalogChannels];
    int channel = 0;
    while (channel < GhostLog::kAnalogChannels && scanner.nextInt(times[channel]) &&
           scanner.nextDouble(values[channel]))
        ++channel;
    if (channel != GhostLog::kAnalogChannels)
        return false;
    for (int c = 0; c < GhostLog::kAnalogChannels; ++c)
        log.setValue(c, row, times[c], values[c]);
    return true;
}

// Reads the section of `log`'s course from the ghost file at `path`; -1 if there is none.
int readGhost(const std::string& path, GhostLog& log) {
    LineReader reader;
    if (!reader.open(path))
        return -1;
    enum State { kOther, kEvents, kValues, kFinish };
    State state = kOther;
    bool found = false; // the course's section was met; nothing is stored before that
    int row = 0;        // counts the event rows, and from the first snapshot row on those
    TextLine line;
    while (reader.next(line)) {
        const std::string_view text = line.text;
        if (isCommentLine(text))
            continue;
        if (isHeaderLine(text)) {
            state = headerName(text) == std::string_view(log.courseName()) ? kEvents : kOther;
            found = found || state == kEvents;
            continue;
        }
        if (state == kEvents) {
            if (text.substr(0, 7) == "carname") {
                readCarName(text, log);
                continue;
            }
            if (readEventRow(text, log, row)) {
                ++row; // rows past the capacity are counted but not stored
                continue;
            }
            state = kValues; // the first row that is no event row starts the snapshots
            row = 0;
        }
        if (state == kValues) {
            if (readSnapshotRow(text, log, row)) {
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
    return found ? 0 : -1;
}

} // namespace

std::string ghostFileName(const char* courseName) {
    const std::string_view name = courseName;
    if (standsAsFileName(name))
        return std::string(name) + ".gst";
    std::string file;
    forEachNameCharacter(name, [&](std::size_t i, std::size_t length) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (length == 1 && (isForbidden(c) || c == '%' || (i == 0 && c == '.'))) {
            constexpr char kHex[] = "0123456789ABCDEF";
            file.append({'%', kHex[c >> 4], kHex[c & 0xF]});
        } else {
            file.append(name.substr(i, length));
        }
    });
    return file + ".gst";
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
    // Another course's ghost under the same file name stays.
    const std::string path = ghostPath(root, log);
    const Owner owner = ownerOf(path, log.courseName());
    if (owner == Owner::kOther || owner == Owner::kUnreadable)
        return -1;
    return replaceFile(path, out) ? 0 : -1;
}

int loadGhost(const std::string& root, GhostLog& log) {
    if (readGhost(ghostPath(root, log), log) == 0)
        return 0;
    // Older versions wrote "_" for each byte a file name cannot hold: such a file is the course's
    // ghost still, when its header names the course.
    const std::string older = olderGhostFileName(log.courseName());
    return older != ghostFileName(log.courseName()) ? readGhost(joinPath(root, older), log) : -1;
}

int ghostFileExists(const std::string& root, const GhostLog& log) {
    return ownerOf(ghostPath(root, log), log.courseName()) == Owner::kCourse ? 1 : 0;
}

} // namespace velnor
