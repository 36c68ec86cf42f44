#include "platform/data_line.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace velnor {
namespace {

TEST(DataLineTest, CommentAndHeaderLines) {
    struct Case {
        const char* line;
        bool comment;
        bool header;
    };
    const Case cases[] = {
        {"", true, false},          {"/ a note", true, false}, {" / not a comment", false, false},
        {"a/b", false, false},      {"[Oval]", false, true},   {"Oval]", false, false},
        {"[Oval", false, false},    {"] odd [", false, true},  {"/[old]", true, true},
        {"name = x", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isCommentLine(c.line), c.comment) << '"' << c.line << '"';
        EXPECT_EQ(isHeaderLine(c.line), c.header) << '"' << c.line << '"';
    }
}

TEST(DataLineTest, AHeadersNameRunsFromTheFirstBracketToTheLastCharacterLeftOut) {
    struct Case {
        const char* line;
        const char* name;
    };
    const Case cases[] = {
        {"[Oval]", "Oval"},   {"x[Two words]", "Two words"},
        {"[Oval] ", "Oval]"}, {"[a[b]]", "a[b]"},
        {"[]", ""},           {"[", ""},
        {"[a", ""},           {"no bracket]", ""},
        {"[ab", "a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(headerName(c.line), c.name) << '"' << c.line << '"';
}

TEST(DataLineTest, TrimmingSpacesAndBlanks) {
    struct Case {
        const char* text;
        const char* trailing; // trimTrailingSpaces
        const char* leading;  // trimLeadingSpaces
        const char* blanks;   // trimBlanks
    };
    const Case cases[] = {
        {"ab", "ab", "ab", "ab"},
        {"  a b  ", "  a b", "a b  ", "a b"},
        {"a\t ", "a\t", "a\t ", "a"},
        {" \ta", " \ta", "\ta", "a"},
        {"   ", "", "", ""},
        {"\t\t", "\t\t", "\t\t", ""},
        {"", "", "", ""},
        {"x ", "x", "x ", "x"},
        {" x", " x", "x", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trimTrailingSpaces(c.text), c.trailing) << '"' << c.text << '"';
        EXPECT_EQ(trimLeadingSpaces(c.text), c.leading) << '"' << c.text << '"';
        EXPECT_EQ(trimBlanks(c.text), c.blanks) << '"' << c.text << '"';
    }
}

TEST(DataLineTest, TheFirstWordOfAValue) {
    struct Case {
        const char* value;
        const char* word;
    };
    const Case cases[] = {
        {" radial", "radial"},
        {"radial", "radial"},
        {"\tbias ply", "bias"},
        {"slick\r", "slick"},
        {"\v\f a\nb", "a"},
        {" \t\r\n", ""},
        {"", ""},
        {"x", "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(firstWord(c.value), c.word) << '"' << c.value << '"';
}

TEST(DataLineTest, OnlyTheAsciiCapitalsAreMadeSmall) {
    // '@' and '[' stand just before 'A' and just after 'Z'; 0x82 0xA0 is a Shift-JIS character.
    EXPECT_EQ(lowerCase("@AMZ[az`{"), "@amz[az`{");
    EXPECT_EQ(lowerCase("\x82\xA0X"), "\x82\xA0x");
    EXPECT_EQ(lowerCase(""), "");
}

TEST(DataLineTest, KeysCompareWithoutCase) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"Comment", "COMMENT", true},
        {"AZ", "az", true},
        {"ab", "abc", false},
        {"abc", "ab", false},
        {"a@", "a`", false},
        {"a[", "a{", false},
        {"", "", true},
        {"x", "y", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;

    EXPECT_TRUE(startsWithIgnoringCase("COMMENT = hi", "comment"));
    EXPECT_TRUE(startsWithIgnoringCase("comment", "Comment"));
    EXPECT_FALSE(startsWithIgnoringCase("comm", "comment"));
    EXPECT_FALSE(startsWithIgnoringCase("commentary", "comet"));
    EXPECT_TRUE(startsWithIgnoringCase("anything", ""));
}

TEST(DataLineTest, TheValueIsWhatFollowsTheFirstEqualsSignFromWhereTheSearchStarts) {
    struct Case {
        const char* line;
        std::size_t from;
        bool found;
        const char* value;
    };
    const Case cases[] = {
        {"name = Oval", 0, true, " Oval"},
        {"a=b=c", 0, true, "b=c"},
        {"a=b=c", 2, true, "c"},
        {"=x", 0, true, "x"},
        {"=x", 1, false, ""},
        {"no value", 0, false, ""},
        {"key =", 0, true, ""},
        {"a=b", 3, false, ""},
    };
    for (const Case& c : cases) {
        std::string_view value = "stale";
        EXPECT_EQ(valueAfterEquals(c.line, c.from, value), c.found) << c.line << " from " << c.from;
        EXPECT_EQ(value, c.value) << c.line << " from " << c.from;
    }
}

TEST(DataLineTest, NumbersAfterEqualsMissingOrTooLargeReadAsZero) {
    std::array<float, 3> xyz{9, 9, 9};
    EXPECT_TRUE(numbersAfterEquals("pos = 1.5 -2", 0, xyz));
    EXPECT_EQ(xyz, (std::array<float, 3>{1.5f, -2.0f, 0.0f}));
    EXPECT_TRUE(numbersAfterEquals("pos = 1e999 3 4", 0, xyz));
    EXPECT_EQ(xyz, (std::array<float, 3>{0.0f, 3.0f, 4.0f}));
    EXPECT_TRUE(numbersAfterEquals("p=1=7 8 9", 2, xyz));
    EXPECT_EQ(xyz, (std::array<float, 3>{7.0f, 8.0f, 9.0f}));
    EXPECT_FALSE(numbersAfterEquals("pos 1 2 3", 0, xyz));
}

} // namespace
} // namespace velnor
