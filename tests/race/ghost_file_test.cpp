#include "race/ghost_file.h"
#include "race/ghost_log.h"
#include "test_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace velnor {
namespace {

GhostLog named(const char* course, const char* car = "Kite") {
    GhostLog log;
    log.setCourseName(course);
    log.setCarName(car);
    return log;
}

GhostLog readBack(const test::TempDir& dir, const char* course) {
    GhostLog log;
    log.setCourseName(course);
    EXPECT_EQ(loadGhost(dir.path(), log), 0);
    return log;
}

TEST(GhostFileTest, AnEmptyRun) {
    test::TempDir dir;
    GhostLog log = named("Oval");
    log.setFinishTime(123456);
    ASSERT_EQ(saveGhost(dir.path(), log), 0);
    EXPECT_EQ(dir.read("Oval.gst"), "[Oval]\ncarname = Kite\n\n\n\n123456\n");
    const GhostLog back = readBack(dir, "Oval");
    EXPECT_STREQ(back.carName(), "Kite");
    EXPECT_EQ(back.finishTime(), 123456);
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), GhostLog::kNone);
    EXPECT_EQ(ghostFileExists(dir.path(), log), 1);
}

TEST(GhostFileTest, RowsAsWrittenAndReadBack) {
    test::TempDir dir;
    GhostLog log = named("Oval");
    for (int i = 0; i < 12; ++i)
        (i % 2 == 0 ? log.recordPress(i * 100 - 3000, GhostLog::kAccelerator)
                    : log.recordRelease(i * 100 - 3000, GhostLog::kAccelerator));
    for (int i = 0; i < 3; ++i)
        log.recordPress(5000 + i, GhostLog::kBrake);
    log.recordValue(1500, GhostLog::kHeading, -12.25);
    log.setFinishTime(90000);
    ASSERT_EQ(saveGhost(dir.path(), log), 0);

    const std::string text = dir.read("Oval.gst");
    const std::string firstRow = "   -3000  1     5000  1        0 -1        0 -1        0 -1 "
                                 "       0 -1        0 -1 \n";
    EXPECT_NE(text.find("\n\n" + firstRow), std::string::npos) << text;
    const std::string twelfth = "   -1900  0        0 -1 ";
    EXPECT_NE(text.find(twelfth), std::string::npos);
    // Twelve snapshot rows as well; all but the heading's first are empty.
    EXPECT_NE(text.find("       0 -10000.000000        0 -10000.000000     1500   -12.250000 \n"),
              std::string::npos);
    int rows = 0;
    for (std::size_t at = 0; (at = text.find("-10000.000000 ", at)) != std::string::npos; ++at)
        ++rows;
    EXPECT_EQ(rows, 12 * 3 - 1);

    GhostLog back = readBack(dir, "Oval");
    for (int i = 0; i < 12; ++i) {
        back.advance(GhostLog::kAccelerator);
        EXPECT_EQ(back.currentEventTime(GhostLog::kAccelerator), i * 100 - 3000);
    }
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), GhostLog::kNone);
    EXPECT_EQ(back.nextEventTime(GhostLog::kBrake), 5000);
    EXPECT_EQ(back.nextValueTime(GhostLog::kHeading), 1500);
    back.advanceValue(GhostLog::kHeading);
    EXPECT_EQ(back.currentValue(GhostLog::kHeading), -12.25);
    EXPECT_EQ(back.finishTime(), 90000);
}

TEST(GhostFileTest, OnlyTheCoursesSectionAndTheCarsWholeName) {
    test::TempDir dir;
    dir.write("Oval.gst",
              "[Other]\ncarname = Wrong\n\n  100  1  0 -1  0 -1  0 -1  0 -1  0 -1  0 -1\n"
              "[Oval]\ncarname =  Kite Sport \ncarname =\n\n"
              "  200  1  0 -1  0 -1  0 -1  0 -1  0 -1  0 -1\n\n77\n");
    GhostLog back = readBack(dir, "Oval");
    EXPECT_STREQ(back.carName(), "Kite Sport"); // the empty line after it keeps it
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), 200);
    EXPECT_EQ(back.finishTime(), 77);
}

TEST(GhostFileTest, ACarNameWithSpacesReadsBackWhole) {
    test::TempDir dir;
    GhostLog log = named("Oval", "Stella 2.5 Touring");
    ASSERT_EQ(saveGhost(dir.path(), log), 0);
    EXPECT_STREQ(readBack(dir, "Oval").carName(), "Stella 2.5 Touring");
}

TEST(GhostFileTest, MoreRowsThanAChannelHoldsLoadTheFirstOnes) {
    test::TempDir dir;
    std::string text = "[Oval]\ncarname = Kite\n\n";
    for (int r = 0; r < GhostLog::kCapacity + 20; ++r)
        text += std::to_string(r) + " 1 0 -1 0 -1 0 -1 0 -1 0 -1 0 -1\n";
    dir.write("Oval.gst", text + "\n5\n");
    GhostLog back = readBack(dir, "Oval");
    for (int i = 0; i < GhostLog::kCapacity - 1; ++i)
        back.advance(GhostLog::kAccelerator);
    EXPECT_EQ(back.currentEventTime(GhostLog::kAccelerator), GhostLog::kCapacity - 2);
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), GhostLog::kCapacity - 1);
    back.advance(GhostLog::kAccelerator);
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), GhostLog::kNone);
    EXPECT_EQ(back.finishTime(), 5);
}

TEST(GhostFileTest, FileNamesStayInTheGameDirectory) {
    struct Case {
        const char* course;
        const char* file;
    };
    const Case cases[] = {
        // A name that is a file name as it stands keeps it.
        {"Oval", "Oval.gst"},
        {"Mt. Fuji", "Mt. Fuji.gst"},
        {"A_B", "A_B.gst"},
        {"50% grade", "50% grade.gst"},
        {"A%2FB", "A%2FB.gst"},
        {"\x83\x5c\x83\x93", "\x83\x5c\x83\x93.gst"}, // ソン: the second byte of ソ is "\"
        // Any other name: "%" and two hex digits for every byte that cannot stand, for a leading
        // "." and for every "%", so that no two such names meet.
        {"A/B", "A%2FB.gst"},
        {"../../etc/x", "%2E.%2F..%2Fetc%2Fx.gst"},
        {".hidden", "%2Ehidden.gst"},
        {"a\\b:c*d?e\"f<g>h|i", "a%5Cb%3Ac%2Ad%3Fe%22f%3Cg%3Eh%7Ci.gst"},
        {"50%/x", "50%25%2Fx.gst"},
        {"tab\there", "tab%09here.gst"},
        // A lead byte before a byte that no character has second ("/", ":", a control byte)
        // makes no character: that byte is escaped all the same.
        {"A\x81/B", "A\x81%2FB.gst"},
        {"\x9f:\xfc\t", "\x9f%3A\xfc%09.gst"},
        {"A\x7F"
         "B",
         "A%7FB.gst"}, // DEL, the last byte a name cannot hold
        {"A\x80"
         "B",
         "A\x80"
         "B.gst"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ghostFileName(c.course), c.file) << c.course;

    test::TempDir dir;
    const GhostLog escape = named("../outside");
    ASSERT_EQ(saveGhost(dir.file("game"), escape), -1); // no such folder: nothing written
    std::filesystem::create_directory(dir.file("game"));
    ASSERT_EQ(saveGhost(dir.file("game"), escape), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("outside.gst")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("game/%2E.%2Foutside.gst")));
}

// Courses whose names differ never read or overwrite each other's ghost: each name has a file
// of its own, and where two names meet in one file ("A/B" is written as "A%2FB", which is also
// a course name that stands as it is) the course that the file's header names keeps it.
TEST(GhostFileTest, DifferentCoursesNeverShareAGhost) {
    test::TempDir dir;
    struct Row {
        const char* course;
        bool saved; // false: the file holds another course's ghost, which stays
    };
    const Row rows[] = {
        {"A/B", true},    {"A_B", true}, {"A\\B", true}, {"A:B", true},
        {"A%2FB", false}, {"a/b", true}, {".A_B", true},
    };
    int finish = 1000;
    for (const Row& row : rows) {
        GhostLog log = named(row.course, row.course);
        log.setFinishTime(++finish);
        EXPECT_EQ(saveGhost(dir.path(), log), row.saved ? 0 : -1) << row.course;
    }
    finish = 1000;
    for (const Row& row : rows) {
        ++finish;
        GhostLog back;
        back.setCourseName(row.course);
        back.setCarName("unread");
        if (!row.saved) {
            EXPECT_EQ(loadGhost(dir.path(), back), -1) << row.course;
            EXPECT_STREQ(back.carName(), "unread");
            EXPECT_EQ(ghostFileExists(dir.path(), back), 0);
            continue;
        }
        ASSERT_EQ(loadGhost(dir.path(), back), 0) << row.course;
        EXPECT_STREQ(back.carName(), row.course);
        EXPECT_EQ(back.finishTime(), finish) << row.course;
        EXPECT_EQ(ghostFileExists(dir.path(), back), 1);
    }
    // "A/B" still has its own ghost after "A%2FB" tried to save over it.
    EXPECT_EQ(dir.read("A%2FB.gst").substr(0, 6), "[A/B]\n");
}

// Before names were written with "%", every byte a file name cannot hold became "_": such a
// file is still the course's ghost when its header names the course, and only then.
TEST(GhostFileTest, AGhostUnderItsOlderFileNameIsStillFound) {
    test::TempDir dir;
    dir.write("A_B.gst", "[A/B]\ncarname = Kite Sport\n\n\n\n4321\n");
    const GhostLog back = readBack(dir, "A/B");
    EXPECT_STREQ(back.carName(), "Kite Sport");
    EXPECT_EQ(back.finishTime(), 4321);

    GhostLog other;
    other.setCourseName("A_B"); // the file's own name, but not its course
    EXPECT_EQ(loadGhost(dir.path(), other), -1);
    GhostLog third;
    third.setCourseName("A:B"); // the same older name, another course
    EXPECT_EQ(loadGhost(dir.path(), third), -1);

    // A leading "." became "_" as well, and only a leading one.
    dir.write("_hidden.gst", "[.hidden]\ncarname = Dot\n\n\n\n12\n");
    EXPECT_STREQ(readBack(dir, ".hidden").carName(), "Dot");
    dir.write("_x._y.gst", "[.x.:y]\ncarname = Dots\n\n\n\n13\n");
    EXPECT_STREQ(readBack(dir, ".x.:y").carName(), "Dots");

    // Saving writes the file of today's name; it wins from then on.
    GhostLog log = named("A/B", "Falco GT");
    log.setFinishTime(99);
    ASSERT_EQ(saveGhost(dir.path(), log), 0);
    EXPECT_STREQ(readBack(dir, "A/B").carName(), "Falco GT");
    EXPECT_EQ(dir.read("A_B.gst").substr(0, 6), "[A/B]\n");
}

TEST(GhostFileTest, NoFileLeavesTheLogAlone) {
    test::TempDir dir;
    GhostLog log = named("Nowhere", "Mine");
    EXPECT_EQ(loadGhost(dir.path(), log), -1);
    EXPECT_STREQ(log.carName(), "Mine");
    EXPECT_EQ(ghostFileExists(dir.path(), log), 0);
    std::filesystem::create_directory(dir.file("Nowhere.gst")); // a folder is no ghost
    EXPECT_EQ(loadGhost(dir.path(), log), -1);
    EXPECT_EQ(ghostFileExists(dir.path(), log), 0);
    EXPECT_EQ(saveGhost(dir.path(), log), -1); // nor is a ghost saved over it
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Nowhere.gst")));
}

// A file of the ghost's name that holds no section at all is nobody's ghost: saving replaces it.
TEST(GhostFileTest, AFileWithoutSectionsIsNobodysGhost) {
    test::TempDir dir;
    dir.write("Oval.gst", "junk\n/ [Other] a comment\n");
    GhostLog log = named("Oval");
    EXPECT_EQ(ghostFileExists(dir.path(), log), 0);
    ASSERT_EQ(saveGhost(dir.path(), log), 0);
    EXPECT_EQ(dir.read("Oval.gst").substr(0, 7), "[Oval]\n");
}

// Rows as a hand-edited file may have them: a number too many after a whole row does not make it
// any less a row, and every snapshot channel is read, the speed included.
TEST(GhostFileTest, AWholeRowIsARowWhateverFollowsIt) {
    test::TempDir dir;
    dir.write("Oval.gst", "[Oval]\ncarname = Kite\n\n"
                          "100 1 0 -1 0 -1 0 -1 0 -1 0 -1 0 -1 99\n"
                          "200 0 0 -1 0 -1 0 -1 0 -1 0 -1 0 -1\n\n"
                          "300 42.5 310 7.25 320 -3.5 1 2\n"
                          "400 50.0 410 8.0 420 -4.0\n\n"
                          "5555\n");
    GhostLog back = readBack(dir, "Oval");
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), 100);
    back.advance(GhostLog::kAccelerator);
    EXPECT_EQ(back.nextEventTime(GhostLog::kAccelerator), 200);
    const double speeds[] = {42.5, 50.0};
    const double distances[] = {7.25, 8.0};
    const double headings[] = {-3.5, -4.0};
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(back.nextValueTime(GhostLog::kSpeed), 300 + 100 * row) << row;
        EXPECT_EQ(back.nextValueTime(GhostLog::kDistance), 310 + 100 * row) << row;
        EXPECT_EQ(back.nextValueTime(GhostLog::kHeading), 320 + 100 * row) << row;
        for (int channel = 0; channel < GhostLog::kAnalogChannels; ++channel)
            back.advanceValue(channel);
        EXPECT_EQ(back.currentValue(GhostLog::kSpeed), speeds[row]) << row;
        EXPECT_EQ(back.currentValue(GhostLog::kDistance), distances[row]) << row;
        EXPECT_EQ(back.currentValue(GhostLog::kHeading), headings[row]) << row;
    }
    EXPECT_EQ(back.nextValueTime(GhostLog::kSpeed), GhostLog::kNone);
    EXPECT_EQ(back.finishTime(), 5555);
}

TEST(GhostFileTest, NoGhostUnderEitherNameIsMinusOne) {
    test::TempDir dir;
    GhostLog log = named("A/B", "Mine"); // "A%2FB.gst" today, "A_B.gst" before
    EXPECT_EQ(loadGhost(dir.path(), log), -1);
    EXPECT_STREQ(log.carName(), "Mine");
}

// Each channel is written in full, however many entries the others have.
TEST(GhostFileTest, EveryEntryOfTheBusiestChannelIsWritten) {
    test::TempDir dir;
    GhostLog log = named("Oval");
    for (int i = 0; i < 3; ++i)
        log.recordValue(100 * i, GhostLog::kSpeed, 10.0 + i);
    ASSERT_EQ(saveGhost(dir.path(), log), 0);
    GhostLog back = readBack(dir, "Oval");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.nextValueTime(GhostLog::kSpeed), 100 * i) << i;
        back.advanceValue(GhostLog::kSpeed);
        EXPECT_EQ(back.currentValue(GhostLog::kSpeed), 10.0 + i) << i;
    }
    EXPECT_EQ(back.nextValueTime(GhostLog::kSpeed), GhostLog::kNone);
}

} // namespace
} // namespace velnor
