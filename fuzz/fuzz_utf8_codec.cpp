// The UTF-8 codec and the Windows-1251 conversions built on it, against a
// plain reference decoder kept here.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "text/codepage.hpp"
#include "text/utf8.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

namespace {

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

void CheckWindows1251Side(std::string_view bytes) {
    std::string byCharacters;
    for (const char byte : bytes)
        AppendUtf8(byCharacters, Windows1251ToUnicode(static_cast<unsigned char>(byte)));
    const std::string utf8 = Utf8FromWindows1251(bytes);
    Expect(utf8 == byCharacters, "Utf8FromWindows1251 encodes character by character");
    Expect(Windows1251FromUtf8(utf8) == bytes, "Windows1251FromUtf8 reverses Utf8FromWindows1251");
}

void CheckUtf8Side(std::string_view bytes) {
    const bool strict = IsStrictUtf8(bytes);
    Expect(IsWellFormedUtf8(bytes) == strict, "IsWellFormedUtf8 is strict UTF-8");
    for (std::size_t cut = 0; cut <= bytes.size(); cut += 1 + bytes.size() / 7) {
        Utf8Validator validator;
        validator.Feed(bytes.substr(0, cut));
        validator.Feed(bytes.substr(cut));
        Expect(validator.WellFormed() == strict, "the validator may be fed in pieces");
    }
    std::string windows1251, reencoded;
    bool replaced = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = StrictSequenceLength(bytes, at);
        char32_t decoded = 0;
        Expect(DecodeUtf8(bytes, at, decoded) == length, "DecodeUtf8 reads one sequence");
        if (length == 0) {
            windows1251 += '?';
            ++at;
            continue;
        }
        const char32_t character = CodePoint(bytes.substr(at, length));
        Expect(decoded == character, "DecodeUtf8 gives the sequence's character");
        AppendUtf8(reencoded, character);
        Expect(reencoded == bytes.substr(at, length), "AppendUtf8 writes the same form");
        reencoded.clear();
        if (!AppendWindows1251(windows1251, character)) replaced = true;
        at += length;
    }
    Expect(Windows1251FromUtf8(bytes) == windows1251,
           "Windows1251FromUtf8 decodes one sequence at a time");
    std::string tried;
    const Windows1251Conversion result = TryWindows1251FromUtf8(bytes, tried);
    Expect(strict ? result != Windows1251Conversion::Malformed && tried == windows1251
                  : result == Windows1251Conversion::Malformed,
           "TryWindows1251FromUtf8 refuses exactly the malformed texts");
    if (strict) {
        Expect((result == Windows1251Conversion::Replaced) == replaced,
               "replacements are reported");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = AsText(data, size);
    CheckWindows1251Side(bytes);
    CheckUtf8Side(bytes);
    return 0;
}
