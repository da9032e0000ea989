#include "text/utf8.hpp"

#include <cstddef>

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
bool DecodeLenient(const unsigned char* source, std::uint32_t count, std::uint32_t& i,
                   char16_t& unit) {
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

std::string AnsiToUtf8Text(std::string_view ansi) {
    std::u16string wide;
    wide.reserve(ansi.size());
    for (const char byte : ansi) {
        wide.push_back(static_cast<char16_t>(Cp1251ToUnicode(static_cast<unsigned char>(byte))));
    }
    return WideToUtf8(wide);
}

// Each UTF-16 unit is converted on its own, so both halves of a surrogate pair
// become '?'.
std::string Utf8ToAnsiText(std::string_view utf8) {
    const std::u16string wide = Utf8ToWide(utf8);
    std::string ansi;
    ansi.reserve(wide.size());
    for (const char16_t unit : wide) ansi.push_back(UnicodeToCp1251(unit));
    return ansi;
}

void Utf8Validator::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (!wellFormed_) return;
        const auto byte = static_cast<unsigned char>(c);
        if (pending_ > 0) {
            if (byte < lower_ || byte > upper_) {
                wellFormed_ = false;
                return;
            }
            lower_ = 0x80;
            upper_ = 0xBF;
            --pending_;
            continue;
        }
        if (byte < 0x80) continue;
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
}

bool IsWellFormedUtf8(std::string_view bytes) {
    Utf8Validator validator;
    validator.Feed(bytes);
    return validator.WellFormed();
}

}  // namespace oradel
