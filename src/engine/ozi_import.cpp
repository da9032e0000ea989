// OziExplorer Waypoint File Version 1.1
// WGS 84
// Reserved 2
// Reserved 3
//    1,Гора, 55.751244, 37.618423,40000.0, 0, 1, 3, 0, 65535,старт юг, 0, 0, 0, 6070, 6, 0,17
//
// After four header lines, one point a line, its fields separated by commas:
// number, name, latitude, longitude, date, symbol, status, display format,
// colours, description, pointer direction, Garmin display format, proximity,
// altitude in feet (-777: none), and more that no list keeps. OziExplorer
// writes a comma inside a text as the byte 209 ("ñ" in its Western code
// page); in the Windows-1251 files of Navitel that byte is the letter "С",
// and stays one.
#include "engine/ozi_import.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "engine/coordinates.hpp"
#include "engine/files.hpp"
#include "engine/imported_points.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

constexpr std::size_t kHeaderLines = 4;
enum Field : std::size_t {
    kName = 1,
    kLatitude = 2,
    kLongitude = 3,
    kDescription = 10,
    kAltitude = 14,
};
constexpr std::string_view kNoAltitude = "-777";

void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(TrimView(line.substr(0, comma)));
        if (comma == std::string_view::npos) return;
        line.remove_prefix(comma + 1);
    }
}

std::string_view FieldOrEmpty(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

}  // namespace

void ImportOziWaypoints(ConversionContext& context) {
    const std::string fileName = PathText(context.inputPath);
    ListRecordWriter writer(context.output);
    std::string line;
    std::vector<std::string_view> fields;
    for (std::size_t lineNumber = 1; !context.input.AtEnd(); ++lineNumber) {
        context.input.ReadLine(line);
        if (lineNumber <= kHeaderLines || TrimView(line).empty()) continue;
        SplitFields(line, fields);
        ImportedPoint point;
        point.lat = ImportedNumber(FieldOrEmpty(fields, kLatitude), lineNumber, fileName);
        point.lon = ImportedNumber(FieldOrEmpty(fields, kLongitude), lineNumber, fileName);
        const std::string feet(FieldOrEmpty(fields, kAltitude));
        if (feet != kNoAltitude) point.altitude = ReadAltitude(feet + "ft");
        context.state.replacedTexts += DecodeImportedText(FieldOrEmpty(fields, kName), point.name);
        context.state.replacedTexts +=
            DecodeImportedText(FieldOrEmpty(fields, kDescription), point.description);
        writer.Write(point);
    }
}

}  // namespace oradel
