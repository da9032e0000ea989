#include "engine/lk8000_waypoints_writer.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "engine/coordinates.hpp"
#include "engine/export_points.hpp"
#include "engine/unique_names.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// What every LK8000 release since 7.5 and XCSoar accept, LK8000 7.6 after
// trimming blanks at both ends of the line: a name of at most 16 characters
// (LK8000 before mid-2020 rejected longer ones), coordinates of at most 15
// characters each, a line of at least 65 characters, a space after the
// altitude and a comment of at most 499 bytes after it.
constexpr std::size_t kMaxCoordinateLength = 15;
constexpr std::size_t kMinLineLength = 65;
// The degree sign of the format: one raw byte, whatever the code page calls it.
constexpr char kDegree = '\xBA';
constexpr std::string_view kDateAndTime = " 27-MAR-62 00:00:00 ";

// Transliterated text in plain ASCII: LK8000 reads a line that is not UTF-8
// as Windows-1252 and counts lengths in UTF-8 bytes, so any other byte would
// change the name or lengthen the line. Trimmed when asked, then cut to
// `limit` bytes.
std::string PlainAscii(std::string_view text, std::size_t limit, bool trim) {
    std::string ascii = LatinText(text, trim);
    if (ascii.size() > limit) ascii.resize(limit);
    return ascii;
}

// The name without spaces, which end the name field; UniqueNames cuts it.
std::string NameField(std::string_view name) {
    std::string field(name);
    ReplaceByte(field, ' ', '_');
    return LatinText(field, false);
}

// The first comment line or, without one, the name: LK8000 7.6 trims the
// line, and a line that ends at the altitude lacks the space it needs.
std::string CommentField(const ExportPoint& point) {
    std::string field;
    if (!point.record.comments.empty()) {
        field = PlainAscii(point.record.comments.front(), kLK8000CommentLength, true);
    }
    if (field.empty()) field = PlainAscii(point.name, kLK8000CommentLength, true);
    field.resize(TrimView(field).size());  // a cut may end at a blank
    return field;
}

// The coordinate without its minus sign (the hemisphere letter carries it):
// the text the shared coordinate rule gives, or, when that is longer than the
// reader takes, the value rounded to as many decimals as fit.
std::string CoordinateText(std::string_view pointText, double value) {
    if (pointText.starts_with('-')) pointText.remove_prefix(1);
    if (pointText.size() <= kMaxCoordinateLength) return std::string(pointText);
    std::string text;
    for (int decimals = 13; text.empty() || text.size() > kMaxCoordinateLength; --decimals) {
        text = PlainDecimal(std::fabs(value), decimals);
    }
    return text;
}

// Appends zeros after the decimal point (and the point when there is none),
// up to `missing` characters and at most to the reader's longest coordinate.
// Returns how many characters it added.
std::size_t Lengthen(std::string& coordinate, std::size_t missing) {
    const std::size_t before = coordinate.size();
    const bool hasPoint = coordinate.find('.') != std::string::npos;
    const std::size_t room = kMaxCoordinateLength - std::min(before, kMaxCoordinateLength);
    const std::size_t added = std::max<std::size_t>(std::min(missing, room), hasPoint ? 1 : 2);
    if (missing == 0 || added > room) return 0;
    if (!hasPoint) coordinate += '.';
    coordinate.resize(before + added, '0');
    return added;
}

void AppendCoordinate(std::string& line, const std::string& text, double value, char positive,
                      char negative) {
    line += text;
    line += kDegree;
    line += std::signbit(value) ? negative : positive;
}

}  // namespace

std::string LK8000Name(std::string_view name) {
    std::string field = NameField(name);
    if (field.size() > kLK8000NameLength) field.resize(kLK8000NameLength);
    return field;
}

// G  WGS 84
// U  1
// W Kholm_Vetrov A 44.1234ºN 42.5678ºE 27-MAR-62 00:00:00 0.000000 Start s yuga, veter Yu
// (º standing for the single byte 0xBA)
void WriteLK8000Waypoints(ConversionContext& context) {
    std::string line;
    // Names that the cut makes equal get a number in their last characters.
    UniqueNames names(kLK8000NameLength, "", FittingBytes);
    WriteWaypointFile(
        context, {"G  WGS 84", "U  1"}, [&](const ExportPoint& point, TextOutput& out) {
            const std::string name = names.Take(NameField(point.name));
            const std::string comment = CommentField(point);
            std::string lat = CoordinateText(point.position.latText, point.position.lat);
            std::string lon = CoordinateText(point.position.lonText, point.position.lon);
            // Metres with six decimals; 0 stands for no altitude, as in the files of old.
            const std::string altitude =
                std::to_string(point.position.altitude.value_or(0)) + ".000000 ";
            // "W " name " A " lat "ºN " lon "ºE" date and time, altitude, comment
            const std::size_t length = 2 + name.size() + 3 + lat.size() + 3 + lon.size() + 2 +
                                       kDateAndTime.size() + altitude.size() + comment.size();
            std::size_t missing = kMinLineLength - std::min(length, kMinLineLength);
            missing -= Lengthen(lat, missing);
            Lengthen(lon, missing);

            line = "W ";
            line += name;
            line += " A ";
            AppendCoordinate(line, lat, point.position.lat, 'N', 'S');
            line += ' ';
            AppendCoordinate(line, lon, point.position.lon, 'E', 'W');
            line += kDateAndTime;
            line += altitude;
            line += comment;
            out.WriteLine(line);
        });
}

}  // namespace oradel
