#include "engine/xml_text.hpp"

#include "engine/files.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

// A character XML 1.0 does not allow, or one a reader folds into a space.
bool IsReplacedInXml(char32_t character) {
    return character < 0x20 || character == 0xFFFE || character == 0xFFFF;
}

void AppendXmlCharacter(std::string& out, char32_t character) {
    switch (character) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '"':
            out += "&quot;";
            return;
        default:
            AppendUtf8(out, IsReplacedInXml(character) ? U' ' : character);
    }
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view windows1251) {
    for (const char c : windows1251) {
        AppendXmlCharacter(out, Windows1251ToUnicode(static_cast<unsigned char>(c)));
    }
}

void AppendXmlName(std::string& out, std::string_view windows1251) {
    std::string name(windows1251);
    for (char& c : name) {
        if (IsBlank(c)) c = ' ';
    }
    CollapseRuns(name, ' ');
    AppendXmlText(out, name);
}

void CdataText::Append(std::string& out, std::string_view windows1251) {
    for (const char c : windows1251) {
        if (c == '>' && brackets_ >= 2) out += "]]><![CDATA[";
        brackets_ = c == ']' ? brackets_ + 1 : 0;
        const char32_t character = Windows1251ToUnicode(static_cast<unsigned char>(c));
        AppendUtf8(out, IsReplacedInXml(character) ? U' ' : character);
    }
}

std::string XmlListName(const std::filesystem::path& inputPath) {
    const std::string stem = PathText(inputPath.stem());
    std::string name;
    if (!IsWellFormedUtf8(stem)) {
        AppendXmlText(name, stem);
        return name;
    }
    char32_t character = 0;
    for (std::size_t pos = 0; pos < stem.size();) {
        pos += DecodeUtf8(stem, pos, character);  // well-formed: never 0
        AppendXmlCharacter(name, character);
    }
    return name;
}

}  // namespace oradel
