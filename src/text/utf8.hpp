// The program's one UTF-8 codec: standard (strict) UTF-8, one character at a
// time, and the validation of whole texts built on it. The Windows-1251 side
// of the conversions lives in codepage.hpp.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace oradel {

// Reads the sequence that starts at `bytes[pos]`: its length and, in
// `character`, its character; 0 when the bytes there are not a well-formed
// sequence (overlong forms, surrogates, values above U+10FFFF, a sequence cut
// off by the end of `bytes`).
// Defined here so that the loops over text inline it.
inline std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t& character);

// Appends the standard form of `character` (one to four bytes); inlined
// into the loops over text as DecodeUtf8 is.
inline void AppendUtf8(std::string& out, char32_t character);

// Checks a text fed in pieces, so that a file can be checked block by block.
class Utf8Validator {
  public:
    void Feed(std::string_view bytes);
    // True when everything fed is well-formed and no sequence is left open.
    bool WellFormed() const { return wellFormed_ && pending_.empty(); }
    // True when at least one multi-byte sequence was seen.
    bool SawMultiByte() const { return sawMultiByte_; }
    // True once a byte has broken the form; nothing fed later can mend it.
    bool Broken() const { return !wellFormed_; }

  private:
    std::string_view CompletePending(std::string_view bytes);

    bool wellFormed_ = true;
    bool sawMultiByte_ = false;
    std::string pending_;  // the start of a sequence that the next piece completes
};

bool IsWellFormedUtf8(std::string_view bytes);

// The length that a lead byte announces; 0 for a byte that cannot lead.
inline std::size_t AnnouncedLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

inline std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t& character) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[pos + k]); };
    const unsigned char lead = at(0);
    const std::size_t length = AnnouncedLength(lead);
    if (length == 1) {
        character = lead;
        return 1;
    }
    if (length == 0 || bytes.size() - pos < length) return 0;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    const unsigned char lower = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char upper = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (at(1) < lower || at(1) > upper) return 0;
    char32_t value = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (k > 1 && (at(k) < 0x80 || at(k) > 0xBF)) return 0;
        value = (value << 6) | (at(k) & 0x3F);
    }
    character = value;
    return length;
}

inline void AppendUtf8(std::string& out, char32_t character) {
    const auto byte = [](char32_t value) { return static_cast<char>(value); };
    const auto trail = [](char32_t value) { return static_cast<char>(0x80 | (value & 0x3F)); };
    if (character < 0x80) {
        out += byte(character);
    } else if (character < 0x800) {
        out += {byte(0xC0 | (character >> 6)), trail(character)};
    } else if (character < 0x10000) {
        out += {byte(0xE0 | (character >> 12)), trail(character >> 6), trail(character)};
    } else {
        out += {byte(0xF0 | (character >> 18)), trail(character >> 12), trail(character >> 6),
                trail(character)};
    }
}

}  // namespace oradel
