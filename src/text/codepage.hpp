// The Windows-1251 code page: its full table to Unicode and the reverse
// mapping with best fit (Latin letters with diacritics become their base
// letters, ß becomes ss, every other character it cannot hold becomes '?').
// UTF-8 goes through the one codec of utf8.hpp.
#pragma once

#include <string>
#include <string_view>

namespace oradel {

// The Unicode character of a Windows-1251 byte (0x98, unassigned, gives U+0098).
char32_t Windows1251ToUnicode(unsigned char byte);

// Appends the Windows-1251 form of `character`: its own byte when the code
// page holds it, else its best fit. False when the best fit was taken.
bool AppendWindows1251(std::string& out, char32_t character);

// Readable UTF-8 (source literals, command-line text, a UTF-8 point list) to
// Windows-1251. A malformed sequence gives '?' per byte.
std::string Windows1251FromUtf8(std::string_view utf8);

// How a conversion of imported text went.
enum class Windows1251Conversion { Exact, Replaced, Malformed };
// Well-formed UTF-8 to Windows-1251 into `windows1251`; Malformed (and `windows1251`
// holding a part) at the first malformed sequence, Replaced when a character
// took its best fit.
Windows1251Conversion TryWindows1251FromUtf8(std::string_view utf8, std::string& windows1251);

// Windows-1251 to standard UTF-8.
std::string Utf8FromWindows1251(std::string_view windows1251);
// The same, appended to `out` (for lines built piece by piece in one buffer).
void AppendUtf8FromWindows1251(std::string& out, std::string_view windows1251);

}  // namespace oradel
