#include "text/strings.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>

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
    static const ByteMap map =
        MapByTables(Cp1251FromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюяqwertyuiopasdfghjklzxcvbnm"),
                    Cp1251FromUtf8("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯQWERTYUIOPASDFGHJKLZXCVBNM"));
    return map;
}

// The 65 letters of both code pages in the same order: А-Я, а-я, then №.
std::string Windows1251Letters() {
    return Cp1251FromUtf8("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя№");
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

const ByteMap& Windows1251FromCp866Map() {
    static const ByteMap map = MapByTables(Cp866Letters(), Windows1251Letters());
    return map;
}

void ApplyMap(std::string& text, const ByteMap& map) {
    for (char& c : text) c = static_cast<char>(map[static_cast<unsigned char>(c)]);
}

// 0x80 in every zero byte of `word` and nothing elsewhere (no borrow runs
// between bytes, unlike the shorter test that only tells whether one is zero).
std::uint64_t ZeroBytes(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The first place where `first` is directly followed by `second`, testing
// eight places at a time on little-endian machines.
std::size_t FindPair(std::string_view text, char first, char second) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    std::size_t at = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t firsts = kOnes * static_cast<unsigned char>(first);
        const std::uint64_t seconds = kOnes * static_cast<unsigned char>(second);
        for (; at + 9 <= text.size(); at += 8) {
            std::uint64_t here, next;
            std::memcpy(&here, text.data() + at, sizeof here);
            std::memcpy(&next, text.data() + at + 1, sizeof next);
            const std::uint64_t found = ZeroBytes(here ^ firsts) & ZeroBytes(next ^ seconds);
            if (found != 0) return at + (std::countr_zero(found) >> 3);
        }
    }
    for (; at + 1 < text.size(); ++at) {
        if (text[at] == first && text[at + 1] == second) return at;
    }
    return std::string_view::npos;
}

// std::string::find, with the short texts the writers search for looked up
// without a library call per candidate byte.
std::size_t FindFirst(std::string_view text, std::string_view searched) {
    if (searched.size() == 1) return text.find(searched[0]);
    if (searched.size() == 2) return FindPair(text, searched[0], searched[1]);
    return text.find(searched);
}

// The pairs the writers pass, in one pass from `first` (the first occurrence).
// A single searched byte cannot be formed anew, since the replacement does not
// hold it; "cc" -> "c" leaves one c of every run of them. False for any other
// pair, which takes the general way.
bool ReplaceAllFast(std::string& text, std::size_t first, std::string_view searched,
                    std::string_view replacement) {
    const auto from = text.begin() + static_cast<std::ptrdiff_t>(first);
    if (searched.size() == 1 && replacement.size() == 1) {
        std::replace(from, text.end(), searched[0], replacement[0]);
        return true;
    }
    if (searched.size() == 1 && replacement.empty()) {
        text.erase(std::remove(from, text.end(), searched[0]), text.end());
        return true;
    }
    if (searched.size() == 2 && searched[0] == searched[1] && replacement == searched.substr(1)) {
        const char c = searched[0];
        char* const bytes = text.data();
        const std::size_t size = text.size();
        std::size_t kept = first;
        for (std::size_t read = first; read < size; ++read) {
            const char byte = bytes[read];
            if (byte == c && kept > 0 && bytes[kept - 1] == c) continue;
            bytes[kept++] = byte;
        }
        text.resize(kept);
        return true;
    }
    return false;
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

// Replacing the first occurrence and searching again from the start is the same
// as one left-to-right pass that keeps the text done so far (free of `searched`)
// and pushes each replacement back in front of the unread input: the first
// occurrence to be completed while appending is always the leftmost one. Time is
// O(length x |searched|), which is linear for the short texts callers pass. The
// loop works on raw buffers: it runs once per byte, also in unoptimised builds.
void ReplaceAll(std::string& text, std::string_view searched, std::string_view replacement) {
    if (searched.empty()) return;
    const std::size_t first = FindFirst(text, searched);
    if (first == std::string::npos) return;
    if (replacement.find(searched) != std::string_view::npos) {
        throw std::invalid_argument("ReplaceAll: the replacement contains the searched text");
    }
    if (ReplaceAllFast(text, first, searched, replacement)) return;
    const std::size_t length = searched.size();
    const char* const wanted = searched.data();
    const char* const substitute = replacement.data();
    std::string done(text.size() + replacement.size() + 16, '\0');
    std::string pending(replacement.size() + 16, '\0');  // bytes to read first, next one last
    char* out = done.data();
    char* stack = pending.data();
    std::size_t outSize = first;
    std::size_t stackSize = 0;
    std::memcpy(out, text.data(), first);
    const char* in = text.data() + first;
    const char* const inEnd = text.data() + text.size();
    while (stackSize > 0 || in != inEnd) {
        const char c = stackSize > 0 ? stack[--stackSize] : *in++;
        if (outSize == done.size()) {
            done.resize(2 * outSize);
            out = done.data();
        }
        out[outSize++] = c;
        if (c != wanted[length - 1] || outSize < length ||
            std::memcmp(out + outSize - length, wanted, length) != 0) {
            continue;
        }
        outSize -= length;
        if (stackSize + replacement.size() > pending.size()) {
            pending.resize(2 * (stackSize + replacement.size()));
            stack = pending.data();
        }
        for (std::size_t k = replacement.size(); k > 0; --k) stack[stackSize++] = substitute[k - 1];
    }
    done.resize(outSize);
    text.swap(done);
}

void ConvertCodePage(std::string& text, int mode) {
    if (mode == 1) {
        ApplyMap(text, Cp866FromWindows1251Map());
    } else if (mode == 2) {
        ApplyMap(text, Windows1251FromCp866Map());
    }
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
