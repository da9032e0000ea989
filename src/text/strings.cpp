#include "text/strings.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "text/codepage.hpp"

namespace oradel {
namespace {

using ByteMap = std::array<unsigned char, 256>;

ByteMap IdentityMap() {
    ByteMap map{};
    for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<unsigned char>(i);
    return map;
}

// Maps entry k of `from` to entry k of `to`; the first entry wins for a byte
// that stands twice in `from`, as a search from the start would find it.
ByteMap MapByTables(std::string_view from, std::string_view to) {
    ByteMap map = IdentityMap();
    std::array<bool, 256> seen{};
    for (std::size_t k = 0; k < from.size() && k < to.size(); ++k) {
        const auto byte = static_cast<unsigned char>(from[k]);
        if (seen[byte]) continue;
        seen[byte] = true;
        map[byte] = static_cast<unsigned char>(to[k]);
    }
    return map;
}

const ByteMap& UpperCaseMap() {
    static const ByteMap map = MapByTables(
        Windows1251FromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюяqwertyuiopasdfghjklzxcvbnm"),
        Windows1251FromUtf8("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯQWERTYUIOPASDFGHJKLZXCVBNM"));
    return map;
}

// The 65 letters of both code pages in the same order: А-Я, а-я, then №.
std::string Windows1251Letters() {
    return Windows1251FromUtf8("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя№");
}

std::string Cp866Letters() {
    std::string letters;
    for (int byte = 0x80; byte <= 0xAF; ++byte) letters.push_back(static_cast<char>(byte));
    for (int byte = 0xE0; byte <= 0xEF; ++byte) letters.push_back(static_cast<char>(byte));
    letters.push_back(static_cast<char>(0xFC));
    return letters;
}

const ByteMap& Cp866FromWindows1251Map() {
    static const ByteMap map = MapByTables(Windows1251Letters(), Cp866Letters());
    return map;
}

void ApplyMap(std::string& text, const ByteMap& map) {
    for (char& c : text) c = static_cast<char>(map[static_cast<unsigned char>(c)]);
}

}  // namespace

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string UpperCaseRu(std::string_view text) {
    std::string upper(text);
    ApplyMap(upper, UpperCaseMap());
    return upper;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           UpperCaseRu(text.substr(0, prefix.size())) == UpperCaseRu(prefix);
}

void ReplaceByte(std::string& text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
}

void CollapseRuns(std::string& text, char repeated) {
    const auto both = [repeated](char left, char right) {
        return left == repeated && right == repeated;
    };
    text.erase(std::unique(text.begin(), text.end(), both), text.end());
}

void AppendHex(std::string& out, unsigned value, int digits, HexCase letters) {
    const std::string_view hex =
        letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += hex[(value >> shift) & 15];
}

void RecodeLettersToCp866(std::string& text) {
    ApplyMap(text, Cp866FromWindows1251Map());
}

void SplitFirstField(std::string& line, std::string& field, std::string_view separator) {
    std::string_view rest = line;
    std::string_view before;
    SplitFirstField(rest, before, separator);
    field.assign(before);
    if (rest.empty()) {
        line.clear();
        return;
    }
    const auto start = static_cast<std::size_t>(rest.data() - line.data());
    line.erase(start + rest.size());
    line.erase(0, start);
}

void SplitFirstField(std::string_view& line, std::string_view& field, std::string_view separator) {
    const std::string_view trimmed = TrimView(line);
    const std::size_t at = separator.empty() ? std::string_view::npos : trimmed.find(separator);
    if (at == std::string_view::npos) {
        field = trimmed;
        line = std::string_view();
        return;
    }
    field = trimmed.substr(0, at);
    line = trimmed.substr(at + separator.size());
}

}  // namespace oradel
