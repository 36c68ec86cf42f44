#include "platform/fixed_text.h"

#include <gtest/gtest.h>
#include <string>

namespace velnor {
namespace {

TEST(FixedTextTest, CutsAtCharacterBoundaries) {
    struct Case {
        std::string text;
        std::size_t field; // bytes including the NUL
        std::string expected;
    };
    const std::string sedan = "\x83Z\x83_\x83\x93"; // セダン
    const Case cases[] = {
        {"short", 32, "short"},
        {std::string(40, 'x'), 32, std::string(31, 'x')},
        {sedan, 7, sedan},
        {sedan, 6, "\x83Z\x83_"}, // the third character does not fit
        {"a" + sedan, 4, "a\x83Z"},
        {"ab" + sedan, 4, "ab"},          // never half a character
        {std::string("a\0b", 3), 8, "a"}, // text ends at its NUL
        {"\xA0\xA1\xDF", 3, "\xA0\xA1"},  // half-width katakana are single bytes
    };
    for (const Case& c : cases) {
        char field[64];
        copyText(field, c.field, c.text);
        EXPECT_EQ(std::string(field), c.expected) << c.text << " in " << c.field;
    }
}

TEST(FixedTextTest, AnEmptyViewEmptiesTheField) {
    char field[8] = "old";
    copyText(field, std::string_view());
    EXPECT_STREQ(field, "");
}

TEST(FixedTextTest, FieldTextNeverReadsPastTheField) {
    char field[4] = {'a', 'b', 'c', 'd'}; // no NUL
    EXPECT_EQ(fieldText(field), "abcd");
}

} // namespace
} // namespace velnor
