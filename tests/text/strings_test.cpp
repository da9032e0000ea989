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

TEST(ReplaceByteAndCollapseRuns, ReplaceEveryByteAndCollapseEveryRun) {
    const std::pair<std::string, std::string> collapsed[] = {
        {"a    b", "a b"}, {"   x     y  ", " x y "}, {"", ""}, {"a b", "a b"}};
    for (auto [text, expected] : collapsed) {
        CollapseRuns(text, ' ');
        EXPECT_EQ(text, expected);
    }
    std::string text = "1,2,,3,";
    ReplaceByte(text, ',', ' ');
    EXPECT_EQ(text, "1 2  3 ");
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
