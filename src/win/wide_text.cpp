#include "win/wide_text.hpp"

#include "text/utf8.hpp"
#include "win/windows_api.hpp"

namespace oradel::win {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// UTF-16 through the text library's decoder; a malformed byte becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t character = 0;
        const std::size_t length = DecodeUtf8(utf8, pos, character);
        pos += length == 0 ? 1 : length;
        if (length == 0) character = kReplacementCharacter;
        if (character >= 0x10000) {
            wide.push_back(static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)));
            character = 0xDC00 + ((character - 0x10000) & 0x3FF);
        }
        wide.push_back(static_cast<wchar_t>(character));
    }
    return wide;
}

std::string NarrowFromWide(std::wstring_view wide, unsigned codePage) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

// UTF-8 through the text library's encoder; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t character = static_cast<char16_t>(wide[i]);
        const bool high = character >= 0xD800 && character <= 0xDBFF;
        const char32_t next = i + 1 < wide.size() ? static_cast<char16_t>(wide[i + 1]) : 0;
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

}  // namespace oradel::win
