#include "text/codepage.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace oradel {
namespace {

// Unicode characters of the bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

constexpr char32_t kCyrillicCapitalA = 0x0410;
constexpr char32_t kCyrillicSmallYa = 0x044F;

// Base letters of U+00C0-U+017F, '?' where the character is not a Latin letter
// with a diacritic (ligatures, thorn, sharp s, kra, eng, the signs x and /).
constexpr std::string_view kLatinBaseLetters =
    "AAAAAA?CEEEEIIII"   // U+00C0
    "DNOOOOO?OUUUUY??"   // U+00D0
    "aaaaaa?ceeeeiiii"   // U+00E0
    "dnooooo?ouuuuy?y"   // U+00F0
    "AaAaAaCcCcCcCcDd"   // U+0100
    "DdEeEeEeEeEeGgGg"   // U+0110
    "GgGgHhHhIiIiIiIi"   // U+0120
    "Ii??JjKk?LlLlLlL"   // U+0130
    "lLlNnNnNn???OoOo"   // U+0140
    "Oo??RrRrRrSsSsSs"   // U+0150
    "SsTtTtTtUuUuUuUu"   // U+0160
    "UuUuWwYyYZzZzZz?";  // U+0170
constexpr char32_t kLatinBaseFirst = 0x00C0;

using ReverseEntry = std::pair<char16_t, unsigned char>;

// The upper half of the table sorted by Unicode character, for binary search.
const std::array<ReverseEntry, 64>& ReverseUpperHalf() {
    static const std::array<ReverseEntry, 64> table = [] {
        std::array<ReverseEntry, 64> entries{};
        for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
            entries[i] = {kUpperHalf[i], static_cast<unsigned char>(0x80 + i)};
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }();
    return table;
}

char BestFitOrQuestionMark(char32_t character) {
    if (character >= kLatinBaseFirst && character - kLatinBaseFirst < kLatinBaseLetters.size()) {
        return kLatinBaseLetters[character - kLatinBaseFirst];
    }
    return '?';
}

bool IsTrailByte(unsigned char byte, unsigned char lower = 0x80, unsigned char upper = 0xBF) {
    return byte >= lower && byte <= upper;
}

// Decodes one well-formed UTF-8 sequence at `pos`; returns its length, or 0
// when the bytes there do not form one (the caller then takes a single byte).
std::size_t DecodeStrict(std::string_view utf8, std::size_t pos, char32_t& character) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(utf8[pos + k]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char lower = 0x80, upper = 0xBF;
    if (lead < 0x80) {
        character = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        character = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        character = lead & 0x0F;
        lower = lead == 0xE0 ? 0xA0 : 0x80;
        upper = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        character = lead & 0x07;
        lower = lead == 0xF0 ? 0x90 : 0x80;
        upper = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (utf8.size() - pos < length || !IsTrailByte(at(1), lower, upper)) return 0;
    character = (character << 6) | (at(1) & 0x3F);
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsTrailByte(at(k))) return 0;
        character = (character << 6) | (at(k) & 0x3F);
    }
    return length;
}

bool IsAsciiWord(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return (word & 0x8080808080808080ull) == 0;
}

void AppendUtf8(std::string& out, char32_t character) {
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
}

}  // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return kCyrillicCapitalA + (byte - 0xC0);
    return kUpperHalf[byte - 0x80];
}

char UnicodeToCp1251(char32_t character) {
    if (character < 0x80) return static_cast<char>(character);
    if (character >= kCyrillicCapitalA && character <= kCyrillicSmallYa) {
        return static_cast<char>(0xC0 + (character - kCyrillicCapitalA));
    }
    if (character <= 0xFFFF) {
        const auto& table = ReverseUpperHalf();
        const auto key = static_cast<char16_t>(character);
        const auto found = std::lower_bound(
            table.begin(), table.end(), key,
            [](const ReverseEntry& entry, char16_t value) { return entry.first < value; });
        if (found != table.end() && found->first == key) return static_cast<char>(found->second);
    }
    return BestFitOrQuestionMark(character);
}

namespace {

// The Windows-1251 byte of every well-formed two-byte form: the lead byte's
// low five bits and the trail byte's low six bits index it.
const std::array<char, 32 * 64>& TwoByteForms() {
    static const std::array<char, 32 * 64> table = [] {
        std::array<char, 32 * 64> bytes{};
        for (std::size_t index = 0; index < bytes.size(); ++index) {
            bytes[index] = UnicodeToCp1251(static_cast<char32_t>(index));
        }
        return bytes;
    }();
    return table;
}

// ASCII and two-byte forms (all of Cyrillic) are decoded in line; longer or
// broken sequences take the general decoder. A broken sequence gives "?" per
// byte, or with `strict` ends the decoding with false.
bool DecodeUtf8(std::string_view utf8, std::string& out, bool strict) {
    const auto& twoByteForms = TwoByteForms();
    out.resize(utf8.size());  // never longer than its input
    std::size_t n = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        if (lead < 0x80) {
            out[n++] = static_cast<char>(lead);
            ++pos;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF && pos + 1 < utf8.size()) {
            const auto trail = static_cast<unsigned char>(utf8[pos + 1]);
            if (IsTrailByte(trail)) {
                out[n++] = twoByteForms[((lead & 0x1Fu) << 6) | (trail & 0x3Fu)];
                pos += 2;
                continue;
            }
        }
        char32_t character = 0;
        const std::size_t length = DecodeStrict(utf8, pos, character);
        if (length == 0 && strict) return false;
        out[n++] = length == 0 ? '?' : UnicodeToCp1251(character);
        pos += length == 0 ? 1 : length;
    }
    out.resize(n);
    return true;
}

}  // namespace

std::string Cp1251FromUtf8(std::string_view utf8) {
    std::string out;
    DecodeUtf8(utf8, out, false);
    return out;
}

bool TryCp1251FromUtf8(std::string_view utf8, std::string& ansi) {
    return DecodeUtf8(utf8, ansi, true);
}

namespace {

// Each byte's UTF-8 form, computed once from the code page table: the bytes
// of the form and, in the last entry, its length.
using Utf8Form = std::array<char, 4>;

const std::array<Utf8Form, 256>& Utf8Forms() {
    static const std::array<Utf8Form, 256> forms = [] {
        std::array<Utf8Form, 256> table{};
        std::string bytes;
        for (std::size_t byte = 0; byte < table.size(); ++byte) {
            bytes.clear();
            AppendUtf8(bytes, Cp1251ToUnicode(static_cast<unsigned char>(byte)));
            std::copy(bytes.begin(), bytes.end(), table[byte].begin());
            table[byte][3] = static_cast<char>(bytes.size());
        }
        return table;
    }();
    return forms;
}

}  // namespace

// Runs of eight ASCII bytes are copied whole; every other byte takes one
// table look-up and one fixed-size copy, into a string sized once.
void AppendUtf8FromCp1251(std::string& out, std::string_view ansi) {
    const auto& forms = Utf8Forms();
    std::size_t length = 0;
    for (const char byte : ansi) {
        length += static_cast<std::size_t>(forms[static_cast<unsigned char>(byte)][3]);
    }
    const std::size_t start = out.size();
    out.resize(start + length + 2);  // room for a whole 3-byte copy at the end
    char* next = out.data() + start;
    const char* from = ansi.data();
    const char* const end = from + ansi.size();
    const auto encode = [&forms, &next](const char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const Utf8Form& form = forms[static_cast<unsigned char>(bytes[i])];
            std::memcpy(next, form.data(), 3);
            next += form[3];
        }
    };
    for (; end - from >= 8; from += 8) {
        if (IsAsciiWord(from)) {
            std::memcpy(next, from, 8);
            next += 8;
        } else {
            encode(from, 8);
        }
    }
    encode(from, static_cast<std::size_t>(end - from));
    out.resize(start + length);
}

std::string Utf8FromCp1251(std::string_view ansi) {
    std::string out;
    AppendUtf8FromCp1251(out, ansi);
    return out;
}

}  // namespace oradel
