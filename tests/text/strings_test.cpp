#include "text/strings.hpp"

#include <gtest/gtest.h>

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

// The writers' replacements agree with replacing the first occurrence and
// searching again from the start until none is left.
TEST(ReplaceByteAndCollapseRuns, SameAsRestartingLoop) {
    const struct {
        std::string text, searched, replacement;
    } cases[] = {
        {"a    b", "  ", " "}, {"   x     y  ", "  ", " "}, {"", "  ", " "},
        {"a b  c", " ", "_"},  {"1,2,,3", ",", " "},        {",,", ",", " "},
    };
    for (const auto& c : cases) {
        std::string expected = c.text;
        RestartingReplaceAll(expected, c.searched, c.replacement);
        std::string actual = c.text;
        if (c.searched.size() == 2) {
            CollapseRuns(actual, c.replacement[0]);
        } else {
            ReplaceByte(actual, c.searched[0], c.replacement[0]);
        }
        EXPECT_EQ(actual, expected) << '"' << c.text << "\" " << c.searched;
    }
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
