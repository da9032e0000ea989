#include "text/markup.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/codepage.hpp"

namespace oradel {
namespace {

// The whole expansion of a line as one text.
std::string ExpandLinkMarkup(std::string_view line) {
    std::string expanded;
    oradel::ExpandLinkMarkup(line, [&expanded](std::string_view piece) { expanded += piece; });
    return expanded;
}

// ---- The markup expansion exactly as the loops are written, for comparison.

void RestartingSplit(std::string& line, std::string& field, const std::string& separator) {
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 0x20) --end;
    const std::string trimmed = line.substr(begin, end - begin);
    const std::size_t at = trimmed.find(separator);
    if (at == std::string::npos) {
        field = trimmed;
        line.clear();
    } else {
        field = trimmed.substr(0, at);
        line = trimmed.substr(at + separator.size());
    }
}

std::string RestartingClean(std::string number) {
    for (const std::string filler : {" ", "-", "(", ")"}) {
        for (auto at = number.find(filler); at != std::string::npos; at = number.find(filler)) {
            number.erase(at, 1);
        }
    }
    return number;
}

std::string RestartingExpand(std::string rest) {
    std::string head, address, title;
    for (;;) {
        RestartingSplit(rest, head, "[");
        if (rest.empty()) break;
        RestartingSplit(rest, address, "|");
        RestartingSplit(rest, title, "]");
        rest = head + "<a href=\"" + address + "\" target=\"_blank\">" + title + "</a>" + rest;
    }
    rest = head;
    for (;;) {
        RestartingSplit(rest, head, "{");
        if (rest.empty()) break;
        RestartingSplit(rest, address, "|");
        RestartingSplit(rest, title, "}");
        rest = head + "<a href=\"tel:" + RestartingClean(address) + "\" target=\"_blank\">" +
               title + "</a>" + rest;
    }
    return head;
}

std::string Anchor(const std::string& address, const std::string& title) {
    return "<a href=\"" + address + "\" target=\"_blank\">" + title + "</a>";
}

TEST(ExpandLinkMarkup, WorkedExamples) {
    const struct {
        std::string line, expected;
    } cases[] = {
        {"  plain text\t", "plain text"},
        {"", ""},
        {"see [addr|Site] now", "see " + Anchor("addr", "Site") + " now"},
        {"[a|A] and [ b |B ]", Anchor("a", "A") + " and " + Anchor("b ", "B ")},
        {"call {+7 (912) 345-67-89|Office}", "call " + Anchor("tel:+79123456789", "Office")},
        {"[x|y] {1 2|z}", Anchor("x", "y") + " " + Anchor("tel:12", "z")},
        {"only address [addr]", "only address " + Anchor("addr]", "")},
        {"dropped [", "dropped"},
        {"kept space {", "kept space "},
        {"[a|b|c]d", Anchor("a", "b|c") + "d"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpandLinkMarkup(c.line), c.expected) << c.line;
        EXPECT_EQ(ExpandLinkMarkup(c.line), RestartingExpand(c.line)) << c.line;
    }
}

TEST(ExpandLinkMarkup, SameResultAsRestartingLoopOnRandomLines) {
    const std::string alphabets[] = {" [|]{}-()ab", "[[|]]{{|}}( a\t", "[]{}| -"};
    std::mt19937 random(7);
    for (const std::string& alphabet : alphabets) {
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        for (int round = 0; round < 60000; ++round) {
            std::string line(random() % 22, ' ');
            for (char& c : line) c = alphabet[pick(random)];
            ASSERT_EQ(ExpandLinkMarkup(line), RestartingExpand(line)) << '"' << line << '"';
        }
    }
}

TEST(ExpandLinkMarkup, NestedLinesMatchRestartingLoop) {
    for (const std::string unit : {"[", "{(", "[a|", "{ |-", "[{|}]", "{[|]}"}) {
        std::string line;
        for (int i = 0; i < 60; ++i) line += unit;
        line += " x";
        EXPECT_EQ(ExpandLinkMarkup(line), RestartingExpand(line)) << line;
    }
}

TEST(FilterTag, FirstTagOnly) {
    const struct {
        std::string name, stripped, extracted;
    } cases[] = {
        {"Col <N NW>", "Col", "N NW"}, {"a > b <c>", "a > b <c>", ""},
        {" x <> y ", "x  y", ""},      {"<S> Peak <N>", "Peak <N>", "S"},
        {"  no tag  ", "no tag", ""},  {"open < only", "open < only", ""},
        {"<  a  b  >", "", "a  b"},    {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripFilterTag(c.name), c.stripped) << c.name;
        EXPECT_EQ(ExtractFilterTag(c.name), c.extracted) << c.name;
    }
}

TEST(Transliterate, ReplacesCyrillicLetters) {
    const struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        {"Щука Ёж", "Shchuka Yozh"},
        {"абвгдеёжзийклмнопрстуфхцчшщьыъэюя", "abvgdeyozhziyklmnoprstufkhtschshshch'y'eyuya"},
        {"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯ", "ABVGDEYoZhZIYKLMNOPRSTUFKhTsChShShch'Y'EYuYa"},
        {"Mt. Blanc 4808 м", "Mt. Blanc 4808 m"},
        {"Краєвид Київ, Ґанок, Ўзбек", "Krayevid Kiyiv, Ganok, Uzbek"},
        {"іїєґўІЇЄҐЎ №5", "iyiyeguIYiYeGU N5"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Transliterate(Windows1251FromUtf8(c.utf8)), Windows1251FromUtf8(c.expected))
            << c.utf8;
    }
}

TEST(UrlEncodeUtf8, PercentEncodesUtf8Bytes) {
    const struct {
        std::u16string text;
        std::string expected;
    } cases[] = {
        {u"a Z 9", "a+Z+9"},
        {u"'", "%27"},
        {u"/", "%2f"},
        {u"А", "%d0%90"},
        {u"-_.!*~\\()", "-_.!*~\\()"},
        {u"\u0001?&=", "%01%3f%26%3d"},
        {u"\u20AC", "%e2%82%ac"},
        {u"\xD83D\xDE00", "%ed%a0%bd%ed%b8%80"},
        {u"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlEncodeUtf8(c.text), c.expected) << c.expected;
}

}  // namespace
}  // namespace oradel
