// What the XML exports (GPX, KML) share: the list's Windows-1251 text as
// UTF-8 character data or CDATA content, and the list's name.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace oradel {

// Appends `windows1251` as UTF-8 character data, fit for an element or a
// double-quoted attribute: "&", "<", ">" and '"' become references, and the
// control characters, which XML 1.0 forbids or a reader would take as
// white space to fold (every one below 0x20), become spaces.
void AppendXmlText(std::string& out, std::string_view windows1251);

// A point's name as AppendXmlText gives it, each run of spaces (control
// characters included) one space: a filter tag amid the name leaves two.
void AppendXmlName(std::string& out, std::string_view windows1251);

// The text of one CDATA section, appended piece by piece: each "]]>", also
// one that the pieces split, becomes "]]]]><![CDATA[>", so that the section
// ends only where the writer ends it. Control characters as AppendXmlText.
class CdataText {
  public:
    void Append(std::string& out, std::string_view windows1251);

  private:
    std::size_t brackets_ = 0;  // the "]" that the text so far ends with
};

// The list's name as character data: the input's file name without its last
// extension, UTF-8 (a name that is not UTF-8 is taken as Windows-1251).
std::string XmlListName(const std::filesystem::path& inputPath);

}  // namespace oradel
