// ExpandLinkMarkup and the other markup and string operations, each checked
// against a plain transcription of its rule: the library's versions work in
// one linear pass, the transcriptions rescan from the start as the rules are
// worded, so they run on short inputs only.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "text/codepage.hpp"
#include "text/markup.hpp"
#include "text/strings.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

namespace {

constexpr std::size_t kLongestForReference = 512;

// Replace the first occurrence, search again from the start, until none is left.
std::string ReplaceAllByRule(std::string text, std::string_view searched,
                             std::string_view replacement) {
    if (searched.empty()) return text;
    for (std::size_t at = text.find(searched); at != std::string::npos; at = text.find(searched)) {
        text.replace(at, searched.size(), replacement);
    }
    return text;
}

std::string CleanPhoneNumberByRule(std::string number) {
    for (const std::string_view filler : {" ", "-", "(", ")"}) {
        number = ReplaceAllByRule(number, filler, "");
    }
    return number;
}

// One pass of the markup rule with its three separators.
std::string MarkupPassByRule(std::string rest, std::string_view open, std::string_view close,
                             std::string_view anchorStart, bool phone) {
    for (;;) {
        std::string head, address, title;
        SplitFirstField(rest, head, open);
        if (rest.empty()) return head;
        SplitFirstField(rest, address, "|");
        SplitFirstField(rest, title, close);
        if (phone) address = CleanPhoneNumberByRule(address);
        rest = head + std::string(anchorStart) + address + "\" target=\"_blank\">" + title +
               "</a>" + rest;
    }
}

std::string ExpandLinkMarkupByRule(std::string_view line) {
    const std::string links = MarkupPassByRule(std::string(line), "[", "]", "<a href=\"", false);
    return MarkupPassByRule(links, "{", "}", "<a href=\"tel:", true);
}

std::string TransliterateByRule(std::string_view text) {
    static const std::string letters = Windows1251FromUtf8(
        "абвгдеёжзийклмнопрстуфхцчшщьыъэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯ"
        "іїєґўІЇЄҐЎ№");
    static constexpr std::array<std::string_view, 77> kLatin = {
        "a",    "b",  "v",  "g",  "d",  "e",  "yo", "zh",   "z",  "i",  "y",  "k",  "l",
        "m",    "n",  "o",  "p",  "r",  "s",  "t",  "u",    "f",  "kh", "ts", "ch", "sh",
        "shch", "'",  "y",  "'",  "e",  "yu", "ya", "A",    "B",  "V",  "G",  "D",  "E",
        "Yo",   "Zh", "Z",  "I",  "Y",  "K",  "L",  "M",    "N",  "O",  "P",  "R",  "S",
        "T",    "U",  "F",  "Kh", "Ts", "Ch", "Sh", "Shch", "'",  "Y",  "'",  "E",  "Yu",
        "Ya",   "i",  "yi", "ye", "g",  "u",  "I",  "Yi",   "Ye", "G",  "U",  "N",
    };
    std::string latin;
    for (const char c : text) {
        const std::size_t k = letters.find(c);
        latin += k == std::string::npos ? std::string(1, c) : std::string(kLatin[k]);
    }
    return latin;
}

void CheckFilterTag(std::string_view name) {
    const std::size_t open = name.find('<');
    const std::size_t close = name.find('>');
    const bool tagged =
        open != std::string_view::npos && close != std::string_view::npos && close > open;
    const std::string stripped =
        tagged ? std::string(name.substr(0, open)) + std::string(name.substr(close + 1))
               : std::string(name);
    Expect(StripFilterTag(name) == Trim(stripped), "StripFilterTag follows its rule");
    const std::string extracted = tagged ? Trim(name.substr(open + 1, close - open - 1)) : "";
    Expect(ExtractFilterTag(name) == extracted, "ExtractFilterTag follows its rule");
}

// The writers' replacements against replacing the first occurrence and
// searching again from the start.
void CheckReplacements(std::string_view text) {
    std::string collapsed(text);
    CollapseRuns(collapsed, ' ');
    Expect(collapsed == ReplaceAllByRule(std::string(text), "  ", " "),
           "CollapseRuns follows its rule");
    std::string replaced(text);
    ReplaceByte(replaced, ',', ' ');
    Expect(replaced == ReplaceAllByRule(std::string(text), ",", " "),
           "ReplaceByte follows its rule");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = AsText(data, size);
    std::string expanded;
    ExpandLinkMarkup(line, [&expanded](std::string_view piece) { expanded += piece; });
    Expect(Transliterate(line) == TransliterateByRule(line), "Transliterate follows its rule");
    CheckFilterTag(line);
    if (size > kLongestForReference) return 0;
    Expect(expanded == ExpandLinkMarkupByRule(line), "ExpandLinkMarkup follows its rule");
    CheckReplacements(line);
    return 0;
}
