#include "text/imported_text.hpp"

#include <array>
#include <cstddef>
#include <utility>

namespace oradel {
namespace {

// Characters of the list's syntax and the Windows-1251 characters that
// stand in for them.
constexpr std::pair<char, char> kStandIns[] = {
    {'<', '\x8B'}, {'>', '\x9B'}, {'[', '('},    {'{', '('},
    {']', ')'},    {'}', ')'},    {'|', '\xA6'}, {'\x7F', ' '},
};

const std::array<char, 256>& ByteMap() {
    static const std::array<char, 256> map = [] {
        std::array<char, 256> bytes{};
        for (std::size_t byte = 0; byte < bytes.size(); ++byte) {
            bytes[byte] = byte < 0x20 ? ' ' : static_cast<char>(byte);
        }
        for (const auto& [from, to] : kStandIns) bytes[static_cast<unsigned char>(from)] = to;
        return bytes;
    }();
    return map;
}

// A name whose first character after its blanks is ':' would be read as a
// heading: the run of colons and blanks at its front goes.
void RemoveHeadingColons(std::string& name) {
    const std::size_t kept = name.find_first_not_of(": ");
    const std::size_t colon = name.find(':');
    if (colon != std::string::npos && colon < kept) name.erase(0, kept);
}

}  // namespace

void KeepAsListText(std::string& text, ImportedField field) {
    const auto& map = ByteMap();
    for (char& c : text) c = map[static_cast<unsigned char>(c)];
    if (field == ImportedField::Name) RemoveHeadingColons(text);
}

}  // namespace oradel
