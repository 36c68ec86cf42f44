#include "race/record_book.h"

#include "platform/atomic_file.h"
#include "platform/data_line.h"
#include "platform/directory_walk.h"
#include "platform/line_reader.h"
#include "platform/number_text.h"

#include <algorithm>
#include <climits>

namespace velnor {
namespace {

// The slot of the course named `name`, searching `courses` from `from` on; -1 if none.
int findCourse(std::span<const CatalogueEntry> courses, std::string_view name, int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(courses.size()); ++i)
        if (name == courses[i].name)
            return i;
    return -1;
}

// A place line "d = t1 t2 ...": up to ten single-lap times, taken up to the first 0, stored as
// cumulative times; the number taken becomes the lap count. The line replaces whatever the place
// held, so no time of an earlier line for it is left behind to be written out again.
void readPlace(std::string_view line, LapCounter& place) {
    std::string_view numbers;
    if (!valueAfterEquals(line, 1, numbers))
        return;
    place.reset();
    int values[LapCounter::kMaxLaps] = {};
    NumberScanner scanner(numbers);
    for (int& value : values)
        if (!scanner.nextInt(value))
            break;
    std::int64_t total = 0;
    int laps = 0;
    while (laps < LapCounter::kMaxLaps && values[laps] != 0) {
        total = std::clamp<std::int64_t>(total + values[laps], INT32_MIN, INT32_MAX);
        place.setTime(static_cast<std::int32_t>(total), laps);
        ++laps;
    }
    place.setLaps(laps);
}

// Every lap time of the place up to the first that is 0 or negative, up to ten: a place read
// with ten lap times holds ten although its lap count stops at nine.
void writePlace(std::string& out, int index, const LapCounter& place) {
    out += std::to_string(index);
    out += " =";
    for (int j = 0; j < LapCounter::kMaxLaps; ++j) {
        const std::int32_t ms = place.lapTime(j);
        if (ms <= 0)
            break;
        out += ' ';
        out += std::to_string(ms);
    }
    out += "\n";
}

// Appends a line kept as read, with a line end that reads back as the same line: after a line
// that ends in a carriage return of its own, "\r\n" (a bare "\n" would make that CR part of the
// line end, and "[Gone]\r", the section of no course, would come back as "[Gone]").
void keepLine(std::string& kept, std::string_view text) {
    kept.append(text).append(!text.empty() && text.back() == '\r' ? "\r\n" : "\n");
}

} // namespace

std::string recordsFilePath(const std::string& root) {
    return joinPath(root, RecordBook::kFileName);
}

void RecordBook::clear() {
    for (auto& slot : places_)
        for (LapCounter& place : slot)
            place.reset();
    unlisted_.clear();
}

int RecordBook::readRecords(const std::string& path, std::span<const CatalogueEntry> courses) {
    courses = courses.first(std::min<std::size_t>(courses.size(), kSlots));
    unlisted_.clear();
    LineReader reader;
    if (!reader.open(path))
        return -1;
    int result = 0;
    int slot = 0;          // the course the place lines belong to
    int searchFrom = 0;    // where the search for the next section's course begins
    bool unlisted = false; // inside a section whose course is not listed
    TextLine line;
    while (reader.next(line)) {
        const std::string_view text = line.text;
        if (isCommentLine(text))
            continue;
        if (isHeaderLine(text)) {
            const std::string_view name = headerName(text);
            // Two listed courses may share a name: a section goes to the first course of its name
            // after the one the previous section went to.
            int found = findCourse(courses, name, searchFrom);
            if (found < 0) {
                result = -1;
                // Out of catalogue order: the course is still listed, earlier.
                found = findCourse(courses, name, 0);
            }
            unlisted = found < 0;
            if (unlisted) {
                if (!unlisted_.empty())
                    unlisted_ += "\n"; // the empty line between two sections
                keepLine(unlisted_, text);
            } else {
                slot = found;
                searchFrom = found + 1;
            }
            continue;
        }
        if (unlisted) {
            keepLine(unlisted_, text);
            continue;
        }
        if (text[0] >= '0' && text[0] <= '2' && slot < kSlots)
            readPlace(text, places_[slot][text[0] - '0']);
    }
    return result;
}

int RecordBook::writeRecords(const std::string& path,
                             std::span<const CatalogueEntry> courses) const {
    std::string out;
    const auto writeBlock = [&](int slot) {
        out.append("[").append(courses[slot].name).append("]\n");
        for (int place = 0; place < kPlaces; ++place)
            writePlace(out, place, places_[slot][place]);
        out += "\n";
    };
    const int listed = static_cast<int>(std::min<std::size_t>(courses.size(), kSlots));
    int written = -1; // the slot of the last block written
    for (int slot = 0; slot < listed; ++slot) {
        if (places_[slot][0].lapTime(0) <= 0)
            continue;
        // A reader gives a section to the first course of its name after the previous section's:
        // a course of the same name listed before this one, since that block, gets an empty
        // block of its own, so that this block is read back into this slot.
        for (int before = written + 1; before < slot; ++before)
            if (std::string_view(courses[before].name) == courses[slot].name)
                writeBlock(before);
        writeBlock(slot);
        written = slot;
    }
    if (!unlisted_.empty())
        out.append(unlisted_).append("\n");
    return replaceFile(path, out) ? 0 : -1;
}

int updateCourseRecords(const LapCounter& raceClock, std::array<LapCounter, 3>& courseBest,
                        int selectedCourse, RecordBook& book,
                        std::span<const CatalogueEntry> courses, const std::string& path,
                        bool* written) {
    if (written)
        *written = false;
    int rank = 0;
    while (rank < RecordBook::kPlaces && !courseBest[rank].isEmpty() &&
           raceClock.totalTime() >= courseBest[rank].totalTime())
        ++rank;
    if (rank == RecordBook::kPlaces)
        return -1;
    for (int i = RecordBook::kPlaces - 1; i > rank; --i)
        courseBest[i] = courseBest[i - 1];
    courseBest[rank] = raceClock;
    if (selectedCourse >= 0 && selectedCourse < RecordBook::kSlots) {
        for (int i = 0; i < RecordBook::kPlaces; ++i)
            book.place(selectedCourse, i) = courseBest[i];
    }
    const int result = book.writeRecords(path, courses);
    if (written)
        *written = result == 0;
    return rank;
}

} // namespace velnor
