// Byte-wise operations on Windows-1251 text: trimming, case mapping by table,
// byte replacement, Windows-1251 <-> CP866 recoding and first-field splitting.
#pragma once

#include <string>
#include <string_view>

namespace oradel {

// True for the bytes that trimming removes: every code up to 0x20.
constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// The text without bytes up to 0x20 at either end.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// Upper-cases the 33 Russian and 26 Latin small letters; every other byte is kept.
std::string UpperCaseRu(std::string_view text);
// True when `text` starts with `prefix`, the letters UpperCaseRu maps compared in either case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// `value` as `digits` hexadecimal digits, the letters in lower or upper case.
enum class HexCase { Lower, Upper };
void AppendHex(std::string& out, unsigned value, int digits, HexCase letters = HexCase::Lower);

// Every byte `from` becomes `to`.
void ReplaceByte(std::string& text, char from, char to);
// Every run of the byte `repeated` becomes one such byte ("a   b" -> "a b").
void CollapseRuns(std::string& text, char repeated);

// Recodes the Windows-1251 letters А-Я, а-я and the numero sign to CP866;
// every other byte (Ё and ё included, as the diagnostic line always had it)
// stays as it is.
void RecodeLettersToCp866(std::string& text);

// Trims `line`, then cuts it at the first `separator`: `field` gets the bytes
// before it and `line` the bytes after it. Without a separator `field` gets the
// whole trimmed line and `line` becomes empty.
void SplitFirstField(std::string& line, std::string& field, std::string_view separator);
// The same on views into text the caller keeps; taking many fields off a long
// line this way costs no copying.
void SplitFirstField(std::string_view& line, std::string_view& field, std::string_view separator);

}  // namespace oradel
