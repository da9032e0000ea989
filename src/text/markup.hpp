// Filter tags, link and phone markup, transliteration and URL encoding.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace oradel {

// The name without its first "<...>" group, trimmed.
std::string StripFilterTag(std::string_view name);
// The trimmed contents of the first "<...>" group; empty when there is none.
std::string ExtractFilterTag(std::string_view name);

// "[address|title]" becomes a web anchor and "{number|title}" a phone anchor
// (the number without its spaces, hyphens and parentheses); the result is
// trimmed. It is handed to `append` in pieces, so that a long line needs
// memory in proportion to itself only, however much longer its expansion is.
using MarkupPieces = std::function<void(std::string_view)>;
void ExpandLinkMarkup(std::string_view line, const MarkupPieces& append);

// Cyrillic letters to Latin strings; every other byte is kept.
std::string Transliterate(std::string_view text);

// Percent-encodes UTF-16 text as UTF-8 for a web address (each unit on its own).
std::string UrlEncodeUtf8(std::u16string_view text);

}  // namespace oradel
