#include "engine/file_formats.hpp"

#include <array>
#include <cctype>
#include <optional>

#include "engine/coordinates.hpp"
#include "engine/cup_import.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/xctrack_export_import.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The lines a format shows itself in: its first ones that are not blank.
constexpr std::size_t kMeaningfulLines = 5;

// The first few lines of `text` that are not blank, trimmed; the last one
// may be cut off where `text` ends.
std::array<std::string_view, kMeaningfulLines> MeaningfulLines(std::string_view text) {
    std::array<std::string_view, kMeaningfulLines> lines{};
    std::size_t count = 0;
    while (!text.empty() && count < lines.size()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = TrimView(text.substr(0, end));
        if (!line.empty()) lines[count++] = line;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// "G  WGS 84": a CompeGPS datum line.
bool IsCompeGpsDatum(std::string_view line) {
    return line.size() > 2 && line[0] == 'G' && IsBlank(line[1]) &&
           TrimView(line.substr(1)).starts_with("WGS");
}

// "U  1" or "U  0": the CompeGPS coordinate system line.
bool IsCompeGpsUnits(std::string_view line) {
    return line.size() > 2 && line[0] == 'U' && IsBlank(line[1]) &&
           (TrimView(line.substr(1)) == "1" || TrimView(line.substr(1)) == "0");
}

// "W  NAME A 45.1ºN 6.1ºE ...": a CompeGPS waypoint line, its third word "A".
bool IsCompeGpsWaypoint(std::string_view line) {
    if (line.size() < 2 || line[0] != 'W' || !IsBlank(line[1])) return false;
    std::string_view rest = line.substr(1);
    std::string_view name, letter;
    SplitFirstField(rest, name, " ");
    SplitFirstField(rest, letter, " ");
    return letter == "A";
}

// The first of `lines` that is no "*" comment: a CUP header, or a point
// line without one.
bool StartsAsCup(const std::array<std::string_view, kMeaningfulLines>& lines) {
    for (const std::string_view line : lines) {
        if (line.starts_with('*')) continue;
        return IsCupHeader(line) || IsCupPointLine(line);
    }
    return false;
}

// XML: a declaration, comment or document type first, or an element and
// then the elements of GPX. A point list may start with "<": a name that is
// only a filter tag.
std::optional<FileFormat> XmlFormat(std::string_view first, std::string_view head) {
    bool gpx = false;
    for (const std::string_view element : {"<gpx", "<wpt", "<rte", "<trk"}) {
        gpx = gpx || head.find(element) != std::string_view::npos;
    }
    for (const std::string_view start : {"<?xml", "<!--", "<!DOCTYPE"}) {
        if (first.starts_with(start)) return gpx ? FileFormat::Gpx : FileFormat::OtherXml;
    }
    const bool element =
        first.size() > 1 && first[0] == '<' && std::isalpha(static_cast<unsigned char>(first[1]));
    if (element && gpx) return FileFormat::Gpx;
    return std::nullopt;
}

// The first record of a point list: heading lines, a name line, then a
// coordinate line that reads as a latitude and a longitude.
bool StartsAsPointList(const std::array<std::string_view, kMeaningfulLines>& lines) {
    std::size_t at = 0;
    while (at < lines.size() && lines[at].starts_with(':')) ++at;
    if (at + 1 >= lines.size() || lines[at + 1].empty()) return false;
    std::string latText, lonText;
    SplitCoordinates(lines[at + 1], latText, lonText);
    Position position;
    return ReadPosition(latText, lonText, position);
}

}  // namespace

FileFormat RecogniseFormat(std::string_view head) {
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return FileFormat::Utf16Text;
    if (head.find('\0') != std::string_view::npos) return FileFormat::Binary;
    if (head.starts_with(kByteOrderMark)) head.remove_prefix(kByteOrderMark.size());
    const auto lines = MeaningfulLines(head);
    const std::string_view first = lines[0];
    if (first.empty()) {
        return head.size() < kRecognisedBytes - kByteOrderMark.size() ? FileFormat::Empty
                                                                      : FileFormat::Unknown;
    }
    if (const std::optional<FileFormat> xml = XmlFormat(first, head)) return *xml;
    if (StartsWithNoCase(first, "OziExplorer Waypoint File")) return FileFormat::OziWaypoints;
    if (first.starts_with("$FormatGEO") || IsGeoPointLine(first)) return FileFormat::GeoWaypoints;
    if ((IsCompeGpsDatum(first) && (IsCompeGpsUnits(lines[1]) || IsCompeGpsWaypoint(lines[1]))) ||
        IsCompeGpsWaypoint(first)) {
        return FileFormat::CompeGpsWaypoints;
    }
    if (StartsAsCup(lines)) return FileFormat::CupWaypoints;
    return StartsAsPointList(lines) ? FileFormat::PointList : FileFormat::PlainText;
}

Message FormatName(FileFormat format) {
    switch (format) {
        case FileFormat::GeoWaypoints:
            return Message(MessageId::FormatGeo);
        case FileFormat::CompeGpsWaypoints:
            return Message(MessageId::FormatCompeGps);
        case FileFormat::OziWaypoints:
            return Message(MessageId::FormatOzi);
        case FileFormat::CupWaypoints:
            return Message(MessageId::FormatCup);
        case FileFormat::Gpx:
            return Message(MessageId::FormatGpx);
        case FileFormat::OtherXml:
            return Message(MessageId::FormatXml);
        case FileFormat::Utf16Text:
            return Message(MessageId::FormatUtf16);
        case FileFormat::Binary:
            return Message(MessageId::FormatBinary);
        case FileFormat::Empty:
            return Message(MessageId::FormatEmpty);
        case FileFormat::PointList:
            return Message(MessageId::FormatPointList);
        case FileFormat::PlainText:
        case FileFormat::Unknown:
            break;
    }
    return Message(MessageId::FormatPlainText);
}

}  // namespace oradel
