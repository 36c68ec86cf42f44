#include "platform/line_reader.h"
#include "platform/section_reader.h"
#include "test_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velnor {
namespace {

struct ReadLine {
    std::string text;
    std::int64_t offset;
    bool truncated;
    bool hasLineEnd;
};

std::vector<ReadLine> readAll(const std::string& contents, std::int64_t from = 0) {
    test::TempDir dir;
    dir.write("f.txt", contents);
    LineReader reader;
    EXPECT_TRUE(reader.open(dir.file("f.txt")));
    EXPECT_TRUE(reader.seek(from));
    std::vector<ReadLine> lines;
    TextLine line;
    while (reader.next(line))
        lines.push_back({std::string(line.text), line.offset, line.truncated, line.hasLineEnd});
    return lines;
}

TEST(LineReaderTest, LineEndsAndPositions) {
    struct Case {
        const char* name;
        std::string contents;
        std::vector<std::string> texts;
        std::vector<std::int64_t> offsets;
    };
    const Case cases[] = {
        {"unix", "ab\ncd\n", {"ab", "cd"}, {0, 3}},
        {"windows", "ab\r\ncd\r\n", {"ab", "cd"}, {0, 4}},
        {"no final line end", "ab\ncd", {"ab", "cd"}, {0, 3}},
        {"lone carriage return is text", "a\rb\n", {"a\rb"}, {0}},
        {"empty lines", "\n\r\nx\n", {"", "", "x"}, {0, 1, 3}},
        {"ctrl-z ends the file",
         "ab\n\x1A"
         "cd\n",
         {"ab"},
         {0}},
        {"nul ends the text", std::string("a\0b\ncd\n", 7), {"a", "cd"}, {0, 4}},
        {"utf-16 reads as nothing", std::string("[\0A\0]\0\n\0", 8), {"[", ""}, {0, 7}},
        {"empty file", "", {}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<ReadLine> lines = readAll(c.contents);
        ASSERT_EQ(lines.size(), c.texts.size()) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.texts[i]) << c.name;
            EXPECT_EQ(lines[i].offset, c.offsets[i]) << c.name;
        }
    }
}

TEST(LineReaderTest, LastLineWithoutLineEndKeepsItsLastCharacter) {
    const std::vector<ReadLine> lines = readAll("type = 12");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "type = 12");
    EXPECT_FALSE(lines[0].hasLineEnd);
}

TEST(LineReaderTest, OverlongLinesAreCutAndDoNotSpillIntoTheNext) {
    const std::string longLine(5000, 'x');
    const std::vector<ReadLine> lines = readAll(longLine + "\nnext\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text.size(), LineReader::kMaxLength);
    EXPECT_TRUE(lines[0].truncated);
    EXPECT_EQ(lines[1].text, "next");
    EXPECT_EQ(lines[1].offset, 5001);

    const std::vector<ReadLine> exact = readAll(std::string(LineReader::kMaxLength, 'y') + "\n");
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_FALSE(exact[0].truncated);
}

TEST(LineReaderTest, SeekContinuesAtAStoredPosition) {
    const std::vector<ReadLine> lines = readAll("one\r\ntwo\r\nthree\r\n", 5);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "two");
    EXPECT_EQ(lines[0].offset, 5);
}

TEST(LineReaderTest, MissingFileDoesNotOpen) {
    LineReader reader;
    EXPECT_FALSE(reader.open("/nonexistent/velnor/file.car"));
    TextLine line;
    EXPECT_FALSE(reader.next(line));
}

TEST(LineReaderTest, EveryLineKnowsWhereItEnds) {
    // "ab\r\n" is bytes 0..3, "cd\n" 4..6, "e" 7 with no line end: the ends are 4, 7 and 8.
    test::TempDir dir;
    dir.write("f.txt", "ab\r\ncd\ne");
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.file("f.txt")));
    TextLine line;
    const std::int64_t ends[] = {4, 7, 8};
    const bool lineEnds[] = {true, true, false};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader.next(line)) << i;
        EXPECT_EQ(line.end, ends[i]) << i;
        EXPECT_EQ(line.hasLineEnd, lineEnds[i]) << i;
    }
    EXPECT_FALSE(reader.next(line));
}

TEST(LineReaderTest, ControlBytesOtherThanCtrlZAndNulAreText) {
    // Byte 1 and byte 0x1B (the neighbours of "no byte" and of Ctrl-Z) are ordinary text.
    const std::vector<ReadLine> lines = readAll("a\x01"
                                                "b\x1B"
                                                "c\nd\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "a\x01"
                             "b\x1B"
                             "c");
    EXPECT_EQ(lines[1].text, "d");
}

TEST(LineReaderTest, CtrlZInsideALineEndsTheLineAndTheFile) {
    const std::vector<ReadLine> lines = readAll("ab\x1A"
                                                "cd\nef\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "ab");
    EXPECT_FALSE(lines[0].hasLineEnd);
}

TEST(LineReaderTest, ANulMarksTheLine) {
    test::TempDir dir;
    dir.write("f.txt", std::string("a\0b\nc\n", 6));
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.file("f.txt")));
    TextLine line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_TRUE(line.hasNul);
    EXPECT_EQ(line.end, 4);
    ASSERT_TRUE(reader.next(line));
    EXPECT_FALSE(line.hasNul);
    EXPECT_EQ(line.text, "c");
}

TEST(LineReaderTest, TheLineBufferHoldsTenTwentyTwoCharacters) {
    // A 1024-byte buffer: 1022 characters, then "\r\n" (or "\n" and the terminating NUL).
    const std::vector<ReadLine> fits = readAll(std::string(1022, 'a') + "\n");
    ASSERT_EQ(fits.size(), 1u);
    EXPECT_EQ(fits[0].text.size(), 1022u);
    EXPECT_FALSE(fits[0].truncated);

    const std::vector<ReadLine> cut = readAll(std::string(1023, 'a') + "\nb\n");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].text.size(), 1022u);
    EXPECT_TRUE(cut[0].truncated);
    EXPECT_EQ(cut[1].text, "b");
    EXPECT_EQ(cut[1].offset, 1024);
}

TEST(LineReaderTest, LinesAcrossTheReadBufferStayWhole) {
    // Lines of 99 characters and "\r\n" (101 bytes) run over every 16 KiB block of the file; one
    // "\r\n" is split at byte 16384 exactly: 162 lines fill 16362 bytes, then 21 characters put the
    // "\r" at byte 16383, the last of the first block.
    std::string contents;
    for (int i = 0; i < 162; ++i)
        contents += std::string(99, static_cast<char>('a' + i % 26)) + "\r\n";
    contents += std::string(21, 'z') + "\r\n" + "last\r\n";
    ASSERT_EQ(contents.find("\r\n", 16362), 16383u);
    const std::vector<ReadLine> lines = readAll(contents);
    ASSERT_EQ(lines.size(), 164u);
    for (int i = 0; i < 162; ++i) {
        EXPECT_EQ(lines[i].text, std::string(99, static_cast<char>('a' + i % 26))) << i;
        EXPECT_EQ(lines[i].offset, 101 * i) << i;
    }
    EXPECT_EQ(lines[162].text, std::string(21, 'z'));
    EXPECT_EQ(lines[163].text, "last");
    EXPECT_EQ(lines[163].offset, 16385);
}

TEST(LineReaderTest, SeekingBackToTheStartReadsTheFileAgain) {
    test::TempDir dir;
    dir.write("f.txt", "one\ntwo\n");
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.file("f.txt")));
    TextLine line;
    while (reader.next(line)) {
    }
    ASSERT_TRUE(reader.seek(0));
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, "one");
    EXPECT_EQ(line.offset, 0);
    ASSERT_TRUE(reader.seek(4));
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, "two");
    EXPECT_EQ(line.end, 8);
    EXPECT_FALSE(reader.seek(-1));
}

TEST(LineReaderTest, AReaderOpenedOnAnotherFileStartsAfresh) {
    test::TempDir dir;
    dir.write("a.txt", "first\nsecond\n");
    dir.write("b.txt", "other\n");
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.file("a.txt")));
    TextLine line;
    ASSERT_TRUE(reader.next(line));
    ASSERT_TRUE(reader.open(dir.file("b.txt")));
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, "other");
    EXPECT_EQ(line.offset, 0);
    EXPECT_EQ(line.end, 6);
    EXPECT_FALSE(reader.next(line));
    // and after the end of one file, the next is read from its start
    ASSERT_TRUE(reader.open(dir.file("a.txt")));
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, "first");
}

TEST(LineReaderTest, AFolderIsNoFile) {
    test::TempDir dir;
    dir.write("sub/f.txt", "x\n");
    LineReader reader;
    EXPECT_FALSE(reader.open(dir.file("sub")));
    TextLine line;
    EXPECT_FALSE(reader.next(line));
    EXPECT_FALSE(reader.seek(0));
}

// The files the game holds open, as the process's table of file descriptors counts them.
int openFiles() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST(LineReaderTest, AReaderHoldsOneFileOpenAtMostAndNoneOnceGone) {
    test::TempDir dir;
    dir.write("a.txt", "a\n");
    dir.write("b.txt", "b\n");
    dir.write("sub/c.txt", "c\n");
    const int before = openFiles();
    {
        LineReader reader;
        ASSERT_TRUE(reader.open(dir.file("a.txt")));
        EXPECT_EQ(openFiles(), before + 1);
        ASSERT_TRUE(reader.open(dir.file("b.txt"))); // the first file is closed
        EXPECT_EQ(openFiles(), before + 1);
        EXPECT_FALSE(reader.open(dir.file("sub"))); // a folder is closed again at once
        EXPECT_EQ(openFiles(), before);
        ASSERT_TRUE(reader.open(dir.file("a.txt")));
    }
    EXPECT_EQ(openFiles(), before); // the reader's end closes its file
}

std::vector<std::string> readSection(const std::string& contents, std::int64_t offset,
                                     bool headerFound) {
    test::TempDir dir;
    dir.write("f.txt", contents);
    SectionReader reader;
    EXPECT_TRUE(reader.open(dir.file("f.txt"), offset));
    std::vector<std::string> texts;
    TextLine line;
    while (reader.next(line, headerFound) && texts.size() < 20)
        texts.emplace_back(line.text);
    return texts;
}

TEST(SectionReaderTest, ReadsFromTheStoredPositionAndOnceMoreFromTheStartIfTheHeaderWasNotMet) {
    const std::string file = "[A]\na\n[B]\nb\n"; // "[B]" begins at byte 6
    using Lines = std::vector<std::string>;
    EXPECT_EQ(readSection(file, 6, true), (Lines{"[B]", "b"}));
    EXPECT_EQ(readSection(file, 6, false), (Lines{"[B]", "b", "[A]", "a", "[B]", "b"}));
    EXPECT_EQ(readSection(file, 0, true), (Lines{"[A]", "a", "[B]", "b"}));
    EXPECT_EQ(readSection(file, -3, true), (Lines{"[A]", "a", "[B]", "b"}));
    EXPECT_EQ(readSection(file, 100, true), Lines{});
    EXPECT_EQ(readSection(file, 100, false), (Lines{"[A]", "a", "[B]", "b"}));
}

TEST(SectionReaderTest, AMissingFileDoesNotOpen) {
    SectionReader reader;
    EXPECT_FALSE(reader.open("/nonexistent/velnor/cars.txt", 0));
}

TEST(SectionReaderTest, AReopenedReaderMayRestartAgain) {
    test::TempDir dir;
    dir.write("f.txt", "[A]\n");
    SectionReader reader;
    TextLine line;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(reader.open(dir.file("f.txt"), 4)) << pass;
        ASSERT_TRUE(reader.next(line, false)) << pass;
        EXPECT_EQ(line.text, "[A]") << pass;
        EXPECT_FALSE(reader.next(line, false)) << pass;
    }
}

} // namespace
} // namespace velnor
