#include "text/strings.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/codepage.hpp"

namespace oradel {
namespace {

std::string Windows1251(std::string_view utf8) {
    return Windows1251FromUtf8(utf8);
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
    for (const auto& c : cases)
        EXPECT_EQ(UpperCaseRu(Windows1251(c.utf8)), Windows1251(c.expected)) << c.utf8;
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

TEST(RecodeLettersToCp866, RecodesLettersAndNumeroSignOnly) {
    std::string text = Windows1251("АЯапря№ Z1Ёё");
    RecodeLettersToCp866(text);
    EXPECT_EQ(text, "\x80\x9F\xA0\xAF\xE0\xEF\xFC Z1\xA8\xB8");
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    std::string recoded = all;
    RecodeLettersToCp866(recoded);
    for (int byte = 0; byte < 256; ++byte) {
        const bool letter = (byte >= 0xC0) || byte == 0xB9;
        EXPECT_EQ(recoded[byte] != all[byte], letter) << byte;
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
    EXPECT_EQ(Trim(Windows1251(" ё ")), Windows1251("ё"));  // 0xB8 is above 0x20
}

}  // namespace
}  // namespace oradel
