// The UTF-8 codec: round trips, the buffer operations at every buffer size,
// and the fast converters against the unit-by-unit way they stand for.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.hpp"
#include "text/codepage.hpp"
#include "text/utf8.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

namespace {

// The input's bytes in pairs as UTF-16 code units, lone surrogates and all.
std::u16string AsUnits(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return units;
}

// Strict UTF-8 as the standard defines it, one sequence at a time.
std::size_t StrictSequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    if (length == 0 || text.size() - at < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    }
    return length;
}

// The character of one well-formed sequence.
char32_t CodePoint(std::string_view sequence) {
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t character = static_cast<unsigned char>(sequence[0]) & kLeadBits[sequence.size()];
    for (std::size_t k = 1; k < sequence.size(); ++k) {
        character = (character << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
    }
    return character;
}

bool IsStrictUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = StrictSequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

void CheckAnsiSide(std::string_view bytes) {
    std::u16string units;
    for (const char byte : bytes) {
        units.push_back(static_cast<char16_t>(Cp1251ToUnicode(static_cast<unsigned char>(byte))));
    }
    const std::string utf8 = AnsiToUtf8Text(bytes);
    Expect(utf8 == WideToUtf8(units), "AnsiToUtf8Text encodes unit by unit");
    Expect(utf8 == Utf8FromCp1251(bytes), "both Windows-1251 encoders agree");
    Expect(Utf8ToAnsiText(utf8) == bytes, "Windows-1251 text survives a UTF-8 round trip");
    Expect(Cp1251FromUtf8(utf8) == bytes, "Cp1251FromUtf8 reverses Utf8FromCp1251");
}

void CheckUtf8Side(std::string_view bytes) {
    const std::u16string wide = Utf8ToWide(bytes);
    std::string byUnits;
    for (const char16_t unit : wide) byUnits.push_back(UnicodeToCp1251(unit));
    Expect(Utf8ToAnsiText(bytes) == byUnits, "Utf8ToAnsiText maps Utf8ToWide unit by unit");
    if (!wide.empty()) Expect(Utf8ToWide(WideToUtf8(wide)) == wide, "decoded text re-encodes");

    const bool strict = IsStrictUtf8(bytes);
    Expect(IsWellFormedUtf8(bytes) == strict, "IsWellFormedUtf8 is strict UTF-8");
    for (std::size_t cut = 0; cut <= bytes.size(); cut += 1 + bytes.size() / 7) {
        Utf8Validator validator;
        validator.Feed(bytes.substr(0, cut));
        validator.Feed(bytes.substr(cut));
        Expect(validator.WellFormed() == strict, "the validator may be fed in pieces");
    }
    std::string ansi;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = StrictSequenceLength(bytes, at);
        ansi += length == 0 ? '?' : UnicodeToCp1251(CodePoint(bytes.substr(at, length)));
        at += length == 0 ? 1 : length;
    }
    Expect(Cp1251FromUtf8(bytes) == ansi, "Cp1251FromUtf8 decodes one sequence at a time");
}

void CheckBuffers(std::string_view bytes) {
    const std::u16string units = AsUnits(bytes);
    const auto count = static_cast<std::uint32_t>(units.size());
    const std::uint32_t needed = Utf16ToUtf8Buffer(nullptr, 0, units.data(), count);
    Expect(needed == WideToUtf8(units).size() + 1, "the counting mode counts the bytes");
    const std::uint32_t size = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes[0]) % 64;
    std::vector<unsigned char> utf8(size);
    const std::uint32_t written = Utf16ToUtf8Buffer(utf8.data(), size, units.data(), count);
    Expect(written >= 1 && written <= size, "the encoder stays inside its buffer");
    Expect(utf8[written - 1] == 0, "the encoder ends with a zero byte");

    const auto* source = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto length = static_cast<std::uint32_t>(bytes.size());
    std::vector<char16_t> wide(size);
    const std::uint32_t decoded = Utf8ToUtf16Buffer(wide.data(), size, source, length);
    const std::uint32_t counted = Utf8ToUtf16Buffer(nullptr, 0, source, length);
    Expect(decoded == kMalformedUtf8 ? counted == kMalformedUtf8 : decoded <= size,
           "the decoder stays inside its buffer and agrees with its count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);
    CheckAnsiSide(bytes);
    CheckUtf8Side(bytes);
    CheckBuffers(bytes);
    return 0;
}
