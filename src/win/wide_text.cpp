#include "win/wide_text.hpp"

#include "win/windows_api.hpp"

namespace oradel::win {

std::wstring WideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = static_cast<int>(utf8.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), size);
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

std::string Utf8FromWide(std::wstring_view wide) {
    return NarrowFromWide(wide, CP_UTF8);
}

}  // namespace oradel::win
