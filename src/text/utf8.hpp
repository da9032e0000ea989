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
std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t& character);

// Appends the standard form of `character` (one to four bytes).
void AppendUtf8(std::string& out, char32_t character);

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

}  // namespace oradel
