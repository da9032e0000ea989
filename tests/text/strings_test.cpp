#include "text/strings.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/codepage.hpp"

namespace oradel {
namespace {

std::string Ansi(std::string_view utf8) {
    return Cp1251FromUtf8(utf8);
}

// Replace-all exactly as the loop is written: replace the first occurrence,
// search again from the start.
void RestartingReplaceAll(std::string& text, const std::string& searched,
                          const std::string& replacement) {
    if (searched.empty()) return;
    for (std::size_t at = text.find(searched); at != std::string::npos; at = text.find(searched)) {
        text.replace(at, searched.size(), replacement);
    }
}

TEST(UpperCaseRu, MapsRussianAndLatinLettersOnly) {
    const struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        {"ёлка.wpt", "ЁЛКА.WPT"},
        {"їжак", "їЖАК"},
        {"", ""},
        {"abc xyz 0-9 .gpx", "ABC XYZ 0-9 .GPX"},
        {"щъыьэюя ЩЪЫ", "ЩЪЫЬЭЮЯ ЩЪЫ"},
        {"і є ґ ў ђ ѓ љ њ ќ ћ џ ј ѕ µ", "і є ґ ў ђ ѓ љ њ ќ ћ џ ј ѕ µ"},
    };
    for (const auto& c : cases) EXPECT_EQ(UpperCaseRu(Ansi(c.utf8)), Ansi(c.expected)) << c.utf8;
}

TEST(ReplaceAll, CallersPairs) {
    const struct {
        std::string text, searched, replacement, expected;
    } cases[] = {
        {"a    b", "  ", " ", "a b"},   {"   x     y  ", "  ", " ", " x y "},
        {"a b  c", " ", "_", "a_b__c"}, {"1,2,,3", ",", " ", "1 2  3"},
        {"abc", "", "x", "abc"},        {"", "  ", " ", ""},
        {"aab", "ab", "ba", "baa"},     {"aaaa", "aa", "a", "a"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        ReplaceAll(text, c.searched, c.replacement);
        EXPECT_EQ(text, c.expected) << '"' << c.text << "\" " << c.searched;
    }
    std::string phone = "8 (912) 345-67";
    for (const char* filler : {" ", "-", "(", ")"}) ReplaceAll(phone, filler, "");
    EXPECT_EQ(phone, "891234567");
}

TEST(ReplaceAll, ReplacementHoldingSearchedTextIsRefused) {
    std::string text = "a b";
    EXPECT_THROW(ReplaceAll(text, " ", "  "), std::invalid_argument);
    std::string without = "ab";
    EXPECT_NO_THROW(ReplaceAll(without, " ", "  "));  // nothing to replace: the loop ends at once
    EXPECT_EQ(without, "ab");
}

TEST(ReplaceAll, SameResultAsRestartingLoopOnRandomTexts) {
    const struct {
        std::string alphabet, searched, replacement;
    } pairs[] = {
        {" a", "  ", " "}, {" a", " ", "_"},     {" ,_", ",", " "},  {" ,_", "  ", " "},
        {" ,_", " ", "_"}, {" -()8", "-", ""},   {"ab", "ab", "ba"}, {"ab", "aba", "b"},
        {"ab", "aa", "a"}, {"abc", "abc", "ca"},
    };
    std::mt19937 random(20240601);
    for (const auto& pair : pairs) {
        std::uniform_int_distribution<std::size_t> pick(0, pair.alphabet.size() - 1);
        for (int round = 0; round < 20000; ++round) {
            std::string text(random() % 16, ' ');
            for (char& c : text) c = pair.alphabet[pick(random)];
            std::string expected = text;
            RestartingReplaceAll(expected, pair.searched, pair.replacement);
            std::string actual = text;
            ReplaceAll(actual, pair.searched, pair.replacement);
            ASSERT_EQ(actual, expected) << '"' << text << "\" " << pair.searched;
        }
    }
}

TEST(ReplaceAll, CollapsesTenMegabytesOfSpacesInLinearTime) {
    std::string text(10'000'000, ' ');
    const auto start = std::chrono::steady_clock::now();
    ReplaceAll(text, "  ", " ");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(text, " ");
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(ConvertCodePage, RecodesLettersAndNumeroSignOnly) {
    std::string elka = Ansi("Ёлка");
    ConvertCodePage(elka, 1);
    EXPECT_EQ(elka, "\xA8\xAB\xAA\xA0");

    std::string cp866yo = "\xF1";
    ConvertCodePage(cp866yo, 2);
    EXPECT_EQ(cp866yo, "\xF1");

    const std::string letters = Ansi("АЯапря№ Z1");
    std::string text = letters;
    ConvertCodePage(text, 1);
    EXPECT_EQ(text, "\x80\x9F\xA0\xAF\xE0\xEF\xFC Z1");
    ConvertCodePage(text, 2);
    EXPECT_EQ(text, letters);

    for (int mode : {0, 3}) {
        std::string unchanged = letters;
        ConvertCodePage(unchanged, mode);
        EXPECT_EQ(unchanged, letters);
    }
}

TEST(ConvertCodePage, EveryByteRoundTripsOrStays) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    std::string text = all;
    ConvertCodePage(text, 1);
    ConvertCodePage(text, 2);
    // Only 0x80-0xAF change: no Windows-1251 letter, they pass mode 1 unchanged
    // and then read as CP866 letters in mode 2.
    for (int byte = 0; byte < 256; ++byte) {
        const bool recodedByMode2Only = byte >= 0x80 && byte <= 0xAF;
        EXPECT_EQ(text[byte] != all[byte], recodedByMode2Only) << byte;
    }
}

struct SplitCase {
    std::string line, separator, field, rest;
};

const std::vector<SplitCase>& SplitCases() {
    static const std::vector<SplitCase> cases = {
        {"  55.75   37.61 ", " ", "55.75", "  37.61"},
        {"  37.61", " ", "37.61", ""},
        {"ab |c", "|", "ab ", "c"},
        {"|x", "|", "", "x"},
        {"ab|", "|", "ab", ""},
        {"   ", "|", "", ""},
        {"\t a [ b ] \r", "[", "a ", " b ]"},
        {" a b ", "", "a b", ""},
        {"", " ", "", ""},
    };
    return cases;
}

TEST(SplitFirstField, CutsTrimmedLineAtFirstSeparator) {
    for (const auto& c : SplitCases()) {
        std::string line = c.line;
        std::string field = "old";
        SplitFirstField(line, field, c.separator);
        EXPECT_EQ(field, c.field) << '"' << c.line << '"';
        EXPECT_EQ(line, c.rest) << '"' << c.line << '"';

        std::string_view lineView = c.line;
        std::string_view fieldView;
        SplitFirstField(lineView, fieldView, c.separator);
        EXPECT_EQ(fieldView, c.field) << '"' << c.line << '"';
        EXPECT_EQ(lineView, c.rest) << '"' << c.line << '"';
    }
}

TEST(Trim, RemovesControlCharactersAndSpacesAtBothEnds) {
    EXPECT_EQ(Trim("\x01\t a b \r\n"), "a b");
    EXPECT_EQ(Trim(" \x1F "), "");
    EXPECT_EQ(Trim(Ansi(" ё ")), Ansi("ё"));  // 0xB8 is above 0x20
}

}  // namespace
}  // namespace oradel
