// Text that an import writes into the point list stays text: it never turns
// into a heading, a filter tag, link or phone markup, or a broken line.
#pragma once

#include <string>

namespace oradel {

enum class ImportedField { Name, Comment };

// Applies the import table to Windows-1251 `text` in place: < > become ‹ ›
// (0x8B, 0x9B), [ { become (, ] } become ), | becomes ¦ (0xA6), every
// control character (0x00-0x1F, 0x7F) a space; a name also loses the colons
// (and the blanks among and before them) that would make it a heading.
void KeepAsListText(std::string& text, ImportedField field);

}  // namespace oradel
