#include "text/utf8.hpp"

#include <cstddef>
#include <cstring>

#include "text/codepage.hpp"

namespace oradel {
namespace {

std::uint32_t EncodedLength(char16_t unit) {
    if (unit <= 0x7F) return 1;
    if (unit <= 0x7FF) return 2;
    return 3;
}

bool IsTrail(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

// One step of the lenient decoder: reads the sequence starting at source[i],
// advances i and stores the unit; false when the sequence is cut off or a
// trail byte is out of range.
template <typename Index>
bool DecodeLenient(const unsigned char* source, Index count, Index& i, char16_t& unit) {
    const unsigned char lead = source[i++];
    if (lead < 0x80) {
        unit = lead;
        return true;
    }
    if (i >= count || !IsTrail(source[i])) return false;
    const unsigned char trail1 = source[i++];
    if ((lead & 0x20) == 0) {
        unit = static_cast<char16_t>(((lead & 0x1F) << 6) | (trail1 & 0x3F));
        return true;
    }
    if (i >= count || !IsTrail(source[i])) return false;
    const unsigned char trail2 = source[i++];
    unit = static_cast<char16_t>(((lead & 0x0F) << 12) | ((trail1 & 0x3F) << 6) | (trail2 & 0x3F));
    return true;
}

bool IsAsciiWord(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return (word & 0x8080808080808080ull) == 0;
}

}  // namespace

std::uint32_t Utf16ToUtf8Buffer(unsigned char* dest, std::uint32_t destSize, const char16_t* source,
                                std::uint32_t sourceCount) {
    if (source == nullptr) return 0;
    if (dest != nullptr && destSize == 0) return 0;  // no room even for the terminator
    if (dest == nullptr) {
        std::uint32_t needed = 1;
        for (std::uint32_t i = 0; i < sourceCount; ++i) needed += EncodedLength(source[i]);
        return needed;
    }
    std::uint32_t n = 0;
    for (std::uint32_t i = 0; i < sourceCount && n < destSize; ++i) {
        const char16_t c = source[i];
        const std::uint32_t length = EncodedLength(c);
        if (n + length > destSize) break;
        if (length == 1) {
            dest[n] = static_cast<unsigned char>(c);
        } else if (length == 2) {
            dest[n] = static_cast<unsigned char>(0xC0 | (c >> 6));
            dest[n + 1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            dest[n] = static_cast<unsigned char>(0xE0 | (c >> 12));
            dest[n + 1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            dest[n + 2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        n += length;
    }
    if (n >= destSize) n = destSize - 1;
    dest[n] = 0;
    return n + 1;
}

std::uint32_t Utf8ToUtf16Buffer(char16_t* dest, std::uint32_t destSize, const unsigned char* source,
                                std::uint32_t sourceCount) {
    if (source == nullptr) return 0;
    if (dest != nullptr && destSize == 0) return 0;  // no room even for the terminator
    std::uint32_t n = 0;
    std::uint32_t i = 0;
    while (i < sourceCount && (dest == nullptr || n < destSize)) {
        char16_t unit = 0;
        if (!DecodeLenient(source, sourceCount, i, unit)) return kMalformedUtf8;
        if (dest != nullptr) dest[n] = unit;
        ++n;
    }
    if (dest == nullptr) return n + 1;
    if (n >= destSize) n = destSize - 1;
    dest[n] = 0;
    return n + 1;
}

std::string WideToUtf8(std::u16string_view wide) {
    if (wide.empty()) return {};
    std::string utf8(3 * wide.size() + 1, '\0');
    const std::uint32_t result = Utf16ToUtf8Buffer(
        reinterpret_cast<unsigned char*>(utf8.data()), static_cast<std::uint32_t>(utf8.size()),
        wide.data(), static_cast<std::uint32_t>(wide.size()));
    utf8.resize(result > 0 ? result - 1 : 0);
    return utf8;
}

std::u16string Utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    std::u16string wide(utf8.size() + 1, u'\0');
    const std::uint32_t result =
        Utf8ToUtf16Buffer(wide.data(), static_cast<std::uint32_t>(wide.size()),
                          reinterpret_cast<const unsigned char*>(utf8.data()),
                          static_cast<std::uint32_t>(utf8.size()));
    if (result == kMalformedUtf8 || result == 0) return {};
    wide.resize(result - 1);
    return wide;
}

// Every Windows-1251 character lies in the Basic Multilingual Plane, where
// the unit-by-unit encoder writes standard UTF-8, so the code page's own
// converter gives the same bytes in one pass without the wide text.
std::string AnsiToUtf8Text(std::string_view ansi) {
    return Utf8FromCp1251(ansi);
}

// Decodes as Utf8ToWide does and maps each unit at once; both halves of a
// surrogate pair become '?'. Runs of ASCII are copied as they stand.
std::string Utf8ToAnsiText(std::string_view utf8) {
    const auto* source = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t count = utf8.size();
    std::string ansi(utf8.size(), '\0');
    std::size_t i = 0;
    std::size_t n = 0;
    while (i < count) {
        if (source[i] < 0x80) {
            ansi[n++] = static_cast<char>(source[i++]);
            continue;
        }
        char16_t unit = 0;
        if (!DecodeLenient(source, count, i, unit)) return {};
        ansi[n++] = UnicodeToCp1251(unit);
    }
    ansi.resize(n);
    return ansi;
}

void Utf8Validator::Feed(std::string_view bytes) {
    const auto* next = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = next + bytes.size();
    while (next != end && wellFormed_) {
        if (pending_ == 0) next = SkipSimpleForms(next, end);
        if (next == end) break;
        FeedByte(*next++);
    }
}

// Skips ASCII and well-formed two-byte forms (Cyrillic text), which need no
// state between bytes; stops at anything else.
const unsigned char* Utf8Validator::SkipSimpleForms(const unsigned char* next,
                                                    const unsigned char* end) {
    while (next != end) {
        if (*next < 0x80) {
            next = end - next >= 8 && IsAsciiWord(next) ? next + 8 : next + 1;
        } else if (*next >= 0xC2 && *next <= 0xDF && end - next >= 2 && (next[1] & 0xC0) == 0x80) {
            next += 2;
            sawMultiByte_ = true;
        } else {
            break;
        }
    }
    return next;
}

void Utf8Validator::FeedByte(unsigned char byte) {
    if (pending_ > 0) {
        if (byte < lower_ || byte > upper_) {
            wellFormed_ = false;
            return;
        }
        lower_ = 0x80;
        upper_ = 0xBF;
        --pending_;
        return;
    }
    if (byte < 0x80) return;
    if (byte >= 0xC2 && byte <= 0xDF) {
        pending_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        pending_ = 2;
        if (byte == 0xE0) lower_ = 0xA0;
        if (byte == 0xED) upper_ = 0x9F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        pending_ = 3;
        if (byte == 0xF0) lower_ = 0x90;
        if (byte == 0xF4) upper_ = 0x8F;
    } else {
        wellFormed_ = false;
        return;
    }
    sawMultiByte_ = true;
}

bool IsWellFormedUtf8(std::string_view bytes) {
    Utf8Validator validator;
    validator.Feed(bytes);
    return validator.WellFormed();
}

}  // namespace oradel
