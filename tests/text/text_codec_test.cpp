#include "text/text_codec.h"

#include <QStringDecoder>
#include <gtest/gtest.h>
#include <string>

namespace velnor {
namespace {

// An input method on Linux types the JIS X 0208 forms of a few characters, where the game's code
// page (Windows Shift-JIS) has its own forms at the same codes. Typed, they must land on those
// codes; read back, the player sees the code page's form.
TEST(TextCodecTest, JisFormsAreStoredAtTheirCodePageCodes) {
    struct Row {
        const char* name;
        char16_t typed;
        std::string bytes;
        char16_t shown;
    };
    const Row rows[] = {
        {"wave dash", u'\u301C', "\x81\x60", u'\uFF5E'},
        {"minus sign", u'\u2212', "\x81\x7C", u'\uFF0D'},
        {"yen sign", u'\u00A5', "\x5C", u'\\'},
        {"double vertical line", u'\u2016', "\x81\x61", u'\u2225'},
        {"not sign", u'\u00AC', "\x81\xCA", u'\uFFE2'},
        {"cent sign", u'\u00A2', "\x81\x91", u'\uFFE0'},
        {"pound sign", u'\u00A3', "\x81\x92", u'\uFFE1'},
        {"em dash", u'\u2014', "\x81\x5C", u'\u2015'},
    };
    for (const Row& row : rows) {
        const QString typed(QChar(row.typed));
        EXPECT_EQ(toShiftJis(typed), row.bytes) << row.name;
        EXPECT_EQ(fromShiftJis(row.bytes), QString(QChar(row.shown))) << row.name;
        // Inside a name the neighbours stay as they were.
        EXPECT_EQ(toShiftJis("A" + typed + "B"), "A" + row.bytes + "B") << row.name;
    }
}

TEST(TextCodecTest, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
    EXPECT_EQ(toShiftJis(QString::fromUtf8("Aé号")), "A?\x8D\x86");
    EXPECT_EQ(toShiftJis(QString::fromUtf8("😀")), "?"); // one character, though two UTF-16 units
}

// Every character the code page holds, typed into a name, is stored at a code that reads back as
// that same character.
TEST(TextCodecTest, EveryCharacterOfTheCodePageSurvivesARoundTrip) {
    int characters = 0;
    const auto check = [&characters](const std::string& code) {
        QStringDecoder decoder("Shift_JIS");
        const QString shown = decoder.decode(QByteArray(code.data(), qsizetype(code.size())));
        if (decoder.hasError() || shown.size() != 1 || shown[0] == QChar::ReplacementCharacter)
            return; // no character at this code
        ++characters;
        const std::string stored = toShiftJis(shown);
        EXPECT_EQ(fromShiftJis(stored), shown) << "U+" << std::hex << int(shown[0].unicode());
    };
    for (int b = 0x20; b <= 0xDF; ++b)
        if (b <= 0x7E || b >= 0xA1) // ASCII and the half-width katakana
            check(std::string(1, char(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F)
                check(std::string{char(lead), char(trail)});
    }
    // 95 ASCII, 63 katakana and the code page's double-byte table (JIS X 0208 with the NEC and
    // IBM extensions, several thousand characters).
    EXPECT_GT(characters, 7000);
}

} // namespace
} // namespace velnor
