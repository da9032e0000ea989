// Text between UTF-16, which the Windows API speaks, and 8-bit code pages:
// UTF-8 (the form's text) and the console's code page.
#pragma once

#include <string>
#include <string_view>

namespace oradel::win {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
// A character the code page cannot hold becomes its best fit or '?'.
std::string NarrowFromWide(std::wstring_view wide, unsigned codePage);

}  // namespace oradel::win
