#include "world/course_catalogue.h"

#include "platform/data_line.h"
#include "platform/directory_walk.h"
#include "platform/fixed_text.h"
#include "platform/line_reader.h"
#include "platform/section_reader.h"
#include "world/course_file.h"

#include <algorithm>
#include <climits>

namespace velnor {

CourseCatalogue::CourseCatalogue(std::string root) : root_(std::move(root)) {}

void CourseCatalogue::scanCourses() {
    walkFiles(root_, "rod", [this](const std::string& path) { listCourseFile(path); });
}

int CourseCatalogue::listCourseFile(const std::string& path) {
    if (path.size() > kMaxPath)
        return -1;
    LineReader reader;
    if (!reader.open(joinPath(root_, path)))
        return -1;
    TextLine line;
    while (reader.next(line)) {
        const std::string_view text = line.text;
        if (isCommentLine(text))
            continue;
        if (isHeaderLine(text)) {
            if (lastIndex_ + 1 >= kCapacity) {
                commentTarget_ = -1; // the list is full: the rest are not listed
                continue;
            }
            CatalogueEntry& entry = entries_[++lastIndex_];
            entry = CatalogueEntry{};
            copyText(entry.name, headerName(text));
            copyText(entry.path, path);
            entry.offset =
                static_cast<std::int32_t>(std::min<std::int64_t>(line.offset, INT32_MAX));
            commentTarget_ = lastIndex_;
            continue;
        }
        // A comment line describes the course listed last, which may be in an earlier file.
        std::string_view comment;
        if (commentTarget_ >= 0 && courseCommentLine(text, comment))
            copyText(entries_[commentTarget_].comment, comment);
    }
    return 0;
}

int CourseCatalogue::loadCourse(int index) {
    if (index < 0 || index > lastIndex_)
        return -1;
    loadedWorld_.resetWorld();
    const CatalogueEntry& entry = entries_[index];
    SectionReader reader;
    if (!reader.open(joinPath(root_, entry.path), entry.offset))
        return -1;

    enum State { kLooking, kInCourse, kRoad, kBuild };
    State state = kLooking;
    TextLine line;
    while (reader.next(line, state != kLooking)) {
        const std::string_view text = line.text;
        if (isCommentLine(text))
            continue;
        if (isHeaderLine(text)) {
            if (text.find(entry.name) != std::string_view::npos)
                state = kInCourse;
            else if (state != kLooking)
                break;
            continue;
        }
        const bool road = text.find("#road") != std::string_view::npos;
        const bool build = text.find("#build") != std::string_view::npos;
        switch (state) {
        case kLooking:
            break;
        case kInCourse:
            state = road ? kRoad : build ? kBuild : kInCourse;
            break;
        case kRoad:
            if (build)
                state = kBuild;
            else
                applyRoadRecord(text, loadedWorld_, loadedGate_);
            break;
        case kBuild:
            if (road)
                state = kRoad;
            else
                applyBuildingRecord(text, loadedWorld_);
            break;
        }
    }
    if (state == kLooking) { // the file no longer holds the course
        loadedWorld_.resetWorld();
        return -1;
    }
    return 0;
}

int CourseCatalogue::indexOfCourse(std::string_view name) const {
    for (int i = 0; i <= lastIndex_; ++i)
        if (name == entries_[i].name)
            return i;
    return -1;
}

} // namespace velnor
