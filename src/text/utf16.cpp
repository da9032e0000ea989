#include "text/utf16.hpp"

#include "text/utf8.hpp"

namespace oradel {

constexpr char32_t kReplacementCharacter = 0xFFFD;

std::wstring Utf16FromUtf8(std::string_view utf8) {
    std::wstring utf16;
    utf16.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t character = 0;
        const std::size_t length = DecodeUtf8(utf8, pos, character);
        pos += length == 0 ? 1 : length;
        if (length == 0) character = kReplacementCharacter;
        if (character >= 0x10000) {
            utf16.push_back(static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)));
            character = 0xDC00 + ((character - 0x10000) & 0x3FF);
        }
        utf16.push_back(static_cast<wchar_t>(character));
    }
    return utf16;
}

std::string Utf8FromUtf16(std::wstring_view utf16) {
    std::string utf8;
    utf8.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t character = static_cast<char16_t>(utf16[i]);
        const bool high = character >= 0xD800 && character <= 0xDBFF;
        const char32_t next = i + 1 < utf16.size() ? static_cast<char16_t>(utf16[i + 1]) : 0;
        if (high && next >= 0xDC00 && next <= 0xDFFF) {
            character = 0x10000 + ((character - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        } else if (character >= 0xD800 && character <= 0xDFFF) {
            character = kReplacementCharacter;
        }
        AppendUtf8(utf8, character);
    }
    return utf8;
}

}  // namespace oradel
