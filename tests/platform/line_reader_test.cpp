#include "platform/line_reader.h"
#include "test_dir.h"

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

} // namespace
} // namespace velnor
