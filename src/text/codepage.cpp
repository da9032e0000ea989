#include "text/codepage.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "text/utf8.hpp"

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

// Best fits of Latin-1 Supplement letters, Latin Extended-A and -B
// (U+00C0-U+024F) and Latin Extended Additional (U+1E00-U+1EFF): two
// characters per code point, the base letter (or a pair such as "ss" for ß)
// padded with a blank; "? " where the character is not a Latin letter.
constexpr std::string_view kLatinBaseLetters =
    "A A A A A A AEC E E E E I I I I "   // U+00C0
    "D N O O O O O ? O U U U U Y ? ss"   // U+00D0
    "a a a a a a aec e e e e i i i i "   // U+00E0
    "d n o o o o o ? o u u u u y ? y "   // U+00F0
    "A a A a A a C c C c C c C c D d "   // U+0100
    "D d E e E e E e E e E e G g G g "   // U+0110
    "G g G g H h H h I i I i I i I i "   // U+0120
    "I i IJijJ j K k ? L l L l L l L "   // U+0130
    "l L l N n N n N n ? ? ? O o O o "   // U+0140
    "O o OEoeR r R r R r S s S s S s "   // U+0150
    "S s T t T t T t U u U u U u U u "   // U+0160
    "U u U u W w Y y Y Z z Z z Z z s "   // U+0170
    "b B ? ? ? ? ? C c ? D D d ? ? ? "   // U+0180
    "? F f G ? ? ? I K k l ? ? N n ? "   // U+0190
    "O o ? ? P p ? ? ? ? ? t T t T U "   // U+01A0
    "u ? V Y y Z z ? ? ? ? ? ? ? ? ? "   // U+01B0
    "? ? ? ? DZDzdzLJLjljNJNjnjA a I "   // U+01C0
    "i O o U u U u U u U u U u ? A a "   // U+01D0
    "A a AEaeG g G g K k O o O o ? ? "   // U+01E0
    "j DZDzdzG g ? ? N n A a AEaeO o "   // U+01F0
    "A a A a E e E e I i I i O o O o "   // U+0200
    "R r R r U u U u S s T t ? ? H h "   // U+0210
    "? d ? ? Z z A a E e O o O o O o "   // U+0220
    "O o Y y l n t j ? ? A C c L T ? "   // U+0230
    "z ? ? B U ? E e J j Q q R r Y y ";  // U+0240
constexpr std::string_view kLatinAdditionalBaseLetters =
    "A a B b B b B b C c D d D d D d "   // U+1E00
    "D d D d E e E e E e E e E e F f "   // U+1E10
    "G g H h H h H h H h H h I i I i "   // U+1E20
    "K k K k K k L l L l L l L l M m "   // U+1E30
    "M m M m N n N n N n N n O o O o "   // U+1E40
    "O o O o P p P p R r R r R r R r "   // U+1E50
    "S s S s S s S s S s T t T t T t "   // U+1E60
    "T t U u U u U u U u U u V v V v "   // U+1E70
    "W w W w W w W w W w X x X x Y y "   // U+1E80
    "Z z Z z Z z h t w y ? s ? ? SS? "   // U+1E90
    "A a A a A a A a A a A a A a A a "   // U+1EA0
    "A a A a A a A a E e E e E e E e "   // U+1EB0
    "E e E e E e E e I i I i O o O o "   // U+1EC0
    "O o O o O o O o O o O o O o O o "   // U+1ED0
    "O o O o U u U u U u U u U u U u "   // U+1EE0
    "U u Y y Y y Y y Y y ? ? ? ? ? ? ";  // U+1EF0

constexpr char32_t kLatinBaseFirst = 0x00C0;
constexpr char32_t kLatinAdditionalFirst = 0x1E00;

// The byte 0x80-0xBF of a character of the table's upper half, or 0.
char UpperHalfByte(char32_t character) {
    const auto found = std::find(kUpperHalf.begin(), kUpperHalf.end(), character);
    if (found == kUpperHalf.end()) return 0;
    return static_cast<char>(0x80 + (found - kUpperHalf.begin()));
}

// The byte of a character the code page holds, or 0.
char OwnByte(char32_t character) {
    if (character < 0x80) return static_cast<char>(character);
    if (character >= kCyrillicCapitalA && character <= kCyrillicSmallYa) {
        return static_cast<char>(0xC0 + (character - kCyrillicCapitalA));
    }
    return UpperHalfByte(character);
}

std::string_view BestFit(char32_t character) {
    const auto entry = [character](std::string_view table, char32_t first) {
        const std::string_view fit = table.substr(2 * (character - first), 2);
        return fit[1] == ' ' ? fit.substr(0, 1) : fit;
    };
    if (character >= kLatinBaseFirst &&
        2 * (character - kLatinBaseFirst) < kLatinBaseLetters.size()) {
        return entry(kLatinBaseLetters, kLatinBaseFirst);
    }
    if (character >= kLatinAdditionalFirst &&
        2 * (character - kLatinAdditionalFirst) < kLatinAdditionalBaseLetters.size()) {
        return entry(kLatinAdditionalBaseLetters, kLatinAdditionalFirst);
    }
    return "?";
}

// Decodes `utf8` into `out`. A malformed sequence gives '?' per byte, or
// with `strict` ends the decoding with Malformed.
Windows1251Conversion DecodeToWindows1251(std::string_view utf8, std::string& out, bool strict) {
    out.clear();
    bool replaced = false;
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {  // ASCII stands for itself
            out += utf8[pos++];
            continue;
        }
        char32_t character = 0;
        const std::size_t length = DecodeUtf8(utf8, pos, character);
        if (length == 0) {
            if (strict) return Windows1251Conversion::Malformed;
            out += '?';
            ++pos;
            continue;
        }
        pos += length;
        const char own = OwnByte(character);
        if (own != 0 || character == 0) {
            out += own;
        } else {
            out += BestFit(character);
            replaced = true;
        }
    }
    return replaced ? Windows1251Conversion::Replaced : Windows1251Conversion::Exact;
}

}  // namespace

char32_t Windows1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return kCyrillicCapitalA + (byte - 0xC0);
    return kUpperHalf[byte - 0x80];
}

bool AppendWindows1251(std::string& out, char32_t character) {
    if (const char own = OwnByte(character); own != 0 || character == 0) {
        out.push_back(own);
        return true;
    }
    out.append(BestFit(character));
    return false;
}

std::string Windows1251FromUtf8(std::string_view utf8) {
    std::string out;
    DecodeToWindows1251(utf8, out, false);
    return out;
}

Windows1251Conversion TryWindows1251FromUtf8(std::string_view utf8, std::string& windows1251) {
    return DecodeToWindows1251(utf8, windows1251, true);
}

void AppendUtf8FromWindows1251(std::string& out, std::string_view windows1251) {
    for (const char byte : windows1251) {
        AppendUtf8(out, Windows1251ToUnicode(static_cast<unsigned char>(byte)));
    }
}

std::string Utf8FromWindows1251(std::string_view windows1251) {
    std::string out;
    AppendUtf8FromWindows1251(out, windows1251);
    return out;
}

}  // namespace oradel
