// The Windows-1251 code page: its full table to Unicode and the reverse
// mapping with best fit (Latin letters with diacritics lose them, every other
// character it cannot hold becomes '?').
#pragma once

#include <string>
#include <string_view>

namespace oradel {

// The Unicode character of a Windows-1251 byte (0x98, unassigned, gives U+0098).
char32_t Cp1251ToUnicode(unsigned char byte);

// The Windows-1251 byte for a Unicode character: its own byte when the code
// page holds it, the base letter for a Latin letter with diacritics, else '?'.
char UnicodeToCp1251(char32_t character);

// Readable UTF-8 (source literals, command-line text) to Windows-1251.
// Standard UTF-8 decoding; a malformed sequence gives '?' per byte.
std::string Cp1251FromUtf8(std::string_view utf8);
// The same for text that must be well-formed: false (and `ansi` unspecified)
// at the first malformed sequence.
bool TryCp1251FromUtf8(std::string_view utf8, std::string& ansi);

// Windows-1251 to standard UTF-8.
std::string Utf8FromCp1251(std::string_view ansi);
// The same, appended to `out` (for lines built piece by piece in one buffer).
void AppendUtf8FromCp1251(std::string& out, std::string_view ansi);

}  // namespace oradel
