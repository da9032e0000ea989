#include "text/codepage.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace oradel {
namespace {

TEST(Windows1251, EveryByteMapsToADistinctCharacterAndBack) {
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t character = Windows1251ToUnicode(static_cast<unsigned char>(byte));
        std::string windows1251;
        EXPECT_TRUE(AppendWindows1251(windows1251, character)) << byte;
        EXPECT_EQ(windows1251, std::string(1, static_cast<char>(byte))) << byte;
    }
}

TEST(Windows1251, CharactersOfTheUpperHalf) {
    const struct {
        unsigned char byte;
        char32_t character;
    } cases[] = {
        {0x80, U'Ђ'}, {0x88, U'€'}, {0x98, 0x0098}, {0xA8, U'Ё'},
        {0xB9, U'№'}, {0xC0, U'А'}, {0xFF, U'я'},
    };
    for (const auto& c : cases) EXPECT_EQ(Windows1251ToUnicode(c.byte), c.character) << int{c.byte};
}

// Latin letters with diacritics (Latin-1 Supplement, Extended-A, -B and
// Additional) lose them; ligatures and ß become two letters; the rest is '?'.
TEST(Windows1251, BestFitOutsideTheCodePage) {
    const struct {
        char32_t character;
        const char* expected;
    } cases[] = {
        {U'é', "e"},   {U'ü', "u"},   {U'Ł', "L"}, {U'ł', "l"},     {U'Ø', "O"},  {U'Ç', "C"},
        {U'ñ', "n"},   {U'Ž', "Z"},   {U'ÿ', "y"}, {U'Ÿ', "Y"},     {U'ş', "s"},  {U'ș', "s"},
        {U'Ț', "T"},   {U'ğ', "g"},   {U'ı', "i"}, {U'đ', "d"},     {U'ǎ', "a"},  {U'ơ', "o"},
        {U'ư', "u"},   {U'ạ', "a"},   {U'ế', "e"}, {U'Ỹ', "Y"},     {U'ß', "ss"}, {U'ẞ', "SS"},
        {U'Æ', "AE"},  {U'œ', "oe"},  {U'×', "?"}, {U'£', "?"},     {U'Ω', "?"},  {U'中', "?"},
        {0xFEFF, "?"}, {0xD83D, "?"}, {U'😀', "?"}, {0x110000, "?"}, {U'Þ', "?"},  {U'ʼ', "?"},
    };
    for (const auto& c : cases) {
        std::string windows1251;
        EXPECT_FALSE(AppendWindows1251(windows1251, c.character));
        EXPECT_EQ(windows1251, c.expected) << std::hex << static_cast<std::uint32_t>(c.character);
    }
}

TEST(Windows1251FromUtf8, DecodesStandardUtf8AndMarksEachBadByte) {
    const struct {
        std::string utf8;
        std::string expected;
    } cases[] = {
        {"Ёлка №5",
         "\xA8\xEB\xEA\xE0 \xB9"
         "5"},
        {"", ""},
        {"caf\xC3\xA9 Stra\xC3\x9F"
         "e",
         "cafe Strasse"},
        {"\xF0\x9F\x98\x80!", "?!"},         // four-byte form: one character
        {"\xC0\x80", "??"},                  // overlong
        {"\xED\xA0\xBD", "???"},             // encoded surrogate
        {"\xD0", "?"},                       // cut off
        {"\xD0\x41", "?A"},                  // bad trail byte
        {"\xE2\x84\x96\xE2\x84", "\xB9??"},  // № then a cut-off sequence
        {"\xF4\x90\x80\x80", "????"},        // above U+10FFFF
        {"\xFF\x80", "??"},
    };
    for (const auto& c : cases) EXPECT_EQ(Windows1251FromUtf8(c.utf8), c.expected) << c.utf8;
}

TEST(Utf8FromWindows1251, EveryByteRoundTrips) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const std::string utf8 = Utf8FromWindows1251(all);
    EXPECT_EQ(Windows1251FromUtf8(utf8), all);
    EXPECT_EQ(Utf8FromWindows1251("\xB9\x88\x98"), "\xE2\x84\x96\xE2\x82\xAC\xC2\x98");
}

TEST(Utf8FromWindows1251, AppendingKeepsWhatTheLineHolds) {
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) everyByte.push_back(static_cast<char>(byte));
    for (const std::string& windows1251 :
         {everyByte, std::string(), std::string("44.2 \x98\xff abc")}) {
        std::string line = "head|";
        AppendUtf8FromWindows1251(line, windows1251);
        EXPECT_EQ(line, "head|" + Utf8FromWindows1251(windows1251));
    }
}

TEST(TryWindows1251FromUtf8, TellsExactReplacedAndMalformed) {
    const std::pair<std::string, Windows1251Conversion> cases[] = {
        {"", Windows1251Conversion::Exact},
        {"abc", Windows1251Conversion::Exact},
        {"\xD0\x81\xE2\x84\x96", Windows1251Conversion::Exact},
        {"Stra\xC3\x9F"
         "e",
         Windows1251Conversion::Replaced},
        {"\xF0\x9F\x98\x80", Windows1251Conversion::Replaced},
        {"\xD0", Windows1251Conversion::Malformed},
        {"a\xC0\x80", Windows1251Conversion::Malformed},
        {"\xED\xA0\x80", Windows1251Conversion::Malformed},
        {"\xC8\xE5", Windows1251Conversion::Malformed},
        {"x\x80y", Windows1251Conversion::Malformed},
    };
    for (const auto& [utf8, result] : cases) {
        std::string windows1251 = "old";
        EXPECT_EQ(TryWindows1251FromUtf8(utf8, windows1251), result) << utf8;
        if (result != Windows1251Conversion::Malformed) {
            EXPECT_EQ(windows1251, Windows1251FromUtf8(utf8));
        }
    }
}

}  // namespace
}  // namespace oradel
