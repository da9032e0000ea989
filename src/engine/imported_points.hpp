// What the imports share: a waypoint file's text taken as list text, and one
// list record written per point.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

// A text field of a waypoint file in Windows-1251, into `text`: decoded when
// it is well-formed UTF-8 (characters Windows-1251 lacks replaced), else its
// bytes as they stand, as files of these programs come in either encoding.
// Returns whether a character had to be replaced.
bool DecodeImportedText(std::string_view bytes, std::string& text);

// A field of a waypoint file as a message shows it: UTF-8, decoded as
// DecodeImportedText decodes it.
std::string ShownImportedText(std::string_view bytes);

// The number of a field, or UserError "'TEXT' is not a valid floating point
// value (line N of FILE)".
double ImportedNumber(std::string_view field, std::size_t lineNumber, const std::string& fileName);

// One point as an import found it.
struct ImportedPoint {
    std::string name;  // Windows-1251, as the file has it
    double lat = 0;
    double lon = 0;
    std::optional<long> altitude;  // whole metres
    std::string description;       // Windows-1251
};

// Writes each point as a record of the list: the name (WPT001, ... for a
// point without one), "lat lon" with six decimals and the altitude when
// known, the description line, and the empty line between records. Names
// and descriptions are kept as text (KeepAsListText).
class ListRecordWriter {
  public:
    explicit ListRecordWriter(TextOutput& out) : out_(out) {}
    void Write(ImportedPoint& point);

  private:
    TextOutput& out_;
    std::string line_;
    unsigned namelessPoints_ = 0;
};

}  // namespace oradel
