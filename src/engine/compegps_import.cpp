// G  WGS 84
// U  1
// W  Kholm_Vetrov A 44.1234000ºN 42.5678000ºE 27-MAR-62 00:00:00 1200.000000 Start s yuga
// w  Waypoint,0,-1.0,16777215,255,1,7,,0.0,
//
// A "W" line: the name (no blanks), "A" for latitude and longitude, each a
// decimal number, a degree sign (one byte 0xBA, or "º" in UTF-8) and its
// hemisphere letter, the date and time, the altitude in metres (0: none),
// and the description to the end of the line. Every other line (the datum,
// the display lines "w") is passed over.
#include "engine/compegps_import.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "engine/coordinates.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/imported_points.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// The fields of a "W" line before its description.
enum Field { kLetter, kName, kSystem, kLatitude, kLongitude, kDate, kTime, kAltitude, kFields };

// The blank-separated words of `line`: the fields, then the description as it stands.
bool SplitWaypointLine(std::string_view line, std::vector<std::string_view>& fields,
                       std::string_view& description) {
    fields.clear();
    while (fields.size() < kFields) {
        std::string_view field;
        SplitFirstField(line, field, " ");
        if (field.empty()) return false;
        fields.push_back(field);
    }
    description = TrimView(line);
    return true;
}

// "44.1234ºN": the number, negative for S or W.
double Coordinate(std::string_view field, char negative, std::size_t lineNumber,
                  const std::string& fileName) {
    const std::size_t end = field.find_first_not_of("+-.0123456789eE");
    const char hemisphere = field.empty() ? ' ' : field.back();
    const double value = ImportedNumber(field.substr(0, end), lineNumber, fileName);
    return hemisphere == negative ? -value : value;
}

bool IsUtmUnits(std::string_view line) {
    return line.size() > 1 && line[0] == 'U' && TrimView(line.substr(1)) == "0";
}

}  // namespace

void ImportCompeGpsWaypoints(ConversionContext& context) {
    const std::string fileName = PathText(context.inputPath);
    ListRecordWriter writer(context.output);
    std::string line;
    std::vector<std::string_view> fields;
    std::string_view description;
    for (std::size_t lineNumber = 1; !context.input.AtEnd(); ++lineNumber) {
        context.input.ReadLine(line);
        const std::string_view text = TrimView(line);
        if (IsUtmUnits(text)) throw UserError(Message(MessageId::CompeGpsUtm, {fileName}));
        if (!text.starts_with('W') || !SplitWaypointLine(text, fields, description)) continue;
        if (fields[kLetter] != "W") continue;
        ImportedPoint point;
        point.lat = Coordinate(fields[kLatitude], 'S', lineNumber, fileName);
        point.lon = Coordinate(fields[kLongitude], 'W', lineNumber, fileName);
        const std::optional<long> altitude = ReadAltitude(fields[kAltitude]);
        if (altitude != 0) point.altitude = altitude;  // 0 stands for none
        context.state.replacedTexts += DecodeImportedText(fields[kName], point.name);
        context.state.replacedTexts += DecodeImportedText(description, point.description);
        writer.Write(point);
    }
}

}  // namespace oradel
