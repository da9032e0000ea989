// Conversion between Windows-1251 text, UTF-16 code units and UTF-8 as the
// program's files need it. The buffer codec encodes every UTF-16 unit on its
// own (a surrogate pair becomes six bytes) and decodes one-, two- and
// three-byte forms only; ill-formed input gives the malformed mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace oradel {

constexpr std::uint32_t kMalformedUtf8 = 0xFFFFFFFFu;

// Returns bytes written including the terminating zero, or without a
// destination the bytes needed including it; 0 without a source.
std::uint32_t Utf16ToUtf8Buffer(unsigned char* dest, std::uint32_t destSize, const char16_t* source,
                                std::uint32_t sourceCount);

// Returns units written including the terminating zero unit, or without a
// destination the units needed including it; 0 without a source;
// kMalformedUtf8 for an ill-formed source.
std::uint32_t Utf8ToUtf16Buffer(char16_t* dest, std::uint32_t destSize, const unsigned char* source,
                                std::uint32_t sourceCount);

std::string WideToUtf8(std::u16string_view wide);
// Empty for ill-formed input.
std::u16string Utf8ToWide(std::string_view utf8);

// Windows-1251 text to UTF-8 (through the buffer codec).
std::string AnsiToUtf8Text(std::string_view ansi);
// UTF-8 text to Windows-1251 (through the buffer codec); empty for ill-formed
// input; a character Windows-1251 cannot hold becomes its best fit or '?'.
std::string Utf8ToAnsiText(std::string_view utf8);

// Standard (strict) UTF-8 validation: no overlong forms, no surrogates,
// nothing above U+10FFFF. Fed in pieces, so a file can be checked block by block.
class Utf8Validator {
  public:
    void Feed(std::string_view bytes);
    // True when everything fed is well-formed and no sequence is left open.
    bool WellFormed() const { return wellFormed_ && pending_ == 0; }
    // True when at least one multi-byte sequence was seen.
    bool SawMultiByte() const { return sawMultiByte_; }
    // True once a byte has broken the form; nothing fed later can mend it.
    bool Broken() const { return !wellFormed_; }

  private:
    const unsigned char* SkipSimpleForms(const unsigned char* next, const unsigned char* end);
    void FeedByte(unsigned char byte);

    bool wellFormed_ = true;
    bool sawMultiByte_ = false;
    int pending_ = 0;                            // trail bytes still expected
    unsigned char lower_ = 0x80, upper_ = 0xBF;  // range allowed for the next trail byte
};

bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace oradel
