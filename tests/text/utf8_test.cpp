#include "text/utf8.hpp"

#include <gtest/gtest.h>

#include <string>

namespace oradel {
namespace {

// Each character's standard form, and back.
TEST(Utf8Codec, EncodesAndDecodesStandardForms) {
    const std::pair<char32_t, std::string> cases[] = {
        {0x0, std::string(1, '\0')},
        {U'A', "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {U'Ё', "\xD0\x81"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {U'№', "\xE2\x84\x96"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0x10000, "\xF0\x90\x80\x80"},
        {U'😀', "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [character, form] : cases) {
        std::string encoded;
        AppendUtf8(encoded, character);
        EXPECT_EQ(encoded, form);
        char32_t decoded = 0;
        EXPECT_EQ(DecodeUtf8(form, 0, decoded), form.size());
        EXPECT_EQ(decoded, character);
    }
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
