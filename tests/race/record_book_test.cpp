#include "platform/fixed_text.h"
#include "race/record_book.h"
#include "test_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velnor {
namespace {

using test::TempDir;

std::vector<CatalogueEntry> courses(std::initializer_list<const char*> names) {
    std::vector<CatalogueEntry> entries;
    for (const char* name : names) {
        CatalogueEntry entry;
        copyText(entry.name, name);
        entries.push_back(entry);
    }
    return entries;
}

LapCounter race(std::initializer_list<std::int32_t> laps) {
    LapCounter counter;
    std::int32_t total = 0;
    for (const std::int32_t lap : laps) {
        counter.setTime(total += lap, -1);
        counter.completeLap();
    }
    return counter;
}

TEST(RecordBookTest, PlaceLinesHoldSingleLapTimes) {
    TempDir dir;
    dir.write("Velnor.rec", "[Oval]\r\n0 = 61000 59500 60250\r\n1 =\r\n2 = 70000 0 5\r\n\r\n");
    const auto list = courses({"Oval"});
    RecordBook book;
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), list), 0);
    const LapCounter& best = book.place(0, 0);
    EXPECT_EQ(best.lapTotal(), 3);
    EXPECT_EQ(best.time(0), 61000);
    EXPECT_EQ(best.time(1), 120500);
    EXPECT_EQ(best.time(2), 180750);
    EXPECT_EQ(formatRaceTime(best.totalTime()), "03'00.750");
    EXPECT_TRUE(book.place(0, 1).isEmpty());
    EXPECT_EQ(book.place(0, 1).lapTotal(), 0);
    EXPECT_EQ(book.place(0, 2).lapTotal(), 1); // taken up to the first 0
}

TEST(RecordBookTest, NoFileMeansNoRecords) {
    TempDir dir;
    RecordBook book;
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), courses({"Oval"})), -1);
    EXPECT_TRUE(book.place(0, 0).isEmpty());
}

TEST(RecordBookTest, PlacingRacesAndTheFileTheyLeave) {
    TempDir dir;
    const auto list = courses({"Hill", "Oval"});
    const std::string path = dir.file("Velnor.rec");
    RecordBook book;
    std::array<LapCounter, 3> best;

    // The first race on a course always takes place 0.
    EXPECT_EQ(updateCourseRecords(race({61000, 59500, 60250}), best, 1, book, list, path), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "[Oval]\n0 = 61000 59500 60250\n1 =\n2 =\n\n");

    EXPECT_EQ(updateCourseRecords(race({70000, 70000, 70000}), best, 1, book, list, path), 1);
    // As fast as place 0: it goes below.
    EXPECT_EQ(updateCourseRecords(race({60250, 61000, 59500}), best, 1, book, list, path), 1);
    EXPECT_EQ(best[2].totalTime(), 210000);
    const std::string full = dir.read("Velnor.rec");

    // Slower than all three: no place, the file is left alone.
    EXPECT_EQ(updateCourseRecords(race({90000, 90000, 90000}), best, 1, book, list, path), -1);
    EXPECT_EQ(dir.read("Velnor.rec"), full);

    // Faster than all: the old third place drops out.
    EXPECT_EQ(updateCourseRecords(race({50000, 50000, 50000}), best, 1, book, list, path), 0);
    EXPECT_EQ(best[1].totalTime(), 180750);
    EXPECT_EQ(best[2].totalTime(), 180750);
    EXPECT_EQ(dir.read("Velnor.rec"), "[Oval]\n0 = 50000 50000 50000\n1 = 61000 59500 60250\n"
                                      "2 = 60250 61000 59500\n\n");

    // Read back: the same records.
    RecordBook again;
    ASSERT_EQ(again.readRecords(path, list), 0);
    for (int place = 0; place < 3; ++place)
        EXPECT_EQ(again.place(1, place).totalTime(), best[place].totalTime()) << place;
    EXPECT_TRUE(again.place(0, 0).isEmpty());
}

TEST(RecordBookTest, SectionsOfRemovedCoursesAreKept) {
    TempDir dir;
    dir.write("Velnor.rec", "[Gone]\n0 = 1000 2000 3000\n1 =\n2 =\n\n"
                            "[Oval]\n0 = 61000 59500 60250\n1 =\n2 =\n\n"
                            "[Lost]\n0 = 5\n1 = 6\n2 =\n\n");
    const auto list = courses({"Hill", "Oval"});
    RecordBook book;
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), list), -1);
    EXPECT_EQ(book.place(1, 0).totalTime(), 180750);
    EXPECT_TRUE(book.place(0, 0).isEmpty()); // Gone's times went to no course
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "[Oval]\n0 = 61000 59500 60250\n1 =\n2 =\n\n"
                                      "[Gone]\n0 = 1000 2000 3000\n1 =\n2 =\n\n"
                                      "[Lost]\n0 = 5\n1 = 6\n2 =\n\n");
    // The course comes back: its records are found again.
    RecordBook restored;
    EXPECT_EQ(restored.readRecords(dir.file("Velnor.rec"), courses({"Gone", "Oval"})), -1);
    EXPECT_EQ(restored.place(0, 0).totalTime(), 6000);
    EXPECT_EQ(restored.place(1, 0).totalTime(), 180750);
}

// A kept section whose lines end in a carriage return of their own ("[Gone]\r\r\n", a line end
// doubled by an editor: the reader's line is "[Gone]\r", the section of a course "Gone]") is
// written back so that it reads as the same lines again, and stays no course's. Ended by "\n"
// alone, the CR would join the line end and the section would become the records of the course
// Gone.
TEST(RecordBookTest, KeptLinesEndingInACarriageReturnReadBackTheSame) {
    TempDir dir;
    const std::string kept = "[Gone]\r\r\n0 = 1000\r\r\n";
    dir.write("Velnor.rec", kept);
    const auto list = courses({"Gone", "Oval"});
    RecordBook book;
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), list), -1);
    EXPECT_TRUE(book.place(0, 0).isEmpty());
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), kept + "\n");
    RecordBook again;
    EXPECT_EQ(again.readRecords(dir.file("Velnor.rec"), list), -1);
    EXPECT_TRUE(again.place(0, 0).isEmpty());
}

TEST(RecordBookTest, SectionsOutOfCatalogueOrderKeepTheirRecords) {
    TempDir dir;
    dir.write("Velnor.rec", "[Oval]\n0 = 100\n1 =\n2 =\n\n[Hill]\n0 = 200\n1 =\n2 =\n\n");
    RecordBook book;
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), courses({"Hill", "Oval"})), -1);
    EXPECT_EQ(book.place(0, 0).totalTime(), 200);
    EXPECT_EQ(book.place(1, 0).totalTime(), 100);
}

TEST(RecordBookTest, CoursesOfTheSameNameKeepTheirOwnRecords) {
    // Two listed courses may share a name (two files holding a course "Oval"); the file then
    // holds one section per course, in catalogue order, each read back into its own slot.
    struct Case {
        const char* name;
        std::vector<int> slotsWithRecords; // slot s holds a race of s + 1 seconds a lap
    };
    const Case cases[] = {
        {"both", {0, 2}},
        {"first only", {0}},
        {"second only", {2}},
        {"around another", {0, 1, 2}},
    };
    const auto list = courses({"Oval", "Hill", "Oval"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        RecordBook book;
        for (const int slot : c.slotsWithRecords) {
            const std::int32_t lap = (slot + 1) * 1000;
            book.place(slot, 0) = race({lap, lap, lap});
        }
        ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
        const std::string written = dir.read("Velnor.rec");

        RecordBook again;
        EXPECT_EQ(again.readRecords(dir.file("Velnor.rec"), list), 0);
        for (int slot = 0; slot < 3; ++slot) {
            const bool has = std::find(c.slotsWithRecords.begin(), c.slotsWithRecords.end(),
                                       slot) != c.slotsWithRecords.end();
            EXPECT_EQ(again.place(slot, 0).totalTime(), has ? (slot + 1) * 3000 : 0) << slot;
        }
        // The next rewrite loses nothing.
        ASSERT_EQ(again.writeRecords(dir.file("Velnor.rec"), list), 0);
        EXPECT_EQ(dir.read("Velnor.rec"), written);
    }
}

TEST(RecordBookTest, ARewriteKeepsEveryLapTimeRead) {
    // Each file is read and written back; what was read must come out as it was.
    struct Case {
        const char* name;
        std::string file;
        std::string rewritten;
    };
    const std::string ten = "0 = 1001 1002 1003 1004 1005 1006 1007 1008 1009 1010\n";
    const Case cases[] = {
        {"three laps", "[Oval]\n0 = 61000 59500 60250\n1 =\n2 =\n\n",
         "[Oval]\n0 = 61000 59500 60250\n1 =\n2 =\n\n"},
        {"ten laps", "[Oval]\n" + ten + "1 = 5\n2 =\n\n", "[Oval]\n" + ten + "1 = 5\n2 =\n\n"},
        {"ten laps in every place", "[Oval]\n" + ten + "1" + ten.substr(1) + "2" + ten.substr(1),
         "[Oval]\n" + ten + "1" + ten.substr(1) + "2" + ten.substr(1) + "\n"},
        {"more than ten: the eleventh is not read",
         "[Oval]\n" + ten.substr(0, ten.size() - 1) + " 1011\n1 =\n2 =\n",
         "[Oval]\n" + ten + "1 =\n2 =\n\n"},
        {"a later place line replaces the earlier",
         "[Oval]\n0 = 1000 1000 9000\n0 = 1000 1000\n1 =\n2 =\n",
         "[Oval]\n0 = 1000 1000\n1 =\n2 =\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("Velnor.rec", c.file);
        const auto list = courses({"Oval"});
        RecordBook book;
        ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), list), 0);
        ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
        EXPECT_EQ(dir.read("Velnor.rec"), c.rewritten);
    }
}

TEST(RecordBookTest, HugeAndOddNumbersStayInRange) {
    TempDir dir;
    dir.write("Velnor.rec", "[Oval]\n0 = 2147483647 2147483647 9999999999\n1=7\n2 = x\n/ 1 = 9\n");
    RecordBook book;
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), courses({"Oval"})), 0);
    EXPECT_EQ(book.place(0, 0).totalTime(), 2147483647);
    EXPECT_EQ(book.place(0, 1).totalTime(), 7);
    EXPECT_TRUE(book.place(0, 2).isEmpty());
}

TEST(RecordBookTest, AFailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string old = "[Oval]\n0 = 61000 59500 60250\n1 =\n2 =\n\n";
    dir.write("Velnor.rec", old);
    const auto list = courses({"Oval"});
    RecordBook book;
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), list), 0);
    std::array<LapCounter, 3> best = {book.place(0, 0), book.place(0, 1), book.place(0, 2)};
    {
        test::FileSizeLimit full(10);
        EXPECT_EQ(updateCourseRecords(race({1000, 1000, 1000}), best, 0, book, list,
                                      dir.file("Velnor.rec")),
                  0);
    }
    EXPECT_EQ(dir.read("Velnor.rec"), old);
    EXPECT_EQ(book.place(0, 0).totalTime(), 3000); // still in memory for the rest of the run
}

TEST(RecordBookTest, AMillisecondIsATime) {
    // The shortest lap a file can hold is 1 ms; a race of such laps is a record like any other.
    TempDir dir;
    const auto list = courses({"Oval"});
    RecordBook book;
    book.place(0, 0) = race({1, 1, 1});
    book.place(0, 1) = race({1, 2});
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "[Oval]\n0 = 1 1 1\n1 = 1 2\n2 =\n\n");
}

TEST(RecordBookTest, OnlyPlaceLinesZeroToTwoAreRead) {
    TempDir dir;
    dir.write("Velnor.rec", "[Oval]\n2 = 300\n3 = 400\n/0 = 500\n0 = 100\n1 = 200\n");
    RecordBook book;
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), courses({"Oval"})), 0);
    EXPECT_EQ(book.place(0, 0).totalTime(), 100);
    EXPECT_EQ(book.place(0, 1).totalTime(), 200);
    EXPECT_EQ(book.place(0, 2).totalTime(), 300);
}

TEST(RecordBookTest, TheBookHoldsAHundredCourses) {
    // Three-lap races throughout. Courses C0 ... C100: the hundred-and-first has no slot; its
    // section in the file is kept as that of a course not listed, and a race on it places without
    // touching the book.
    std::vector<CatalogueEntry> list;
    for (int i = 0; i <= 100; ++i) {
        CatalogueEntry entry;
        std::string name(1, 'C');
        name.append(std::to_string(i));
        copyText(entry.name, name);
        list.push_back(entry);
    }
    TempDir dir;
    dir.write("Velnor.rec", "[C99]\n0 = 99\n1 =\n2 =\n\n[C100]\n0 = 100\n1 =\n2 =\n\n");
    RecordBook book;
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), list), -1); // C100 is no listed course
    EXPECT_EQ(book.place(99, 0).totalTime(), 99);
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "[C99]\n0 = 99\n1 =\n2 =\n\n[C100]\n0 = 100\n1 =\n2 =\n\n");

    std::array<LapCounter, 3> best;
    bool written = false;
    EXPECT_EQ(updateCourseRecords(race({50, 50, 50}), best, 100, book, list, dir.file("Velnor.rec"),
                                  &written),
              0);
    EXPECT_TRUE(written);
    EXPECT_EQ(best[0].totalTime(), 150);
    EXPECT_EQ(book.place(99, 0).totalTime(), 99);
}

TEST(RecordBookTest, WhetherTheFileWasWritten) {
    TempDir dir;
    const auto list = courses({"Oval"});
    RecordBook book;
    std::array<LapCounter, 3> best = {race({100, 100, 100}), race({200, 200, 200}),
                                      race({300, 300, 300})};
    bool written = true;
    EXPECT_EQ(updateCourseRecords(race({400, 400, 400}), best, 0, book, list,
                                  dir.file("Velnor.rec"), &written),
              -1);
    EXPECT_FALSE(written); // no place, nothing written
    EXPECT_EQ(updateCourseRecords(race({300, 300, 300}), best, 0, book, list,
                                  dir.file("Velnor.rec"), &written),
              -1); // a tie with the third goes below it: no place
    EXPECT_EQ(updateCourseRecords(race({299, 299, 299}), best, 0, book, list,
                                  dir.file("Velnor.rec"), &written),
              2);
    EXPECT_TRUE(written);
    EXPECT_EQ(book.place(0, 2).totalTime(), 897);
    EXPECT_EQ(book.place(0, 1).totalTime(), 600);
    {
        test::FileSizeLimit full(10);
        EXPECT_EQ(updateCourseRecords(race({99, 99, 99}), best, 0, book, list,
                                      dir.file("Velnor.rec"), &written),
                  0);
    }
    EXPECT_FALSE(written); // placed, but the file could not be written
    {
        test::FileSizeLimit full(10);
        EXPECT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), -1);
    }
    EXPECT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(book.place(0, 0).totalTime(), 297);
    EXPECT_EQ(book.place(0, 1).totalTime(), 300);
    EXPECT_EQ(book.place(0, 2).totalTime(), 600);
}

TEST(RecordBookTest, SectionsOfCoursesNotListedAreKeptApartByAnEmptyLine) {
    TempDir dir;
    dir.write("Velnor.rec", "[A]\n0 = 1\n[B]\n0 = 2\n");
    RecordBook book;
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), courses({"Oval"})), -1);
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), courses({"Oval"})), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "[A]\n0 = 1\n\n[B]\n0 = 2\n\n");
    // a book read again from a file with no such sections forgets them
    dir.write("Velnor.rec", "[Oval]\n0 = 5\n");
    EXPECT_EQ(book.readRecords(dir.file("Velnor.rec"), courses({"Oval"})), 0);
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), courses({"Oval"})), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "[Oval]\n0 = 5\n1 =\n2 =\n\n");
}

// Twenty courses C0 ... C19.
std::vector<CatalogueEntry> twentyCourses() {
    std::vector<CatalogueEntry> list;
    for (int i = 0; i < 20; ++i) {
        CatalogueEntry entry;
        std::string name(1, 'C');
        name.append(std::to_string(i));
        copyText(entry.name, name);
        list.push_back(entry);
    }
    return list;
}

TEST(RecordBookTest, LinesThatAreNoPlaceLineTouchNoRecord) {
    TempDir dir;
    dir.write("Velnor.rec", "[C0]\n0 = 100\n3 = 400\n9 = 600\na = 700\nz=800\n~ = 900\n");
    const auto list = twentyCourses();
    RecordBook book;
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(book.place(0, 0).totalTime(), 100);
    for (int slot = 0; slot < 20; ++slot) {
        for (int place = 0; place < 3; ++place) {
            if (slot != 0 || place != 0) {
                EXPECT_TRUE(book.place(slot, place).isEmpty()) << slot << " " << place;
            }
        }
    }
}

TEST(RecordBookTest, PlaceLinesBeforeAnySectionBelongToTheFirstCourse) {
    TempDir dir;
    dir.write("Velnor.rec", "1 = 50\n[C1]\n0 = 70\n");
    RecordBook book;
    ASSERT_EQ(book.readRecords(dir.file("Velnor.rec"), twentyCourses()), 0);
    EXPECT_EQ(book.place(0, 1).totalTime(), 50);
    EXPECT_EQ(book.place(1, 0).totalTime(), 70);
    EXPECT_TRUE(book.place(1, 1).isEmpty());
}

TEST(RecordBookTest, AClearedBookWritesNothing) {
    TempDir dir;
    dir.write("Velnor.rec", "[Gone]\n0 = 1\n\n[Oval]\n0 = 2\n");
    const auto list = courses({"Oval"});
    RecordBook book;
    book.readRecords(dir.file("Velnor.rec"), list);
    ASSERT_EQ(book.place(0, 0).totalTime(), 2);
    book.clear();
    EXPECT_TRUE(book.place(0, 0).isEmpty());
    EXPECT_EQ(book.place(0, 0).lapTotal(), 3);
    ASSERT_EQ(book.writeRecords(dir.file("Velnor.rec"), list), 0);
    EXPECT_EQ(dir.read("Velnor.rec"), "");
}

TEST(RecordBookTest, APlacedRaceChangesOnlyItsOwnCoursesRecords) {
    TempDir dir;
    const auto list = courses({"Oval", "Hill"});
    RecordBook book;
    book.place(1, 0) = race({5000, 5000, 5000});
    book.place(1, 1) = race({6000, 6000, 6000});
    std::array<LapCounter, 3> best;
    EXPECT_EQ(
        updateCourseRecords(race({1000, 1000, 1000}), best, 0, book, list, dir.file("Velnor.rec")),
        0);
    EXPECT_EQ(book.place(0, 0).totalTime(), 3000);
    EXPECT_EQ(book.place(1, 0).totalTime(), 15000);
    EXPECT_EQ(book.place(1, 1).totalTime(), 18000);
    EXPECT_TRUE(book.place(1, 2).isEmpty());
}

} // namespace
} // namespace velnor
