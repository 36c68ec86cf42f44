#pragma once

#include "race/lap_counter.h"
#include "world/catalogue_entry.h"

#include <array>
#include <span>
#include <string>

namespace velnor {

// The three fastest races of every course, place 0 the fastest, one slot per course catalogue slot
// in catalogue order; kept across runs in the records file "Velnor.rec":
//
//     [course name]
//     0 = 61000 59500 60250     (single-lap times in ms, fastest race)
//     1 =                       (an empty place)
//     2 =
//     (empty line)
//
// Sections come in catalogue order and each goes to the first course of its name after the
// course of the section before, so courses that share a name keep their own records (one listed
// before a course of its name that has records gets an empty block: "[name]" and three bare
// place lines). Sections of courses no longer listed are kept as they were and written back at
// the end, so a course file that went missing costs no records.
class RecordBook {
public:
    static constexpr int kSlots = 100;
    static constexpr int kPlaces = 3;
    static constexpr const char* kFileName = "Velnor.rec";

    RecordBook() { clear(); }

    void clear();

    LapCounter& place(int slot, int place) { return places_[slot][place]; }
    const LapCounter& place(int slot, int place) const { return places_[slot][place]; }

    // Reads the file for the listed courses `courses` (catalogue order). -1 if it cannot be opened
    // (the records stay empty) or a section names no course after the course of the section
    // before it (an earlier course of that name takes it then); the rest of the file is read all
    // the same.
    int readRecords(const std::string& path, std::span<const CatalogueEntry> courses);
    // Writes the whole file safely (a new file renamed over the old). -1 if that fails.
    int writeRecords(const std::string& path, std::span<const CatalogueEntry> courses) const;

private:
    LapCounter places_[kSlots][kPlaces];
    std::string unlisted_;
};

// The records file of the game directory `root`.
std::string recordsFilePath(const std::string& root);

// Places a finished race among the course's best three (a tie goes below the stored race), copies
// them into the course's slot of `book` and writes the records file. Returns the place won (0-2),
// or -1 when the race did not place (then nothing changes and nothing is written).
// `written`, when given, tells whether the file was written.
int updateCourseRecords(const LapCounter& raceClock, std::array<LapCounter, 3>& courseBest,
                        int selectedCourse, RecordBook& book,
                        std::span<const CatalogueEntry> courses, const std::string& path,
                        bool* written = nullptr);

} // namespace velnor
