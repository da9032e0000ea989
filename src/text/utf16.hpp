// Text between UTF-8 and UTF-16, which the Windows API speaks. A wstring
// holds UTF-16 code units (on Windows, where wchar_t has 16 bits).
#pragma once

#include <string>
#include <string_view>

namespace oradel {

// A malformed UTF-8 byte becomes U+FFFD.
std::wstring Utf16FromUtf8(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::wstring_view utf16);

}  // namespace oradel
