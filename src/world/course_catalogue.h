#pragma once

#include "world/catalogue_entry.h"
#include "world/course_world.h"
#include "world/start_finish_gate.h"

#include <span>
#include <string>

namespace velnor {

// The courses stored in course files (extension "rod") anywhere below the game directory, listed
// once at start-up in the order found, and the load buffer that one chosen course is parsed into.
// The records of the listed courses are the race's (`RecordBook`), kept in catalogue order.
//
// A course file holds courses under header lines "[name]", each with an optional
// "comment = text" line and two sections opened by lines holding "#road" and "#build". A course
// runs to the next header that does not hold its name: so a course "Oval" followed by "Oval 2"
// takes in the records of "Oval 2" as well, which stored courses rely on.
class CourseCatalogue {
public:
    static constexpr int kCapacity = 100;
    static constexpr std::size_t kMaxPath = 247;

    // `root` is the game directory; entry paths are relative to it.
    explicit CourseCatalogue(std::string root = ".");

    // Lists every course file below the game directory.
    void scanCourses();
    // Lists every course of one file; -1 if it cannot be opened. Courses past the capacity are
    // not listed, and a path longer than 247 bytes is refused.
    int listCourseFile(const std::string& path);
    // Parses course `index` into `loadedWorld` and `loadedGate`. -1 if there is no such course,
    // its file cannot be opened or no longer holds it (the world is then left reset). The gate is
    // not reset: a course without gate lines keeps the gate loaded before it.
    int loadCourse(int index);
    // The index of the first course named `name`, -1 if none.
    int indexOfCourse(std::string_view name) const;

    int lastIndex() const { return lastIndex_; }
    int count() const { return lastIndex_ + 1; }
    const CatalogueEntry& entry(int index) const { return entries_[index]; }
    std::span<const CatalogueEntry> entries() const { return {entries_, std::size_t(count())}; }
    const CourseWorld& loadedWorld() const { return loadedWorld_; }
    const StartFinishGate& loadedGate() const { return loadedGate_; }
    const std::string& root() const { return root_; }

private:
    std::string root_;
    CatalogueEntry entries_[kCapacity];
    std::int32_t lastIndex_ = -1;
    // The course a "comment" line describes: the one listed last, -1 after a course that did
    // not fit in the list.
    int commentTarget_ = -1;
    CourseWorld loadedWorld_;
    StartFinishGate loadedGate_;
};

} // namespace velnor
