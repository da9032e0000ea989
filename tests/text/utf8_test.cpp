#include "text/utf8.hpp"

#include <gtest/gtest.h>

#include <string>

#include "text/codepage.hpp"

namespace oradel {
namespace {

TEST(Utf16ToUtf8Buffer, SequenceThatDoesNotFitIsNotBegun) {
    const char16_t abv[] = {u'а', u'б', u'в'};
    unsigned char buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(Utf16ToUtf8Buffer(buffer, 4, abv, 3), 4u);
    EXPECT_EQ(buffer[0], 0xD0);
    EXPECT_EQ(buffer[1], 0xB0);
    EXPECT_EQ(buffer[2], 0xD0);
    EXPECT_EQ(buffer[3], 0x00);
    EXPECT_EQ(Utf16ToUtf8Buffer(nullptr, 0, abv, 3), 7u);
    EXPECT_EQ(Utf16ToUtf8Buffer(buffer, 4, nullptr, 3), 0u);

    unsigned char five[5];
    EXPECT_EQ(Utf16ToUtf8Buffer(five, 5, abv, 3), 5u);  // б fits whole, в does not
    EXPECT_EQ(five[3], 0xB1);
    EXPECT_EQ(five[4], 0x00);
    EXPECT_EQ(Utf16ToUtf8Buffer(five, 0, abv, 3), 0u);  // no room for the terminator
}

TEST(Utf8ToUtf16Buffer, CountsAndMarksIllFormedSource) {
    const unsigned char text[] = {'a', 0xD0, 0xB1, 0xE2, 0x84, 0x96};
    EXPECT_EQ(Utf8ToUtf16Buffer(nullptr, 0, text, 6), 4u);
    char16_t units[3];
    EXPECT_EQ(Utf8ToUtf16Buffer(units, 3, text, 6), 3u);  // cut at the buffer size
    EXPECT_EQ(units[0], u'a');
    EXPECT_EQ(units[1], u'б');
    EXPECT_EQ(units[2], 0);
    const unsigned char cut[] = {'a', 0xD0};
    EXPECT_EQ(Utf8ToUtf16Buffer(nullptr, 0, cut, 2), kMalformedUtf8);
    EXPECT_EQ(Utf8ToUtf16Buffer(units, 3, cut, 2), kMalformedUtf8);
    EXPECT_EQ(Utf8ToUtf16Buffer(units, 3, nullptr, 2), 0u);
}

TEST(Utf8ToWide, LenientDecoderQuirks) {
    const struct {
        std::string utf8;
        std::u16string expected;
    } cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {std::string("\xC0\x80", 2), std::u16string(1, u'\0')},
        {"\xD0", u""},
        {"\xD0\x41", u""},
        {"\xF0\x9F\x98\x80", u""},
        {"\xED\xA0\xBD\xED\xB8\x80", u"\xD83D\xDE00"},
        {"\xEF\xBB\xBFok", u"\xFEFFok"},
        {"\x81\x81", u"\x0041"},      // 0x80-0xBF accepted as a two-byte lead
        {"\xA1\x81\x81", u"\x1041"},  // and with bit 0x20 as a three-byte lead
        {"\xF9\x81\x81", u"\x9041"},  // F0-FF keep only their low four bits
        {"\xE2\x84\x96", u"№"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToWide(c.utf8), c.expected) << c.utf8;
}

TEST(WideToUtf8, EncodesEachUnitOnItsOwn) {
    EXPECT_EQ(WideToUtf8(u""), "");
    EXPECT_EQ(WideToUtf8(u"\xD83D\xDE00"), "\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(WideToUtf8(u"\xDC00x"), "\xED\xB0\x80x");
    EXPECT_EQ(WideToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));
    EXPECT_EQ(WideToUtf8(u"\u007F\u0080\u07FF\u0800\uFFFF"),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

TEST(AnsiToUtf8Text, ConvertsWindows1251) {
    EXPECT_EQ(AnsiToUtf8Text(Cp1251FromUtf8("Ёлка")), "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0");
    EXPECT_EQ(AnsiToUtf8Text("\xB9"), "\xE2\x84\x96");
    EXPECT_EQ(AnsiToUtf8Text("plain ASCII 1.5"), "plain ASCII 1.5");
    EXPECT_EQ(AnsiToUtf8Text(""), "");
    EXPECT_EQ(AnsiToUtf8Text("\x98\x88"), "\xC2\x98\xE2\x82\xAC");
}

TEST(Utf8ToAnsiText, ConvertsToWindows1251) {
    const struct {
        std::string utf8;
        std::string expected;
    } cases[] = {
        {"\xD0\x81", "\xA8"},
        {"\xE2\x84\x96", "\xB9"},
        {"", ""},
        {"\xEF\xBB\xBFok", "?ok"},           // the byte-order mark stays, as '?'
        {"\xD0\xBB\xD0", ""},                // ill-formed: nothing at all
        {"\xF0\x9F\x98\x80", ""},            // four-byte form is ill-formed here
        {"\xED\xA0\xBD\xED\xB8\x80", "??"},  // a surrogate pair gives one '?' per unit
        {"Caf\xC3\xA9 \xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "Cafe Lodz"},
        {"\xE4\xB8\xAD", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsiText(c.utf8), c.expected) << c.utf8;
}

TEST(Utf8Validator, StrictStandardUtf8) {
    const struct {
        std::string bytes;
        bool wellFormed;
        bool multiByte;
    } cases[] = {
        {"", true, false},
        {"plain", true, false},
        {"\xD0\x81\xE2\x84\x96\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", true, true},
        {"\xC0\x80", false, false},
        {"\xC1\xBF", false, false},
        {"\xE0\x9F\xBF", false, true},
        {"\xED\xA0\x80", false, true},
        {"\xED\x9F\xBF", true, true},
        {"\xF0\x8F\xBF\xBF", false, true},
        {"\xF4\x90\x80\x80", false, true},
        {"\xF5\x80\x80\x80", false, false},
        {"\x80", false, false},
        {"\xD0", false, true},
        {"\xE2\x84", false, true},
        {"\xD0\x41", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWellFormedUtf8(c.bytes), c.wellFormed) << c.bytes;
        // Every way of cutting the input into two blocks gives the same answer.
        for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
            Utf8Validator validator;
            validator.Feed(std::string_view(c.bytes).substr(0, cut));
            validator.Feed(std::string_view(c.bytes).substr(cut));
            EXPECT_EQ(validator.WellFormed(), c.wellFormed) << c.bytes << " cut " << cut;
            if (c.wellFormed) {
                EXPECT_EQ(validator.SawMultiByte(), c.multiByte) << c.bytes;
            }
        }
    }
}

}  // namespace
}  // namespace oradel
